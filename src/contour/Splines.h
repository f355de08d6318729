// Smooth drawing of a traced contour polyline: a uniform cubic B-spline over a
// control polygon of the polyline's points and the midpoints of its sides.
#pragma once

#include "contour/LevelTracing.h"

#include <QString>
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

// Top left corner of a label `textWidth` x `textHeight` for `curve` on a plot
// `plotWidth` x `plotHeight`: 100 units above the first point of the curve
// that leaves the whole text inside the plot (a number cut at the edge reads
// as another); when no point does, the first point's place moved just
// inside.
PolyPoint labelPlace(const std::vector<PolyPoint>& curve, double textWidth, double textHeight,
                     double plotWidth, double plotHeight);

}  // namespace contourlines
