// Appending, deleting and renumbering point records, the point key, the
// marker tool tips and the map-click decisions.
#include "common/TestRegistry.h"
#include "digitize/MapClicks.h"
#include "digitize/PointRecords.h"
#include "digitize/PointToolTips.h"
#include "document/Legacy.h"

#include <QTest>

namespace {

std::vector<DataPoint> numbered(std::initializer_list<std::pair<int, float>> nz) {
    std::vector<DataPoint> v(1);
    for (auto [n, z] : nz) {
        DataPoint p;
        p.Number = int16_t(n);
        p.Z = z;
        v.push_back(p);
    }
    return v;
}

QList<int> numbersOf(const std::vector<DataPoint>& v, int count) {
    QList<int> out;
    for (int i = 1; i <= count; ++i) out << v[size_t(i)].Number;
    return out;
}

} // namespace

class PointRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void appendStartsFresh() {
        std::vector<DataPoint> v;
        int count = 0;
        DataPoint& first = points::AppendPoint(v, count);
        QCOMPARE(count, 1);
        QCOMPARE(int(v.size()), 2);
        first.Combined = true;
        first.Z = 5;
        points::AppendPoint(v, count);
        // Delete the last point, then append: the element reused holds no
        // trace of the record that stood there.
        v[2].Combined = true;
        v[2].Number = 9;
        points::DeletePoint(v, count, 2);
        DataPoint& again = points::AppendPoint(v, count);
        QCOMPARE(count, 2);
        QVERIFY(!again.Combined);
        QCOMPARE(int(again.Number), 0);
        QCOMPARE(again.Z, 0.0f);
        QVERIFY(v[1].Combined); // earlier records keep their contents
        QCOMPARE(v[1].Z, 5.0f);
    }

    void appendPastTheLimitChangesNothing() {
        std::vector<DataPoint> v(32768);
        int count = 32767;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, points::AppendPoint(v, count));
        QCOMPARE(count, 32767);
        QCOMPARE(int(v.size()), 32768);
    }

    void deleteMovesWholeRecords() {
        // Points 1..5 with 1, 3 and 5 combined; delete point 2.
        std::vector<DataPoint> v(6);
        for (int i = 1; i <= 5; ++i) {
            v[size_t(i)].Number = int16_t(i);
            v[size_t(i)].X = float(10 * i);
            v[size_t(i)].Combined = (i % 2) == 1;
        }
        int count = 5;
        points::DeletePoint(v, count, 2);
        QCOMPARE(count, 4);
        QCOMPARE(int(v.size()), 5);
        const std::vector<std::pair<float, bool>> expected{{10, true}, {30, true}, {40, false}, {50, true}};
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(v[size_t(i)].X, expected[size_t(i - 1)].first);
            QCOMPARE(v[size_t(i)].Combined, expected[size_t(i - 1)].second);
        }
    }

    void deleteOutsideTheCount() {
        std::vector<DataPoint> v(3);
        int count = 2;
        for (int n : {0, 3, -1}) QVERIFY_THROWS_EXCEPTION(legacy::Error, points::DeletePoint(v, count, n));
        QCOMPARE(count, 2);
        points::DeletePoint(v, count, 1);
        points::DeletePoint(v, count, 1);
        QCOMPARE(count, 0);
        QCOMPARE(int(v.size()), 1);
    }

    void pointKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("datum");
        QTest::addColumn<int>("index");
        QTest::newRow("datum") << "D7" << true << 7;
        QTest::newRow("contour") << "C12" << false << 12;
        QTest::newRow("other letter is contour") << "X3" << false << 3;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("rounded") << "D2.5" << true << 2;
    }
    void pointKey() {
        QFETCH(QString, key);
        const points::PointKey k = points::ParsePointKey(key);
        QTEST(k.datum, "datum");
        QTEST(k.index, "index");
        QCOMPARE(points::PointKeyText(true, 7), QStringLiteral("D7"));
        QCOMPARE(points::PointKeyText(false, 12), QStringLiteral("C12"));
    }

    void clampNumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected");
        QTest::newRow("in range") << "3" << 3;
        QTest::newRow("above the count") << "9" << 5;
        QTest::newRow("far above, no overflow") << "40000" << 5;
        QTest::newRow("huge") << "1e30" << 5;
        QTest::newRow("text") << "x" << 1;
        QTest::newRow("zero") << "0" << 1;
        QTest::newRow("negative") << "-70000" << 1;
        QTest::newRow("half to even") << "2.5" << 2;
    }
    void clampNumber() {
        QFETCH(QString, typed);
        QTEST(int(points::ClampPointNumber(legacy::NumVal(typed), 5)), "expected");
    }

    void renumber_data() {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("newNumber");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("4 to 2") << QList<int>{1, 2, 3, 4} << 4 << 2 << QList<int>{1, 3, 4, 2};
        QTest::newRow("gap closes") << QList<int>{1, 2, 4, 5} << 4 << 1 << QList<int>{2, 3, 4, 1};
        QTest::newRow("same number") << QList<int>{1, 2, 3} << 2 << 2 << QList<int>{1, 2, 3};
        QTest::newRow("to the end") << QList<int>{1, 2, 3} << 1 << 3 << QList<int>{3, 2, 4};
        QTest::newRow("duplicate keeps its number") << QList<int>{1, 2, 2, 3} << 1 << 2 << QList<int>{2, 3, 2, 4};
    }
    void renumber() {
        QFETCH(QList<int>, before);
        QFETCH(int, n);
        QFETCH(int, newNumber);
        std::vector<DataPoint> v(1);
        for (int b : before) {
            DataPoint p;
            p.Number = int16_t(b);
            p.Z = 7;
            v.push_back(p);
        }
        const int count = int(before.size());
        const std::vector<int> changed = points::RenumberPoint(v, count, n, int16_t(newNumber));
        QTEST(numbersOf(v, count), "after");
        QCOMPARE(changed.front(), n);
    }

    void renumberLeavesOtherContacts() {
        auto v = numbered({{1, 3}, {2, 3}, {1, 5}, {2, 5}, {3, 3}});
        const std::vector<int> changed = points::RenumberPoint(v, 5, 5, 1);
        QCOMPARE(numbersOf(v, 5), (QList<int>{2, 3, 1, 2, 1}));
        QCOMPARE(changed, (std::vector<int>{5, 1, 2}));
    }

    void recordedTooltips_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("datum");
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QString>("tip");
        const int contact = int(DataKind::Contacts), struc = int(DataKind::Structural), iso = int(DataKind::Isopach);
        QTest::newRow("contact datum") << contact << true << true << "Contact 120 Datum Point: 4";
        QTest::newRow("structural datum") << struc << true << false << "Structural Datum Point 4: Z = 120.4 meters";
        QTest::newRow("isopach datum") << iso << true << true << "Isopach Datum Point 4: Z = 120.4 feet";
        QTest::newRow("structural contour") << struc << false << true << "Structural Contour Point 4: Z = 120.4 feet";
        QTest::newRow("isopach contour") << iso << false << false << "Isopach Contour Point 4: Z = 120.4 meters";
    }
    void recordedTooltips() {
        QFETCH(int, kind);
        QFETCH(bool, datum);
        QFETCH(bool, feet);
        // The value shows as typed, the contact designator as a whole number.
        QTEST(tooltips::recordedPointTip(DataKind(kind), datum, 4, QStringLiteral("120.4"), feet), "tip");
    }

    void mapPictureClicks_data() {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("labels");
        QTest::addColumn<bool>("moveLabel");
        QTest::addColumn<int>("picture");
        QTest::addColumn<int>("overlay");
        using A = MapClickAction;
        auto row = [](const char* name, bool busy, bool loading, bool reg, int button, bool labels, bool move, A pic,
                      A over) {
            QTest::newRow(name) << busy << loading << reg << button << labels << move << int(pic) << int(over);
        };
        row("busy", true, false, true, 1, true, true, A::Nothing, A::Nothing);
        row("loading", false, true, false, 1, true, false, A::Nothing, A::Nothing);
        row("unregistered left", false, false, false, 1, false, false, A::Register, A::Nothing);
        row("unregistered right", false, false, false, 2, true, false, A::Register, A::NewLabel);
        row("unregistered middle", false, false, false, 4, false, true, A::Register, A::MoveLabel);
        row("left records", false, false, true, 1, false, false, A::RecordPoint, A::Nothing);
        row("left with labels on records", false, false, true, 1, true, false, A::RecordPoint, A::NewLabel);
        row("left ends a label move", false, false, true, 1, true, true, A::MoveLabel, A::MoveLabel);
        row("right, labels off", false, false, true, 2, false, false, A::Nothing, A::Nothing);
        row("right, labels on", false, false, true, 2, true, false, A::NewLabel, A::NewLabel);
        row("right keeps a label move pending", false, false, true, 2, true, true, A::Nothing, A::MoveLabel);
        row("middle, labels on", false, false, true, 4, true, false, A::NewLabel, A::NewLabel);
    }
    void mapPictureClicks() {
        QFETCH(bool, busy);
        QFETCH(bool, loading);
        QFETCH(bool, registered);
        QFETCH(int, button);
        QFETCH(bool, labels);
        QFETCH(bool, moveLabel);
        const MapClickState s{busy, loading, registered, button, labels, moveLabel};
        QTEST(int(decideMapPictureClick(s)), "picture");
        QTEST(int(decideContactOverlayClick(s)), "overlay");
    }

    void refMarkerClicks() {
        using C = RefMarkerDecision::Clear;
        auto d = decideRefMarkerClick(2, true, 0, 0);
        QCOMPARE(int(d.clear), int(C::SecondPoint));
        QVERIFY(!d.askMap);
        d = decideRefMarkerClick(1, true, 0, 0);
        QCOMPARE(int(d.clear), int(C::BothPoints));
        QVERIFY(d.askMap);
        d = decideRefMarkerClick(1, false, 0, 0);
        QCOMPARE(int(d.clear), int(C::BothPoints));
        QVERIFY(!d.askMap);
        QCOMPARE(int(decideRefMarkerClick(1, true, 1, 0).clear), int(C::Nothing));
        QCOMPARE(int(decideRefMarkerClick(2, false, 0, 3).clear), int(C::Nothing));
    }
};
VEX_TEST(PointRecordsTest);
#include "PointRecordsTest.moc"
