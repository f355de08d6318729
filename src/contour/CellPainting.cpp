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

namespace {

// Hands every node inside the window to `cell` with the pixels its cell
// covers: columns x0 up to x1 - 1, rows y0 up to y1 - 1.
void forEachCell(QSize picture, const PointGrid& grid, const DataWindow& window, const GridGeometry& g,
                 double spanX, double spanY,
                 const std::function<void(const DataPoint&, int x0, int x1, int y0, int y1)>& cell) {
    if (picture.isEmpty() || g.cols < 1 || g.rows < 1) return;
    const std::vector<int> xs = cellEdges(g.cols, g.cellWidth, spanX, picture.width());
    const std::vector<int> ys = cellEdges(g.rows, g.cellHeight, spanY, picture.height());
    for (int i = 1; i <= g.cols; ++i)
        for (int j = 1; j <= g.rows; ++j) {
            const DataPoint& n = grid.at(i, j);
            if (!window.contains(n.X, n.Y)) continue;
            cell(n, xs[static_cast<size_t>(i)], xs[static_cast<size_t>(i + 1)], ys[static_cast<size_t>(j)],
                 ys[static_cast<size_t>(j + 1)]);
        }
}

} // namespace

void paintCells(QImage& picture, const PointGrid& grid, const DataWindow& window, const GridGeometry& g,
                double spanX, double spanY, const std::function<QRgb(const DataPoint&)>& colour) {
    if (picture.isNull() || g.cols < 1 || g.rows < 1) return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const auto fill = [&](const DataPoint& n, int x0, int x1, int y0, int y1) {
        const QRgb c = colour(n) | 0xff000000u;
        for (int y = y0; y < y1; ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            std::fill(line + x0, line + x1, c);
        }
    };
    forEachCell(picture.size(), grid, window, g, spanX, spanY, fill);
}

QRect cellArea(QSize picture, const PointGrid& grid, const DataWindow& window, const GridGeometry& g,
               double spanX, double spanY) {
    QRect area;
    forEachCell(picture, grid, window, g, spanX, spanY,
                [&](const DataPoint&, int x0, int x1, int y0, int y1) { area |= QRect(x0, y0, x1 - x0, y1 - y0); });
    return area;
}
