#include "contour/Gridding.h"

#include "document/Legacy.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <cmath>
#include <optional>

int clampContourDetail(int detail) { return std::clamp(detail, kMinContourDetail, kMaxContourDetail); }

GridGeometry gridGeometry(int detail, float mapSpanX, float mapSpanY) {
    GridGeometry g;
    if (mapSpanX <= mapSpanY) {
        g.rows = detail;
        g.cols = int(legacy::Int(legacy::Div(double(detail) * mapSpanX, mapSpanY)));
    } else {
        g.cols = detail;
        g.rows = int(legacy::Int(legacy::Div(double(detail) * mapSpanY, mapSpanX)));
    }
    g.cellWidth = legacy::ToSingle(legacy::Div(mapSpanX, g.cols + 1.0));
    g.cellHeight = legacy::ToSingle(legacy::Div(mapSpanY, g.rows + 1.0));
    return g;
}

void layGrid(PointGrid& grid, const GridGeometry& g, float mapOriginX, float mapOriginY) {
    grid.resize(g.cols, g.rows);
    for (int i = 1; i <= g.cols; ++i)
        for (int j = 1; j <= g.rows; ++j) {
            DataPoint& n = grid.at(i, j);
            n.X = float(i) * g.cellWidth + mapOriginX;
            n.Y = mapOriginY - float(j) * g.cellHeight;
        }
}

std::vector<DataPoint> griddingList(const std::vector<DataPoint>& datum, int datCount,
                                    const std::vector<DataPoint>& contour, int conCount) {
    std::vector<DataPoint> list(static_cast<size_t>(datCount + conCount + 1));
    auto copy = [&list](const std::vector<DataPoint>& from, int n, int offset) {
        for (int i = 1; i <= n; ++i) {
            if (static_cast<size_t>(i) >= from.size()) legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
            DataPoint& e = list[static_cast<size_t>(offset + i)];
            const DataPoint& p = from[static_cast<size_t>(i)];
            e.X = p.X;
            e.Y = p.Y;
            e.Z = p.Z;
        }
    };
    copy(datum, datCount, 0);
    copy(contour, conCount, datCount);
    return list;
}

DataWindow dataWindow(const std::vector<DataPoint>& list, int count, float mapOriginX, float mapSpanX,
                      float mapOriginY) {
    DataWindow w;
    if (count < 1) return w;
    w.empty = false;
    w.minX = mapOriginX + mapSpanX;
    w.minY = mapOriginY;
    w.maxX = list[1].X;
    w.maxY = list[1].Y;
    for (int p = 1; p <= count; ++p) {
        const DataPoint& e = list[static_cast<size_t>(p)];
        w.minX = std::min(w.minX, e.X);
        w.maxX = std::max(w.maxX, e.X);
        w.minY = std::min(w.minY, e.Y);
        w.maxY = std::max(w.maxY, e.Y);
    }
    return w;
}

// ---------------------------------------------------------------------------
namespace {

// Points in a leaf box of the tree.
constexpr int kLeafPoints = 12;

// Rounding in a squared distance is far below this share, so a point or box
// beyond the search radius by more than it cannot be one of the six; points
// within it are compared on their exact distances.
constexpr double kSlack = 1e-9;

} // namespace

NeighbourSearch::NeighbourSearch(const std::vector<DataPoint>& list, int count, double reach) : m_reach(reach) {
    m_points.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int p = 1; p <= count; ++p) {
        const DataPoint& e = list[static_cast<size_t>(p)];
        m_points.push_back({double(e.X), double(e.Y), e.Z, p});
    }
    if (m_points.empty()) return;
    m_boxes.reserve(4 * m_points.size() / kLeafPoints + 2);
    m_boxes.push_back({});
    build(0, 0, int(m_points.size()));
    m_slot.assign(static_cast<size_t>(count) + 1, -1);
    for (size_t k = 0; k < m_points.size(); ++k) m_slot[static_cast<size_t>(m_points[k].index)] = int(k);
}

// Gives box `at` the extent of m_points[begin, end) and splits it at the
// median of its longer side until the boxes are small.
void NeighbourSearch::build(int at, int begin, int end) {
    Box b{HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL, begin, end, -1};
    for (int p = begin; p < end; ++p) {
        const Entry& e = m_points[static_cast<size_t>(p)];
        b.minX = std::min(b.minX, e.x);
        b.maxX = std::max(b.maxX, e.x);
        b.minY = std::min(b.minY, e.y);
        b.maxY = std::max(b.maxY, e.y);
    }
    if (end - begin > kLeafPoints) {
        const bool alongX = b.maxX - b.minX >= b.maxY - b.minY;
        const int mid = begin + (end - begin) / 2;
        std::nth_element(m_points.begin() + begin, m_points.begin() + mid, m_points.begin() + end,
                         [alongX](const Entry& a, const Entry& c) {
                             const double u = alongX ? a.x : a.y, v = alongX ? c.x : c.y;
                             return u < v || (u == v && a.index < c.index);
                         });
        b.first = int(m_boxes.size());
        m_boxes.push_back({});
        m_boxes.push_back({});
        m_boxes[static_cast<size_t>(at)] = b;
        build(b.first, begin, mid);
        build(b.first + 1, mid, end);
        return;
    }
    m_boxes[static_cast<size_t>(at)] = b;
}

struct NeighbourSearch::Query {
    double x, y;
    double reach;
    Neighbour* out;
    int found = 0;
    double radius2 = 0; // squared search radius, with the slack
    int hinted[kCount] = {0, 0, 0, 0, 0, 0}; // points offered before the search

    bool wasHinted(int index) const {
        for (int h : hinted)
            if (h == index) return true;
        return false;
    }

    void narrow() {
        const double r = found < kCount ? reach : out[kCount - 1].distance;
        radius2 = r * r * (1 + kSlack);
    }
    double distance2(const Box& b) const {
        const double dx = x < b.minX ? b.minX - x : x > b.maxX ? x - b.maxX : 0.0;
        const double dy = y < b.minY ? b.minY - y : y > b.maxY ? y - b.maxY : 0.0;
        return dy * dy + dx * dx;
    }
    // Keeps the point when it is among the six smallest (distance, index)
    // pairs nearer than the reach: the six that six full scans of the list,
    // each taking the strictly nearest point not yet taken, would choose.
    void offer(double d, int index, float z) {
        if (!(d < reach)) return;
        if (found == kCount) {
            const Neighbour& last = out[kCount - 1];
            if (d > last.distance || (d == last.distance && index > last.index)) return;
        }
        int k = found < kCount ? found++ : kCount - 1;
        while (k > 0 && (out[k - 1].distance > d || (out[k - 1].distance == d && out[k - 1].index > index))) {
            out[k] = out[k - 1];
            --k;
        }
        out[k] = {d, index, z};
        narrow();
    }
};

void NeighbourSearch::search(int at, Query& q) const {
    const Box& b = m_boxes[static_cast<size_t>(at)];
    if (b.first < 0) {
        for (int p = b.begin; p < b.end; ++p) {
            const Entry& e = m_points[static_cast<size_t>(p)];
            const double dy = q.y - e.y, dx = q.x - e.x;
            const double d2 = dy * dy + dx * dx;
            if (d2 <= q.radius2 && !q.wasHinted(e.index)) q.offer(std::sqrt(d2), e.index, e.z);
        }
        return;
    }
    int near = b.first, far = b.first + 1;
    double dNear = q.distance2(m_boxes[static_cast<size_t>(near)]);
    double dFar = q.distance2(m_boxes[static_cast<size_t>(far)]);
    if (dFar < dNear) {
        std::swap(near, far);
        std::swap(dNear, dFar);
    }
    if (dNear <= q.radius2) search(near, q);
    if (dFar <= q.radius2) search(far, q);
}

int NeighbourSearch::nearest(float x, float y, Neighbour (&out)[kCount], const Neighbour* hint) const {
    Query q{double(x), double(y), m_reach, out};
    q.narrow();
    // The hinted points, offered first, narrow the search from its start;
    // the search then skips them.
    for (int k = 0; hint && k < kCount; ++k) {
        const int index = hint[k].index;
        if (index <= 0 || index >= int(m_slot.size()) || q.wasHinted(index)) continue;
        const Entry& e = m_points[static_cast<size_t>(m_slot[static_cast<size_t>(index)])];
        const double dy = q.y - e.y, dx = q.x - e.x;
        q.hinted[k] = index;
        q.offer(std::sqrt(dy * dy + dx * dx), e.index, e.z);
    }
    if (!m_boxes.empty() && q.distance2(m_boxes.front()) <= q.radius2) search(0, q);
    for (int k = q.found; k < kCount; ++k) out[k] = {m_reach, 0, 0.0f};
    return q.found;
}

namespace {

// Inverse-distance weighting of the six neighbours.  On a point the weight
// of its distance 0 has no value; the point's own value is the sound result
// (the first of several coincident points).
float weigh(const NeighbourSearch::Neighbour (&n)[NeighbourSearch::kCount]) {
    if (n[0].index != 0 && n[0].distance == 0) return n[0].z;
    double weighted = 0, weights = 0;
    for (const NeighbourSearch::Neighbour& k : n) {
        weighted += legacy::Div(k.z, k.distance);
        weights += legacy::Div(1.0, k.distance);
    }
    return legacy::ToSingle(legacy::Div(weighted, weights));
}

} // namespace

float NeighbourSearch::value(float x, float y) const {
    Neighbour n[kCount];
    nearest(x, y, n);
    return weigh(n);
}

float NeighbourSearch::value(float x, float y, Neighbour (&carry)[kCount]) const {
    Neighbour n[kCount];
    nearest(x, y, n, carry);
    std::copy(std::begin(n), std::end(n), std::begin(carry));
    return weigh(n);
}

// ---------------------------------------------------------------------------
int gridSliceColumns() { return 4 * std::max(1, QThreadPool::globalInstance()->maxThreadCount()); }

namespace {

// One column's results, kept apart from the grid so that the cores do not
// write into each other's cache lines.
struct ColumnResult {
    std::vector<float> z;   // rows 1..rows at 0..rows-1
    std::vector<char> inside;
    int failedRow = 0;      // the row of a failure, 0 for none
    std::optional<legacy::Error> error;
};

} // namespace

void computeGrid(PointGrid& grid, const std::vector<DataPoint>& list, int count, const DataWindow& window,
                 double reach, GridRun& run, const std::function<bool(int)>& afterSlice) {
    const NeighbourSearch search(list, count, reach);
    const int cols = grid.cols(), rows = grid.rows();
    const int slice = gridSliceColumns();
    std::vector<ColumnResult> results(static_cast<size_t>(std::min(slice, std::max(cols, 0))));
    std::vector<int> columns;
    for (int first = 1; first <= cols; first += slice) {
        const int last = std::min(cols, first + slice - 1);
        columns.clear();
        for (int i = first; i <= last; ++i) columns.push_back(i);
        QtConcurrent::blockingMap(columns, [&](int i) {
            ColumnResult& r = results[static_cast<size_t>(i - first)];
            r.z.assign(static_cast<size_t>(rows), 0.0f);
            r.inside.assign(static_cast<size_t>(rows), 0);
            r.failedRow = 0;
            r.error.reset();
            NeighbourSearch::Neighbour carry[NeighbourSearch::kCount];
            for (int j = 1; j <= rows; ++j) {
                const DataPoint& n = grid.at(i, j);
                if (!window.contains(n.X, n.Y)) continue;
                try {
                    r.z[static_cast<size_t>(j - 1)] = search.value(n.X, n.Y, carry);
                } catch (const legacy::Error& e) {
                    r.failedRow = j;
                    r.error = e;
                    return;
                }
                r.inside[static_cast<size_t>(j - 1)] = 1;
            }
        });
        // Taken over in column order, so that a failure leaves what one column
        // after the other would have left.
        for (int i = first; i <= last; ++i) {
            const ColumnResult& r = results[static_cast<size_t>(i - first)];
            const int upTo = r.failedRow ? r.failedRow - 1 : rows;
            for (int j = 1; j <= upTo; ++j) {
                if (!r.inside[static_cast<size_t>(j - 1)]) continue;
                const float z = r.z[static_cast<size_t>(j - 1)];
                grid.at(i, j).Z = z;
                grid.setComputed(i, j);
                if (z < run.zMin) run.zMin = z;
                if (z > run.zMax) run.zMax = z;
            }
            if (r.error) throw *r.error;
        }
        if (afterSlice && afterSlice(last)) {
            run.stopped = true;
            return;
        }
    }
}
