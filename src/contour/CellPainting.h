// The contour map's cells on the plot picture: one rectangle per computed
// node, spanning its column and row spacing, with its edges on the pixel
// grid so that neighbouring cells always meet, whatever the two scales.
#pragma once

#include "contour/Gridding.h"

#include <QImage>
#include <QRect>
#include <functional>

// The pixel edges of the cells along one side: edge k (k = 1..count + 1) lies
// half a spacing before node k, so cell k covers pixels edges[k] up to
// edges[k + 1] - 1.  `spacing` and `span` are in map units, `pixels` is the
// picture's size along that side.
std::vector<int> cellEdges(int count, double spacing, double span, int pixels);

// Paints the cell of every node inside the window in the colour `colour`
// gives for it.  The picture shows the whole map: spanX across its width,
// spanY down its height.
void paintCells(QImage& picture, const PointGrid& grid, const DataWindow& window, const GridGeometry& g,
                double spanX, double spanY, const std::function<QRgb(const DataPoint&)>& colour);

// The pixels those cells cover on a picture of that size: one rectangle, as
// the nodes stand in columns and rows.  Empty when no node is inside.
QRect cellArea(QSize picture, const PointGrid& grid, const DataWindow& window, const GridGeometry& g,
               double spanX, double spanY);
