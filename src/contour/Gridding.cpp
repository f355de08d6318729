#include "contour/Gridding.h"

#include "document/Legacy.h"

#include <algorithm>
#include <cmath>

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
NeighbourSearch::NeighbourSearch(const std::vector<DataPoint>& list, int count, double reach) : m_reach(reach) {
    m_sorted.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int p = 1; p <= count; ++p) {
        const DataPoint& e = list[static_cast<size_t>(p)];
        m_sorted.push_back({double(e.X), double(e.Y), e.Z, p});
    }
    std::sort(m_sorted.begin(), m_sorted.end(),
              [](const Entry& a, const Entry& b) { return a.x < b.x || (a.x == b.x && a.index < b.index); });
}

// Six full scans of the list, each taking the strictly nearest point not yet
// chosen, pick the six smallest (distance, index) pairs below the reach.  A
// sweep outward from the position in X finds the same six: a point further
// away in X alone than the sixth found cannot come before it.
int NeighbourSearch::nearest(float x, float y, Neighbour (&out)[kCount]) const {
    int found = 0;
    const double nx = x, ny = y;
    auto offer = [&](const Entry& e) {
        const double dx = nx - e.x, dy = ny - e.y;
        const double d = std::sqrt(dy * dy + dx * dx);
        if (!(d < m_reach)) return;
        if (found == kCount) {
            const Neighbour& last = out[kCount - 1];
            if (d > last.distance || (d == last.distance && e.index > last.index)) return;
        }
        int k = found < kCount ? found++ : kCount - 1;
        while (k > 0 && (out[k - 1].distance > d || (out[k - 1].distance == d && out[k - 1].index > e.index))) {
            out[k] = out[k - 1];
            --k;
        }
        out[k] = {d, e.index, e.z};
    };
    auto limit = [&] {
        const double l = found < kCount ? m_reach : out[kCount - 1].distance;
        return l * (1 + 1e-12) + 1e-300;
    };
    const auto mid = std::lower_bound(m_sorted.begin(), m_sorted.end(), nx,
                                      [](const Entry& e, double v) { return e.x < v; });
    auto left = mid;
    auto right = mid;
    bool leftOpen = left != m_sorted.begin();
    bool rightOpen = right != m_sorted.end();
    while (leftOpen || rightOpen) {
        const double dl = leftOpen ? nx - (left - 1)->x : HUGE_VAL;
        const double dr = rightOpen ? right->x - nx : HUGE_VAL;
        if (dl <= dr) {
            if (dl > limit()) break;
            offer(*--left);
            leftOpen = left != m_sorted.begin();
        } else {
            if (dr > limit()) break;
            offer(*right++);
            rightOpen = right != m_sorted.end();
        }
    }
    for (int k = found; k < kCount; ++k) out[k] = {m_reach, 0, 0.0f};
    return found;
}

float NeighbourSearch::value(float x, float y) const {
    Neighbour n[kCount];
    nearest(x, y, n);
    double weighted = 0, weights = 0;
    for (const Neighbour& k : n) {
        weighted += legacy::Div(k.z, k.distance);
        weights += legacy::Div(1.0, k.distance);
    }
    return legacy::ToSingle(legacy::Div(weighted, weights));
}

// ---------------------------------------------------------------------------
void computeGrid(PointGrid& grid, const std::vector<DataPoint>& list, int count, const DataWindow& window,
                 double reach, GridRun& run, const std::function<bool(int, int)>& afterNode,
                 const std::function<void(int)>& afterColumn) {
    const NeighbourSearch search(list, count, reach);
    for (int i = 1; i <= grid.cols(); ++i) {
        for (int j = 1; j <= grid.rows(); ++j) {
            DataPoint& n = grid.at(i, j);
            if (window.contains(n.X, n.Y)) {
                n.Z = search.value(n.X, n.Y);
                if (n.Z < run.zMin) run.zMin = n.Z;
                if (n.Z > run.zMax) run.zMax = n.Z;
            }
            if (afterNode && afterNode(i, j)) {
                run.stopped = true;
                return;
            }
        }
        if (afterColumn) afterColumn(i);
    }
}
