// The contour map's pure computations: colour ramps, gridding and the
// layout of the title and colour scale.
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
    for (const auto& p : xyz) {
        DataPoint d;
        d.X = p[0];
        d.Y = p[1];
        d.Z = p[2];
        list.push_back(d);
    }
    return list;
}

// Six scans of the whole list, each taking the strictly nearest point not
// yet taken: the neighbours as the gridding defines them.
std::vector<int> sixScans(const std::vector<DataPoint>& list, int count, float x, float y, double reach) {
    std::vector<int> chosen;
    for (int k = 0; k < 6; ++k) {
        double best = reach;
        int at = 0;
        for (int p = 1; p <= count; ++p) {
            if (std::find(chosen.begin(), chosen.end(), p) != chosen.end()) continue;
            const double dy = double(y) - list[p].Y, dx = double(x) - list[p].X;
            const double d = std::sqrt(dy * dy + dx * dx);
            if (d < best) {
                best = d;
                at = p;
            }
        }
        chosen.push_back(at);
    }
    return chosen;
}

// The value of a position by the rule itself: the six full scans, the first
// point's value on a point, else the weighted mean with missing neighbours
// as 0 at the reach.
float bruteValue(const std::vector<DataPoint>& list, int count, float x, float y, double reach) {
    double num = 0, den = 0;
    for (int p : sixScans(list, count, x, y, reach)) {
        const double d = p ? std::sqrt((double(y) - list[p].Y) * (double(y) - list[p].Y) +
                                       (double(x) - list[p].X) * (double(x) - list[p].X))
                           : reach;
        if (d == 0) return list[p].Z;
        num += (p ? list[p].Z : 0.f) / d;
        den += 1 / d;
    }
    return float(num / den);
}

} // namespace

class ContourMathTest : public QObject {
    Q_OBJECT
private slots:
    // ---- colour ramps ----
    void ramps_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<long>("colour");
        QTest::newRow("grey middle") << 50.0 << 0.0 << 100.0 << 1 << rgb(155, 155, 155);
        QTest::newRow("low middle capped") << 50.0 << 0.0 << 100.0 << 2 << rgb(0, 255, 0);
        QTest::newRow("high middle") << 50.0 << 0.0 << 100.0 << 3 << rgb(32, 255, 0);
        QTest::newRow("grey bottom") << 0.0 << 0.0 << 100.0 << 1 << rgb(55, 55, 55);
        QTest::newRow("low bottom") << 0.0 << 0.0 << 100.0 << 2 << rgb(0, 0, 255);
        QTest::newRow("high bottom") << 0.0 << 0.0 << 100.0 << 3 << rgb(0, 0, 64);
        QTest::newRow("grey top") << 100.0 << 0.0 << 100.0 << 1 << rgb(255, 255, 255);
        QTest::newRow("low top") << 100.0 << 0.0 << 100.0 << 2 << rgb(255, 0, 0);
        QTest::newRow("high top") << 100.0 << 0.0 << 100.0 << 3 << rgb(255, 0, 255);
        QTest::newRow("below takes bottom") << -40.0 << 0.0 << 100.0 << 3 << rgb(0, 0, 64);
        QTest::newRow("above takes top") << 400.0 << 0.0 << 100.0 << 2 << rgb(255, 0, 0);
        // q = 192 and 193 on a range of 1472 steps.
        QTest::newRow("high q192") << 192.0 << 0.0 << 1472.0 << 3 << rgb(0, 0, 255);
        QTest::newRow("high q193") << 193.0 << 0.0 << 1472.0 << 3 << rgb(0, 1, 255);
        QTest::newRow("high q1000") << 1000.0 << 0.0 << 1472.0 << 3 << rgb(255, 216, 0);
        QTest::newRow("high q1300") << 1300.0 << 0.0 << 1472.0 << 3 << rgb(255, 0, 84);
        QTest::newRow("low q300") << 300.0 << 0.0 << 512.0 << 2 << rgb(44, 212, 0);
        QTest::newRow("floor not round") << 0.999 << 0.0 << 200.0 << 1 << rgb(55, 55, 55);
        QTest::newRow("negative range") << -150.0 << -200.0 << -100.0 << 1 << rgb(155, 155, 155);
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

    // ---- grid geometry ----
    void geometry_data() {
        QTest::addColumn<int>("detail");
        QTest::addColumn<float>("spanX");
        QTest::addColumn<float>("spanY");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::newRow("twice as wide") << 50 << 2000.f << 1000.f << 50 << 25;
        QTest::newRow("square") << 50 << 1000.f << 1000.f << 50 << 50;
        QTest::newRow("tall") << 40 << 300.f << 1000.f << 12 << 40;
        QTest::newRow("floor") << 10 << 1000.f << 1999.f << 5 << 10;
        QTest::newRow("thin strip") << 10 << 50.f << 1000.f << 0 << 10;
    }
    void geometry() {
        QFETCH(int, detail);
        QFETCH(float, spanX);
        QFETCH(float, spanY);
        const GridGeometry g = gridGeometry(detail, spanX, spanY);
        QTEST(g.cols, "cols");
        QTEST(g.rows, "rows");
        QCOMPARE(g.cellWidth, float(spanX / (g.cols + 1.0)));
        QCOMPARE(g.cellHeight, float(spanY / (g.rows + 1.0)));
    }

    void gridNodesStopShortOfTheEdges() {
        PointGrid grid;
        const GridGeometry g = gridGeometry(50, 2000, 1000);
        layGrid(grid, g, 1000, 5000);
        QCOMPARE(grid.at(1, 1).X, 1000 + 2000.f / 51);
        QCOMPARE(grid.at(1, 1).Y, 5000 - 1000.f / 26);
        QVERIFY(grid.at(50, 25).X < 3000 && grid.at(50, 25).Y > 4000);
        QCOMPARE(grid.at(0, 0).X, 0.f);
        QCOMPARE(grid.at(3, 0).Z, 0.f);
    }

    void detailClamp() {
        for (auto [in, out] : std::initializer_list<std::pair<int, int>>{{5, 10}, {900, 500}, {10, 10}, {500, 500}, {-3, 10}})
            QCOMPARE(clampContourDetail(in), out);
    }

    // ---- gridding list and data window ----
    void listTakesDatumThenContourPoints() {
        std::vector<DataPoint> dat = pointList({{1, 2, 3}, {4, 5, 6}});
        dat[1].Number = 7;
        dat[2].Combined = true;
        const std::vector<DataPoint> con = pointList({{7, 8, 9}});
        const std::vector<DataPoint> list = griddingList(dat, 2, con, 1);
        QCOMPARE(list.size(), size_t(4));
        QCOMPARE(list[0].X, 0.f);
        QCOMPARE(list[1].Number, int16_t(0));
        QCOMPARE(list[2].Combined, false);
        QCOMPARE(list[2].Z, 6.f);
        QCOMPARE(list[3].X, 7.f);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, griddingList(dat, 3, con, 1));
    }

    void dataWindowIsThePointsExtent() {
        const auto list = pointList({{1200, 4800, 1}, {2500, 4100, 2}, {1800, 4500, 3}});
        const DataWindow w = dataWindow(list, 3, 1000, 2000, 5000);
        QVERIFY(!w.empty);
        QCOMPARE((std::array{w.minX, w.maxX, w.minY, w.maxY}), (std::array{1200.f, 2500.f, 4100.f, 4800.f}));
        QVERIFY(w.contains(1200, 4800) && w.contains(2000, 4500));
        QVERIFY(!w.contains(1199, 4500) && !w.contains(2000, 4099));
        // Points beyond the map's right and top edges: the minima stop there.
        const auto off = pointList({{4000, 6000, 1}, {5000, 7000, 2}});
        const DataWindow o = dataWindow(off, 2, 1000, 2000, 5000);
        QCOMPARE((std::array{o.minX, o.maxX, o.minY, o.maxY}), (std::array{3000.f, 5000.f, 5000.f, 7000.f}));
        QVERIFY(dataWindow(off, 0, 1000, 2000, 5000).empty);
        QVERIFY(!dataWindow(off, 0, 1000, 2000, 5000).contains(0, 0));
    }

    // ---- node values ----
    void weighting_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<double>("reach");
        QTest::addColumn<float>("value");
        // Distances 10 and sqrt(1800); four missing neighbours at the reach.
        const double d2 = std::sqrt(1800.0);
        QTest::newRow("two points pulled toward 0")
            << 0.f << 10.f << 1000.0 << float((10 / 10.0 + 20 / d2) / (1 / 10.0 + 1 / d2 + 4 / 1000.0));
        // Only (0, 0) lies within the reach: five missing neighbours.
        QTest::newRow("out of reach") << 3.f << 4.f << 6.0 << float((10 / 5.0) / (1 / 5.0 + 5 / 6.0));
        // A node on a point takes its value; on two coincident points the
        // value of the first in the list.
        QTest::newRow("on a point") << 9.f << 9.f << 100.0 << 0.f;
        QTest::newRow("on two points") << 0.f << 0.f << 100.0 << 10.f;
    }
    void weighting() {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(double, reach);
        const auto list = pointList({{0, 0, 10}, {30, 40, 20}, {9, 9, 0}, {0, 0, 55}});
        QTEST(NeighbourSearch(list, (x == 9 || (x == 0 && y == 0)) ? 4 : 2, reach).value(x, y), "value");
    }

    // On all cores the grid is node for node, bit for bit, what six full
    // scans of the list give, however the points lie.  The lattice brings
    // many equal distances (lower index first), nodes on points and two
    // points on one spot; the survey lines, points far apart across them.
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
                const std::vector<int> want = sixScans(list, count, n.X, n.Y, reach);
                NeighbourSearch::Neighbour out[6];
                s.nearest(n.X, n.Y, out);
                for (int k = 0; k < 6; ++k) QCOMPARE(out[k].index, want[k]);
                if (!win.contains(n.X, n.Y)) continue;
                ++inside;
                onPoints += want[0] && list[want[0]].X == n.X && list[want[0]].Y == n.Y;
                const float b = bruteValue(list, count, n.X, n.Y, reach);
                QVERIFY2(std::memcmp(&n.Z, &b, sizeof b) == 0, qPrintable(QStringLiteral("%1,%2").arg(i).arg(j)));
            }
        QVERIFY(inside > g.cols * g.rows / 2);
        QVERIFY(!lattice || onPoints > 50);
    }

    // ---- a whole run ----
    void gridRunRangeAndStop() {
        const auto list = pointList({{1100, 4900, -5}, {2900, 4100, -20}, {2000, 4500, -8}});
        PointGrid grid;
        const int slice = gridSliceColumns();
        const GridGeometry g = gridGeometry(2 * slice + 3, 2000, 1000);
        layGrid(grid, g, 1000, 5000);
        const DataWindow win = dataWindow(list, 3, 1000, 2000, 5000);
        GridRun all;
        std::vector<int> done;
        computeGrid(grid, list, 3, win, 3000, all, [&](int d) {
            done.push_back(d);
            return false;
        });
        QVERIFY(!all.stopped);
        QCOMPARE(done, (std::vector<int>{slice, 2 * slice, 2 * slice + 3}));
        // Negative data leave the top of the range at its start value 0.
        QCOMPARE(all.zMax, 0.f);
        QVERIFY(all.zMin < -5 && all.zMin > -20);
        // Outside the window the nodes stay 0.
        QCOMPARE(grid.at(1, 1).Z, 0.f);

        // Stopped after the first slice: its columns are done, the rest not.
        PointGrid part;
        layGrid(part, g, 1000, 5000);
        GridRun run;
        computeGrid(part, list, 3, win, 3000, run, [&](int) { return true; });
        QVERIFY(run.stopped);
        const int mid = g.rows / 2;
        QCOMPARE(part.at(slice, mid).Z, grid.at(slice, mid).Z);
        QVERIFY(grid.at(slice + 1, mid).Z != 0.f);
        QCOMPARE(part.at(slice + 1, mid).Z, 0.f);

        // A failure at the first node computed leaves nothing and the start range.
        PointGrid failed;
        layGrid(failed, g, 1000, 5000);
        GridRun bad;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, computeGrid(failed, list, 3, win, 0, bad));
        QCOMPARE(bad.zMin, 32000.f);
        QCOMPARE(failed.at(slice, mid).Z, 0.f);
    }

    // Cells span their column and row spacing and meet on the pixel grid:
    // every pixel of the block of computed nodes shows the node nearest to
    // it, none is left blank, and none beyond the block is painted.
    void cellsCoverTheirBlock_data() {
        QTest::addColumn<int>("detail");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSizeF>("span");
        QTest::addColumn<QRectF>("points");
        const QRectF all(0.02, 0.02, 0.96, 0.96), part(0.3, 0.25, 0.41, 0.33);
        for (int detail : {10, 50, 117, 250, 500})
            for (const QSize size : {QSize(300, 200), QSize(901, 677), QSize(1203, 641)})
                for (const QSizeF span : {QSizeF(12000, 7000), QSizeF(9000, 6000), QSizeF(5000, 8000)})
                    QTest::addRow("%d %dx%d %gx%g", detail, size.width(), size.height(), span.width(), span.height())
                        << detail << size << span << (detail % 2 ? part : all);
    }
    void cellsCoverTheirBlock() {
        QFETCH(int, detail);
        QFETCH(QSize, size);
        QFETCH(QSizeF, span);
        QFETCH(QRectF, points);
        const float ox = 1000, oy = 90000, sx = float(span.width()), sy = float(span.height());
        const auto list = pointList({{ox + float(points.left()) * sx, oy - float(points.top()) * sy, 1},
                                     {ox + float(points.right()) * sx, oy - float(points.bottom()) * sy, 2}});
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
        // The block of nodes inside the window, in pixels, from the spacing.
        const double px = double(g.cellWidth) / sx * size.width(), py = double(g.cellHeight) / sy * size.height();
        int i0 = g.cols + 1, i1 = 0, j0 = g.rows + 1, j1 = 0;
        for (int i = 1; i <= g.cols; ++i)
            for (int j = 1; j <= g.rows; ++j)
                if (win.contains(grid.at(i, j).X, grid.at(i, j).Y)) {
                    i0 = std::min(i0, i), i1 = std::max(i1, i), j0 = std::min(j0, j), j1 = std::max(j1, j);
                }
        QVERIFY(i0 <= i1 && j0 <= j1);
        constexpr double eps = 1e-6;
        QString bad;
        for (int y = 0; y < size.height() && bad.isEmpty(); ++y)
            for (int x = 0; x < size.width() && bad.isEmpty(); ++x) {
                const QRgb c = img.pixel(x, y);
                // The pixel's centre in node units: node i at u = i.
                const double u = (x + 0.5) / px, v = (y + 0.5) / py;
                auto within = [&](double m) {
                    return u > i0 - 0.5 + m && u < i1 + 0.5 - m && v > j0 - 0.5 + m && v < j1 + 0.5 - m;
                };
                const int i = qRed(c) * 2 + qBlue(c) / 2, j = qGreen(c) * 2 + qBlue(c) % 2;
                if (!within(-eps) && c != qRgb(255, 255, 255)) bad = QStringLiteral("painted");
                else if (within(eps) && c == qRgb(255, 255, 255)) bad = QStringLiteral("blank");
                else if (within(eps) && (std::abs(u - i) > 0.5 + eps || std::abs(v - j) > 0.5 + eps))
                    bad = QStringLiteral("node %1,%2 at").arg(i).arg(j);
                if (!bad.isEmpty()) bad += QStringLiteral(" pixel %1,%2").arg(x).arg(y);
            }
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
    }

    // ---- title and scale ----
    void title_data() {
        QTest::addColumn<bool>("structural");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("text");
        QTest::newRow("feet") << true << int(PlotUnits::Feet)
                              << QStringLiteral("Ridge Topographic/Structural Contours (240-ft detail)");
        QTest::newRow("meters") << false << int(PlotUnits::Meters) << QStringLiteral("Ridge Isopachs (240.0-m detail)");
        QTest::newRow("degrees") << true << int(PlotUnits::Degrees)
                                 << QStringLiteral("Ridge Topographic/Structural Contours (240.0000-deg detail)");
    }
    void title() {
        QFETCH(bool, structural);
        QFETCH(int, units);
        QFETCH(QString, text);
        QCOMPARE(contourTitleText(QStringLiteral("Ridge"), structural, 12000, 50, PlotUnits(units)), text);
        QCOMPARE(contourTitleText(QStringLiteral("A"), false, 1, 3, PlotUnits::Degrees),
                 QStringLiteral("A Isopachs (0.3333-deg detail)"));
    }

    void scaleSide() {
        // Data touching the right edge: the scale goes left.
        const ScaleLayout l = scaleLayout(9000, 6000, 3000, 9000);
        QVERIFY(l.left);
        QCOMPARE(l.yTop, 1200);
        QCOMPARE(l.yBottom, 4800);
        QCOMPARE(l.panel, QRectF(QPointF(0, 700), QPointF(550, 5000)));
        QCOMPARE(l.textX(4), 50.0);
        // Equal room: left.
        QVERIFY(scaleLayout(9000, 6000, 1000, 8000).left);
        // More room on the right.
        const ScaleLayout r = scaleLayout(9000, 6001, 0, 5000);
        QVERIFY(!r.left);
        QCOMPARE(r.yBottom, 4800);
        QCOMPARE(r.panel, QRectF(QPointF(8450, 700), QPointF(9000, 5000)));
        QCOMPARE(r.barX1, 8650.0);
        QCOMPARE(r.barX2, 8850.0);
        QCOMPARE(r.textX(4), 9000 - 50 - 440.0);
        QCOMPARE(unitWord(PlotUnits::Meters), QStringLiteral("Meters"));
    }

    void automaticScaleHasNoMarks() {
        const ScaleLayout s = scaleLayout(9000, 5000, 0, 100);
        const auto labels = scaleLabels(s, 100, 900, 100, 900);
        QCOMPARE(labels.size(), size_t(5));
        QCOMPARE(labels.front().y, s.yTop);
        QCOMPARE(labels.front().text, QStringLiteral("900"));
        QCOMPARE(labels[2].text, QStringLiteral("500"));
        QCOMPARE(labels.back().y, s.yBottom);
        QCOMPARE(labels.back().text, QStringLiteral("100"));
        for (const auto& l : labels) QVERIFY(!l.mark);
        QCOMPARE(scaleRowValue(s.yTop, s, 100, 900), 900.0);
        QCOMPARE(scaleRowValue(s.yBottom, s, 100, 900), 100.0);
    }

    void manualScaleMarksTheDataEnds() {
        const ScaleLayout s = scaleLayout(9000, 5000, 0, 100); // bar 1000..4000
        const auto labels = scaleLabels(s, 0, 1000, 200, 800);
        QStringList texts;
        std::vector<int> marks;
        for (const auto& l : labels) {
            texts << l.text;
            if (l.mark) marks.push_back(l.y);
        }
        QVERIFY2(texts.contains(QStringLiteral("1000")) && texts.contains(QStringLiteral("750")) &&
                     texts.contains(QStringLiteral("250")) && texts.contains(QStringLiteral("0")),
                 qPrintable(texts.join(',')));
        QCOMPARE(marks.size(), size_t(2));
        // Rows of 800 and 200: 3 units a step.
        QVERIFY(std::abs(marks[0] - 1600) <= 3);
        QVERIFY(std::abs(marks[1] - 3400) <= 3);
        // A range far wider than the bar steps over the data's integers.
        const auto wide = scaleLabels(s, 0, 1e7, 200, 800.5);
        for (const auto& l : wide) QVERIFY(!l.mark);
    }

    void flatBarFails() {
        // A picture too low for a bar: the top and bottom rows coincide.
        const ScaleLayout s = scaleLayout(100, 4, 0, 100);
        QCOMPARE(s.yTop, 0);
        QCOMPARE(s.yBottom, 3);
        const ScaleLayout flat = scaleLayout(100, 1, 0, 100);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, scaleRowValue(0, flat, 0, 10));
    }
};

VEX_TEST(ContourMathTest);
#include "ContourMathTest.moc"
