// The contour map's pure computations: colour ramps, gridding, the cells on
// the picture, the layout of the title and colour scale, and under the
// contour lines and the relief the mesh against the plain algorithm, level
// tracing, spline curves and shading.
#include "common/TestRegistry.h"

#include "contour/CellPainting.h"
#include "contour/ColourRamps.h"
#include "contour/Gridding.h"
#include "contour/LevelTracing.h"
#include "contour/PlotScales.h"
#include "contour/Relief.h"
#include "contour/Splines.h"
#include "contour/Triangulation.h"
#include "document/Legacy.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <cstring>
#include <random>

using namespace contourlines;
using namespace relief;

namespace {

std::vector<DataPoint> pointList(std::initializer_list<std::array<float, 3>> xyz) {
    std::vector<DataPoint> list(1);
    for (const auto& p : xyz) list.push_back(DataPoint{0, p[0], p[1], p[2], false});
    return list;
}

// The rule itself: six full scans of the list, each taking the strictly
// nearest point within the reach not yet taken (the lower index on a tie).
// On a point, the first point's value; else the weighted mean with each
// missing neighbour as 0 at the reach.
float bruteValue(const std::vector<DataPoint>& list, int count, float x, float y, double reach, int (&chosen)[6]) {
    auto dist = [&](int p) {
        const double dy = double(y) - list[p].Y, dx = double(x) - list[p].X;
        return p ? std::sqrt(dy * dy + dx * dx) : reach;
    };
    for (int k = 0; k < 6; ++k) {
        chosen[k] = 0;
        for (int p = 1; p <= count; ++p)
            if (std::find(chosen, chosen + k, p) == chosen + k && dist(p) < dist(chosen[k])) chosen[k] = p;
    }
    if (chosen[0] && dist(chosen[0]) == 0) return list[chosen[0]].Z;
    double num = 0, den = 0;
    for (int p : chosen) num += (p ? list[p].Z : 0.f) / dist(p), den += 1 / dist(p);
    return float(num / den);
}

// The mesh grown by the plain rule, every point tested against every circle
// and no spatial shortcut: the reference the indexed version must reproduce
// triangle for triangle.
std::vector<Triangle> referenceTriangulate(const std::vector<TriPoint>& p) {
    std::vector<Triangle> tris;
    std::vector<char> used(p.size(), 0);
    const int last = int(p.size()) - 1;
    Circle c;
    auto inside = [&](const TriPoint& q) {
        return c.R * c.R > (c.X - q.X) * (c.X - q.X) + (c.Y - q.Y) * (c.Y - q.Y) + 1.0;
    };
    auto empty = [&] { return std::none_of(p.begin(), p.end(), inside); };
    for (int i = 1; i < last && tris.empty(); ++i)
        for (int j = i + 1; j <= last && tris.empty(); ++j) {
            CircumCircle(p[0].X, p[0].Y, p[0].X, p[0].Y, p[i].X, p[i].Y, p[j].X, p[j].Y, c);
            if (c.R != 100000.0 && empty()) tris.push_back({i, j, 0}), used[i] = used[j] = used[0] = 1;
        }
    for (size_t start = 0; tris.size() > start;) {
        start = tris.size();
        for (int m = 1; m <= last; ++m) {
            if (used[m]) continue;
            for (size_t t = 0, n = tris.size(); t < n; ++t) {
                const Triangle T = tris[t];
                const int edges[3][3] = {{T.P1, T.P3, T.P2}, {T.P2, T.P3, T.P1}, {T.P1, T.P2, T.P3}};
                for (const auto& e : edges)
                    if (!CircumCircle(p[e[2]].X, p[e[2]].Y, p[e[0]].X, p[e[0]].Y, p[e[1]].X, p[e[1]].Y, p[m].X,
                                      p[m].Y, c) &&
                        empty() && c.R < 1000)
                        tris.push_back({e[0], e[1], m}), used[m] = 1;
            }
            if (used[m]) break;
        }
    }
    return tris;
}

// "x,y x,y ..." to a millionth.
QString describe(const std::vector<PolyPoint>& poly) {
    const auto n = [](double v) { return QString::number(std::round(v * 1e6) / 1e6 + 0.0); };
    QStringList parts;
    for (const auto& p : poly) parts << n(p.X) + u',' + n(p.Y);
    return parts.join(u' ');
}

// A grid of heights, `value` everywhere but `rise` more on every row.
TopoGrid heights(int cols, int rows, int value, int rise = 0) {
    TopoGrid g(cols, rows);
    for (int c = 1; c <= cols; ++c)
        for (int r = 1; r <= rows; ++r) g.at(c, r) = value + rise * r;
    return g;
}

// The shade of the cell painted at (column, row), found from its dot's
// position a cell below the sampled point; -80 for the dark blue of a cell
// facing away, 0 for none.
int shade(const ReliefResult& res, const TopoGrid& g, double w, double h, int col, int row) {
    for (const auto& d : res.dots)
        if (qRound(d.x * g.cols() / w + 0.5) == col && qRound((d.y - w / g.cols()) * g.rows() / h + 0.5) == row)
            return d.b == 80 && d.r == 0 ? -80 : d.r;
    return 0;
}

} // namespace

class ContourMathTest : public QObject {
    Q_OBJECT
private slots:
    // Colour numbers (hex 0xBBGGRR) of value, bottom, top, scheme: each
    // scheme's ends and middle, the High Color segments (q of 1472), values
    // beyond the ends, the floor, a range of no width (the ends' colours, no
    // failure) and an unknown scheme (black).
    void ramps() {
        QStringList got;
        for (auto [v, lo, hi, scheme] : std::initializer_list<std::array<double, 4>>{
                 {50, 0, 100, 1}, {100, 0, 100, 1}, {0.999, 0, 200, 1}, {-150, -200, -100, 1}, {6, 7, 7, 1},
                 {0, 0, 100, 2}, {50, 0, 100, 2}, {300, 0, 512, 2}, {400, 0, 100, 2}, {7, 7, 7, 2}, {8, 7, 7, 2},
                 {-40, 0, 100, 3}, {192, 0, 1472, 3}, {193, 0, 1472, 3}, {600, 0, 1472, 3}, {736, 0, 1472, 3},
                 {1000, 0, 1472, 3}, {1300, 0, 1472, 3}, {100, 0, 100, 3}, {50, 0, 100, 4}})
            got << QString::number(PicRGB(v, lo, hi, int(scheme)), 16);
        QCOMPARE(got.join(u' '), QStringLiteral("9b9b9b ffffff 373737 9b9b9b 373737 ff0000 ff00 d42c ff ff0000 ff "
                                                "400000 ff0000 ff0100 68ff00 ff20 d8ff 5400ff ff00ff 0"));
    }

    // Nodes one cell short of every edge along each side, cells of span /
    // (nodes + 1).
    void geometry() {
        QStringList got;
        for (auto [detail, x, y] : std::initializer_list<std::array<float, 3>>{
                 {50, 2000, 1000}, {50, 1000, 1000}, {40, 300, 1000}, {10, 1000, 1999}, {10, 50, 1000}}) {
            const GridGeometry g = gridGeometry(int(detail), x, y);
            got << QStringLiteral("%1x%2 %3x%4").arg(g.cols).arg(g.rows).arg(g.cellWidth).arg(g.cellHeight);
        }
        QCOMPARE(got.join(QStringLiteral(", ")),
                 QStringLiteral("50x25 39.2157x38.4615, 50x50 19.6078x19.6078, 12x40 23.0769x24.3902, "
                                "5x10 166.667x181.727, 0x10 50x90.9091"));
    }

    // Node values from fewer than six points, by the search and by a run
    // over a grid of one node (x, y, reach, points, value).  Two points at
    // 10 and 30 sqrt 2 and four missing at 1000 give (10/10 + 20/42.4264) /
    // (1/10 + 1/42.4264 + 4/1000); one in reach of 6 at 5, 2 / (1/5 + 5/6).
    // A node on one point or two takes the (first) point's value.
    void weighting() {
        const auto list = pointList({{0, 0, 10}, {30, 40, 20}, {9, 9, 0}, {0, 0, 55}});
        for (auto [x, y, reach, count, value] : std::initializer_list<std::array<float, 5>>{
                 {0, 10, 1000, 2, 11.534075f}, {3, 4, 6, 2, 60 / 31.f}, {9, 9, 100, 4, 0}, {0, 0, 100, 4, 10}}) {
            QCOMPARE(NeighbourSearch(list, int(count), reach).value(x, y), value);
            PointGrid grid;
            grid.resize(1, 1);
            grid.at(1, 1) = DataPoint{0, x, y, -1, false};
            GridRun run;
            computeGrid(grid, list, int(count), DataWindow{-1e6f, 1e6f, -1e6f, 1e6f, false}, reach, run);
            QCOMPARE(grid.at(1, 1).Z, value);
        }
    }

    // On all cores the grid is node for node, bit for bit, what six full
    // scans of the list give.  150 points on a lattice every 10 over 0..110
    // under nodes every 2.5 bring many equal distances, nodes on points and
    // two points on one spot; four survey lines, points far apart across them.
    void gridMatchesSixFullScans() {
        for (bool lattice : {true, false}) {
            const int count = lattice ? 150 : 900;
            const double reach = lattice ? 45 : 3000;
            const float span = lattice ? 120 : 1000;
            QRandomGenerator rng(77);
            std::vector<DataPoint> list(1);
            for (int p = 0; p < count; ++p) {
                const float x = lattice ? float(rng.bounded(12)) * 10 : float(100 + 200 * (p % 4) + rng.bounded(5));
                const float y = lattice ? float(rng.bounded(12)) * 10 : float(p / 4) * 1000.f / float(count / 4 + 1);
                list.push_back(DataPoint{0, x, y, float(rng.bounded(1000)), false});
            }
            PointGrid grid;
            const GridGeometry g = gridGeometry(lattice ? 47 : 70, span, span);
            layGrid(grid, g, 0, span);
            const DataWindow win = dataWindow(list, count, 0, span, span);
            GridRun run;
            computeGrid(grid, list, count, win, reach, run);
            for (int i = 1; i <= g.cols; ++i)
                for (int j = 1; j <= g.rows; ++j) {
                    const DataPoint& n = grid.at(i, j);
                    int want[6];
                    const float b = bruteValue(list, count, n.X, n.Y, reach, want);
                    if (!win.contains(n.X, n.Y)) continue;
                    QVERIFY2(std::memcmp(&n.Z, &b, sizeof b) == 0, qPrintable(QStringLiteral("%1,%2").arg(i).arg(j)));
                }
        }
    }

    // The window is the points' extent, its minima never beyond the map's
    // right and top edges.  The hook sees whole slices; a stop keeps the
    // slices done; a failure at the first node leaves nothing and the start
    // range (32000, 0).
    void gridRunSlicesAndStops() {
        const auto list = pointList({{1100, 4900, -5}, {2900, 4100, -20}, {2000, 4500, -8}});
        const int slice = gridSliceColumns(), mid = slice / 2 + 1; // rows: slice + 1
        const GridGeometry g = gridGeometry(2 * slice + 3, 2000, 1000);
        const DataWindow win = dataWindow(list, 3, 1000, 2000, 5000);
        const DataWindow o = dataWindow(pointList({{4e3, 6e3}}), 1, 1e3, 2e3, 5e3);
        QCOMPARE((std::array{win.minX, win.maxX, win.minY, win.maxY, o.minX, o.minY}),
                 (std::array{1100.f, 2900.f, 4100.f, 4900.f, 3e3f, 5e3f}));
        QVERIFY(win.contains(1100, 4900) && !win.contains(1099, 4500) && !dataWindow(list, 0, 0, 1, 1).contains(0, 0));
        PointGrid all, part, failed;
        for (PointGrid* p : {&all, &part, &failed}) layGrid(*p, g, 1000, 5000);
        GridRun run, stopped, bad;
        std::vector<int> done;
        computeGrid(all, list, 3, win, 3000, run, [&](int d) { return done.push_back(d), false; });
        QVERIFY(done == (std::vector<int>{slice, 2 * slice, 2 * slice + 3}) && !run.stopped && all.at(1, 1).Z == 0);
        QVERIFY(run.zMax == 0 && run.zMin < -5 && run.zMin > -20); // the top stays at its start, 0
        computeGrid(part, list, 3, win, 3000, stopped, [](int) { return true; });
        QVERIFY(stopped.stopped && part.at(slice, mid).Z == all.at(slice, mid).Z && part.at(slice + 1, mid).Z == 0 &&
                all.at(slice + 1, mid).Z != 0);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, computeGrid(failed, list, 3, win, 0, bad));
        QVERIFY(bad.zMin == 32000 && bad.zMax == 0 && failed.at(slice, mid).Z == 0);
    }

    // Cells span their column and row spacing and meet on the pixel grid:
    // every pixel shows the node nearest to it when that node is computed,
    // else stays blank (pixel centres on a cell border aside).
    void cellsCoverTheirBlock() {
        for (int k = 0; k < 24; ++k) { // details, picture sizes and spans wider or taller
            const int detail = std::array{10, 50, 117, 500}[k / 6];
            const QSize size = std::array{QSize(300, 200), QSize(901, 677), QSize(1203, 641)}[k / 2 % 3];
            const float ox = 1000, oy = 90000, sx = k % 2 ? 5000 : 12000, sy = k % 2 ? 8000 : 7000;
            // The points span all the map or a part of it.
            const QRectF pts = (detail + size.width()) % 2 ? QRectF(0.3, 0.25, 0.41, 0.33) : QRectF(0, 0, 0.96, 0.96);
            const auto list = pointList({{ox + float(pts.left()) * sx, oy - float(pts.top()) * sy, 1},
                                         {ox + float(pts.right()) * sx, oy - float(pts.bottom()) * sy, 2}});
            const DataWindow win = dataWindow(list, 2, ox, sx, oy);
            PointGrid grid;
            const GridGeometry g = gridGeometry(detail, sx, sy);
            layGrid(grid, g, ox, oy);
            QImage img(size, QImage::Format_RGB32);
            img.fill(Qt::white);
            auto name = [](long i, long j) { return qRgb(int(i / 2), int(j / 2), int(i % 2 * 2 + j % 2)); };
            paintCells(img, grid, win, g, sx, sy, [&](const DataPoint& n) {
                return name(std::lround((n.X - ox) / g.cellWidth), std::lround((oy - n.Y) / g.cellHeight));
            });
            const double px = double(g.cellWidth) / sx * size.width(), py = double(g.cellHeight) / sy * size.height();
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const double u = (x + 0.5) / px, v = (y + 0.5) / py; // node i at u = i
                    if (std::abs(u - std::floor(u) - 0.5) < 1e-6 || std::abs(v - std::floor(v) - 0.5) < 1e-6) continue;
                    const long i = std::lround(u), j = std::lround(v);
                    const bool in = i > 0 && i <= g.cols && j > 0 && j <= g.rows &&
                                    win.contains(grid.at(i, j).X, grid.at(i, j).Y);
                    if (img.pixel(x, y) != (in ? name(i, j) : qRgb(255, 255, 255)))
                        QFAIL(qPrintable(QStringLiteral("case %1: pixel %2,%3").arg(k).arg(x).arg(y)));
                }
        }
    }

    void titleAndScale() {
        QCOMPARE(contourTitleText("R", true, 12000, 50, PlotUnits::Feet) + '|' +
                     contourTitleText("R", false, 12000, 50, PlotUnits::Meters) + '|' +
                     contourTitleText("R", false, 1, 50, PlotUnits::Degrees) + '|' + unitWord(PlotUnits::Meters),
                 QStringLiteral("R Topographic/Structural Contours (240-ft detail)|R Isopachs (240.0-m detail)|"
                                "R Isopachs (0.0200-deg detail)|Meters"));
        // The scale stands on the side with more room, left on equal room;
        // a bar of no height has no row values.
        const ScaleLayout r = scaleLayout(9000, 6001, 0, 5000);
        QVERIFY(!r.left && scaleLayout(9000, 6000, 1000, 8000).left && r.yTop == 1200 && r.yBottom == 4800);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, scaleRowValue(0, scaleLayout(100, 1, 0, 100), 0, 10));
        // Labels on a bar from row 1000 to 4000 (scale min and max, data min
        // and max): the ends and quarters, and on a wider manual scale the
        // first rows of the data's own integers (*), unless it steps over them.
        QStringList got;
        for (auto [lo, hi, zlo, zhi] : std::initializer_list<std::array<double, 4>>{
                 {100, 900, 100, 900}, {0, 1000, 200, 800}, {0, 1e7, 200, 800.5}})
            for (const ScaleLabel& s : scaleLabels(scaleLayout(9000, 5000, 0, 100), lo, hi, zlo, zhi))
                got << QStringLiteral("%1@%2%3").arg(s.text).arg(s.y).arg(s.mark ? "*" : "");
        QCOMPARE(got.join(u' '), QStringLiteral("900@1000 700@1750 500@2500 300@3250 100@4000 "
                                                "1000@1000 801@1598* 750@1750 500@2500 250@3250 201@3398* 0@4000 "
                                                "10000000@1000 7500000@1750 5000000@2500 2500000@3250 0@4000"));
    }

    // ---- contour lines and relief ----
    // inside:centre x,y,radius squared of (xp yp x1 y1 x2 y2 x3 y3): the
    // centre inside; on the circle, within the margin of 1 and just past
    // it; a flat second side; a general triangle; three points on a line
    // across, down and slanted (no circle).
    void circumCircle() {
        QStringList got;
        for (const auto& v : std::initializer_list<std::array<double, 8>>{
                 {5, 5, 0, 0, 10, 0, 0, 10}, {10, 10, 0, 0, 10, 0, 0, 10}, {12, 5, 0, 0, 10, 0, 0, 10},
                 {11.9, 5, 0, 0, 10, 0, 0, 10}, {0, 0, 0, 10, 0, 0, 10, 0}, {0, 0, -10, 0, 0, 10, 10, 0},
                 {0, 0, 0, 5, 10, 5, 20, 5}, {0, 0, 5, 0, 5, 10, 5, 20}, {0, 0, 0, 0, 10, 10, 20, 20}}) {
            Circle c; // filled by the first argument, before the others are read
            got << QStringLiteral("%1:%2,%3,%4").arg(CircumCircle(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c))
                       .arg(c.X).arg(c.Y).arg(c.R * c.R);
        }
        QCOMPARE(got.join(u' '), QStringLiteral("1:5,5,50 0:5,5,50 0:5,5,50 1:5,5,50 0:5,5,50 1:0,0,100 "
                                                "0:0,0,1e+10 0:0,0,1e+10 0:0,0,1e+10"));
    }

    // Triangle for triangle the plain algorithm's mesh, on jittered grids
    // fine and coarse (border slivers cut by the radius limit); a point far
    // off stays out.
    void triangulation() {
        for (auto [cols, rows, spacing] : std::initializer_list<std::array<int, 3>>{
                 {10, 10, 200}, {17, 25, 240}, {12, 8, 600}, {20, 20, 60}}) {
            std::mt19937 gen(unsigned(cols * rows)); // a grid, each point pushed by up to an eighth
            std::vector<TriPoint> pts;
            for (int i = 0; i < cols * rows; ++i)
                pts.push_back({(i / rows + gen() / 0x1p35) * spacing, (i % rows + gen() / 0x1p35) * spacing,
                               i % 7 * 10.});
            const auto fast = ContourTriangulate(pts), ref = referenceTriangulate(pts);
            QVERIFY(fast.size() == ref.size() && fast.size() > pts.size());
            for (size_t i = 0; i < ref.size(); ++i)
                QVERIFY(fast[i].P1 == ref[i].P1 && fast[i].P2 == ref[i].P2 && fast[i].P3 == ref[i].P3);
        }
        const auto tris = ContourTriangulate({{0, 0, 0}, {0, 100, 0}, {103, 2, 0}, {101, 104, 0}, {5000, 5000, 0}});
        QVERIFY(tris.size() == 2 && tris[0].P1 == 1 && tris[0].P2 == 2 && tris[0].P3 == 0 && tris[1].P3 == 3);
        QCOMPARE(ContourTriangulate({{0, 0, 1}, {100, 0, 2}, {0, 100, 3}}).size(), size_t(1));
    }

    // The nodes inside the window at strides leaving about 500, pushed right
    // and down by up to an eighth of a cell in drawing units, so that cells
    // a hundredth of a degree wide still mesh (an eighth is 37.5 units).
    void sampling() {
        PointGrid g, deg;
        g.resize(50, 50);
        deg.resize(30, 30);
        for (int i = 1; i <= 50; ++i)
            for (int j = 1; j <= 50; ++j) {
                g.at(i, j) = DataPoint{0, i * 10.f, 1000 - j * 10.f, float(i + j), false};
                if (i <= 30 && j <= 30) deg.at(i, j) = DataPoint{0, -100 + i * 0.01f, 40 + j * 0.01f, 1, false};
            }
        // Cells 80 x 40 over X 10..500, Y 500..990 of a 1000 x 1000 map drawn
        // 2000 x 1000: columns 1, 4, ..., 49 (17), rows 1, 3, ..., 49 (25).
        int draws = 0;
        const auto pts = sampleGrid(g, {80, 40, 10, 500, 500, 990, 0, 1000, 1000, 1000, 2000, 1000},
                                    [&] { return (draws++ % 2) ? 0.5 : 0.0; });
        QCOMPARE((std::array{double(pts.size()), double(draws), pts[0].X, pts[0].Y, pts[0].Z, pts[1].Z}),
                 (std::array{17 * 25.0, 2 * 17 * 25.0, 40.0, 12.5, 2.0, 4.0}));
        std::mt19937 gen(3);
        const auto dpts = sampleGrid(deg, {0.01, 0.01, -100, -99.6, 40, 40.4, -100, 40.31, 0.31, 0.31, 9300, 9300},
                                     [&] { return gen() / 0x1p32; });
        QVERIFY(dpts.size() == 450 && dpts[0].X > 301 && dpts[0].X < 338 && !ContourTriangulate(dpts).empty());
    }

    // Intervals by range and typed; the levels from the largest multiple
    // not above the minimum, 0 for a negative one (first x count); a level
    // crossing two sides of a triangle, none through a corner and its side.
    void levels() {
        QList<double> got;
        for (double range : {100.0, 100.5, 250.0, 251.0, 500.0, 501.0}) got << automaticInterval(range);
        for (const char* typed : {"1", "abc", "  2.5 ft", "-20"}) got << typedInterval(25, typed);
        QCOMPARE(got, (QList<double>{10, 25, 25, 50, 50, 100, 25, 25, 2.5, 25}));
        QStringList plans;
        for (auto [lo, hi, step] : std::initializer_list<std::array<double, 3>>{
                 {37, 100, 10}, {55, 55, 10}, {40, 100, 10}, {-20, 0, 10}, {0, 25, 10}, {1, 11, 2.5}, {1e20, 1e20, 10}})
            plans << QString::number(planLevels({lo, hi}, step).first) + 'x' +
                         QString::number(planLevels({lo, hi}, step).count);
        QCOMPARE(plans.join(u' '), QStringLiteral("30x7 50x1 40x7 0x3 0x3 0x5 1e+20x1"));
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 10}, {0, 100, 20}};
        const auto s = cutTriangles(pts, {{0, 1, 2}}, 5);
        QVERIFY(s.size() == 1 && s[0].X1 == 50 && s[0].Y1 == 0 && s[0].X2 == 0 && s[0].Y2 == 25);
        QVERIFY(cutTriangles(pts, {{0, 1, 2}}, 10).empty()); // through corner B: three crossings
        QVERIFY_THROWS_EXCEPTION(legacy::Error, cutTriangles(pts, {{0, 1, 2}}, 5, {0, 1001})); // no room
        // Traced through two separate triangles each level gives two lines, the
        // first carrying the level's number.
        const std::vector<TriPoint> two{{0, 0, 0}, {99, 0, 30}, {0, 99, 30}, {500, 0, 0}, {599, 0, 30}, {500, 99, 30}};
        const auto lines = traceLevels(two, {{0, 1, 2}, {3, 4, 5}}, planLevels(valueRange(two), 10));
        QCOMPARE(lines.size(), size_t(8));
        for (int k = 0; k < 8; ++k) QVERIFY(lines[k].level == k / 2 * 10 && lines[k].labelFlag == (k % 2 ? -1 : k / 2));
    }

    // Segments (x1 y1 x2 y2 ...) whose ends meet within 1 in X and Y join,
    // appended or prepended either way round, the rest scanned again, into
    // lines ("|" between them), within the room for a polyline.
    void chaining() {
        QStringList got;
        for (const QList<double>& segs : std::initializer_list<QList<double>>{
                 {0, 0, 10, 0, 10.5, 0.5, 20, 0}, {0, 0, 10, 0, 20, 0, 10, 0}, {10, 0, 20, 0, 0, 0, 10, 0},
                 {10, 0, 20, 0, 10, 0, 0, 0}, {20, 0, 30, 0, 0, 0, 10, 0, 10, 0, 20, 0},
                 {0, 0, 10, 0, 10, 10, 0, 10, 10, 0, 10, 10, 0, 10, 0, 0}, {0, 0, 10, 0, 50, 50, 60, 50, 10, 0, 20, 0},
                 {0, 0, 10, 0, 11, 0, 20, 0}}) {
            std::vector<Segment> s;
            for (int i = 0; i + 3 < segs.size(); i += 4) s.push_back({segs[i], segs[i + 1], segs[i + 2], segs[i + 3]});
            QStringList lines;
            for (const auto& poly : chainSegments(s)) lines << describe(poly);
            got << lines.join(u'|');
            if (lines.size() == 1) QVERIFY_THROWS_EXCEPTION(legacy::Error, chainSegments(s, {1001, 2})); // no room
        }
        QCOMPARE(got.join(QStringLiteral(", ")),
                 QStringLiteral("0,0 10,0 20,0, 0,0 10,0 20,0, 0,0 10,0 20,0, 0,0 10,0 20,0, 0,0 10,0 20,0 30,0, "
                                "0,10 0,0 10,0 10,10 0,10, 0,0 10,0 20,0|50,50 60,50, 0,0 10,0|11,0 20,0"));
    }

    // Four spans of six points over the start, the midpoint M and the end
    // E, each meeting the next (the second ends at 5/6 M + 1/6 E), the label
    // 100 above the start; a closed curve starts 1/12 of the way from the
    // first side's midpoint toward the second point and ends there.
    void splines() {
        std::vector<PolyPoint> open{{0, 0}, {120, 60}}, ring{{0, 0}, {120, 0}, {120, 120}, {0, 120}, {0.5, 0.5}};
        const auto c = splineCurve(open, 30.4, 0), r = splineCurve(ring, 0, -1);
        QVERIFY(!c.closed && c.labelled && c.label == QStringLiteral("30") && c.points.size() == 24 && open.size() == 2);
        QCOMPARE(describe({c.points.front(), c.points[11], c.points[12], c.points.back(), {c.labelX, c.labelY}}),
                 QStringLiteral("10,5 70,35 70,35 120,60 10,-95"));
        QVERIFY(r.closed && !r.labelled && ring.size() == 6 && r.points.size() == 6 * 12);
        QCOMPARE(describe({ring[0], r.points.front(), r.points.back()}), QStringLiteral("60,0 65,0 60,0"));
    }

    // Shades of (grid, light, contrast, cell): a flat area 125 inside, its
    // outer ring unpainted; a low one facing away (dark blue, -80) but from
    // the top; a slope of 1 a row by the contrast toward the light, 6
    // dividing by zero.  Dots a pen of 30 pixels; a line at a time.
    void shading() {
        const TopoGrid flat = heights(10, 8, 100), low = heights(5, 5, 30), slope = heights(12, 12, 100, 1);
        QList<int> got;
        int lines = 0;
        using Case = std::tuple<const TopoGrid*, int, double, int, int>;
        for (auto [g, dir, contrast, col, row] : std::initializer_list<Case>{
                 {&flat, 1, 3, 2, 2}, {&flat, 2, 3, 9, 7}, {&flat, 3, 3, 2, 7}, {&flat, 4, 3, 9, 2}, {&flat, 1, 3, 1, 1},
                 {&flat, 4, 3, 10, 8}, {&low, 1, 3, 3, 3}, {&low, 2, 3, 3, 3}, {&low, 3, 3, 3, 3}, {&low, 4, 3, 3, 3},
                 {&slope, 1, 1, 6, 6}, {&slope, 1, 3, 6, 6}, {&slope, 1, 4, 6, 6}, {&slope, 1, 5, 6, 6},
                 {&slope, 2, 5, 6, 6}, {&slope, 3, 5, 6, 6}}) {
            const double size = g->cols() * 150.0;
            const ReliefResult res = shadeRelief(*g, {dir, contrast, size, size}, [&] { ++lines; });
            got << shade(res, *g, size, size, col, row) << res.penWidth;
        }
        QCOMPARE(got, (QList<int>{125, 30, 125, 30, 125, 30, 125, 30, 0, 30, 0, 30, 125, 30, -80, 30, -80, 30, -80, 30,
                                  145, 30, 158, 30, 175, 30, 225, 30, 25, 30, 125, 30}));
        QCOMPARE(lines, 8 + 8 + 6 + 6 + 8 + 6 + 3 * 4 + 10 * 6);
        QCOMPARE(shadeRelief(slope, {1, 6, 600, 600}).error, QStringLiteral("Division by zero"));
    }

    // A ridge 150 above flat ground, light from the left: the shadow's depth
    // darkens the ground, rounded halves to even (125 - 24.5, 125 - 23.5,
    // 125 - 0.5), until the shadow line meets the ground.
    void castShadow() {
        TopoGrid g = heights(400, 5, 60);
        for (int r = 1; r <= 5; ++r) g.at(10, r) = 210;
        const ReliefResult res = shadeRelief(g, {Left, 3, 4000, 50});
        QList<int> got;
        for (int steps : {10, 200, 250, 251, 253, 299, 300, -3}) got << shade(res, g, 4000, 50, 10 + steps, 3);
        QCOMPARE(got, (QList<int>{25, 75, 100, 100, 102, 124, 125, 125}));
    }

    // Dots round and as many pixels across as the pen, odd ones centred on
    // the pixel of their position, even ones on the nearest corner: a dot
    // at pixel (50.4, 50.2), pens 3 and 4.
    void painting() {
        QStringList rows; // the dots' pixels in rows 47..53, columns 47..53
        for (int pen : {3, 4}) {
            QImage img(101, 101, QImage::Format_RGB32);
            img.fill(Qt::white);
            paintRelief(img, ReliefResult{pen, {{756, 753, 0, 0, 0}}, {}}, QTransform::fromScale(1 / 15.0, 1 / 15.0));
            for (int y = 47; y < 54; ++y) {
                rows << QString();
                for (int x = 47; x < 54; ++x) rows.back() += img.pixel(x, y) == qRgb(0, 0, 0) ? u'#' : u'.';
            }
        }
        QCOMPARE(rows.join(u' '), QStringLiteral("....... ....... ..###.. ..###.. ..###.. ....... ....... "
                                                 "....... ..##... .####.. .####.. ..##... ....... ......."));
    }
};

VEX_TEST(ContourMathTest);
#include "ContourMathTest.moc"
