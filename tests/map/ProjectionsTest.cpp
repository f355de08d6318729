// The projections against PROJ's values on a unit sphere (forward and
// back), single values and failures, the pole of an imported point under
// each system, and the pixel <-> map transform.  The tables are under
// tests/data/map.
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "exchange/ImportParser.h"
#include "map/Projections.h"

#include <cmath>

namespace {

// Registered the way the registration does it: degrees typed, Single
// radians stored, standard parallels one degree either side of the centre.
Document registered(const QString& projection, double lon0, double lat0, float sx, float sy) {
    Document d;
    d.ProjectionName = projection, d.ProjScaleX = sx, d.ProjScaleY = sy;
    d.CentralMeridian = float(DegRad(lon0, true)), d.CentralParallel = float(DegRad(lat0, true));
    d.Lat1 = float(DegRad(lat0 - 1, true)), d.Lat2 = float(DegRad(lat0 + 1, true));
    ComputeConeConstants(d);
    return d;
}

// Mercator takes the latitude only; its x is the longitude as typed.
float project(Document& d, double a, double b, bool forward, bool wantX) {
    if (d.ProjectionName == projection_names::StandardMercator)
        return wantX ? float(a) : ProjectMercator(d, b, forward);
    return twoCoordProjection(d.ProjectionName)(d, a, b, forward, wantX);
}

// Results are Singles: a few float ulps.
bool near(double got, double want, double ulps = 2e-7) {
    return std::fabs(got - want) < ulps * std::max(1.0, std::fabs(want));
}

} // namespace

class ProjectionsTest : public QObject {
    Q_OBJECT
private slots:
    void referenceValues_data() { testsupport::addFileRows(QStringLiteral("map/projections.txt")); }
    void referenceValues() {
        const auto r = testsupport::rowFields();
        const double lon = r.num(3), lat = r.num(4), x = r.num(5), y = r.num(6), sx = 2000, sy = 1500;
        Document d = registered(r.str(0), r.num(1), r.num(2), sx, sy);
        const bool merc = r.str(0) == projection_names::StandardMercator;
        const bool plain = r.str(0) == projection_names::Linear || r.str(0) == projection_names::CylindricalEquidistant;
        const bool pole = r.str(4) == QLatin1String("pole"); // through the import, at the pole and past it
        for (float poleward : {90.0f, 95.0f}) {
            float gx = float(lon), gy = poleward;
            if (pole) importer::toMapUnits(d, true, gx, gy);
            else gx = project(d, lon, lat, true, true), gy = project(d, lon, lat, true, false);
            QVERIFY(!d.ProjectionFailed);
            QVERIFY2(plain || merc ? gx == float(x) : near(gx / sx, x), qPrintable(QString::number(gx, 'g', 12)));
            QVERIFY2(plain ? gy == float(y) : near(gy / sy, y), qPrintable(QString::number(gy, 'g', 12)));
        }
        if (pole) return;
        const double mx = merc ? lon : x * sx, tol = 1e-7 * std::max(std::fabs(lon), 90.0);
        const float ilon = project(d, mx, y * sy, false, true), ilat = project(d, mx, y * sy, false, false);
        QVERIFY(!d.ProjectionFailed);
        QVERIFY2(std::fabs(ilon - lon) < tol && std::fabs(ilat - lat) < tol,
                 qPrintable(QStringLiteral("%1 %2").arg(ilon, 0, 'g', 12).arg(ilat, 0, 'g', 12)));
    }

    void singleValues_data() { testsupport::addFileRows(QStringLiteral("map/projection-values.txt")); }
    void singleValues() {
        const auto r = testsupport::rowFields();
        const double lon0 = r.num(3), lat0 = r.num(4), a = r.num(6);
        const float scale = float(r.num(5));
        Document d = registered(r.str(0), lon0, lat0, scale, scale);
        const double b = r.str(7) == QLatin1String("apex") ? d.Rho0 * double(scale) : r.num(7);
        for (bool wantX : {true, false}) {
            if (!r.str(2).contains(QLatin1Char(wantX ? 'x' : 'y'))) continue;
            const float got = project(d, a, b, r.flag(1), wantX);
            const bool fails = r.str(8) == QLatin1String("fail");
            QVERIFY2(d.ProjectionFailed == fails && (fails ? got == 0 : near(got, r.num(8), 1e-6)),
                     qPrintable(QString::number(got, 'g', 12)));
            project(d, lon0 + 1, lat0 + 1, true, false); // the next call clears the flag
            QVERIFY(!d.ProjectionFailed);
        }
    }

    // A cone on the equator has n = 0: the constants fail (the n assigned
    // before stays), and so does every inverse of such a cone.
    void conesOnTheEquator() {
        for (const QString& p : {projection_names::AlbersEqualArea, projection_names::LambertConformal}) {
            Document d = registered(projection_names::Linear, 0, 0, 1, 1);
            d.ProjectionName = p, d.ConeN = 5;
            QVERIFY_THROWS_EXCEPTION(legacy::Error, ComputeConeConstants(d));
            QVERIFY(d.ConeN == 0 && project(d, 0.1, 0.1, false, true) == 0 && d.ProjectionFailed);
            QVERIFY(project(d, 0.1, 0.1, false, false) == 0 && d.ProjectionFailed);
        }
    }

    // Map Y grows upward; a zoom to twice the size puts a map value twice as
    // far in; an unregistered map has no span.
    void pixelMapTransform() {
        Document d;
        d.MapOriginX = 100, d.MapSpanX = 50, d.MapOriginY = 2000, d.MapSpanY = 400;
        QVERIFY(PixelToMapX(d, 200, 1000) == 110 && PixelToMapX(d, 400, 2000) == 110);
        QVERIFY(PixelToMapY(d, 200, 800) == 1900);
        QVERIFY(MapToPixelX(d, 110, 2000) == 400 && MapToPixelY(d, 1900, 800) == 200);
        d.MapSpanX = 0;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, MapToPixelX(d, 110, 1000));
    }
};
VEX_TEST(ProjectionsTest);
#include "ProjectionsTest.moc"
