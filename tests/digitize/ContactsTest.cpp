// Contact numbers, the list of contacts and the ordering of contact points.
#include "common/TestRegistry.h"
#include "digitize/Contacts.h"
#include "document/Legacy.h"

#include <QTest>

namespace {

// Records 1..n from (Number, Z) pairs; X carries the original index so a
// test can follow a record through a reordering.
std::vector<DataPoint> pts(std::initializer_list<std::pair<int, float>> nz) {
    std::vector<DataPoint> v(1);
    int i = 0;
    for (auto [n, z] : nz) {
        DataPoint p;
        p.Number = int16_t(n);
        p.Z = z;
        p.X = float(++i);
        v.push_back(p);
    }
    return v;
}

std::vector<DataPoint> designators(std::initializer_list<float> zs) {
    std::vector<DataPoint> v(1);
    for (float z : zs) {
        DataPoint p;
        p.Z = z;
        v.push_back(p);
    }
    return v;
}

} // namespace

using ShortList = std::vector<int16_t>;
Q_DECLARE_METATYPE(ShortList)

class ContactsTest : public QObject {
    Q_OBJECT
private slots:
    void mapDatNum() {
        // Contact 2 numbered 1, 2, 5 and a last, just appended record not looked at.
        auto v = pts({{1, 2}, {2, 2}, {5, 2}, {9, 3}, {40, 2}});
        QCOMPARE(contacts::MapDatNum(v, 5, 2.0f), 6);
        QCOMPARE(contacts::MapDatNum(v, 5, 3.0f), 10);
        QCOMPARE(contacts::MapDatNum(v, 5, 7.0f), 1);
        auto close = pts({{4, 2.0001f}, {0, 2}});
        QCOMPARE(contacts::MapDatNum(close, 2, 2.0f), 1);
        QCOMPARE(contacts::MapDatNum({}, 0, 1.0f), 1);
    }

    void designatorList_data() {
        QTest::addColumn<std::vector<float>>("zs");
        QTest::addColumn<ShortList>("expected");
        QTest::newRow("none") << std::vector<float>{} << ShortList{};
        QTest::newRow("3 1 3 7") << std::vector<float>{3, 1, 3, 7} << ShortList{1, 3, 7};
        QTest::newRow("negative and fraction left out") << std::vector<float>{-2, 2.5f, 4} << ShortList{4};
        QTest::newRow("only unlisted") << std::vector<float>{-2, 2.5f} << ShortList{};
        QTest::newRow("zero listed") << std::vector<float>{0, 0, 12} << ShortList{0, 12};
        QTest::newRow("near miss") << std::vector<float>{2.0001f, 2} << ShortList{2};
        QTest::newRow("below -10000") << std::vector<float>{-20000, 5} << ShortList{5};
        QTest::newRow("largest 32766") << std::vector<float>{32766, 1} << ShortList{1, 32766};
    }
    void designatorList() {
        QFETCH(std::vector<float>, zs);
        QFETCH(ShortList, expected);
        std::vector<DataPoint> v(1);
        for (float z : zs) {
            DataPoint p;
            p.Z = z;
            v.push_back(p);
        }
        QCOMPARE(contacts::ContactDesignators(v, int(zs.size())), expected);
    }

    void designatorOverflow() {
        for (float top : {32767.0f, 32766.6f, 40000.0f, 1e30f}) {
            auto v = designators({1, top});
            try {
                contacts::ContactDesignators(v, 2);
                QFAIL(qPrintable(QStringLiteral("no overflow for %1").arg(top)));
            } catch (const legacy::Error& e) {
                QCOMPARE(e.description(), QStringLiteral("Overflow"));
            }
        }
        // 32766.4 rounds to 32766: still within the range.
        QCOMPARE(contacts::ContactDesignators(designators({32766.4f, 3}), 2), ShortList{3});
    }

    void designatorsAtFullSizeAreQuick() {
        // 32767 points with designators spread up to 32766: the list is
        // built by sorting, not by a pass over all points per whole number.
        std::vector<DataPoint> v(1);
        for (int i = 1; i <= 32767; ++i) {
            DataPoint p;
            p.Z = float((i * 7919) % 32767);
            v.push_back(p);
        }
        const ShortList list = contacts::ContactDesignators(v, 32767);
        QCOMPARE(int(list.size()), 32767);
        QCOMPARE(list.front(), int16_t(0));
        QCOMPARE(list.back(), int16_t(32766));
    }

    void orderExample() {
        // Contact 1 with old numbers 4, 2, 9 and contact 3 with 7, 1, interleaved.
        auto v = pts({{4, 1}, {7, 3}, {2, 1}, {1, 3}, {9, 1}});
        v[3].Combined = true;
        contacts::OrderPoints(v, 5, {1, 3});
        const std::vector<std::tuple<int, float, float>> expected{{1, 1, 3}, {2, 1, 1}, {3, 1, 5}, {1, 3, 4}, {2, 3, 2}};
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(int(v[size_t(i)].Number), std::get<0>(expected[size_t(i - 1)]));
            QCOMPARE(v[size_t(i)].Z, std::get<1>(expected[size_t(i - 1)]));
            QCOMPARE(v[size_t(i)].X, std::get<2>(expected[size_t(i - 1)]));
        }
        // The combination flag travels with its record (old record 3).
        QVERIFY(v[1].Combined);
        QCOMPARE(int(std::count_if(v.begin(), v.end(), [](const DataPoint& p) { return p.Combined; })), 1);
    }

    void orderKeepsArrayOrderForEqualNumbers() {
        auto v = pts({{3, 2}, {1, 2}, {3, 2}});
        contacts::OrderPoints(v, 3, {2});
        QCOMPARE(v[1].X, 2.0f);
        QCOMPARE(v[2].X, 1.0f); // first of the two 3s
        QCOMPARE(v[3].X, 3.0f);
        QCOMPARE(int(v[2].Number), 2);
        QCOMPARE(int(v[3].Number), 3);
    }

    void orderAlreadyOrderedMovesNothing() {
        auto v = pts({{1, 1}, {2, 1}, {1, 4}});
        const auto before = v;
        contacts::OrderPoints(v, 3, {1, 4});
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(v[size_t(i)].X, before[size_t(i)].X);
            QCOMPARE(v[size_t(i)].Number, before[size_t(i)].Number);
        }
    }

    void orderKeepsUnlistedPoints() {
        auto v = pts({{5, -2}, {2, 1}, {8, 2.5f}, {1, 1}});
        v[1].Y = 77;
        contacts::OrderPoints(v, 4, {1});
        // Contact 1 first, then the unlisted points with every field as it was.
        QCOMPARE(v[1].X, 4.0f);
        QCOMPARE(v[2].X, 2.0f);
        QCOMPARE(v[3].X, 1.0f);
        QCOMPARE(int(v[3].Number), 5);
        QCOMPARE(v[3].Z, -2.0f);
        QCOMPARE(v[3].Y, 77.0f);
        QCOMPARE(v[4].X, 3.0f);
        QCOMPARE(int(v[4].Number), 8);
        // With no list at all (the enumeration failed), nothing is lost.
        auto w = pts({{2, 1}, {1, 1}});
        contacts::OrderPoints(w, 2, {});
        QCOMPARE(w[1].X, 1.0f);
        QCOMPARE(w[2].X, 2.0f);
    }
};
VEX_TEST(ContactsTest);
#include "ContactsTest.moc"
