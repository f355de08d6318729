#include "digitize/PointToolTips.h"

#include "document/Legacy.h"

namespace tooltips {

QString unitText(bool feet) { return feet ? QStringLiteral(" feet") : QStringLiteral(" meters"); }

namespace {
QString contactTip(const QString& z, int number) {
    return QStringLiteral("Contact ") + z + QStringLiteral(" Datum Point: ") + QString::number(number);
}
} // namespace

QString recordedPointTip(DataKind kind, bool datum, int number, const QString& typed, bool feet) {
    if (datum && kind == DataKind::Contact)
        return contactTip(legacy::Format(legacy::NumVal(typed), QStringLiteral("0")), number);
    QString head;
    if (kind == DataKind::Structural)
        head = datum ? QStringLiteral("Structural Datum Point ") : QStringLiteral("Structural Contour Point ");
    else
        head = datum ? QStringLiteral("Isopach Datum Point ") : QStringLiteral("Isopach Contour Point ");
    return head + QString::number(number) + QStringLiteral(": Z = ") + typed + unitText(feet);
}

QString pointTip(DataKind kind, bool datum, int number, float z, bool feet) {
    const QString zText = legacy::Format(z, QStringLiteral("0"));
    if (datum && kind == DataKind::Contact) return contactTip(zText, number);
    QString head;
    if (kind == DataKind::Structural)
        head = datum ? QStringLiteral("Stuctural Datum Point ") : QStringLiteral("Structural Contour Point ");
    else
        head = datum ? QStringLiteral("Isopach Datum Point ") : QStringLiteral("Isopach Contour Point ");
    return head + QString::number(number) + QStringLiteral(": Z = ") + zText + unitText(feet);
}

} // namespace tooltips
