// Contour levels through a triangle mesh: interval choice, the level walk,
// cutting triangles into segments and chaining segments into polylines.
#pragma once

#include "contour/Triangulation.h"

#include <QString>
#include <vector>

namespace contourlines {

struct PolyPoint {
    double X = 0, Y = 0;
};

struct Segment {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// Value range of the points: zmax starts at 0 (never below it), zmin at zmax.
struct ValueRange {
    double zmin = 0, zmax = 0;
};
ValueRange valueRange(const std::vector<TriPoint>& points);

// 100 above a range of 500, 50 above 250, 25 above 100, else 10.
double automaticInterval(double range);

// The interval typed into the input box replaces the automatic one only when
// its leading number is greater than 1.
double typedInterval(double automatic, const QString& answer);

struct LevelPlan {
    double first = 0;     // the largest multiple of the interval not above zmin (0 when zmin < 0)
    double interval = 10;
    int count = 0;        // range / interval rounded half to even, plus 1
};
// Throws "Overflow" when the level count does not fit 16 bits.
LevelPlan planLevels(const ValueRange& range, double interval);

struct TraceOptions {
    int segmentCapacity = 1001;   // segments per level
    int polylineCapacity = 1001;  // points per polyline
};

// Segments of the level through the triangles, in triangle order.  A corner
// on the level counts as above it; a side lying on the level is given once,
// and only where it parts a triangle reaching below from one that does not.
std::vector<Segment> cutTriangles(const std::vector<TriPoint>& points, const std::vector<Triangle>& triangles,
                                  double level, const TraceOptions& options = {});

// Chains segments whose ends meet (within 1 unit in X and in Y) into polylines,
// in the order they are completed.
std::vector<std::vector<PolyPoint>> chainSegments(std::vector<Segment> segments,
                                                  const TraceOptions& options = {});

struct TracedLine {
    double level = 0;
    int labelFlag = -1;  // the level number on the first polyline of a level, else -1
    std::vector<PolyPoint> points;
};

// All levels of the plan traced through the mesh.
std::vector<TracedLine> traceLevels(const std::vector<TriPoint>& points, const std::vector<Triangle>& triangles,
                                    const LevelPlan& plan, const TraceOptions& options = {});

}  // namespace contourlines
