// Which datum points make up each contact line, the two contact filters and
// the contact spinner's wrap rule.
#include "common/TestRegistry.h"
#include "digitize/ContactSegments.h"

#include <QTest>

namespace {

// Points given as (Z, Number) pairs, stored from index 1.
std::vector<DataPoint> points(std::initializer_list<std::pair<float, int>> zn) {
    std::vector<DataPoint> v(1);
    for (const auto& [z, n] : zn) {
        DataPoint p;
        p.Z = z;
        p.Number = static_cast<int16_t>(n);
        v.push_back(p);
    }
    return v;
}

std::vector<int16_t> list(std::initializer_list<int16_t> c) {
    std::vector<int16_t> v(1);
    v.insert(v.end(), c);
    return v;
}

QString text(const std::vector<ContactSegment>& s) {
    QStringList parts;
    for (const ContactSegment& g : s) parts << QStringLiteral("%1>%2").arg(g.from).arg(g.to);
    return parts.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(std::vector<DataPoint>)
Q_DECLARE_METATYPE(std::vector<int16_t>)

class ContactSegmentsTest : public QObject {
    Q_OBJECT
private slots:
    // Segments are listed by array index of their start and end point.
    void segments_data() {
        QTest::addColumn<std::vector<DataPoint>>("pts");
        QTest::addColumn<std::vector<int16_t>>("contacts");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");

        // Contact 5 with numbers 3, 1, 2 in array order: 1->2, 2->3, 3->1 by number.
        QTest::newRow("numbers 3 1 2") << points({{5, 3}, {5, 1}, {5, 2}}) << list({5}) << "All" << "2>3 3>1 1>2";
        QTest::newRow("two points numbered 2 keep array order")
            << points({{2, 2}, {2, 2}}) << list({2}) << "All" << "1>2 2>1";
        QTest::newRow("single point closes on itself") << points({{4, 1}}) << list({4}) << "All" << "1>1";
        QTest::newRow("designator 7 with no points") << points({{1, 1}, {1, 2}}) << list({1}) << "7" << "";
        QTest::newRow("all contacts in list order")
            << points({{4, 1}, {1, 2}, {4, 2}, {1, 1}}) << list({1, 4}) << "All" << "4>2 2>4 1>3 3>1";
        QTest::newRow("one contact by its text") << points({{4, 1}, {1, 2}, {4, 2}, {1, 1}}) << list({1, 4}) << "4"
                                                 << "1>3 3>1";
        QTest::newRow("03 matches no contact text") << points({{3, 1}, {3, 2}}) << list({3}) << "03" << "";
        QTest::newRow("all is case-sensitive here") << points({{3, 1}, {3, 2}}) << list({3}) << "all" << "";
        QTest::newRow("near-whole designator is another contact")
            << points({{2, 1}, {2.0001f, 2}, {2, 3}}) << list({2}) << "All" << "1>3 3>1";
        QTest::newRow("no points") << points({}) << list({}) << "All" << "";
        QTest::newRow("unlisted designators are left out")
            << points({{-2, 1}, {2.5f, 1}, {0, 1}}) << list({0}) << "All" << "3>3";
    }
    void segments() {
        QFETCH(std::vector<DataPoint>, pts);
        QFETCH(std::vector<int16_t>, contacts);
        QFETCH(QString, shown);
        const int datCount = static_cast<int>(pts.size()) - 1;
        const int contactCount = static_cast<int>(contacts.size()) - 1;
        QTEST(text(contactSegments(pts, datCount, contacts, contactCount, shown)), "expected");
    }

    void countsBeyondArraysAreNotRead() {
        // A count larger than its array (an inconsistent document) reads no
        // element past the end.
        const auto pts = points({{1, 1}, {1, 2}});
        QCOMPARE(text(contactSegments(pts, 50, list({1}), 9, QStringLiteral("All"))), QStringLiteral("1>2 2>1"));
    }

    void filters_data() {
        QTest::addColumn<float>("z");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("lineDrawn");
        QTest::addColumn<bool>("markerShown");
        // The plot view compares texts, the point view numbers.
        QTest::newRow("03 vs 3") << 3.0f << "03" << false << true;
        QTest::newRow("3 vs 3") << 3.0f << "3" << true << true;
        QTest::newRow("All") << 9.0f << "All" << true << true;
        QTest::newRow("other contact") << 4.0f << "3" << false << false;
        QTest::newRow("3.0 text") << 3.0f << "3.0" << false << true;
    }
    void filters() {
        QFETCH(float, z);
        QFETCH(QString, shown);
        QTEST(contactDrawn(static_cast<int>(z), shown), "lineDrawn");
        QTEST(contactMarkerShown(z, shown), "markerShown");
    }

    void spinnerWrap_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("expected");
        QTest::newRow("up from All") << 0 << 3 << 1 << 1;
        QTest::newRow("up in the middle") << 1 << 3 << 1 << 2;
        QTest::newRow("up on the last wraps to All") << 2 << 3 << 1 << 0;
        QTest::newRow("down in the middle") << 2 << 3 << -1 << 1;
        QTest::newRow("down on All stays") << 0 << 3 << -1 << 0;
        QTest::newRow("up with only All") << 0 << 1 << 1 << 0;
        QTest::newRow("up with nothing selected") << -1 << 3 << 1 << 0;
        QTest::newRow("down with nothing selected") << -1 << 3 << -1 << 0;
        QTest::newRow("resting value changes nothing") << 2 << 3 << 0 << 2;
    }
    void spinnerWrap() {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(int, direction);
        QTEST(stepContactIndex(index, count, direction), "expected");
    }

    void lineTexts() {
        QCOMPARE(contactMapText(QStringLiteral("All")), QStringLiteral("All Contacts: Map"));
        QCOMPARE(contactMapText(QStringLiteral("7")), QStringLiteral("Contact 7: Map"));
        QCOMPARE(contactPointsText(QStringLiteral("All")), QStringLiteral("All Contacts: Points"));
        QCOMPARE(contactPointsText(QStringLiteral("03")), QStringLiteral("Contact 03: Points"));
    }
};

VEX_TEST(ContactSegmentsTest);
#include "ContactSegmentsTest.moc"
