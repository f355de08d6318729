// The nearest-six interpolation and the combination of the plotted points
// with the second data set.
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "exchange/Combination.h"

#include <QTest>

using namespace combination;

namespace {

std::vector<DataPoint> pointsAt(std::initializer_list<std::array<float, 3>> xyz) {
    std::vector<DataPoint> v(1);
    for (const auto& p : xyz) {
        DataPoint d;
        d.X = p[0];
        d.Y = p[1];
        d.Z = p[2];
        v.push_back(d);
    }
    return v;
}

// A document with spans 1000 x 1000 and the given second set.
Document docWith(std::vector<DataPoint> other) {
    Document d;
    d.MapSpanX = 1000;
    d.MapSpanY = 1000;
    d.OtherCount = int(other.size()) - 1;
    d.OtherPoints = std::move(other);
    return d;
}

} // namespace

class CombinationTest : public QObject {
    Q_OBJECT
private slots:
    void sixNearestInOrderTiesToLowerIndex() {
        const auto other = pointsAt({{10, 0, 1}, {3, 0, 2}, {0, 3, 3}, {1, 0, 4}, {0, 5, 5}, {7, 0, 6}, {0, 2, 7},
                                     {20, 0, 8}});
        const NearestSix six = nearestSix(other, 8, 0, 0, 2000);
        QCOMPARE(six.index, (std::array<int, 6>{4, 7, 2, 3, 5, 6}));
        QCOMPARE(six.distance[0], 1.0f);
        QCOMPARE(six.distance[5], 7.0f);
    }

    void fewerThanSixLeaveEmptySlotsAtStartDistance() {
        const auto other = pointsAt({{3, 4, 10}, {6, 8, 20}, {0, 1, 30}, {0, 2, 40}});
        const NearestSix six = nearestSix(other, 4, 0, 0, 2000);
        QCOMPARE(six.index, (std::array<int, 6>{3, 4, 1, 2, 0, 0}));
        QCOMPARE(six.distance[4], 2000.0f);
        // (30/1 + 40/2 + 10/5 + 20/10) / (1 + 1/2 + 1/5 + 1/10 + 2/2000) = 54 / 1.801:
        // the empty slots pull the mean below the 54 / 1.8 = 30 of the four.
        QCOMPARE(weightedMean(other, six), 29.983343f);
    }

    void pointsBeyondTheStartDistanceAreNotChosen() {
        const auto other = pointsAt({{5000, 0, 1}, {1, 0, 2}});
        const NearestSix six = nearestSix(other, 2, 0, 0, 2000);
        QCOMPARE(six.index[0], 2);
        QCOMPARE(six.index[1], 0);
    }

    // A point exactly on second-set points takes the value of the one with
    // the lowest index, whatever lies around it.
    void pointOnASecondSetPointTakesItsValue() {
        const auto other = pointsAt({{2, 2, 6}, {1, 1, 7}, {1.5f, 1, 9}, {1, 1, 5}});
        QCOMPARE(weightedMean(other, nearestSix(other, 4, 1, 1, 2000)), 7.0f);
        QCOMPARE(weightedMean(other, nearestSix(other, 4, 2, 2, 2000)), 6.0f);
    }

    void newValue_data() {
        QTest::addColumn<bool>("iso");
        QTest::addColumn<int>("button");
        QTest::addColumn<float>("expected");
        QTest::newRow("structural -") << false << 0 << 70.0f;
        QTest::newRow("structural +") << false << 1 << 130.0f;
        QTest::newRow("isopach -") << true << 0 << -70.0f;
        QTest::newRow("isopach +") << true << 1 << 130.0f;
    }
    void newValue() {
        QFETCH(bool, iso);
        QFETCH(int, button);
        QFETCH(float, expected);
        QCOMPARE(combinedValue(100, 30, iso, button), expected);
    }

    void resultKinds_data() {
        QTest::addColumn<bool>("iso");
        QTest::addColumn<bool>("otherStructural");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("resultIso");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("struc/struc -") << false << true << 0 << true << "--isopachs";
        QTest::newRow("struc/struc +") << false << true << 1 << false << "--structural contours";
        QTest::newRow("struc/iso -") << false << false << 0 << false << "--structural contours";
        QTest::newRow("struc/iso +") << false << false << 1 << false << "--structural contours";
        QTest::newRow("iso/struc -") << true << true << 0 << false << "--structural contours";
        QTest::newRow("iso/struc +") << true << true << 1 << false << "--structural contours";
        QTest::newRow("iso/iso -") << true << false << 0 << true << "--isopachs";
        QTest::newRow("iso/iso +") << true << false << 1 << true << "--isopachs";
    }
    void resultKinds() {
        QFETCH(bool, iso);
        QFETCH(bool, otherStructural);
        QFETCH(int, button);
        QFETCH(bool, resultIso);
        QFETCH(QString, suffix);
        const ResultKind k = resultKind(iso, otherStructural, button);
        QCOMPARE(k.isopachs, resultIso);
        QCOMPARE(k.statusSuffix, suffix);
    }

    void combinesOnlyPointsNotCombinedBefore() {
        Document d = docWith(pointsAt({{0, 0, 10}, {10, 0, 10}, {0, 10, 10}, {10, 10, 10}, {5, 20, 10}, {20, 5, 10}}));
        d.DatumPoints = pointsAt({{5, 5, 100}, {6, 5, 100}});
        d.DatCount = 2;
        d.ContourPoints = pointsAt({{4, 5, 50}});
        d.ConCount = 1;
        d.DatumPoints[2].Combined = true;
        std::vector<std::pair<int, int>> calls;
        combinePoints(d, false, 0, [&](int h, int t) { calls.push_back({h, t}); });
        QCOMPARE(d.DatumPoints[1].Z, 90.0f); // every second-set value is 10
        QCOMPARE(d.DatumPoints[2].Z, 100.0f);
        QCOMPARE(d.ContourPoints[1].Z, 40.0f);
        QVERIFY(d.DatumPoints[1].Combined && d.ContourPoints[1].Combined);
        QCOMPARE(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
        QVERIFY(d.DataChanged);
        // A second run changes nothing, and the document stays as saved.
        d.DataChanged = false;
        combinePoints(d, false, 0);
        QCOMPARE(d.DatumPoints[1].Z, 90.0f);
        QVERIFY(!d.DataChanged);
    }

    void failureKeepsThePointsDoneBefore() {
        // One second-set point of 1E+38 and five empty slots at 2000: one
        // unit away the mean is 1E+38 / (1 + 5/2000), about 9.975E+37, and
        // added to 3E+38 it is beyond a Single.
        Document d = docWith(pointsAt({{0, 0, 1e38f}}));
        d.DatumPoints = pointsAt({{1, 0, 100}, {1, 0, 3e38f}, {2, 0, 100}});
        d.DatCount = 3;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, combinePoints(d, false, 1));
        QVERIFY(d.DatumPoints[1].Combined);
        QCOMPARE(d.DatumPoints[1].Z, 9.975062e37f);
        QVERIFY(d.DataChanged);
        QVERIFY(!d.DatumPoints[2].Combined);
        QCOMPARE(d.DatumPoints[2].Z, 3e38f);
        QCOMPARE(d.DatumPoints[3].Z, 100.0f);
    }

    void rangeRescan() {
        Document d;
        d.DatumPoints = pointsAt({{0, 0, 40}, {0, 0, 70}});
        d.DatCount = 2;
        d.ContourPoints = pointsAt({{0, 0, 55}});
        d.ConCount = 1;
        rescanRange(d);
        QCOMPARE(d.ZMin, 40.0f);
        QCOMPARE(d.ZMax, 70.0f);
        Document empty;
        rescanRange(empty);
        QCOMPARE(empty.ZMin, 32000.0f);
        QCOMPARE(empty.ZMax, 0.0f);
    }
};

VEX_TEST(CombinationTest);
#include "CombinationTest.moc"
