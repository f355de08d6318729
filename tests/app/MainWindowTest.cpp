// Start-up, layout, reset and shutdown of the main window, driven offscreen.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "app/WindowPlacement.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QDir>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStandardPaths>
#include <QTest>

namespace {

void resetSettings() {
    SettingsStore st;
    st.ClearSection(QStringLiteral("Vexolan"));
}

std::unique_ptr<MainWindow> startWindow() {
    auto w = testsupport::startMainWindow();
    return w;
}

QSizeF screenTwips() {
    const QRect r = QGuiApplication::primaryScreen()->geometry();
    return {twips::fromPx(r.width()), twips::fromPx(r.height())};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        resetSettings();
        testsupport::dialogs().clear();
    }

    void placementRules_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<double>("eLeft");
        QTest::addColumn<double>("eTop");
        QTest::addColumn<double>("eWidth");
        QTest::addColumn<double>("eHeight");
        // Screen 19200 x 14400 twips (1280 x 960 pixels).
        QTest::newRow("defaults centre") << "" << "" << "" << "" << (19200 - 11715) / 2.0 << (14400 - 10920) / 2.0
                                         << 11715.0 << 10920.0;
        QTest::newRow("stored") << "300" << "450" << "12000" << "11500" << 300.0 << 450.0 << 12000.0 << 11500.0;
        QTest::newRow("negative becomes 0") << "-500" << "-1" << "9000" << "11200" << 0.0 << 0.0 << 9000.0 << 11200.0;
        QTest::newRow("beyond screen becomes 0") << "19201" << "20000" << "9000" << "11200" << 0.0 << 0.0 << 9000.0
                                                 << 11200.0;
        QTest::newRow("oversize becomes screen") << "0" << "0" << "30000" << "20000" << 0.0 << 0.0 << 19200.0 << 14400.0;
        QTest::newRow("junk reads as 0") << "abc" << "12abc" << "x" << "11200" << 0.0 << 12.0 << 0.0 << 11200.0;
    }
    void placementRules() {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QString, width);
        QFETCH(QString, height);
        const MainPlacement p = placeMainWindow(left, top, width, height, 19200, 14400);
        QTEST(p.left, "eLeft");
        QTEST(p.top, "eTop");
        QTEST(p.width, "eWidth");
        QTEST(p.height, "eHeight");
    }

    void firstStartWithEmptySettings() {
        auto w = startWindow();
        const QSizeF scr = screenTwips();
        // Designed width, centred; the height is held at the layout's minimum.
        const double width = std::min(11715.0, scr.width());
        QCOMPARE(w->Width(), twips::fromPx(twips::toPx(std::max(width, 8000.0))));
        QCOMPARE(w->Height(), twips::fromPx(twips::toPx(11200)));
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan"));
        // The data folder: Ferno/Vexolan under the documents folder, created and stored.
        const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(w->app.DataFolder, docs + QStringLiteral("/Ferno/Vexolan/"));
        QVERIFY(QDir(w->app.DataFolder).exists());
        SettingsStore st;
        QCOMPARE(st.ReadSetting(QStringLiteral("Vexolan"), QStringLiteral("DataPath"), QString()), w->app.DataFolder);
        // Defaults of the restored options.
        QCOMPARE(w->labDatCol->ForeColor(), 255L);
        QCOMPARE(w->labConCol->ForeColor(), 16711680L);
        QVERIFY(w->optMed->isChecked());
        QVERIFY(!w->chkMan->isChecked());
        QVERIFY(!w->chkLines->isChecked());
        QCOMPARE(w->doc.LatLongFormat, QStringLiteral("0"));
        QVERIFY(w->mnuViewLatLongDegMin->isChecked());
        QCOMPARE(w->doc.ContourDetail, 50);
        QCOMPARE(w->doc.ZoomMax, 64000.0f);
        QCOMPARE(w->doc.MarkOffsetX, 40.0f);
        QCOMPARE(w->doc.RefMarkOffsetY, 260.0f);
        // The empty document.
        QCOMPARE(w->panel(2), QStringLiteral("No file loaded..."));
        QCOMPARE(w->panel(1), QStringLiteral("Projection: (unkown), Units: (unknown)"));
        QVERIFY(!w->mnuCoord->menuAction()->isEnabled());
        QVERIFY(!w->cmdSave->isEnabled());
        QVERIFY(w->cmdDig->isEnabled());
        QVERIFY(w->mnuViewCheck->isVisible());
    }

    void restoredSettings() {
        SettingsStore st;
        const QString sec = QStringLiteral("Vexolan");
        st.WriteSetting(sec, QStringLiteral("MainLeft"), QStringLiteral("150"));
        st.WriteSetting(sec, QStringLiteral("MainTop"), QStringLiteral("300"));
        st.WriteSetting(sec, QStringLiteral("MainWidth"), QStringLiteral("9000"));
        st.WriteSetting(sec, QStringLiteral("MainHeight"), QStringLiteral("11400"));
        st.WriteSetting(sec, QStringLiteral("DatumColor"), QStringLiteral("65280"));
        st.WriteSetting(sec, QStringLiteral("ContourColor"), QStringLiteral("&H00FFFF"));
        st.WriteSetting(sec, QStringLiteral("Color"), QStringLiteral("7"));
        st.WriteSetting(sec, QStringLiteral("Contours"), QStringLiteral("1"));
        st.WriteSetting(sec, QStringLiteral("ContourLine"), QStringLiteral("True"));
        st.WriteSetting(sec, QStringLiteral("DegreeFormat"), QStringLiteral("9"));
        const QString folder = QDir::tempPath() + QStringLiteral("/vexolan-data-test/");
        QDir().mkpath(folder);
        st.WriteSetting(sec, QStringLiteral("DataPath"), folder);
        auto w = startWindow();
        const QSizeF scr = screenTwips();
        if (scr.height() >= 11400 + 300 && scr.width() >= 9150) {
            QCOMPARE(w->Left(), 150.0);
            QCOMPARE(w->Top(), 300.0);
            QCOMPARE(w->Width(), 9000.0);
            QCOMPARE(w->Height(), 11400.0);
        }
        QCOMPARE(w->labDatCol->ForeColor(), 65280L);
        QCOMPARE(w->labConCol->ForeColor(), 65535L);
        QVERIFY(w->optLo->isChecked()); // "7" keeps the designed choice
        QVERIFY(w->chkMan->isChecked());
        QVERIFY(!w->chkLines->isChecked()); // only the exact text "1" switches on
        QCOMPARE(w->doc.LatLongFormat, QStringLiteral("9"));
        QVERIFY(w->mnuViewLatLongDecimal4->isChecked());
        QCOMPARE(w->app.DataFolder, folder);
        // An existing stored folder is used as it is.
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("DataPath"), QString()), folder);
        // Closing writes "1" for the designed Gray-3D choice.
        QVERIFY(w->close());
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("Color"), QString()), QStringLiteral("1"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("ContourLine"), QString()), QStringLiteral("0"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("DegreeFormat"), QString()), QStringLiteral("9"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("ContourColor"), QString()), QStringLiteral("65535"));
    }

    void missingDataFolderIsReplaced() {
        SettingsStore st;
        st.WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("DataPath"), QStringLiteral("/nonexistent/folder/"));
        auto w = startWindow();
        QVERIFY(w->app.DataFolder.endsWith(QStringLiteral("/Ferno/Vexolan/")));
    }

    void closingWritesSettings() {
        auto w = startWindow();
        w->MoveTwips(600, 900, 9000, 11400);
        QVERIFY(w->close());
        SettingsStore st;
        const QString sec = QStringLiteral("Vexolan");
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("MainLeft"), QString()), QStringLiteral("600"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("MainWidth"), QString()), QStringLiteral("9000"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("DatumColor"), QString()), QStringLiteral("255"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("Color"), QString()), QStringLiteral("2"));
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("Contours"), QString()), QStringLiteral("0"));
    }

    void haltShowKeepsWindowOpen() {
        auto w = startWindow();
        int shows = 0;
        w->cmdShow_Click = [&] { ++shows; };
        w->cmdShow->setText(QStringLiteral("Halt Show"));
        QVERIFY(!w->close());
        QCOMPARE(shows, 1);
        QVERIFY(w->isVisible());
        w->cmdShow->setText(QStringLiteral("Show"));
    }

    void changedRegisteredDocumentAsks() {
        auto w = startWindow();
        w->doc.DataChanged = true;
        w->doc.MapRegistered = true;
        w->doc.DataFileName = QStringLiteral("/tmp/survey.vlm");
        int saves = 0;
        w->saveForPrompt = [&](bool keepName) {
            ++saves;
            // The exit's Yes asks for a name, as Save As does.
            return !keepName && false; // the user cancels the save dialog
        };
        auto& d = testsupport::dialogs();
        d.queue(dlg::Answer::Cancel);
        QVERIFY(!w->close());
        QCOMPARE(d.prompts.size(), size_t(1));
        QCOMPARE(d.prompts[0].text, QStringLiteral("survey.vlm has changed.\nWould you like to save it?"));
        QCOMPARE(d.prompts[0].buttons, dlg::Buttons::YesNoCancel);
        QCOMPARE(d.prompts[0].icon, dlg::Icon::Question);
        QCOMPARE(saves, 0);
        // Yes, then the save is cancelled: the window stays and the work is kept.
        d.queue(dlg::Answer::Yes);
        QVERIFY(!w->close());
        QCOMPARE(saves, 1);
        QVERIFY(w->doc.DataChanged);
        // Yes with a successful save closes.
        w->saveForPrompt = [&](bool keepName) {
            ++saves;
            return !keepName; // saved under a new name
        };
        d.queue(dlg::Answer::Yes);
        QVERIFY(w->close());
        QCOMPARE(saves, 2);
        QCOMPARE(d.unanswered, 0);
    }

    void changedUnregisteredDocumentClosesQuietly() {
        auto w = startWindow();
        w->doc.DataChanged = true;
        w->doc.MapRegistered = false;
        QVERIFY(w->close());
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
    }

    void clearAllResetsPopulatedDocument() {
        auto w = startWindow();
        Document& d = w->doc;
        d.DataTitle = QStringLiteral("Keep me");
        d.LabFileName = QStringLiteral("/tmp/a.lab");
        d.DatumPoints.resize(4);
        d.DatCount = 3;
        d.ContourPoints.resize(3);
        d.ConCount = 2;
        d.MapLabels.resize(2);
        d.LabelCount = 1;
        d.MapFileName = QStringLiteral("/tmp/map.jpg");
        d.ProjectionName = QStringLiteral("Transverse Mercator");
        d.CoordUnits = QStringLiteral("Degrees");
        d.ProjScaleX = 3;
        d.RefPixelX1 = 120;
        d.MapSpanX = 5;
        d.MapRegistered = d.DataChanged = d.ContoursCurrent = true;
        d.ContourDetail = 77;
        for (int i = 1; i <= 3; ++i) w->markers->labDat.load(i).Visible = true;
        for (int i = 1; i <= 2; ++i) w->markers->labCon.load(i);
        w->markers->labMap.load(1);
        w->markers->LineCon.load(1);
        d.ContactLineCount = 1;
        w->markers->labRef[1].Visible = true;
        w->mnuCoordTMerc->setChecked(true);
        w->mnuCoordDegrees->setChecked(true);
        w->optStruc->setEnabled(true);
        w->optStruc->setChecked(true);
        w->optDat->setEnabled(true);
        w->optDat->setChecked(true);
        w->mnuViewShowLabels->setChecked(true);
        w->ClearAll();
        QCOMPARE(d.DatCount, 0);
        QCOMPARE(d.ConCount, 0);
        QCOMPARE(d.LabelCount, 0);
        QVERIFY(d.DatumPoints.empty() && d.ContourPoints.empty() && d.MapLabels.empty());
        QCOMPARE(w->markers->labDat.count(), 0);
        QCOMPARE(w->markers->labCon.count(), 0);
        QCOMPARE(w->markers->labMap.count(), 0);
        QCOMPARE(w->markers->LineCon.count(), 0);
        QCOMPARE(w->markers->labDat.templ().Caption, QStringLiteral("*")); // template member stays
        QCOMPARE(w->markers->labRef.count(), 2);
        QVERIFY(!w->markers->labRef[1].Visible);
        QCOMPARE(d.ProjScaleX, 1.0f);
        QCOMPARE(d.ProjScaleY, 1.0f);
        QCOMPARE(d.RefPixelX1, 0.0f);
        QCOMPARE(d.MapSpanX, 0.0f);
        QVERIFY(!d.MapRegistered && !d.DataChanged && !d.ContoursCurrent);
        QCOMPARE(d.ContactShown, QStringLiteral("All"));
        QVERIFY(d.MapFileName.isEmpty());
        QVERIFY(d.ProjectionName.isEmpty() && d.CoordUnits.isEmpty());
        // What ClearAll leaves alone.
        QCOMPARE(d.DataTitle, QStringLiteral("Keep me"));
        QCOMPARE(d.LabFileName, QStringLiteral("/tmp/a.lab"));
        QCOMPARE(w->txtConDet->text(), QStringLiteral("77"));
        // Controls.
        QVERIFY(!w->optStruc->isChecked() && !w->optDat->isChecked());
        QVERIFY(!w->optStruc->isEnabled());
        QVERIFY(!w->mnuCoordTMerc->isChecked() && !w->mnuCoordDegrees->isChecked());
        QVERIFY(!w->mnuViewShowLabels->isChecked());
        QVERIFY(w->mnuViewShowContactShowAll->isChecked());
        QCOMPARE(w->labDatNum->text(), QStringLiteral("0"));
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("0"));
        QVERIFY(!w->mnuView->menuAction()->isEnabled());
        QVERIFY(!w->imPoints->isVisible());
        QCOMPARE(w->panel(2), QStringLiteral("No file loaded..."));
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
    }

    void layoutFollowsWindowSize() {
        auto w = startWindow();
        w->MoveTwips(0, 0, 9000, 11400);
        QCoreApplication::processEvents();
        // Too small windows snap back to the minimum.
        w->MoveTwips(0, 0, 6000, 9000);
        QCoreApplication::processEvents();
        QVERIFY(w->Width() >= 8000 - 15 && w->Height() >= 11200 - 15);
        const double f1w = twips::fromPx(w->Frame1->width());
        const double f1h = twips::fromPx(w->Frame1->height());
        QVERIFY(std::abs(twips::fromPx(w->Frame2->width()) - (f1w - 180)) <= 15);
        const double expected = f1h <= f1w ? twips::fromPx(w->Frame2->width()) - 120 : twips::fromPx(w->Frame2->height()) - 120;
        QVERIFY(std::abs(w->doc.PageZoomSize - expected) <= 30);
        w->doc.ContoursCurrent = true;
        w->FormResize();
        QVERIFY(!w->doc.ContoursCurrent);
    }

    // Every caption of the strip right of the map shows whole at the font in
    // use, and the point-type captions stop short of their colour swatches.
    void stripCaptionsShowWhole() {
        auto w = startWindow();
        QStyle* st = w->style();
        const int radio = st->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          st->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        const int check = st->pixelMetric(QStyle::PM_IndicatorWidth) + st->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
                 w->optRock, w->optStruc, w->optIso, w->optDat, w->optCon, w->optHi, w->optMed, w->optLo, w->chkMan,
                 w->chkLines}) {
            const int text = QFontMetrics(b->font()).horizontalAdvance(b->text());
            const int indicator = qobject_cast<QRadioButton*>(b) ? radio : check;
            QVERIFY2(b->width() >= indicator + text, qPrintable(b->objectName()));
        }
        QVERIFY(w->optDat->geometry().right() < w->labDatCol->x());
        QVERIFY(w->optCon->geometry().right() < w->labConCol->x());
        QVERIFY(w->labConCol->geometry().right() < w->labConNum->x());
        QVERIFY(w->labConNum->geometry().right() < w->Frame6->width());
    }

    void dataKindTable() {
        auto w = startWindow();
        w->optRock->setEnabled(true);
        w->optIso->setEnabled(true);
        w->doc.DataTitle = QStringLiteral("Wells");
        w->optIso->setChecked(true);
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
        QVERIFY(w->cmdShow->isEnabled());
        QVERIFY(w->optCon->isEnabled());
        QCOMPARE(w->panel(2), QStringLiteral("Data:  Wells (isopachs)"));
        w->optRock->setChecked(true);
        QVERIFY(w->optDat->isChecked());
        QVERIFY(!w->optCon->isEnabled());
        QVERIFY(!w->labConCol->isEnabled());
        QVERIFY(!w->cmdShow->isEnabled());
        QVERIFY(!w->mnuViewShow->menuAction()->isEnabled());
        QVERIFY(w->mnuViewShowContact->menuAction()->isEnabled());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contacts"));
        QCOMPARE(w->cmdShow->toolTip(), QStringLiteral("Click to show contact map"));
        QCOMPARE(w->mnuViewShowCon->text(), QStringLiteral("Contacts"));
        QCOMPARE(w->Frame7->title(), QStringLiteral("Contacts"));
        QCOMPARE(w->labMax->text(), QStringLiteral("Max Contact"));
        QCOMPARE(w->labMin->text(), QStringLiteral("Min Contact"));
        QCOMPARE(w->panel(2), QStringLiteral("Data:  Wells (contacts)"));
    }

    void changeTitle() {
        auto w = startWindow();
        auto& d = testsupport::dialogs();
        d.queue(QStringLiteral("North Field"));
        w->mnuOptTitle->trigger();
        QCOMPARE(w->doc.DataTitle, QStringLiteral("North Field"));
        QCOMPARE(w->panel(2), QStringLiteral("Data:  North Field (no data)"));
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(d.prompts[0].defaultText, QString());
        QCOMPARE(d.prompts[0].title, QStringLiteral("Title"));
        // Cancel empties the title.
        w->optStruc->setEnabled(true);
        w->optStruc->setChecked(true);
        w->doc.DataChanged = false;
        w->mnuOptTitle->trigger();
        QCOMPARE(w->doc.DataTitle, QString());
        QCOMPARE(w->panel(2), QStringLiteral("Data:   (structural contours)"));
        QVERIFY(w->doc.DataChanged);
    }

    void fileMenuExportFollowsTheView() {
        auto w = startWindow();
        w->doc.MapRegistered = true;
        // The map view exports points, the contour plot its grid; a contact
        // plot has nothing to export.
        w->imPoints->show();
        w->picMap->hide();
        emit w->mnuFile->aboutToShow();
        QVERIFY(w->mnuFileExportData->isEnabled());
        QVERIFY(w->mnuFileClose->isEnabled());
        w->imPoints->hide();
        w->picMap->show();
        emit w->mnuFile->aboutToShow();
        QVERIFY(w->mnuFileExportData->isEnabled());
        w->picMap->hide();
        emit w->mnuFile->aboutToShow();
        QVERIFY(!w->mnuFileExportData->isEnabled());
        // An unregistered map leaves the item alone and disables the rest.
        w->doc.MapRegistered = false;
        w->imPoints->show();
        emit w->mnuFile->aboutToShow();
        QVERIFY(!w->mnuFileExportData->isEnabled());
        QVERIFY(!w->mnuFileClose->isEnabled());
        QVERIFY(!w->mnuFileExport->menuAction()->isEnabled());
    }

    void editMenuEnabling() {
        auto w = startWindow();
        w->doc.MapRegistered = true;
        emit w->mnuOpt->aboutToShow();
        QVERIFY(w->mnuOptReg->isEnabled());
        QVERIFY(!w->mnuOptRot->menuAction()->isEnabled());
        QVERIFY(!w->mnuOptEdit->isEnabled());
        QVERIFY(!w->mnuOptClearAll->isEnabled());
        w->doc.ConCount = 1;
        w->optStruc->setEnabled(true);
        w->optStruc->setChecked(true);
        w->doc.DatCount = 2;
        emit w->mnuOpt->aboutToShow();
        QVERIFY(w->mnuOptClearAll->isEnabled());
        QVERIFY(!w->mnuOptOrder->isEnabled()); // contours never order
        w->optRock->setEnabled(true);
        w->optRock->setChecked(true);
        emit w->mnuOpt->aboutToShow();
        QVERIFY(w->mnuOptOrder->isEnabled());
        w->doc.MapRegistered = false;
        emit w->mnuOpt->aboutToShow();
        QVERIFY(!w->mnuOptReg->isEnabled());
        QVERIFY(w->mnuOptSkew->menuAction()->isEnabled());
        w->doc.DatCount = w->doc.ConCount = 0;
    }
};
VEX_TEST(MainWindowTest);
#include "MainWindowTest.moc"
