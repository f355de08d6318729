// The cursor read-outs as plain functions: image pixels, Easting/Northing,
// latitude/longitude with its failures, and the plot's grid and scale.
#include "common/TestRegistry.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/CursorReadout.h"
#include "map/Projections.h"

#include <QTest>

namespace {

// A registered map whose picture of 2000 x 2000 twips spans the given map
// rectangle.
Document registeredMap(const QString& projection, const QString& units, float originX, float originY, float spanX,
                       float spanY) {
    Document d;
    d.MapRegistered = true;
    d.ProjectionName = projection;
    d.CoordUnits = units;
    d.MapOriginX = originX;
    d.MapOriginY = originY;
    d.MapSpanX = spanX;
    d.MapSpanY = spanY;
    d.ProjScaleX = d.ProjScaleY = 1.0f;
    d.MarkOffsetX = 40;
    d.MarkOffsetY = 140;
    d.LatLongFormat = QStringLiteral("0");
    return d;
}

// A plot of 6000 x 5000 twips over the map 0..600 east, 500..1000 north,
// with a 5 x 4 grid: node (i, j) at X = 100 i, Y = 1000 - 100 j.
Document plotDocument() {
    Document d;
    d.MapOriginX = 0;
    d.MapSpanX = 600;
    d.MapOriginY = 1000;
    d.MapSpanY = 500;
    d.GridCols = 5;
    d.GridRows = 4;
    d.ContourGrid.resize(5, 4);
    for (int i = 0; i <= 5; ++i)
        for (int j = 0; j <= 4; ++j) {
            DataPoint& n = d.ContourGrid.at(i, j);
            n.X = float(100 * i);
            n.Y = float(1000 - 100 * j);
            n.Z = float(10 * i + j);
        }
    d.ContourMax = 100;
    d.ContourMin = 0;
    return d;
}

} // namespace

class CursorReadoutTest : public QObject {
    Q_OBJECT
private slots:
    void unregisteredShowsImagePixels_data() {
        QTest::addColumn<double>("W");
        QTest::addColumn<double>("H");
        QTest::newRow("page") << 9880.0 << 7904.0;
        QTest::newRow("zoomed") << 12350.0 << 9880.0;
        QTest::newRow("full") << 64000.0 << 51200.0;
    }
    void unregisteredShowsImagePixels() {
        QFETCH(double, W);
        QFETCH(double, H);
        Document d;
        d.ImageWidthPx = 1000;
        d.ImageHeightPx = 800;
        d.MarkOffsetX = 40;
        d.MarkOffsetY = 140;
        QCOMPARE(mapCursorText(d, W / 2, H / 2, W, H, false, true), QStringLiteral("x = 500;  y = 400"));
        QCOMPARE(d.CursorMapX, 500.0f);
        QCOMPARE(d.CursorMapY, 400.0f);
        QCOMPARE(d.CursorX, float(W / 2));
        QCOMPARE(d.MarkerLeft, float(W / 2 - 40));
        QCOMPARE(d.MarkerTop, float(H / 2 - 140));
    }

    void linearShowsNorthingFirst() {
        Document d = registeredMap(projection_names::Linear, QStringLiteral("Meters"), 349000, 4521000, 2000, 2000);
        QCOMPARE(mapCursorText(d, 1000, 1000, 2000, 2000, false, true), QStringLiteral("4520000 N;  350000 E"));
        QCOMPARE(d.CursorMapX, 350000.0f);
        QCOMPARE(d.CursorMapY, 4520000.0f);
    }

    void degreesShowLongitudeFirst_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("longitude360");
        QTest::addColumn<QString>("text");
        QTest::newRow("deg-min, 360") << "0" << true << QStringLiteral("254° 30.00' E;  45° 30.00' N");
        QTest::newRow("deg-min, +-180") << "0" << false << QStringLiteral("105° 30.00' W;  45° 30.00' N");
        QTest::newRow("2 decimals") << "2" << false << QStringLiteral("105.50° W;  45.50° N");
    }
    void degreesShowLongitudeFirst() {
        QFETCH(QString, format);
        QFETCH(bool, longitude360);
        // Cylindrical equidistant: the map values are the degrees.
        Document d = registeredMap(projection_names::CylindricalEquidistant, QStringLiteral("Degrees"), -106.5f,
                                   46.5f, 2, 2);
        d.LatLongFormat = format;
        QTEST(mapCursorText(d, 1000, 1000, 2000, 2000, true, longitude360), "text");
    }

    void degreesTickDecidesTheForm() {
        // Units say degrees but the Degrees item is not ticked: plain numbers.
        Document d = registeredMap(projection_names::Linear, QStringLiteral("Degrees"), -106.5f, 46.5f, 2, 2);
        QCOMPARE(mapCursorText(d, 1000, 1000, 2000, 2000, false, true), QStringLiteral("46 N;  -106 E"));
    }

    void mercatorInvertsTheLatitudeOnly() {
        Document d = registeredMap(projection_names::StandardMercator, QStringLiteral("Degrees"), -101, 1, 2, 2);
        d.LatLongFormat = QStringLiteral("4");
        const float y = ProjectMercator(d, 45.0, true);
        d.MapOriginY = y + 1;
        QCOMPARE(mapCursorText(d, 1000, 1000, 2000, 2000, true, false), QStringLiteral("100.0000° W;  45.0000° N"));
        // The map values stay the projected ones.
        QCOMPARE(d.CursorMapX, -100.0f);
        QCOMPARE(d.CursorMapY, y);
    }

    void centreOfAnAzimuthalMapFails_data() {
        QTest::addColumn<QString>("projection");
        QTest::newRow("orthographic") << projection_names::Orthographic;
        QTest::newRow("lambert azimuthal") << projection_names::LambertAzimuthal;
    }
    void centreOfAnAzimuthalMapFails() {
        QFETCH(QString, projection);
        Document d = registeredMap(projection, QStringLiteral("Degrees"), -1, 1, 2, 2);
        // 2048 twips across 2 map units: the centre is exactly 0, 0.
        QCOMPARE(mapCursorText(d, 1024, 1024, 2048, 2048, true, true), QStringLiteral("###"));
        QVERIFY(!d.ProjectionFailed);
        // The map values of the cursor are still there.
        QCOMPARE(d.CursorMapX, 0.0f);
        QCOMPARE(d.CursorMapY, 0.0f);
        // Off the centre the same map reads normally.
        QVERIFY(mapCursorText(d, 1100, 900, 2000, 2000, true, true) != QStringLiteral("###"));
    }

    void otherFailuresGiveHashes() {
        Document d = registeredMap(projection_names::Linear, QStringLiteral("Meters"), 0, 0, 2000, 2000);
        QCOMPARE(mapCursorText(d, 10, 10, 0, 2000, false, true), QStringLiteral("###"));
        Document u;
        QCOMPARE(mapCursorText(u, 10, 10, 2000, 0, false, true), QStringLiteral("###"));
        // Degrees beyond a 16-bit whole number cannot be formatted.
        Document big = registeredMap(projection_names::Linear, QStringLiteral("Degrees"), 40000, 0, 2000, 2000);
        QCOMPARE(mapCursorText(big, 10, 10, 2000, 2000, true, false), QStringLiteral("###"));
        QVERIFY(!big.ProjectionFailed);
    }

    void plotGridLookup_data() {
        QTest::addColumn<double>("mapX");
        QTest::addColumn<double>("mapY");
        QTest::addColumn<QString>("text");
        QTest::newRow("node (3, 2)") << 300.0 << 800.0 << QStringLiteral("E = 300;  N = 800;  Z = 32");
        QTest::newRow("inside cell (2, 3)") << 240.0 << 660.0 << QStringLiteral("E = 240;  N = 660;  Z = 23");
        QTest::newRow("outermost half-cell east") << 120.0 << 800.0 << QStringLiteral("E = 120;  N = 800");
        QTest::newRow("column found, no row") << 300.0 << 950.0 << QStringLiteral("E = 300;  N = 950");
        QTest::newRow("last inner cell") << 449.0 << 651.0 << QStringLiteral("E = 449;  N = 651;  Z = 43");
    }
    void plotGridLookup() {
        QFETCH(double, mapX);
        QFETCH(double, mapY);
        Document d = plotDocument();
        QTEST(plotCursorText(d, mapX * 10, (1000 - mapY) * 10, 6000, 5000), "text");
    }

    void plotValueFormats_data() {
        QTest::addColumn<float>("z");
        QTest::addColumn<QString>("text");
        QTest::newRow("exactly 0") << 0.0f << QStringLiteral("E = 300;  N = 800");
        QTest::newRow("9.96 shows 10.0") << 9.96f << QStringLiteral("E = 300;  N = 800;  Z = 10.0");
        QTest::newRow("10.2 shows 10") << 10.2f << QStringLiteral("E = 300;  N = 800;  Z = 10");
        QTest::newRow("negative") << -3.25f << QStringLiteral("E = 300;  N = 800;  Z = -3.3");
    }
    void plotValueFormats() {
        QFETCH(float, z);
        Document d = plotDocument();
        d.ContourGrid.at(3, 2).Z = z;
        QTEST(plotCursorText(d, 3000, 2000, 6000, 5000), "text");
    }

    void plotScaleValues_data() {
        QTest::addColumn<bool>("scaleSide");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("text");
        // Hp 5000: the scale runs from 1000 (top, ContourMax) to 4000.
        QTest::newRow("right, top") << false << 5800.0 << 1000.0 << QStringLiteral("100");
        QTest::newRow("right, middle") << false << 5700.0 << 2500.0 << QStringLiteral("50");
        QTest::newRow("right, bottom") << false << 5850.0 << 4000.0 << QStringLiteral("0.0");
        QTest::newRow("right, near bottom") << false << 5850.0 << 3730.0 << QStringLiteral("9.0");
        QTest::newRow("left side") << true << 200.0 << 2500.0 << QStringLiteral("50");
        QTest::newRow("right side ignored when on the left") << true << 5800.0 << 2000.0
                                                             << QStringLiteral("E = 580;  N = 800");
        QTest::newRow("above the scale") << false << 5800.0 << 999.0 << QStringLiteral("E = 580;  N = 900");
    }
    void plotScaleValues() {
        QFETCH(bool, scaleSide);
        QFETCH(double, x);
        QFETCH(double, y);
        Document d = plotDocument();
        d.ScaleSide = scaleSide;
        QTEST(plotCursorText(d, x, y, 6000, 5000), "text");
    }

    void plotWithoutItsGridFails() {
        Document d = plotDocument();
        d.ContourGrid.clear();
        QVERIFY_THROWS_EXCEPTION(legacy::Error, plotCursorText(d, 3000, 2000, 6000, 5000));
        // No grid claimed: only the position.
        d.GridCols = d.GridRows = 0;
        QCOMPARE(plotCursorText(d, 3000, 2000, 6000, 5000), QStringLiteral("E = 300;  N = 800"));
    }
};

VEX_TEST(CursorReadoutTest);
#include "CursorReadoutTest.moc"
