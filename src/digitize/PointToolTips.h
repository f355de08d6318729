// The data kind of a document and the texts of the point markers' tool tips
// and value prompts that depend on it.
#pragma once

#include <QString>

// Which of the three data-kind options is selected.
enum class DataKind { None, Contact, Structural, Isopach };

namespace tooltips {

// The unit appended to a point's value: " feet" when the Coordinates menu has
// Feet ticked, " meters" otherwise (maps in degrees included).
QString unitText(bool feet);

// Tool tip of a point just recorded: the value as it was typed.
//   Contact datum:      "Contact 3 Datum Point: 2"
//   structural datum:   "Structural Datum Point 4: Z = 120.5 meters"
//   isopach datum:      "Isopach Datum Point 4: Z = 12 feet"
//   structural contour: "Structural Contour Point 4: Z = 120 meters"
//   isopach contour:    "Isopach Contour Point 4: Z = 12 meters"
QString recordedPointTip(DataKind kind, bool datum, int number, const QString& typed, bool feet);

// Tool tip of a point as every redraw and edit writes it: Z as a whole
// number, and the structural datum text spelled as the redraw has always
// spelled it ("Stuctural Datum Point ").  A datum point of no contact or
// structural kind reads as isopach; a contour point of any kind but
// structural reads as isopach.
QString pointTip(DataKind kind, bool datum, int number, float z, bool feet);

} // namespace tooltips
