// Spherical map projections and the pixel <-> map transform.
#include "map/Projections.h"

#include "document/Document.h"
#include "document/Legacy.h"

#include <cfloat>
#include <cmath>

using legacy::Atn;
using legacy::Div;
using legacy::Exp;
using legacy::Log;
using legacy::Sqr;
using legacy::ToSingle;

namespace {

constexpr double Pi = LegacyPi;

// How far rounding may carry an argument past the domain of an arcsine.
constexpr double Rounding = 1e-6;

// Arcsine the way every projection takes it: through the arctangent, with an
// argument of 1 or more pulled just under 1.  An argument that rounding has
// pushed just below -1 is the south pole and is pulled in the same way;
// anything further below lies off the globe and fails (the root of a
// negative number).  Strictly, an argument further than rounding above 1
// fails too: no place on the globe has it.
double arcsine(double s, bool strict) {
    if (strict && s > 1.0 + Rounding) legacy::raise(legacy::ErrorCode::InvalidCall);
    if (s >= 1.0) s = 0.999999999;
    else if (s <= -1.0 && s >= -1.0 - Rounding) s = -0.999999999;
    return Atn(Div(s, Sqr(1.0 - s * s)));
}

// base ^ exponent with the old runtime's rules: a negative base needs a whole
// exponent, zero cannot be raised to a negative power, and the result must be
// finite.
double power(double base, double exponent) {
    legacy::Checked(base);
    legacy::Checked(exponent);
    if (base < 0.0 && exponent != std::trunc(exponent)) legacy::raise(legacy::ErrorCode::InvalidCall);
    if (base == 0.0 && exponent < 0.0) legacy::raise(legacy::ErrorCode::InvalidCall);
    return legacy::Checked(std::pow(base, exponent));
}

// Runs one projection step.  An arithmetic failure inside it ends the call
// with 0 and the failure flag set; the caller carries on.
template <typename F>
float guarded(Document& doc, F&& body) {
    doc.ProjectionFailed = false;
    try {
        return ToSingle(body());
    } catch (const legacy::Error&) {
        doc.ProjectionFailed = true;
        return 0.0f;
    }
}

// Longitude (from the central meridian) of the azimuthal inverses, the angle
// of num over den.  A negative denominator is the far side of the pole: half a
// turn on, towards the side of the numerator's sign.  The map's x = 0 line
// beyond the pole has a numerator of 0 and lies half a world from the central
// meridian, not on it.  A zero denominator is a quarter turn from the central
// meridian, or, with a zero numerator too, a pole, where any longitude is
// right: the central meridian's.
double azimuthalLongitude(double num, double den) {
    if (den == 0.0) return num > 0.0 ? Pi / 2.0 : num < 0.0 ? -Pi / 2.0 : 0.0;
    const double t = Atn(Div(num, den));
    if (den >= 0.0) return t;
    return num < 0.0 ? t - Pi : t + Pi;
}

// The angle of a point about a cone's apex (n times its longitude from the
// central meridian), from the whole circle: x over rho0 - y alone gives it
// only within a quarter turn either side, and a cone with n < 0 opens the
// other way, so the quadrant is taken from both, with the sign of n.  Within
// the quarter turn it is that plain arctangent.  At the apex there is no
// angle: the division fails.
double coneAngle(double x, double den, double n) {
    const double s = n < 0.0 ? -1.0 : 1.0;
    if (s * den > 0.0 || (den == 0.0 && x == 0.0)) return Atn(Div(x, den));
    if (den == 0.0) return s * x > 0.0 ? Pi / 2.0 : -Pi / 2.0;
    const double t = Atn(Div(x, den));
    return s * x >= 0.0 ? t + Pi : t - Pi;
}

// How near a cone's apex a map value may lie and still be read as the apex:
// a few roundings of a Single, relative to the apex's own distance from the
// origin parallel.  On every cone this is within a few millionths of a degree
// of the pole, however slowly its parallels close in on it.
constexpr double ApexRounding = 0x1p-22;

bool atApex(double x, double den, double rho0) {
    return std::hypot(x, den) <= ApexRounding * std::fabs(rho0);
}

// The pole that is a cone's apex, +1 north or -1 south, or 0 when the apex is
// no place on the globe.  A conformal cone closes to a point at the pole it
// opens towards.  An equal-area cone does only when one of its standard
// parallels is that pole: then C - 2n sin(pole), the square of the pole's
// distance from the apex, is 0 but for rounding.
int conformalApexPole(double n) { return n > 0.0 ? 1 : n < 0.0 ? -1 : 0; }
int albersApexPole(double n, double c) {
    const int pole = conformalApexPole(n);
    return pole != 0 && std::fabs(c - 2.0 * std::fabs(n)) <= 8 * DBL_EPSILON * std::fabs(c) ? pole : 0;
}

// A longitude difference, or a longitude, taken the short way round: into
// -pi..pi.  The cones multiply the difference by n < 1, so a point just
// across the antimeridian from the central meridian would otherwise land on
// the far side of the cone; their inverses give the longitude in the same
// range.
double shortWay(double angle) { return std::remainder(legacy::Checked(angle), 2.0 * Pi); }

// The apex read as its pole, on the central meridian.
double apexPosition(double lam0, int pole, bool WantX) {
    return WantX ? DegRad(shortWay(lam0), false) : 90.0 * pole;
}

// The procedures' arithmetic, unrounded: a failure throws legacy::Error.

double mercator(const Document& doc, double Value, bool Forward) {
    const double sy = doc.ProjScaleY;
    if (Forward) {
        double lat = Value;
        if (lat >= 90.0) lat = 89.99999;
        const double phi = DegRad(lat, true);
        return sy * Log(legacy::Checked(std::tan(phi) + Div(1.0, std::cos(phi))));
    }
    const double lat = 2.0 * Atn(Exp(Div(Value, sy))) - Pi / 2.0;
    return DegRad(lat, false);
}

double transverseMercator(const Document& doc, double A, double B, bool Forward, bool WantX, bool strict) {
    const double sx = doc.ProjScaleX;
    const double sy = doc.ProjScaleY;
    const double lam0 = doc.CentralMeridian;
    const double phi0 = doc.CentralParallel;
    if (Forward) {
        const double dlam = DegRad(A, true) - lam0;
        const double phi = DegRad(B, true);
        if (WantX) {
            const double b = std::sin(dlam) * std::cos(phi);
            return sx * 0.5 * Log(Div(1.0 + b, 1.0 - b));
        }
        return sy * (Atn(Div(std::tan(phi), std::fabs(std::cos(dlam)))) - phi0);
    }
    const double x = Div(A, sx);
    const double y = Div(B, sy);
    double d = y + phi0;
    if (WantX) {
        // A place a quarter turn from the central meridian has d = +-pi/2;
        // rounded to a Single its map y may lie a hair beyond, where cos d
        // turns negative and would read it half a world away.
        if (std::fabs(d) > Pi / 2.0 && std::fabs(d) <= Pi / 2.0 + Rounding) d = std::copysign(Pi / 2.0, d);
        const double sinhX = (Exp(x) - Exp(-x)) / 2.0;
        return DegRad(lam0 + Atn(Div(sinhX, std::cos(d))), false);
    }
    const double coshX = (Exp(x) + Exp(-x)) / 2.0;
    return DegRad(arcsine(Div(std::sin(d), coshX), strict), false);
}

double albersEqualArea(const Document& doc, double A, double B, bool Forward, bool WantX, bool strict) {
    const double sx = doc.ProjScaleX;
    const double sy = doc.ProjScaleY;
    const double lam0 = doc.CentralMeridian;
    const double n = doc.ConeN;
    const double c = doc.AlbersC;
    const double rho0 = doc.Rho0;
    if (Forward) {
        const double dlam = shortWay(DegRad(A, true) - lam0);
        const double phi = DegRad(B, true);
        // The apex's pole lands on the apex, where rounding could leave a
        // square root of less than nothing.
        const int pole = albersApexPole(n, c);
        const double rho = pole != 0 && B == 90.0 * pole ? 0.0 : Div(Sqr(c - 2.0 * n * std::sin(phi)), n);
        const double theta = n * dlam;
        if (WantX) return sx * rho * std::sin(theta);
        return sy * (rho0 - rho * std::cos(theta));
    }
    const double x = Div(A, sx);
    const double y = Div(B, sy);
    const double rho = Sqr(x * x + (rho0 - y) * (rho0 - y));
    if (const int pole = albersApexPole(n, c); pole != 0 && atApex(x, rho0 - y, rho0))
        return apexPosition(lam0, pole, WantX);
    // Taken for both coordinates: elsewhere the apex lies beyond the pole, off
    // the globe.
    const double theta = coneAngle(x, rho0 - y, n);
    if (WantX) return DegRad(shortWay(Div(theta, n) + lam0), false);
    return DegRad(arcsine(Div(c - rho * rho * n * n, 2.0 * n), strict), false);
}

// The centre of an azimuthal map, where its inverses would divide 0 by 0.
double azimuthalCentre(const Document& doc, bool WantX) {
    return DegRad(WantX ? doc.CentralMeridian : doc.CentralParallel, false);
}

double lambertAzimuthal(const Document& doc, double A, double B, bool Forward, bool WantX, bool strict) {
    const double sx = doc.ProjScaleX;
    const double sy = doc.ProjScaleY;
    const double lam0 = doc.CentralMeridian;
    const double phi0 = doc.CentralParallel;
    const double sinPhi0 = std::sin(phi0);
    const double cosPhi0 = std::cos(phi0);
    if (Forward) {
        const double dlam = DegRad(A, true) - lam0;
        const double phi = DegRad(B, true);
        const double k = Sqr(Div(2.0, 1.0 + sinPhi0 * std::sin(phi) + cosPhi0 * std::cos(phi) * std::cos(dlam)));
        if (WantX) return sx * k * std::cos(phi) * std::sin(dlam);
        return sy * k * (cosPhi0 * std::sin(phi) - sinPhi0 * std::cos(phi) * std::cos(dlam));
    }
    const double x = Div(A, sx);
    const double y = Div(B, sy);
    const double rho = Sqr(x * x + y * y);
    if (rho == 0.0) return azimuthalCentre(doc, WantX);
    const double cc = 2.0 * arcsine(rho / 2.0, strict);
    if (WantX) {
        const double den = rho * cosPhi0 * std::cos(cc) - y * sinPhi0 * std::sin(cc);
        return DegRad(lam0 + azimuthalLongitude(x * std::sin(cc), den), false);
    }
    return DegRad(arcsine(std::cos(cc) * sinPhi0 + Div(y * std::sin(cc) * cosPhi0, rho), strict), false);
}

double lambertConformal(const Document& doc, double A, double B, bool Forward, bool WantX, bool /*strict: no arcsine*/) {
    const double sx = doc.ProjScaleX;
    const double sy = doc.ProjScaleY;
    const double lam0 = doc.CentralMeridian;
    const double n = doc.ConeN;
    const double f = doc.ConeF;
    const double rho0 = doc.Rho0;
    if (Forward) {
        const double dlam = shortWay(DegRad(A, true) - lam0);
        const double phi = DegRad(B, true);
        // The pole the cone opens towards is its apex: the formula would put
        // it a little off (pi is short) or divide by tan 0 (the south pole of
        // a southern cone).  The other pole lies at infinity, as the formula
        // has it for the south pole of a northern cone; for the north pole of
        // a southern one the short pi would give a finite place.
        const int pole = conformalApexPole(n);
        if (pole != 0 && B == -90.0 * pole) legacy::raise(legacy::ErrorCode::DivisionByZero);
        const double rho = pole != 0 && B == 90.0 * pole ? 0.0
                                                         : f * power(Div(1.0, std::tan(Pi / 4.0 + phi / 2.0)), n);
        const double theta = n * dlam;
        if (WantX) return sx * rho * std::sin(theta);
        return sy * (rho0 - rho * std::cos(theta));
    }
    const double x = Div(A, sx);
    const double y = Div(B, sy);
    const double rho = legacy::Sgn(n) * Sqr(x * x + (rho0 - y) * (rho0 - y));
    // The apex of this cone is the pole it opens towards, on the central
    // meridian; a stored Single never meets it exactly.
    if (n != 0.0 && atApex(x, rho0 - y, rho0)) return apexPosition(lam0, conformalApexPole(n), WantX);
    if (WantX) return DegRad(shortWay(Div(coneAngle(x, rho0 - y, n), n) + lam0), false);
    return DegRad(2.0 * Atn(power(Div(f, rho), Div(1.0, n))) - Pi / 2.0, false);
}

double orthographic(const Document& doc, double A, double B, bool Forward, bool WantX, bool strict) {
    const double sx = doc.ProjScaleX;
    const double sy = doc.ProjScaleY;
    const double lam0 = doc.CentralMeridian;
    const double phi0 = doc.CentralParallel;
    const double sinPhi0 = std::sin(phi0);
    const double cosPhi0 = std::cos(phi0);
    if (Forward) {
        // The far hemisphere is projected by the same formulas.
        const double dlam = DegRad(A, true) - lam0;
        const double phi = DegRad(B, true);
        if (WantX) return sx * std::cos(phi) * std::sin(dlam);
        return sy * (cosPhi0 * std::sin(phi) - std::cos(phi) * sinPhi0 * std::cos(dlam));
    }
    const double x = Div(A, sx);
    const double y = Div(B, sy);
    double rho = Sqr(x * x + y * y);
    if (rho == 0.0) return azimuthalCentre(doc, WantX);
    if (strict && rho > 1.0 + Rounding) legacy::raise(legacy::ErrorCode::InvalidCall);
    if (rho >= 1.0) rho = 0.999999999;
    const double cc = arcsine(rho, strict);
    if (WantX) {
        const double den = rho * cosPhi0 * std::cos(cc) - y * sinPhi0 * std::sin(cc);
        return DegRad(lam0 + azimuthalLongitude(x * std::sin(cc), den), false);
    }
    return DegRad(arcsine(std::cos(cc) * sinPhi0 + Div(y * std::sin(cc) * cosPhi0, rho), strict), false);
}

using Procedure = double (*)(const Document&, double, double, bool, bool, bool);

Procedure procedureOf(const QString& name) {
    namespace pn = projection_names;
    if (name == pn::TransverseMercator) return &transverseMercator;
    if (name == pn::Orthographic) return &orthographic;
    if (name == pn::LambertAzimuthal) return &lambertAzimuthal;
    if (name == pn::AlbersEqualArea) return &albersEqualArea;
    if (name == pn::LambertConformal) return &lambertConformal;
    return nullptr;
}

} // namespace

double DegRad(double Value, bool ToRadians) {
    if (ToRadians) return Value * Pi / 180.0;
    return Value * 180.0 / Pi;
}

float ProjectMercator(Document& doc, double Value, bool Forward) {
    return guarded(doc, [&] { return mercator(doc, Value, Forward); });
}

float ProjectTransverseMercator(Document& doc, double A, double B, bool Forward, bool WantX) {
    return guarded(doc, [&] { return transverseMercator(doc, A, B, Forward, WantX, false); });
}

float ProjectAlbersEqualArea(Document& doc, double A, double B, bool Forward, bool WantX) {
    return guarded(doc, [&] { return albersEqualArea(doc, A, B, Forward, WantX, false); });
}

float ProjectLambertAzimuthal(Document& doc, double A, double B, bool Forward, bool WantX) {
    return guarded(doc, [&] { return lambertAzimuthal(doc, A, B, Forward, WantX, false); });
}

float ProjectLambertConformal(Document& doc, double A, double B, bool Forward, bool WantX) {
    return guarded(doc, [&] { return lambertConformal(doc, A, B, Forward, WantX, false); });
}

float ProjectOrthographic(Document& doc, double A, double B, bool Forward, bool WantX) {
    return guarded(doc, [&] { return orthographic(doc, A, B, Forward, WantX, false); });
}

std::optional<double> projectUnrounded(const Document& doc, double A, double B, bool Forward, bool WantX) {
    try {
        double v = WantX ? A : B;
        if (doc.ProjectionName == projection_names::StandardMercator) {
            if (!WantX) v = mercator(doc, B, Forward);
        } else if (const Procedure p = procedureOf(doc.ProjectionName)) {
            v = p(doc, A, B, Forward, WantX, true);
        }
        if (std::isfinite(v)) return v;
    } catch (const legacy::Error&) {
    }
    return std::nullopt;
}

void ComputeConeConstants(Document& doc) {
    const double lat1 = doc.Lat1;
    const double lat2 = doc.Lat2;
    const double phi0 = doc.CentralParallel;
    if (doc.ProjectionName == projection_names::AlbersEqualArea) {
        doc.ConeN = (std::sin(lat2) + std::sin(lat1)) / 2.0;
        doc.AlbersC = std::cos(lat1) * std::cos(lat1) + 2.0 * doc.ConeN * std::sin(lat1);
        doc.Rho0 = Div(Sqr(doc.AlbersC - 2.0 * doc.ConeN * std::sin(phi0)), doc.ConeN);
    } else if (doc.ProjectionName == projection_names::LambertConformal) {
        const double t1 = std::tan(Pi / 4.0 + lat1 / 2.0);
        const double t2 = std::tan(Pi / 4.0 + lat2 / 2.0);
        doc.ConeN = Div(Log(Div(std::cos(lat1), std::cos(lat2))), Log(Div(t2, t1)));
        doc.ConeF = Div(std::cos(lat1) * power(t1, doc.ConeN), doc.ConeN);
        doc.Rho0 = doc.ConeF * power(Div(1.0, std::tan(Pi / 4.0 + phi0 / 2.0)), doc.ConeN);
    }
}

float PixelToMapX(const Document& doc, double x, double W) {
    return ToSingle(double(doc.MapOriginX) + Div(x * doc.MapSpanX, W));
}

float PixelToMapY(const Document& doc, double y, double H) {
    return ToSingle(double(doc.MapOriginY) - Div(y * doc.MapSpanY, H));
}

float MapToPixelX(const Document& doc, double mapX, double W) {
    return ToSingle(Div((mapX - doc.MapOriginX) * W, doc.MapSpanX));
}

float MapToPixelY(const Document& doc, double mapY, double H) {
    return ToSingle(Div((doc.MapOriginY - mapY) * H, doc.MapSpanY));
}

TwoCoordProjection twoCoordProjection(const QString& name) {
    namespace pn = projection_names;
    if (name == pn::TransverseMercator) return &ProjectTransverseMercator;
    if (name == pn::Orthographic) return &ProjectOrthographic;
    if (name == pn::LambertAzimuthal) return &ProjectLambertAzimuthal;
    if (name == pn::AlbersEqualArea) return &ProjectAlbersEqualArea;
    if (name == pn::LambertConformal) return &ProjectLambertConformal;
    return nullptr;
}
