// Marker placement and marker texts of the map redraw.
#include "map/MarkerPlacement.h"

#include "document/Document.h"
#include "document/Legacy.h"
#include "map/LatLongText.h"
#include "map/Projections.h"
#include "map/CoordinateMenu.h"

#include <charconv>
#include <cmath>

using legacy::Div;
namespace pn = projection_names;

MarkerTransform::MarkerTransform(const Document& doc, double picLeft, double picTop, double W, double H)
    : m_originX(doc.MapOriginX),
      m_originY(doc.MapOriginY),
      m_kx(Div(W, doc.MapSpanX)),
      m_ky(Div(H, doc.MapSpanY)),
      m_left(picLeft),
      m_top(picTop) {}

double MarkerTransform::left(double mapX, double offX) const {
    return legacy::ToSingle((mapX - m_originX) * m_kx + (m_left - offX));
}

double MarkerTransform::top(double mapY, double offY) const {
    return legacy::ToSingle((m_originY - mapY) * m_ky + (m_top - offY));
}

std::optional<QString> referenceToolTip(Document& doc, int point, bool longitude360) {
    const float x = point == 1 ? doc.RefMapX1 : doc.RefMapX2;
    const float y = point == 1 ? doc.RefMapY1 : doc.RefMapY2;
    const QString head = QStringLiteral("Reference Point ") + QString::number(point) + QStringLiteral(": ");
    if (doc.CoordUnits != coord_units::Degrees) {
        return head + QStringLiteral("N = ") + legacy::Format(y, QStringLiteral("0")) + QStringLiteral("; E = ") +
               legacy::Format(x, QStringLiteral("0"));
    }
    const QString& name = doc.ProjectionName;
    double lon = x, lat = y;
    if (name == pn::CylindricalEquidistant || name == pn::Linear) {
        // The stored values are degrees.
    } else if (name == pn::StandardMercator) {
        lat = ProjectMercator(doc, y, false);
    } else {
        const TwoCoordProjection p = twoCoordProjection(name);
        if (!p) return std::nullopt;
        lon = p(doc, x, y, false, true);
        lat = p(doc, x, y, false, false);
    }
    return head + FormatLatLong(doc, lon, true, longitude360) + QStringLiteral(";  ") +
           FormatLatLong(doc, lat, false, longitude360);
}

void PointTipText::add(QLatin1StringView s) {
    for (const char c : s) m_buf[m_len++] = char16_t(uchar(c));
}

void PointTipText::addInt(long long v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    add(QLatin1StringView(buf, res.ptr - buf));
}

// Format(z, "0") of a Single: a whole number, halves away from zero.  A
// Single holds no value within rounding distance of a half other than the
// half itself, so plain rounding agrees with the decimal rule below 1e15;
// the rest, and "-0" for a negative value that rounds to zero, go the
// general way.
void PointTipText::addWhole(float z) {
    const double r = std::round(double(z));
    if (r != 0 && std::fabs(r) < 1e15) {
        addInt(static_cast<long long>(r));
        return;
    }
    const QString t = legacy::Format(z, QStringLiteral("0"));
    for (const QChar c : t) m_buf[m_len++] = c.unicode();
}

void PointTipText::build(DataKind kind, bool datum, int number, float z, bool feet) {
    m_len = 0;
    if (datum && kind == DataKind::Contacts) {
        add(QLatin1StringView("Contact "));
        addWhole(z);
        add(QLatin1StringView(" Datum Point: "));
        addInt(number);
        return;
    }
    if (datum) {
        // The redraw's own spelling of the structural datum text.
        add(kind == DataKind::Structural ? QLatin1StringView("Stuctural Datum Point ")
                                         : QLatin1StringView("Isopach Datum Point "));
    } else {
        add(kind == DataKind::Structural ? QLatin1StringView("Structural Contour Point ")
                                         : QLatin1StringView("Isopach Contour Point "));
    }
    addInt(number);
    add(QLatin1StringView(": Z = "));
    addWhole(z);
    add(feet ? QLatin1StringView(" feet") : QLatin1StringView(" meters"));
}

QString pointToolTip(DataKind kind, bool datum, int number, float z, bool feet) {
    PointTipText t;
    t.build(kind, datum, number, z, feet);
    return t.view().toString();
}

QString pointsLineText(DataKind kind, const QString& ContactShown, int DatCount, int ConCount) {
    if (kind == DataKind::Contacts) {
        if (ContactShown == QLatin1String("All")) return QStringLiteral("All Contact Points");
        return QStringLiteral("Contact ") + ContactShown + QStringLiteral(": Points");
    }
    const qint32 total = qint32(ConCount) + qint32(DatCount);
    return QString::number(total) + QStringLiteral(" Contour and Datum Points");
}

QString modeStatusText(DataKind kind, const QString& DataTitle) {
    return QStringLiteral("Vexolan: ") + DataTitle +
           (kind == DataKind::Contacts
                ? QStringLiteral(" (Left-click map to add contact points; right click to edit points)")
                : QStringLiteral(" (Left-click map to add contour points; right click to edit points)"));
}
