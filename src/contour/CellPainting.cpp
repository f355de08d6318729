#include "contour/CellPainting.h"

#include <algorithm>
#include <cmath>

std::vector<int> cellEdges(int count, double spacing, double span, int pixels) {
    std::vector<int> edges(static_cast<size_t>(std::max(count, 0) + 2), 0);
    for (int k = 1; k <= count + 1; ++k) {
        const double at = std::round((k - 0.5) * spacing / span * pixels);
        edges[static_cast<size_t>(k)] = int(std::clamp(at, 0.0, double(pixels)));
    }
    return edges;
}

void paintCells(QImage& picture, const PointGrid& grid, const DataWindow& window, const GridGeometry& g,
                double spanX, double spanY, const std::function<QRgb(const DataPoint&)>& colour) {
    if (picture.isNull() || g.cols < 1 || g.rows < 1) return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const std::vector<int> xs = cellEdges(g.cols, g.cellWidth, spanX, picture.width());
    const std::vector<int> ys = cellEdges(g.rows, g.cellHeight, spanY, picture.height());
    for (int i = 1; i <= g.cols; ++i)
        for (int j = 1; j <= g.rows; ++j) {
            const DataPoint& n = grid.at(i, j);
            if (!window.contains(n.X, n.Y)) continue;
            const QRgb c = colour(n) | 0xff000000u;
            const int x0 = xs[static_cast<size_t>(i)], x1 = xs[static_cast<size_t>(i + 1)];
            for (int y = ys[static_cast<size_t>(j)]; y < ys[static_cast<size_t>(j + 1)]; ++y) {
                auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
                std::fill(line + x0, line + x1, c);
            }
        }
}
