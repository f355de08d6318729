#include "contour/LevelTracing.h"

#include "document/Legacy.h"

#include <cmath>
#include <optional>
#include <unordered_map>

namespace contourlines {

namespace {

bool matches(const PolyPoint& a, double x, double y) {
    return std::fabs(a.X - x) < 1 && std::fabs(a.Y - y) < 1;
}

// The mesh sides that lie on a level (both ends exactly on it) and border a
// triangle reaching below it, with the side of the line each such triangle
// lies on.  Such a side is drawn once, and only where it parts a lower
// triangle from a higher one (or from none, at the mesh's border): a ridge
// or a valley that only touches the level is no contour.
class LevelSides {
public:
    LevelSides(const std::vector<TriPoint>& pts, const std::vector<Triangle>& triangles, double L) {
        for (const Triangle& t : triangles) {
            const int c[3] = {t.P1, t.P2, t.P3};
            for (int k = 0; k < 3; ++k) {
                const int a = c[k], b = c[(k + 1) % 3], low = c[(k + 2) % 3];
                if (pts[idx(a)].Z == L && pts[idx(b)].Z == L && pts[idx(low)].Z < L) {
                    Side& s = sides[key(a, b)];
                    (leftOf(pts, a, b, low) ? s.belowLeft : s.belowRight) = true;
                }
            }
        }
    }
    // True the first time a side that is to be drawn is asked for.
    bool takeOnce(int a, int b) {
        const auto it = sides.find(key(a, b));
        if (it == sides.end()) return false;
        Side& s = it->second;
        if (s.taken || s.belowLeft == s.belowRight) return false;
        s.taken = true;
        return true;
    }

private:
    struct Side {
        bool belowLeft = false, belowRight = false, taken = false;
    };
    static size_t idx(int i) { return static_cast<size_t>(i); }
    static long long key(int a, int b) {
        return a < b ? (static_cast<long long>(a) << 32) | static_cast<unsigned>(b)
                     : (static_cast<long long>(b) << 32) | static_cast<unsigned>(a);
    }
    // Which side of the line from the lower-numbered end to the other `p` lies on.
    static bool leftOf(const std::vector<TriPoint>& pts, int a, int b, int p) {
        if (a > b) std::swap(a, b);
        const TriPoint &A = pts[idx(a)], &B = pts[idx(b)], &P = pts[idx(p)];
        return (B.X - A.X) * (P.Y - A.Y) - (B.Y - A.Y) * (P.X - A.X) >= 0;
    }
    std::unordered_map<long long, Side> sides;
};

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
    // A corner exactly on the level counts as above it, so a side is crossed
    // when exactly one of its ends is below (the ends then differ: no side is
    // too flat to cut).  Every triangle is crossed on no side or on two, and
    // a line through a corner passes it once instead of breaking there or
    // leaving strokes and dots.  Away from such corners these are the
    // crossings that 0 <= f <= 1 along each side finds.
    std::vector<Segment> segments;
    std::optional<LevelSides> onLevel;  // looked for only once a side lies on the level
    for (const Triangle& t : triangles) {
        const TriPoint* corner[3] = {&pts[static_cast<size_t>(t.P1)], &pts[static_cast<size_t>(t.P2)],
                                     &pts[static_cast<size_t>(t.P3)]};
        const bool below[3] = {corner[0]->Z < L, corner[1]->Z < L, corner[2]->Z < L};
        if (below[0] == below[1] && below[1] == below[2]) continue;
        // The corner alone on its side of the level, and the other two.
        const int lone = below[0] == below[1] ? 2 : (below[0] == below[2] ? 1 : 0);
        const int p = (lone + 1) % 3, q = (lone + 2) % 3;
        // On the level above two lower corners: the level only touches it.
        if (corner[lone]->Z == L) continue;
        if (corner[p]->Z == L && corner[q]->Z == L) {
            const int index[3] = {t.P1, t.P2, t.P3};
            if (!onLevel) onLevel.emplace(pts, triangles, L);
            if (!onLevel->takeOnce(index[p], index[q])) continue;
        }
        PolyPoint cross[2];
        int n = 0;
        auto edge = [&](int from, int to) {
            if (below[from] == below[to]) return;
            const TriPoint &a = *corner[from], &b = *corner[to];
            if (a.Z == L) {
                cross[n++] = PolyPoint{a.X, a.Y};
            } else if (b.Z == L) {
                cross[n++] = PolyPoint{b.X, b.Y};
            } else {
                const double f = (L - a.Z) / (b.Z - a.Z);
                cross[n++] = PolyPoint{a.X + (b.X - a.X) * f, a.Y + (b.Y - a.Y) * f};
            }
        };
        edge(0, 1);
        edge(2, 1);
        edge(0, 2);
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
