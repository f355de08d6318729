#include "contour/LevelTracing.h"

#include "document/Legacy.h"

#include <cmath>

namespace contourlines {

namespace {

constexpr double kFlat = 0.0001;

bool matches(const PolyPoint& a, double x, double y) {
    return std::fabs(a.X - x) < 1 && std::fabs(a.Y - y) < 1;
}

}  // namespace

ValueRange valueRange(const std::vector<TriPoint>& points) {
    ValueRange r;
    for (const auto& p : points) r.zmax = std::max(r.zmax, p.Z);
    r.zmin = r.zmax;
    for (const auto& p : points) r.zmin = std::min(r.zmin, p.Z);
    return r;
}

double automaticInterval(double range) {
    if (range > 500) return 100;
    if (range > 250) return 50;
    if (range > 100) return 25;
    return 10;
}

double typedInterval(double automatic, const QString& answer) {
    const double value = legacy::NumVal(answer);
    return value > 1 ? value : automatic;
}

LevelPlan planLevels(const ValueRange& range, double interval) {
    LevelPlan plan;
    plan.interval = interval;
    plan.count = legacy::CInt(legacy::Div(range.zmax - range.zmin, interval)) + 1;
    if (plan.count > 32767) legacy::raise(legacy::ErrorCode::Overflow);
    // Step up from 0 by the interval; far from 0 the steps are counted at once
    // (the stepping would take too long, or stall where adding no longer
    // changes the value).
    double level = 0;
    if (range.zmin / interval > 1e6) {
        level = std::floor(range.zmin / interval) * interval;
        while (level > range.zmin) level -= interval;
    } else {
        while (level + interval <= range.zmin) level += interval;
    }
    plan.first = level;
    return plan;
}

std::vector<Segment> cutTriangles(const std::vector<TriPoint>& pts, const std::vector<Triangle>& triangles,
                                  double L, const TraceOptions& options) {
    std::vector<Segment> segments;
    for (const Triangle& t : triangles) {
        const TriPoint& A = pts[static_cast<size_t>(t.P1)];
        const TriPoint& B = pts[static_cast<size_t>(t.P2)];
        const TriPoint& C = pts[static_cast<size_t>(t.P3)];
        PolyPoint cross[3];
        int n = 0;
        auto edge = [&](const TriPoint& from, const TriPoint& to) {
            const double d = to.Z - from.Z;
            if (!(std::fabs(d) > kFlat)) return;
            const double f = (L - from.Z) / d;
            if (f < 0 || f > 1) return;
            // A fourth crossing cannot happen with three edges.
            cross[n++] = PolyPoint{from.X + (to.X - from.X) * f, from.Y + (to.Y - from.Y) * f};
        };
        edge(A, B);
        edge(C, B);
        edge(A, C);
        if (n != 2) continue;
        if (static_cast<int>(segments.size()) >= options.segmentCapacity)
            legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        segments.push_back(Segment{cross[0].X, cross[0].Y, cross[1].X, cross[1].Y});
    }
    return segments;
}

std::vector<std::vector<PolyPoint>> chainSegments(std::vector<Segment> segments, const TraceOptions& options) {
    std::vector<std::vector<PolyPoint>> lines;
    size_t head = 0;  // segments before head are used up
    while (head < segments.size()) {
        const Segment s0 = segments[head++];
        // Points kept in a deque-like vector: prepends go to the front part.
        std::vector<PolyPoint> front;  // reversed prefix
        std::vector<PolyPoint> back{{s0.X1, s0.Y1}, {s0.X2, s0.Y2}};
        auto first = [&]() -> const PolyPoint& { return front.empty() ? back.front() : front.back(); };
        auto lastP = [&]() -> const PolyPoint& { return back.empty() ? front.front() : back.back(); };
        auto grow = [&]() {
            if (static_cast<int>(front.size() + back.size()) >= options.polylineCapacity)
                legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        };
        bool again = true;
        while (again) {
            again = false;
            for (size_t k = head; k < segments.size(); ++k) {
                const Segment& s = segments[k];
                const PolyPoint f = first(), l = lastP();
                bool used = true;
                if (matches(f, s.X1, s.Y1)) {
                    grow();
                    front.push_back({s.X2, s.Y2});
                } else if (matches(f, s.X2, s.Y2)) {
                    grow();
                    front.push_back({s.X1, s.Y1});
                } else if (matches(l, s.X1, s.Y1)) {
                    grow();
                    back.push_back({s.X2, s.Y2});
                } else if (matches(l, s.X2, s.Y2)) {
                    grow();
                    back.push_back({s.X1, s.Y1});
                } else {
                    used = false;
                }
                if (used) {
                    // Remove it, keeping the order of the rest.
                    segments.erase(segments.begin() + static_cast<std::ptrdiff_t>(k));
                    again = true;
                    break;
                }
            }
        }
        std::vector<PolyPoint> poly(front.rbegin(), front.rend());
        poly.insert(poly.end(), back.begin(), back.end());
        lines.push_back(std::move(poly));
    }
    return lines;
}

std::vector<TracedLine> traceLevels(const std::vector<TriPoint>& points, const std::vector<Triangle>& triangles,
                                    const LevelPlan& plan, const TraceOptions& options) {
    std::vector<TracedLine> out;
    double level = plan.first;
    for (int number = 0; number <= plan.count - 1; ++number) {
        int labelFlag = number;
        if (!triangles.empty()) {
            for (auto& poly : chainSegments(cutTriangles(points, triangles, level, options), options)) {
                out.push_back(TracedLine{level, labelFlag, std::move(poly)});
                labelFlag = -1;
            }
        }
        level += plan.interval;
    }
    return out;
}

}  // namespace contourlines
