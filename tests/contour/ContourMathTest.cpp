// The contour map's pure computations: colour ramps, gridding, the cells on
// the picture and the layout of the title and colour scale.
#include "common/TestRegistry.h"

#include "contour/CellPainting.h"
#include "contour/ColourRamps.h"
#include "contour/Gridding.h"
#include "contour/PlotScales.h"
#include "document/Legacy.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <cstring>

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
        QCOMPARE(got.join(QStringLiteral(", ")), QStringLiteral("50x25 39.2157x38.4615, 50x50 19.6078x19.6078, "
                                                                "12x40 23.0769x24.3902, 5x10 166.667x181.727, 0x10 50x90.9091"));
    }

    // The list is the datum then the contour points, X, Y and Z only; the
    // window their extent, its minima never beyond the map's right and top.
    void listAndWindow() {
        std::vector<DataPoint> dat = pointList({{1200, 4800, 1}, {2500, 4100, 2}});
        dat[2].Combined = true;
        const auto list = griddingList(dat, 2, pointList({{1800, 4500, 3}}), 1);
        QVERIFY(list.size() == 4 && !list[2].Combined && list[2].Z == 2 && list[3].X == 1800);
        const DataWindow w = dataWindow(list, 3, 1000, 2000, 5000), o = dataWindow(pointList({{4000, 6000, 1}}), 1, 1000, 2000, 5000);
        QCOMPARE((std::array{w.minX, w.maxX, w.minY, w.maxY, o.minX, o.minY}), (std::array{1200.f, 2500.f, 4100.f, 4800.f, 3000.f, 5000.f}));
        QVERIFY(w.contains(1200, 4800) && !w.contains(1199, 4500) && !dataWindow(list, 0, 0, 1, 1).contains(0, 0));
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
    // scans of the list give.  A lattice every 10 over 0..110 under nodes
    // every 2.5 brings many equal distances, nodes on points and two points
    // on one spot; four survey lines, points far apart across them.
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
            const NeighbourSearch s(list, count, reach);
            int inside = 0, onPoints = 0;
            for (int i = 1; i <= g.cols; ++i)
                for (int j = 1; j <= g.rows; ++j) {
                    const DataPoint& n = grid.at(i, j);
                    int want[6];
                    const float b = bruteValue(list, count, n.X, n.Y, reach, want);
                    NeighbourSearch::Neighbour out[6];
                    s.nearest(n.X, n.Y, out);
                    for (int k = 0; k < 6; ++k) QCOMPARE(out[k].index, want[k]);
                    if (!win.contains(n.X, n.Y)) continue;
                    ++inside;
                    onPoints += want[0] && list[want[0]].X == n.X && list[want[0]].Y == n.Y;
                    QVERIFY2(std::memcmp(&n.Z, &b, sizeof b) == 0, qPrintable(QStringLiteral("%1,%2").arg(i).arg(j)));
                }
            QVERIFY(inside > g.cols * g.rows / 2 && (!lattice || onPoints > 50));
        }
    }

    // The hook sees whole slices; a stop keeps the slices done; a failure at
    // the first node leaves nothing and the start range (32000, 0).
    void gridRunSlicesAndStops() {
        const auto list = pointList({{1100, 4900, -5}, {2900, 4100, -20}, {2000, 4500, -8}});
        const int slice = gridSliceColumns(), mid = slice / 2 + 1; // rows: slice + 1
        const GridGeometry g = gridGeometry(2 * slice + 3, 2000, 1000);
        const DataWindow win = dataWindow(list, 3, 1000, 2000, 5000);
        PointGrid all, part, failed;
        for (PointGrid* p : {&all, &part, &failed}) layGrid(*p, g, 1000, 5000);
        GridRun run, stopped, bad;
        std::vector<int> done;
        computeGrid(all, list, 3, win, 3000, run, [&](int d) { return done.push_back(d), false; });
        QCOMPARE(done, (std::vector<int>{slice, 2 * slice, 2 * slice + 3}));
        QVERIFY(!run.stopped && run.zMax == 0 && run.zMin < -5 && run.zMin > -20 && all.at(1, 1).Z == 0);
        computeGrid(part, list, 3, win, 3000, stopped, [](int) { return true; });
        QVERIFY(stopped.stopped && part.at(slice, mid).Z == all.at(slice, mid).Z && part.at(slice + 1, mid).Z == 0 &&
                all.at(slice + 1, mid).Z != 0);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, computeGrid(failed, list, 3, win, 0, bad));
        QVERIFY(bad.zMin == 32000 && bad.zMax == 0 && failed.at(slice, mid).Z == 0);
    }

    // Cells span their column and row spacing and meet on the pixel grid:
    // every pixel of the block of computed nodes shows the node nearest to
    // it, none is left blank, and none beyond the block is painted.
    void cellsCoverTheirBlock_data() {
        QTest::addColumn<int>("detail");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSizeF>("span");
        for (int detail : {10, 50, 117, 500})
            for (const QSize size : {QSize(300, 200), QSize(901, 677), QSize(1203, 641)})
                for (const QSizeF span : {QSizeF(12000, 7000), QSizeF(5000, 8000)})
                    QTest::addRow("%d %dx%d %gx%g", detail, size.width(), size.height(), span.width(), span.height())
                        << detail << size << span;
    }
    void cellsCoverTheirBlock() {
        QFETCH(int, detail);
        QFETCH(QSize, size);
        QFETCH(QSizeF, span);
        const QRectF pts = (detail + size.width()) % 2 ? QRectF(0.3, 0.25, 0.41, 0.33) : QRectF(0.02, 0.02, 0.96, 0.96);
        const float ox = 1000, oy = 90000, sx = float(span.width()), sy = float(span.height());
        const auto list = pointList({{ox + float(pts.left()) * sx, oy - float(pts.top()) * sy, 1},
                                     {ox + float(pts.right()) * sx, oy - float(pts.bottom()) * sy, 2}});
        const DataWindow win = dataWindow(list, 2, ox, sx, oy);
        PointGrid grid;
        const GridGeometry g = gridGeometry(detail, sx, sy);
        layGrid(grid, g, ox, oy);
        QImage img(size, QImage::Format_RGB32);
        img.fill(Qt::white);
        // Each node's colour names the node.
        paintCells(img, grid, win, g, sx, sy, [&](const DataPoint& n) {
            const int i = qRound((n.X - ox) / g.cellWidth), j = qRound((oy - n.Y) / g.cellHeight);
            return qRgb(i / 2, j / 2, (i % 2) * 2 + j % 2);
        });
        // The block of nodes inside the window, in node units.
        int i0 = g.cols + 1, i1 = 0, j0 = g.rows + 1, j1 = 0;
        for (int i = 1; i <= g.cols; ++i)
            for (int j = 1; j <= g.rows; ++j)
                if (win.contains(grid.at(i, j).X, grid.at(i, j).Y))
                    i0 = std::min(i0, i), i1 = std::max(i1, i), j0 = std::min(j0, j), j1 = std::max(j1, j);
        QVERIFY(i0 <= i1 && j0 <= j1);
        const double px = double(g.cellWidth) / sx * size.width(), py = double(g.cellHeight) / sy * size.height();
        constexpr double eps = 1e-6;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                const double u = (x + 0.5) / px, v = (y + 0.5) / py; // node i at u = i
                auto within = [&](double m) {
                    return u > i0 - 0.5 + m && u < i1 + 0.5 - m && v > j0 - 0.5 + m && v < j1 + 0.5 - m;
                };
                const int i = qRed(c) * 2 + qBlue(c) / 2, j = qGreen(c) * 2 + qBlue(c) % 2;
                const bool white = c == qRgb(255, 255, 255);
                if ((!within(-eps) && !white) ||
                    (within(eps) && (white || std::abs(u - i) > 0.5 + eps || std::abs(v - j) > 0.5 + eps)))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 shows %3,%4").arg(x).arg(y).arg(i).arg(j)));
            }
    }

    void titleAndScale() {
        QCOMPARE(contourTitleText("R", true, 12000, 50, PlotUnits::Feet) + '|' +
                     contourTitleText("R", false, 12000, 50, PlotUnits::Meters) + '|' +
                     contourTitleText("R", false, 1, 50, PlotUnits::Degrees) + '|' + unitWord(PlotUnits::Meters),
                 QStringLiteral("R Topographic/Structural Contours (240-ft detail)|R Isopachs (240.0-m detail)|"
                                "R Isopachs (0.0200-deg detail)|Meters"));
        // The scale stands on the side with more room, left on equal room.
        const ScaleLayout l = scaleLayout(9000, 6000, 3000, 9000), r = scaleLayout(9000, 6001, 0, 5000);
        QVERIFY(l.left && !r.left && scaleLayout(9000, 6000, 1000, 8000).left);
        QCOMPARE((std::array{l.yTop, l.yBottom, r.yTop, r.yBottom}), (std::array{1200, 4800, 1200, 4800}));
        QVERIFY(l.panel == QRectF(0, 700, 550, 4300) && r.panel == QRectF(8450, 700, 550, 4300));
        QCOMPARE((std::array{l.textX(4), r.textX(4), r.barX1, r.barX2}), (std::array{50.0, 8510.0, 8650.0, 8850.0}));
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
};

VEX_TEST(ContourMathTest);
#include "ContourMathTest.moc"
