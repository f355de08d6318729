#include "common/TestRegistry.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/Projections.h"

#include <QTest>
#include <cmath>

namespace {

constexpr float ScaleX = 2000.0f;
constexpr float ScaleY = 1500.0f;

// A document registered the way the registration does it: parameters typed
// in degrees, stored as Single radians, standard parallels one degree either
// side of the central parallel, then the cone constants.
Document registered(const QString& projection, double lon0, double lat0, float sx = ScaleX, float sy = ScaleY) {
    Document d;
    d.ProjectionName = projection;
    d.ProjScaleX = sx;
    d.ProjScaleY = sy;
    d.CentralMeridian = float(DegRad(lon0, true));
    d.CentralParallel = float(DegRad(lat0, true));
    d.Lat1 = float(DegRad(lat0 - 1, true));
    d.Lat2 = float(DegRad(lat0 + 1, true));
    ComputeConeConstants(d);
    return d;
}

// The projection procedure a ProjectionName selects (Mercator: y/latitude
// only, its x is the longitude as typed).
float project(Document& d, double a, double b, bool forward, bool wantX) {
    const QString& p = d.ProjectionName;
    if (p == projection_names::StandardMercator) return wantX ? float(a) : ProjectMercator(d, b, forward);
    if (p == projection_names::TransverseMercator) return ProjectTransverseMercator(d, a, b, forward, wantX);
    if (p == projection_names::Orthographic) return ProjectOrthographic(d, a, b, forward, wantX);
    if (p == projection_names::LambertAzimuthal) return ProjectLambertAzimuthal(d, a, b, forward, wantX);
    if (p == projection_names::AlbersEqualArea) return ProjectAlbersEqualArea(d, a, b, forward, wantX);
    if (p == projection_names::LambertConformal) return ProjectLambertConformal(d, a, b, forward, wantX);
    qFatal("no procedure for %s", qPrintable(p));
}

} // namespace

class ProjectionsTest : public QObject {
    Q_OBJECT
private slots:
    void degRad() {
        QCOMPARE(DegRad(180, true), 3.14159265358979);
        QCOMPARE(DegRad(3.14159265358979, false), 180.0);
        QCOMPARE(DegRad(-90, true), -3.14159265358979 / 2);
    }

    // Unit-sphere values from PROJ 9 (proj +R=1, lat_1 = p-1, lat_2 = p+1,
    // lat_0 = p for the cones; k_0 = 1 for tmerc), scaled here by the axis
    // scales.  The inverse of the projected point must give the point back.
    void referenceValues_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<double>("lon0");
        QTest::addColumn<double>("lat0");
        QTest::addColumn<double>("lon");
        QTest::addColumn<double>("lat");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        using namespace projection_names;
        auto row = [](const char* tag, const QString& p, double lon0, double lat0, double lon, double lat, double x,
                      double y) { QTest::newRow(tag) << p << lon0 << lat0 << lon << lat << x << y; };
        row("merc 30N", StandardMercator, 0, 0, 0, 30, 0, 0.549306144334);
        row("merc 45S", StandardMercator, 0, 0, 0, -45, 0, -0.881373587020);
        row("merc 75N", StandardMercator, 0, 0, 0, 75, 0, 2.027589421800);
        row("merc 80S", StandardMercator, 0, 0, 0, -80, 0, -2.436246053716);
        row("tmerc -100/0 a", TransverseMercator, -100, 0, -95, 40, 0.066864642474, 0.700009637519);
        row("tmerc -100/0 south", TransverseMercator, -100, 0, -120, -35, -0.287862745214, -0.640386852722);
        row("tmerc -100/0 c", TransverseMercator, -100, 0, -60, 60, 0.333200694814, 1.154384245465);
        row("tmerc 0/20 south", TransverseMercator, 0, 20, 10, -30, 0.151533024988, -0.879318783523);
        row("tmerc 0/20 west", TransverseMercator, 0, 20, -40, 5, -0.758752564728, -0.235350221522);
        row("ortho -100/45 a", Orthographic, -100, 45, -90, 50, 0.111618897049, 0.094060914913);
        row("ortho -100/45 b", Orthographic, -100, 45, -120, 30, -0.296198132726, -0.221888468403);
        row("ortho -100/45 c", Orthographic, -100, 45, -100, 80, 0.0, 0.573576436351);
        row("ortho 150/-30 a", Orthographic, 150, -30, 140, -40, -0.133022221559, -0.179467145859);
        row("ortho 150/-30 b", Orthographic, 150, -30, 170, -10, 0.336824088833, 0.312324556019);
        row("laea -100/45 a", LambertAzimuthal, -100, 45, -90, 50, 0.111918975658, 0.094313790271);
        row("laea -100/45 b", LambertAzimuthal, -100, 45, -150, 10, -0.851363424292, -0.366573458978);
        row("laea -100/45 c", LambertAzimuthal, -100, 45, -100, -20, 0.0, -1.074599216694);
        row("laea 20/-60 a", LambertAzimuthal, 20, -60, 60, -70, 0.222944528496, -0.246369122021);
        row("laea 20/-60 b", LambertAzimuthal, 20, -60, -30, -30, -0.717183753356, 0.250901695713);
        row("laea 20/-60 far side", LambertAzimuthal, 20, -60, 150, -50, 0.576942617300, -0.868035270695);
        row("aea -96/45 a", AlbersEqualArea, -96, 45, -80, 30, 0.247016346110, -0.234851646407);
        row("aea -96/45 b", AlbersEqualArea, -96, 45, -120, 60, -0.216519165410, 0.290379506305);
        row("aea -96/45 c", AlbersEqualArea, -96, 45, -96, 45.5, 0.0, 0.008727869813);
        row("aea 135/-35 n<0 a", AlbersEqualArea, 135, -35, 120, -20, -0.252386127612, 0.240217394938);
        row("aea 135/-35 n<0 b", AlbersEqualArea, 135, -35, 150, -50, 0.174970857937, -0.271526096426);
        row("lcc 10/40 a", LambertConformal, 10, 40, 0, 30, -0.153033352280, -0.166775600740);
        row("lcc 10/40 b", LambertConformal, 10, 40, 30, 60, 0.185681726442, 0.377938482556);
        row("lcc -60/-30 n<0 a", LambertConformal, -60, -30, -70, -10, -0.181962389021, 0.348034407849);
        row("lcc -60/-30 n<0 b", LambertConformal, -60, -30, -40, -55, 0.222228255587, -0.471445319724);
        // Across the antimeridian the cones take the longitude difference the
        // short way, and their inverses give the longitude back in -180..180.
        row("aea 180/60 east of 180", AlbersEqualArea, 180, 60, -179, 61, 0.008461202029, 0.017519022013);
        row("aea 180/60 west of 180", AlbersEqualArea, 180, 60, 179, 59, -0.008988768009, -0.017387121296);
        row("aea -170/50 across", AlbersEqualArea, -170, 50, 175, 52, -0.160178240237, 0.051018147993);
        row("aea 170/-40 n<0 across", AlbersEqualArea, 170, -40, -175, -45, 0.184978067866, -0.102761617483);
        row("lcc 180/60 east of 180", LambertConformal, 180, 60, -179, 61, 0.008461201899, 0.017515463388);
        row("lcc 180/60 west of 180", LambertConformal, 180, 60, 179, 59, -0.008988767870, -0.017383589478);
        row("lcc -170/50 across", LambertConformal, -170, 50, 175, 52, -0.160175650138, 0.051024881981);
        row("lcc 170/-40 n<0 across", LambertConformal, 170, -40, -175, -45, 0.184940725901, -0.102964758301);
    }
    void referenceValues() {
        QFETCH(QString, projection);
        QFETCH(double, lon0);
        QFETCH(double, lat0);
        QFETCH(double, lon);
        QFETCH(double, lat);
        QFETCH(double, x);
        QFETCH(double, y);
        Document d = registered(projection, lon0, lat0);
        const bool mercator = projection == projection_names::StandardMercator;

        // The parameters and results are Singles: allow a few float ulps of
        // the unit sphere (map values) and of the angle (degrees).
        auto mapTol = [](double v) { return 2e-7 * std::max(1.0, std::fabs(v)); };
        const float fx = project(d, lon, lat, true, true);
        QVERIFY(!d.ProjectionFailed);
        const float fy = project(d, lon, lat, true, false);
        QVERIFY(!d.ProjectionFailed);
        if (!mercator) QVERIFY2(std::fabs(fx / ScaleX - x) < mapTol(x), qPrintable(QString::number(fx / ScaleX, 'g', 12)));
        QVERIFY2(std::fabs(fy / ScaleY - y) < mapTol(y), qPrintable(QString::number(fy / ScaleY, 'g', 12)));

        const double mx = mercator ? lon : x * ScaleX;
        const float ilon = project(d, mx, y * ScaleY, false, true);
        QVERIFY(!d.ProjectionFailed);
        const float ilat = project(d, mx, y * ScaleY, false, false);
        QVERIFY(!d.ProjectionFailed);
        const double degTol = 1e-7 * std::max(std::fabs(lon), 90.0);
        QVERIFY2(std::fabs(ilon - lon) < degTol, qPrintable(QString::number(ilon, 'g', 12)));
        QVERIFY2(std::fabs(ilat - lat) < degTol, qPrintable(QString::number(ilat, 'g', 12)));
    }

    void coneConstants() {
        // Northern cones open with n > 0, southern with n < 0; Albers n is
        // sin p cos 1 for the central parallel p.
        Document a = registered(projection_names::AlbersEqualArea, 0, 45);
        QVERIFY(std::fabs(a.ConeN - std::sin(DegRad(45, true)) * std::cos(DegRad(1, true))) < 1e-7);
        QVERIFY(std::fabs(a.AlbersC - (std::cos(double(a.Lat1)) * std::cos(double(a.Lat1)) +
                                       2 * a.ConeN * std::sin(double(a.Lat1)))) < 1e-15);
        Document as = registered(projection_names::AlbersEqualArea, 0, -45);
        QCOMPARE(as.ConeN, -a.ConeN);
        QCOMPARE(as.Rho0, -a.Rho0);
        Document l = registered(projection_names::LambertConformal, 0, 45);
        Document ls = registered(projection_names::LambertConformal, 0, -45);
        QVERIFY(l.ConeN > 0.7 && l.ConeN < 0.71);
        QVERIFY(std::fabs(ls.ConeN + l.ConeN) < 1e-12);
        QVERIFY(ls.ConeF < 0 && ls.Rho0 < 0);

        // Only the two conics have constants.
        Document t = registered(projection_names::TransverseMercator, 0, 45);
        t.ConeN = 7;
        t.Rho0 = 8;
        ComputeConeConstants(t);
        QCOMPARE(t.ConeN, 7.0);
        QCOMPARE(t.Rho0, 8.0);
    }

    // A cone registered on the equator has n = 0: the constants fail there
    // (the value of n assigned before the failure stays), and so does every
    // inverse of such a cone.
    void conesOnTheEquator_data() {
        QTest::addColumn<QString>("projection");
        QTest::newRow("albers") << projection_names::AlbersEqualArea;
        QTest::newRow("lambert conformal") << projection_names::LambertConformal;
    }
    void conesOnTheEquator() {
        QFETCH(QString, projection);
        Document d;
        d.ProjectionName = projection;
        d.ProjScaleX = d.ProjScaleY = 1;
        d.Lat1 = float(DegRad(-1, true));
        d.Lat2 = float(DegRad(1, true));
        d.ConeN = 5;
        try {
            ComputeConeConstants(d);
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.code(), legacy::ErrorCode::DivisionByZero);
        }
        QCOMPARE(d.ConeN, 0.0);
        for (bool wantX : {true, false}) {
            d.ProjectionFailed = false;
            QCOMPARE(project(d, 0.1, 0.1, false, wantX), 0.0f);
            QVERIFY(d.ProjectionFailed);
        }
    }

    void failures_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<double>("lon0");
        QTest::addColumn<double>("lat0");
        QTest::addColumn<float>("sy");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<bool>("wantX");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        using namespace projection_names;
        auto both = [](const char* tag, const QString& p, double lon0, double lat0, float sy, bool fwd, double a,
                       double b) {
            QTest::addRow("%s x", tag) << p << lon0 << lat0 << sy << fwd << true << a << b;
            QTest::addRow("%s y", tag) << p << lon0 << lat0 << sy << fwd << false << a << b;
        };
        auto one = [](const char* tag, const QString& p, double lon0, double lat0, float sy, bool fwd, bool wantX,
                      double a, double b) { QTest::newRow(tag) << p << lon0 << lat0 << sy << fwd << wantX << a << b; };
        one("merc south pole", StandardMercator, 0, 0, ScaleY, true, false, 0, -90);
        one("merc beyond south pole", StandardMercator, 0, 0, ScaleY, true, false, 0, -95);
        one("merc -180", StandardMercator, 0, 0, ScaleY, true, false, 0, -180);
        one("merc exp overflow", StandardMercator, 0, 0, 1.0f, false, false, 0, 800);
        one("merc beyond a Single", StandardMercator, 0, 0, 3e38f, true, false, 0, 80);
        one("tmerc b = 1", TransverseMercator, 0, 0, ScaleY, true, true, 90, 0);
        one("tmerc b = -1", TransverseMercator, 0, 0, ScaleY, true, true, -90, 0);
        both("tmerc exp overflow", TransverseMercator, 0, 0, ScaleY, false, 800 * double(ScaleX), 0);
        // sin D / cosh x' = -1: an arcsine of -1 divides by zero.
        one("tmerc arcsine -1", TransverseMercator, 0, 0, 1.0f, false, false, 0, -LegacyPi / 2);
        both("ortho centre", Orthographic, -100, 45, ScaleY, false, 0, 0);
        both("laea centre", LambertAzimuthal, -100, 45, ScaleY, false, 0, 0);
        both("laea antipode", LambertAzimuthal, 0, 0, ScaleY, true, 180, 0);
        both("laea antipode west", LambertAzimuthal, 0, 0, ScaleY, true, -180, 0);
        // Far outside the cone the arcsine argument drops below -1.
        one("aea outside", AlbersEqualArea, -96, 45, ScaleY, false, false, 0, -10 * double(ScaleY));
        // Scale of a power of two, so that y' is exactly rho0.
        both("aea apex", AlbersEqualArea, -96, 45, 1024.0f, false, 0, 1.0e300);
        both("aea beside apex", AlbersEqualArea, -96, 45, 1024.0f, false, 0.5 * double(ScaleX), 1.0e300);
        both("lcc apex", LambertConformal, 10, 40, 1024.0f, false, 0, 1.0e300);
        one("lcc south pole of a northern cone", LambertConformal, 10, 40, ScaleY, true, true, 0, -90);
        one("zero scale", Orthographic, 0, 0, 0.0f, false, false, 0, 0.5);
    }
    void failures() {
        QFETCH(QString, projection);
        QFETCH(double, lon0);
        QFETCH(double, lat0);
        QFETCH(float, sy);
        QFETCH(bool, forward);
        QFETCH(bool, wantX);
        QFETCH(double, a);
        QFETCH(double, b);
        Document d = registered(projection, lon0, lat0, ScaleX, sy);
        if (b == 1.0e300) b = d.Rho0 * double(sy); // the apex row
        const float r = project(d, a, b, forward, wantX);
        QVERIFY(d.ProjectionFailed);
        QCOMPARE(r, 0.0f);
        // The flag is cleared by the next call.
        project(d, lon0 + 1, lat0 + 1, true, false);
        QVERIFY(!d.ProjectionFailed);
    }

    void mercatorClampsTheNorthPole() {
        Document d = registered(projection_names::StandardMercator, 0, 0);
        const float clamped = ProjectMercator(d, 89.99999, true);
        QVERIFY(!d.ProjectionFailed);
        QCOMPARE(ProjectMercator(d, 90, true), clamped);
        QCOMPARE(ProjectMercator(d, 95, true), clamped);
        QVERIFY(ProjectMercator(d, 89.9999, true) < clamped);
    }

    void arcsineClampsOnlyTheTop() {
        // sin D / cosh x' = +1 is pulled under 1 (about 89.9974 degrees);
        // -1 fails (see failures).
        Document d = registered(projection_names::TransverseMercator, 0, 0, 1, 1);
        const float lat = ProjectTransverseMercator(d, 0, LegacyPi / 2, false, false);
        QVERIFY(!d.ProjectionFailed);
        QVERIFY(lat > 89.997f && lat < 89.998f);
    }

    void orthographicOutsideTheCircleUsesTheReplacedRadius() {
        // rho >= 1 is replaced by 0.999999999 for everything that follows, so
        // (3, 0.5) around (0, 0) reads as arcsine(0.5 / 0.999999999).
        Document d = registered(projection_names::Orthographic, 0, 0, 1, 1);
        const float lat = ProjectOrthographic(d, 3, 0.5, false, false);
        QVERIFY(!d.ProjectionFailed);
        QVERIFY(std::fabs(lat - 30.0f) < 1e-4f);
    }

    void transverseMercatorFoldsBeyondNinetyDegrees() {
        // |cos dlon| keeps y on the side of the origin parallel where the
        // latitude is: atan(tan 30 / |cos 120|).
        Document d = registered(projection_names::TransverseMercator, 0, 0, 1, 1);
        QVERIFY(std::fabs(ProjectTransverseMercator(d, 120, 30, true, false) - 0.8570719478501312) < 1e-7);
        QVERIFY(std::fabs(ProjectTransverseMercator(d, -120, -30, true, false) + 0.8570719478501312) < 1e-7);
    }

    // Forward then inverse gives the point back within float precision over
    // each projection's valid area (some rows pass the antimeridian).
    void roundTrips_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<double>("lon0");
        QTest::addColumn<double>("lat0");
        QTest::addColumn<double>("maxDlon");
        QTest::addColumn<double>("minLat");
        QTest::addColumn<double>("maxLat");
        using namespace projection_names;
        QTest::newRow("merc") << StandardMercator << 0.0 << 0.0 << 0.0 << -85.0 << 85.0;
        QTest::newRow("tmerc") << TransverseMercator << -100.0 << 0.0 << 80.0 << -80.0 << 80.0;
        QTest::newRow("tmerc off the equator") << TransverseMercator << 30.0 << 25.0 << 60.0 << -60.0 << 75.0;
        QTest::newRow("ortho north") << Orthographic << -100.0 << 45.0 << 40.0 << 20.0 << 85.0;
        QTest::newRow("ortho south") << Orthographic << 150.0 << -30.0 << 50.0 << -70.0 << 10.0;
        QTest::newRow("laea north") << LambertAzimuthal << -100.0 << 45.0 << 120.0 << -20.0 << 85.0;
        QTest::newRow("laea south") << LambertAzimuthal << 20.0 << -60.0 << 150.0 << -85.0 << 0.0;
        QTest::newRow("aea north") << AlbersEqualArea << -96.0 << 45.0 << 100.0 << -30.0 << 85.0;
        QTest::newRow("aea south") << AlbersEqualArea << 135.0 << -35.0 << 100.0 << -85.0 << 30.0;
        QTest::newRow("lcc north") << LambertConformal << 10.0 << 40.0 << 100.0 << -30.0 << 85.0;
        QTest::newRow("lcc south") << LambertConformal << -60.0 << -30.0 << 100.0 << -85.0 << 30.0;
    }
    void roundTrips() {
        QFETCH(QString, projection);
        QFETCH(double, lon0);
        QFETCH(double, lat0);
        QFETCH(double, maxDlon);
        QFETCH(double, minLat);
        QFETCH(double, maxLat);
        Document d = registered(projection, lon0, lat0);
        for (int i = -4; i <= 4; ++i) {
            const double lon = lon0 + maxDlon * i / 4.0 + (i == 0 ? 0.25 : 0.0);
            for (int j = 0; j <= 8; ++j) {
                const double lat = minLat + (maxLat - minLat) * j / 8.0;
                const float x = project(d, lon, lat, true, true);
                QVERIFY(!d.ProjectionFailed);
                const float y = project(d, lon, lat, true, false);
                QVERIFY(!d.ProjectionFailed);
                const float ilon = project(d, x, y, false, true);
                QVERIFY(!d.ProjectionFailed);
                const float ilat = project(d, x, y, false, false);
                QVERIFY(!d.ProjectionFailed);
                const QString at = QStringLiteral("%1, %2 -> %3, %4").arg(lon).arg(lat).arg(ilon).arg(ilat);
                // The same meridian: the cones give longitudes in -180..180.
                QVERIFY2(std::fabs(std::remainder(ilon - lon, 360.0)) < 2e-4, qPrintable(at));
                QVERIFY2(std::fabs(ilat - lat) < 2e-4, qPrintable(at));
            }
        }
    }

    void pixelMapTransform() {
        Document d;
        d.MapOriginX = 100;
        d.MapSpanX = 50;
        d.MapOriginY = 2000;
        d.MapSpanY = 400;
        QCOMPARE(PixelToMapX(d, 0, 1000), 100.0f);
        QCOMPARE(PixelToMapX(d, 200, 1000), 110.0f);
        QCOMPARE(PixelToMapX(d, 1000, 1000), 150.0f);
        // Map Y grows upward: the top edge is the origin.
        QCOMPARE(PixelToMapY(d, 0, 800), 2000.0f);
        QCOMPARE(PixelToMapY(d, 200, 800), 1900.0f);
        QCOMPARE(PixelToMapY(d, 800, 800), 1600.0f);
        QCOMPARE(MapToPixelX(d, 110, 1000), 200.0f);
        QCOMPARE(MapToPixelY(d, 1900, 800), 200.0f);
        // Zoomed to twice the size: the same map value lies twice as far in.
        QCOMPARE(MapToPixelX(d, 110, 2000), 400.0f);
        QCOMPARE(PixelToMapX(d, 400, 2000), 110.0f);
        // An unregistered map has no span.
        d.MapSpanX = 0;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, MapToPixelX(d, 110, 1000));
    }
};
VEX_TEST(ProjectionsTest);
#include "ProjectionsTest.moc"
