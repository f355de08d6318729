#include "map/LatLongPlacement.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/CoordinateMenu.h"
#include "map/Projections.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace placement {
namespace {

namespace pn = projection_names;

QString degreesText(double v) {
    return std::isfinite(v) ? legacy::GeneralText(float(v)) : QStringLiteral("?");
}

// The arc between two positions on the sphere, in degrees.
double arcBetween(double lon1, double lat1, double lon2, double lat2) {
    const double r = LegacyPi / 180.0;
    const double p1 = lat1 * r, p2 = lat2 * r, dl = (lon2 - lon1) * r;
    const double s = std::sin((p2 - p1) / 2), t = std::sin(dl / 2);
    const double h = s * s + std::cos(p1) * std::cos(p2) * t * t;
    return 2 * std::asin(std::sqrt(std::min(1.0, std::max(0.0, h)))) / r;
}

} // namespace

bool mapInDegrees(const Document& doc) { return doc.CoordUnits == coord_units::Degrees; }

std::optional<QString> latitudeRefusal(const QString& what, double lat) {
    if (std::fabs(lat) <= 90) return std::nullopt;
    return QStringLiteral("%1 %2 lies beyond 90 degrees north or south").arg(what, degreesText(lat));
}

std::optional<QString> longitudeRefusal(const QString& what, double lon) {
    if (std::fabs(lon) <= 360) return std::nullopt;
    return QStringLiteral("%1 %2 lies beyond 360 degrees east or west").arg(what, degreesText(lon));
}

std::optional<QString> rangeRefusal(double lon, double lat) {
    if (auto why = latitudeRefusal(QStringLiteral("Latitude"), lat)) return why;
    return longitudeRefusal(QStringLiteral("Longitude"), lon);
}

std::optional<QString> projectionRefusal(const Document& doc, double lon, double lat, float& X, float& Y) {
    const QString& name = doc.ProjectionName;
    if (name != pn::StandardMercator && !twoCoordProjection(name)) {
        X = float(lon);
        Y = float(lat);
        return std::nullopt;
    }
    // Spelt out only for a refusal: imports ask once a record.
    const auto refusal = [&] {
        return QStringLiteral("Longitude %1, latitude %2 cannot be placed on this %3 map")
            .arg(degreesText(lon), degreesText(lat), name);
    };
    // The procedures store these values as Singles; a value beyond a Single
    // fails there.
    const auto x = projectUnrounded(doc, lon, lat, true, true);
    const auto y = projectUnrounded(doc, lon, lat, true, false);
    const auto single = [](double v) { return std::fabs(v) <= double(std::numeric_limits<float>::max()); };
    if (!x || !y || !single(*x) || !single(*y)) return refusal();
    // The projections fold some places onto others without failing; such a
    // point would be stored, shown and saved somewhere else.  The position is
    // read back from the unrounded values, so that how map values round to
    // Singles near a pole or the horizon cannot pass for a fold; a read-back
    // that fails is a fold too.
    const auto backLon = projectUnrounded(doc, *x, *y, false, true);
    const auto backLat = projectUnrounded(doc, *x, *y, false, false);
    if (!backLon || !backLat || !(arcBetween(lon, lat, *backLon, *backLat) <= FoldTolerance)) return refusal();
    X = float(*x);
    Y = float(*y);
    return std::nullopt;
}

std::optional<QString> placeLatLong(const Document& doc, double lon, double lat, float& X, float& Y) {
    if (mapInDegrees(doc)) {
        if (auto why = rangeRefusal(lon, lat)) return why;
    }
    return projectionRefusal(doc, lon, lat, X, Y);
}

std::optional<QString> numberRefusal(const QString& what, const QString& text, double& value) {
    double v = 0;
    // Text pasted from elsewhere often carries no-break spaces around the
    // number; they are blanks like any other.
    if (!legacy::parseNumber(text.trimmed(), v) || !std::isfinite(v))
        return QStringLiteral("%1 \"%2\" is not a number").arg(what, text);
    if (std::fabs(v) > double(std::numeric_limits<float>::max()))
        return QStringLiteral("%1 %2 is too large").arg(what, text.trimmed());
    value = v;
    return std::nullopt;
}

} // namespace placement
