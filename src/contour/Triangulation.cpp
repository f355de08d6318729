#include "contour/Triangulation.h"

#include "document/Document.h"
#include "document/Legacy.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <utility>

namespace contourlines {

namespace {

constexpr double kEps = 0.0001;
constexpr double kMargin = 1.0;
constexpr double kDegenerateRadius = 100000.0;

bool degenerate(Circle& circle) {
    circle = Circle{0.0, 0.0, kDegenerateRadius};
    return false;
}

bool isDegenerate(const Circle& c) {
    return c.X == 0.0 && c.Y == 0.0 && c.R == kDegenerateRadius;
}

// Buckets of point indexes over the points' bounding box, so that the
// emptiness test of a small circle looks only at the points near it.
class PointIndex {
public:
    explicit PointIndex(const std::vector<TriPoint>& pts) : m_pts(pts) {
        if (pts.empty()) return;
        m_minX = m_maxX = pts[0].X;
        m_minY = m_maxY = pts[0].Y;
        for (const auto& p : pts) {
            m_minX = std::min(m_minX, p.X);
            m_maxX = std::max(m_maxX, p.X);
            m_minY = std::min(m_minY, p.Y);
            m_maxY = std::max(m_maxY, p.Y);
        }
        const double w = m_maxX - m_minX, h = m_maxY - m_minY;
        const double area = std::max(w, 1.0) * std::max(h, 1.0);
        m_cell = std::max(std::sqrt(area / static_cast<double>(pts.size())) * 1.5, 1.0);
        m_cols = std::min(static_cast<int>(w / m_cell) + 1, 4096);
        m_rows = std::min(static_cast<int>(h / m_cell) + 1, 4096);
        m_buckets.assign(static_cast<size_t>(m_cols) * m_rows, {});
        for (int k = 0; k < static_cast<int>(pts.size()); ++k)
            m_buckets[bucket(col(pts[k].X), row(pts[k].Y))].push_back(k);
    }

    // True when no point lies inside the circle by more than the margin.
    bool empty(const Circle& c) const {
        const double rsq = c.R * c.R;
        auto inside = [&](const TriPoint& p) {
            const double dx = c.X - p.X, dy = c.Y - p.Y;
            return rsq > dx * dx + dy * dy + kMargin;
        };
        const int c0 = col(c.X - c.R), c1 = col(c.X + c.R);
        const int r0 = row(c.Y - c.R), r1 = row(c.Y + c.R);
        const long long covered = static_cast<long long>(c1 - c0 + 1) * (r1 - r0 + 1);
        if (covered * 2 > static_cast<long long>(m_buckets.size())) {
            for (const auto& p : m_pts)
                if (inside(p)) return false;
            return true;
        }
        for (int j = r0; j <= r1; ++j)
            for (int i = c0; i <= c1; ++i)
                for (int k : m_buckets[bucket(i, j)])
                    if (inside(m_pts[k])) return false;
        return true;
    }

private:
    int col(double x) const {
        const double v = std::floor((x - m_minX) / m_cell);
        if (!(v >= 0)) return 0;  // NaN too
        return v >= m_cols - 1 ? m_cols - 1 : static_cast<int>(v);
    }
    int row(double y) const {
        const double v = std::floor((y - m_minY) / m_cell);
        if (!(v >= 0)) return 0;
        return v >= m_rows - 1 ? m_rows - 1 : static_cast<int>(v);
    }
    size_t bucket(int i, int j) const { return static_cast<size_t>(j) * m_cols + i; }

    const std::vector<TriPoint>& m_pts;
    double m_minX = 0, m_maxX = 0, m_minY = 0, m_maxY = 0, m_cell = 1;
    int m_cols = 1, m_rows = 1;
    std::vector<std::vector<int>> m_buckets{1};
};

}  // namespace

bool CircumCircle(double xp, double yp, double x1, double y1, double x2, double y2, double x3, double y3,
                  Circle& circle) {
    if (std::fabs(y1 - y2) < kEps && std::fabs(y2 - y3) < kEps && std::fabs(y1 - y3) < kEps)
        return degenerate(circle);
    if (std::fabs(x1 - x2) < kEps && std::fabs(x2 - x3) < kEps && std::fabs(x1 - x3) < kEps)
        return degenerate(circle);
    double cx = 0, cy = 0;
    if (std::fabs(y2 - y1) < kEps) {
        const double m2 = -(x3 - x2) / (y3 - y2);
        const double mx2 = (x2 + x3) / 2, my2 = (y2 + y3) / 2;
        cx = (x1 + x2) / 2;
        cy = (cx - mx2) * m2 + my2;
    } else {
        const double m1 = -(x2 - x1) / (y2 - y1);
        const double mx1 = (x1 + x2) / 2, my1 = (y1 + y2) / 2;
        if (std::fabs(y3 - y2) < kEps) {
            cx = (x2 + x3) / 2;
            cy = (cx - mx1) * m1 + my1;
        } else {
            const double m2 = -(x3 - x2) / (y3 - y2);
            const double mx2 = (x2 + x3) / 2, my2 = (y2 + y3) / 2;
            // Three points on one slanted line: equal slopes, no circle.
            if (m1 == m2) return degenerate(circle);
            cx = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
            cy = (cx - mx1) * m1 + my1;
        }
    }
    if (!std::isfinite(cx) || !std::isfinite(cy)) return degenerate(circle);
    const double rsq = (x2 - cx) * (x2 - cx) + (y2 - cy) * (y2 - cy);
    circle = Circle{cx, cy, std::sqrt(rsq)};
    if (!std::isfinite(circle.R)) return degenerate(circle);
    const double dsq = (xp - cx) * (xp - cx) + (yp - cy) * (yp - cy);
    return dsq + kMargin < rsq;
}

std::vector<Triangle> ContourTriangulate(const std::vector<TriPoint>& pts, const TriangulationOptions& options) {
    std::vector<Triangle> tris;
    const int last = static_cast<int>(pts.size()) - 1;
    if (last < 2) return tris;
    const PointIndex index(pts);
    std::vector<char> used(pts.size(), 0);

    // An edge shared by two stored triangles offers the same new triangle
    // twice; stored twice, its segments would be traced and drawn twice and
    // their chains would run out and straight back.  A triangle is kept once,
    // whatever the order of its corners.
    std::unordered_set<std::uint64_t> stored;
    auto key = [&](int a, int b, int m) {
        if (a > b) std::swap(a, b);
        if (b > m) std::swap(b, m);
        if (a > b) std::swap(a, b);
        const auto n = static_cast<std::uint64_t>(pts.size());
        return (static_cast<std::uint64_t>(a) * n + static_cast<std::uint64_t>(b)) * n + static_cast<std::uint64_t>(m);
    };
    auto store = [&](int a, int b, int m) {
        if (!stored.insert(key(a, b, m)).second) return;
        if (static_cast<int>(tris.size()) >= options.capacity) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        tris.push_back(Triangle{a, b, m});
    };

    // First triangle: always with point 0; no radius limit.
    Circle circle;
    bool found = false;
    for (int i = 1; i <= last - 1 && !found; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            CircumCircle(pts[0].X, pts[0].Y, pts[0].X, pts[0].Y, pts[i].X, pts[i].Y, pts[j].X, pts[j].Y, circle);
            if (!isDegenerate(circle) && index.empty(circle)) {
                store(i, j, 0);
                used[i] = used[j] = used[0] = 1;
                found = true;
                break;
            }
        }
    }
    if (!found) return tris;

    // A triangle on edge (a, b) with m can only pass the radius limit when m is
    // within one diameter of both ends; farther edges are not worth a circle.
    const double reach = 2.0 * options.maxRadius;
    const bool local = std::isfinite(reach) && reach > 0;
    const double reachSq = reach * reach * (1.0 + 1e-9) + 1e-6;
    auto within = [&](int a, int m) {
        const double dx = pts[a].X - pts[m].X, dy = pts[a].Y - pts[m].Y;
        return dx * dx + dy * dy <= reachSq;
    };
    // Tries the edge (a, c) opposite `opp` for point m; stores (a, c, m).
    auto tryEdge = [&](int a, int c, int opp, int m) {
        if (local && (!within(a, m) || !within(c, m))) return;
        const bool oppInside =
            CircumCircle(pts[opp].X, pts[opp].Y, pts[a].X, pts[a].Y, pts[c].X, pts[c].Y, pts[m].X, pts[m].Y, circle);
        if (oppInside || isDegenerate(circle) || !(circle.R < options.maxRadius)) return;
        if (!index.empty(circle)) return;
        store(a, c, m);
        used[m] = 1;
    };

    // Every test of a point against a triangle depends only on the two and on
    // the fixed point set, and a failed one stored nothing; so a point that
    // comes round again in a later pass needs only the triangles added since
    // its last turn.  Without this every pass would repeat the failures of all
    // the points that cannot join yet.  (A triangle refused as a repeat
    // already has the point as a corner, so that point is not tested again.)
    std::vector<int> testedUpTo(pts.size(), 0);
    size_t passStartCount = 0;
    while (tris.size() > passStartCount) {
        passStartCount = tris.size();
        for (int m = 1; m <= last; ++m) {
            if (used[m]) continue;
            const int count = static_cast<int>(tris.size());
            for (int t = testedUpTo[m]; t < count; ++t) {
                const Triangle tri = tris[static_cast<size_t>(t)];
                tryEdge(tri.P1, tri.P3, tri.P2, m);
                tryEdge(tri.P2, tri.P3, tri.P1, m);
                tryEdge(tri.P1, tri.P2, tri.P3, m);
            }
            testedUpTo[m] = count;
            if (used[m]) break;
        }
    }
    return tris;
}

Strides chooseStrides(int gridCols, int gridRows, double maxNodes) {
    Strides s;
    while ((static_cast<double>(gridRows) / s.row) * (static_cast<double>(gridCols) / s.column) > maxNodes) {
        if (s.column == s.row)
            ++s.column;
        else
            ++s.row;
    }
    return s;
}

std::vector<TriPoint> sampleGrid(const PointGrid& grid, const SamplingInput& in,
                                 const std::function<double()>& random) {
    std::vector<TriPoint> pts;
    const int cols = grid.cols(), rows = grid.rows();
    if (cols < 1 || rows < 1) return pts;
    const Strides s = chooseStrides(cols, rows);
    for (int i = 1; i <= cols; i += s.column) {
        for (int j = 1; j <= rows; j += s.row) {
            const DataPoint& node = grid.at(i, j);
            const double x = node.X, y = node.Y;
            if (x < in.minX || x > in.maxX || y < in.minY || y > in.maxY) continue;
            if (static_cast<int>(pts.size()) >= in.capacity) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
            const double r1 = random();
            const double r2 = random();
            TriPoint p;
            // The push is an eighth of a cell in drawing units: taken in map
            // units it vanishes on a map in degrees, the nodes stay on one
            // circle per cell and the mesh folds over itself.
            const double scaleX = legacy::Div(in.width, in.mapSpanX);
            const double scaleY = legacy::Div(in.height, in.mapSpanY);
            p.X = (in.cellWidth * scaleX / 8) * (1 - r1) + (x - in.mapOriginX) * scaleX;
            p.Y = (in.mapOriginY - y) * scaleY + (in.cellHeight * scaleY / 8) * (1 - r2);
            p.Z = node.Z;
            pts.push_back(p);
        }
    }
    return pts;
}

}  // namespace contourlines
