// How coordinates are shown: the cursor read-outs on the map and on the
// plot, latitudes and longitudes as text with the Degree Format items'
// codes, and the Coordinates menu's clicks and reset.  The tables are under
// tests/data/map.
#include "common/MapSupport.h"

#include "map/CursorReadout.h"
#include "map/LatLongText.h"

class CoordinateDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void mapReadOut_data() { testsupport::addFileRows(QStringLiteral("map/cursor-map.txt")); }
    void mapReadOut() {
        const auto r = testsupport::rowFields();
        Document d;
        d.ImageWidthPx = 1000, d.ImageHeightPx = 800, d.MarkOffsetX = 40, d.MarkOffsetY = 140;
        d.MapRegistered = !r.str(0).isEmpty();
        d.ProjectionName = r.str(0), d.CoordUnits = r.str(1), d.LatLongFormat = r.str(11);
        d.MapOriginX = float(r.num(2)), d.MapOriginY = float(r.num(3));
        d.MapSpanX = d.MapSpanY = float(r.num(4));
        d.ProjScaleX = d.ProjScaleY = 1;
        const double x = r.num(5), y = r.num(6);
        QCOMPARE(mapCursorText(d, x, y, r.num(7), r.num(8), r.flag(9), r.flag(10)), r.str(12));
        QVERIFY(!d.ProjectionFailed);
        if (r.str(13) != QLatin1String("-"))
            QVERIFY(qAbs(d.CursorMapX - r.num(13)) < 1e-6 * qMax(1.0, qAbs(r.num(13))) &&
                    qAbs(d.CursorMapY - r.num(14)) < 1e-6 * qMax(1.0, qAbs(r.num(14))));
        QVERIFY(r.num(7) * r.num(8) == 0 || (d.CursorX == x && d.MarkerLeft == x - 40 && d.MarkerTop == y - 140));
    }

    void plotReadOut_data() { testsupport::addFileRows(QStringLiteral("map/cursor-plot.txt")); }
    void plotReadOut() {
        const auto r = testsupport::rowFields();
        Document d;
        d.MapSpanX = 600, d.MapOriginY = 1000, d.MapSpanY = 500, d.ContourMax = 100;
        d.GridCols = 5, d.GridRows = 4;
        d.ContourGrid.resize(5, 4);
        for (int i = 0; i <= 5; ++i)
            for (int j = 0; j <= 4; ++j)
                d.ContourGrid.at(i, j) = DataPoint{0, 100.0f * i, 1000.0f - 100 * j, 10.0f * i + j};
        if (r.str(3) != QLatin1String("-")) d.ContourGrid.at(3, 2).Z = float(r.num(3));
        d.ScaleSide = r.str(0) == QLatin1String("left");
        QCOMPARE(plotCursorText(d, r.num(1), r.num(2), 6000, 5000), r.str(4));
    }

    void latLongText_data() { testsupport::addFileRows(QStringLiteral("map/latlong.txt")); }
    void latLongText() {
        const auto r = testsupport::rowFields();
        const bool fails = r.str(3) == QLatin1String("0");
        Document d;
        auto text = [&](const QString& code) {
            d.LatLongFormat = code, d.ProjectionFailed = !fails;
            return FormatLatLong(d, r.num(1), r.str(2) != QLatin1String("lat"), r.str(2) == QLatin1String("lon360"));
        };
        QCOMPARE(text(r.str(0)), r.str(3));
        QCOMPARE(d.ProjectionFailed, fails);
        // The Degree Format item a code ticks stands for the same format.
        QCOMPARE(text(latLongFormatCode(degreeFormatItemForCode(r.str(0)))), r.str(3));
    }

    void coordinateClicks_data() { testsupport::addFileRows(QStringLiteral("map/coordinate-menu.txt")); }
    void coordinateClicks() {
        const auto r = testsupport::rowFields();
        const QString clicks = QString::fromUtf8(QTest::currentDataTag());
        CoordMenuState s;
        clearCoordMenu(s);
        for (const QString& c : clicks.split(u','))
            c == QLatin1String("reset") ? clearCoordMenu(s) : applyCoordClick(s, maptest::coordItemNamed(c));
        QVERIFY(s.ProjectionName == r.str(0) && s.CoordUnits == r.str(1));
        QStringList on; // the ticked items, in menu order
        int i = 0;
        for (bool t : {s.mnuCoordLinear, s.mnuCoordCylEquiDis, s.mnuCoordSMerc, s.mnuCoordTMerc, s.mnuCoordOrtho,
                       s.mnuCoordLmbertAzi, s.mnuCoordAlbersEA, s.mnuCoordLambertConf, s.mnuCoordDegrees,
                       s.mnuCoordFeet, s.mnuCoordMeters})
            if (++i, t) on << maptest::coordItemNames()[i - 1];
        QCOMPARE(on.join(u','), r.str(2));
        QVERIFY(s.mnuCoordFeetEnabled == r.flag(3) && s.mnuCoordMetersEnabled == r.flag(3));
        QCOMPARE(s.StatusPanel1, clicks.endsWith(QLatin1String("reset"))
                                     ? QStringLiteral("Projection: (unkown), Units: (unknown)")
                                     : "Projection: " + r.str(0) + ", Units: " + r.str(1));
        const bool ticked = s.mnuCoordDegrees;
        s.CoordUnits = s.StatusPanel1 = QStringLiteral("unchanged");
        applyCoordClick(s, CoordItem::Degrees); // ticked already it changes nothing
        QVERIFY(!ticked || (s.CoordUnits == s.StatusPanel1 && s.StatusPanel1 == QLatin1String("unchanged")));
    }
};
VEX_TEST(CoordinateDisplayTest);
#include "CoordinateDisplayTest.moc"
