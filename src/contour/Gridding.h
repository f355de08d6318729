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
// A two-dimensional tree over the points keeps every query short however the
// points are arranged (spread evenly, clustered or on a few survey lines).
class NeighbourSearch {
public:
    NeighbourSearch(const std::vector<DataPoint>& list, int count, double reach);
    // Inverse-distance weighted value at (x, y).  A position exactly on one
    // or more points takes the value of the one with the lowest list index.
    float value(float x, float y) const;

    struct Neighbour {
        double distance = 0;
        int index = 0; // list index; 0 for a missing neighbour
        float z = 0;
    };
    static constexpr int kCount = 6;
    // Fills `out` with the neighbours and returns how many points were found.
    // `hint`, the neighbours of a position close by, only shortens the search.
    int nearest(float x, float y, Neighbour (&out)[kCount], const Neighbour* hint = nullptr) const;
    // The value at (x, y), with `carry` holding the neighbours of a position
    // close by on entry and those of (x, y) on return: a column of nodes
    // passes them from node to node.
    float value(float x, float y, Neighbour (&carry)[kCount]) const;

private:
    struct Entry {
        double x, y;
        float z;
        int index;
    };
    // A box of the tree: its points are m_points[begin, end); a leaf has no
    // children (first == -1), else its children are nodes first and first + 1.
    struct Box {
        double minX, maxX, minY, maxY;
        int begin, end;
        int first;
    };
    void build(int at, int begin, int end);
    struct Query;
    void search(int box, Query& q) const;

    std::vector<Entry> m_points;
    std::vector<int> m_slot; // where each list index lies in m_points
    std::vector<Box> m_boxes;
    double m_reach;
};

// What one gridding run found: the range of the computed values (starting
// from 32000 and 0) and whether it was stopped.
struct GridRun {
    float zMin = 32000;
    float zMax = 0;
    bool stopped = false;
};

// Columns computed together on all cores between two calls of the caller's
// hooks.
int gridSliceColumns();

// Computes every node inside the window.  The columns are computed in slices
// of gridSliceColumns() neighbouring columns, each slice on all cores; after
// each slice `afterSlice` gets the number of columns done so far (all of
// columns 1..done) and stops the run by returning true.  The values are the
// same, node for node, as one column after the other.  Each node given a
// value is marked computed; nodes not reached keep their value and mark.
// Failures (legacy::Error) leave the nodes computed before the failing node,
// in column order, and their range in `run`.
void computeGrid(PointGrid& grid, const std::vector<DataPoint>& list, int count, const DataWindow& window,
                 double reach, GridRun& run, const std::function<bool(int done)>& afterSlice = {});
