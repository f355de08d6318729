#include "contour/Relief.h"

#include "document/Legacy.h"

#include <algorithm>
#include <cmath>

namespace relief {

void TopoGrid::resize(int cols, int rows) {
    m_cols = std::max(cols, 0);
    m_rows = std::max(rows, 0);
    m_cells.assign(static_cast<size_t>(m_cols + 1) * static_cast<size_t>(m_rows + 1), 0);
}

int directionFromText(const QString& text) {
    if (text == QLatin1String("Top")) return Top;
    if (text == QLatin1String("Bottom")) return Bottom;
    if (text == QLatin1String("Left")) return Left;
    return Right;
}

int topoRows(int cols, double w, double h) {
    return legacy::CInt(legacy::Div(cols * h, w));
}

TopoGrid sampleTopo(const QImage& picture, int cols, int rows, double w, double h, const QTransform& toPixels) {
    TopoGrid grid(cols, rows);
    // The sampled point of a cell: its column gives px, its row py.
    std::vector<int> pxs(static_cast<size_t>(std::max(cols, 0) + 1)), pys(static_cast<size_t>(std::max(rows, 0) + 1));
    for (int i = 1; i <= cols; ++i) pxs[static_cast<size_t>(i)] = legacy::CLng((i - 0.5) * w / cols);
    for (int j = 1; j <= rows; ++j) pys[static_cast<size_t>(j)] = legacy::CLng((j - 0.5) * h / rows);
    auto pixelOf = [&](int i, int j) {
        const QPointF at = toPixels.map(QPointF(pxs[static_cast<size_t>(i)], pys[static_cast<size_t>(j)]));
        return QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
    };
    const bool opaque32 = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32 ||
                          picture.format() == QImage::Format_ARGB32_Premultiplied;
    if (toPixels.type() > QTransform::TxScale || !opaque32) {
        for (int i = 1; i <= cols; ++i)
            for (int j = 1; j <= rows; ++j) {
                const QPoint at = pixelOf(i, j);
                grid.at(i, j) = picture.valid(at) ? qRed(picture.pixel(at)) : -1;
            }
        return grid;
    }
    // Without rotation a column's pixel depends on its column alone and a
    // row's on its row alone: the picture is read line by line.
    std::vector<int> xs(pxs.size()), ys(pys.size());
    for (int i = 1; i <= cols; ++i) xs[static_cast<size_t>(i)] = pixelOf(i, 0).x();
    for (int j = 1; j <= rows; ++j) ys[static_cast<size_t>(j)] = pixelOf(0, j).y();
    for (int j = 1; j <= rows; ++j) {
        const int y = ys[static_cast<size_t>(j)];
        const bool inside = y >= 0 && y < picture.height();
        const auto* line = inside ? reinterpret_cast<const QRgb*>(picture.constScanLine(y)) : nullptr;
        for (int i = 1; i <= cols; ++i) {
            const int x = xs[static_cast<size_t>(i)];
            grid.at(i, j) = inside && x >= 0 && x < picture.width() ? qRed(line[x]) : -1;
        }
    }
    return grid;
}

namespace {

// Walks the cells of one direction: lines across the light, cells along it.
struct Walk {
    bool vertical;  // lines are columns (light from top or bottom)
    int step;       // +1 away from a light at the low end, -1 from the high end
};

Walk walkFor(int direction) {
    switch (direction) {
    case Top: return {true, 1};
    case Bottom: return {true, -1};
    case Left: return {false, 1};
    default: return {false, -1};
    }
}

}  // namespace

ReliefResult shadeRelief(const TopoGrid& T, const ReliefOptions& o, const std::function<void()>& afterLine) {
    ReliefResult out;
    const int cols = T.cols(), rows = T.rows();
    out.dots.reserve(static_cast<size_t>(std::max(cols - 2, 0)) * static_cast<size_t>(std::max(rows - 2, 0)));
    try {
        out.penWidth = legacy::CLng(legacy::Div(o.width, 5.0 * cols));
        const double c5 = legacy::Div(o.width, 5.0 * cols);
        if (o.direction < Top || o.direction > Right) return out;
        const double k = o.contrast;
        const Walk wk = walkFor(o.direction);
        const int lineCount = wk.vertical ? cols : rows;  // lines run 2..count-1
        const int along = wk.vertical ? rows : cols;      // cells run 2..along-1
        // Steps between neighbouring cells in the grid's storage: away from
        // the light along the line, and across it.
        const int stride = cols + 1;
        const int away = wk.vertical ? stride * wk.step : wk.step;
        const int across = wk.vertical ? 1 : stride;
        // A cell's painting position: x follows its column, y its row.
        std::vector<double> xs(static_cast<size_t>(cols + 1)), ys(static_cast<size_t>(rows + 1));
        for (int c = 1; c <= cols; ++c) xs[static_cast<size_t>(c)] = (c - 0.5) * o.width / cols;
        for (int r = 1; r <= rows; ++r) ys[static_cast<size_t>(r)] = (r - 0.5) * o.height / rows + 5 * c5;
        // The shade before the shadow depends only on the far cells less the
        // near ones, a whole number within +-3 x 256: each is worked out the
        // first time it is met, so that a failure comes at the same cell.
        constexpr int kSpread = 3 * 256;
        std::vector<double> shadeOf(2 * kSpread + 1, NAN);
        for (int line = 2; line <= lineCount - 1; ++line) {
            double horizonHeight = 0;
            double horizonPosition = wk.step > 0 ? 1 : along;
            const int from = wk.step > 0 ? 2 : along - 1;
            const int to = wk.step > 0 ? along - 1 : 2;
            for (int pos = from; wk.step > 0 ? pos <= to : pos >= to; pos += wk.step) {
                const int c = wk.vertical ? line : pos;
                const int r = wk.vertical ? pos : line;
                const int* t = T.cell(c, r);
                const int h = *t;
                // The mean of the 3 x 3 block is sum / 9; sum / 9 <= 0 and
                // sum / 9 <= 55 hold exactly when sum <= 0 and sum <= 495.
                const int sum = t[-stride - 1] + t[-stride] + t[-stride + 1] + t[-1] + t[0] + t[1] +
                                t[stride - 1] + t[stride] + t[stride + 1];
                const double x = xs[static_cast<size_t>(c)], y = ys[static_cast<size_t>(r)];
                if (o.direction == Top) {
                    if (sum <= 0) continue;
                } else if (sum <= 9 * 55) {
                    out.dots.push_back(ReliefDot{x, y, 0, 0, 80});
                    continue;
                }
                // The six differences along the light, on the cell's line and
                // the lines either side, add up to the far cells less the
                // near ones (whole numbers, so exactly).
                const int far = t[away - across] + t[away] + t[away + across];
                const int near = t[-away - across] + t[-away] + t[-away + across];
                double& lit = shadeOf[static_cast<size_t>(far - near + kSpread)];
                if (std::isnan(lit)) lit = std::floor(legacy::Div((far - near) / 6.0 * 100, 6 - k) + 125);
                double shade = lit;
                if (h > horizonHeight) {
                    horizonHeight = h;
                    horizonPosition = pos;
                } else {
                    const double s = std::fabs(pos - horizonPosition);
                    const double depth = (horizonHeight - h) - s / 2;
                    if (depth <= 0) {
                        horizonHeight = h;
                        horizonPosition = pos;
                    } else {
                        shade = legacy::CLng(shade - depth);
                    }
                }
                shade = std::clamp(shade, 25.0, 225.0);
                const int g = static_cast<int>(shade);
                out.dots.push_back(ReliefDot{x, y, g, g, g});
            }
            if (afterLine) afterLine();
        }
    } catch (const legacy::Error& e) {
        out.error = e.description();
    }
    return out;
}

namespace {

// One row of a dot: pixels x0..x1 (inclusive) of the row dy, relative to the
// dot's anchor pixel.
struct DotRun {
    int dy, x0, x1;
};

// A round dot `width` pixels across: the pixels whose centres lie within
// half the width of the dot's centre.  An odd dot is centred on its anchor
// pixel, an even one on the anchor pixel's top left corner.
std::vector<DotRun> dotRuns(int width) {
    const int w = std::max(width, 1);
    const double c = w % 2 ? 0.0 : 0.5;
    const int lo = w % 2 ? -(w - 1) / 2 : -w / 2, hi = w % 2 ? (w - 1) / 2 : w / 2 - 1;
    const double r2 = w * w / 4.0;
    std::vector<DotRun> runs;
    for (int dy = lo; dy <= hi; ++dy) {
        const double v = dy + c;
        int x0 = lo;
        while (x0 <= hi && (x0 + c) * (x0 + c) + v * v > r2) ++x0;
        if (x0 <= hi) runs.push_back({dy, x0, -x0 - (w % 2 ? 0 : 1)});
    }
    return runs;
}

}  // namespace

void paintRelief(QImage& picture, const ReliefResult& result, const QTransform& toPixels) {
    if (result.dots.empty() || picture.isNull()) return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32 &&
        picture.format() != QImage::Format_ARGB32_Premultiplied)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const int width = std::max(result.penWidth, 1);
    const std::vector<DotRun> runs = dotRuns(width);
    const int pw = picture.width(), ph = picture.height();
    const qsizetype stride = picture.bytesPerLine();
    uchar* bits = picture.bits();
    // The dots are written straight into the picture's lines, in their order,
    // so that a later dot covers an earlier one as painting them would.
    const bool scaleOnly = toPixels.type() <= QTransform::TxScale;
    for (const ReliefDot& d : result.dots) {
        const QPointF centre = scaleOnly ? QPointF(toPixels.m11() * d.x + toPixels.dx(), toPixels.m22() * d.y + toPixels.dy())
                                         : toPixels.map(QPointF(d.x, d.y));
        const int ax = static_cast<int>(width % 2 ? std::floor(centre.x()) : std::round(centre.x()));
        const int ay = static_cast<int>(width % 2 ? std::floor(centre.y()) : std::round(centre.y()));
        const QRgb c = qRgb(d.r, d.g, d.b);
        for (const DotRun& run : runs) {
            const int y = ay + run.dy;
            if (y < 0 || y >= ph) continue;
            const int x0 = std::max(ax + run.x0, 0), x1 = std::min(ax + run.x1, pw - 1);
            auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = x0; x <= x1; ++x) line[x] = c;
        }
    }
}

}  // namespace relief
