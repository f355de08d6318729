// Two-point registration driven through the main window: the round trip
// from the typed values to the cursor read-out for every coordinate system,
// a plot of every system, the prompts and their defaults, cancelling, bad
// answers, and the clicks that survive a zoom.
#include "common/TestRegistry.h"
#include "MapTestSupport.h"

#include "contour/ContourCommands.h"
#include "digitize/Digitizer.h"
#include "document/Legacy.h"
#include "map/Projections.h"
#include "map/Registration.h"

#include <QTest>

Q_DECLARE_METATYPE(CoordItem)

using maptest::importMap;
using maptest::startWindow;
using maptest::writeMap;

namespace {

struct Clicks {
    double x1, y1, x2, y2;
};

Clicks clicksOn(const MainWindow& w) {
    const double W = w.imPoints->Width(), H = w.imPoints->Height();
    return {W * 0.2, H * 0.3, W * 0.7, H * 0.8};
}

// The read-out text the map gives at (x, y) twips on the picture.
QString readOut(MainWindow& w, double x, double y) {
    w.mapView->MapPosition(x, y);
    return w.imPoints->ToolTipText;
}

QStringList inputPrompts(const dlg::ScriptedProvider& dl) {
    QStringList out;
    for (const dlg::Prompt& p : dl.prompts)
        if (p.kind == dlg::Prompt::Kind::Input) out << p.text + QStringLiteral(" | ") + p.title + QStringLiteral(" | ") + p.defaultText;
    return out;
}

} // namespace

class MapRegistrationTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath, sheetPath;

private slots:
    void initTestCase() {
        mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800);
        sheetPath = writeMap(dir, QStringLiteral("sheet.png"), 2000, 1500);
    }
    void init() { testsupport::dialogs().clear(); }

    void roundTrip_data() {
        QTest::addColumn<CoordItem>("system");
        QTest::addColumn<CoordItem>("units");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("readOut1");
        QTest::addColumn<QString>("readOut2");
        const QStringList lonLat{"-105.25", "40.75", "-100.50", "36.25"};
        const QString deg1 = QStringLiteral("254.75° E;  40.75° N");
        const QString deg2 = QStringLiteral("259.50° E;  36.25° N");
        QTest::newRow("linear metres") << CoordItem::Linear << CoordItem::Meters
                                       << QStringList{"1000", "4000", "3000", "2000"}
                                       << QStringLiteral("4000 N;  1000 E") << QStringLiteral("2000 N;  3000 E");
        QTest::newRow("linear feet") << CoordItem::Linear << CoordItem::Feet
                                     << QStringList{"-250", "12000", "9750", "10500"}
                                     << QStringLiteral("12000 N;  -250 E") << QStringLiteral("10500 N;  9750 E");
        QTest::newRow("linear degrees") << CoordItem::Linear << CoordItem::Degrees << lonLat << deg1 << deg2;
        QTest::newRow("cylindrical") << CoordItem::CylEquiDis << CoordItem::Degrees << lonLat << deg1 << deg2;
        QTest::newRow("standard mercator") << CoordItem::SMerc << CoordItem::Degrees << lonLat << deg1 << deg2;
        // More than 90 degrees between the reference latitudes.
        QTest::newRow("standard mercator, far apart")
            << CoordItem::SMerc << CoordItem::Degrees << QStringList{"10", "50", "20", "-60"}
            << QStringLiteral("10.00° E;  50.00° N") << QStringLiteral("20.00° E;  60.00° S");
        QTest::newRow("transverse mercator") << CoordItem::TMerc << CoordItem::Degrees << lonLat << deg1 << deg2;
        QTest::newRow("orthographic") << CoordItem::Ortho << CoordItem::Degrees << lonLat << deg1 << deg2;
        QTest::newRow("lambert azimuthal") << CoordItem::LmbertAzi << CoordItem::Degrees << lonLat << deg1 << deg2;
        QTest::newRow("albers") << CoordItem::AlbersEA << CoordItem::Degrees << lonLat << deg1 << deg2;
        QTest::newRow("lambert conformal") << CoordItem::LambertConf << CoordItem::Degrees << lonLat << deg1 << deg2;
    }
    void roundTrip() {
        QFETCH(CoordItem, system);
        QFETCH(CoordItem, units);
        QFETCH(QStringList, typed);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->degreeFormatClick(DegreeFormatItem::Decimal2);
        w->mapView->coordClick(system);
        w->mapView->coordClick(units);
        const Clicks c = clicksOn(*w);
        dl.clear();
        dl.queue(typed[0]);
        dl.queue(typed[1]);
        w->mapView->MapRegister(c.x1, c.y1);
        dl.queue(typed[2]);
        dl.queue(typed[3]);
        // The projection parameters, where asked, take the suggested values.
        if (asksCentralMeridian(w->doc.ProjectionName)) dl.queue(dlg::Answer::OK);
        if (asksCentralParallel(w->doc.ProjectionName)) dl.queue(dlg::Answer::OK);
        w->mapView->MapRegister(c.x2, c.y2);
        QCOMPARE(dl.unanswered, 0);
        QVERIFY(dl.answers.empty());
        for (const dlg::Prompt& p : dl.prompts) QCOMPARE(p.kind, dlg::Prompt::Kind::Input);
        QVERIFY(w->doc.MapRegistered);
        QVERIFY(w->doc.ProjScaleY > 0);
        QVERIFY(!w->mnuCoord->menuAction()->isEnabled());
        QVERIFY(w->optDat->isEnabled());

        QTEST(readOut(*w, c.x1, c.y1), "readOut1");
        QTEST(readOut(*w, c.x2, c.y2), "readOut2");
        // The reference markers sit on their clicks and say where they are.
        QVERIFY(qAbs(w->markers->labRef[1].Left + w->doc.RefMarkOffsetX - w->imPoints->Left() - c.x1) < 0.5);
        QVERIFY(qAbs(w->markers->labRef[2].Top + w->doc.RefMarkOffsetY - w->imPoints->Top() - c.y2) < 0.5);
        QVERIFY(w->markers->labRef[1].Visible && w->markers->labRef[2].Visible);
        QVERIFY(w->markers->labRef[2].ToolTipText.startsWith(QStringLiteral("Reference Point 2: ")));

        // The transform follows the picture's size.
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        w->mapView->cmdZoomIn_Click();
        const double kx = w->imPoints->Width() / W, ky = w->imPoints->Height() / H;
        QVERIFY(kx > 1.2);
        QTEST(readOut(*w, c.x1 * kx, c.y1 * ky), "readOut1");
        QTEST(readOut(*w, c.x2 * kx, c.y2 * ky), "readOut2");
    }

    // A field sheet of 2000 x 1500 pixels whose pixels are square on the
    // ground, registered at 105.5 W 40.0 N and 105.0 W 39.6 N (960 x 1000
    // pixels apart) about the meridian 105.25 W, with 29 datum and 10 contour
    // points: every system contours it, on a grid of its map's proportions.
    // The grids were worked out by hand on the sphere: the Mercators keep
    // the picture's 4:3; the plate carree widens it by 1 / cos 39.8 degrees;
    // the azimuthals and the conics, whose map X counts the picture per
    // degree of longitude, narrow it by cos 39.8 degrees.
    void everySystemContours_data() {
        QTest::addColumn<CoordItem>("system");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::newRow("linear") << CoordItem::Linear << 50 << 28;
        QTest::newRow("cylindrical") << CoordItem::CylEquiDis << 50 << 28;
        QTest::newRow("standard mercator") << CoordItem::SMerc << 50 << 37;
        QTest::newRow("transverse mercator") << CoordItem::TMerc << 50 << 37;
        QTest::newRow("orthographic") << CoordItem::Ortho << 50 << 48;
        QTest::newRow("lambert azimuthal") << CoordItem::LmbertAzi << 50 << 48;
        QTest::newRow("albers") << CoordItem::AlbersEA << 50 << 48;
        QTest::newRow("lambert conformal") << CoordItem::LambertConf << 50 << 48;
    }
    void everySystemContours() {
        QFETCH(CoordItem, system);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, sheetPath);
        w->mapView->coordClick(system);
        w->mapView->coordClick(CoordItem::Degrees);
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        dl.clear();
        for (const char* a : {"-105.5", "40.0", "-105.0", "39.6", "-105.25", "39.8"})
            dl.queue(QString::fromLatin1(a));
        w->mapView->MapRegister(W * 400 / 2000, H * 200 / 1500);
        w->mapView->MapRegister(W * 1360 / 2000, H * 1200 / 1500);
        QVERIFY(w->doc.MapRegistered);
        w->optStruc->setValue(true);
        for (int i = 0; i < 39; ++i) {
            (i < 29 ? w->optDat : w->optCon)->setValue(true);
            const double fx = 0.22 + 0.44 * (i % 8) / 7, fy = 0.16 + 0.62 * (i / 8) / 4;
            w->mapView->MapPosition(fx * W, fy * H);
            dl.queue(QString::number(std::lround(100 + 300 * fx + 200 * fy)));
            w->digitizer->MapPoint();
        }
        QCOMPARE(w->doc.DatCount, 29);
        QCOMPARE(w->doc.ConCount, 10);
        dl.clear();
        w->cmdShow->click();
        QVERIFY2(dl.prompts.empty(), dl.prompts.empty() ? "" : qPrintable(dl.prompts[0].text));
        QTEST(w->doc.GridCols, "cols");
        QTEST(w->doc.GridRows, "rows");
        // The plot is painted: the middle of the data is not the blank page.
        const DataPoint& n = w->doc.ContourGrid.at(w->doc.GridCols / 2, w->doc.GridRows / 2);
        const ContourCommands& cc = *w->contourCommands;
        const QPointF at = cc.plotTransform().map(cc.plotPosition(n.X, n.Y));
        QVERIFY(w->picMap->isVisible());
        QVERIFY(w->picMap->picture().pixelColor(at.toPoint()) != QColor(Qt::white));
    }

    void promptsOfEachSystem_data() {
        QTest::addColumn<CoordItem>("system");
        QTest::addColumn<CoordItem>("units");
        QTest::addColumn<QStringList>("prompts");
        const QStringList degreePoints{
            "Enter Longitude (W values negative) coordinate 1 | Map Longitude Registration 1 | ",
            "Enter Latitude (S values negative) coordinate 1 | Map Latitude Registration 1 | ",
            "Enter Longitude coordinate 2 | Map Longitude Registration 2 | ",
            "Enter Latitude coordinate 2 | Map Latitude Registration 2 | "};
        const QString meridian = QStringLiteral("Enter central meridian | Map Longitude Registration | -95.0");
        const QString parallel = QStringLiteral("Enter central parallel | Map Latitude Registration | 37.5");
        QTest::newRow("linear") << CoordItem::Linear << CoordItem::Meters
                                << QStringList{"Enter Easting coordinate 1 | Map Easting Registration 1 | ",
                                               "Enter Northing coordinate 1 | Map Northing Registration 1 | ",
                                               "Enter Easting coordinate 2 | Map Easting Registration 2 | ",
                                               "Enter Northing coordinate 2 | Map Northing Registration 2 | "};
        QTest::newRow("linear in degrees") << CoordItem::Linear << CoordItem::Degrees << degreePoints;
        QTest::newRow("cylindrical") << CoordItem::CylEquiDis << CoordItem::Degrees << degreePoints;
        QTest::newRow("standard mercator") << CoordItem::SMerc << CoordItem::Degrees << degreePoints;
        QTest::newRow("transverse mercator") << CoordItem::TMerc << CoordItem::Degrees
                                             << (QStringList(degreePoints) << meridian);
        for (CoordItem item : {CoordItem::Ortho, CoordItem::LmbertAzi, CoordItem::AlbersEA, CoordItem::LambertConf})
            QTest::newRow(qPrintable(projectionNameOf(item)))
                << item << CoordItem::Degrees << (QStringList(degreePoints) << meridian << parallel);
    }
    void promptsOfEachSystem() {
        QFETCH(CoordItem, system);
        QFETCH(CoordItem, units);
        QFETCH(QStringList, prompts);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(system);
        w->mapView->coordClick(units);
        dl.clear();
        const Clicks c = clicksOn(*w);
        // Point 1 at -100 / 40, point 2 at -110 / 35: the suggested meridian
        // is X1 + |X2 - X1| / 2, the parallel Y2 + |Y1 - Y2| / 2.
        for (const char* a : {"-100", "40", "-110", "35"}) dl.queue(QString::fromLatin1(a));
        for (int i = 4; i < prompts.size(); ++i) dl.queue(dlg::Answer::OK);
        w->mapView->MapRegister(c.x1, c.y1);
        w->mapView->MapRegister(c.x2, c.y2);
        QCOMPARE(inputPrompts(dl), prompts);
        QVERIFY(w->doc.MapRegistered);
        // Transverse Mercator keeps the central parallel it has (0 after a reset).
        if (system == CoordItem::TMerc) QCOMPARE(w->doc.CentralParallel, 0.0f);
    }

    void cancelAtEachStep_data() {
        QTest::addColumn<int>("step"); // the prompt answered with Cancel
        QTest::newRow("longitude 1") << 0;
        QTest::newRow("latitude 1") << 1;
        QTest::newRow("longitude 2") << 2;
        QTest::newRow("latitude 2") << 3;
        QTest::newRow("central meridian") << 4;
        QTest::newRow("central parallel") << 5;
    }
    void cancelAtEachStep() {
        QFETCH(int, step);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(CoordItem::AlbersEA);
        dl.clear();
        const Clicks c = clicksOn(*w);
        const QStringList answers{"-100", "40", "-110", "35", "-105", "37.5"};
        for (int i = 0; i < step; ++i) dl.queue(answers[i]);
        dl.queue(dlg::Cancel{});
        w->mapView->MapRegister(c.x1, c.y1);
        if (step >= 2) w->mapView->MapRegister(c.x2, c.y2);
        const Document& d = w->doc;
        QVERIFY(!d.MapRegistered);
        QCOMPARE(dl.prompts.size(), size_t(step + 1));
        QCOMPARE(dl.prompts.back().kind, dlg::Prompt::Kind::Input);
        if (step < 2) {
            QCOMPARE(d.RefPixelX1, 0.0f);
            QCOMPARE(d.RefPixelY1, 0.0f);
            QVERIFY(!w->markers->labRef[1].Visible);
        } else {
            // Only the point being entered is cleared.
            QCOMPARE(d.RefPixelX1, float(c.x1));
            QCOMPARE(d.RefPixelY1, float(c.y1));
            QVERIFY(w->markers->labRef[1].Visible);
            QCOMPARE(d.RefPixelX2, 0.0f);
            QCOMPARE(d.RefPixelY2, 0.0f);
            QVERIFY(!w->markers->labRef[2].Visible);
        }
        // The next click starts the cancelled point again.
        dl.clear();
        w->mapView->MapRegister(c.x2, c.y2);
        QCOMPARE(dl.prompts.front().title, step < 2 ? QStringLiteral("Map Longitude Registration 1")
                                                    : QStringLiteral("Map Longitude Registration 2"));
    }

    // A longitude that is not a number, or two clicks in one column, end the
    // registration with its message and clear both points.
    void failedRegistration_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("sameColumn");
        QTest::addColumn<QString>("error");
        QTest::newRow("longitude not a number")
            << QStringList{"1000", "4000", "abc"} << false << "Type mismatch";
        QTest::newRow("clicks in one column") << QStringList{"1000", "4000", "3000", "2000"} << true
                                              << "Division by zero";
    }
    void failedRegistration() {
        QFETCH(QStringList, answers);
        QFETCH(bool, sameColumn);
        QFETCH(QString, error);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(CoordItem::Meters);
        const Clicks c = clicksOn(*w);
        for (const QString& a : answers) dl.queue(a);
        w->mapView->MapRegister(c.x1, c.y1);
        w->mapView->MapRegister(sameColumn ? c.x1 : c.x2, c.y2);
        QCOMPARE(dl.prompts.back().text, "Map Registration error!\n\n" + error);
        QCOMPARE(dl.prompts.back().icon, dlg::Icon::Information);
        const Document& d = w->doc;
        QVERIFY(d.RefPixelX1 == 0 && d.RefPixelY1 == 0 && d.RefPixelX2 == 0 && d.RefPixelY2 == 0);
        QVERIFY(!w->markers->labRef[1].Visible && !w->markers->labRef[2].Visible);
        QVERIFY(!d.MapRegistered);
    }

    void notANumberAsLatitudeCountsAsZero() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(CoordItem::Linear);
        w->mapView->coordClick(CoordItem::Meters);
        const Clicks c = clicksOn(*w);
        dl.clear();
        dl.queue(QStringLiteral("5000.4"));
        dl.queue(QStringLiteral("abc"));
        w->mapView->MapRegister(c.x1, c.y1);
        QCOMPARE(w->doc.RefMapY1, 0.0f);
        QCOMPARE(w->markers->labRef[1].ToolTipText, QStringLiteral("Registration Point 1: Northing = 0; Easting = 5000"));
        QCOMPARE(dl.prompts.size(), size_t(2));
    }

    void registrationNeedsProjectionAndUnits() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        // Linear ticks Meters but leaves the units unset.
        w->mnuCoordLinear->trigger();
        QVERIFY(w->mnuCoordMeters->isChecked());
        dl.clear();
        w->mapView->MapRegister(600, 900);
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].text,
                 QStringLiteral("Please choose the map projection and units from the Coordinates Menu."));
        QCOMPARE(dl.prompts[0].icon, dlg::Icon::None);
        QVERIFY(!w->markers->labRef[1].Visible);
        QCOMPARE(w->doc.RefPixelX1, 0.0f);
    }

    void zoomBetweenTheClicks() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(CoordItem::Meters);
        const Clicks c = clicksOn(*w);
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        dl.queue(QStringLiteral("1000"));
        dl.queue(QStringLiteral("4000"));
        w->mapView->MapRegister(c.x1, c.y1);
        w->mapView->cmdZoomIn_Click();
        const double kx = w->imPoints->Width() / W, ky = w->imPoints->Height() / H;
        // The first click moved with the picture; its marker too (hidden by
        // the zoom until the registration's redraw).
        QCOMPARE(w->doc.RefPixelX1, float(c.x1 * kx));
        QCOMPARE(w->doc.RefPixelY1, float(c.y1 * ky));
        QVERIFY(qAbs(w->markers->labRef[1].Left - (w->imPoints->Left() + c.x1 * kx - 150)) < 0.01);
        dl.queue(QStringLiteral("3000"));
        dl.queue(QStringLiteral("2000"));
        w->mapView->MapRegister(c.x2 * kx, c.y2 * ky);
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(readOut(*w, c.x1 * kx, c.y1 * ky), QStringLiteral("4000 N;  1000 E"));
        QCOMPARE(readOut(*w, c.x2 * kx, c.y2 * ky), QStringLiteral("2000 N;  3000 E"));
        // Back at the page the same holds.
        w->mapView->cmdZoomPage_Click();
        QCOMPARE(readOut(*w, c.x1, c.y1), QStringLiteral("4000 N;  1000 E"));
    }

    void reRegisteringPointTwoOfAProjectedMap() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->degreeFormatClick(DegreeFormatItem::Decimal2);
        w->mapView->coordClick(CoordItem::AlbersEA);
        const Clicks c = clicksOn(*w);
        for (const char* a : {"-105.25", "40.75", "-100.50", "36.25"}) dl.queue(QString::fromLatin1(a));
        dl.queue(dlg::Answer::OK);
        dl.queue(dlg::Answer::OK);
        w->mapView->MapRegister(c.x1, c.y1);
        w->mapView->MapRegister(c.x2, c.y2);
        QVERIFY(w->doc.MapRegistered);
        // What a click on reference marker 2 does on Yes.
        w->doc.RefPixelX2 = w->doc.RefPixelY2 = 0;
        w->markers->labRef[2].Visible = false;
        w->doc.MapRegistered = false;
        dl.clear();
        const double x3 = c.x2 * 0.9, y3 = c.y2 * 0.95;
        for (const char* a : {"-101.00", "37.50"}) dl.queue(QString::fromLatin1(a));
        dl.queue(dlg::Answer::OK);
        dl.queue(dlg::Answer::OK);
        w->mapView->MapRegister(x3, y3);
        QVERIFY(w->doc.MapRegistered);
        // The suggestion is built from point 1 as it was typed.
        QCOMPARE(dl.prompts[2].defaultText, QStringLiteral("-103.1"));
        QCOMPARE(readOut(*w, c.x1, c.y1), QStringLiteral("254.75° E;  40.75° N"));
        QCOMPARE(readOut(*w, x3, y3), QStringLiteral("259.00° E;  37.50° N"));
    }

    void typedValuesOfTheFit() {
        // The fit itself on a bare document: 2000 x 1000 twips, linear.
        Document d;
        d.ProjectionName = projection_names::Linear;
        d.CoordUnits = QStringLiteral("Meters");
        d.RefPixelX1 = 400;
        d.RefPixelY1 = 200;
        d.RefPixelX2 = 1600;
        d.RefPixelY2 = 800;
        d.RefMapX1 = 1000;
        d.RefMapY1 = 4000;
        d.RefMapX2 = 4000;
        d.RefMapY2 = 1000;
        QVERIFY(MapRegisterProjection(d, 2000, 1000));
        QCOMPARE(d.MapSpanX, 5000.0f);
        QCOMPARE(d.MapSpanY, 5000.0f);
        QVERIFY(qAbs(d.MapOriginX) < 1e-3f);
        QCOMPARE(d.MapOriginY, 5000.0f);
        QCOMPARE(d.ProjScaleX, 0.4f);
        // Equal typed Eastings: a division by zero.
        d.RefMapX2 = d.RefMapX1;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, MapRegisterProjection(d, 2000, 1000));
    }
};

VEX_TEST(MapRegistrationTest);
#include "MapRegistrationTest.moc"
