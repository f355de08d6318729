// Smooth drawing of a traced contour polyline: a uniform cubic B-spline over a
// control polygon of the polyline's points and the midpoints of its sides.
#pragma once

#include "contour/LevelTracing.h"

#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

namespace contourlines {

struct SplineOptions {
    int stepsPerSpan = 5;
    int controlCapacity = 2001;   // control polygon entries
    int polylineCapacity = 1001;  // polyline points (closing adds one)
};

struct SplineCurve {
    bool closed = false;
    std::vector<PolyPoint> points;  // the curve in drawing order, spans joined
    // The label sits 100 units above the curve's first point.
    bool labelled = false;
    double labelX = 0, labelY = 0;
    QString label;
};

// Ends within 1 unit in X and Y close the curve; `poly` is then changed as the
// tracing shares it (ends moved to side midpoints, one point added).
SplineCurve splineCurve(std::vector<PolyPoint>& poly, double level, int labelFlag,
                        const SplineOptions& options = {});

// Top left corner of a label `textWidth` x `textHeight` for `curve`, with the
// whole text inside `area` (the coloured plot: a number running on past it
// onto the white margin reads as another number): 100 units above the first
// point of the curve where the text fits; when no point gives room, the first
// point's place moved just inside; none when the text is larger than the area.
std::optional<PolyPoint> labelPlace(const std::vector<PolyPoint>& curve, double textWidth, double textHeight,
                                    const QRectF& area);

}  // namespace contourlines
