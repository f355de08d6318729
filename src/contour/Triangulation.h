// Sampling of the computed grid into a sparse, slightly disturbed point set in
// plot drawing units, and the empty-circle triangle mesh grown over it.
#pragma once

#include <functional>
#include <vector>

class PointGrid;

namespace contourlines {

struct TriPoint {
    double X = 0, Y = 0, Z = 0;
};

struct Triangle {
    int P1 = 0, P2 = 0, P3 = 0;
};

struct Circle {
    double X = 0, Y = 0, R = 0;
};

// Circle through (x1,y1), (x2,y2), (x3,y3) into `circle`; true when (xp,yp) lies
// inside it by more than the margin of 1 squared unit. Three points on one
// straight line have no circle: the degenerate circle (centre 0,0, radius
// 100000) is given and the answer is false.
bool CircumCircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3, double y3,
                  Circle& circle);

struct TriangulationOptions {
    // Circles this wide or wider never add a triangle while the mesh grows,
    // so no long slivers form along the border of the data.
    double maxRadius = 1000.0;
    // Storing more triangles than this fails with "Subscript out of range".
    int capacity = 2001;
};

// Grows the mesh from point 0. Every point takes part in every emptiness test.
// A triangle with the same three corners as a stored one is not stored again.
std::vector<Triangle> ContourTriangulate(const std::vector<TriPoint>& points,
                                         const TriangulationOptions& options = {});

struct Strides {
    int row = 1, column = 1;
};

// Row and column strides through a grid so that about `maxNodes` nodes are visited;
// the column stride grows first and the two never differ by more than one.
Strides chooseStrides(int gridCols, int gridRows, double maxNodes = 500.0);

struct SamplingInput {
    double cellWidth = 0, cellHeight = 0;            // map units
    double minX = 0, maxX = 0, minY = 0, maxY = 0;   // the data window, map units
    double mapOriginX = 0, mapOriginY = 0, mapSpanX = 1, mapSpanY = 1;
    double width = 0, height = 0;                    // drawing size of the plot
    int capacity = 1001;
};

// Nodes of `grid` (1..cols x 1..rows) inside the window, in drawing units, each
// pushed right and down by a random part of one eighth of a cell (measured in
// drawing units). `random`
// yields uniform numbers in [0, 1); two are drawn per kept node (x first).
std::vector<TriPoint> sampleGrid(const PointGrid& grid, const SamplingInput& in,
                                 const std::function<double()>& random);

}  // namespace contourlines
