// The project file: byte-exact files written by hand from the layout, round
// trips under every coordinate system, the older layout and damaged files.
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "document/ProjectFile.h"
#include "map/Projections.h"

#include <QTest>
#include <cmath>
#include <functional>

namespace pn = projection_names;

namespace {

QByteArray crlf(std::initializer_list<const char*> lines) {
    QByteArray out;
    for (const char* l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

const char* const kRule = "======================================================";

DataPoint pt(int number, float x, float y, float z) {
    DataPoint p;
    p.Number = int16_t(number);
    p.X = x;
    p.Y = y;
    p.Z = z;
    return p;
}

void setDatum(Document& d, std::vector<DataPoint> pts) {
    d.DatCount = int(pts.size());
    d.DatumPoints = {DataPoint{}};
    d.DatumPoints.insert(d.DatumPoints.end(), pts.begin(), pts.end());
}

void setContour(Document& d, std::vector<DataPoint> pts) {
    d.ConCount = int(pts.size());
    d.ContourPoints = {DataPoint{}};
    d.ContourPoints.insert(d.ContourPoints.end(), pts.begin(), pts.end());
}

Document freshDoc() {
    Document d;
    d.clearData();
    d.ContourDetail = 50;
    return d;
}

// A data kind coded as a number in test tables: -1 for none.
std::optional<DataKind> kindOf(int code) {
    if (code < 0) return std::nullopt;
    return DataKind(code);
}

// Reads into a reset document; the error, if any, goes to *error.
Document readBack(const QByteArray& bytes, ProjectReadState& st, QString* error = nullptr) {
    Document d = freshDoc();
    d.ContourDetail = 0;
    try {
        readProjectFile(bytes, d, st);
    } catch (const legacy::Error& e) {
        if (error) *error = e.description();
        else QTest::qFail(qPrintable("unexpected read error: " + e.description()), __FILE__, __LINE__);
    }
    return d;
}

// Shows the first differing line when two files differ.
void compareFiles(const QByteArray& actual, const QByteArray& expected) {
    if (actual == expected) return;
    const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
    for (int i = 0; i < std::max(a.size(), e.size()); ++i) {
        const QByteArray la = i < a.size() ? a[i] : "<none>", le = i < e.size() ? e[i] : "<none>";
        if (la != le) {
            qWarning("line %d\n  got:      [%s]\n  expected: [%s]", i + 1, la.constData(), le.constData());
            break;
        }
    }
    QFAIL("files differ");
}

// A document registered under a projection around 100 W, 40 N, standard
// parallels 35 and 45 N, 1000 map units per unit-sphere unit (the
// Mercators: degrees, as a registration gives them).
Document projected(const QString& name, const QString& units) {
    Document d = freshDoc();
    d.ProjectionName = name;
    d.CoordUnits = units;
    const bool transverse = name == pn::TransverseMercator;
    d.ProjScaleX = transverse ? MercatorDegreeScale : 1000;
    d.ProjScaleY = transverse || name == pn::StandardMercator ? MercatorDegreeScale : 1000;
    d.CentralMeridian = float(DegRad(-100, true));
    d.CentralParallel = float(DegRad(40, true));
    d.Lat1 = float(DegRad(35, true));
    d.Lat2 = float(DegRad(45, true));
    ComputeConeConstants(d);
    return d;
}

// Map units of a latitude/longitude under the document's projection.
void forward(Document& d, double lon, double lat, float& x, float& y) {
    const QString& p = d.ProjectionName;
    using P = float (*)(Document&, double, double, bool, bool);
    P proc = nullptr;
    if (p == pn::TransverseMercator) proc = &ProjectTransverseMercator;
    if (p == pn::Orthographic) proc = &ProjectOrthographic;
    if (p == pn::LambertAzimuthal) proc = &ProjectLambertAzimuthal;
    if (p == pn::AlbersEqualArea) proc = &ProjectAlbersEqualArea;
    if (p == pn::LambertConformal) proc = &ProjectLambertConformal;
    if (p == pn::StandardMercator) {
        x = float(lon);
        y = ProjectMercator(d, lat, true);
    } else if (proc) {
        x = proc(d, lon, lat, true, true);
        y = proc(d, lon, lat, true, false);
    } else {
        x = float(lon);
        y = float(lat);
    }
    QVERIFY(!d.ProjectionFailed);
}

void inverse(Document& d, float x, float y, double& lon, double& lat) {
    const QString& p = d.ProjectionName;
    if (p == pn::StandardMercator) {
        lon = x;
        lat = ProjectMercator(d, y, false);
        return;
    }
    using P = float (*)(Document&, double, double, bool, bool);
    P proc = nullptr;
    if (p == pn::TransverseMercator) proc = &ProjectTransverseMercator;
    if (p == pn::Orthographic) proc = &ProjectOrthographic;
    if (p == pn::LambertAzimuthal) proc = &ProjectLambertAzimuthal;
    if (p == pn::AlbersEqualArea) proc = &ProjectAlbersEqualArea;
    if (p == pn::LambertConformal) proc = &ProjectLambertConformal;
    if (proc) {
        lon = proc(d, x, y, false, true);
        lat = proc(d, x, y, false, false);
    } else {
        lon = x;
        lat = y;
    }
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT
private slots:
    // ---- byte-exact files ----------------------------------------------

    void goldenLinearFeet() {
        Document d = freshDoc();
        d.DataTitle = "Test Map";
        d.MapFileName = "/data/maps/test.jpg";
        d.ImageWidthPx = 1200;
        d.ImageHeightPx = 900;
        d.MapSpanX = 2500;
        d.MapSpanY = 2000;
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Feet";
        d.MapOriginX = 1000;
        d.RefMapX1 = 1250;
        d.RefMapX2 = 3000;
        d.MapOriginY = 5000;
        d.RefMapY1 = 4500;
        d.RefMapY2 = 3250.5f;
        setDatum(d, {pt(1, 1000, 2000, 12.5f), pt(2, -150.25f, 0.5f, -3)});
        setContour(d, {pt(1, 1234.56f, 4321.04f, 100)});
        const QByteArray expected = crlf({
            "Test Map",
            "",
            "/data/maps/test.jpg",
            " 1200         " " 900          " " 2500         " " 2000         " "10            " "25.5          "
            "Linear Coordinates:Feet",
            " 0            " " 0            " " 0            " " 0            " " 1            " " 1 ",
            " 1000         " " 1250         " " 3000         " " 5000         " " 4500         " " 3250.5 ",
            "",
            "Structural datum/contour points and contour detail:",
            " 2            " " 1            " " 50 ",
            "",
            "Datum         " "Northing      " " Easting      " "  Z",
            kRule,
            " 1            " "2000.0        " "1000.0        " "12.5",
            " 2            " "0.5           " "-150.3        " "-3.0",
            "",
            "Contour       " "Northing      " " Easting      " "  Z",
            kRule,
            " 1            " "4321.0        " "1234.6        " "100.0",
        });
        compareFiles(writeProjectFile(d, {"10", "25.5", DataKind::Structural}), expected);
        // The projection item starts in column 85.
        QCOMPARE(expected.split('\n')[3].indexOf("Linear"), 84);
    }

    void goldenDegreesUnderTransverseMercator() {
        Document d = freshDoc();
        d.DataTitle = "TM map";
        d.MapFileName = "/maps/tm.tif";
        d.ImageWidthPx = 800;
        d.ImageHeightPx = 600;
        d.MapSpanX = 250.5f;
        d.MapSpanY = 180;
        d.ProjectionName = pn::TransverseMercator;
        d.CoordUnits = "Degrees";
        d.CentralMeridian = 0.05f;
        d.CentralParallel = 0.1f;
        d.ProjScaleX = 1000;
        d.ProjScaleY = 1000;
        d.MapOriginX = -100;
        d.RefMapX1 = -50.25f;
        d.RefMapX2 = 120;
        d.MapOriginY = 90;
        d.RefMapY1 = 60;
        d.RefMapY2 = -70.5f;
        d.ContourDetail = 40;
        setDatum(d, {pt(1, 100, 50, 12.5f), pt(2, 0, 0, 7)});
        setContour(d, {pt(1, 75.25f, 12.5f, 0.25f)});
        // Latitudes and longitudes from the spherical transverse Mercator
        // inverse (central meridian 0.05 rad, origin parallel 0.1 rad).
        const QByteArray expected = crlf({
            "TM map",
            "",
            "/maps/tm.tif",
            " 800          " " 600          " " 250.5        " " 180          " "0             " "0             "
            "Transverse Mercator:Degrees",
            " .05          " " .1           " " 0            " " 0            " " 1000         " " 1000 ",
            "-100          " "-50.25        " " 120          " " 90           " " 60           " "-70.5 ",
            "",
            "Isopach datum/contour points and contour detail:",
            " 2            " " 1            " " 40 ",
            "",
            "Datum         " "Latitude      " " Longitude    " "Z",
            kRule,
            " 1            " "8.55125       " "8.64936       " "12.5",
            " 2            " "5.72958       " "2.86479       " "7.0",
            "",
            "Contour       " "Latitude      " " Longitude    " "Z",
            kRule,
            " 1            " "6.42749       " "7.19953       " "0.3",
        });
        // Empty and non-numeric limit boxes are written as their value, 0.
        compareFiles(writeProjectFile(d, {"", "abc", DataKind::Isopach}), expected);
    }

    // Contacts in metres, datum table only, a title and a folder with commas.
    void goldenContactsDatumOnly() {
        Document d = freshDoc();
        d.DataTitle = "Smith Co., TX";
        d.MapFileName = "/home/u/maps, old/smith.jpg";
        d.ImageWidthPx = 1024;
        d.ImageHeightPx = 768;
        d.MapSpanX = 5000;
        d.MapSpanY = 4000;
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Meters";
        d.RefMapX2 = 5000;
        d.MapOriginY = 4000;
        d.RefMapY1 = 4000;
        setDatum(d, {pt(1, 100, 200, 3), pt(2, 150.5f, 250.75f, 3), pt(1, -12.34f, 3999.95f, 2.5f)});
        const QByteArray expected = crlf({
            "Smith Co., TX",
            "",
            "/home/u/maps, old/smith.jpg",
            " 1024         " " 768          " " 5000         " " 4000         " "1             " "7             "
            "Linear Coordinates:Meters",
            " 0            " " 0            " " 0            " " 0            " " 1            " " 1 ",
            " 0            " " 0            " " 5000         " " 4000         " " 4000         " " 0 ",
            "",
            "Contact datum points detail:",
            " 3            " " 0            " " 50 ",
            "",
            "Datum         " "Northing      " " Easting      " "  Unit ",
            kRule,
            " 1            " "200.0         " "100.0         " "3",
            " 2            " "250.8         " "150.5         " "3",
            " 1            " "3999.9        " "-12.3         " "2.5",
        });
        compareFiles(writeProjectFile(d, {"1", "7", DataKind::Contacts}), expected);

        ProjectReadState st;
        const Document r = readBack(expected, st);
        QCOMPARE(r.DataTitle, QString("Smith Co., TX"));
        QCOMPARE(r.MapFileName, QString("/home/u/maps, old/smith.jpg"));
        QCOMPARE(r.CoordUnits, QString("Meters"));
        QCOMPARE(r.DatCount, 3);
        QCOMPARE(r.DatumPoints[3].X, -12.3f);
        QVERIFY(st.controls.kind == DataKind::Contacts);
    }

    void goldenContourOnly() {
        Document d = freshDoc();
        d.DataTitle = "Iso";
        d.MapFileName = "/m/i.png";
        d.ImageWidthPx = d.ImageHeightPx = d.MapSpanX = d.MapSpanY = 10;
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Feet";
        setContour(d, {pt(7, 10, 20, 1.5f)});
        const QByteArray expected = crlf({
            "Iso",
            "",
            "/m/i.png",
            " 10           " " 10           " " 10           " " 10           " "0.5           " "-2.25         "
            "Linear Coordinates:Feet",
            " 0            " " 0            " " 0            " " 0            " " 1            " " 1 ",
            " 0            " " 0            " " 0            " " 0            " " 0            " " 0 ",
            "",
            "Isopach datum/contour points and contour detail:",
            " 0            " " 1            " " 50 ",
            "",
            "Contour       " "Northing      " " Easting      " "  Z",
            kRule,
            " 7            " "20.0          " "10.0          " "1.5",
        });
        compareFiles(writeProjectFile(d, {".5", "-2.250", DataKind::Isopach}), expected);

        ProjectReadState st;
        const Document r = readBack(expected, st);
        QCOMPARE(r.DatCount, 0);
        QCOMPARE(r.ConCount, 1);
        QCOMPARE(r.ContourPoints[1].Number, int16_t(7));
        QCOMPARE(st.controls.txtMin, QString("0.5"));
        QCOMPARE(st.controls.txtMax, QString("-2.25"));
    }

    void goldenNoPoints() {
        Document d = freshDoc();
        d.DataTitle = "Empty";
        d.MapFileName = "/m/e.jpg";
        d.ImageWidthPx = d.ImageHeightPx = 100;
        d.MapSpanX = d.MapSpanY = 10;
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Meters";
        const QByteArray expected = crlf({
            "Empty",
            "",
            "/m/e.jpg",
            " 100          " " 100          " " 10           " " 10           " "0             " "0             "
            "Linear Coordinates:Meters",
            " 0            " " 0            " " 0            " " 0            " " 1            " " 1 ",
            " 0            " " 0            " " 0            " " 0            " " 0            " " 0 ",
            "",
            "Data point type not specified:",
            " 0            " " 0            " " 50 ",
        });
        compareFiles(writeProjectFile(d, {"0", "0", std::nullopt}), expected);

        ProjectReadState st;
        const Document r = readBack(expected, st);
        QVERIFY(st.countsRead);
        QCOMPARE(r.DatCount + r.ConCount, 0);
        QVERIFY(r.DatumPoints.empty() && r.ContourPoints.empty());
        QVERIFY(!st.controls.kind);
    }

    // ---- round trips -----------------------------------------------------

    void roundTrip_data() {
        QTest::addColumn<QString>("projection");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("readProjection");
        QTest::addColumn<QString>("readUnits");
        QTest::addColumn<int>("kind");
        const QString lin = pn::Linear;
        QTest::newRow("linear feet") << lin << "Feet" << lin << "Feet" << int(DataKind::Structural);
        QTest::newRow("linear meters") << lin << "Meters" << lin << "Meters" << int(DataKind::Isopach);
        QTest::newRow("linear degrees") << lin << "Degrees" << lin << "Degrees" << int(DataKind::Contacts);
        QTest::newRow("linear, no units") << lin << "" << lin << "Feet" << -1;
        QTest::newRow("cylindrical") << pn::CylindricalEquidistant << "Degrees" << lin << "Degrees"
                                     << int(DataKind::Structural);
        for (const QString& p : {pn::StandardMercator, pn::TransverseMercator, pn::Orthographic,
                                 pn::LambertAzimuthal, pn::AlbersEqualArea, pn::LambertConformal}) {
            QTest::newRow(qPrintable(p)) << p << "Degrees" << p << "Degrees" << int(DataKind::Structural);
            QTest::newRow(qPrintable(p + " contacts")) << p << "Degrees" << p << "Degrees" << int(DataKind::Contacts);
        }
    }

    void roundTrip() {
        QFETCH(QString, projection);
        QFETCH(QString, units);
        QFETCH(QString, readProjection);
        QFETCH(QString, readUnits);
        QFETCH(int, kind);
        Document d = projected(projection, units);
        d.DataTitle = "Round \"trip\", one";
        d.MapFileName = "/tmp/a folder, with comma/map.jpg";
        d.ImageWidthPx = 3001;
        d.ImageHeightPx = 2001;
        d.MapSpanX = 123.456789f;
        d.MapSpanY = 1e-7f;
        d.MapOriginX = -98765.43f;
        d.MapOriginY = 1.5e20f;
        d.RefMapX1 = 0.1f;
        d.RefMapX2 = -0.3f;
        d.RefMapY1 = 7.0e-3f;
        d.RefMapY2 = 16777217.0f;
        d.ContourDetail = 77;
        const bool degrees = units == "Degrees";
        std::vector<DataPoint> datum, contour;
        int n = 0;
        for (double lat = 36; lat <= 44; lat += 2.25)
            for (double lon = -104; lon <= -96; lon += 1.75) {
                DataPoint p;
                if (degrees) forward(d, lon, lat, p.X, p.Y);
                else {
                    p.X = float(lon * 1234.5);
                    p.Y = float(lat * -987.6);
                }
                p.Z = kind == int(DataKind::Contacts) ? float(n % 4) : float(n) * 2.5f - 20;
                p.Number = int16_t(++n);
                (n % 3 ? datum : contour).push_back(p);
            }
        setDatum(d, datum);
        setContour(d, contour);

        const QByteArray bytes = writeProjectFile(d, {"12.5", "1e3", kindOf(kind)});
        ProjectReadState st;
        Document r = readBack(bytes, st);
        QVERIFY(st.countsRead);
        QCOMPARE(r.ProjectionName, readProjection);
        QCOMPARE(r.CoordUnits, readUnits);
        QCOMPARE(st.olderLayout, false);
        QVERIFY(st.controls.kind == kindOf(kind));
        QCOMPARE(st.controls.txtMin, QString("12.5"));
        QCOMPARE(st.controls.txtMax, QString("1000"));
        QCOMPARE(r.DataTitle, d.DataTitle);
        QCOMPARE(r.MapFileName, d.MapFileName);
        for (auto f : {&Document::ImageWidthPx, &Document::ImageHeightPx, &Document::MapSpanX, &Document::MapSpanY,
                       &Document::MapOriginX, &Document::MapOriginY, &Document::RefMapX1, &Document::RefMapX2,
                       &Document::RefMapY1, &Document::RefMapY2, &Document::CentralMeridian,
                       &Document::CentralParallel, &Document::Lat1, &Document::Lat2, &Document::ProjScaleX,
                       &Document::ProjScaleY})
            QCOMPARE(r.*f, d.*f);
        QCOMPARE(r.ContourDetail, 77);
        QCOMPARE(r.ConeN, d.ConeN);
        QCOMPARE(r.Rho0, d.Rho0);
        QCOMPARE(r.DatCount, d.DatCount);
        QCOMPARE(r.ConCount, d.ConCount);
        QCOMPARE(int(r.DatumPoints.size()), d.DatCount + 1);
        QCOMPARE(int(r.ContourPoints.size()), d.ConCount + 1);

        auto check = [&](const std::vector<DataPoint>& got, const std::vector<DataPoint>& want, bool generalZ) {
            for (size_t i = 1; i < want.size(); ++i) {
                QCOMPARE(got[i].Number, want[i].Number);
                if (generalZ) QCOMPARE(got[i].Z, want[i].Z);
                else QVERIFY(std::fabs(got[i].Z - want[i].Z) <= 0.05f);
                if (degrees) {
                    double lon0, lat0, lon1, lat1;
                    inverse(d, want[i].X, want[i].Y, lon0, lat0);
                    inverse(r, got[i].X, got[i].Y, lon1, lat1);
                    QVERIFY2(std::fabs(lat1 - lat0) <= 2e-5 && std::fabs(lon1 - lon0) <= 2e-5,
                             qPrintable(QString("point %1: %2 %3 vs %4 %5").arg(i).arg(lat0).arg(lon0).arg(lat1).arg(lon1)));
                } else {
                    QVERIFY(std::fabs(got[i].X - want[i].X) <= 0.05f + std::fabs(want[i].X) * 1e-7f);
                    QVERIFY(std::fabs(got[i].Y - want[i].Y) <= 0.05f + std::fabs(want[i].Y) * 1e-7f);
                }
            }
        };
        check(r.DatumPoints, d.DatumPoints, kind == int(DataKind::Contacts));
        check(r.ContourPoints, d.ContourPoints, false);

        // Writing what was read gives the same file, except where a
        // Cylindrical Equidistant map continues as Linear Coordinates.
        if (projection == readProjection && !units.isEmpty() && !degrees) {
            QCOMPARE(writeProjectFile(r, st.controls), bytes);
        }
    }

    // The clicks the Open command makes on the Coordinates menu.
    void restoreClicks_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<bool>("older");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("units");
        auto L = [](std::initializer_list<CoordItem> c) {
            QList<int> l;
            for (CoordItem i : c) l << int(i);
            return l;
        };
        using C = CoordItem;
        QTest::newRow("older meters") << "meters" << L({C::Linear, C::Meters}) << true << pn::Linear << "Meters";
        QTest::newRow("older FEET") << "FEET" << L({C::Linear, C::Feet}) << true << pn::Linear << "Feet";
        QTest::newRow("older MeTeRs") << "MeTeRs" << L({C::Linear, C::Meters}) << true << pn::Linear << "Meters";
        QTest::newRow("degrees, no colon") << "degrees" << L({}) << false << "" << "";
        QTest::newRow("name, no colon") << "Linear Coordinates" << L({}) << false << "" << "";
        QTest::newRow("linear, no units") << "Linear Coordinates:" << L({C::Linear, C::Feet}) << false << pn::Linear
                                          << "Feet";
        QTest::newRow("linear, odd units") << "Linear Coordinates:Yards" << L({C::Linear, C::Feet}) << false
                                           << pn::Linear << "Feet";
        QTest::newRow("cylindrical") << "Cylindrical Equidistant:Degrees" << L({C::Linear, C::Degrees}) << false
                                     << pn::Linear << "Degrees";
        QTest::newRow("mercator in feet") << "Standard Mercator:Feet" << L({C::SMerc}) << false
                                          << pn::StandardMercator << "Degrees";
        QTest::newRow("conformal") << "Lambert Conformal Conic:Degrees" << L({C::LambertConf}) << false
                                   << pn::LambertConformal << "Degrees";
        QTest::newRow("unknown name") << "Miller Cylindrical:Degrees" << L({}) << false << "Miller Cylindrical"
                                      << "Degrees";
        QTest::newRow("second colon") << "Linear Coordinates:Feet:x" << L({C::Linear, C::Feet}) << false
                                      << pn::Linear << "Feet";
    }

    void restoreClicks() {
        QFETCH(QString, item);
        QFETCH(QList<int>, clicks);
        QFETCH(bool, older);
        QFETCH(QString, name);
        QFETCH(QString, units);
        // Line 5 holds a recognisable central meridian; in the older layout
        // that line is missing and the origins come at once.
        const QByteArray file = "T\r\n\r\nM\r\n 1 2 3 4 5 6 " + item.toLatin1() +
                                "\r\n .5 .6 .7 .8 1 1 \r\n 7 8 9 10 11 12 \r\n\r\nS\r\n 0 0 50 \r\n\r\nh\r\n=\r\n";
        ProjectReadState st;
        const Document r = readBack(file, st);
        QVERIFY(st.countsRead);
        QList<int> got;
        for (CoordItem c : st.coordClicks) got << int(c);
        QCOMPARE(got, clicks);
        QCOMPARE(st.olderLayout, older);
        QCOMPARE(r.ProjectionName, name);
        QCOMPARE(r.CoordUnits, units);
        QCOMPARE(st.projectionItem, item);
        if (older) {
            QCOMPARE(r.CentralMeridian, 0.0f);
            QCOMPARE(r.ProjScaleX, 1.0f);
            QCOMPARE(r.MapOriginX, 0.5f);   // the line of origins follows line 4 directly
        } else {
            QCOMPARE(r.CentralMeridian, 0.5f);
            QCOMPARE(r.MapOriginX, 7.0f);
        }
    }

    // ---- the older layout ------------------------------------------------

    void olderLayout() {
        const QByteArray file = crlf({
            "Old map",
            "",
            "C:\\MAPS\\OLD.BMP",
            " 640          " " 480          " " 1000         " " 800          " "5             " "50            "
            "FEET",
            " 100          " " 200          " " 900          " " 700          " " 650          " " 150 ",
            "",
            "Structural datum/contour points and contour detail:",
            " 2            " " 1            " " 30 ",
            "",
            "Datum         " "Easting       " " Northing     " "  Z",
            kRule,
            " 1            " " 150.5        " " 650.25       " " 10 ",
            " 2            " " 160          " " 640          " " 12.5 ",
            "",
            "Contour       " "Easting       " " Northing     " "  Z",
            kRule,
            " 1            " " 170          " " 630          " " 11 ",
        });
        ProjectReadState st;
        const Document r = readBack(file, st);
        QVERIFY(st.olderLayout);
        QCOMPARE(r.ProjectionName, pn::Linear);
        QCOMPARE(r.CoordUnits, QString("Feet"));
        QCOMPARE(r.ProjScaleX, 1.0f);
        QCOMPARE(r.MapOriginX, 100.0f);
        QCOMPARE(r.RefMapY2, 150.0f);
        QCOMPARE(r.ContourDetail, 30);
        QCOMPARE(st.controls.txtMin, QString("5"));
        QCOMPARE(st.controls.txtMax, QString("50"));
        QCOMPARE(r.DatCount, 2);
        QCOMPARE(r.DatumPoints[1].X, 150.5f);   // Easting before Northing
        QCOMPARE(r.DatumPoints[1].Y, 650.25f);
        QCOMPARE(r.DatumPoints[2].Z, 12.5f);
        QCOMPARE(r.ConCount, 1);
        QCOMPARE(r.ContourPoints[1].X, 170.0f);
        QCOMPARE(r.ContourPoints[1].Y, 630.0f);
    }

    // In the older layout the datum table's empty line, header and rule
    // follow the counts even when there are no datum points.
    void olderLayoutWithoutDatumPoints() {
        const QByteArray file = crlf({
            "Old", "", "map.bmp", " 1 1 1 1 0 0 meters", " 0 0 0 0 0 0 ", "", "I", " 0 2 50 ", "",
            "Datum Easting Northing Z", kRule, "", "Contour Easting Northing Z", kRule, " 1 5 6 7 ", " 2 8 9 10 ",
        });
        ProjectReadState st;
        const Document r = readBack(file, st);
        QVERIFY(st.olderLayout);
        QCOMPARE(r.CoordUnits, QString("Meters"));
        QCOMPARE(r.DatCount, 0);
        QCOMPARE(r.ConCount, 2);
        QCOMPARE(r.ContourPoints[2].X, 8.0f);
        QCOMPARE(r.ContourPoints[2].Y, 9.0f);
        QVERIFY(st.controls.kind == DataKind::Isopach);
    }

    // ---- damaged files ---------------------------------------------------

    // A datum table that ends after 2 of 5 rows: two points, and the contour
    // table then reads nothing.
    void truncatedTable() {
        const QByteArray file = crlf({
            "T", "", "m.jpg", " 1 1 1 1 0 0 Linear Coordinates:Feet", " 0 0 0 0 1 1 ", " 0 0 0 0 0 0 ", "",
            "S", " 5 3 50 ", "", "h", kRule, " 1 10.0 20.0 1.0", " 2 11.0 21.0 2.0", " 3 12.0",
        });
        ProjectReadState st;
        QString error;
        const Document r = readBack(file, st, &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(r.DatCount, 2);
        QCOMPARE(int(r.DatumPoints.size()), 3);
        QCOMPARE(r.DatumPoints[2].X, 21.0f);
        QCOMPARE(r.ConCount, 0);
        QVERIFY(r.ContourPoints.empty());
    }

    // A file cut anywhere: lines 1 to 9 fail with "Input past end of file",
    // a cut in the tables keeps the points before the cut.  Never a crash.
    void cutAnywhere() {
        Document d = projected(pn::LambertConformal, "Degrees");
        std::vector<DataPoint> pts;
        for (int i = 0; i < 6; ++i) {
            DataPoint p;
            forward(d, -101 + i, 39 + i * 0.5, p.X, p.Y);
            p.Number = int16_t(i + 1);
            p.Z = float(i);
            pts.push_back(p);
        }
        setDatum(d, {pts[0], pts[1], pts[2]});
        setContour(d, {pts[3], pts[4], pts[5]});
        const QByteArray full = writeProjectFile(d, {"1", "2", DataKind::Structural});
        ProjectReadState whole;
        const Document ref = readBack(full, whole);
        QCOMPARE(ref.DatCount + ref.ConCount, 6);
        for (int len = 0; len < full.size(); ++len) {
            const QByteArray cut = full.left(len);
            ProjectReadState st;
            QString error;
            const Document r = readBack(cut, st, &error);
            if (!error.isEmpty()) {
                QCOMPARE(error, QString("Input past end of file"));
                QVERIFY(!st.countsRead);
                continue;
            }
            QVERIFY(r.DatCount <= 3 && r.ConCount <= 3);
            QCOMPARE(int(r.DatumPoints.size()), r.DatCount ? r.DatCount + 1 : 0);
            QCOMPARE(int(r.ContourPoints.size()), r.ConCount ? r.ConCount + 1 : 0);
            // Rows before the last one read are whole.
            for (int i = 1; i < r.DatCount; ++i) QCOMPARE(r.DatumPoints[i].X, ref.DatumPoints[i].X);
            for (int i = 1; i < r.ConCount; ++i) QCOMPARE(r.ContourPoints[i].Y, ref.ContourPoints[i].Y);
            // A cut at a line end keeps every row before it exactly.
            if (cut.endsWith("\r\n")) {
                if (r.DatCount) QCOMPARE(r.DatumPoints[r.DatCount].X, ref.DatumPoints[r.DatCount].X);
                if (r.ConCount) QCOMPARE(r.ContourPoints[r.ConCount].X, ref.ContourPoints[r.ConCount].X);
            }
        }
    }

    // What lines 1 to 9 gave before a failure stays, with how far it got.
    void failureInTheHeaderLines() {
        const QByteArray file = "Title, with comma\r\n\r\n/m/x.jpg\r\n 10 20 30 40 1 2 Transverse Mercator:Degrees\r\n"
                                " .5 .25 0 0 100 100 \r\n 1 2 ";
        ProjectReadState st;
        QString error;
        const Document r = readBack(file, st, &error);
        QCOMPARE(error, QString("Input past end of file"));
        QVERIFY(st.limitsRead);
        QVERIFY(!st.registrationRead);
        QVERIFY(!st.kindRead);
        QCOMPARE(r.DataTitle, QString("Title, with comma"));
        QCOMPARE(r.MapFileName, QString("/m/x.jpg"));
        QCOMPARE(r.MapSpanY, 40.0f);
        QCOMPARE(r.CentralParallel, 0.25f);
        QCOMPARE(r.MapOriginX, 1.0f);
        QCOMPARE(st.coordClicks, std::vector<CoordItem>{CoordItem::TMerc});
        QCOMPARE(r.ProjectionName, pn::TransverseMercator);
    }

    // Negative counts (a damaged file) hold no table; nothing is sized by them.
    void negativeCounts() {
        const QByteArray file = crlf({
            "T", "", "m.jpg", " 1 1 1 1 0 0 Linear Coordinates:Meters", " 0 0 0 0 1 1 ", " 0 0 0 0 0 0 ", "",
            "S", "-3 -32768 50 ", "", "h", kRule, " 1 10.0 20.0 1.0",
        });
        ProjectReadState st;
        QString error;
        const Document r = readBack(file, st, &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(r.DatCount, 0);
        QCOMPARE(r.ConCount, 0);
        QVERIFY(r.DatumPoints.empty());

        // A negative datum count with a contour table still reads the contour table.
        const QByteArray file2 = crlf({
            "T", "", "m.jpg", " 1 1 1 1 0 0 Linear Coordinates:Meters", " 0 0 0 0 1 1 ", " 0 0 0 0 0 0 ", "",
            "S", "-1 1 50 ", "", "h", kRule, " 4 10.0 20.0 1.0",
        });
        ProjectReadState st2;
        const Document r2 = readBack(file2, st2);
        QCOMPARE(r2.DatCount, 0);
        QCOMPARE(r2.ConCount, 1);
        QCOMPARE(r2.ContourPoints[1].Number, int16_t(4));
    }

    // Counts and numbers beyond 16 bits are read errors; values beyond a
    // Single too.
    void outOfRangeValues() {
        auto fileWith = [](const char* line4, const char* counts, const char* row) {
            return crlf({"T", "", "m.jpg", line4, " 0 0 0 0 1 1 ", " 0 0 0 0 0 0 ", "", "S", counts, "", "h", kRule, row});
        };
        const char* good4 = " 1 1 1 1 0 0 Linear Coordinates:Meters";
        QString error;
        ProjectReadState st;
        readBack(fileWith(good4, " 40000 0 50 ", " 1 1 1 1"), st, &error);
        QCOMPARE(error, QString("Overflow"));
        QVERIFY(!st.countsRead);

        error.clear();
        st = {};
        readBack(fileWith(" 1e39 1 1 1 0 0 Linear Coordinates:Meters", " 1 0 50 ", " 1 1 1 1"), st, &error);
        QCOMPARE(error, QString("Overflow"));
        QVERIFY(!st.limitsRead);

        // A row that does not fit ends its table quietly.
        error.clear();
        st = {};
        const Document r = readBack(fileWith(good4, " 2 0 50 ", " 1 1 1 1\r\n 99999 1 1 1"), st, &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(r.DatCount, 1);
    }

    // A conic map whose standard parallels cancel cannot be opened.
    void coneFailure() {
        const QByteArray file = crlf({
            "T", "", "m.jpg", " 1 1 1 1 0 0 Albers Equal Area Conic:Degrees", " 0 0 -.5 .5 1 1 ", " 0 0 0 0 0 0 ",
            "", "S", " 0 0 50 ",
        });
        ProjectReadState st;
        QString error;
        readBack(file, st, &error);
        QCOMPARE(error, QString("Division by zero"));
        QVERIFY(st.limitsRead);
        QVERIFY(!st.registrationRead);
    }

    // Limits typed with a comma or as words are written as their value, so
    // the projection item stays in place.
    void limitsWrittenAsValues_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("comma") << "12,5" << "12";
        QTest::newRow("word") << "abc" << "0";
        QTest::newRow("empty") << "" << "0";
        QTest::newRow("blanks") << " 7 " << "7";
        QTest::newRow("exponent") << "2.5e2" << "250";
        QTest::newRow("hex") << "&H10" << "16";
        QTest::newRow("small") << ".125" << "0.125";
        QTest::newRow("negative") << "-0.5" << "-0.5";
    }

    void limitsWrittenAsValues() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        Document d = freshDoc();
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Meters";
        const QByteArray bytes = writeProjectFile(d, {typed, typed, DataKind::Structural});
        const QByteArray line4 = bytes.split('\n')[3];
        QCOMPARE(line4.mid(56, 14).trimmed(), written.toLatin1());
        QCOMPARE(line4.mid(70, 14).trimmed(), written.toLatin1());
        ProjectReadState st;
        const Document r = readBack(bytes, st);
        QCOMPARE(st.controls.txtMin, written);
        QCOMPARE(st.controls.txtMax, written);
        QCOMPARE(r.CoordUnits, QString("Meters"));
        QVERIFY(st.controls.kind == DataKind::Structural);
    }

    // Old files whose limit was written as typed and is not a number still
    // keep the projection item.
    void oldFileWithWordAsLimit() {
        const QByteArray file = crlf({
            "T", "", "m.jpg", " 1 1 1 1 abc 5 Linear Coordinates:Feet", " 0 0 0 0 1 1 ", " 0 0 0 0 0 0 ", "",
            "S", " 0 0 50 ",
        });
        ProjectReadState st;
        const Document r = readBack(file, st);
        QCOMPARE(st.controls.txtMin, QString("0"));
        QCOMPARE(st.controls.txtMax, QString("5"));
        QCOMPARE(r.CoordUnits, QString("Feet"));
    }

    // A damaged projection item (here a stray quote that runs over the
    // following lines) selects no system; the names read are written so that
    // the file reads back in step with the same points.  A damaged name is
    // not turned into another one: it is written empty, selecting nothing.
    void damagedProjectionItemWrittenReadable() {
        const QByteArray file = crlf({
            "T", "", "m.jpg", " 1 1 1 1 0 0   \"Odd, name", " 0 0 0 0 1 1 ", " 0 0 0 0 0 0 ", "", "S",
            " 1 0 50 ", "", "h", kRule, " 1 10.0 20.0 1.0", "Lambert Conformal Conic:Degrees \"",
        });
        ProjectReadState st;
        QString error;
        const Document r = readBack(file, st, &error);
        QVERIFY(st.coordClicks.empty());
        QVERIFY(r.ProjectionName.contains('\n'));
        QVERIFY(!error.isEmpty());   // the quoted item took the rest of the file

        Document d = freshDoc();
        d.ProjectionName = "\"Odd, name\r\nsecond line";
        d.CoordUnits = "Feet, \"x\"";
        setDatum(d, {pt(1, 10, 20, 1)});
        const QByteArray bytes = writeProjectFile(d, {"0", "0", DataKind::Structural});
        QCOMPARE(bytes.split('\n')[3].mid(84), QByteArray(":\r"));
        ProjectReadState st2;
        const Document r2 = readBack(bytes, st2);
        QVERIFY(st2.countsRead);
        QCOMPARE(r2.DatCount, 1);
        QCOMPARE(r2.DatumPoints[1].Y, 20.0f);

        // Names that read whole are kept, known or not; a name that would
        // lose its leading quote or blank is not.
        d.CoordUnits = "Feet";
        for (const char* name : {"La\"mbert Conformal Conic", "Miller", "\"Lambert Conformal Conic", " Linear Coordinates"}) {
            d.ProjectionName = name;
            const QByteArray line4 = writeProjectFile(d, {"0", "0", std::nullopt}).split('\n')[3];
            const bool kept = name[0] != '"' && name[0] != ' ';
            QCOMPARE(line4.mid(84), (kept ? QByteArray(name) : QByteArray()) + ":Feet\r");
        }
    }

    // CR, LF and CR LF line ends all read the same.
    void lineEnds() {
        Document d = freshDoc();
        d.DataTitle = "Ends";
        d.MapFileName = "/x.jpg";
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Feet";
        setDatum(d, {pt(1, 1, 2, 3), pt(2, 4, 5, 6)});
        setContour(d, {pt(1, 7, 8, 9)});
        const QByteArray bytes = writeProjectFile(d, {"1", "2", DataKind::Structural});
        QByteArray lf = bytes, cr = bytes;
        lf.replace("\r\n", "\n");
        cr.replace("\r\n", "\r");
        for (const QByteArray& b : {bytes, lf, cr}) {
            ProjectReadState st;
            const Document r = readBack(b, st);
            QCOMPARE(r.DataTitle, QString("Ends"));
            QCOMPARE(r.MapFileName, QString("/x.jpg"));
            QCOMPARE(r.DatCount, 2);
            QCOMPARE(r.DatumPoints[2].Y, 5.0f);
            QCOMPARE(r.ConCount, 1);
            QCOMPARE(r.ContourPoints[1].Z, 9.0f);
        }
    }

    // Titles are read as whole lines: leading blanks, commas and quotes stay.
    // A line break cannot be kept and becomes a blank.
    void titlesAndPaths_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("readTitle");
        QTest::newRow("quote first") << "\"Quoted\" title" << "\"Quoted\" title";
        QTest::newRow("leading blanks") << "  indented" << "  indented";
        QTest::newRow("commas") << "a,b,,c" << "a,b,,c";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("line break") << "two\nlines" << "two lines";
        QTest::newRow("latin-1") << QString::fromUtf8("Caf\u00e9 \u00d8") << QString::fromUtf8("Caf\u00e9 \u00d8");
    }

    void titlesAndPaths() {
        QFETCH(QString, title);
        QFETCH(QString, readTitle);
        Document d = freshDoc();
        d.DataTitle = title;
        d.MapFileName = title + "/map.jpg";
        d.ProjectionName = pn::Linear;
        d.CoordUnits = "Meters";
        setDatum(d, {pt(1, 1, 2, 3)});
        ProjectReadState st;
        const Document r = readBack(writeProjectFile(d, {"0", "0", DataKind::Structural}), st);
        QCOMPARE(r.DataTitle, readTitle);
        QCOMPARE(r.MapFileName, readTitle + "/map.jpg");
        QCOMPARE(r.DatCount, 1);
    }

    // A point exactly on the centre of an azimuthal projection is written
    // as the centre, not as the failed inverse's 0, 0.
    void azimuthalCentre() {
        for (const QString& p : {pn::Orthographic, pn::LambertAzimuthal}) {
            Document d = projected(p, "Degrees");
            setDatum(d, {pt(1, 0, 0, 5)});
            const QByteArray bytes = writeProjectFile(d, {"0", "0", DataKind::Structural});
            const QByteArray row = bytes.split('\n').at(12);
            QCOMPARE(row.mid(14, 14).trimmed(), QByteArray("40.00000"));
            QCOMPARE(row.mid(28, 14).trimmed(), QByteArray("-100.00000"));
            ProjectReadState st;
            const Document r = readBack(bytes, st);
            QVERIFY(std::fabs(r.DatumPoints[1].X) < 1e-3f);
            QVERIFY(std::fabs(r.DatumPoints[1].Y) < 1e-3f);
        }
    }

    void dataKindLines() {
        for (std::optional<DataKind> k : {std::optional<DataKind>(), std::optional(DataKind::Contacts),
                                          std::optional(DataKind::Structural), std::optional(DataKind::Isopach)})
            QVERIFY(dataKindOf(dataKindLine(k)) == k);
        QVERIFY(!dataKindOf("c lower case"));
        QVERIFY(!dataKindOf(""));
        QVERIFY(!dataKindOf(" Structural"));
    }
};

VEX_TEST(ProjectFileTest);
#include "ProjectFileTest.moc"
