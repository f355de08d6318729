// Importing and loading the map image: the new document an import makes,
// the resolutions, failed loads and reloads, the save question before an
// import, finding a missing map, and re-registration.
#include "common/TestRegistry.h"
#include "MapTestSupport.h"

#include <QFile>
#include <QImageWriter>
#include <QTest>

using maptest::addPoint;
using maptest::importMap;
using maptest::registerLinear;
using maptest::startWindow;
using maptest::writeMap;

namespace {

// Relative place of a datum marker's point on the picture.
QPointF markerFraction(const MainWindow& w, int i) {
    const Marker& m = w.markers->labDat[i];
    return {(m.Left + w.doc.MarkOffsetX - w.imPoints->Left()) / w.imPoints->Width(),
            (m.Top + w.doc.MarkOffsetY - w.imPoints->Top()) / w.imPoints->Height()};
}

} // namespace

class MapLoadTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath;

private slots:
    void initTestCase() { mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 800); }
    void init() { testsupport::dialogs().clear(); }

    void importStartsANewUnregisteredMap() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        w->DialogInitDir = dir.path();
        w->doc.DataTitle = QStringLiteral("old title");
        testsupport::dialogs().queue(mapPath);
        w->mnuFileImportMap->trigger();
        QCOMPARE(dl.prompts.size(), size_t(1));
        const dlg::Prompt& p = dl.prompts[0];
        QCOMPARE(p.kind, dlg::Prompt::Kind::Open);
        QCOMPARE(p.title, QStringLiteral("Open Map File"));
        QCOMPARE(p.defaultText, QString());
        QCOMPARE(p.filter,
                 QStringLiteral("All Images|*.jpg;*.gif;*.bmp;*.png;*.psd;*.tif;*.pcx;*.tga;*.wbmp;*.wmf;*.emf;*.ico|"
                                "Joint Photographic Experts Group  |*.jpg|Graphics Interchange Format  |*.gif|"
                                "Windows Bitmap  |*.bmp|Portable Network Graphics  |*.png|Photoshop  |*.psd|"
                                "Tagged Image File  |*.tif|ZSoft PaintBrush  |*.pcx|Truevision Targa  |*.tga|"
                                "Wireless Bitmap  |*.wbmp|Windows Meta File  |*.wmf|"
                                "Windows Enhanced Meta File |*.emf|Windows Icon File |*.ico|"));
        // Upper-case extensions are offered as well on this system.
        QVERIFY(dlg::qtFilters(p.filter).join(QLatin1Char(' ')).contains(QStringLiteral("*.PNG")));

        const Document& d = w->doc;
        QCOMPARE(d.MapFileName, mapPath);
        QCOMPARE(d.DataTitle, QStringLiteral("survey"));
        QCOMPARE(d.DataFileName, w->app.DataFolder + QStringLiteral("survey.vlm"));
        QCOMPARE(d.ImageWidthPx, 1000.0f);
        QCOMPARE(d.ImageHeightPx, 800.0f);
        QVERIFY(!d.MapRegistered);
        QVERIFY(!d.DataChanged);
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
        QCOMPARE(w->labText->text(), QStringLiteral("Unregistered Map"));
        QCOMPARE(w->panel(2),
                 QStringLiteral("Map:  survey (register map by clicking on locations of known coordinates)"));
        QVERIFY(w->mnuFileSaveAs->isEnabled());
        QVERIFY(w->cmdSave->isEnabled());
        QVERIFY(!w->optDat->isEnabled() && !w->optCon->isEnabled());
        QVERIFY(!w->labDatCol->isEnabled() && !w->labConCol->isEnabled());
        QVERIFY(w->mnuCoord->menuAction()->isEnabled());
        QVERIFY(w->mnuView->menuAction()->isEnabled());
        QVERIFY(!w->imPoints->isHidden());
        QCOMPARE(w->imPoints->picture().width(), 1000);
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
        QVERIFY(!d.MapBusy);
    }

    void titleDropsTheLastFourCharacters() {
        if (!QImageWriter::supportedImageFormats().contains("tiff")) QSKIP("no TIFF writer");
        QTemporaryDir tdir;
        const QString path = tdir.filePath(QStringLiteral("map.tiff"));
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::gray);
        QVERIFY(img.save(path, "TIFF"));
        auto w = startWindow();
        importMap(*w, path);
        QCOMPARE(w->doc.DataTitle, QStringLiteral("map."));
        QCOMPARE(w->doc.DataFileName, w->app.DataFolder + QStringLiteral("map..vlm"));
    }

    void resolutions_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("width");
        QTest::newRow("25%") << 25 << 1000 << 250;
        QTest::newRow("25% of 1002 (half to even)") << 25 << 1002 << 250;
        QTest::newRow("50%") << 50 << 1000 << 500;
        QTest::newRow("75%") << 75 << 1000 << 750;
        QTest::newRow("100%") << 100 << 1000 << 1000;
        QTest::newRow("150%") << 150 << 1000 << 1500;
        QTest::newRow("200%") << 200 << 1000 << 2000;
    }
    void resolutions() {
        QFETCH(int, percent);
        QFETCH(int, source);
        QTemporaryDir rdir;
        const QString path = writeMap(rdir, QStringLiteral("res.png"), source, 600);
        auto w = startWindow();
        QAction* item = w->findChild<QAction*>(QStringLiteral("mnuViewRes%1").arg(percent));
        QVERIFY(item);
        importMap(*w, path);
        item->trigger();
        QVERIFY(item->isChecked());
        int ticked = 0;
        for (QAction* a : w->mnuViewRes->actions()) ticked += a->isChecked();
        QCOMPARE(ticked, 1);
        QTEST(int(w->doc.ImageWidthPx), "width");
        QVERIFY(qAbs(w->doc.ImageHeightPx - 600.0 * w->doc.ImageWidthPx / source) <= 1);
        QCOMPARE(w->imPoints->picture().width(), int(w->doc.ImageWidthPx));
        QVERIFY(!w->imPoints->isHidden());
        QVERIFY(testsupport::dialogs().prompts.size() == 1); // the import's file dialog only
    }

    void resolutionChangeKeepsThePoints() {
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        addPoint(*w, false, 1, 1200, 2200, 6);
        w->mapView->MapReplot();
        w->doc.DataChanged = true;
        const QPointF before = markerFraction(*w, 1);
        w->mnuViewRes50->trigger();
        QCOMPARE(w->doc.ImageWidthPx, 500.0f);
        QVERIFY(w->doc.MapRegistered);
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->doc.ConCount, 1);
        QVERIFY(w->markers->labDat[1].Visible && w->markers->labCon[1].Visible);
        const QPointF after = markerFraction(*w, 1);
        QVERIFY(qAbs(after.x() - before.x()) < 1e-3 && qAbs(after.y() - before.y()) < 1e-3);
        QVERIFY(testsupport::dialogs().prompts.size() == 5); // the import and the four registration boxes
    }

    // The caption, the zoom panel, the status bar and View > Show's ticks
    // follow the document on every road out of a saved, plotted project:
    // an import refused as too large, File > Close, re-registering and Save
    // As under a new name, opening a project.
    void windowFollowsTheDocument_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("zoom");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("mapTicked");
        const QString none = QStringLiteral("No file loaded...");
        QTest::newRow("refused map") << "refused map" << "Ferno Vexolan" << "Zoom" << none << false;
        QTest::newRow("close") << "close" << "Ferno Vexolan" << "Zoom" << none << false;
        const QString page = QStringLiteral("Zoom = 1 (Page)");
        const QString saved = QStringLiteral("Data:  survey (structural contours)");
        const QString shown = QStringLiteral("Vexolan: survey (Left-click map to add contour points; "
                                             "right click to edit points)");
        QTest::newRow("re-register, save as")
            << "re-register" << "Ferno Vexolan: renamed" << page << saved << true;
        QTest::newRow("open") << "open" << "Ferno Vexolan: old" << page << shown << true;
    }
    void windowFollowsTheDocument() {
        QFETCH(QString, road);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        registerLinear(*w);
        w->optStruc->setValue(true);
        for (int i = 0; i < 6; ++i) addPoint(*w, true, i + 1, 1200 + 300 * i, 2200 + 250 * (i % 3), 10.f * i);
        dl.queue(dir.filePath(QStringLiteral("old.vlm")));
        w->mnuFileSaveAs->trigger();
        w->cmdShow_Click();
        QVERIFY(w->mnuViewShowCon->isChecked());
        dl.clear();
        if (road == "refused map") {
            // A bitmap header that declares 100000 x 100000 pixels.
            QByteArray bmp("BM");
            for (quint32 v : {54u, 0u, 54u, 40u, 100000u, 100000u, 0x180001u, 0u, 0u, 0u, 0u, 0u, 0u})
                bmp.append(reinterpret_cast<const char*>(&v), 4);
            QFile f(dir.filePath(QStringLiteral("huge.bmp")));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bmp) == bmp.size());
            f.close();
            importMap(*w, f.fileName());
            QCOMPARE(dl.prompts.size(), size_t(2));
            QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("Map load error: ")));
            QCOMPARE(dl.prompts[1].icon, dlg::Icon::Exclamation);
            QCOMPARE(w->doc.MapFileName, QString());
            QCOMPARE(w->labText->text(), QString());
            QVERIFY(!w->mnuFileSaveAs->isEnabled() && !w->mapView->mapLoadSucceeded());
        } else if (road == "close") {
            emit w->mnuFile->aboutToShow();
            w->mnuFileClose->trigger();
        } else if (road == "re-register") {
            w->cmdShow_Click();
            emit w->mnuOpt->aboutToShow();
            dl.queue(dlg::Answer::Yes);
            w->mnuOptReg->trigger();
            // The project keeps its name, not its title's.
            QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: old"));
            registerLinear(*w);
            w->optStruc->setValue(true);
            dl.queue(dir.filePath(QStringLiteral("renamed.vlm")));
            w->mnuFileSaveAs->trigger();
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("renamed.vlm"))));
        } else {
            dl.queue(dir.filePath(QStringLiteral("old.vlm")));
            w->cmdDig->click();
        }
        QCOMPARE(dl.unanswered, road == "refused map" ? 1 : 0); // only the load error's OK
        QTEST(w->windowTitle(), "caption");
        QTEST(w->Frame8->title(), "zoom");
        QTEST(w->panel(2), "status");
        QTEST(w->mnuViewShowMap->isChecked(), "mapTicked");
        QVERIFY(!w->mnuViewShowCon->isChecked());
        QCOMPARE(w->mnuViewShowCon->text().remove(u'&'), QStringLiteral("Contours"));
    }

    void failedReloadKeepsTheDocument() {
        QTemporaryDir rdir;
        const QString path = writeMap(rdir, QStringLiteral("gone.png"), 1000, 800);
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, path);
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        w->mapView->MapReplot();
        w->doc.DataChanged = true;
        const QPointF before = markerFraction(*w, 1);
        QVERIFY(QFile::remove(path));
        dl.clear();
        w->mnuViewRes50->trigger();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QVERIFY(dl.prompts[0].text.startsWith(QStringLiteral("Map load error: ")));
        const Document& d = w->doc;
        QVERIFY(d.MapRegistered);
        QVERIFY(d.DataChanged);
        QCOMPARE(d.DatCount, 1);
        QCOMPARE(d.MapFileName, path);
        QCOMPARE(d.ImageWidthPx, 1000.0f);
        QVERIFY(!w->imPoints->isHidden());
        QCOMPARE(w->imPoints->picture().width(), 1000);
        QVERIFY(w->markers->labDat[1].Visible);
        QCOMPARE(markerFraction(*w, 1), before);
        QVERIFY(w->mnuViewRes100->isChecked());
        QVERIFY(!w->mnuViewRes50->isChecked());
    }

    void importOverUnsavedWork_data() {
        // -2 / -1: nothing changed, the file dialog cancelled / answered; 0
        // cancel, 1 no, 2 yes and saved, 3 yes but not saved.
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("imported");
        QTest::newRow("unchanged, dialog cancelled") << -2 << false;
        QTest::newRow("unchanged") << -1 << true;
        QTest::newRow("cancel") << 0 << false;
        QTest::newRow("no") << 1 << true;
        QTest::newRow("yes, saved") << 2 << true;
        QTest::newRow("yes, not saved") << 3 << false;
    }
    void importOverUnsavedWork() {
        QFETCH(int, answer);
        QFETCH(bool, imported);
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        w->doc.DataChanged = answer >= 0;
        w->doc.DataFileName = QStringLiteral("/data/field/north.vlm");
        int saves = 0;
        w->saveForPrompt = [&](bool keepName) {
            ++saves;
            return !keepName && answer == 2; // saved under a name the user confirms
        };
        auto& dl = testsupport::dialogs();
        dl.clear();
        const dlg::Answer a[] = {dlg::Answer::Cancel, dlg::Answer::No, dlg::Answer::Yes, dlg::Answer::Yes};
        if (answer >= 0) dl.queue(a[answer]);
        const QString other = writeMap(dir, QStringLiteral("other.png"), 300, 200);
        if (answer == -2) dl.queue(dlg::Cancel{});
        else dl.queue(other);
        w->mapView->cmdMap_Click();
        if (answer >= 0) {
            QCOMPARE(dl.prompts[0].text, "north.vlm has changed.\nWould you like to save it?");
            QCOMPARE(dl.prompts[0].icon, dlg::Icon::Question);
            QCOMPARE(dl.prompts[0].buttons, dlg::Buttons::YesNoCancel);
        } else {
            QCOMPARE(dl.prompts[0].kind, dlg::Prompt::Kind::Open);
        }
        QCOMPARE(saves, answer >= 2 ? 1 : 0);
        QCOMPARE(w->doc.MapFileName, imported ? other : mapPath);
        QCOMPARE(w->doc.DatCount, imported ? 0 : 1);
        QCOMPARE(w->doc.MapRegistered, !imported);
        QVERIFY(!w->doc.MapBusy);
        if (!imported) {
            QCOMPARE(dl.prompts.size(), size_t(1)); // no file dialog, or only the file dialog
            QCOMPARE(w->doc.DataChanged, answer >= 0);
        }
    }

    void findingAMissingMap() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        w->doc.MapFileName = QStringLiteral("/old/place/field.jpg");
        dl.queue(mapPath);
        w->mapView->MapFind();
        QCOMPARE(w->doc.MapFileName, mapPath);
        QCOMPARE(dl.prompts[0].title, QStringLiteral("Open Map File"));
        QCOMPARE(dl.prompts[0].defaultText, w->app.DataFolder + QStringLiteral("field.jpg"));
        // Every kind a map is imported from can be pointed at.
        QVERIFY(dl.prompts[0].filter.startsWith(QStringLiteral("Map Image Files (")));
        const QStringList patterns = dl.prompts[0].filter.section(u'|', 1, 1).split(u';');
        for (const char* ext : {"jpg", "gif", "bmp", "png", "psd", "tif", "pcx", "tga", "wbmp", "wmf", "emf", "ico"})
            QVERIFY2(patterns.contains(QStringLiteral("*.") + ext), ext);
        dl.queue(dlg::Cancel{});
        w->mapView->MapFind();
        QCOMPARE(w->doc.MapFileName, QString());
        QCOMPARE(dl.prompts.size(), size_t(2));
    }

    void reRegistration() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(CoordItem::Linear);
        w->mapView->coordClick(CoordItem::Feet);
        for (const char* a : {"100", "900", "700", "300"}) dl.queue(QString::fromLatin1(a));
        w->mapView->MapRegister(1000, 1000);
        w->mapView->MapRegister(3000, 2500);
        QVERIFY(w->doc.MapRegistered);
        addPoint(*w, true, 1, 400, 500, 5);

        dl.clear();
        dl.queue(dlg::Answer::No);
        w->mnuOptReg->trigger();
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(w->doc.DatCount, 1);

        dl.clear();
        dl.queue(dlg::Answer::Yes);
        w->mnuOptReg->trigger();
        QCOMPARE(dl.prompts[0].text, QStringLiteral("Re-registering will clear all data, do you wish to continue"));
        QCOMPARE(dl.prompts[0].icon, dlg::Icon::Question);
        QCOMPARE(dl.prompts[0].buttons, dlg::Buttons::YesNo);
        QCOMPARE(dl.prompts.size(), size_t(1));
        const Document& d = w->doc;
        QVERIFY(!d.MapRegistered);
        QCOMPARE(d.DatCount, 0);
        QCOMPARE(d.RefPixelX1, 0.0f);
        QCOMPARE(d.MapFileName, mapPath);
        QCOMPARE(d.DataTitle, QStringLiteral("survey"));
        QCOMPARE(d.ProjectionName, QStringLiteral("Linear Coordinates"));
        QCOMPARE(d.CoordUnits, QStringLiteral("Feet"));
        QVERIFY(w->mnuCoordFeet->isChecked() && !w->mnuCoordMeters->isChecked() && w->mnuCoordLinear->isChecked());
        QVERIFY(w->mnuCoord->menuAction()->isEnabled());
        QCOMPARE(w->panel(1), QStringLiteral("Projection: Linear Coordinates, Units: Feet"));
        QCOMPARE(w->panel(2),
                 QStringLiteral("Map:  survey (register map by clicking on locations of known coordinates)"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
        QVERIFY(!w->imPoints->isHidden());
        QVERIFY(!w->optDat->isEnabled());
        QVERIFY(w->mnuFileSaveAs->isEnabled());
    }

    void reRegistrationOfACylindricalMap() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        importMap(*w, mapPath);
        w->mapView->coordClick(CoordItem::CylEquiDis);
        for (const char* a : {"-100", "45", "-99", "44"}) dl.queue(QString::fromLatin1(a));
        w->mapView->MapRegister(1000, 1000);
        w->mapView->MapRegister(3000, 2500);
        QVERIFY(w->doc.MapRegistered);
        dl.queue(dlg::Answer::Yes);
        w->mapView->mnuOptReg_Click();
        QCOMPARE(w->doc.ProjectionName, QStringLiteral("Linear Coordinates"));
        QCOMPARE(w->doc.CoordUnits, QStringLiteral("Degrees"));
        QVERIFY(w->mnuCoordDegrees->isChecked() && w->mnuCoordLinear->isChecked());
        QVERIFY(w->mnuCoordFeet->isEnabled());
    }
};

VEX_TEST(MapLoadTest);
#include "MapLoadTest.moc"
