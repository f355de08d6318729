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

long rgb(int r, int g, int b) { return r + g * 256L + b * 65536L; }

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
    void ramps_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<long>("colour");
        QTest::newRow("grey middle") << 50.0 << 0.0 << 100.0 << 1 << rgb(155, 155, 155);
        QTest::newRow("grey top") << 100.0 << 0.0 << 100.0 << 1 << rgb(255, 255, 255);
        QTest::newRow("grey floors") << 0.999 << 0.0 << 200.0 << 1 << rgb(55, 55, 55);
        QTest::newRow("grey negative range") << -150.0 << -200.0 << -100.0 << 1 << rgb(155, 155, 155);
        QTest::newRow("low bottom") << 0.0 << 0.0 << 100.0 << 2 << rgb(0, 0, 255);
        QTest::newRow("low middle capped") << 50.0 << 0.0 << 100.0 << 2 << rgb(0, 255, 0);
        QTest::newRow("low q300") << 300.0 << 0.0 << 512.0 << 2 << rgb(44, 212, 0);
        QTest::newRow("low above takes top") << 400.0 << 0.0 << 100.0 << 2 << rgb(255, 0, 0);
        QTest::newRow("high below takes bottom") << -40.0 << 0.0 << 100.0 << 3 << rgb(0, 0, 64);
        QTest::newRow("high q192") << 192.0 << 0.0 << 1472.0 << 3 << rgb(0, 0, 255);
        QTest::newRow("high q193") << 193.0 << 0.0 << 1472.0 << 3 << rgb(0, 1, 255);
        QTest::newRow("high q600") << 600.0 << 0.0 << 1472.0 << 3 << rgb(0, 255, 104);
        QTest::newRow("high middle") << 50.0 << 0.0 << 100.0 << 3 << rgb(32, 255, 0);
        QTest::newRow("high q1000") << 1000.0 << 0.0 << 1472.0 << 3 << rgb(255, 216, 0);
        QTest::newRow("high q1300") << 1300.0 << 0.0 << 1472.0 << 3 << rgb(255, 0, 84);
        QTest::newRow("high top") << 100.0 << 0.0 << 100.0 << 3 << rgb(255, 0, 255);
        QTest::newRow("unknown scheme") << 50.0 << 0.0 << 100.0 << 4 << 0L;
        // A range of no width has no position: the ends' colours, no failure.
        QTest::newRow("degenerate at") << 7.0 << 7.0 << 7.0 << 2 << rgb(0, 0, 255);
        QTest::newRow("degenerate above") << 8.0 << 7.0 << 7.0 << 2 << rgb(255, 0, 0);
        QTest::newRow("degenerate below") << 6.0 << 7.0 << 7.0 << 1 << rgb(55, 55, 55);
    }
    void ramps() {
        QFETCH(double, value);
        QFETCH(double, bottom);
        QFETCH(double, top);
        QFETCH(int, scheme);
        QTEST(PicRGB(value, bottom, top, scheme), "colour");
    }

    // Nodes stop one cell short of every map edge; the cells are the span
    // over nodes + 1.
    void geometry_data() {
        QTest::addColumn<int>("detail");
        QTest::addColumn<QSizeF>("span");
        QTest::addColumn<QSize>("nodes");
        QTest::addColumn<QSizeF>("cell");
        QTest::newRow("twice as wide") << 50 << QSizeF(2000, 1000) << QSize(50, 25) << QSizeF(2000 / 51., 1000 / 26.);
        QTest::newRow("square") << 50 << QSizeF(1000, 1000) << QSize(50, 50) << QSizeF(1000 / 51., 1000 / 51.);
        QTest::newRow("tall") << 40 << QSizeF(300, 1000) << QSize(12, 40) << QSizeF(300 / 13., 1000 / 41.);
        QTest::newRow("floor") << 10 << QSizeF(1000, 1999) << QSize(5, 10) << QSizeF(1000 / 6., 1999 / 11.);
        QTest::newRow("thin strip") << 10 << QSizeF(50, 1000) << QSize(0, 10) << QSizeF(50, 1000 / 11.);
    }
    void geometry() {
        QFETCH(int, detail);
        QFETCH(QSizeF, span);
        QFETCH(QSizeF, cell);
        const GridGeometry g = gridGeometry(detail, float(span.width()), float(span.height()));
        QTEST(QSize(g.cols, g.rows), "nodes");
        QCOMPARE(g.cellWidth, float(cell.width()));
        QCOMPARE(g.cellHeight, float(cell.height()));
        PointGrid grid;
        layGrid(grid, g, 1000, 5000);
        QCOMPARE(grid.at(0, 0).X, 0.f);
        if (!g.cols) return;
        QCOMPARE(grid.at(1, 1).X, float(1000 + cell.width()));
        QCOMPARE(grid.at(1, 1).Y, float(5000 - cell.height()));
    }
    void detailClamp() {
        QCOMPARE((std::array{clampContourDetail(-3), clampContourDetail(9), clampContourDetail(501)}), (std::array{10, 10, 500}));
    }

    // The list is the datum then the contour points, X, Y and Z only; the
    // window their extent, its minima never beyond the map's right and top.
    void listAndWindow() {
        std::vector<DataPoint> dat = pointList({{1200, 4800, 1}, {2500, 4100, 2}});
        dat[1].Number = 7;
        dat[2].Combined = true;
        const auto list = griddingList(dat, 2, pointList({{1800, 4500, 3}}), 1);
        QCOMPARE(list.size(), size_t(4));
        QVERIFY(list[1].Number == 0 && !list[2].Combined && list[2].Z == 2 && list[3].X == 1800);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, griddingList(dat, 3, list, 1));
        const DataWindow w = dataWindow(list, 3, 1000, 2000, 5000);
        QCOMPARE((std::array{w.minX, w.maxX, w.minY, w.maxY}), (std::array{1200.f, 2500.f, 4100.f, 4800.f}));
        QVERIFY(w.contains(1200, 4800) && !w.contains(1199, 4500) && !w.contains(2000, 4099));
        const auto off = pointList({{4000, 6000, 1}, {5000, 7000, 2}});
        const DataWindow o = dataWindow(off, 2, 1000, 2000, 5000);
        QCOMPARE((std::array{o.minX, o.maxX, o.minY, o.maxY}), (std::array{3000.f, 5000.f, 5000.f, 7000.f}));
        QVERIFY(!dataWindow(off, 0, 1000, 2000, 5000).contains(0, 0));
    }

    // Node values from fewer than six points, through the search and
    // through a gridding run.
    void weighting_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<double>("reach");
        QTest::addColumn<int>("count");
        QTest::addColumn<float>("value");
        // Distances 10 and 30 sqrt 2, four missing at 1000:
        // (10/10 + 20/42.4264) / (1/10 + 1/42.4264 + 4/1000).
        QTest::newRow("two points pulled toward 0") << 0.f << 10.f << 1000.0 << 2 << 11.534075f;
        // Only (0, 0) is within the reach, five missing: 2 / (1/5 + 5/6) = 60/31.
        QTest::newRow("one in reach") << 3.f << 4.f << 6.0 << 2 << 1.9354839f;
        QTest::newRow("on a point") << 9.f << 9.f << 100.0 << 4 << 0.f;
        QTest::newRow("on two points: the first") << 0.f << 0.f << 100.0 << 4 << 10.f;
    }
    void weighting() {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(double, reach);
        QFETCH(int, count);
        const auto list = pointList({{0, 0, 10}, {30, 40, 20}, {9, 9, 0}, {0, 0, 55}});
        QTEST(NeighbourSearch(list, count, reach).value(x, y), "value");
        PointGrid grid;
        grid.resize(1, 1);
        grid.at(1, 1) = DataPoint{0, x, y, -1, false};
        GridRun run;
        computeGrid(grid, list, count, DataWindow{-1e6f, 1e6f, -1e6f, 1e6f, false}, reach, run);
        QTEST(grid.at(1, 1).Z, "value");
    }

    // On all cores the grid is node for node, bit for bit, what six full
    // scans of the list give.  The lattice brings many equal distances,
    // nodes on points and two points on one spot; the survey lines, points
    // far apart across them.
    void gridMatchesSixFullScans_data() {
        QTest::addColumn<bool>("lattice");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("reach");
        QTest::newRow("lattice") << true << 150 << 45.0;
        QTest::newRow("traverse lines") << false << 900 << 3000.0;
    }
    void gridMatchesSixFullScans() {
        QFETCH(bool, lattice);
        QFETCH(int, count);
        QFETCH(double, reach);
        QRandomGenerator rng(77);
        // A lattice every 10 over 0..110, or four lines running north-south.
        std::vector<DataPoint> list(1);
        for (int p = 0; p < count; ++p) {
            const float x = lattice ? float(rng.bounded(12)) * 10 : float(100 + 200 * (p % 4) + rng.bounded(5));
            const float y = lattice ? float(rng.bounded(12)) * 10 : float(p / 4) * 1000.f / float(count / 4 + 1);
            list.push_back(DataPoint{0, x, y, float(rng.bounded(1000)), false});
        }
        // Lattice: nodes every 2.5 over 0..120, four to a lattice step.
        const float span = lattice ? 120 : 1000;
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
        QVERIFY(inside > g.cols * g.rows / 2);
        QVERIFY(!lattice || onPoints > 50);
    }

    // The hooks see whole slices; a stop keeps the slices done; a failure at
    // the first node leaves nothing and the start range.
    void gridRunSlicesAndStops() {
        const auto list = pointList({{1100, 4900, -5}, {2900, 4100, -20}, {2000, 4500, -8}});
        const int slice = gridSliceColumns();
        const GridGeometry g = gridGeometry(2 * slice + 3, 2000, 1000);
        const int mid = g.rows / 2;
        const DataWindow win = dataWindow(list, 3, 1000, 2000, 5000);
        PointGrid all, part, failed;
        for (PointGrid* p : {&all, &part, &failed}) layGrid(*p, g, 1000, 5000);
        GridRun run, stopped, bad;
        std::vector<int> done;
        computeGrid(all, list, 3, win, 3000, run, [&](int d) { return done.push_back(d), false; });
        QCOMPARE(done, (std::vector<int>{slice, 2 * slice, 2 * slice + 3}));
        // Negative data leave the top of the range at its start value 0.
        QVERIFY(!run.stopped && run.zMax == 0 && run.zMin < -5 && run.zMin > -20);
        QCOMPARE(all.at(1, 1).Z, 0.f); // outside the window
        computeGrid(part, list, 3, win, 3000, stopped, [](int) { return true; });
        QVERIFY(stopped.stopped && part.at(slice, mid).Z == all.at(slice, mid).Z);
        QVERIFY(all.at(slice + 1, mid).Z != 0 && part.at(slice + 1, mid).Z == 0);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, computeGrid(failed, list, 3, win, 0, bad));
        QVERIFY(bad.zMin == 32000 && failed.at(slice, mid).Z == 0);
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

    void title_data() {
        QTest::addColumn<bool>("structural");
        QTest::addColumn<float>("span");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("text");
        QTest::newRow("feet") << true << 12000.f << int(PlotUnits::Feet)
                              << "Ridge Topographic/Structural Contours (240-ft detail)";
        QTest::newRow("meters") << false << 12000.f << int(PlotUnits::Meters) << "Ridge Isopachs (240.0-m detail)";
        QTest::newRow("degrees") << false << 1.f << int(PlotUnits::Degrees) << "Ridge Isopachs (0.0200-deg detail)";
    }
    void title() {
        QFETCH(bool, structural);
        QFETCH(float, span);
        QFETCH(int, units);
        QTEST(contourTitleText(QStringLiteral("Ridge"), structural, span, 50, PlotUnits(units)), "text");
        QCOMPARE(unitWord(PlotUnits::Meters) + unitWord(PlotUnits::Feet) + unitWord(PlotUnits::Degrees),
                 QStringLiteral("MetersFeetDegrees"));
    }

    // The scale stands on the side with more room (left on equal room).
    void scaleLayouts() {
        const ScaleLayout l = scaleLayout(9000, 6000, 3000, 9000), r = scaleLayout(9000, 6001, 0, 5000);
        QVERIFY(l.left && !r.left && scaleLayout(9000, 6000, 1000, 8000).left);
        QCOMPARE((std::array{l.yTop, l.yBottom, r.yTop, r.yBottom}), (std::array{1200, 4800, 1200, 4800}));
        QCOMPARE(l.panel, QRectF(0, 700, 550, 4300));
        QCOMPARE(r.panel, QRectF(8450, 700, 550, 4300));
        QCOMPARE((std::array{l.textX(4), r.textX(4), r.barX1, r.barX2}), (std::array{50.0, 8510.0, 8650.0, 8850.0}));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, scaleRowValue(0, scaleLayout(100, 1, 0, 100), 0, 10));
    }

    // Labels on a bar from row 1000 to 4000: the ends and quarters, and on a
    // wider manual scale the first rows of the data's own integers (*).
    void scaleLabels_data() {
        QTest::addColumn<QList<double>>("range"); // scale min, max, data min, max
        QTest::addColumn<QString>("labels");
        QTest::newRow("automatic") << QList<double>{100, 900, 100, 900} << "900@1000 700@1750 500@2500 300@3250 100@4000";
        QTest::newRow("manual") << QList<double>{0, 1000, 200, 800}
                                << "1000@1000 801@1598* 750@1750 500@2500 250@3250 201@3398* 0@4000";
        QTest::newRow("steps over the data's integers")
            << QList<double>{0, 1e7, 200, 800.5} << "10000000@1000 7500000@1750 5000000@2500 2500000@3250 0@4000";
    }
    void scaleLabels() {
        QFETCH(QList<double>, range);
        QStringList got;
        for (const ScaleLabel& l : ::scaleLabels(scaleLayout(9000, 5000, 0, 100), range[0], range[1], range[2], range[3]))
            got << QStringLiteral("%1@%2%3").arg(l.text).arg(l.y).arg(l.mark ? "*" : "");
        QTEST(got.join(u' '), "labels");
        QCOMPARE(scaleRowValue(1000, scaleLayout(9000, 5000, 0, 100), range[0], range[1]), range[1]);
    }
};

VEX_TEST(ContourMathTest);
#include "ContourMathTest.moc"
