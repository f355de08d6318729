#include "digitize/PointToolTips.h"

#include "document/Legacy.h"

namespace tooltips {

QString recordedPointTip(DataKind kind, bool datum, int number, const QString& typed, bool feet) {
    if (datum && kind == DataKind::Contacts)
        return QStringLiteral("Contact ") + legacy::Format(legacy::NumVal(typed), QStringLiteral("0")) +
               QStringLiteral(" Datum Point: ") + QString::number(number);
    QString head;
    if (kind == DataKind::Structural)
        head = datum ? QStringLiteral("Structural Datum Point ") : QStringLiteral("Structural Contour Point ");
    else
        head = datum ? QStringLiteral("Isopach Datum Point ") : QStringLiteral("Isopach Contour Point ");
    return head + QString::number(number) + QStringLiteral(": Z = ") + typed +
           (feet ? QStringLiteral(" feet") : QStringLiteral(" meters"));
}

QString pointTip(DataKind kind, bool datum, int number, float z, bool feet) {
    return pointToolTip(kind, datum, number, z, feet);
}

} // namespace tooltips
