#include "common/TestRegistry.h"

#include "document/Document.h"
#include "map/LatLongText.h"

#include <QTest>

class LatLongTextTest : public QObject {
    Q_OBJECT
private slots:
    void formats_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("isLong");
        QTest::addColumn<bool>("lon360");
        QTest::addColumn<QString>("text");
        auto row = [](const char* tag, const char* code, double v, bool isLong, bool lon360, const char* text) {
            QTest::newRow(tag) << QString::fromLatin1(code) << v << isLong << lon360 << QString::fromUtf8(text);
        };
        // Every code on 45.5 north.
        row("0", "0", 45.5, false, true, "45° 30.00' N");
        row("0s", "0s", 45.5, false, true, "45° 30' 0'' N");
        row("1", "1", 45.5, false, true, "45.5° N");
        row("2", "2", 45.5, false, true, "45.50° N");
        row("3", "3", 45.5, false, true, "45.500° N");
        row("4", "4", 45.5, false, true, "45.5000° N");
        row("unknown code", "9", 45.5, false, true, "45.5000° N");
        row("empty code", "", 45.5, false, true, "45.5000° N");
        row("0 fraction", "0", 12.345, false, true, "12° 20.70' N");
        row("0s fraction", "0s", -12.345, false, true, "12° 20' 42'' S");
        row("1 rounds", "1", 12.36, false, true, "12.4° N");
        row("3 rounds", "3", 12.3456, false, true, "12.346° N");
        // Quirks: minutes rounded without carrying into the degrees, seconds
        // truncated.
        row("minutes not carried", "0", 45.99999, false, true, "45° 60.00' N");
        row("seconds truncated", "0s", 10.999, false, true, "10° 59' 56'' N");
        // Latitude folding.
        row("lat 100", "0", 100, false, true, "80° 0.00' S");
        row("lat -95", "0", -95, false, true, "85° 0.00' N");
        row("lat 90", "0", 90, false, true, "90° 0.00' N");
        row("lat -90", "0", -90, false, true, "90° 0.00' S");
        row("lat 0", "0", 0, false, true, "0° 0.00' N");
        row("lat just south", "4", -0.0001, false, true, "0.0001° S");
        // Longitudes with the 0-360 switch ticked.
        row("360: -105.5", "0", -105.5, true, true, "254° 30.00' E");
        row("360: 370", "0", 370, true, true, "10° 0.00' E");
        row("360: 360", "0", 360, true, true, "360° 0.00' E");
        row("360: 0", "0", 0, true, true, "0° 0.00' E");
        row("360: just west", "4", -0.0001, true, true, "359.9999° E");
        row("360: one fold only", "0", -400, true, true, "40° 0.00' W");
        row("360: 720", "0", 720, true, true, "360° 0.00' E");
        // ... and unticked.
        row("-105.5", "0", -105.5, true, false, "105° 30.00' W");
        row("180", "0", 180, true, false, "180° 0.00' E");
        row("-180", "0", -180, true, false, "180° 0.00' W");
        row("181", "0", 181, true, false, "179° 0.00' W");
        row("-181", "0", -181, true, false, "179° 0.00' E");
        row("360", "0", 360, true, false, "0° 0.00' E");
        row("0", "0", 0, true, false, "0° 0.00' E");
        row("just west", "4", -0.0001, true, false, "0.0001° W");
        row("0s west", "0s", -105.5, true, false, "105° 30' 0'' W");
        // The largest whole degrees a 16-bit Integer holds.
        row("32767 degrees", "0", 32947, false, true, "32767° 0.00' N");
    }
    void formats() {
        QFETCH(QString, code);
        QFETCH(double, value);
        QFETCH(bool, isLong);
        QFETCH(bool, lon360);
        QFETCH(QString, text);
        Document d;
        d.LatLongFormat = code;
        d.ProjectionFailed = true;
        QCOMPARE(FormatLatLong(d, value, isLong, lon360), text);
        QVERIFY(!d.ProjectionFailed);
    }

    void failures_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("isLong");
        QTest::newRow("32768 degrees") << 32948.0 << false;
        QTest::newRow("longitude of 40000") << 40000.0 << true;
        QTest::newRow("beyond a Single") << 1e39 << false;
    }
    void failures() {
        QFETCH(double, value);
        QFETCH(bool, isLong);
        Document d;
        d.LatLongFormat = QStringLiteral("0");
        QCOMPARE(FormatLatLong(d, value, isLong, false), QStringLiteral("0"));
        QVERIFY(d.ProjectionFailed);
        FormatLatLong(d, 1, isLong, false);
        QVERIFY(!d.ProjectionFailed);
    }

    void degreeFormatMenu() {
        DegreeFormatMenuState menu;
        QVERIFY(menu.mnuViewLatLong360);
        QString code = QStringLiteral("0");
        applyDegreeFormatClick(menu, code, DegreeFormatItem::Decimal3);
        QCOMPARE(code, QStringLiteral("3"));
        QVERIFY(menu.mnuViewLatLongDecimal3);
        applyDegreeFormatClick(menu, code, DegreeFormatItem::DegMinSec);
        QCOMPARE(code, QStringLiteral("0s"));
        QVERIFY(menu.mnuViewLatLongDegMinSec);
        QVERIFY(!menu.mnuViewLatLongDecimal3 && !menu.mnuViewLatLongDegMin && !menu.mnuViewLatLongDecimal1 &&
                !menu.mnuViewLatLongDecimal2 && !menu.mnuViewLatLongDecimal4);
        QVERIFY(menu.mnuViewLatLong360);
        applyLongitude360Click(menu);
        QVERIFY(!menu.mnuViewLatLong360);
        applyLongitude360Click(menu);
        QVERIFY(menu.mnuViewLatLong360);

        const DegreeFormatItem items[] = {DegreeFormatItem::DegMin,   DegreeFormatItem::DegMinSec,
                                          DegreeFormatItem::Decimal1, DegreeFormatItem::Decimal2,
                                          DegreeFormatItem::Decimal3, DegreeFormatItem::Decimal4};
        const char* codes[] = {"0", "0s", "1", "2", "3", "4"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(latLongFormatCode(items[i]), QString::fromLatin1(codes[i]));
            QCOMPARE(degreeFormatItemForCode(QString::fromLatin1(codes[i])), items[i]);
        }
        // A stored code outside the list ticks the four-decimal item.
        QCOMPARE(degreeFormatItemForCode(QStringLiteral("9")), DegreeFormatItem::Decimal4);
        QCOMPARE(degreeFormatItemForCode(QString()), DegreeFormatItem::Decimal4);
        QCOMPARE(degreeFormatItemForCode(QStringLiteral("0S")), DegreeFormatItem::Decimal4);
    }
};
VEX_TEST(LatLongTextTest);
#include "LatLongTextTest.moc"
