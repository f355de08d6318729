// Project file writer and reader.  Both go item by item through the legacy
// line and item rules, so files written by the earlier versions still open
// and the files written here open there.
#include "document/ProjectFile.h"

#include "document/Legacy.h"
#include "map/Projections.h"

#include <QStringList>
#include <cmath>

using namespace legacy;
namespace pn = projection_names;

namespace {

// The rule under each table header.
const QString kRule = QString(54, u'=');

// Titles and paths are written bare on a line of their own; a line break
// inside one would cut the file's layout.
QString oneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// The projection item is read as a text item: a comma or a line end ends
// it, a leading double quote makes it a quoted item and leading blanks are
// dropped.  The names the menus set never hold those.  A name read from a
// damaged file may; it selects no system, and is written as an empty name
// (which selects none either) so that the file still reads in step.
bool writableName(const QString& text, bool first) {
    if (text.contains(u',') || text.contains(u'\r') || text.contains(u'\n')) return false;
    return !first || text.isEmpty() || (text[0] != u'"' && text[0] != u' ' && text[0] != u'\t');
}

QString projectionItem(const QString& name, const QString& units) {
    return (writableName(name, true) ? name : QString()) + u':' + (writableName(units, false) ? units : QString());
}

bool isAzimuthal(const QString& name) { return name == pn::Orthographic || name == pn::LambertAzimuthal; }


// Latitude and longitude of a point as it is written under "Degrees".
void latLongOf(Document& doc, const DataPoint& p, float& lat, float& lon) {
    const QString& name = doc.ProjectionName;
    if (name == pn::StandardMercator) {
        lat = ProjectMercator(doc, p.Y, false);
        lon = p.X;
        return;
    }
    if (const TwoCoordProjection proc = twoCoordProjection(name)) {
        lat = proc(doc, p.X, p.Y, false, false);
        const bool latFailed = doc.ProjectionFailed;
        lon = proc(doc, p.X, p.Y, false, true);
        // The azimuthal inverses divide by the distance from the centre, so
        // a point exactly on the centre fails and would come back as 0, 0.
        // Its position is the projection's centre.
        if ((latFailed || doc.ProjectionFailed) && isAzimuthal(name) && p.X == 0 && p.Y == 0) {
            lat = float(DegRad(doc.CentralParallel, false));
            lon = float(DegRad(doc.CentralMeridian, false));
        }
        return;
    }
    lat = p.Y;
    lon = p.X;
}

// Map units of a point read as latitude/longitude.
void mapUnitsOf(Document& doc, DataPoint& p) {
    const QString& name = doc.ProjectionName;
    if (name == pn::StandardMercator) {
        p.Y = ProjectMercator(doc, p.Y, true);
        return;
    }
    if (const TwoCoordProjection proc = twoCoordProjection(name)) {
        const float y = proc(doc, p.X, p.Y, true, false);
        const float x = proc(doc, p.X, p.Y, true, true);
        p.X = x;
        p.Y = y;
    }
}

enum class Table { Datum, Contour };

void writeTable(QStringList& lines, Document& doc, Table table, bool contacts) {
    const bool degrees = doc.CoordUnits == coord_units::Degrees;
    const std::vector<DataPoint>& points = table == Table::Datum ? doc.DatumPoints : doc.ContourPoints;
    const int count = table == Table::Datum ? doc.DatCount : doc.ConCount;

    lines << QString();
    PrintZoneLine header;
    if (table == Table::Datum) {
        header.text(QStringLiteral("Datum"));
        if (degrees)
            header.text(QStringLiteral("Latitude")).text(QStringLiteral(" Longitude"))
                .text(contacts ? QStringLiteral("Unit") : QStringLiteral("Z"));
        else
            header.text(QStringLiteral("Northing")).text(QStringLiteral(" Easting"))
                .text(contacts ? QStringLiteral("  Unit ") : QStringLiteral("  Z"));
    } else {
        header.text(QStringLiteral("Contour"));
        if (degrees)
            header.text(QStringLiteral("Latitude ")).text(QStringLiteral(" Longitude")).text(QStringLiteral("Z"));
        else
            header.text(QStringLiteral("Northing")).text(QStringLiteral(" Easting ")).text(QStringLiteral("  Z"));
    }
    lines << header.str() << PrintZoneLine().text(kRule).str();

    const bool generalZ = table == Table::Datum && contacts;
    for (int i = 1; i <= count; ++i) {
        const DataPoint& p = points.at(size_t(i));
        QString first, second;
        if (degrees) {
            float lat = 0, lon = 0;
            latLongOf(doc, p, lat, lon);
            first = Format(lat, QStringLiteral("0.00000"));
            second = Format(lon, QStringLiteral("0.00000"));
        } else {
            first = Format(p.Y, QStringLiteral("0.0"));
            second = Format(p.X, QStringLiteral("0.0"));
        }
        const QString z = generalZ ? GeneralText(p.Z) : Format(p.Z, QStringLiteral("0.0"));
        lines << PrintZoneLine().integer(p.Number).text(first).text(second).text(z).str();
    }
}

// The Coordinates menu clicks that restore a stored system, and whether the
// item marks the older layout.
std::vector<CoordItem> restoreClicks(const QString& item, const QString& name, const QString& units,
                                     bool& older) {
    older = false;
    if (item.compare(u"meters", Qt::CaseInsensitive) == 0) {
        older = true;
        return {CoordItem::Linear, CoordItem::Meters};
    }
    if (item.compare(u"feet", Qt::CaseInsensitive) == 0) {
        older = true;
        return {CoordItem::Linear, CoordItem::Feet};
    }
    const std::optional<CoordItem> projection = reselectProjectionItem(name);
    if (!projection) return {};
    if (*projection == CoordItem::Linear) return {CoordItem::Linear, reselectUnitsItem(units)};
    return {*projection};
}

// Whether the reference values of a linear map can be degrees: no latitude
// beyond 90 degrees north or south, no longitude beyond 360 east or west.
// Linear once left the units "Degrees" when chosen after a projection, and
// the map was then registered in Easting/Northing and saved under that word;
// such values are far beyond.
bool referencesInDegrees(const Document& doc) {
    const auto within = [](float v, float limit) { return std::fabs(v) <= limit; };
    return within(doc.RefMapY1, 90) && within(doc.RefMapY2, 90) && within(doc.RefMapX1, 360) &&
           within(doc.RefMapX2, 360);
}

float readSingle(FieldReader& r) { return ToSingle(r.readNumber()); }
int16_t readInteger(FieldReader& r) { return CInt(r.readNumber()); }

// Reads one table of `count` rows into `points`; returns the number of rows
// read completely.  Unless `strict`, nothing here is reported: the first row
// that fails ends the table.
int readTable(FieldReader& r, Document& doc, std::vector<DataPoint>& points, int count, bool older,
              bool skipHeader, bool strict) {
    points.assign(size_t(count) + 1, DataPoint{});
    int done = 0;
    try {
        if (skipHeader)
            for (int k = 0; k < 3; ++k) r.readText();
        for (int i = 1; i <= count; ++i) {
            DataPoint p;
            p.Number = readInteger(r);
            if (older) {
                p.X = readSingle(r);
                p.Y = readSingle(r);
            } else {
                p.Y = readSingle(r);
                p.X = readSingle(r);
            }
            p.Z = readSingle(r);
            if (!older) mapUnitsOf(doc, p);
            points[size_t(i)] = p;
            done = i;
        }
    } catch (const Error&) {
        if (strict) throw;
        // The table ends here; the rows before stay.
    }
    if (done == 0) points.clear();
    else points.resize(size_t(done) + 1);
    return done;
}

} // namespace

QString dataKindLine(std::optional<DataKind> kind) {
    if (!kind) return QStringLiteral("Data point type not specified:");
    switch (*kind) {
    case DataKind::Contacts: return QStringLiteral("Contact datum points detail:");
    case DataKind::Structural: return QStringLiteral("Structural datum/contour points and contour detail:");
    case DataKind::Isopach: break;
    }
    return QStringLiteral("Isopach datum/contour points and contour detail:");
}

std::optional<DataKind> dataKindOf(const QString& line) {
    if (line.startsWith(u'C')) return DataKind::Contacts;
    if (line.startsWith(u'S')) return DataKind::Structural;
    if (line.startsWith(u'I')) return DataKind::Isopach;
    return std::nullopt;
}

QByteArray writeProjectFile(Document& doc, const ProjectControls& controls) {
    QStringList lines;
    lines << oneLine(doc.DataTitle) << QString() << oneLine(doc.MapFileName);
    // The limits are written as their values: a typed "12,5" or "abc" would
    // otherwise put the reader out of step and lose the coordinate system.
    lines << PrintZoneLine()
                 .number(doc.ImageWidthPx)
                 .number(doc.ImageHeightPx)
                 .number(doc.MapSpanX)
                 .number(doc.MapSpanY)
                 .text(GeneralText(NumVal(controls.txtMin)))
                 .text(GeneralText(NumVal(controls.txtMax)))
                 .text(projectionItem(doc.ProjectionName, doc.CoordUnits))
                 .str();
    lines << PrintZoneLine()
                 .number(doc.CentralMeridian)
                 .number(doc.CentralParallel)
                 .number(doc.Lat1)
                 .number(doc.Lat2)
                 .number(doc.ProjScaleX)
                 .number(doc.ProjScaleY)
                 .str();
    lines << PrintZoneLine()
                 .number(doc.MapOriginX)
                 .number(doc.RefMapX1)
                 .number(doc.RefMapX2)
                 .number(doc.MapOriginY)
                 .number(doc.RefMapY1)
                 .number(doc.RefMapY2)
                 .str();
    lines << QString() << dataKindLine(controls.kind);
    lines << PrintZoneLine().integer(doc.DatCount).integer(doc.ConCount).integer(doc.ContourDetail).str();
    const bool contacts = controls.kind == DataKind::Contacts;
    if (doc.DatCount >= 1) writeTable(lines, doc, Table::Datum, contacts);
    if (doc.ConCount >= 1) writeTable(lines, doc, Table::Contour, contacts);
    return joinLinesCrLf(lines);
}

void readProjectFile(const QByteArray& bytes, Document& doc, ProjectReadState& st, Document* rowSystem) {
    FieldReader r(decodeText(bytes));

    // Lines 1 and 3 are read whole, so that a title or a folder with a comma
    // in it comes back complete (files written earlier read the same).
    doc.DataTitle = r.readLine();
    r.readText();
    doc.MapFileName = r.readLine();
    doc.ImageWidthPx = readSingle(r);
    doc.ImageHeightPx = readSingle(r);
    doc.MapSpanX = readSingle(r);
    doc.MapSpanY = readSingle(r);
    const float limitMin = readSingle(r);
    const float limitMax = readSingle(r);
    st.projectionItem = r.readText();
    st.controls.txtMin = GeneralText(limitMin);
    st.controls.txtMax = GeneralText(limitMax);
    st.limitsRead = true;

    const qsizetype colon = st.projectionItem.indexOf(u':');
    if (colon >= 0) {
        doc.ProjectionName = st.projectionItem.left(colon);
        doc.CoordUnits = st.projectionItem.mid(colon + 1);
    }
    st.coordClicks = restoreClicks(st.projectionItem, doc.ProjectionName, doc.CoordUnits, st.olderLayout);
    const QString storedName = doc.ProjectionName, storedUnits = doc.CoordUnits;
    // The names as the clicks leave them, from the names stored.
    const auto clickNames = [&] {
        if (st.coordClicks.empty()) return;
        CoordMenuState menu;
        clearCoordMenu(menu);
        menu.ProjectionName = storedName;
        menu.CoordUnits = storedUnits;
        for (const CoordItem click : st.coordClicks) applyCoordClick(menu, click);
        doc.ProjectionName = menu.ProjectionName;
        doc.CoordUnits = menu.CoordUnits;
    };
    clickNames();

    if (!st.olderLayout) {
        doc.CentralMeridian = readSingle(r);
        doc.CentralParallel = readSingle(r);
        doc.Lat1 = readSingle(r);
        doc.Lat2 = readSingle(r);
        doc.ProjScaleX = readSingle(r);
        doc.ProjScaleY = readSingle(r);
    }
    doc.MapOriginX = readSingle(r);
    doc.RefMapX1 = readSingle(r);
    doc.RefMapX2 = readSingle(r);
    doc.MapOriginY = readSingle(r);
    doc.RefMapY1 = readSingle(r);
    doc.RefMapY2 = readSingle(r);
    if (st.coordClicks == std::vector{CoordItem::Linear, CoordItem::Degrees} && !referencesInDegrees(doc)) {
        st.coordClicks.back() = CoordItem::Meters;
        clickNames();
    }
    if (doc.ProjectionName == pn::AlbersEqualArea || doc.ProjectionName == pn::LambertConformal)
        ComputeConeConstants(doc);
    if (!st.olderLayout) st.unitFactors = adoptPresentMercatorUnits(doc);
    st.registrationRead = true;

    r.readText();
    st.controls.kind = dataKindOf(r.readText());
    st.kindRead = true;
    r.setStrictNumbers(st.strictTables);

    const int datCount = readInteger(r);
    const int conCount = readInteger(r);
    doc.ContourDetail = readInteger(r);
    if (st.olderLayout)
        for (int k = 0; k < 3; ++k) r.readText();
    st.countsRead = true;
    st.declaredDatCount = datCount;
    st.declaredConCount = conCount;
    Document& rows = rowSystem ? *rowSystem : doc;

    // A count below zero (a damaged file) holds no table.
    doc.DatCount = datCount >= 1 ? readTable(r, rows, doc.DatumPoints, datCount, st.olderLayout, !st.olderLayout,
                                             st.strictTables)
                                 : 0;
    doc.ConCount =
        conCount >= 1 ? readTable(r, rows, doc.ContourPoints, conCount, st.olderLayout, true, st.strictTables) : 0;
}
