// The tool tip of a point marker as recording writes it.  Redraws and edits
// write the marker texts of map/MarkerPlacement.h (pointToolTip) instead.
#pragma once

#include "map/MarkerPlacement.h"

#include <QString>

namespace tooltips {

// Tool tip of a point just recorded, with the value as it was typed:
//   contact datum:      "Contact 3 Datum Point: 2"
//   structural datum:   "Structural Datum Point 4: Z = 120.5 meters"
//   isopach datum:      "Isopach Datum Point 4: Z = 12 feet"
//   structural contour: "Structural Contour Point 4: Z = 120 meters"
//   isopach contour:    "Isopach Contour Point 4: Z = 12 meters"
// The unit is " feet" when Feet is ticked, " meters" otherwise.
QString recordedPointTip(DataKind kind, bool datum, int number, const QString& typed, bool feet);

// The redraw's text of a point, as a value.
QString pointTip(DataKind kind, bool datum, int number, float z, bool feet);

} // namespace tooltips
