// The map view in the real window: importing and loading the map image
// (the new document, finding a missing map, resolutions, a reload that
// fails, the window on every road out of a plotted project), the marker
// redraw, the marker layer and its arrays, zoom and scrolling with their
// menu twins, and the read-outs under the mouse.
#include "common/MapSupport.h"

#include "app/Twips.h"

using namespace maptest;

namespace {

// Whether a point marker's point (the markers are anchored 40 x 140 twips
// from it) lies at (fx, fy) of the picture.
bool markerAt(const MainWindow& w, const Marker& m, double fx, double fy, double within) {
    return qAbs((m.Left + 40 - w.imPoints->Left()) / w.imPoints->Width() - fx) < within &&
           qAbs((m.Top + 140 - w.imPoints->Top()) / w.imPoints->Height() - fy) < within;
}

const QString kUnregistered = QStringLiteral(" (register map by clicking on locations of known coordinates)");

} // namespace

class MapWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800);

    // Registered in metres: E 1000 and 3000 at a fifth and four fifths of
    // the width, N 4000 and 2000 of the height; so the picture spans E
    // 333.3..3666.7 and N 4666.7..1333.3.  One datum point, at the middle.
    std::unique_ptr<MainWindow> registeredWithPoint(const QString& path) {
        auto w = windowWithMap(path);
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        w->mapView->MapReplot();
        w->doc.DataChanged = true;
        dialogs().clear();
        return w;
    }

private slots:
    // The import's dialog and the new document; the title is the file name
    // less its last four characters.  Finding a missing map offers every kind.
    void importAndFind() {
        auto w = startWindow();
        auto& dl = dialogs();
        dl.queue(mapPath), w->mnuFileImportMap->trigger();
        const dlg::Prompt& p = dl.prompts.at(0);
        QVERIFY(p.kind == dlg::Prompt::Kind::Open && p.title == QLatin1String("Open Map File") && p.defaultText == "");
        QCOMPARE(p.filter, QString::fromUtf8(testsupport::fileBytes(testsupport::dataFile("map/import-filter.txt"))));
        const Document& d = w->doc;
        QVERIFY(d.MapFileName == mapPath && d.DataTitle == QLatin1String("survey") && d.ImageWidthPx == 1000);
        QVERIFY(!d.MapRegistered && !d.DataChanged && !d.MapBusy && w->imPoints->picture().height() == 800);
        QCOMPARE(w->windowTitle() + w->labText->text() + w->panel(2),
                 "Ferno Vexolan: surveyUnregistered MapMap:  survey" + kUnregistered);
        QVERIFY(w->cmdSave->isEnabled() && w->mnuCoord->menuAction()->isEnabled() && !w->optDat->isEnabled());
        importMap(*w, writeMap(dir, QStringLiteral("map.tiff"), 40, 30));
        QCOMPARE(d.DataFileName, w->app.DataFolder + QStringLiteral("map..vlm"));
        dl.queue(dlg::Cancel{}), w->mapView->MapFind();
        for (const char* ext : {"jpg", "gif", "bmp", "png", "psd", "tif", "pcx", "tga", "wbmp", "wmf", "emf", "ico"})
            QVERIFY2(dl.prompts.back().filter.section(u'|', 1, 1).split(u';').contains(QString("*.") + ext), ext);
        QVERIFY(d.MapFileName.isEmpty());
    }

    // Each resolution item ticks itself alone and resamples the file
    // (halves to even: 25% of 1002 is 250); the registration and the points
    // stay where they are.  When the file has gone (width 0 below) the
    // document, the shown map and the old tick stay.
    void resolutions() {
        for (auto [percent, source, width] : {std::tuple{25, 1000, 250}, {25, 1002, 250}, {50, 1000, 500},
                                              {75, 1000, 750}, {150, 1000, 1500}, {200, 1000, 2000},
                                              {50, 1000, 0}, {100, 1000, 1000}}) {
            QTemporaryDir rdir;
            const QString path = writeMap(rdir, QStringLiteral("res.png"), source, 800);
            auto w = registeredWithPoint(path);
            const bool gone = width == 0;
            if (gone) QVERIFY(QFile::remove(path));
            QAction* item = w->findChild<QAction*>(QStringLiteral("mnuViewRes%1").arg(percent));
            item->trigger();
            QVERIFY(std::ranges::count_if(w->mnuViewRes->actions(), &QAction::isChecked) == 1);
            QVERIFY((gone ? w->mnuViewRes100 : item)->isChecked());
            const int shown = gone ? source : width;
            QVERIFY(w->doc.ImageWidthPx == shown && w->imPoints->picture().width() == shown);
            QVERIFY(qAbs(w->doc.ImageHeightPx - 800.0 * shown / source) <= 1 && dialogs().prompts.size() == gone);
            QVERIFY(!gone || dialogs().prompts[0].text.startsWith(QStringLiteral("Map load error: ")));
            QVERIFY(w->doc.MapRegistered && w->doc.DataChanged && w->doc.DatCount == 1 && w->doc.MapFileName == path);
            QVERIFY(markerAt(*w, w->markers->labDat[1], 0.5, 0.5, 1e-3) && w->markers->labDat[1].Visible);
        }
    }

    // The caption, the zoom panel, the status bar and View > Show's ticks
    // follow the document on every road out of a saved, plotted project:
    // an import refused as too large, File > Close, re-registering and Save
    // As under a new name, opening a project.
    void windowFollowsTheDocument_data() { testsupport::addFileRows(QStringLiteral("map/window-roads.txt")); }
    void windowFollowsTheDocument() {
        const auto r = testsupport::rowFields();
        const QString road = QString::fromLatin1(QTest::currentDataTag());
        auto w = windowWithMap(mapPath);
        auto& dl = dialogs();
        registerLinear(*w);
        w->optStruc->setValue(true);
        for (int i = 0; i < 6; ++i) addPoint(*w, true, i + 1, 1200 + 300 * i, 2200 + 250 * (i % 3), 10.f * i);
        dl.queue(dir.filePath(QStringLiteral("old.vlm"))), w->mnuFileSaveAs->trigger();
        w->cmdShow_Click();
        QVERIFY(w->mnuViewShowCon->isChecked());
        dl.clear();
        if (road == QLatin1String("refused map")) {
            importMap(*w, testsupport::dataFile("map/huge.bmp")); // a header of 100000 x 100000 pixels
            QVERIFY(dl.prompts.size() == 2 && dl.prompts[1].text.startsWith(QStringLiteral("Map load error: ")));
            QVERIFY(w->doc.MapFileName.isEmpty() && w->labText->text().isEmpty() && !w->mnuFileSaveAs->isEnabled());
        } else if (road == QLatin1String("close")) {
            emit w->mnuFile->aboutToShow();
            w->mnuFileClose->trigger();
        } else if (road == QLatin1String("re-register")) {
            // The title changed by Edit > Change Title; No keeps everything;
            // Yes clears the points and the registration but keeps the map,
            // its title (now in the caption, not the project's name) and the
            // coordinate system.
            w->cmdShow_Click();
            emit w->mnuOpt->aboutToShow();
            dl.queue(QStringLiteral("Coast survey")), w->mnuOptTitle->trigger();
            QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: old"));
            dl.queue(dlg::Answer::No), dl.queue(dlg::Answer::Yes);
            w->mnuOptReg->trigger();
            QVERIFY(w->doc.MapRegistered && w->doc.DatCount == 6);
            w->mnuOptReg->trigger();
            QCOMPARE(dl.prompts[2].text, QStringLiteral("Re-registering will clear all data, do you wish to continue"));
            QVERIFY(dl.prompts[2].icon == dlg::Icon::Question && dl.prompts[2].buttons == dlg::Buttons::YesNo);
            const Document& d = w->doc;
            QVERIFY(!d.MapRegistered && d.DatCount == 0 && d.RefPixelX1 == 0 && d.DataTitle == QLatin1String("Coast survey"));
            QVERIFY(d.MapFileName == mapPath && w->mnuCoordMeters->isChecked() && w->mnuCoordLinear->isChecked());
            QCOMPARE(w->panel(1) + w->panel(2), "Projection: Linear Coordinates, Units: MetersMap:  Coast survey" +
                                                    kUnregistered);
            QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: Coast survey"));
            QVERIFY(!w->optDat->isEnabled());
            registerLinear(*w);
            w->optStruc->setValue(true);
            dl.queue(dir.filePath(QStringLiteral("renamed.vlm"))), w->mnuFileSaveAs->trigger();
        } else {
            dl.queue(dir.filePath(QStringLiteral("old.vlm"))), w->cmdDig->click();
        }
        QCOMPARE(dl.unanswered, int(road == QLatin1String("refused map"))); // the load error's OK
        QCOMPARE(QStringList({w->windowTitle(), w->Frame8->title(), w->panel(2)}), r.f);
        QCOMPARE(w->mnuViewShowMap->isChecked(), road == QLatin1String("re-register") || road == QLatin1String("open"));
        QVERIFY(!w->mnuViewShowCon->isChecked() && w->mnuViewShowCon->text().remove(u'&') == QLatin1String("Contours"));
    }

    // The datum point is the picture's middle, (1500, 2500) lies at 0.35,
    // 0.65.  Contact mode shows the datum points of the contact shown only.
    void replot() {
        auto w = registeredWithPoint(mapPath);
        auto& mk = *w->markers;
        addPoint(*w, false, 1, 1500, 2500, 7);
        w->mapView->MapReplot();
        QVERIFY(mk.labDat[1].Visible && mk.labCon[1].Visible && mk.labRef[1].Visible && mk.labRef[2].Visible);
        // In degrees under a projection the program does not know, the tips stay.
        w->doc.ProjectionName = QStringLiteral("Miller Cylindrical"), w->doc.CoordUnits = QStringLiteral("Degrees");
        mk.labRef[2].ToolTipText.clear();
        w->mapView->MapReplot();
        QCOMPARE(mk.labRef[2].ToolTipText + mk.labRef[1].ToolTipText,
                 QStringLiteral("Reference Point 1: N = 4000; E = 1000"));
        QVERIFY(markerAt(*w, mk.labCon[1], 0.35, 0.65, 1e-5));
        w->mapView->MapPosition(w->imPoints->Width() / 2, w->imPoints->Height() / 2);
        QCOMPARE(w->imPoints->ToolTipText, QStringLiteral("3000 N;  2000 E"));
        QCOMPARE(w->labText->text() + w->labDatNum->text() + w->labConNum->text(),
                 QStringLiteral("2 Contour and Datum Points11"));
        QVERIFY(mk.stacking().back() == MarkerKind::Con && w->imContacts->Left() == w->imPoints->Left());
        int enumerated = 0;
        w->mapView->contactEnum = [&] { ++enumerated; };
        w->optRock->setValue(true);
        w->doc.DatumPoints[1].Z = 3;
        addPoint(*w, true, 2, 2100, 3000, 7);
        for (const char* shown : {"All", "3"}) w->doc.ContactShown = QLatin1String(shown), w->mapView->MapReplot();
        QCOMPARE(mk.labDat[2].ToolTipText, QStringLiteral("Contact 7 Datum Point: 2"));
        QVERIFY(mk.labDat[1].Visible && !mk.labDat[2].Visible && !mk.labCon[1].Visible && enumerated == 2);
        QVERIFY(mk.stacking().back() == MarkerKind::Dat);
        QCOMPARE(w->labText->text() + w->panel(2), QStringLiteral("Contact 3: PointsVexolan: survey (Left-click map to "
                                                                  "add contact points; right click to edit points)"));
    }

    // A failing redraw is reported (markers hidden before it stay hidden);
    // so is a record without its marker.  A full map of 32767 points of each
    // kind counts past 16 bits.
    void failuresAndAFullMap() {
        auto w = registeredWithPoint(mapPath);
        auto& dl = dialogs();
        Document& d = w->doc;
        d.MapSpanX = 0;
        w->mapView->MapReplot();
        QVERIFY(dl.prompts.size() == 1 && dl.prompts[0].icon == dlg::Icon::Information && !d.MapBusy);
        QVERIFY(dl.prompts[0].text == "MapReplot error: \n\nDivision by zero" && !w->markers->labDat[1].Visible);
        d.MapSpanX = 1000;
        d.DatumPoints.resize(size_t(++d.DatCount) + 1);
        w->mapView->MapReplot();
        QVERIFY(dl.prompts.size() == 2 && dl.prompts[1].text.startsWith(QStringLiteral("MapReplot error: \n\n")));
        dl.clear();
        d.DatCount = 0;
        for (int i = 1; i <= 32767; ++i)
            addPoint(*w, true, i, 1000.0f + i % 2000, 2000.0f + i % 1500, 1), addPoint(*w, false, i, 1500, 2500, 2);
        w->mapView->MapReplot();
        QVERIFY(dl.prompts.empty() && w->markers->labCon[32767].Visible);
        QCOMPARE(w->labText->text() + w->labDatNum->text(), QStringLiteral("65534 Contour and Datum Points32767"));
        QCOMPARE(w->markers->labCon[32767].ToolTipText, QStringLiteral("Isopach Contour Point 32767: Z = 2 meters"));
    }

    // Hits follow the stacking, later members above earlier ones; only
    // visible markers are hit and painted, and each glyph's ink is centred
    // on its point: a blue cross on (1500, 1500) twips, a black star on
    // (900, 2100); the red stars on the cross are hidden.
    void markerLayer() {
        MarkerOverlay overlay(nullptr, nullptr, nullptr);
        overlay.resize(200, 200);
        overlay.labRef.load(1) = Marker{1350, 1240, 300, 400, QStringLiteral("+"), {}, 0xFF0000, true, {}};
        overlay.labCon.load(1) = Marker{1400, 1400, 100, 180, QStringLiteral("*"), {}, 255, true, {}};
        overlay.labDat.load(1) = Marker{860, 1960, 100, 180, QStringLiteral("*"), {}, 0, true, {}};
        overlay.labDat.load(2) = Marker{1420, 1420, 100, 180, QStringLiteral("*"), {}, 255, true, {}};
        QCOMPARE(overlay.hitTest(1450, 1450).kind, MarkerKind::Ref); // the crosses start on top
        overlay.bringToFront(MarkerKind::Dat);
        QVERIFY(overlay.hitTest(1450, 1450).kind == MarkerKind::Dat && overlay.hitTest(1450, 1450).index == 2);
        overlay.bringToFront(MarkerKind::Con);
        QCOMPARE(overlay.hitTest(1450, 1450).kind, MarkerKind::Con);
        overlay.labCon[1].Visible = overlay.labDat[2].Visible = false;
        QCOMPARE(overlay.hitTest(1450, 1450).kind, MarkerKind::Ref);
        QVERIFY(overlay.hitTest(50, 50).kind == MarkerKind::None && overlay.toolTipAt(50, 50).isEmpty());
        QImage img(overlay.size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        overlay.render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
        auto centre = [&](QPoint p, QRgb rgb) { // of the pixels of about that colour
            double sx = 0, sy = 0, n = 0;
            for (int y = p.y() - 15; y <= p.y() + 15; ++y)
                for (int x = p.x() - 15; x <= p.x() + 15; ++x) {
                    const QColor c = img.pixelColor(x, y);
                    const double a = qAbs(c.red() - qRed(rgb)) + qAbs(c.blue() - qBlue(rgb)) < 100 ? c.alpha() : 0;
                    sx += a * x, sy += a * y, n += a;
                }
            return n > 0 ? QPointF(sx / n, sy / n) : QPointF(-100, -100);
        };
        const QPointF cross = centre({100, 100}, qRgb(0, 0, 255)), star = centre({60, 140}, qRgb(0, 0, 0));
        QVERIFY2(qAbs(cross.x() - 100) <= 2 && qAbs(cross.y() - 100) <= 2, qPrintable(QString::number(cross.x())));
        QVERIFY2(qAbs(star.x() - 60) <= 3 && qAbs(star.y() - 140) <= 3, qPrintable(QString::number(star.x())));
        QCOMPARE(centre({100, 100}, qRgb(255, 0, 0)), QPointF(-100, -100));
        // A load copies the template (into any gap too); a member loaded
        // again starts afresh, those after it go; erasing closes the gap.
        MarkerArray<Marker>& a = overlay.labDat;
        a.templ().Caption = QStringLiteral("x");
        a.load(5).Left = 5;
        QVERIFY(a.count() == 5 && a[3].Caption == QLatin1String("x") && !a[3].Visible && a[1].Visible);
        a[3].Left = 3;
        QVERIFY(a.load(3).Left == 0 && a.count() == 3 && a[3].Caption == QLatin1String("x") && a[1].Left == 860);
        for (int i : {2, 0, 7}) a.erase(i); // never the template, nor one that is not there
        QVERIFY(a.count() == 2 && a[1].Left == 860);
        a.unloadAll(), a.unloadLast();
        QCOMPARE(a.count(), 0);
    }

    // Zoom buttons, their menu twins and the scroll bars: at full size the
    // bars scroll the picture and the markers (two twips a unit beyond
    // 32000, past 16000 by the frame), but not while the plot is shown.
    // The Degree Format items tick alone.
    void zoomScrollAndMenus() {
        auto w = registeredWithPoint(mapPath);
        const double page = w->imPoints->Width();
        auto zoomButtons = [](const MainWindow& w) {
            return ZoomEnabled{w.cmdZoomPage->isEnabled(), w.cmdZoomOut->isEnabled(), w.cmdZoomIn->isEnabled(),
                               w.cmdZoomFull->isEnabled()};
        };
        QVERIFY(zoomButtons(*w) == (ZoomEnabled{false, false, true, true}) && w->HScroll1->isHidden());
        w->cmdZoomIn->click();
        QVERIFY(w->Frame8->title() == QLatin1String("Zoom = 1.25") && w->mnuViewZoomOut->isEnabled());
        w->mnuViewZoomFull->trigger();
        QVERIFY(w->imPoints->Width() == 64000 && w->imPoints->Height() == 51200 && w->doc.HScrollStep == -2);
        QVERIFY(w->Frame8->title().endsWith(QLatin1String(" (Full)")) && !w->HScroll1->isHidden());
        QCOMPARE(zoomButtons(*w), (ZoomEnabled{true, true, false, false}));
        for (auto [value, left, frameLeft] : {std::tuple{1000, -2000.0, 90.0}, {17000, -32000.0, -2000.0}}) {
            w->HScroll1->setValue(value);
            QVERIFY(w->imPoints->Left() == left && w->mapView->currentView().Frame2.Left == frameLeft);
            QVERIFY(markerAt(*w, w->markers->labDat[1], 0.5, 0.5, 1e-6) && w->markers->labDat[1].Visible);
            QVERIFY(w->HScroll1->isEnabled() && !w->doc.MapBusy && w->markers->size() == w->Frame2->size());
        }
        w->VScroll1->setValue(500);
        w->imPoints->hide(), w->VScroll1->setValue(600), w->imPoints->show(); // not while the plot is shown
        QCOMPARE(w->imPoints->Top(), -1000.0);
        w->mnuViewZoomOut->trigger();
        QVERIFY(w->imPoints->Width() == 51200 && zoomButtons(*w) == (ZoomEnabled{true, true, true, true}));
        w->mnuViewZoomPage->trigger();
        QVERIFY(w->imPoints->Width() == page && w->HScroll1->isHidden() && dialogs().prompts.empty());
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
        for (QAction* a : {w->mnuViewLatLongDecimal2, w->mnuViewLatLongDecimal2, w->mnuViewLatLong360}) a->trigger();
        QVERIFY(w->doc.LatLongFormat == QLatin1String("2") && w->mnuViewLatLongDecimal2->isChecked());
        QVERIFY(!w->mnuViewLatLongDegMin->isChecked() && !w->mnuViewLatLong360->isChecked());
        auto empty = startWindow(); // no picture to fit
        empty->cmdZoomPage_Click();
        QVERIFY(empty->Frame8->title() == QLatin1String("Zoom") && empty->imPoints->isHidden());
    }

    // Under the mouse the map read-out follows, except while the map is busy;
    // over the plot the plot's read-out does, nothing while busy, and a plot
    // without the grid it claims is reported.
    void readOuts() {
        auto w = windowWithMap(mapPath);
        auto centreOf = [](const MapPicture& p, double left, double top) {
            return twips::rect(left + p.Width() / 2, top + p.Height() / 2, 0, 0).topLeft();
        };
        const QPoint map = centreOf(*w->imPoints, w->imPoints->Left(), w->imPoints->Top());
        QTest::mouseMove(w->markers, map);
        QVERIFY(w->imPoints->ToolTipText == QLatin1String("x = 500;  y = 400") &&
                w->imContacts->ToolTipText == w->imPoints->ToolTipText);
        QCOMPARE(w->markers->toolTipAt(twips::fromPx(map.x()), twips::fromPx(map.y())), w->imPoints->ToolTipText);
        w->doc.MapBusy = true;
        QTest::mouseMove(w->markers, map + QPoint(20, 10));
        QCOMPARE(w->imPoints->ToolTipText, QStringLiteral("x = 500;  y = 400"));
        w->doc.MapBusy = false;
        registerLinear(*w);
        w->imPoints->hide(), w->picMap->show();
        const ZoomView v = w->mapView->currentView();
        const QPoint plot = centreOf(*w->picMap, v.picMap.Left - v.Frame2.Left, v.picMap.Top - v.Frame2.Top);
        QTest::mouseMove(w->markers, plot);
        QCOMPARE(w->picMap->ToolTipText, QStringLiteral("E = 2000;  N = 3000")); // no grid yet
        QCOMPARE(w->markers->toolTipAt(twips::fromPx(plot.x()), twips::fromPx(plot.y())), w->picMap->ToolTipText);
        w->doc.MapBusy = true;
        w->mapView->picMap_MouseMove(0, 0, 100, 100);
        QVERIFY(w->picMap->ToolTipText.isEmpty());
        w->doc.MapBusy = false;
        w->doc.GridCols = w->doc.GridRows = 3; // claimed, but not there
        w->mapView->picMap_MouseMove(0, 0, w->picMap->Width() / 2, w->picMap->Height() / 2);
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("picMapMouseMove error: \n\nSubscript out of range"));
    }
};

VEX_TEST(MapWindowTest);
#include "MapWindowTest.moc"
