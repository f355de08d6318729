// The cursor read-outs as plain functions: image pixels, Easting/Northing,
// latitude/longitude with its failures, and the plot's grid and scale.  The
// tables are under tests/data/map.
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/CursorReadout.h"

using testsupport::addFileRows;
using testsupport::rowFields;

class CursorReadoutTest : public QObject {
    Q_OBJECT
private slots:
    void mapReadOut_data() { addFileRows(QStringLiteral("map/cursor-map.txt")); }
    void mapReadOut() {
        const auto r = rowFields();
        Document d;
        d.ImageWidthPx = 1000;
        d.ImageHeightPx = 800;
        d.MarkOffsetX = 40;
        d.MarkOffsetY = 140;
        d.MapRegistered = !r.str(0).isEmpty();
        d.ProjectionName = r.str(0);
        d.CoordUnits = r.str(1);
        d.MapOriginX = float(r.num(2));
        d.MapOriginY = float(r.num(3));
        d.MapSpanX = d.MapSpanY = float(r.num(4));
        d.ProjScaleX = d.ProjScaleY = 1;
        d.LatLongFormat = r.str(11);
        const double x = r.num(5), y = r.num(6);
        QCOMPARE(mapCursorText(d, x, y, r.num(7), r.num(8), r.flag(9), r.flag(10)), r.str(12));
        QVERIFY(!d.ProjectionFailed);
        if (r.str(13) != QLatin1String("-"))
            QVERIFY(qAbs(d.CursorMapX - r.num(13)) < 1e-6 * qMax(1.0, qAbs(r.num(13))) &&
                    qAbs(d.CursorMapY - r.num(14)) < 1e-6 * qMax(1.0, qAbs(r.num(14))));
        if (r.num(7) > 0 && r.num(8) > 0)
            QVERIFY(d.CursorX == float(x) && d.MarkerLeft == float(x - 40) && d.MarkerTop == float(y - 140));
    }

    void plotReadOut_data() { addFileRows(QStringLiteral("map/cursor-plot.txt")); }
    void plotReadOut() {
        const auto r = rowFields();
        Document d;
        d.MapSpanX = 600;
        d.MapOriginY = 1000;
        d.MapSpanY = 500;
        d.GridCols = 5;
        d.GridRows = 4;
        d.ContourGrid.resize(5, 4);
        for (int i = 0; i <= 5; ++i)
            for (int j = 0; j <= 4; ++j) d.ContourGrid.at(i, j) = DataPoint{0, 100.0f * i, 1000.0f - 100 * j, 10.0f * i + j};
        if (r.str(3) != QLatin1String("-")) d.ContourGrid.at(3, 2).Z = float(r.num(3));
        d.ContourMax = 100;
        d.ScaleSide = r.str(0) == QLatin1String("left");
        QCOMPARE(plotCursorText(d, r.num(1), r.num(2), 6000, 5000), r.str(4));
        // Without the grid it claims the read-out fails; with none claimed
        // only the position is given.
        d.ContourGrid.clear();
        QVERIFY_THROWS_EXCEPTION(legacy::Error, plotCursorText(d, 3000, 2000, 6000, 5000));
        d.GridCols = d.GridRows = 0;
        QCOMPARE(plotCursorText(d, 3000, 2000, 6000, 5000), QStringLiteral("E = 300;  N = 800"));
    }
};

VEX_TEST(CursorReadoutTest);
#include "CursorReadoutTest.moc"
