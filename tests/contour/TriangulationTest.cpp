#include "common/TestRegistry.h"

#include "contour/Triangulation.h"
#include "document/Document.h"
#include "document/Legacy.h"

#include <QTest>
#include <cmath>
#include <random>

using namespace contourlines;

namespace {

// The mesh growth exactly as described, without any spatial shortcut: the
// reference the indexed version must reproduce triangle for triangle.
std::vector<Triangle> referenceTriangulate(const std::vector<TriPoint>& p) {
    std::vector<Triangle> tris;
    const int last = static_cast<int>(p.size()) - 1;
    if (last < 2) return tris;
    Circle c;
    auto empty = [&]() {
        for (const auto& q : p)
            if (c.R * c.R > (c.X - q.X) * (c.X - q.X) + (c.Y - q.Y) * (c.Y - q.Y) + 1.0) return false;
        return true;
    };
    std::vector<char> used(p.size(), 0);
    bool found = false;
    for (int i = 1; i <= last - 1 && !found; ++i)
        for (int j = i + 1; j <= last && !found; ++j) {
            CircumCircle(p[0].X, p[0].Y, p[0].X, p[0].Y, p[i].X, p[i].Y, p[j].X, p[j].Y, c);
            if (c.R != 100000.0 && empty()) {
                tris.push_back({i, j, 0});
                used[i] = used[j] = used[0] = 1;
                found = true;
            }
        }
    if (!found) return tris;
    size_t start = 0;
    while (tris.size() > start) {
        start = tris.size();
        for (int m = 1; m <= last; ++m) {
            if (used[m]) continue;
            const size_t count = tris.size();
            for (size_t t = 0; t < count; ++t) {
                const Triangle T = tris[t];
                const int edges[3][3] = {{T.P1, T.P3, T.P2}, {T.P2, T.P3, T.P1}, {T.P1, T.P2, T.P3}};
                for (const auto& e : edges) {
                    const bool in = CircumCircle(p[e[2]].X, p[e[2]].Y, p[e[0]].X, p[e[0]].Y, p[e[1]].X, p[e[1]].Y,
                                                 p[m].X, p[m].Y, c);
                    if (!in && empty() && c.R < 1000) {
                        tris.push_back({e[0], e[1], m});
                        used[m] = 1;
                    }
                }
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

}  // namespace

class TriangulationTest : public QObject {
    Q_OBJECT
private slots:
    void circumCircle_data() {
        QTest::addColumn<QList<double>>("xy");  // xp yp x1 y1 x2 y2 x3 y3
        QTest::addColumn<bool>("inside");
        QTest::addColumn<double>("cx");
        QTest::addColumn<double>("cy");
        QTest::addColumn<double>("r");
        const double r50 = std::sqrt(50.0);
        QTest::newRow("centre of right triangle") << QList<double>{5, 5, 0, 0, 10, 0, 0, 10} << true << 5.0 << 5.0 << r50;
        QTest::newRow("on the circle") << QList<double>{10, 10, 0, 0, 10, 0, 0, 10} << false << 5.0 << 5.0 << r50;
        QTest::newRow("within the margin") << QList<double>{12, 5, 0, 0, 10, 0, 0, 10} << false << 5.0 << 5.0 << r50;
        QTest::newRow("just past the margin") << QList<double>{11.9, 5, 0, 0, 10, 0, 0, 10} << true << 5.0 << 5.0 << r50;
        QTest::newRow("own corner") << QList<double>{0, 0, 0, 0, 10, 0, 0, 10} << false << 5.0 << 5.0 << r50;
        QTest::newRow("second side flat") << QList<double>{0, 0, 0, 10, 0, 0, 10, 0} << false << 5.0 << 5.0 << r50;
        QTest::newRow("general") << QList<double>{0, 0, -10, 0, 0, 10, 10, 0} << true << 0.0 << 0.0 << 10.0;
        QTest::newRow("horizontal line") << QList<double>{0, 0, 0, 5, 10, 5, 20, 5} << false << 0.0 << 0.0 << 100000.0;
        QTest::newRow("vertical line") << QList<double>{0, 0, 5, 0, 5, 10, 5, 20} << false << 0.0 << 0.0 << 100000.0;
        QTest::newRow("slanted line") << QList<double>{0, 0, 0, 0, 10, 10, 20, 20} << false << 0.0 << 0.0 << 100000.0;
    }
    void circumCircle() {
        QFETCH(QList<double>, xy);
        QFETCH(bool, inside);
        QFETCH(double, cx);
        QFETCH(double, cy);
        QFETCH(double, r);
        Circle c;
        QCOMPARE(CircumCircle(xy[0], xy[1], xy[2], xy[3], xy[4], xy[5], xy[6], xy[7], c), inside);
        QVERIFY(std::fabs(c.X - cx) < 1e-9);
        QVERIFY(std::fabs(c.Y - cy) < 1e-9);
        QVERIFY(std::fabs(c.R - r) < 1e-9);
    }

    void smallSets() {
        QVERIFY(ContourTriangulate({}).empty());
        QVERIFY(ContourTriangulate({{0, 0, 1}, {10, 0, 2}}).empty());
        // Three points on a line never make a triangle.
        QVERIFY(ContourTriangulate({{0, 0, 1}, {10, 10, 2}, {20, 20, 3}}).empty());
        const auto one = ContourTriangulate({{0, 0, 1}, {100, 0, 2}, {0, 100, 3}});
        QCOMPARE(one.size(), size_t(1));
        QCOMPARE(one[0].P1, 1);
        QCOMPARE(one[0].P2, 2);
        QCOMPARE(one[0].P3, 0);
    }

    void squareGetsTwoTriangles() {
        const std::vector<TriPoint> pts{{0, 0, 0}, {0, 100, 0}, {103, 2, 0}, {101, 104, 0}};
        const auto tris = ContourTriangulate(pts);
        QCOMPARE(tris.size(), referenceTriangulate(pts).size());
        QVERIFY(tris.size() >= 2);
        std::vector<int> seen(4, 0);
        for (const auto& t : tris) seen[t.P1] = seen[t.P2] = seen[t.P3] = 1;
        QCOMPARE(seen, std::vector<int>(4, 1));
    }

    void farPointsStayOutside() {
        // The radius limit keeps a point 5000 units away out of the mesh.
        std::vector<TriPoint> pts{{0, 0, 0}, {0, 100, 0}, {103, 2, 0}, {101, 104, 0}, {5000, 5000, 0}};
        for (const auto& t : ContourTriangulate(pts)) QVERIFY(t.P1 != 4 && t.P2 != 4 && t.P3 != 4);
    }

    void matchesReference_data() {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("spacing");
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("10x10") << 10 << 10 << 200.0 << 1u;
        QTest::newRow("17x25") << 17 << 25 << 240.0 << 2u;
        QTest::newRow("coarse, border slivers cut") << 12 << 8 << 600.0 << 3u;
        QTest::newRow("fine") << 20 << 20 << 60.0 << 4u;
    }
    void matchesReference() {
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(double, spacing);
        QFETCH(unsigned, seed);
        const auto pts = jitteredGrid(cols, rows, spacing, seed);
        std::vector<Triangle> fast;
        try {
            fast = ContourTriangulate(pts);
        } catch (const legacy::Error&) {
            QFAIL("capacity exceeded");
        }
        const auto ref = referenceTriangulate(pts);
        QCOMPARE(fast.size(), ref.size());
        QVERIFY(fast.size() > pts.size());  // the mesh covers the points
        for (size_t i = 0; i < ref.size(); ++i) {
            QCOMPARE(fast[i].P1, ref[i].P1);
            QCOMPARE(fast[i].P2, ref[i].P2);
            QCOMPARE(fast[i].P3, ref[i].P3);
        }
        // Every triangle's circle is empty; all but the first are under the limit.
        for (size_t i = 0; i < fast.size(); ++i) {
            const auto& t = fast[i];
            Circle c;
            CircumCircle(0, 0, pts[t.P1].X, pts[t.P1].Y, pts[t.P2].X, pts[t.P2].Y, pts[t.P3].X, pts[t.P3].Y, c);
            if (i > 0) QVERIFY(c.R < 1000);
            for (const auto& q : pts)
                QVERIFY(!(c.R * c.R > (c.X - q.X) * (c.X - q.X) + (c.Y - q.Y) * (c.Y - q.Y) + 1.0 + 1e-6));
        }
    }

    void capacityIsAnError() {
        TriangulationOptions o;
        o.capacity = 5;
        try {
            ContourTriangulate(jitteredGrid(6, 6, 100, 7), o);
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), QStringLiteral("Subscript out of range"));
        }
    }

    void strides_data() {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("colStep");
        QTest::addColumn<int>("rowStep");
        QTest::newRow("50x50") << 50 << 50 << 3 << 2;
        QTest::newRow("small") << 10 << 10 << 1 << 1;
        QTest::newRow("exactly 500") << 25 << 20 << 1 << 1;
        QTest::newRow("501") << 501 << 1 << 2 << 1;
        QTest::newRow("500x500") << 500 << 500 << 23 << 22;
    }
    void strides() {
        QFETCH(int, cols);
        QFETCH(int, rows);
        const Strides s = chooseStrides(cols, rows);
        QTEST(s.column, "colStep");
        QTEST(s.row, "rowStep");
    }

    void sampling() {
        PointGrid g;
        g.resize(50, 50);
        for (int i = 1; i <= 50; ++i)
            for (int j = 1; j <= 50; ++j) g.at(i, j) = DataPoint{0, float(i * 10), float(1000 - j * 10), float(i + j), false};
        SamplingInput in;
        in.cellWidth = 80;
        in.cellHeight = 40;
        in.minX = 10;
        in.maxX = 500;
        in.minY = 500;
        in.maxY = 990;
        in.mapOriginX = 0;
        in.mapOriginY = 1000;
        in.mapSpanX = 1000;
        in.mapSpanY = 1000;
        in.width = 2000;
        in.height = 1000;
        int draws = 0;
        const auto pts = sampleGrid(g, in, [&] { return (draws++ % 2) ? 0.5 : 0.0; });
        // Columns 1, 4, ..., 49 (17) and rows 1, 3, ..., 49 (25); the window
        // keeps X 10..500 (columns 1..49, all 17) and Y 500..990 (rows 1..49).
        QCOMPARE(int(pts.size()), 17 * 25);
        QCOMPARE(draws, 2 * 17 * 25);
        QCOMPARE(pts[0].X, 80.0 * 2 / 8 + 10.0 / 1000 * 2000);
        QCOMPARE(pts[0].Y, (1000.0 - 990) / 1000 * 1000 + 40.0 / 8 * 0.5);
        QCOMPARE(pts[0].Z, 2.0);
        QCOMPARE(pts[1].Z, 4.0);  // row 3 of column 1

        // A map in degrees: cells of a hundredth of a degree still push the
        // nodes by drawing units, so no cell's corners stay on one circle and
        // the mesh is a proper triangulation.
        PointGrid deg;
        deg.resize(30, 30);
        for (int i = 1; i <= 30; ++i)
            for (int j = 1; j <= 30; ++j)
                deg.at(i, j) = DataPoint{0, float(-100 + i * 0.01), float(40 + j * 0.01), float(i + j), false};
        SamplingInput din;
        din.cellWidth = din.cellHeight = 0.01;
        din.minX = -100;
        din.maxX = -99.6;
        din.minY = 40;
        din.maxY = 40.4;
        din.mapOriginX = -100;
        din.mapOriginY = 40.31;
        din.mapSpanX = din.mapSpanY = 0.31;
        din.width = din.height = 9300;
        std::mt19937 gen(3);
        const auto dpts = sampleGrid(deg, din, [&] { return std::uniform_real_distribution<double>(0, 1)(gen); });
        QVERIFY(dpts.size() > 100);
        QVERIFY(std::abs(dpts[0].X - (0.01 * 9300 / 0.31) - 0.01 * 9300 / 0.31 / 8) < 0.01 * 9300 / 0.31 / 8);
        QVERIFY(!ContourTriangulate(dpts).empty());

        in.minX = 10000;
        in.maxX = 20000;
        QVERIFY(sampleGrid(g, in, [] { return 0.0; }).empty());
        QVERIFY(sampleGrid(PointGrid{}, in, [] { return 0.0; }).empty());
    }
};

VEX_TEST(TriangulationTest);
#include "TriangulationTest.moc"
