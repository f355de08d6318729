// Two-point registration: prompts and the fit through the reference points.
#include "map/Registration.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/Projections.h"

#include <cmath>

using legacy::Div;
using legacy::ToSingle;
namespace pn = projection_names;

namespace {


} // namespace

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

bool MapRegisterProjection(Document& doc, double W, double H) {
    const QString& name = doc.ProjectionName;
    const double px1 = doc.RefPixelX1, px2 = doc.RefPixelX2;
    const double py1 = doc.RefPixelY1, py2 = doc.RefPixelY2;
    const double mx1 = doc.RefMapX1, mx2 = doc.RefMapX2;
    const double my1 = doc.RefMapY1, my2 = doc.RefMapY2;

    const float fx = ToSingle(Div(px2 - px1, W));
    const float fy = ToSingle(Div(py2 - py1, H));

    if (name == pn::TransverseMercator)
        doc.ProjScaleX = ToSingle(std::fabs(Div(px1 - px2, std::tan(DegRad(mx1 - mx2, true)))));
    else
        doc.ProjScaleX = ToSingle(std::fabs(Div(px1 - px2, mx1 - mx2)));
    if (name == pn::StandardMercator) {
        // The magnitude of the whole quotient: with the reference latitudes
        // more than 90 degrees apart the tangent is negative, and a negative
        // scale would turn the map upside down.
        doc.ProjScaleY = ToSingle(std::fabs(Div(std::fabs(py1 - py2), std::tan(DegRad(std::fabs(my1 - my2), true)))));
    } else {
        doc.ProjScaleY = ToSingle(std::fabs(Div(py1 - py2, my1 - my2)));
    }

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

    doc.RefMapX1 = x1;
    doc.RefMapX2 = x2;
    doc.RefMapY1 = y1;
    doc.RefMapY2 = y2;
    doc.MapSpanX = ToSingle(std::fabs(Div(double(x2) - x1, fx)));
    doc.MapSpanY = ToSingle(std::fabs(Div(double(y2) - y1, fy)));
    doc.MapOriginX = ToSingle(x1 - float(Div(px1, W)) * double(doc.MapSpanX));
    doc.MapOriginY = ToSingle(y1 + float(Div(py1, H)) * double(doc.MapSpanY));
    return true;
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
