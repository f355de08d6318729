#include "contour/PlotScales.h"

#include "document/Legacy.h"
#include "map/Projections.h"

#include <cmath>

using legacy::Format;

QString unitWord(PlotUnits units) {
    switch (units) {
    case PlotUnits::Feet: return QStringLiteral("Feet");
    case PlotUnits::Meters: return QStringLiteral("Meters");
    default: return QStringLiteral("Degrees");
    }
}

QString contourTitleText(const QString& dataTitle, bool structural, float mapSpanX, int contourDetail,
                         PlotUnits units, const QString& projectionName, float projScaleX) {
    QString t = dataTitle + (structural ? QStringLiteral(" Topographic/Structural Contours (")
                                        : QStringLiteral(" Isopachs ("));
    const double detail = legacy::Div(mapSpanX, contourDetail);
    switch (units) {
    case PlotUnits::Feet: return t + Format(detail, QStringLiteral("0")) + QStringLiteral("-ft detail)");
    case PlotUnits::Meters: return t + Format(detail, QStringLiteral("0.0")) + QStringLiteral("-m detail)");
    default: break;
    }
    namespace pn = projection_names;
    const bool onUnitSphere = projectionName == pn::Orthographic || projectionName == pn::LambertAzimuthal ||
                              projectionName == pn::AlbersEqualArea || projectionName == pn::LambertConformal;
    // There projScaleX map units make one radian of arc.
    const double degrees = onUnitSphere ? DegRad(legacy::Div(detail, projScaleX), false) : detail;
    return t + Format(degrees, QStringLiteral("0.0000")) + QStringLiteral("-deg detail)");
}

ScaleLayout scaleLayout(double innerWidth, double innerHeight, double dataLeft, double dataRight) {
    ScaleLayout s;
    s.width = innerWidth;
    s.yTop = int(legacy::Int(innerHeight / 5));
    s.yBottom = int(legacy::Int(innerHeight * 4 / 5));
    s.left = dataLeft >= innerWidth - dataRight;
    const double sw = innerWidth;
    if (s.left) {
        s.panel = QRectF(QPointF(0, s.yTop - 500), QPointF(550, s.yBottom + 200));
        s.barX1 = 150;
        s.barX2 = 350;
        s.markX1 = 100;
        s.markX2 = 300;
    } else {
        s.panel = QRectF(QPointF(sw - 550, s.yTop - 500), QPointF(sw, s.yBottom + 200));
        s.barX1 = sw - 350;
        s.barX2 = sw - 150;
        s.markX1 = sw - 100;
        s.markX2 = sw - 300;
    }
    return s;
}

double scaleRowValue(int y, const ScaleLayout& s, double contourMin, double contourMax) {
    return contourMax - legacy::Div((y - s.yTop) * (contourMax - contourMin), s.yBottom - s.yTop);
}

bool scaleHasValues(double contourMin, double contourMax, double zMin, double zMax) {
    // The automatic scale takes the data range for its ends, a typed one the
    // typed values (only typed as exactly 32000 and 0 is it taken for the start).
    return zMin <= zMax || contourMin != zMin || contourMax != zMax;
}

std::vector<ScaleLabel> scaleLabels(const ScaleLayout& s, double contourMin, double contourMax, double zMin,
                                    double zMax) {
    const QString whole = QStringLiteral("0");
    std::vector<ScaleLabel> out;
    if (!scaleHasValues(contourMin, contourMax, zMin, zMax)) return out;
    const bool computed = zMin <= zMax;
    int quarter[3];
    const double f[3] = {0.25, 0.5, 0.75};
    for (int k = 0; k < 3; ++k) quarter[k] = int(legacy::Int((s.yBottom - s.yTop) * f[k] + s.yTop));
    bool maxMarked = false, minMarked = false;
    const double zMaxInt = legacy::Int(float(zMax));
    const double zMinInt = legacy::Int(float(zMin));
    for (int y = s.yTop; y <= s.yBottom; ++y) {
        const double v = float(scaleRowValue(y, s, contourMin, contourMax));
        if (y == s.yTop) out.push_back({y, Format(float(contourMax), whole), false});
        for (int q : quarter)
            if (y == q) out.push_back({y, Format(v, whole), false});
        if (y == s.yBottom) out.push_back({y, Format(float(contourMin), whole), false});
        if (computed && contourMax > zMax && !maxMarked && legacy::Int(v) == zMaxInt) {
            out.push_back({y, Format(v, whole), true});
            maxMarked = true;
        }
        if (computed && contourMin < zMin && !minMarked && legacy::Int(v) == zMinInt) {
            out.push_back({y, Format(v, whole), true});
            minMarked = true;
        }
    }
    return out;
}
