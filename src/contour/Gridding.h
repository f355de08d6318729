// Gridding of the digitized points: the grid laid over the map, the extent
// of the points, and inverse-distance weighting of each node from its six
// nearest points.  No widgets; the caller pumps events and paints.
#pragma once

#include "document/Document.h"

#include <functional>
#include <vector>

// Nodes along the longer map side are kept within these bounds.
constexpr int kMinContourDetail = 10;
constexpr int kMaxContourDetail = 500;
int clampContourDetail(int detail);

// Nodes along X and Y and their spacing in map units.  The nodes stop one
// cell short of every map edge.
struct GridGeometry {
    int cols = 0;
    int rows = 0;
    float cellWidth = 0;
    float cellHeight = 0;
};
GridGeometry gridGeometry(int detail, float mapSpanX, float mapSpanY);

// Sizes the grid to 0..cols by 0..rows, all zero, and gives the nodes
// 1..cols x 1..rows their map positions.
void layGrid(PointGrid& grid, const GridGeometry& g, float mapOriginX, float mapOriginY);

// The gridding list: the datum points, then the contour points, X, Y and Z
// only; entry 0 is unused.
std::vector<DataPoint> griddingList(const std::vector<DataPoint>& datum, int datCount,
                                    const std::vector<DataPoint>& contour, int conCount);

// Extent of the gridded points (bounds included).  The minima never exceed
// the map's right and top edges.  Empty when there are no points.
struct DataWindow {
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool empty = true;
    bool contains(float x, float y) const {
        return !empty && x >= minX && x <= maxX && y >= minY && y <= maxY;
    }
};
DataWindow dataWindow(const std::vector<DataPoint>& list, int count, float mapOriginX, float mapSpanX,
                      float mapOriginY);

// The six nearest points of a position, nearest first and, among equal
// distances, the lower list index first; only points nearer than `reach`
// count.  Missing neighbours stand for the value 0 at the distance `reach`.
class NeighbourSearch {
public:
    NeighbourSearch(const std::vector<DataPoint>& list, int count, double reach);
    // Inverse-distance weighted value at (x, y).  A point exactly at the
    // position throws legacy::Error (division by zero, or overflow for a
    // value of 0).
    float value(float x, float y) const;

    struct Neighbour {
        double distance = 0;
        int index = 0; // list index; 0 for a missing neighbour
        float z = 0;
    };
    static constexpr int kCount = 6;
    // Fills `out` with the neighbours and returns how many points were found.
    int nearest(float x, float y, Neighbour (&out)[kCount]) const;

private:
    struct Entry {
        double x, y;
        float z;
        int index;
    };
    std::vector<Entry> m_sorted; // by x, then by index
    double m_reach;
};

// What one gridding run found: the range of the computed values (starting
// from 32000 and 0) and whether it was stopped.
struct GridRun {
    float zMin = 32000;
    float zMax = 0;
    bool stopped = false;
};

// Computes every node inside the window, column by column.  `afterNode` runs
// after every node, inside the window or not, and stops the run by returning
// true; `afterColumn` runs after each complete column.  Nodes not reached
// keep their value.  Failures (legacy::Error) leave the nodes computed so far
// and the range found so far in `run`.
void computeGrid(PointGrid& grid, const std::vector<DataPoint>& list, int count, const DataWindow& window,
                 double reach, GridRun& run, const std::function<bool(int i, int j)>& afterNode = {},
                 const std::function<void(int i)>& afterColumn = {});
