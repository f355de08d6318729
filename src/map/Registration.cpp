// Two-point registration: prompts and the fit through the reference points.
#include "map/Registration.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/LatLongPlacement.h"
#include "map/Projections.h"

#include <cmath>
#include <utility>

using legacy::Div;
using legacy::ToSingle;
namespace pn = projection_names;

RegistrationPrompt registrationXPrompt(int point, bool degrees) {
    const QString n = QString::number(point);
    if (degrees) {
        return {point == 1 ? QStringLiteral("Enter Longitude (W values negative) coordinate 1")
                           : QStringLiteral("Enter Longitude coordinate 2"),
                QStringLiteral("Map Longitude Registration ") + n};
    }
    return {QStringLiteral("Enter Easting coordinate ") + n, QStringLiteral("Map Easting Registration ") + n};
}

RegistrationPrompt registrationYPrompt(int point, bool degrees) {
    const QString n = QString::number(point);
    if (degrees) {
        return {point == 1 ? QStringLiteral("Enter Latitude (S values negative) coordinate 1")
                           : QStringLiteral("Enter Latitude coordinate 2"),
                QStringLiteral("Map Latitude Registration ") + n};
    }
    return {QStringLiteral("Enter Northing coordinate ") + n, QStringLiteral("Map Northing Registration ") + n};
}

bool asksCentralMeridian(const QString& name) {
    return name != pn::CylindricalEquidistant && name != pn::Linear && name != pn::StandardMercator;
}

bool asksCentralParallel(const QString& name) {
    return asksCentralMeridian(name) && name != pn::TransverseMercator;
}

QString centralMeridianDefault(const Document& doc) {
    const double x1 = doc.RefMapX1;
    const double x2 = doc.RefMapX2;
    return legacy::Format(float(std::fabs(x2 - x1) / 2.0 + x1), QStringLiteral("0.0"));
}

QString centralParallelDefault(const Document& doc) {
    const double y1 = doc.RefMapY1;
    const double y2 = doc.RefMapY2;
    return legacy::Format(float(std::fabs(y1 - y2) / 2.0 + y2), QStringLiteral("0.0"));
}

QString orderRefusal(const QString& ProjectionName, bool secondAfter, bool across) {
    const QString clicked = across ? (secondAfter ? QStringLiteral("right of") : QStringLiteral("left of"))
                                   : (secondAfter ? QStringLiteral("below") : QStringLiteral("above"));
    const QString further = across ? (secondAfter ? QStringLiteral("east") : QStringLiteral("west"))
                                   : (secondAfter ? QStringLiteral("south") : QStringLiteral("north"));
    // A central meridian far off the map turns its grid against the picture.
    const QString meridian = asksCentralMeridian(ProjectionName)
                                 ? QStringLiteral(", and that the central meridian lies near the map")
                                 : QString();
    return QStringLiteral("Reference point 2 was clicked %1 point 1, but its coordinates put it no further %2. "
                          "Check that the values typed follow the order of the clicks%3.")
        .arg(clicked, further, meridian);
}

bool MapRegisterProjection(Document& doc, double W, double H) {
    const QString& name = doc.ProjectionName;
    const double px1 = doc.RefPixelX1, px2 = doc.RefPixelX2;
    const double py1 = doc.RefPixelY1, py2 = doc.RefPixelY2;
    const double mx1 = doc.RefMapX1, mx2 = doc.RefMapX2;
    const double my1 = doc.RefMapY1, my2 = doc.RefMapY2;

    const float fx = ToSingle(Div(px2 - px1, W));
    const float fy = ToSingle(Div(py2 - py1, H));

    // Equal clicks or equal typed values along an axis cannot be fitted:
    // these divisions fail for them.
    doc.ProjScaleX = ToSingle(std::fabs(Div(px1 - px2, mx1 - mx2)));
    doc.ProjScaleY = ToSingle(std::fabs(Div(py1 - py2, my1 - my2)));
    // Both Mercators are conformal: their map units must be the same size
    // across and down, or the grid and every distance the gridding and the
    // combination measure are squeezed along one axis.  Their projected
    // coordinates are taken in degrees, beside Standard Mercator's longitude.
    if (name == pn::TransverseMercator) doc.ProjScaleX = doc.ProjScaleY = MercatorDegreeScale;
    else if (name == pn::StandardMercator) doc.ProjScaleY = MercatorDegreeScale;

    float x1 = float(mx1), x2 = float(mx2), y1 = float(my1), y2 = float(my2);
    if (name == pn::StandardMercator) {
        y1 = ProjectMercator(doc, my1, true);
        if (doc.ProjectionFailed) return false;
        y2 = ProjectMercator(doc, my2, true);
        if (doc.ProjectionFailed) return false;
    } else if (TwoCoordProjection p = twoCoordProjection(name)) {
        if (name == pn::AlbersEqualArea || name == pn::LambertConformal) ComputeConeConstants(doc);
        x1 = p(doc, mx1, my1, true, true);
        if (doc.ProjectionFailed) return false;
        x2 = p(doc, mx2, my2, true, true);
        if (doc.ProjectionFailed) return false;
        y1 = p(doc, mx1, my1, true, false);
        if (doc.ProjectionFailed) return false;
        y2 = p(doc, mx2, my2, true, false);
        if (doc.ProjectionFailed) return false;
    }

    const float spanX = ToSingle(std::fabs(Div(double(x2) - x1, fx)));
    const float spanY = ToSingle(std::fabs(Div(double(y2) - y1, fy)));
    // Two points the projection puts on one line across or down give no
    // extent to fit; every later transform would divide by it.
    if (spanX == 0 || spanY == 0) legacy::raise(legacy::ErrorCode::DivisionByZero);
    // A reference point the projection folds onto another place would tie
    // the map to the wrong spot.
    for (const auto& [lon, lat] : {std::pair{mx1, my1}, std::pair{mx2, my2}}) {
        float px = 0, py = 0;
        if (auto why = placement::placeLatLong(doc, lon, lat, px, py)) legacy::raise(*why);
    }
    // Map X grows to the right and map Y upward, with no turn between them.
    // Points whose map values lie the other way round from their clicks would
    // still give spans (their sizes are taken), but the map would then read
    // point 2, and every point digitized on it, somewhere else.
    if ((px2 - px1) * (double(x2) - x1) < 0) legacy::raise(orderRefusal(name, px2 > px1, true));
    if ((py2 - py1) * (double(y2) - y1) > 0) legacy::raise(orderRefusal(name, py2 > py1, false));
    doc.RefMapX1 = x1;
    doc.RefMapX2 = x2;
    doc.RefMapY1 = y1;
    doc.RefMapY2 = y2;
    doc.MapSpanX = spanX;
    doc.MapSpanY = spanY;
    doc.MapOriginX = ToSingle(x1 - float(Div(px1, W)) * double(doc.MapSpanX));
    doc.MapOriginY = ToSingle(y1 + float(Div(py1, H)) * double(doc.MapSpanY));
    return true;
}

MapUnitFactors adoptPresentMercatorUnits(Document& doc) {
    MapUnitFactors f;
    const bool transverse = doc.ProjectionName == pn::TransverseMercator;
    if (!transverse && doc.ProjectionName != pn::StandardMercator) return f;
    // A scale of 0 (a damaged file) cannot be converted and stays.
    auto factor = [](float scale) {
        return scale == MercatorDegreeScale || scale == 0 ? 1.0 : MercatorDegreeScale / double(scale);
    };
    if (transverse) f.x = factor(doc.ProjScaleX);
    f.y = factor(doc.ProjScaleY);
    if (f.x == 1.0 && f.y == 1.0) return f;
    // All is computed before the document changes.
    const float values[] = {
        ToSingle(doc.RefMapX1 * f.x), ToSingle(doc.RefMapX2 * f.x), ToSingle(doc.MapSpanX * f.x),
        ToSingle(doc.MapOriginX * f.x), ToSingle(doc.RefMapY1 * f.y), ToSingle(doc.RefMapY2 * f.y),
        ToSingle(doc.MapSpanY * f.y), ToSingle(doc.MapOriginY * f.y)};
    doc.RefMapX1 = values[0];
    doc.RefMapX2 = values[1];
    doc.MapSpanX = values[2];
    doc.MapOriginX = values[3];
    doc.RefMapY1 = values[4];
    doc.RefMapY2 = values[5];
    doc.MapSpanY = values[6];
    doc.MapOriginY = values[7];
    if (f.x != 1.0) doc.ProjScaleX = MercatorDegreeScale;
    if (f.y != 1.0) doc.ProjScaleY = MercatorDegreeScale;
    return f;
}

bool unprojectReference(Document& doc, float mapX, float mapY, float& typedX, float& typedY) {
    const QString& name = doc.ProjectionName;
    typedX = mapX;
    typedY = mapY;
    if (name == pn::StandardMercator) {
        typedY = ProjectMercator(doc, mapY, false);
        return !doc.ProjectionFailed;
    }
    if (TwoCoordProjection p = twoCoordProjection(name)) {
        typedX = p(doc, mapX, mapY, false, true);
        if (doc.ProjectionFailed) return false;
        typedY = p(doc, mapX, mapY, false, false);
        return !doc.ProjectionFailed;
    }
    return true;
}
