// Latitude and longitude display text and the degree format submenu.
#include "map/LatLongText.h"

#include "document/Document.h"
#include "document/Legacy.h"

#include <cmath>

namespace {

const QChar DegreeSign(0x00B0);

QString formLatLongText(const QString& code, double Value, bool IsLong, bool Longitude360) {
    float v = legacy::ToSingle(Value);

    // One correction at most; the boundary values themselves stay.
    if (!IsLong) {
        if (v > 90.0f) v = v - 180.0f;
        else if (v < -90.0f) v = v + 180.0f;
    } else if (Longitude360) {
        if (v < 0.0f) v = v + 360.0f;
        else if (v > 360.0f) v = v - 360.0f;
    } else {
        if (v < -180.0f) v = v + 360.0f;
        else if (v > 180.0f) v = v - 360.0f;
    }

    const float a = std::fabs(v);
    // Whole degrees are a 16-bit Integer: 32768 and beyond overflow.
    const int16_t d = legacy::CInt(legacy::Int(a));
    // Minutes with their fraction, as a Single.
    const float m = (a - float(d)) * 60.0f;
    const int mi = int(legacy::Int(m));
    // Seconds are truncated, not rounded.
    const int s = int(legacy::Int((m - float(mi)) * 60.0f));

    QString text;
    if (code == latlong_codes::DegMin) {
        text = QString::number(d) + DegreeSign + u' ' + legacy::Format(m, QStringLiteral("0.00")) + u'\'';
    } else if (code == latlong_codes::DegMinSec) {
        text = QString::number(d) + DegreeSign + u' ' + QString::number(mi) + u'\'' + u' ' + QString::number(s) +
               QStringLiteral("''");
    } else if (code == latlong_codes::Decimal1) {
        text = legacy::Format(a, QStringLiteral("0.0")) + DegreeSign;
    } else if (code == latlong_codes::Decimal2) {
        text = legacy::Format(a, QStringLiteral("0.00")) + DegreeSign;
    } else if (code == latlong_codes::Decimal3) {
        text = legacy::Format(a, QStringLiteral("0.000")) + DegreeSign;
    } else {
        text = legacy::Format(a, QStringLiteral("0.0000")) + DegreeSign;
    }

    if (IsLong) text += v >= 0.0f ? QStringLiteral(" E") : QStringLiteral(" W");
    else text += v >= 0.0f ? QStringLiteral(" N") : QStringLiteral(" S");
    return text;
}

} // namespace

QString FormatLatLong(Document& doc, double Value, bool IsLong, bool Longitude360) {
    doc.ProjectionFailed = false;
    try {
        return formLatLongText(doc.LatLongFormat, Value, IsLong, Longitude360);
    } catch (const legacy::Error&) {
        doc.ProjectionFailed = true;
        return QStringLiteral("0");
    }
}

QString latLongFormatCode(DegreeFormatItem item) {
    switch (item) {
    case DegreeFormatItem::DegMin: return latlong_codes::DegMin;
    case DegreeFormatItem::DegMinSec: return latlong_codes::DegMinSec;
    case DegreeFormatItem::Decimal1: return latlong_codes::Decimal1;
    case DegreeFormatItem::Decimal2: return latlong_codes::Decimal2;
    case DegreeFormatItem::Decimal3: return latlong_codes::Decimal3;
    case DegreeFormatItem::Decimal4: break;
    }
    return latlong_codes::Decimal4;
}

DegreeFormatItem degreeFormatItemForCode(const QString& code) {
    if (code == latlong_codes::DegMin) return DegreeFormatItem::DegMin;
    if (code == latlong_codes::DegMinSec) return DegreeFormatItem::DegMinSec;
    if (code == latlong_codes::Decimal1) return DegreeFormatItem::Decimal1;
    if (code == latlong_codes::Decimal2) return DegreeFormatItem::Decimal2;
    if (code == latlong_codes::Decimal3) return DegreeFormatItem::Decimal3;
    return DegreeFormatItem::Decimal4;
}

void tickDegreeFormatItem(DegreeFormatMenuState& menu, DegreeFormatItem item) {
    menu.mnuViewLatLongDegMin = item == DegreeFormatItem::DegMin;
    menu.mnuViewLatLongDegMinSec = item == DegreeFormatItem::DegMinSec;
    menu.mnuViewLatLongDecimal1 = item == DegreeFormatItem::Decimal1;
    menu.mnuViewLatLongDecimal2 = item == DegreeFormatItem::Decimal2;
    menu.mnuViewLatLongDecimal3 = item == DegreeFormatItem::Decimal3;
    menu.mnuViewLatLongDecimal4 = item == DegreeFormatItem::Decimal4;
}

void applyDegreeFormatClick(DegreeFormatMenuState& menu, QString& LatLongFormat, DegreeFormatItem item) {
    LatLongFormat = latLongFormatCode(item);
    tickDegreeFormatItem(menu, item);
}

void applyLongitude360Click(DegreeFormatMenuState& menu) { menu.mnuViewLatLong360 = !menu.mnuViewLatLong360; }
