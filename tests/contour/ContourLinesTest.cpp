// The pure computations under the contour lines and the relief: the mesh
// against the plain algorithm, level tracing, spline curves and shading.
#include "common/TestRegistry.h"

#include "contour/LevelTracing.h"
#include "contour/Relief.h"
#include "contour/Splines.h"
#include "contour/Triangulation.h"
#include "document/Document.h"
#include "document/Legacy.h"

#include <QTest>
#include <cmath>
#include <map>
#include <random>

using namespace contourlines;
using namespace relief;

namespace {

// The mesh growth exactly as described, without any spatial shortcut: the
// reference the indexed version must reproduce triangle for triangle.
std::vector<Triangle> referenceTriangulate(const std::vector<TriPoint>& p) {
    std::vector<Triangle> tris;
    const int last = int(p.size()) - 1;
    std::vector<char> used(p.size(), 0);
    Circle c;
    auto empty = [&] {
        for (const auto& q : p)
            if (c.R * c.R > (c.X - q.X) * (c.X - q.X) + (c.Y - q.Y) * (c.Y - q.Y) + 1.0) return false;
        return true;
    };
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

std::vector<TriPoint> jitteredGrid(int cols, int rows, double spacing, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<TriPoint> pts;
    for (int i = 0; i < cols; ++i)
        for (int j = 0; j < rows; ++j)
            pts.push_back({i * spacing + u(gen) * spacing / 8, j * spacing + u(gen) * spacing / 8,
                           std::sin(i * 0.3) * 100 + j * 7.0});
    return pts;
}

// "x,y x,y ..." to a millionth.
QString describe(const std::vector<PolyPoint>& poly) {
    const auto n = [](double v) { return QString::number(std::round(v * 1e6) / 1e6 + 0.0); };
    QStringList parts;
    for (const auto& p : poly) parts << n(p.X) + u',' + n(p.Y);
    return parts.join(u' ');
}

TopoGrid filled(int cols, int rows, int value) {
    TopoGrid g(cols, rows);
    for (int c = 1; c <= cols; ++c)
        for (int r = 1; r <= rows; ++r) g.at(c, r) = value;
    return g;
}

// The shade of each painted cell by (column, row) from its dot's position;
// -80 for the dark blue of a cell facing away.
std::map<std::pair<int, int>, int> shades(const TopoGrid& g, int direction, double contrast, double w, double h) {
    const ReliefResult res = shadeRelief(g, ReliefOptions{direction, contrast, w, h});
    std::map<std::pair<int, int>, int> out;
    for (const auto& d : res.dots)
        out[{qRound(d.x * g.cols() / w + 0.5), qRound((d.y - w / g.cols()) * g.rows() / h + 0.5)}] =
            d.b == 80 && d.r == 0 ? -80 : d.r;
    return out;
}

} // namespace

class ContourLinesTest : public QObject {
    Q_OBJECT
private slots:
    void circumCircle_data() {
        QTest::addColumn<QList<double>>("xy"); // xp yp x1 y1 x2 y2 x3 y3
        QTest::addColumn<bool>("inside");
        QTest::addColumn<QList<double>>("circle");
        const double r50 = std::sqrt(50.0);
        const QList<double> right{5, 5, r50}, none{0, 0, 100000};
        QTest::newRow("centre") << QList<double>{5, 5, 0, 0, 10, 0, 0, 10} << true << right;
        QTest::newRow("on the circle") << QList<double>{10, 10, 0, 0, 10, 0, 0, 10} << false << right;
        QTest::newRow("within the margin") << QList<double>{12, 5, 0, 0, 10, 0, 0, 10} << false << right;
        QTest::newRow("just past the margin") << QList<double>{11.9, 5, 0, 0, 10, 0, 0, 10} << true << right;
        QTest::newRow("second side flat") << QList<double>{0, 0, 0, 10, 0, 0, 10, 0} << false << right;
        QTest::newRow("general") << QList<double>{0, 0, -10, 0, 0, 10, 10, 0} << true << QList<double>{0, 0, 10};
        QTest::newRow("horizontal line") << QList<double>{0, 0, 0, 5, 10, 5, 20, 5} << false << none;
        QTest::newRow("vertical line") << QList<double>{0, 0, 5, 0, 5, 10, 5, 20} << false << none;
        QTest::newRow("slanted line") << QList<double>{0, 0, 0, 0, 10, 10, 20, 20} << false << none;
    }
    void circumCircle() {
        QFETCH(QList<double>, xy);
        QFETCH(QList<double>, circle);
        Circle c;
        QTEST(CircumCircle(xy[0], xy[1], xy[2], xy[3], xy[4], xy[5], xy[6], xy[7], c), "inside");
        QVERIFY(std::hypot(c.X - circle[0], c.Y - circle[1]) < 1e-9 && std::fabs(c.R - circle[2]) < 1e-9);
    }

    // Too few points or a line make no mesh; a point beyond the radius limit
    // stays out; a full triangle table is an error.
    void smallMeshes() {
        QVERIFY(ContourTriangulate({{0, 0, 1}, {10, 0, 2}}).empty());
        QVERIFY(ContourTriangulate({{0, 0, 1}, {10, 10, 2}, {20, 20, 3}}).empty());
        const auto one = ContourTriangulate({{0, 0, 1}, {100, 0, 2}, {0, 100, 3}});
        QVERIFY(one.size() == 1 && one[0].P1 == 1 && one[0].P2 == 2 && one[0].P3 == 0);
        const std::vector<TriPoint> pts{{0, 0, 0}, {0, 100, 0}, {103, 2, 0}, {101, 104, 0}, {5000, 5000, 0}};
        const auto tris = ContourTriangulate(pts);
        QCOMPARE(tris.size(), size_t(2));
        for (const auto& t : tris) QVERIFY(t.P1 != 4 && t.P2 != 4 && t.P3 != 4);
        try {
            ContourTriangulate(jitteredGrid(6, 6, 100, 7), TriangulationOptions{1000, 5});
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), QStringLiteral("Subscript out of range"));
        }
    }

    void matchesReference_data() {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("spacing");
        QTest::newRow("10x10") << 10 << 10 << 200.0;
        QTest::newRow("17x25") << 17 << 25 << 240.0;
        QTest::newRow("coarse, border slivers cut") << 12 << 8 << 600.0;
        QTest::newRow("fine") << 20 << 20 << 60.0;
    }
    void matchesReference() {
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(double, spacing);
        const auto pts = jitteredGrid(cols, rows, spacing, unsigned(cols * rows));
        const auto fast = ContourTriangulate(pts), ref = referenceTriangulate(pts);
        QCOMPARE(fast.size(), ref.size());
        QVERIFY(fast.size() > pts.size()); // the mesh covers the points
        for (size_t i = 0; i < ref.size(); ++i)
            QVERIFY(fast[i].P1 == ref[i].P1 && fast[i].P2 == ref[i].P2 && fast[i].P3 == ref[i].P3);
    }

    // Strides leave about 500 nodes; the nodes kept inside the window are
    // pushed right and down by an eighth of a cell in drawing units.
    void sampling() {
        QStringList strides;
        for (auto [c, r] : std::initializer_list<std::pair<int, int>>{{50, 50}, {10, 10}, {25, 20}, {501, 1}, {500, 500}})
            strides << QStringLiteral("%1,%2").arg(chooseStrides(c, r).column).arg(chooseStrides(c, r).row);
        QCOMPARE(strides.join(u' '), QStringLiteral("3,2 1,1 1,1 2,1 23,22"));
        PointGrid g;
        g.resize(50, 50);
        for (int i = 1; i <= 50; ++i)
            for (int j = 1; j <= 50; ++j) g.at(i, j) = DataPoint{0, float(i * 10), float(1000 - j * 10), float(i + j), false};
        // Cells 80 x 40 map units, X 10..500, Y 500..990 of a 1000 x 1000 map
        // drawn 2000 x 1000: columns 1, 4, ..., 49 (17), rows 1, 3, ..., 49 (25).
        SamplingInput in{80, 40, 10, 500, 500, 990, 0, 1000, 1000, 1000, 2000, 1000};
        int draws = 0;
        const auto pts = sampleGrid(g, in, [&] { return (draws++ % 2) ? 0.5 : 0.0; });
        QVERIFY(pts.size() == 17 * 25 && draws == 2 * 17 * 25);
        QCOMPARE((std::array{pts[0].X, pts[0].Y, pts[0].Z, pts[1].Z}), (std::array{40.0, 12.5, 2.0, 4.0}));
        in.minX = 10000;
        QVERIFY(sampleGrid(g, in, [] { return 0.0; }).empty() && sampleGrid({}, in, [] { return 0.0; }).empty());
        // On a map in degrees the push is still in drawing units, so the mesh
        // of cells a hundredth of a degree wide is a proper triangulation.
        PointGrid deg;
        deg.resize(30, 30);
        for (int i = 1; i <= 30; ++i)
            for (int j = 1; j <= 30; ++j) deg.at(i, j) = DataPoint{0, float(-100 + i * 0.01), float(40 + j * 0.01), 1, false};
        std::mt19937 gen(3);
        const auto dpts = sampleGrid(deg, {0.01, 0.01, -100, -99.6, 40, 40.4, -100, 40.31, 0.31, 0.31, 9300, 9300},
                                     [&] { return std::uniform_real_distribution<double>(0, 1)(gen); });
        QVERIFY(dpts.size() > 100 && dpts[0].X > 301 && dpts[0].X < 338);
        QVERIFY(!ContourTriangulate(dpts).empty());
    }

    void levels() {
        QList<double> got;
        for (double range : {0.0, 100.0, 100.5, 250.0, 251.0, 500.0, 501.0}) got << automaticInterval(range);
        QCOMPARE(got, (QList<double>{10, 10, 25, 25, 50, 50, 100}));
        got.clear();
        for (const char* typed : {"", "1", "0.5", "abc", "2.5", "  30 ft", "-20"}) got << typedInterval(25, typed);
        QCOMPARE(got, (QList<double>{25, 25, 25, 25, 2.5, 30, 25}));
        const auto z = [](std::initializer_list<double> zs) {
            std::vector<TriPoint> p;
            for (double v : zs) p.push_back({0, 0, v});
            return valueRange(p);
        };
        // The top of the range is never below 0.
        QCOMPARE((std::array{z({37, 100, 55}).zmin, z({37, 100, 55}).zmax, z({-5, -20}).zmin, z({-5, -20}).zmax}),
                 (std::array{37.0, 100.0, -20.0, 0.0}));
        QStringList plans;
        for (auto [lo, hi, step] : std::initializer_list<std::array<double, 3>>{
                 {37, 100, 10}, {55, 55, 10}, {40, 100, 10}, {-20, 0, 10}, {0, 25, 10}, {1, 11, 2.5}, {1e20, 1e20, 10}})
            plans << QString::number(planLevels({lo, hi}, step).first) + 'x' +
                         QString::number(planLevels({lo, hi}, step).count);
        QCOMPARE(plans.join(u' '), QStringLiteral("30x7 50x1 40x7 0x3 0x3 0x5 1e+20x1"));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, planLevels({0, 40000}, 1.01));
    }

    void cutting() {
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 10}, {0, 100, 20}};
        const std::vector<Triangle> tri{{0, 1, 2}};
        // Level 5 crosses A-B at 0.5 and A-C at 0.25; C-B misses.
        auto s = cutTriangles(pts, tri, 5);
        QVERIFY(s.size() == 1 && s[0].X1 == 50 && s[0].Y1 == 0 && s[0].X2 == 0 && s[0].Y2 == 25);
        // Through corner B three crossings: nothing; outside the values or
        // over a flat triangle: nothing; through a lone corner: zero length.
        QVERIFY(cutTriangles(pts, tri, 10).empty() && cutTriangles(pts, tri, 30).empty());
        QVERIFY(cutTriangles({{0, 0, 7}, {10, 0, 7}, {0, 10, 7}}, tri, 7).empty());
        s = cutTriangles({{0, 0, 5}, {10, 0, 9}, {0, 10, 9}}, tri, 5);
        QVERIFY(s.size() == 1 && s[0].X1 == 0 && s[0].X2 == 0 && s[0].Y1 == 0 && s[0].Y2 == 0);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, cutTriangles(pts, tri, 5, TraceOptions{0, 1001}));
    }

    void chaining_data() {
        QTest::addColumn<QList<double>>("segs"); // x1 y1 x2 y2 ...
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("append end") << QList<double>{0, 0, 10, 0, 10.5, 0.5, 20, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("append reversed") << QList<double>{0, 0, 10, 0, 20, 0, 10, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("prepend") << QList<double>{10, 0, 20, 0, 0, 0, 10, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("prepend reversed") << QList<double>{10, 0, 20, 0, 10, 0, 0, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("rescans") << QList<double>{20, 0, 30, 0, 0, 0, 10, 0, 10, 0, 20, 0}
                                 << QStringList{"0,0 10,0 20,0 30,0"};
        QTest::newRow("closed square") << QList<double>{0, 0, 10, 0, 10, 10, 0, 10, 10, 0, 10, 10, 0, 10, 0, 0}
                                       << QStringList{"0,10 0,0 10,0 10,10 0,10"};
        QTest::newRow("gap") << QList<double>{0, 0, 10, 0, 50, 50, 60, 50, 10, 0, 20, 0}
                             << QStringList{"0,0 10,0 20,0", "50,50 60,50"};
        QTest::newRow("1 apart is no match") << QList<double>{0, 0, 10, 0, 11, 0, 20, 0}
                                             << QStringList{"0,0 10,0", "11,0 20,0"};
    }
    void chaining() {
        QFETCH(QList<double>, segs);
        std::vector<Segment> s;
        for (int i = 0; i + 3 < segs.size(); i += 4) s.push_back({segs[i], segs[i + 1], segs[i + 2], segs[i + 3]});
        QStringList got;
        for (const auto& poly : chainSegments(s)) got << describe(poly);
        QTEST(got, "lines");
        // A polyline longer than its table is an error.
        int longest = 0;
        for (const QString& line : got) longest = std::max(longest, int(line.count(u' ')) + 1);
        QCOMPARE(chainSegments(s, TraceOptions{1001, longest}).size(), size_t(got.size()));
        if (longest > 2) QVERIFY_THROWS_EXCEPTION(legacy::Error, chainSegments(s, TraceOptions{1001, longest - 1}));
    }

    // Two separate triangles: each level crosses both; the first line of a
    // level carries its number.
    void labelsOnFirstLineOfEachLevel() {
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 30}, {0, 100, 30}, {500, 0, 0}, {600, 0, 30}, {500, 100, 30}};
        const auto lines = traceLevels(pts, {{0, 1, 2}, {3, 4, 5}}, planLevels(valueRange(pts), 10));
        QCOMPARE(lines.size(), size_t(8));
        for (int k = 0; k < 8; ++k) QVERIFY(lines[k].level == 10.0 * (k / 2) && lines[k].labelFlag == (k % 2 ? -1 : k / 2));
    }

    void splines() {
        std::vector<PolyPoint> open{{0, 0}, {120, 60}};
        const auto c = splineCurve(open, 30.4, 0); // four spans of six points
        QVERIFY(!c.closed && c.labelled && c.label == QStringLiteral("30") && c.points.size() == 24 && open.size() == 2);
        QCOMPARE(describe({c.points.front(), c.points.back(), {c.labelX, c.labelY}}), QStringLiteral("10,5 120,60 10,-95"));
        // Control points 2n + 5 = 11 make 8 spans that join end to start.
        std::vector<PolyPoint> bent{{0, 0}, {100, 0}, {100, 100}, {300, 120}};
        const auto b = splineCurve(bent, 0, -1);
        QVERIFY(!b.labelled && b.points.size() == 48 && describe({b.points.back()}) == QStringLiteral("300,120"));
        for (size_t k = 6; k < b.points.size(); k += 6)
            QVERIFY(std::hypot(b.points[k].X - b.points[k - 1].X, b.points[k].Y - b.points[k - 1].Y) < 1e-9);
        // Ends within 1 close the curve: it starts 1/12 of the way from the
        // first side's midpoint toward the second point and ends there.
        std::vector<PolyPoint> ring{{0, 0}, {120, 0}, {120, 120}, {0, 120}, {0.5, 0.5}};
        const auto r = splineCurve(ring, 0, 0);
        QVERIFY(r.closed && ring.size() == 6 && describe({ring[0]}) == QStringLiteral("60,0"));
        QCOMPARE(describe({r.points.front(), r.points.back()}), QStringLiteral("65,0 60,0"));
        // The tables take 999 points of an open polyline, 998 of a closed one.
        for (auto [n, closed] : std::initializer_list<std::pair<int, bool>>{{998, 0}, {999, 0}, {997, 1}, {998, 1}}) {
            std::vector<PolyPoint> p;
            for (int i = 0; i <= n - closed; ++i)
                p.push_back(closed ? PolyPoint{1000 * std::cos(i * 6.0 / n), 1000 * std::sin(i * 6.0 / n)}
                                   : PolyPoint{i * 10.0, 0});
            if (closed) p.push_back(p.front());
            if (n + closed == 998) splineCurve(p, 0, -1);
            else QVERIFY_THROWS_EXCEPTION(legacy::Error, splineCurve(p, 0, -1));
        }
    }

    // ---- relief ----
    void reliefBasics() {
        QCOMPARE((std::array{topoRows(100, 3000, 1000), topoRows(100, 800, 10), topoRows(100, 400, 10)}),
                 (std::array{33, 1, 2})); // 33.3, 1.25, 2.5 halves to even
        QStringList dirs;
        for (const char* t : {"Top", "Bottom", "Left", "Right", "top", ""}) dirs << QString::number(directionFromText(t));
        QCOMPARE(dirs.join(u' '), QStringLiteral("1 2 3 4 4 4"));
        // Light from elsewhere paints nothing; contrast 6 divides by zero.
        QVERIFY(shadeRelief(filled(6, 6, 100), {7, 3, 600, 600}).dots.empty());
        TopoGrid slope = filled(6, 6, 100);
        slope.at(2, 3) = 120;
        QCOMPARE(shadeRelief(slope, {1, 6, 600, 600}).error, QStringLiteral("Division by zero"));
        QCOMPARE(shadeRelief(filled(6, 6, 100), {1, 6, 600, 600}).error, QStringLiteral("Overflow"));
        // Sampled at the cell centres, drawing units to pixels: the red byte,
        // -1 outside the picture.
        QImage img(20, 10, QImage::Format_RGB32);
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 10; ++y) img.setPixel(x, y, qRgb(x * 10, 7, y));
        const auto px = QTransform::fromScale(1 / 15.0, 1 / 15.0);
        const TopoGrid g = sampleTopo(img, 4, 2, 300, 150, px), big = sampleTopo(img, 4, 2, 600, 150, px);
        QCOMPARE((std::array{g.at(1, 1), g.at(4, 2), big.at(4, 1)}), (std::array{20, 170, -1}));
    }

    // A flat area shades every inner cell 125, the outer ring unpainted,
    // one line after another from the light side.
    void flatArea_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("darkShade"); // of a low flat area at 30
        QTest::newRow("top") << 1 << 8 << 125;
        QTest::newRow("bottom") << 2 << 8 << -80;
        QTest::newRow("left") << 3 << 6 << -80;
        QTest::newRow("right") << 4 << 6 << -80;
    }
    void flatArea() {
        QFETCH(int, direction);
        int lines = 0;
        const ReliefResult res = shadeRelief(filled(10, 8, 100), {direction, 3, 1500, 1200}, [&] { ++lines; });
        QVERIFY(res.error.isEmpty() && res.penWidth == 30);
        if (direction != Bottom) QCOMPARE(res.dots.front().y, 375.0); // a cell below the sampled point
        QTEST(lines, "lines");
        const auto s = shades(filled(10, 8, 100), direction, 3, 1500, 1200);
        QCOMPARE(int(s.size()), 8 * 6);
        for (const auto& [cell, shade] : s)
            QVERIFY(cell.first >= 2 && cell.first <= 9 && cell.second >= 2 && cell.second <= 7 && shade == 125);
        QTEST(shades(filled(5, 5, 30), direction, 3, 500, 500).at({3, 3}), "darkShade");
        QVERIFY(shadeRelief(filled(5, 5, -1), {1, 3, 500, 500}).dots.empty()); // mean 0 or less, from the top
    }

    // A surface rising by 1 a row: slope 1 toward or away from the light.
    void contrast_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<double>("contrast");
        QTest::addColumn<int>("shade");
        QTest::newRow("contrast 1") << 1 << 1.0 << 145;
        QTest::newRow("contrast 3") << 1 << 3.0 << 158;
        QTest::newRow("contrast 4") << 1 << 4.0 << 175;
        QTest::newRow("contrast 5") << 1 << 5.0 << 225;
        QTest::newRow("bottom, facing away") << 2 << 5.0 << 25;
        QTest::newRow("left, flat across") << 3 << 5.0 << 125;
    }
    void contrast() {
        QFETCH(int, direction);
        QFETCH(double, contrast);
        TopoGrid g(12, 12);
        for (int c = 1; c <= 12; ++c)
            for (int r = 1; r <= 12; ++r) g.at(c, r) = 100 + r;
        QTEST(shades(g, direction, contrast, 1200, 1200).at({6, 6}), "shade");
    }

    // A ridge 150 above flat ground, light from the left: the shadow's depth
    // darkens the ground, rounded halves to even, until the shadow line
    // meets the ground.
    void castShadow() {
        TopoGrid g = filled(400, 5, 60);
        for (int r = 1; r <= 5; ++r) g.at(10, r) = 210;
        const auto s = shades(g, Left, 3, 4000, 50);
        QStringList got;
        for (int steps : {10, 200, 250, 251, 253, 299, 300, -3}) got << QString::number(s.at({10 + steps, 3}));
        // 125 - 24.5 = 100.5, 125 - 23.5 = 101.5, 125 - 0.5 = 124.5.
        QCOMPARE(got.join(u' '), QStringLiteral("25 75 100 100 102 124 125 125"));
    }

    // A dot is round and as many pixels across as the pen is wide; an odd
    // one is centred on the pixel of its position, an even one on the
    // nearest pixel corner; a later dot covers an earlier one.
    void painting_data() {
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QRect>("extent");
        QTest::newRow("pen 1") << 1 << 1 << QRect(50, 50, 1, 1);
        QTest::newRow("pen 2") << 2 << 4 << QRect(49, 49, 2, 2);
        QTest::newRow("pen 3") << 3 << 9 << QRect(49, 49, 3, 3);
        QTest::newRow("pen 4: corners off") << 4 << 12 << QRect(48, 48, 4, 4);
        QTest::newRow("pen 5: corners off") << 5 << 21 << QRect(48, 48, 5, 5);
    }
    void painting() {
        QFETCH(int, pen);
        QImage img(100, 100, QImage::Format_RGB32);
        img.fill(Qt::white);
        const auto px = QTransform::fromScale(1 / 15.0, 1 / 15.0);
        // (50.4, 50.2) pixels: inside pixel (50, 50), nearest corner (50, 50).
        paintRelief(img, ReliefResult{pen, {{756, 753, 10, 20, 30}}, {}}, px);
        int count = 0;
        QRect extent;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (img.pixel(x, y) == qRgb(10, 20, 30)) ++count, extent |= QRect(x, y, 1, 1);
                else QCOMPARE(img.pixel(x, y), qRgb(255, 255, 255));
        QTEST(count, "pixels");
        QTEST(extent, "extent");
        paintRelief(img, ReliefResult{pen, {{756, 753, 1, 1, 1}, {771, 753, 2, 2, 2}, {0, 0, 3, 3, 3}}, {}}, px);
        QVERIFY(img.pixel(51, 50) == qRgb(2, 2, 2) && img.pixel(0, 0) == qRgb(3, 3, 3));
    }
};

VEX_TEST(ContourLinesTest);
#include "ContourLinesTest.moc"
