// The map subsystem's arithmetic without a window, against literal tables
// under tests/data/map: the projections against PROJ's values on a unit
// sphere (forward and back), single values and failures, the pole of an
// imported point under each system, and the pixel <-> map transform; how
// coordinates are shown: the cursor read-outs on the map and on the plot,
// latitudes and longitudes as text with the Degree Format items' codes, and
// the Coordinates menu's clicks and reset; the zoom and scroll arithmetic:
// page fit, the zoom sizes, the 16-bit scroll bar values, scrolling past
// 16000 and the enabled states.
#include "common/MapSupport.h"

#include "document/Legacy.h"
#include "exchange/ImportParser.h"
#include "map/CursorReadout.h"
#include "map/LatLongPlacement.h"
#include "map/LatLongText.h"
#include "map/Projections.h"
#include "map/Registration.h"
#include "map/ZoomModel.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// Registered the way the registration does it: degrees typed, Single
// radians stored, standard parallels one degree either side of the centre.
Document registered(const QString& projection, double lon0, double lat0, float sx, float sy) {
    Document d;
    d.ProjectionName = projection, d.CoordUnits = coord_units::Degrees, d.ProjScaleX = sx, d.ProjScaleY = sy;
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

// How far, in degrees of arc, the projection's forward formulas carry a
// position from where it lies, worked out on the sphere itself rather than
// through any forward or inverse of the program: the orthographic far
// hemisphere lands on its mirror through the plane of the horizon, a
// transverse Mercator point more than 90 degrees from the central meridian
// on its mirror across the meridians 90 degrees out (y takes |cos dlon|);
// Standard Mercator holds its north pole at 89.99999.  Infinity where the
// sphere has no place on the map: the Mercator south pole, a transverse
// Mercator point on the equator 90 degrees out, the antipode of an
// equal-area azimuthal map, the pole a conformal cone opens away from.
double foldDistance(const QString& projection, double lon0, double lat0, double lon, double lat) {
    namespace pn = projection_names;
    const double r = std::acos(-1.0) / 180, dlon = (lon - lon0) * r, phi = lat * r, phi0 = lat0 * r;
    const double cosc = std::sin(phi0) * std::sin(phi) + std::cos(phi0) * std::cos(phi) * std::cos(dlon);
    if (projection == pn::StandardMercator && std::fabs(lat) == 90) return lat > 0 ? 1e-5 : INFINITY;
    if (projection == pn::LambertConformal && lat == (lat0 > 0 ? -90 : 90)) return INFINITY;
    if (projection == pn::Orthographic) return cosc < 0 ? 2 * std::asin(-cosc) / r : 0;
    if (projection == pn::LambertAzimuthal && cosc < -1 + 1e-12) return INFINITY;
    if (projection == pn::TransverseMercator) {
        if (1 - std::fabs(std::cos(phi) * std::sin(dlon)) < 1e-12) return INFINITY;
        if (std::cos(dlon) >= 0) return 0;
        // The arc between dlon and 180 - dlon along the same parallel.
        const double half = std::cos(phi) * std::sin((std::acos(-1.0) - 2 * dlon) / 2);
        return 2 * std::asin(std::min(1.0, std::fabs(half))) / r;
    }
    return 0;
}

// The arc between two positions, in degrees.
double arcDegrees(double lon1, double lat1, double lon2, double lat2) {
    const double r = std::acos(-1.0) / 180;
    const double s = std::sin((lat2 - lat1) * r / 2), t = std::sin((lon2 - lon1) * r / 2);
    const double h = s * s + std::cos(lat1 * r) * std::cos(lat2 * r) * t * t;
    return 2 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0))) / r;
}

// Where a position lies on the unit sphere's map by the textbook spherical
// formulas (true pi, two-argument arctangents), from the map's stored
// parameters; before the axis scales.  Standard Mercator's x is the
// longitude, the linear systems' values are as given.
std::pair<double, double> sphereForward(const Document& d, double lon, double lat) {
    namespace pn = projection_names;
    const QString& p = d.ProjectionName;
    const double pi = std::acos(-1.0), r = pi / 180, lam = lon * r, phi = lat * r;
    const double lam0 = d.CentralMeridian, phi0 = d.CentralParallel;
    const double dl = std::remainder(lam - lam0, 2 * pi);
    if (p == pn::StandardMercator) return {lon, std::log(std::tan(pi / 4 + phi / 2))};
    if (p == pn::TransverseMercator)
        return {std::atanh(std::cos(phi) * std::sin(dl)), std::atan2(std::tan(phi), std::cos(dl)) - phi0};
    const double cosc = std::sin(phi0) * std::sin(phi) + std::cos(phi0) * std::cos(phi) * std::cos(dl);
    const double east = std::cos(phi) * std::sin(dl);
    const double north = std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(dl);
    if (p == pn::Orthographic) return {east, north};
    if (p == pn::LambertAzimuthal) {
        const double k = std::sqrt(2 / (1 + cosc));
        return {k * east, k * north};
    }
    const double phi1 = d.Lat1, phi2 = d.Lat2;
    double n = 0, rho = 0, rho0 = 0;
    if (p == pn::AlbersEqualArea) {
        n = (std::sin(phi1) + std::sin(phi2)) / 2;
        const double c = std::cos(phi1) * std::cos(phi1) + 2 * n * std::sin(phi1);
        rho = std::sqrt(std::max(0.0, c - 2 * n * std::sin(phi))) / n;
        rho0 = std::sqrt(c - 2 * n * std::sin(phi0)) / n;
    } else if (p == pn::LambertConformal) {
        const auto t = [pi](double a) { return std::tan(pi / 4 + a / 2); };
        n = std::log(std::cos(phi1) / std::cos(phi2)) / std::log(t(phi2) / t(phi1));
        const double f = std::cos(phi1) * std::pow(t(phi1), n) / n;
        rho = f / std::pow(t(phi), n);
        rho0 = f / std::pow(t(phi0), n);
    } else {
        return {lon, lat};
    }
    return {rho * std::sin(n * dl), rho0 - rho * std::cos(n * dl)};
}

// Frame1 of frameW x frameH twips, the picture page-fitted after a deep
// scroll.
ZoomView pageFitted(double imgW, double imgH, double frameW = 10180, double frameH = 8180) {
    ZoomView v;
    v.Frame1Width = frameW, v.Frame1Height = frameH;
    v.Frame2 = {-2000, 40, 12000, 9000}, v.HScroll1 = {true, 26910, 538, 5382, 17000};
    pageFit(v, imgW, imgH);
    return v;
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
        if (pole) { // past the pole nothing is placed
            float gx = float(lon), gy = 95;
            QCOMPARE(importer::toMapUnits(d, gx, gy).value_or(QString()),
                     QStringLiteral("Latitude 95 lies beyond 90 degrees north or south"));
            QCOMPARE(gx, float(lon));
            QCOMPARE(gy, 95.0f);
        }
        float gx = float(lon), gy = 90;
        if (pole) QVERIFY(!importer::toMapUnits(d, gx, gy));
        else gx = project(d, lon, lat, true, true), gy = project(d, lon, lat, true, false);
        QVERIFY(!d.ProjectionFailed);
        QVERIFY2(plain || merc ? gx == float(x) : near(gx / sx, x), qPrintable(QString::number(gx, 'g', 12)));
        QVERIFY2(plain ? gy == float(y) : near(gy / sy, y), qPrintable(QString::number(gy, 'g', 12)));
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
        const double b = r.str(7) == QLatin1String("apex")    ? d.Rho0 * double(scale)
                         : r.str(7) == QLatin1String("apexf") ? double(float(d.Rho0 * double(scale)))
                                                              : r.num(7);
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

    // Every position over the globe (3 degree steps, with rows 0.01 degrees
    // from each pole and at the poles, and 90.04 and 90.3 degrees from the
    // centre on the equator) against where the sphere has it: a place the
    // map holds, or folds by less than 0.1 degrees, is accepted; one folded
    // further, or with no place on the map, is refused.  Folds within a tenth
    // of 0.1 degrees of it may go either way, and so may a transverse
    // Mercator point on the equator a quarter turn out, which the rounding of
    // the central meridian brings onto the map.
    void foldsOverTheGlobe_data() {
        testsupport::columns<QString, double, double>("projection", "lon0", "lat0");
        namespace pn = projection_names;
        const std::pair<double, double> centres[] = {{0, 0},     {-100, 5},  {20, -5},      {-96, 35},
                                                     {135, -35}, {-60, 70},  {10, 85},      {179, 40},
                                                     {20, -85},  {-102.9, 40.75}, {20, -35}, {0, 45},
                                                     {30, 89},   {30, -89},  {-179.9, 40}};
        QTest::newRow("Standard Mercator") << pn::StandardMercator << 0.0 << 0.0;
        for (const QString& p : {pn::TransverseMercator, pn::Orthographic, pn::LambertAzimuthal, pn::AlbersEqualArea,
                                 pn::LambertConformal}) {
            for (const auto& [lon0, lat0] : centres) {
                if (lat0 == 0 && (p == pn::AlbersEqualArea || p == pn::LambertConformal)) continue; // no cone
                // A conformal cone with a standard parallel on the pole has no constants.
                if (std::fabs(lat0) == 89 && p == pn::LambertConformal) continue;
                QTest::addRow("%s %g/%g", qPrintable(p), lon0, lat0) << p << lon0 << lat0;
            }
        }
    }
    void foldsOverTheGlobe() {
        QFETCH(QString, projection);
        QFETCH(double, lon0);
        QFETCH(double, lat0);
        QList<std::pair<double, double>> places;
        QList<double> lats{-90, -89.99, 89.99, 90};
        for (double lat = -87; lat <= 87; lat += 3) lats << lat;
        for (double lat : lats) {
            // From lon0 - 180 so that the points across the antimeridian
            // (CM 179 with points at -179) are on the grid.
            for (double lon = lon0 - 180; lon <= lon0 + 180; lon += 3) places.append({lon, lat});
        }
        // Longitude 90.3 from the centre of a map at 0, 0 folds by 0.6
        // degrees, 90.04 by 0.08.
        for (double off : {-90.3, -90.04, 90.04, 90.3}) places.append({lon0 + off, 0});
        int refusedFolds = 0;
        // Scales of one size across and down divide back to the very values
        // projected; others leave a rounding.
        for (const auto& [sx, sy] : {std::pair{1234.5f, 987.25f}, {1000.0f, 1000.0f}}) {
            const Document d = registered(projection, lon0, lat0, sx, sy);
            for (const auto& [lon, lat] : places) {
                float X = 0, Y = 0;
                const bool refused = placement::placeLatLong(d, lon, lat, X, Y).has_value();
                const double fold = foldDistance(projection, lon0, lat0, lon, lat);
                const QString where = QStringLiteral("%1, %2: fold %3").arg(lon).arg(lat).arg(fold);
                if (fold < 0.09) QVERIFY2(!refused, qPrintable(where));
                else if (fold > 0.11 && (std::isfinite(fold) || projection != projection_names::TransverseMercator))
                    QVERIFY2(refused, qPrintable(where));
                refusedFolds += refused && fold > 0 && std::isfinite(fold);
                if (refused || !std::isfinite(fold)) continue;
                // The point as stored, in Singles, reads back where it was
                // put, but for the rounding of those Singles (worst at the
                // far pole of an equal-area cone).
                Document r = d;
                const double back = arcDegrees(lon, lat, project(r, X, Y, false, true), project(r, X, Y, false, false));
                QVERIFY2(back <= fold + 0.05, qPrintable(where + QStringLiteral(": read back %1 degrees off").arg(back)));
            }
        }
        // The orthographic and transverse Mercator maps do fold.
        QCOMPARE(refusedFolds > 0, projection == projection_names::Orthographic ||
                                       projection == projection_names::TransverseMercator);
    }

    // Five hundred registrations of random maps, each under one of the
    // eight systems (Linear in metres), its two reference points up to 100
    // degrees from the centre, clicked mostly the way the points lie and
    // otherwise at random, a twentieth of the picture apart at least.  The
    // test's own formulas decide: points folded
    // more than the tolerance are refused; otherwise a registration whose
    // points lie across and down the way they were clicked is accepted and
    // one whose points lie the other way round on either axis is refused.
    // An accepted map puts each click at the map values the formulas give
    // and reads both points back where they were typed.
    void randomRegistrations() {
        namespace pn = projection_names;
        const QString systems[] = {pn::Linear,           pn::CylindricalEquidistant, pn::StandardMercator,
                                   pn::TransverseMercator, pn::Orthographic,       pn::LambertAzimuthal,
                                   pn::AlbersEqualArea,  pn::LambertConformal};
        std::mt19937 rng(20261207);
        const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
        const double W = 12000, H = 9000;
        int accepted = 0, refusedOrder = 0, refusedFold = 0;
        double worstArc = 0, worstIllConditioned = 0, worstValue = 0;
        for (int k = 0; k < 500; ++k) {
            const QString& system = systems[k % 8];
            const bool cone = system == pn::AlbersEqualArea || system == pn::LambertConformal;
            const bool linear = system == pn::Linear;
            const double lon0 = uniform(-180, 180);
            double lat0 = system == pn::TransverseMercator || !asksCentralParallel(system) ? 0 : uniform(-85, 85);
            if (cone && std::fabs(lat0) < 1) lat0 = lat0 < 0 ? -1 : 1; // a cone, not a plane
            Document d = registered(system, lon0, lat0, 1, 1);
            d.CoordUnits = linear ? coord_units::Meters : coord_units::Degrees;
            if (system == pn::TransverseMercator) d.CentralParallel = 0;
            float lon[2], lat[2];
            for (int i : {0, 1}) {
                if (linear) {
                    lon[i] = float(uniform(-1e6, 1e6));
                    lat[i] = float(uniform(0, 1e7));
                    continue;
                }
                const double l = lon0 + uniform(-100, 100);
                lon[i] = float(k % 3 ? std::remainder(l, 360.0) : l); // typed east of 180 or not
                lat[i] = float(uniform(std::max(-90.0, lat0 - 100), std::min(90.0, lat0 + 100)));
            }
            // How far the map folds the points, and where it puts them: a
            // transverse Mercator point more than 90 degrees from the
            // meridian on its mirror across the meridians 90 degrees out (an
            // orthographic point beyond the horizon projects where its mirror
            // through the horizon plane does).
            double X[2], Y[2], fold[2];
            for (int i : {0, 1}) {
                fold[i] = linear ? 0 : foldDistance(system, lon0, lat0, lon[i], lat[i]);
                double placed = lon[i];
                const double pi = std::acos(-1.0), dl = std::remainder(lon[i] * pi / 180 - d.CentralMeridian, 2 * pi);
                if (system == pn::TransverseMercator && std::fabs(dl) > pi / 2)
                    placed = (d.CentralMeridian + std::copysign(pi, dl) - dl) * 180 / pi;
                std::tie(X[i], Y[i]) = sphereForward(d, placed, lat[i]);
            }
            // Clicks the way the points lie, or at random; a twentieth of the
            // picture apart at least, as a user picks them.
            double px[2], py[2];
            do px[0] = uniform(100, W - 100), px[1] = uniform(100, W - 100);
            while (std::fabs(px[1] - px[0]) < W / 20);
            do py[0] = uniform(100, H - 100), py[1] = uniform(100, H - 100);
            while (std::fabs(py[1] - py[0]) < H / 20);
            if (k % 4) {
                if ((px[1] > px[0]) != (X[1] > X[0])) std::swap(px[0], px[1]);
                if ((py[1] > py[0]) != (Y[1] < Y[0])) std::swap(py[0], py[1]);
            }
            d.RefPixelX1 = float(px[0]), d.RefPixelX2 = float(px[1]);
            d.RefPixelY1 = float(py[0]), d.RefPixelY2 = float(py[1]);
            d.RefMapX1 = lon[0], d.RefMapX2 = lon[1], d.RefMapY1 = lat[0], d.RefMapY2 = lat[1];
            bool ok = false;
            try {
                ok = MapRegisterProjection(d, W, H);
            } catch (const legacy::Error&) {
            }
            const QString where = QStringLiteral("%1 at %2/%3: %4 %5 @ %6,%7 and %8 %9 @ %10,%11")
                                      .arg(system).arg(lon0).arg(lat0)
                                      .arg(lon[0]).arg(lat[0]).arg(px[0]).arg(py[0])
                                      .arg(lon[1]).arg(lat[1]).arg(px[1]).arg(py[1]);
            const double folded = std::max(fold[0], fold[1]);
            if (folded > 0.11) {
                QVERIFY2(!ok, qPrintable(where));
                ++refusedFold;
                continue;
            }
            // Two values within rounding of each other leave the order open,
            // and so does a fold near the tolerance.
            const auto apart = [&](const double* v) {
                return std::fabs(v[1] - v[0]) > 1e-5 * (std::fabs(v[0]) + std::fabs(v[1]));
            };
            if (folded >= 0.09 || !apart(X) || !apart(Y)) continue;
            const bool inOrder = (px[1] > px[0]) == (X[1] > X[0]) && (py[1] > py[0]) == (Y[1] < Y[0]);
            QVERIFY2(ok == inOrder, qPrintable(where));
            if (!ok) {
                ++refusedOrder;
                continue;
            }
            ++accepted;
            const double sx = system == pn::StandardMercator || linear || system == pn::CylindricalEquidistant
                                  ? 1 : d.ProjScaleX;
            const double sy = linear || system == pn::CylindricalEquidistant ? 1 : d.ProjScaleY;
            for (int i : {0, 1}) {
                const double mx = PixelToMapX(d, px[i], W), my = PixelToMapY(d, py[i], H);
                // Map values off by a few Singles' roundings of the largest
                // value the fit holds.
                const double size = std::max({std::fabs(double(d.MapOriginX)), double(d.MapSpanX), std::fabs(mx)}) +
                                    std::max({std::fabs(double(d.MapOriginY)), double(d.MapSpanY), std::fabs(my)});
                const auto offBy = [&](double x, double y) {
                    return std::max(std::fabs(mx - sx * x), std::fabs(my - sy * y)) / size;
                };
                const double off = offBy(X[i], Y[i]);
                worstValue = std::max(worstValue, off);
                QVERIFY2(off < 1e-6, qPrintable(where + QStringLiteral(": map values off by %1").arg(off)));
                if (linear) continue; // read as the map values
                const double backLon = twoCoordProjection(system) ? project(d, mx, my, false, true) : mx;
                QVERIFY2(!d.ProjectionFailed, qPrintable(where));
                const double backLat = system == pn::CylindricalEquidistant ? my : project(d, mx, my, false, false);
                QVERIFY2(!d.ProjectionFailed, qPrintable(where));
                // Where the arcsine is pulled under 1 the reading may move by
                // 0.00256 degrees.  Further off, only where rounding the map
                // values moves the reading so far (near the pole of a flat
                // cone, at the horizon): the place read then lies at the
                // click's map values.
                const double arc = arcDegrees(lon[i], lat[i], backLon, backLat) - fold[i];
                const auto [bx, by] = sphereForward(d, backLon, backLat);
                const bool rounding = arc > 0.003 && offBy(bx, by) < 1e-6;
                (rounding ? worstIllConditioned : worstArc) = std::max(rounding ? worstIllConditioned : worstArc, arc);
                QVERIFY2(arc <= 0.003 || rounding, qPrintable(where + QStringLiteral(": read back %1 %2, %3 degrees off")
                                                                  .arg(backLon).arg(backLat).arg(arc)));
            }
        }
        qInfo("%d accepted, %d refused for their order, %d for a fold; worst read-back %.3g degrees "
              "(%.3g where rounding moves the reading further), worst map value %.3g of the fit's size",
              accepted, refusedOrder, refusedFold, worstArc, worstIllConditioned, worstValue);
        QVERIFY(accepted > 150 && refusedOrder > 30 && refusedFold > 5);
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
        QCOMPARE((QList<double>{PixelToMapX(d, 200, 1000), PixelToMapX(d, 400, 2000), PixelToMapY(d, 200, 800),
                                MapToPixelX(d, 110, 2000), MapToPixelY(d, 1900, 800)}),
                 (QList<double>{110, 110, 1900, 400, 200}));
        d.MapSpanX = 0;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, MapToPixelX(d, 110, 1000));
    }
};
VEX_TEST(ProjectionsTest);

class CoordinateDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void mapReadOut_data() { testsupport::addFileRows(QStringLiteral("map/cursor-map.txt")); }
    void mapReadOut() {
        const auto r = testsupport::rowFields();
        Document d;
        d.ImageWidthPx = 1000, d.ImageHeightPx = 800, d.MarkOffsetX = 40, d.MarkOffsetY = 140;
        d.MapRegistered = !r.str(0).isEmpty(), d.ProjScaleX = d.ProjScaleY = 1;
        d.ProjectionName = r.str(0), d.CoordUnits = r.str(1), d.LatLongFormat = r.str(11);
        d.MapOriginX = float(r.num(2)), d.MapOriginY = float(r.num(3)), d.MapSpanX = d.MapSpanY = float(r.num(4));
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
        d.MapSpanX = 600, d.MapOriginY = 1000, d.MapSpanY = 500, d.ContourMax = 100, d.GridCols = 5, d.GridRows = 4;
        d.ContourGrid.resize(5, 4);
        for (int i = 0; i <= 5; ++i)
            for (int j = 0; j <= 4; ++j)
                d.ContourGrid.at(i, j) = DataPoint{0, 100.0f * i, 1000.0f - 100 * j, 10.0f * i + j};
        const QString z = r.str(3);
        if (z == QLatin1String("none")) d.ZMin = d.ContourMin = 32000, d.ContourMax = 0; // no node computed
        else if (z == QLatin1String("typed")) d.ZMin = 32000;
        else if (z == QLatin1String("flat")) d.ZMin = d.ZMax = d.ContourMin = d.ContourMax = 32;
        else if (z != QLatin1String("-")) d.ContourGrid.at(3, 2).Z = float(r.num(3));
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

class ZoomModelTest : public QObject {
    Q_OBJECT
private slots:
    void pageFit_data() { testsupport::addFileRows(QStringLiteral("map/zoom-fit.txt")); }
    void pageFit() {
        const auto r = testsupport::rowFields();
        const ZoomView v = pageFitted(r.num(2), r.num(3), r.num(0), r.num(1));
        const TwipRect& p = v.imPoints;
        QVERIFY(qAbs(p.Left - r.num(4)) < 1e-3 && qAbs(p.Top - r.num(5)) < 1e-3);
        QVERIFY(qAbs(p.Width - r.num(6)) < 1e-3 && qAbs(p.Height - r.num(7)) < 1e-3);
        QVERIFY(v.Frame2.Left == 90 && v.Frame2.Top == 90 && v.Frame2.Width == r.num(0) - 180);
        QVERIFY(v.picMap.Left == p.Left + 90 && v.picMap.Top == p.Top + 90 && v.picMap.Width == p.Width);
        QVERIFY(v.PageWidth == float(r.num(6)) && v.Frame8Caption == QLatin1String("Zoom = 1 (Page)"));
        QVERIFY(v.enabled == (ZoomEnabled{false, false, true, true}) && !v.HScroll1.Visible && v.HScroll1.Value == 0);
        ZoomView none = v; // without an image only the reset is done
        QVERIFY(!v.VScroll1.Visible && !::pageFit(none, 0, 0) && none.imPoints.Width == p.Width);
    }

    void zoomSizes_data() { testsupport::addFileRows(QStringLiteral("map/zoom-steps.txt")); }
    void zoomSizes() {
        const auto r = testsupport::rowFields();
        const double imgW = r.num(1), imgH = r.num(2);
        ZoomView v;
        v.imPoints = {0, 0, r.num(3), r.num(4)};
        ZoomSize s = zoomFullSize(imgW, imgH, 64000);
        ZoomOutcome o = ZoomOutcome::Full;
        if (r.str(0) == QLatin1String("in")) o = zoomInSize(v, imgW, imgH, 64000, s);
        if (r.str(0) == QLatin1String("out")) o = zoomOutSize(v, imgW, imgH, 9880, s);
        QCOMPARE(int(o), QStringList({"zoom", "full", "page"}).indexOf(r.str(5)));
        QVERIFY(s.Width == r.whole(6) && s.Height == r.whole(7));
    }

    void applyZoom_data() { testsupport::addFileRows(QStringLiteral("map/zoom-bars.txt")); }
    void applyZoom() {
        const auto r = testsupport::rowFields();
        ZoomView v = pageFitted(1000, 500);
        v.HScroll1.Value = 13455;
        ::applyZoom(v, {r.whole(0), r.whole(1)});
        QVERIFY(v.imPoints.Width == r.num(0) && v.HScroll1.Visible && v.HScroll1.Value == r.whole(10));
        QCOMPARE((QList<int>{v.HScroll1.Max, v.HScroll1.SmallChange, v.HScroll1.LargeChange, v.HScrollStep,
                             v.VScroll1.Visible ? v.VScroll1.Max : 0, v.VScroll1.Visible ? v.VScrollStep : 0}),
                 (QList<int>{r.whole(2), r.whole(3), r.whole(4), r.whole(5), r.whole(6), r.whole(7)}));
        QVERIFY(v.imPoints.Top == r.num(8) && v.imPoints.Left == 0 && v.Frame8Caption == r.str(9));
    }

    void scroll_data() { testsupport::addFileRows(QStringLiteral("map/zoom-scroll.txt")); }
    void scroll() {
        const auto r = testsupport::rowFields();
        const bool vertical = r.str(0) == QLatin1String("v");
        ZoomView v = pageFitted(1000, 500);
        ::applyZoom(v, {64000, 32000});
        (vertical ? v.VScrollStep : v.HScrollStep) = r.whole(1);
        scrollTo(v, vertical ? ScrollAxis::Vertical : ScrollAxis::Horizontal, r.whole(2));
        QCOMPARE((vertical ? QList<double>{v.imPoints.Top, v.Frame2.Top, v.Frame2.Height}
                           : QList<double>{v.imPoints.Left, v.Frame2.Left, v.Frame2.Width}),
                 (QList<double>{r.num(3), r.num(4), r.num(5)}));
        QCOMPARE(vertical ? v.Frame2.Left : v.Frame2.Top, 90.0); // the other axis is untouched
        QVERIFY(v.ScrollValue == r.whole(2) && (vertical ? v.VScroll1 : v.HScroll1).Value == r.whole(2));
    }
};

VEX_TEST(ZoomModelTest);
#include "MapFunctionsTest.moc"
