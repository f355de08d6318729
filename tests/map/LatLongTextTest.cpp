// Latitudes and longitudes as text under every display code, their failures,
// and the Degree Format submenu's ticks.  The table is under tests/data/map.
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "document/Document.h"
#include "map/LatLongText.h"

class LatLongTextTest : public QObject {
    Q_OBJECT
private slots:
    void formats_data() { testsupport::addFileRows(QStringLiteral("map/latlong.txt")); }
    void formats() {
        const auto r = testsupport::rowFields();
        const bool fails = r.str(3) == QLatin1String("0");
        Document d;
        d.LatLongFormat = r.str(0);
        d.ProjectionFailed = !fails;
        QCOMPARE(FormatLatLong(d, r.num(1), r.str(2) != QLatin1String("lat"), r.str(2) == QLatin1String("lon360")),
                 r.str(3));
        QCOMPARE(d.ProjectionFailed, fails);
    }

    // Each item sets its code and is the only one ticked; the 360 switch is
    // left alone; a stored code outside the list ticks four decimals.
    void degreeFormatMenu() {
        const char* codes[] = {"0", "0s", "1", "2", "3", "4"};
        for (int i = 0; i < 6; ++i) {
            const auto item = DegreeFormatItem(i);
            QCOMPARE(latLongFormatCode(item), QString::fromLatin1(codes[i]));
            QVERIFY(degreeFormatItemForCode(QString::fromLatin1(codes[i])) == item);
            DegreeFormatMenuState m;
            m.mnuViewLatLongDegMin = m.mnuViewLatLongDecimal4 = true;
            QString stored;
            applyDegreeFormatClick(m, stored, item);
            QCOMPARE(stored, QString::fromLatin1(codes[i]));
            const bool t[] = {m.mnuViewLatLongDegMin,   m.mnuViewLatLongDegMinSec, m.mnuViewLatLongDecimal1,
                              m.mnuViewLatLongDecimal2, m.mnuViewLatLongDecimal3,  m.mnuViewLatLongDecimal4};
            for (int k = 0; k < 6; ++k) QCOMPARE(t[k], k == i);
            QVERIFY(m.mnuViewLatLong360);
            applyLongitude360Click(m);
            QVERIFY(!m.mnuViewLatLong360);
        }
        for (const char* other : {"9", "", "0S"})
            QVERIFY(degreeFormatItemForCode(QString::fromLatin1(other)) == DegreeFormatItem::Decimal4);
    }
};
VEX_TEST(LatLongTextTest);
#include "LatLongTextTest.moc"
