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

    void missingFileOnImport() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        const QString caption = w->windowTitle();
        importMap(*w, dir.filePath(QStringLiteral("nowhere.png")));
        QCOMPARE(dl.prompts.size(), size_t(2));
        QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("Map load error: ")));
        QVERIFY(dl.prompts[1].text.size() > QStringLiteral("Map load error: ").size());
        QCOMPARE(dl.prompts[1].icon, dlg::Icon::Exclamation);
        // The document is cleared and nothing claims a map is there.
        QCOMPARE(w->doc.MapFileName, QString());
        QCOMPARE(w->panel(2), QStringLiteral("No file loaded..."));
        QCOMPARE(w->labText->text(), QString());
        QCOMPARE(w->windowTitle(), caption);
        QVERIFY(!w->mnuFileSaveAs->isEnabled());
        QVERIFY(!w->mapView->mapLoadSucceeded());
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

    void cancelledImportChangesNothing() {
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        auto& dl = testsupport::dialogs();
        dl.clear();
        dl.queue(dlg::Cancel{});
        w->cmdMap->click();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->doc.MapFileName, mapPath);
        QVERIFY(!w->doc.MapBusy);
    }

    void importOverUnsavedWork_data() {
        QTest::addColumn<int>("answer"); // 0 cancel, 1 no, 2 yes and saved, 3 yes but not saved
        QTest::addColumn<bool>("imported");
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
        w->doc.DataChanged = true;
        w->doc.DataFileName = QStringLiteral("/data/field/north.vlm");
        int saves = 0;
        w->saveForPrompt = [&](bool keepName) {
            ++saves;
            return !keepName && answer == 2; // saved under a name the user confirms
        };
        auto& dl = testsupport::dialogs();
        dl.clear();
        const dlg::Answer a[] = {dlg::Answer::Cancel, dlg::Answer::No, dlg::Answer::Yes, dlg::Answer::Yes};
        dl.queue(a[answer]);
        const QString other = writeMap(dir, QStringLiteral("other.png"), 300, 200);
        dl.queue(other);
        w->mapView->cmdMap_Click();
        QCOMPARE(dl.prompts[0].text, QStringLiteral("north.vlm has changed.\nWould you like to save it?"));
        QCOMPARE(dl.prompts[0].icon, dlg::Icon::Question);
        QCOMPARE(dl.prompts[0].buttons, dlg::Buttons::YesNoCancel);
        QCOMPARE(saves, answer >= 2 ? 1 : 0);
        QCOMPARE(w->doc.MapFileName, imported ? other : mapPath);
        QCOMPARE(w->doc.DatCount, imported ? 0 : 1);
        if (!imported) {
            QCOMPARE(dl.prompts.size(), size_t(1)); // no file dialog
            QVERIFY(w->doc.DataChanged);
        }
    }

    void noQuestionWithoutChanges() {
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w);
        auto& dl = testsupport::dialogs();
        dl.clear();
        importMap(*w, mapPath);
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].kind, dlg::Prompt::Kind::Open);
        QVERIFY(!w->doc.MapRegistered);
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
