// Two-point registration driven through the main window: the round trip
// from the typed values to the cursor read-out under every coordinate
// system with a zoom between the clicks (and point 2 registered again), a
// contour plot of every system, and a registration cut short by Cancel or a
// bad answer.  The tables are under tests/data/map.
#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "contour/ContourCommands.h"
#include "digitize/Digitizer.h"

using namespace maptest;
using testsupport::dialogs;

class MapRegistrationTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800);
    QPointF c1, c2; // the clicks, at (0.2, 0.3) and (0.7, 0.8) of the picture

    // The read-out text the map gives at (x, y) twips on the picture.
    static QString readOut(MainWindow& w, double x, double y) {
        w.mapView->MapPosition(x, y);
        return w.imPoints->ToolTipText;
    }

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
        const QString w1 = deg ? " (W values negative)" : "", s1 = deg ? " (S values negative)" : "";
        QStringList want{"Enter " + x + w1 + " coordinate 1|Map " + x + " Registration 1|",
                         "Enter " + y + s1 + " coordinate 1|Map " + y + " Registration 1|",
                         "Enter " + x + " coordinate 2|Map " + x + " Registration 2|",
                         "Enter " + y + " coordinate 2|Map " + y + " Registration 2|"};
        if (r.str(5) != QLatin1String("-")) want << "Enter central meridian|Map Longitude Registration|" + r.str(5);
        if (r.str(6) != QLatin1String("-")) want << "Enter central parallel|Map Latitude Registration|" + r.str(6);
        QStringList asked;
        for (const dlg::Prompt& p : dl.prompts)
            asked << (p.kind == dlg::Prompt::Kind::Input ? p.text + u'|' + p.title + u'|' + p.defaultText : p.text);
        QCOMPARE(asked, want);
        QVERIFY(dl.unanswered == 0 && dl.answers.empty() && w->doc.MapRegistered && w->optDat->isEnabled());
        QVERIFY(!w->mnuCoord->menuAction()->isEnabled());
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
        if (r.str(7) == u'-') return;
        w->doc.RefPixelX2 = w->doc.RefPixelY2 = 0;
        w->markers->labRef[2].Visible = w->doc.MapRegistered = false;
        dl.clear();
        queueAll(r.str(7).split(u' '));
        w->mapView->MapRegister(c2.x() * 0.9, c2.y() * 0.95);
        QVERIFY(w->doc.MapRegistered && dl.prompts[2].defaultText == r.str(7).section(u' ', 2, 2));
        QVERIFY(readOut(*w, c1.x(), c1.y()) == r.str(3) && readOut(*w, c2.x() * 0.9, c2.y() * 0.95) == r.str(8));
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

    void interrupted_data() { testsupport::addFileRows(QStringLiteral("map/registration-interrupted.txt")); }
    void interrupted() {
        const auto r = testsupport::rowFields();
        auto w = windowUnder(r.str(0), r.str(1));
        auto& dl = dialogs();
        for (const QString& a : r.str(2).split(u' ', Qt::SkipEmptyParts))
            a == QLatin1String("cancel") ? dl.queue(dlg::Cancel{}) : dl.queue(a);
        w->mapView->MapRegister(c1.x(), c1.y());
        if (r.str(3) != QLatin1String("one"))
            w->mapView->MapRegister(r.str(3) == QLatin1String("two") ? c2.x() : c1.x(), c2.y());
        QCOMPARE(dl.prompts.back().text, r.str(4).replace(QLatin1String("\\n"), QLatin1String("\n")));
        const Document& d = w->doc;
        const Marker &m1 = w->markers->labRef[1], &m2 = w->markers->labRef[2];
        QVERIFY(!d.MapRegistered && dl.answers.empty() && d.RefPixelX2 == 0 && d.RefPixelY2 == 0 && !m2.Visible);
        const bool kept = r.str(5) != u'-';
        QVERIFY((d.RefPixelX1 != 0) == kept && m1.Visible == kept && (!kept || m1.ToolTipText == r.str(5)));
        dl.clear();
        w->mapView->MapRegister(c2.x(), c2.y());
        QVERIFY(r.str(6) == u'-' || dl.prompts.front().title == r.str(6));
    }
};

VEX_TEST(MapRegistrationTest);
#include "MapRegistrationTest.moc"
