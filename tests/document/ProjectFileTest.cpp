// The project file: files written by hand from the layout read and written
// back byte for byte, round trips under every coordinate system, the older
// layout and damaged files.
#include "common/DocumentSupport.h"
#include "common/TestRegistry.h"
#include "common/TestTable.h"
#include "document/Legacy.h"
#include "document/ProjectFile.h"
#include "map/Projections.h"

#include <QTest>
#include <cmath>

namespace pn = projection_names;

namespace {

// Values within 5e-5 of 0 (the reach of five decimals of a degree) show as 0.
QString numbers(std::initializer_list<float> values, QChar sep = u' ') {
    QStringList out;
    for (float v : values) out << QString::number(std::fabs(v) < 5e-5f ? 0.0f : v, 'g', 6);
    return out.join(sep);
}

// "D 1:x,y,z 2:x,y,z": the points of a table, and a size that does not
// match the count.
QString pointsText(const char* tag, const std::vector<DataPoint>& points, int count) {
    QString s = QString::fromLatin1(tag);
    for (int i = 1; i <= count; ++i) {
        const DataPoint& p = points[size_t(i)];
        s += QStringLiteral(" %1:").arg(p.Number) + numbers({p.X, p.Y, p.Z}, u',');
    }
    if (int(points.size()) != (count ? count + 1 : 0)) s += QStringLiteral(" size %1").arg(points.size());
    return s;
}

// What reading gives, on one line: title | map | image size and spans |
// system, older layout, menu clicks | central meridian and parallel,
// standard parallels, scales | origins and reference values | kind, limits,
// contour detail | points | the error and the last part read before it.
QString readText(const QByteArray& bytes, Document* doc = nullptr, ProjectReadState* state = nullptr) {
    Document read;
    ProjectReadState readState;
    Document& d = doc ? *doc : read;
    ProjectReadState& st = state ? *state : readState;
    d = Document();
    d.clearData();
    st = ProjectReadState();
    QString error;
    try {
        readProjectFile(bytes, d, st);
    } catch (const legacy::Error& e) {
        error = e.description() + (st.kindRead           ? " after kind"
                                   : st.registrationRead ? " after registration"
                                   : st.limitsRead       ? " after limits"
                                                         : "");
    }
    static const char* const items[] = {"Linear", "CylEquiDis", "SMerc",   "TMerc", "Ortho", "LmbertAzi",
                                        "AlbersEA", "LambertConf", "Degrees", "Feet",  "Meters"};
    QString system = QString(d.ProjectionName + u':' + d.CoordUnits).replace("\r\n", "/");
    if (st.olderLayout) system += " older";
    for (CoordItem c : st.coordClicks) system += u' ' + QString::fromLatin1(items[int(c)]);
    const QString kind = st.controls.kind ? QString("CSI")[int(*st.controls.kind)] : QChar(u'-');
    const QString limits = kind + u' ' + st.controls.txtMin + u' ' + st.controls.txtMax + u' ';
    return QStringList{d.DataTitle, d.MapFileName,
                       numbers({d.ImageWidthPx, d.ImageHeightPx, d.MapSpanX, d.MapSpanY}), system,
                       numbers({d.CentralMeridian, d.CentralParallel, d.Lat1, d.Lat2, d.ProjScaleX,
                                d.ProjScaleY}),
                       numbers({d.MapOriginX, d.RefMapX1, d.RefMapX2, d.MapOriginY, d.RefMapY1, d.RefMapY2}),
                       limits + QString::number(d.ContourDetail),
                       pointsText("D", d.DatumPoints, d.DatCount) + u' ' +
                           pointsText("C", d.ContourPoints, d.ConCount),
                       error}
        .join(QStringLiteral(" | "));
}

// A round trip: the system written and read, the data kind (-1: none), the
// title written and read, the minimum limit typed and read.
struct Trip {
    QString projection, units, system;
    int kind;
    QString title, readTitle, limit, readLimit;
};

} // namespace

Q_DECLARE_METATYPE(Trip)

class ProjectFileTest : public QObject {
    Q_OBJECT
private slots:
    // Files written by hand (golden.jsonl) read as listed, whatever their
    // line ends, and (but the older layout) are written back byte for byte.
    void golden_data() { docsupport::addJsonRows("golden.jsonl"); }
    void golden() {
        QFETCH(QStringList, c);
        const QByteArray bytes = docsupport::dataFile(c[1]);
        Document d;
        ProjectReadState st;
        QCOMPARE(readText(bytes, &d, &st), c[2]);
        if (!st.olderLayout) QCOMPARE(writeProjectFile(d, st.controls), bytes);
        QCOMPARE(readText(QByteArray(bytes).replace("\r\n", "\n")), c[2]);
        QCOMPARE(readText(QByteArray(bytes).replace("\r\n", "\r")), c[2]);
    }

    // Damaged and older files (read/*.vlm) and every stored coordinate
    // system: how what is read ends.
    void read_data() {
        testsupport::columns<QByteArray, QString>("file", "read");
        const auto row = [](const char* name, const char* read) {
            QTest::newRow(name) << docsupport::dataFile(QStringLiteral("read/%1.vlm").arg(name)) << read;
        };
        // In the older layout the datum table's empty line, header and rule
        // follow the counts even without datum points.
        row("older-no-datum", "Meters older Linear Meters | 0 0 0 0 1 1 | 0 0 0 0 0 0 | I 0 0 50"
                              " | D C 1:5,6,7 2:8,9,10 | ");
        // A table cut after 2 of 5 rows keeps two; the next table reads nothing.
        row("cut-table", "| S 0 0 50 | D 1:20,10,1 2:21,11,2 C | ");
        // What lines 1 to 9 gave before a failure stays.
        row("cut-line-6", "Title, with comma | /m/x.jpg | 10 20 30 40 | Transverse Mercator:Degrees TMerc"
                          " | 0.5 0.25 0 0 100 100 | 1 2 0 0 0 0 | - 1 2 0 | D C"
                          " | Input past end of file after limits");
        // Negative counts hold no table; nothing is sized by them.
        row("negative-counts", "| S 0 0 50 | D C | ");
        // Counts beyond 16 bits and values beyond a Single are errors; a
        // row that does not fit ends its table quietly.
        row("count-overflow", "| S 0 0 0 | D C | Overflow after kind");
        row("limit-overflow", "T | m.jpg | 0 0 0 0 | : | 0 0 0 0 1 1 | 0 0 0 0 0 0 | -   0 | D C | Overflow");
        row("row-overflow", "| S 0 0 50 | D 1:1,1,1 C | ");
        // A conic map whose standard parallels cancel cannot be opened.
        row("cone-failure", "Albers Equal Area Conic:Degrees AlbersEA | 0 0 -0.5 0.5 1 1 | 0 0 0 0 0 0"
                            " | - 0 0 0 | D C | Division by zero after limits");
        // An old file's limit written as typed still keeps the projection item.
        row("word-limit", "Feet Linear Feet | 0 0 0 0 1 1 | 0 0 0 0 0 0 | S 0 5 50 | D C | ");
        // A stray quote takes the following lines into the projection item,
        // which selects no system.
        row("stray-quote", "| Odd, name/ 0 0 0 0 1 1 / 0 0 0 0 0 0 //S/ 0 0 50 //h/=/ 1 10.0 20.0 1.0/"
                           "Lambert Conformal Conic:Degrees  | 0 0 0 0 1 1 | 0 0 0 0 0 0 | - 0 0 0 | D C"
                           " | Input past end of file after limits");
        // The Coordinates menu clicks that restore a stored system.
        const QByteArray head = "T\r\n\r\nM\r\n 1 2 3 4 5 6 ",
                         tail = "\r\n .5 .6 .7 .8 1 1 \r\n 7 8 9 10 11 12 \r\n\r\nS\r\n 0 0 50 \r\n\r\nh\r\n"
                                "=\r\n";
        const QString read = " | 0.5 0.6 0.7 0.8 1 1 | 7 8 9 10 11 12 | S 5 6 50 | D C | ";
        for (const auto& [item, system] :
             {std::pair{"Linear Coordinates", "4 | :"}, {"Linear Coordinates:Yards", "Feet Linear Feet"},
              {"Cylindrical Equidistant:Degrees", "Linear Coordinates:Degrees Linear Degrees"},
              {"Lambert Conformal Conic:Degrees", "Lambert Conformal Conic:Degrees LambertConf"},
              {"Miller Cylindrical:Degrees", "4 | Miller Cylindrical:Degrees"}})
            QTest::newRow(item) << head + item + tail << system + read;
        // A linear map saved under the word Degrees is in degrees while its
        // reference values can be (the origins do not count); values beyond
        // (in Easting/Northing, from before Linear stopped leaving that word)
        // open it in metres.  Only that word of the linear systems is judged.
        const char* const en = "0 352000 358000 0 3998000 3993000";
        for (const auto& [item, refs, system, readRefs] :
             {std::tuple{"Linear Coordinates:Degrees", "5000 -360 360 -4000 -90 90", "Degrees Linear Degrees",
                         "5000 -360 360 -4000 -90 90"},
              {"Linear Coordinates:Degrees", "0 -10 360.0001 0 -10 10", "Meters Linear Meters", "0 -10 360 0 -10 10"},
              {"Linear Coordinates:Degrees", "0 -360.0001 10 0 -10 10", "Meters Linear Meters", "0 -360 10 0 -10 10"},
              {"Linear Coordinates:Degrees", "0 -10 10 0 -90.00001 10", "Meters Linear Meters", "0 -10 10 0 -90 10"},
              {"Linear Coordinates:Degrees", "0 -10 10 0 10 90.00001", "Meters Linear Meters", "0 -10 10 0 10 90"},
              {"Cylindrical Equidistant:Degrees", en, "Meters Linear Meters", en},
              {"Linear Coordinates:Feet", en, "Feet Linear Feet", en},
              {"Transverse Mercator:Degrees", en, "Degrees TMerc", en}}) {
            const QByteArray file = head + item + "\r\n .5 .6 .7 .8 57.29578 57.29578 \r\n " + refs +
                                    " \r\n\r\nS\r\n 0 0 50 \r\n\r\nh\r\n=\r\n";
            QTest::addRow("%s %s", item, refs)
                << file << QString(system) + " | 0.5 0.6 0.7 0.8 57.2958 57.2958 | " +
                               QString(readRefs).replace("3998000 3993000", "3.998e+06 3.993e+06") +
                               " | S 5 6 50 | D C | ";
        }
        // A Mercator's y scale of 1 is an earlier one: y becomes degrees (x 57.29578).
        QTest::newRow("SMerc:Feet") << head + "Standard Mercator:Feet" + tail
                                    << "3 229.183 | Standard Mercator:Degrees SMerc | 0.5 0.6 0.7 0.8 1"
                                       " 57.2958 | 7 8 9 572.958 630.254 687.549 | S 5 6 50 | D C | ";
        // In the older layout line 5 is missing: the origins come at once
        // and the lines after them are out of step.
        const QString older = " | 0 0 0 0 1 1 | 0.5 0.6 0.7 0.8 1 1 | - 5 6 0 | D C | ";
        QTest::newRow("MeTeRs") << head + "MeTeRs" + tail << "Meters older Linear Meters" + older;
        QTest::newRow("FEET") << head + "FEET" + tail << "Linear Coordinates:Feet older Linear Feet" + older;
    }
    void read() {
        QFETCH(QByteArray, file);
        QFETCH(QString, read);
        QCOMPARE(readText(file).right(read.size()), read);
    }

    // A file cut anywhere: in lines 1 to 9 the reading fails, in the tables
    // the rows before the cut stay.  Never a crash.
    void cutAnywhere() {
        const QByteArray full = docsupport::dataFile("tm-degrees.vlm");
        Document all, d;
        ProjectReadState st;
        readText(full, &all, &st);
        for (int len = 0; len < full.size(); ++len) {
            const QString text = readText(full.left(len), &d, &st);
            QVERIFY2(st.countsRead ? text.endsWith(" | ") : text.contains("| Input past end of file"),
                     qPrintable(text));
            QVERIFY(d.DatCount <= 2 && d.ConCount <= 1 && !text.contains(" size "));
            // Rows before the last one read, and all rows at a line end, are whole.
            const bool lineEnd = full.left(len).endsWith("\r\n");
            for (int i = 1; i <= d.DatCount; ++i)
                if (i < d.DatCount || d.ConCount || lineEnd)
                    QCOMPARE(numbers({d.DatumPoints[size_t(i)].X, d.DatumPoints[size_t(i)].Y}),
                             numbers({all.DatumPoints[size_t(i)].X, all.DatumPoints[size_t(i)].Y}));
            if (d.ConCount && lineEnd) QCOMPARE(d.ContourPoints[1].Y, all.ContourPoints[1].Y);
        }
    }

    // Written and read again under every system, with titles of every kind
    // and limits typed in any form: every value comes back (latitudes and
    // longitudes to 5 decimals, map units to 0.1).  A limit is written as its
    // value, so that a typed "12,5" or "abc" cannot move the projection item.
    // A point exactly on the centre of an azimuthal projection comes back
    // there, not at the failed inverse's 0, 0.  Names that read back whole
    // are written, known or not; a damaged one (a comma, a line break, a
    // leading quote or blank) is written empty, so that the file reads back
    // in step with its points.
    void roundTrip_data() {
        QTest::addColumn<Trip>("t");
        const QString lin = pn::Linear, cafe = QString::fromUtf8("Caf\u00e9 \u00d8");
        std::vector<Trip> trips = {
            {lin, "Feet", lin + ":Feet", 1, "\"Quoted\" title", "\"Quoted\" title", "12,5", "12"},
            {lin, "Meters", lin + ":Meters", 2, "  indented", "  indented", "abc", "0"},
            {lin, "Degrees", lin + ":Degrees", 0, "a,b,,c", "a,b,,c", "", "0"},
            {lin, "", lin + ":Feet", -1, "", "", " 7 ", "7"},
            {pn::CylindricalEquidistant, "Degrees", lin + ":Degrees", 1, "two\nlines", "two lines", "2.5e2",
             "250"},
            {"\"Odd, name\r\nline", "Feet, \"x\"", ":", 1, "", "", "0", "0"},
            {"La\"mbert Conformal Conic", "Feet", "La\"mbert Conformal Conic:Feet", 1, "", "", "0", "0"},
            {"Miller", "Feet", "Miller:Feet", 1, "", "", "0", "0"},
            {"\"Lambert Conformal Conic", "Feet", ":Feet", 1, "", "", "0", "0"},
            {" Linear Coordinates", "Feet", ":Feet", 1, "", "", "0", "0"}};
        const char* const limits[][2] = {{"&H10", "16"}, {".125", "0.125"}, {"-0.5", "-0.5"}};
        for (const QString& p : {pn::StandardMercator, pn::TransverseMercator, pn::Orthographic,
                                 pn::LambertAzimuthal, pn::AlbersEqualArea, pn::LambertConformal})
            for (int kind : {0, 1}) {
                const auto& l = limits[trips.size() % 3];
                trips.push_back({p, "Degrees", p + ":Degrees", kind, cafe, cafe, l[0], l[1]});
            }
        for (const Trip& t : trips)
            QTest::newRow(qPrintable(t.projection + ' ' + t.units + ' ' + t.limit)) << t;
    }
    void roundTrip() {
        QFETCH(Trip, t);
        // Around 100 W, 40 N, standard parallels 35 and 45 N, 1000 map
        // units per unit-sphere unit (the Mercators: degrees).
        Document d;
        d.clearData();
        d.ProjectionName = t.projection;
        d.CoordUnits = t.units;
        const bool tm = t.projection == pn::TransverseMercator;
        d.ProjScaleX = tm ? MercatorDegreeScale : 1000;
        d.ProjScaleY = tm || t.projection == pn::StandardMercator ? MercatorDegreeScale : 1000;
        d.CentralMeridian = -1.7453293f;
        d.CentralParallel = 0.6981317f;
        d.Lat1 = 0.6108652f;
        d.Lat2 = 0.7853982f;
        ComputeConeConstants(d);
        d.DataTitle = t.title;
        d.MapFileName = t.title + "/map.jpg";
        d.ContourDetail = 77;
        for (const auto& [field, value] :
             {std::pair{&Document::ImageWidthPx, 3001.0f}, {&Document::MapSpanX, 123.456789f},
              {&Document::MapSpanY, 1e-7f}, {&Document::MapOriginX, -98765.43f},
              {&Document::MapOriginY, 1.5e20f}, {&Document::RefMapY2, 16777217.0f}})
            d.*field = value;
        const bool degrees = t.units == "Degrees";
        // The reference latitude of a map in degrees as typed; one beyond 90
        // would open in metres.
        if (degrees && (t.projection == pn::Linear || t.projection == pn::CylindricalEquidistant))
            d.RefMapY2 = -89.99999f;
        const float step = !degrees ? 1234.5f : d.ProjScaleX == 1000 ? 40 : 2;
        d.DatumPoints.assign(1, DataPoint{});
        d.ContourPoints.assign(1, DataPoint{});
        for (int n = 1; n <= 12; ++n) // point 5 at 0, 0
            (n % 3 ? d.DatumPoints : d.ContourPoints)
                .push_back({int16_t(n), step * float(n % 4 - 1), step * -0.8f * float(n / 4 - 1),
                            t.kind == 0 ? float(n % 4) : float(n) * 2.5f - 20});
        d.DatCount = 8;
        d.ConCount = 4;
        const std::optional<DataKind> kind = t.kind < 0 ? std::nullopt : std::optional(DataKind(t.kind));
        const QByteArray bytes = writeProjectFile(d, {t.limit, "1e3", kind});
        Document r;
        ProjectReadState st;
        QVERIFY(readText(bytes, &r, &st).endsWith(" | "));
        QCOMPARE(r.ProjectionName + ':' + r.CoordUnits, t.system);
        QVERIFY(st.controls.kind == kind && !st.olderLayout);
        QCOMPARE(st.controls.txtMin + ' ' + st.controls.txtMax, t.readLimit + " 1000");
        QCOMPARE(r.DataTitle + ' ' + r.MapFileName, t.readTitle + ' ' + t.readTitle + "/map.jpg");
        for (auto table : {&Document::DatumPoints, &Document::ContourPoints})
            for (size_t i = 1; i < (d.*table).size(); ++i) {
                const DataPoint &a = (d.*table)[i], &b = (r.*table)[i];
                const float near = degrees ? 5e-4f : 0.051f;
                QVERIFY2(a.Number == b.Number && std::fabs(a.X - b.X) <= near &&
                             std::fabs(a.Y - b.Y) <= near && std::fabs(a.Z - b.Z) <= 0.05f,
                         qPrintable(numbers({float(a.Number), a.X, a.Y, a.Z, b.X, b.Y, b.Z})));
            }
        // Written again the same: lines 1 to 9 (but where a cylindrical map
        // continues as linear), so every value of them came back exactly, and
        // in map units the whole file.
        const QByteArrayList again = writeProjectFile(r, st.controls).split('\n'), first = bytes.split('\n');
        for (qsizetype i = 0; i < (degrees ? 9 : first.size()); ++i)
            QCOMPARE(again[i].left(i == 3 ? 84 : -1), first[i].left(i == 3 ? 84 : -1));
    }
};

VEX_TEST(ProjectFileTest);
#include "ProjectFileTest.moc"
