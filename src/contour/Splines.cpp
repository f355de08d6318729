#include "contour/Splines.h"

#include "document/Legacy.h"

#include <algorithm>
#include <cmath>

namespace contourlines {

namespace {

// The label stands this far above the point it belongs to.
constexpr double kLabelRise = 100;

PolyPoint mid(const PolyPoint& a, const PolyPoint& b) {
    return PolyPoint{0.5 * a.X + 0.5 * b.X, 0.5 * a.Y + 0.5 * b.Y};
}

}  // namespace

SplineCurve splineCurve(std::vector<PolyPoint>& P, double level, int labelFlag, const SplineOptions& options) {
    SplineCurve curve;
    if (P.size() < 2) return curve;
    size_t n = P.size() - 1;
    if (std::fabs(P[0].X - P[n].X) < 1 && std::fabs(P[0].Y - P[n].Y) < 1) {
        if (static_cast<int>(n + 1) >= options.polylineCapacity) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        P[0] = mid(P[0], P[1]);
        P.push_back(P[n]);
        P[n] = mid(P[n], P[n - 1]);
        ++n;
        curve.closed = true;
    }
    if (static_cast<int>(2 * n + 4) >= options.controlCapacity) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);

    std::vector<PolyPoint> C;
    C.reserve(2 * n + 5);
    C.push_back(P[0]);
    C.push_back(P[0]);
    C.push_back(mid(P[0], P[1]));
    for (size_t k = 1; k + 1 <= n; ++k) {
        C.push_back(mid(P[k - 1], P[k]));
        C.push_back(P[k]);
    }
    if (curve.closed) {
        C.push_back(P[n]);
        C.push_back(P[0]);
    } else {
        C.push_back(mid(P[n - 1], P[n]));
        C.push_back(P[n]);
    }
    C.push_back(C.back());
    C.push_back(C.back());
    const size_t j = C.size() - 4;  // the last span's first control point index + 1

    const int steps = std::max(options.stepsPerSpan, 1);
    curve.points.reserve((j + 1) * static_cast<size_t>(steps + 1));
    for (size_t k = 1; k <= j + 1; ++k) {
        for (int s = 0; s <= steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            const double t2 = t * t, t3 = t2 * t;
            const double b0 = -t3 / 6 + t2 / 2 - t / 2 + 1.0 / 6;
            const double b1 = t3 / 2 - t2 + 2.0 / 3;
            const double b2 = (-t3 + t2 + t) / 2 + 1.0 / 6;
            const double b3 = t3 / 6;
            curve.points.push_back(PolyPoint{
                b0 * C[k - 1].X + b1 * C[k].X + b2 * C[k + 1].X + b3 * C[k + 2].X,
                b0 * C[k - 1].Y + b1 * C[k].Y + b2 * C[k + 1].Y + b3 * C[k + 2].Y});
        }
    }
    curve.labelY = curve.points.front().Y - kLabelRise;
    if (labelFlag > -1) {
        curve.labelled = true;
        curve.labelX = curve.points.front().X;
        curve.label = legacy::Format(level, "0");
    }
    return curve;
}

std::optional<PolyPoint> labelPlace(const std::vector<PolyPoint>& curve, double textWidth, double textHeight,
                                    const QRectF& area) {
    if (curve.empty()) return std::nullopt;
    const auto fits = [&](double x, double top) {
        return x >= area.left() && x + textWidth <= area.right() && top >= area.top() &&
               top + textHeight <= area.bottom();
    };
    for (const PolyPoint& p : curve)
        if (fits(p.X, p.Y - kLabelRise)) return PolyPoint{p.X, p.Y - kLabelRise};
    const PolyPoint& first = curve.front();
    const PolyPoint moved{std::max(area.left(), std::min(first.X, area.right() - textWidth)),
                          std::max(area.top(), std::min(first.Y - kLabelRise, area.bottom() - textHeight))};
    if (!fits(moved.X, moved.Y)) return std::nullopt;
    return moved;
}

}  // namespace contourlines
