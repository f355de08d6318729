#include "exchange/ExportFormat.h"

#include "document/Legacy.h"
#include "map/CoordinateMenu.h"
#include "map/Projections.h"
#include "platform/FileService.h"

using namespace legacy;
namespace pn = projection_names;

namespace exportfmt {

namespace {

bool degrees(const Document& doc) { return doc.CoordUnits == coord_units::Degrees; }

QString columnTitle(QChar c, const Document& doc, const QString& dataText) {
    if (c == u'x') return degrees(doc) ? QStringLiteral("Long.") : QStringLiteral("East.");
    if (c == u'y') return degrees(doc) ? QStringLiteral("Lat.") : QStringLiteral("North.");
    return dataText;
}

} // namespace

bool isRowCode(const QString& code) {
    static const QStringList codes{QStringLiteral("xyz"), QStringLiteral("yxz"), QStringLiteral("zxy"),
                                   QStringLiteral("zyx"), QStringLiteral("xy0"), QStringLiteral("yx0")};
    return codes.contains(code);
}

QByteArray gridExportText(Document& doc) {
    const PointGrid& grid = doc.ContourGrid;
    QStringList lines;
    const QString f = QStringLiteral("0.0");
    const bool inDegrees = degrees(doc);
    const QString xy = inDegrees ? QStringLiteral("0.00000") : f;
    for (int i = 1; i <= doc.GridCols && i <= grid.cols(); ++i)
        for (int j = 1; j <= doc.GridRows && j <= grid.rows(); ++j) {
            if (!grid.computed(i, j)) continue;
            const DataPoint& n = grid.at(i, j);
            double x = n.X, y = n.Y;
            if (inDegrees && !exportedXY(doc, n, x, y)) continue;
            lines << PrintZoneLine().text(Format(x, xy)).text(Format(y, xy)).text(Format(n.Z, f)).str();
        }
    doc.ProjectionFailed = false;
    return joinLinesCrLf(lines);
}

bool exportedXY(Document& doc, const DataPoint& p, double& x, double& y) {
    const QString& name = doc.ProjectionName;
    x = p.X;
    y = p.Y;
    if (name == pn::StandardMercator) {
        y = ProjectMercator(doc, p.Y, false);
        return !doc.ProjectionFailed;
    }
    if (const TwoCoordProjection proc = twoCoordProjection(name)) {
        x = proc(doc, p.X, p.Y, false, true);
        const bool xFailed = doc.ProjectionFailed;
        y = proc(doc, p.X, p.Y, false, false);
        return !xFailed && !doc.ProjectionFailed;
    }
    return true;
}

QStringList headerLines(const Document& doc, const PointExportOptions& o) {
    const QString file = FileService::SplitPath(doc.DataFileName, false);
    if (file.size() < 4) raise(ErrorCode::InvalidCall);
    QString title = file.left(file.size() - 4) + QStringLiteral(" Exported Data: ");
    if (o.contacts) {
        if (o.contact) title += o.dataText + u' ' + *o.contact;
        else if (o.dataText != QStringLiteral("Data")) title += QStringLiteral("All ") + o.dataText + QStringLiteral("(s)");
        else title += QStringLiteral("All ") + o.dataText;
    }
    QStringList lines{title, QString()};
    if (isRowCode(o.columnOrder)) {
        PrintZoneLine titles;
        for (const QChar c : o.columnOrder)
            if (c != u'0') titles.text(columnTitle(c, doc, o.dataText));
        lines << titles.str() << QString(o.columnOrder.endsWith(u'0') ? 24 : 39, u'=');
    }
    lines << QString();
    return lines;
}

QString pointRow(const Document& doc, const PointExportOptions& o, double x, double y, float z) {
    if (!isRowCode(o.columnOrder)) return {};
    const QString xy = degrees(doc) ? QStringLiteral("0.00000") : QStringLiteral("0.00");
    const QString zf = o.contacts ? QStringLiteral("0") : QStringLiteral("0.00");
    QStringList values;
    for (const QChar c : o.columnOrder) {
        if (c == u'x') values << Format(x, xy);
        else if (c == u'y') values << Format(y, xy);
        else if (c == u'z') values << Format(z, zf);
    }
    if (!o.tab) return values.join(QStringLiteral(", "));
    PrintZoneLine line;
    for (const QString& v : values) line.text(v);
    return line.str();
}

QStringList buildPointExport(Document& doc, const PointExportOptions& o) {
    QStringList lines;
    if (o.header) lines << headerLines(doc, o);
    if (!isRowCode(o.columnOrder)) return lines;
    const float contactValue = o.contact ? NumVal(*o.contact) : 0.0f;
    const int total = doc.DatCount + doc.ConCount;
    for (int n = 1; n <= total; ++n) {
        const bool datum = n <= doc.DatCount;
        const DataPoint& p = datum ? doc.DatumPoints.at(size_t(n)) : doc.ContourPoints.at(size_t(n - doc.DatCount));
        // A contact document holds datum points only; a contour point there
        // belongs to no contact and is left out of a one-contact export.
        if (o.contacts && o.contact && (!datum || p.Z != contactValue)) continue;
        double x = 0, y = 0;
        exportedXY(doc, p, x, y);
        lines << pointRow(doc, o, x, y, p.Z);
    }
    return lines;
}

} // namespace exportfmt
