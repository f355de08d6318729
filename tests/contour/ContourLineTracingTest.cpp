#include "common/TestRegistry.h"

#include "contour/LevelTracing.h"
#include "contour/Splines.h"
#include "document/Legacy.h"

#include <QTest>
#include <cmath>

using namespace contourlines;

namespace {

std::vector<TriPoint> withZ(std::initializer_list<double> zs) {
    std::vector<TriPoint> p;
    for (double z : zs) p.push_back({0, 0, z});
    return p;
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-9; }

QString describe(const std::vector<PolyPoint>& poly) {
    QStringList parts;
    for (const auto& p : poly) parts << QString::number(p.X) + u',' + QString::number(p.Y);
    return parts.join(u' ');
}

}  // namespace

class ContourLineTracingTest : public QObject {
    Q_OBJECT
private slots:
    void interval_data() {
        QTest::addColumn<double>("range");
        QTest::addColumn<double>("interval");
        QTest::newRow("0") << 0.0 << 10.0;
        QTest::newRow("100") << 100.0 << 10.0;
        QTest::newRow("100.5") << 100.5 << 25.0;
        QTest::newRow("250") << 250.0 << 25.0;
        QTest::newRow("251") << 251.0 << 50.0;
        QTest::newRow("500") << 500.0 << 50.0;
        QTest::newRow("501") << 501.0 << 100.0;
    }
    void interval() {
        QFETCH(double, range);
        QTEST(automaticInterval(range), "interval");
    }

    void typed_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<double>("interval");
        QTest::newRow("empty") << QString() << 25.0;
        QTest::newRow("one") << "1" << 25.0;
        QTest::newRow("half") << "0.5" << 25.0;
        QTest::newRow("text") << "abc" << 25.0;
        QTest::newRow("2.5") << "2.5" << 2.5;
        QTest::newRow("leading blanks, trailing text") << "  30 ft" << 30.0;
        QTest::newRow("negative") << "-20" << 25.0;
    }
    void typed() {
        QFETCH(QString, answer);
        QTEST(typedInterval(25, answer), "interval");
    }

    void range() {
        auto r = valueRange(withZ({37, 100, 55}));
        QCOMPARE(r.zmin, 37.0);
        QCOMPARE(r.zmax, 100.0);
        r = valueRange(withZ({-5, -20}));  // zmax never below 0
        QCOMPARE(r.zmax, 0.0);
        QCOMPARE(r.zmin, -20.0);
        r = valueRange({});
        QCOMPARE(r.zmin, 0.0);
        QCOMPARE(r.zmax, 0.0);
    }

    void levels_data() {
        QTest::addColumn<double>("zmin");
        QTest::addColumn<double>("zmax");
        QTest::addColumn<double>("interval");
        QTest::addColumn<double>("first");
        QTest::addColumn<int>("count");
        QTest::newRow("37..100") << 37.0 << 100.0 << 10.0 << 30.0 << 7;
        QTest::newRow("all equal") << 55.0 << 55.0 << 10.0 << 50.0 << 1;
        QTest::newRow("on a multiple") << 40.0 << 100.0 << 10.0 << 40.0 << 7;
        QTest::newRow("negative") << -20.0 << 0.0 << 10.0 << 0.0 << 3;
        QTest::newRow("half to even") << 0.0 << 25.0 << 10.0 << 0.0 << 3;
        QTest::newRow("typed 2.5") << 1.0 << 11.0 << 2.5 << 0.0 << 5;
        QTest::newRow("far from zero") << 1e20 << 1e20 << 10.0 << 1e20 << 1;
    }
    void levels() {
        QFETCH(double, zmin);
        QFETCH(double, zmax);
        QFETCH(double, interval);
        const LevelPlan plan = planLevels(ValueRange{zmin, zmax}, interval);
        QTEST(plan.first, "first");
        QTEST(plan.count, "count");
    }
    void levelCountOverflows() {
        try {
            planLevels(ValueRange{0, 40000}, 1.01);
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), QStringLiteral("Overflow"));
        }
    }

    void cutting() {
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 10}, {0, 100, 20}};
        const std::vector<Triangle> tri{{0, 1, 2}};
        // Level 5: A-B at f 0.5, C-B misses (f = 1.5), A-C at f 0.25.
        auto s = cutTriangles(pts, tri, 5);
        QCOMPARE(s.size(), size_t(1));
        QVERIFY(near(s[0].X1, 50) && near(s[0].Y1, 0) && near(s[0].X2, 0) && near(s[0].Y2, 25));
        // Through corner B: found on A-B and C-B; A-C at 0.5 makes three: nothing.
        QVERIFY(cutTriangles(pts, tri, 10).empty());
        // Outside the values: nothing.
        QVERIFY(cutTriangles(pts, tri, 30).empty());
        // Flat triangle: nothing.
        const std::vector<TriPoint> flat{{0, 0, 7}, {10, 0, 7}, {0, 10, 7}};
        QVERIFY(cutTriangles(flat, tri, 7).empty());
        // A level through a corner with the other two on one side: zero length.
        const std::vector<TriPoint> corner{{0, 0, 5}, {10, 0, 9}, {0, 10, 9}};
        s = cutTriangles(corner, tri, 5);
        QCOMPARE(s.size(), size_t(1));
        QVERIFY(near(s[0].X1, 0) && near(s[0].X2, 0) && near(s[0].Y1, 0) && near(s[0].Y2, 0));
        TraceOptions o;
        o.segmentCapacity = 0;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, cutTriangles(pts, tri, 5, o));
    }

    void chaining_data() {
        QTest::addColumn<QList<double>>("segs");  // x1 y1 x2 y2 ...
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("single") << QList<double>{0, 0, 10, 0} << QStringList{"0,0 10,0"};
        QTest::newRow("append end") << QList<double>{0, 0, 10, 0, 10.5, 0.5, 20, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("append start, reversed") << QList<double>{0, 0, 10, 0, 20, 0, 10, 0}
                                                << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("prepend") << QList<double>{10, 0, 20, 0, 0, 0, 10, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("prepend reversed") << QList<double>{10, 0, 20, 0, 10, 0, 0, 0} << QStringList{"0,0 10,0 20,0"};
        QTest::newRow("out of order, rescans") << QList<double>{20, 0, 30, 0, 0, 0, 10, 0, 10, 0, 20, 0}
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
        QFETCH(QStringList, lines);
        std::vector<Segment> s;
        for (int i = 0; i + 3 < segs.size(); i += 4) s.push_back({segs[i], segs[i + 1], segs[i + 2], segs[i + 3]});
        QStringList got;
        for (const auto& poly : chainSegments(s)) got << describe(poly);
        QCOMPARE(got, lines);
    }
    void chainCapacity() {
        std::vector<Segment> s;
        for (int i = 0; i < 5; ++i) s.push_back({i * 10.0, 0, i * 10.0 + 10, 0});
        TraceOptions o;
        o.polylineCapacity = 5;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, chainSegments(s, o));
        o.polylineCapacity = 6;
        QCOMPARE(chainSegments(s, o).front().size(), size_t(6));
    }

    void labelsOnFirstLineOfEachLevel() {
        // Two separate triangles: each level crosses both, giving two lines.
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 30}, {0, 100, 30},
                                        {500, 0, 0}, {600, 0, 30}, {500, 100, 30}};
        const std::vector<Triangle> tris{{0, 1, 2}, {3, 4, 5}};
        const auto plan = planLevels(valueRange(pts), 10);
        QCOMPARE(plan.count, 4);
        const auto lines = traceLevels(pts, tris, plan);
        // Every level crosses both triangles; levels 0 and 30 meet them at
        // corners (a zero-length piece at 0, the far side at 30).
        QCOMPARE(lines.size(), size_t(8));
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(lines[k].level, 10.0 * (k / 2));
            QCOMPARE(lines[k].labelFlag, k % 2 ? -1 : k / 2);
        }
        QVERIFY(traceLevels(pts, {}, plan).empty());
    }

    // ---- spline ----
    void openTwoPoints() {
        std::vector<PolyPoint> p{{0, 0}, {120, 60}};
        const auto c = splineCurve(p, 30.4, 0);
        QVERIFY(!c.closed);
        QCOMPARE(c.points.size(), size_t(4 * 6));  // four spans of six points
        QVERIFY(near(c.points.front().X, 10) && near(c.points.front().Y, 5));
        QVERIFY(near(c.points.back().X, 120) && near(c.points.back().Y, 60));
        QVERIFY(c.labelled);
        QCOMPARE(c.label, QStringLiteral("30"));
        QVERIFY(near(c.labelX, 10) && near(c.labelY, -95));
        QCOMPARE(p.size(), size_t(2));  // an open polyline is left alone
    }
    void spansJoin() {
        std::vector<PolyPoint> p{{0, 0}, {100, 0}, {100, 100}, {300, 120}};
        const auto c = splineCurve(p, 0, -1);
        QVERIFY(!c.labelled);
        QVERIFY(near(c.labelY, c.points.front().Y - 100));
        // Control points: 2n + 5 = 11, spans j + 1 = 8.
        QCOMPARE(c.points.size(), size_t(8 * 6));
        for (size_t k = 6; k < c.points.size(); k += 6) {
            QVERIFY(near(c.points[k].X, c.points[k - 1].X));
            QVERIFY(near(c.points[k].Y, c.points[k - 1].Y));
        }
        QVERIFY(near(c.points.back().X, 300) && near(c.points.back().Y, 120));
    }
    void closedCurve() {
        std::vector<PolyPoint> p{{0, 0}, {120, 0}, {120, 120}, {0, 120}, {0.5, 0.5}};
        const auto c = splineCurve(p, 0, 0);
        QVERIFY(c.closed);
        QCOMPARE(p.size(), size_t(6));
        QVERIFY(near(p[0].X, 60) && near(p[0].Y, 0));  // midpoint of the first side
        // Ends at the midpoint of the first side; starts 1/12 of the way from
        // it toward the second point.
        QVERIFY(near(c.points.back().X, 60) && near(c.points.back().Y, 0));
        QVERIFY(near(c.points.front().X, 65) && near(c.points.front().Y, 0));
    }
    void capacities() {
        auto line = [](int n) {
            std::vector<PolyPoint> p;
            for (int i = 0; i <= n; ++i) p.push_back({i * 10.0, 0});
            return p;
        };
        auto ring = [](int n) {
            std::vector<PolyPoint> p;
            for (int i = 0; i < n; ++i) p.push_back({1000 * std::cos(i * 6.0 / n), 1000 * std::sin(i * 6.0 / n)});
            p.push_back(p.front());
            return p;
        };
        auto p = line(998);
        splineCurve(p, 0, -1);
        p = line(999);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, splineCurve(p, 0, -1));
        p = ring(997);
        splineCurve(p, 0, -1);
        p = ring(998);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, splineCurve(p, 0, -1));
    }
};

VEX_TEST(ContourLineTracingTest);
#include "ContourLineTracingTest.moc"
