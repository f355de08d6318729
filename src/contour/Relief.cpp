#include "contour/Relief.h"

#include "document/Legacy.h"

#include <QPainter>
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
    for (int i = 1; i <= cols; ++i) {
        for (int j = 1; j <= rows; ++j) {
            const int px = legacy::CLng((i - 0.5) * w / cols);
            const int py = legacy::CLng((j - 0.5) * h / rows);
            const QPointF at = toPixels.map(QPointF(px, py));
            const int x = static_cast<int>(std::floor(at.x()));
            const int y = static_cast<int>(std::floor(at.y()));
            grid.at(i, j) = picture.valid(x, y) ? qRed(picture.pixel(x, y)) : -1;
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
    try {
        out.penWidth = legacy::CLng(legacy::Div(o.width, 5.0 * cols));
        const double c5 = legacy::Div(o.width, 5.0 * cols);
        if (o.direction < Top || o.direction > Right) return out;
        const double k = o.contrast;
        const Walk wk = walkFor(o.direction);
        const int lineCount = wk.vertical ? cols : rows;  // lines run 2..count-1
        const int along = wk.vertical ? rows : cols;      // cells run 2..along-1
        for (int line = 2; line <= lineCount - 1; ++line) {
            double horizonHeight = 0;
            double horizonPosition = wk.step > 0 ? 1 : along;
            const int from = wk.step > 0 ? 2 : along - 1;
            const int to = wk.step > 0 ? along - 1 : 2;
            for (int pos = from; wk.step > 0 ? pos <= to : pos >= to; pos += wk.step) {
                const int c = wk.vertical ? line : pos;
                const int r = wk.vertical ? pos : line;
                const int h = T.at(c, r);
                double sum = 0;
                for (int dc = -1; dc <= 1; ++dc)
                    for (int dr = -1; dr <= 1; ++dr) sum += T.at(c + dc, r + dr);
                const double m = sum / 9;
                const double x = (c - 0.5) * o.width / cols;
                const double y = (r - 0.5) * o.height / rows + 5 * c5;
                if (o.direction == Top) {
                    if (m <= 0) continue;
                } else if (m <= 55) {
                    out.dots.push_back(ReliefDot{x, y, 0, 0, 80});
                    continue;
                }
                // Value at offset (a, b) along/across the line, the light side
                // being the negative direction along it.
                auto V = [&](int a, int b) {
                    const int s = wk.step;
                    return wk.vertical ? T.at(c + b, r + a * s) : T.at(c + a * s, r + b);
                };
                double slope = 0;
                for (int b = -1; b <= 1; ++b) slope += (V(1, b) - V(0, b)) + (V(0, b) - V(-1, b));
                slope /= 6;
                double shade = std::floor(legacy::Div(slope * 100, 6 - k) + 125);
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
                        shade = shade - legacy::CLng(depth);
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

void paintRelief(QImage& picture, const ReliefResult& result, const QTransform& toPixels) {
    if (result.dots.empty() || picture.isNull()) return;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    const double width = std::max(result.penWidth, 1);
    p.setPen(Qt::NoPen);
    for (const ReliefDot& d : result.dots) {
        p.setBrush(QColor(d.r, d.g, d.b));
        const QPointF centre = toPixels.map(QPointF(d.x, d.y));
        if (width <= 1)
            p.fillRect(QRectF(centre.x() - 0.5, centre.y() - 0.5, 1, 1), QColor(d.r, d.g, d.b));
        else
            p.drawEllipse(centre, width / 2, width / 2);
    }
}

}  // namespace relief
