#include "map/LatLongPlacement.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/Projections.h"
#include "map/Registration.h"

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

std::optional<QString> projectionRefusal(Document& doc, double lon, double lat, float& X, float& Y) {
    const QString& name = doc.ProjectionName;
    const bool mercator = name == pn::StandardMercator;
    const TwoCoordProjection project = twoCoordProjection(name);
    if (!mercator && !project) {
        X = float(lon);
        Y = float(lat);
        return std::nullopt;
    }
    // Spelt out only for a refusal: imports ask once a record.
    const auto refusal = [&] {
        return QStringLiteral("Longitude %1, latitude %2 cannot be placed on this %3 map")
            .arg(degreesText(lon), degreesText(lat), name);
    };
    float x = float(lon), y = 0;
    if (mercator) {
        y = ProjectMercator(doc, lat, true);
        if (doc.ProjectionFailed) return refusal();
    } else {
        y = project(doc, lon, lat, true, false);
        if (doc.ProjectionFailed) return refusal();
        x = project(doc, lon, lat, true, true);
        if (doc.ProjectionFailed) return refusal();
    }
    // The projections fold some places onto others without failing; such a
    // point would be stored, shown and saved somewhere else.
    float backLon = 0, backLat = 0;
    if (!unprojectReference(doc, x, y, backLon, backLat) ||
        !(arcBetween(lon, lat, backLon, backLat) <= FoldTolerance))
        return refusal();
    X = x;
    Y = y;
    return std::nullopt;
}

std::optional<QString> placeLatLong(Document& doc, double lon, double lat, float& X, float& Y) {
    if (auto why = rangeRefusal(lon, lat)) return why;
    return projectionRefusal(doc, lon, lat, X, Y);
}

std::optional<QString> numberRefusal(const QString& what, const QString& text, double& value) {
    double v = 0;
    if (!legacy::parseNumber(text, v) || !std::isfinite(v))
        return QStringLiteral("%1 \"%2\" is not a number").arg(what, text);
    if (std::fabs(v) > double(std::numeric_limits<float>::max()))
        return QStringLiteral("%1 %2 is too large").arg(what, text.trimmed());
    value = v;
    return std::nullopt;
}

} // namespace placement
