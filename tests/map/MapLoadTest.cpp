// Importing and loading the map image: the new document an import makes,
// the resolutions, reloads that fail, the window on every road out of a
// plotted project, the save question before an import, finding a missing
// map, and re-registration.
#include "common/MapSupport.h"
#include "common/TestRegistry.h"

#include <QTest>

using namespace maptest;
using testsupport::dialogs;

namespace {

// Relative place of a datum marker's point on the picture.
QPointF markerFraction(const MainWindow& w, int i) {
    const Marker& m = w.markers->labDat[i];
    return {(m.Left + w.doc.MarkOffsetX - w.imPoints->Left()) / w.imPoints->Width(),
            (m.Top + w.doc.MarkOffsetY - w.imPoints->Top()) / w.imPoints->Height()};
}

const QString kUnregistered = QStringLiteral(" (register map by clicking on locations of known coordinates)");

} // namespace

class MapLoadTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800);

    // A registered map in metres with one datum point, changed.
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
    void init() { dialogs().clear(); }

    // The title is the file name less its last four characters.
    void importStartsANewUnregisteredMap_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::newRow("png") << "survey.png" << "survey";
        QTest::newRow("tiff") << "map.tiff" << "map.";
    }
    void importStartsANewUnregisteredMap() {
        QFETCH(QString, file);
        QFETCH(QString, title);
        const QString path = file == QLatin1String("survey.png") ? mapPath : writeMap(dir, file, 1000, 800);
        auto w = startWindow();
        auto& dl = dialogs();
        w->DialogInitDir = dir.path();
        w->doc.DataTitle = QStringLiteral("old title");
        dl.queue(path);
        w->mnuFileImportMap->trigger();
        QCOMPARE(dl.prompts.size(), size_t(1));
        const dlg::Prompt& p = dl.prompts[0];
        QVERIFY(p.kind == dlg::Prompt::Kind::Open && p.title == QLatin1String("Open Map File") && p.defaultText.isEmpty());
        QCOMPARE(p.filter, QStringLiteral("All Images|*.jpg;*.gif;*.bmp;*.png;*.psd;*.tif;*.pcx;*.tga;*.wbmp;*.wmf;*.emf;"
                                          "*.ico|Joint Photographic Experts Group  |*.jpg|Graphics Interchange Format  "
                                          "|*.gif|Windows Bitmap  |*.bmp|Portable Network Graphics  |*.png|Photoshop  "
                                          "|*.psd|Tagged Image File  |*.tif|ZSoft PaintBrush  |*.pcx|Truevision Targa  "
                                          "|*.tga|Wireless Bitmap  |*.wbmp|Windows Meta File  |*.wmf|Windows Enhanced "
                                          "Meta File |*.emf|Windows Icon File |*.ico|"));
        // Upper-case extensions are offered as well on this system.
        QVERIFY(dlg::qtFilters(p.filter).join(u' ').contains(QStringLiteral("*.PNG")));
        const Document& d = w->doc;
        QCOMPARE(d.MapFileName, path);
        QCOMPARE(d.DataTitle, title);
        QCOMPARE(d.DataFileName, w->app.DataFolder + title + ".vlm");
        QVERIFY(d.ImageWidthPx == 1000 && d.ImageHeightPx == 800 && w->imPoints->picture().width() == 1000);
        QVERIFY(!d.MapRegistered && !d.DataChanged && !d.MapBusy);
        QCOMPARE(w->windowTitle(), "Ferno Vexolan: " + title);
        QCOMPARE(w->labText->text(), QStringLiteral("Unregistered Map"));
        QCOMPARE(w->panel(2), "Map:  " + title + kUnregistered);
        QVERIFY(w->mnuFileSaveAs->isEnabled() && w->cmdSave->isEnabled() && !w->imPoints->isHidden());
        QVERIFY(!w->optDat->isEnabled() && !w->optCon->isEnabled() && !w->labDatCol->isEnabled() &&
                !w->labConCol->isEnabled());
        QVERIFY(w->mnuCoord->menuAction()->isEnabled() && w->mnuView->menuAction()->isEnabled());
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
    }

    // Each resolution item ticks itself alone and resamples the file;
    // halves round to even (25% of 1002 is 250).
    void resolutions() {
        for (auto [percent, source, width] : {std::tuple{25, 1000, 250}, {25, 1002, 250}, {50, 1000, 500},
                                              {75, 1000, 750}, {100, 1000, 1000}, {150, 1000, 1500},
                                              {200, 1000, 2000}}) {
            QTemporaryDir rdir;
            auto w = windowWithMap(writeMap(rdir, QStringLiteral("res.png"), source, 600));
            QAction* item = w->findChild<QAction*>(QStringLiteral("mnuViewRes%1").arg(percent));
            item->trigger();
            int ticked = 0;
            for (QAction* a : w->mnuViewRes->actions()) ticked += a->isChecked();
            QVERIFY(item->isChecked() && ticked == 1);
            QCOMPARE(int(w->doc.ImageWidthPx), width);
            QVERIFY(qAbs(w->doc.ImageHeightPx - 600.0 * width / source) <= 1);
            QCOMPARE(w->imPoints->picture().width(), width);
            QVERIFY(!w->imPoints->isHidden() && dialogs().prompts.empty());
        }
    }

    // A new resolution keeps the registration and the points where they
    // are; when the file has gone the document and the shown map stay.
    void reloadAtAnotherResolution() {
        for (bool gone : {false, true}) {
            QTemporaryDir rdir;
            const QString path = writeMap(rdir, QStringLiteral("gone.png"), 1000, 800);
            auto w = registeredWithPoint(path);
            addPoint(*w, false, 1, 1200, 2200, 6);
            w->mapView->MapReplot();
            const QPointF before = markerFraction(*w, 1);
            if (gone) QVERIFY(QFile::remove(path));
            w->mnuViewRes50->trigger();
            const Document& d = w->doc;
            QCOMPARE(dialogs().prompts.size(), size_t(gone));
            if (gone) QVERIFY(dialogs().prompts[0].text.startsWith(QStringLiteral("Map load error: ")));
            QVERIFY(d.MapRegistered && d.DataChanged && d.DatCount == 1 && d.ConCount == 1 && d.MapFileName == path);
            QCOMPARE(d.ImageWidthPx, gone ? 1000.0f : 500.0f);
            QCOMPARE(w->imPoints->picture().width(), gone ? 1000 : 500);
            QVERIFY(!w->imPoints->isHidden() && w->markers->labDat[1].Visible && w->markers->labCon[1].Visible);
            const QPointF after = markerFraction(*w, 1);
            QVERIFY(qAbs(after.x() - before.x()) < 1e-3 && qAbs(after.y() - before.y()) < 1e-3);
            QVERIFY(w->mnuViewRes100->isChecked() == gone && w->mnuViewRes50->isChecked() == !gone);
        }
    }

    // The caption, the zoom panel, the status bar and View > Show's ticks
    // follow the document on every road out of a saved, plotted project:
    // an import refused as too large, File > Close, re-registering and Save
    // As under a new name, opening a project.
    void windowFollowsTheDocument_data() {
        for (const char* c : {"caption", "zoom", "status"}) QTest::addColumn<QString>(c);
        QTest::addColumn<bool>("mapTicked");
        const QString none = QStringLiteral("No file loaded..."), page = QStringLiteral("Zoom = 1 (Page)");
        QTest::newRow("refused map") << "Ferno Vexolan" << "Zoom" << none << false;
        QTest::newRow("close") << "Ferno Vexolan" << "Zoom" << none << false;
        QTest::newRow("re-register") << "Ferno Vexolan: renamed" << page << "Data:  survey (structural contours)"
                                     << true;
        QTest::newRow("open") << "Ferno Vexolan: old" << page
                              << "Vexolan: survey (Left-click map to add contour points; right click to edit points)"
                              << true;
    }
    void windowFollowsTheDocument() {
        const QString road = QString::fromLatin1(QTest::currentDataTag());
        auto w = windowWithMap(mapPath);
        auto& dl = dialogs();
        registerLinear(*w);
        w->optStruc->setValue(true);
        for (int i = 0; i < 6; ++i) addPoint(*w, true, i + 1, 1200 + 300 * i, 2200 + 250 * (i % 3), 10.f * i);
        dl.queue(dir.filePath(QStringLiteral("old.vlm")));
        w->mnuFileSaveAs->trigger();
        w->cmdShow_Click();
        QVERIFY(w->mnuViewShowCon->isChecked());
        dl.clear();
        if (road == QLatin1String("refused map")) {
            // A bitmap header that declares 100000 x 100000 pixels.
            QByteArray bmp("BM");
            for (quint32 v : {54u, 0u, 54u, 40u, 100000u, 100000u, 0x180001u, 0u, 0u, 0u, 0u, 0u, 0u})
                bmp.append(reinterpret_cast<const char*>(&v), 4);
            QVERIFY(writeFile(dir.filePath(QStringLiteral("huge.bmp")), bmp));
            importMap(*w, dir.filePath(QStringLiteral("huge.bmp")));
            QCOMPARE(dl.prompts.size(), size_t(2));
            QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("Map load error: ")));
            QCOMPARE(dl.prompts[1].icon, dlg::Icon::Exclamation);
            QVERIFY(w->doc.MapFileName.isEmpty() && w->labText->text().isEmpty());
            QVERIFY(!w->mnuFileSaveAs->isEnabled() && !w->mapView->mapLoadSucceeded());
        } else if (road == QLatin1String("close")) {
            emit w->mnuFile->aboutToShow();
            w->mnuFileClose->trigger();
        } else if (road == QLatin1String("re-register")) {
            w->cmdShow_Click();
            emit w->mnuOpt->aboutToShow();
            dl.queue(dlg::Answer::Yes);
            w->mnuOptReg->trigger();
            QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: old")); // the project's name, not its title
            registerLinear(*w);
            w->optStruc->setValue(true);
            dl.queue(dir.filePath(QStringLiteral("renamed.vlm")));
            w->mnuFileSaveAs->trigger();
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("renamed.vlm"))));
        } else {
            dl.queue(dir.filePath(QStringLiteral("old.vlm")));
            w->cmdDig->click();
        }
        QCOMPARE(dl.unanswered, road == QLatin1String("refused map") ? 1 : 0); // the load error's OK
        QTEST(w->windowTitle(), "caption");
        QTEST(w->Frame8->title(), "zoom");
        QTEST(w->panel(2), "status");
        QTEST(w->mnuViewShowMap->isChecked(), "mapTicked");
        QVERIFY(!w->mnuViewShowCon->isChecked());
        QCOMPARE(w->mnuViewShowCon->text().remove(u'&'), QStringLiteral("Contours"));
    }

    // An import over a changed document asks first: Cancel, No, Yes and
    // saved, Yes but not saved; an unchanged one goes straight to the file
    // dialog (cancelled or answered).
    void importOverUnsavedWork_data() {
        QTest::addColumn<int>("answer"); // -2/-1 unchanged; 0 Cancel, 1 No, 2 Yes saved, 3 Yes not saved
        QTest::addColumn<bool>("imported");
        for (auto [tag, answer, imported] :
             {std::tuple{"unchanged, dialog cancelled", -2, false}, {"unchanged", -1, true}, {"cancel", 0, false},
              {"no", 1, true}, {"yes, saved", 2, true}, {"yes, not saved", 3, false}})
            QTest::newRow(tag) << answer << imported;
    }
    void importOverUnsavedWork() {
        QFETCH(int, answer);
        QFETCH(bool, imported);
        auto w = registeredWithPoint(mapPath);
        w->doc.DataChanged = answer >= 0;
        w->doc.DataFileName = QStringLiteral("/data/field/north.vlm");
        int saves = 0;
        w->saveForPrompt = [&](bool keepName) { return ++saves, !keepName && answer == 2; };
        auto& dl = dialogs();
        const dlg::Answer a[] = {dlg::Answer::Cancel, dlg::Answer::No, dlg::Answer::Yes, dlg::Answer::Yes};
        if (answer >= 0) dl.queue(a[answer]);
        const QString other = writeMap(dir, QStringLiteral("other.png"), 300, 200);
        answer == -2 ? dl.queue(dlg::Cancel{}) : dl.queue(other);
        w->mapView->cmdMap_Click();
        if (answer >= 0) {
            QCOMPARE(dl.prompts[0].text, "north.vlm has changed.\nWould you like to save it?");
            QVERIFY(dl.prompts[0].icon == dlg::Icon::Question && dl.prompts[0].buttons == dlg::Buttons::YesNoCancel);
        } else {
            QCOMPARE(dl.prompts[0].kind, dlg::Prompt::Kind::Open);
        }
        QCOMPARE(saves, answer >= 2 ? 1 : 0);
        QCOMPARE(w->doc.MapFileName, imported ? other : mapPath);
        QVERIFY(w->doc.DatCount == !imported && w->doc.MapRegistered == !imported && !w->doc.MapBusy);
        if (!imported) QVERIFY(dl.prompts.size() == 1 && w->doc.DataChanged == (answer >= 0));
    }

    // Every kind a map is imported from can be pointed at; cancelled, the
    // map is named no more.
    void findingAMissingMap() {
        auto w = startWindow();
        auto& dl = dialogs();
        w->doc.MapFileName = QStringLiteral("/old/place/field.jpg");
        dl.queue(mapPath);
        w->mapView->MapFind();
        QCOMPARE(w->doc.MapFileName, mapPath);
        QCOMPARE(dl.prompts[0].title, QStringLiteral("Open Map File"));
        QCOMPARE(dl.prompts[0].defaultText, w->app.DataFolder + QStringLiteral("field.jpg"));
        QVERIFY(dl.prompts[0].filter.startsWith(QStringLiteral("Map Image Files (")));
        const QStringList patterns = dl.prompts[0].filter.section(u'|', 1, 1).split(u';');
        for (const char* ext : {"jpg", "gif", "bmp", "png", "psd", "tif", "pcx", "tga", "wbmp", "wmf", "emf", "ico"})
            QVERIFY2(patterns.contains(QStringLiteral("*.") + ext), ext);
        dl.queue(dlg::Cancel{});
        w->mapView->MapFind();
        QVERIFY(w->doc.MapFileName.isEmpty() && dl.prompts.size() == 2);
    }

    // No keeps everything; Yes clears the points and the registration but
    // keeps the map, its title and the coordinate system (a cylindrical map
    // comes back as linear in degrees).
    void reRegistration_data() {
        for (const char* c : {"system", "units", "ticked", "panel"}) QTest::addColumn<QString>(c);
        QTest::newRow("linear feet") << "Linear" << "Feet" << "Linear Feet"
                                     << "Projection: Linear Coordinates, Units: Feet";
        QTest::newRow("cylindrical") << "CylEquiDis" << "Degrees" << "Linear Degrees"
                                     << "Projection: Linear Coordinates, Units: Degrees";
    }
    void reRegistration() {
        QFETCH(QString, system);
        QFETCH(QString, units);
        auto w = windowWithMap(mapPath);
        auto& dl = dialogs();
        w->mapView->coordClick(coordItemNamed(system));
        w->mapView->coordClick(coordItemNamed(units));
        queueAll({"-100", "45", "-99", "44"});
        w->mapView->MapRegister(1000, 1000);
        w->mapView->MapRegister(3000, 2500);
        addPoint(*w, true, 1, 400, 500, 5);
        dl.clear();
        dl.queue(dlg::Answer::No);
        w->mnuOptReg->trigger();
        QVERIFY(w->doc.MapRegistered && w->doc.DatCount == 1);
        dl.queue(dlg::Answer::Yes);
        w->mnuOptReg->trigger();
        QCOMPARE(dl.prompts[1].text, QStringLiteral("Re-registering will clear all data, do you wish to continue"));
        QVERIFY(dl.prompts[1].icon == dlg::Icon::Question && dl.prompts[1].buttons == dlg::Buttons::YesNo);
        QCOMPARE(dl.prompts.size(), size_t(2));
        const Document& d = w->doc;
        QVERIFY(!d.MapRegistered && d.DatCount == 0 && d.RefPixelX1 == 0);
        QVERIFY(d.MapFileName == mapPath && d.DataTitle == QLatin1String("survey"));
        QCOMPARE(d.ProjectionName, QStringLiteral("Linear Coordinates"));
        QCOMPARE(d.CoordUnits, units);
        QStringList ticked;
        for (QAction* a : w->mnuCoord->actions())
            if (a->isChecked()) ticked << a->objectName().mid(8);
        QTEST(ticked.join(u' '), "ticked");
        QVERIFY(w->mnuCoord->menuAction()->isEnabled() && w->mnuCoordFeet->isEnabled());
        QTEST(w->panel(1), "panel");
        QCOMPARE(w->panel(2), "Map:  survey" + kUnregistered);
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
        QVERIFY(!w->imPoints->isHidden() && !w->optDat->isEnabled() && w->mnuFileSaveAs->isEnabled());
    }
};

VEX_TEST(MapLoadTest);
#include "MapLoadTest.moc"
