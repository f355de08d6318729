// Two-point registration driven through the main window: the round trip
// from the typed values to the cursor read-out under every coordinate
// system with a zoom between the clicks, a contour plot of every system,
// cancelling, bad answers, and re-registering point 2.
#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "contour/ContourCommands.h"
#include "digitize/Digitizer.h"

using namespace maptest;
using testsupport::dialogs;

namespace {

// The read-out text the map gives at (x, y) twips on the picture.
QString readOut(MainWindow& w, double x, double y) {
    w.mapView->MapPosition(x, y);
    return w.imPoints->ToolTipText;
}

} // namespace

class MapRegistrationTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800);
    QPointF c1, c2; // the clicks, at (0.2, 0.3) and (0.7, 0.8) of the picture

    // The window with the map under the given system, two decimals of a degree.
    std::unique_ptr<MainWindow> windowUnder(const QString& system, const QString& units) {
        auto w = windowWithMap(mapPath);
        w->mapView->degreeFormatClick(DegreeFormatItem::Decimal2);
        w->mapView->coordClick(coordItemNamed(system));
        w->mapView->coordClick(coordItemNamed(units));
        c1 = {w->imPoints->Width() * 0.2, w->imPoints->Height() * 0.3};
        c2 = {w->imPoints->Width() * 0.7, w->imPoints->Height() * 0.8};
        dialogs().clear();
        return w;
    }

private slots:
    void roundTrip_data() { testsupport::addFileRows(QStringLiteral("map/registration.txt")); }
    void roundTrip() {
        const auto r = testsupport::rowFields();
        auto w = windowUnder(r.str(0), r.str(1));
        auto& dl = dialogs();
        queueAll(r.str(2).split(u' '));
        for (int i : {5, 6})
            if (r.str(i) != QLatin1String("-")) dl.queue(dlg::Answer::OK); // the suggestion
        // A zoom between the clicks: the first one moves with the picture.
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        w->mapView->MapRegister(c1.x(), c1.y());
        w->mapView->cmdZoomIn_Click();
        const double kx = w->imPoints->Width() / W, ky = w->imPoints->Height() / H;
        QVERIFY(kx > 1.2 && w->doc.RefPixelX1 == float(c1.x() * kx) && w->doc.RefPixelY1 == float(c1.y() * ky));
        w->mapView->MapRegister(c2.x() * kx, c2.y() * ky);
        const bool deg = r.str(1) == QLatin1String("Degrees");
        const QString x = deg ? "Longitude" : "Easting", y = deg ? "Latitude" : "Northing";
        QStringList want{"Enter " + x + (deg ? " (W values negative)" : "") + " coordinate 1|Map " + x + " Registration 1|",
                         "Enter " + y + (deg ? " (S values negative)" : "") + " coordinate 1|Map " + y + " Registration 1|",
                         "Enter " + x + " coordinate 2|Map " + x + " Registration 2|",
                         "Enter " + y + " coordinate 2|Map " + y + " Registration 2|"};
        if (r.str(5) != QLatin1String("-")) want << "Enter central meridian|Map Longitude Registration|" + r.str(5);
        if (r.str(6) != QLatin1String("-")) want << "Enter central parallel|Map Latitude Registration|" + r.str(6);
        QStringList asked;
        for (const dlg::Prompt& p : dl.prompts)
            asked << (p.kind == dlg::Prompt::Kind::Input ? p.text + u'|' + p.title + u'|' + p.defaultText : p.text);
        QCOMPARE(asked, want);
        QVERIFY(dl.unanswered == 0 && dl.answers.empty());
        QVERIFY(w->doc.MapRegistered && w->optDat->isEnabled() && !w->mnuCoord->menuAction()->isEnabled());
        if (r.str(0) == QLatin1String("TMerc")) QCOMPARE(w->doc.CentralParallel, 0.0f); // kept from the reset
        // At the page again the transform follows the picture's size.
        for (auto [fx, fy] : {std::pair{kx, ky}, {1.0, 1.0}}) {
            if (fx == 1.0) w->mapView->cmdZoomPage_Click();
            QCOMPARE(readOut(*w, c1.x() * fx, c1.y() * fy), r.str(3));
            QCOMPARE(readOut(*w, c2.x() * fx, c2.y() * fy), r.str(4));
        }
        // The reference markers sit on their clicks and say where they are.
        const Marker &m1 = w->markers->labRef[1], &m2 = w->markers->labRef[2];
        QVERIFY(qAbs(m1.Left + w->doc.RefMarkOffsetX - w->imPoints->Left() - c1.x()) < 0.5 && m1.Visible);
        QVERIFY(qAbs(m2.Top + w->doc.RefMarkOffsetY - w->imPoints->Top() - c2.y()) < 0.5 && m2.Visible);
        QVERIFY(m2.ToolTipText.startsWith(QStringLiteral("Reference Point 2: ")));
    }

    // A field sheet of 2000 x 1500 pixels whose pixels are square on the
    // ground, registered at 105.5 W 40.0 N and 105.0 W 39.6 N (960 x 1000
    // pixels apart) about the meridian 105.25 W, with 29 datum and 10 contour
    // points: every system contours it, on a grid of its map's proportions
    // (worked out by hand on the sphere): the Mercators keep the picture's
    // 4:3; the plate carree widens it by 1 / cos 39.8 degrees; the
    // azimuthals and the conics, whose map X counts the picture per degree
    // of longitude, narrow it by cos 39.8 degrees.
    void everySystemContours_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<int>("rows");
        for (auto [system, rows] : {std::pair{"Linear", 28}, {"CylEquiDis", 28}, {"SMerc", 37}, {"TMerc", 37},
                                    {"Ortho", 48}, {"LmbertAzi", 48}, {"AlbersEA", 48}, {"LambertConf", 48}})
            QTest::newRow(system) << QString::fromLatin1(system) << rows;
    }
    void everySystemContours() {
        QFETCH(QString, system);
        auto w = windowWithMap(writeMap(dir, QStringLiteral("sheet.png"), 2000, 1500));
        auto& dl = dialogs();
        w->mapView->coordClick(coordItemNamed(system));
        w->mapView->coordClick(CoordItem::Degrees);
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        queueAll({"-105.5", "40.0", "-105.0", "39.6", "-105.25", "39.8"});
        w->mapView->MapRegister(W * 400 / 2000, H * 200 / 1500);
        w->mapView->MapRegister(W * 1360 / 2000, H * 1200 / 1500);
        w->optStruc->setValue(true);
        for (int i = 0; i < 39; ++i) {
            (i < 29 ? w->optDat : w->optCon)->setValue(true);
            const double fx = 0.22 + 0.44 * (i % 8) / 7, fy = 0.16 + 0.62 * (i / 8) / 4;
            w->mapView->MapPosition(fx * W, fy * H);
            dl.queue(QString::number(std::lround(100 + 300 * fx + 200 * fy)));
            w->digitizer->MapPoint();
        }
        QVERIFY(w->doc.MapRegistered && w->doc.DatCount == 29 && w->doc.ConCount == 10);
        dl.clear();
        w->cmdShow->click();
        QVERIFY2(dl.prompts.empty(), dl.prompts.empty() ? "" : qPrintable(dl.prompts[0].text));
        QCOMPARE(w->doc.GridCols, 50);
        QTEST(w->doc.GridRows, "rows");
        // The plot is painted: the middle of the data is not the blank page.
        const DataPoint& n = w->doc.ContourGrid.at(w->doc.GridCols / 2, w->doc.GridRows / 2);
        const ContourCommands& cc = *w->contourCommands;
        QVERIFY(w->picMap->isVisible() && w->picMap->picture().pixelColor(cc.plotTransform().map(
                                              cc.plotPosition(n.X, n.Y)).toPoint()) != QColor(Qt::white));
    }

    // Cancel at each prompt of an Albers registration: only the point being
    // entered is cleared, and the next click starts it again.
    void cancelAtEachStep() {
        for (int step = 0; step < 6; ++step) {
            auto w = windowUnder(QStringLiteral("AlbersEA"), QStringLiteral("Degrees"));
            auto& dl = dialogs();
            queueAll(QStringList{"-100", "40", "-110", "35", "-105", "37.5"}.mid(0, step));
            dl.queue(dlg::Cancel{});
            w->mapView->MapRegister(c1.x(), c1.y());
            if (step >= 2) w->mapView->MapRegister(c2.x(), c2.y());
            const Document& d = w->doc;
            QVERIFY(!d.MapRegistered && dl.prompts.size() == size_t(step + 1) && dl.answers.empty());
            QCOMPARE(d.RefPixelX1, step < 2 ? 0.0f : float(c1.x()));
            QVERIFY(d.RefPixelX2 == 0 && d.RefPixelY2 == 0 && !w->markers->labRef[2].Visible);
            QCOMPARE(w->markers->labRef[1].Visible, step >= 2);
            dl.clear();
            w->mapView->MapRegister(c2.x(), c2.y());
            QCOMPARE(dl.prompts.front().title, QStringLiteral("Map Longitude Registration %1").arg(step < 2 ? 1 : 2));
        }
    }

    // Bad answers in metres, or no units chosen (Linear alone leaves them
    // unset): the message last shown, and reference marker 1's tip ("" when
    // it is cleared).
    void badAnswers_data() {
        for (const char* c : {"units", "answers", "message", "tip"}) QTest::addColumn<QString>(c);
        QTest::addColumn<int>("clicks"); // 3: the second click in the first one's column
        QTest::newRow("longitude not a number") << "Meters" << "1000 4000 abc"
                                                << "Map Registration error!\n\nType mismatch" << "" << 2;
        QTest::newRow("clicks in one column") << "Meters" << "1000 4000 3000 2000"
                                              << "Map Registration error!\n\nDivision by zero" << "" << 3;
        QTest::newRow("latitude not a number counts as 0") << "Meters" << "5000.4 abc" << "Enter Northing coordinate 1"
                                                           << "Registration Point 1: Northing = 0; Easting = 5000" << 1;
        QTest::newRow("no units") << "Linear" << "" << "Please choose the map projection and units from the "
                                                        "Coordinates Menu." << "" << 1;
    }
    void badAnswers() {
        QFETCH(QString, answers);
        QFETCH(QString, tip);
        QFETCH(int, clicks);
        auto w = windowUnder(QStringLiteral("Linear"), *static_cast<QString*>(QTest::qData("units", QMetaType::QString)));
        queueAll(answers.split(u' ', Qt::SkipEmptyParts));
        w->mapView->MapRegister(c1.x(), c1.y());
        if (clicks > 1) w->mapView->MapRegister(clicks == 3 ? c1.x() : c2.x(), c2.y());
        QTEST(dialogs().prompts.back().text, "message");
        QVERIFY(dialogs().answers.empty() && dialogs().unanswered == int(clicks > 1 || answers.isEmpty()));
        const Document& d = w->doc;
        QVERIFY(!d.MapRegistered && d.RefPixelX2 == 0 && d.RefPixelY2 == 0 && !w->markers->labRef[2].Visible);
        QVERIFY((d.RefPixelX1 != 0) == !tip.isEmpty() && w->markers->labRef[1].Visible == !tip.isEmpty());
        if (!tip.isEmpty()) QVERIFY(d.RefMapY1 == 0 && w->markers->labRef[1].ToolTipText == tip);
    }

    // A click on reference marker 2 answered Yes clears point 2 alone; the new
    // fit starts from point 1 as it was typed.
    void reRegisteringPointTwoOfAProjectedMap() {
        auto w = windowUnder(QStringLiteral("AlbersEA"), QStringLiteral("Degrees"));
        auto& dl = dialogs();
        queueAll({"-105.25", "40.75", "-100.50", "36.25", "-102.9", "38.5"});
        w->mapView->MapRegister(c1.x(), c1.y());
        w->mapView->MapRegister(c2.x(), c2.y());
        w->doc.RefPixelX2 = w->doc.RefPixelY2 = 0;
        w->markers->labRef[2].Visible = w->doc.MapRegistered = false;
        dl.clear();
        queueAll({"-101.00", "37.50", "-103.1", "39.1"});
        w->mapView->MapRegister(c2.x() * 0.9, c2.y() * 0.95);
        QVERIFY(w->doc.MapRegistered && dl.prompts[2].defaultText == QLatin1String("-103.1"));
        QCOMPARE(readOut(*w, c1.x(), c1.y()), QStringLiteral("254.75° E;  40.75° N"));
        QCOMPARE(readOut(*w, c2.x() * 0.9, c2.y() * 0.95), QStringLiteral("259.00° E;  37.50° N"));
    }
};

VEX_TEST(MapRegistrationTest);
#include "MapRegistrationTest.moc"
