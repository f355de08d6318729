// The main window driven offscreen: start-up and the settings it keeps,
// closing, layout, the File and Edit menus and the View menu's items.
#include "app/MainWindow.h"
#include "app/ViewMenu.h"
#include "app/WindowPlacement.h"
#include "common/AppSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "common/TestTable.h"
#include "digitize/LabelCommands.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>

namespace {
using namespace appsupport;
using testsupport::columns;
using testsupport::dialogs;
bool menuOn(QMenu* m) { return m->menuAction()->isEnabled(); }
// A label on the map, the item checked before the click, the contact plot
// shown instead of the map; LabelsShown and LabelsSuppressed after.
struct Labels { bool label, on, plot, shown, suppressed; };
struct Close { bool halt, registered; int answer; bool saved, closes; int saves; };
} // namespace
Q_DECLARE_METATYPE(Close)
Q_DECLARE_METATYPE(Labels)
Q_DECLARE_METATYPE(ViewMenuInputs)

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        SettingsStore().ClearSection(Sec);
        dialogs().clear();
    }

    // Screen 19200 x 14400 twips (1280 x 960 pixels); stored left, top, width, height.
    void placementRules_data() {
        columns<QStringList, QList<double>>("stored", "placed");
        QTest::newRow("defaults centre") << QStringList{"", "", "", ""} << QList<double>{3742.5, 1740, 11715, 10920};
        QTest::newRow("stored") << QStringList{"300", "450", "12000", "11500"} << QList<double>{300, 450, 12000, 11500};
        QTest::newRow("negative is 0") << QStringList{"-500", "-1", "9000", "11200"} << QList<double>{0, 0, 9000, 11200};
        QTest::newRow("off screen is 0") << QStringList{"19201", "20000", "9000", "11200"} << QList<double>{0, 0, 9000, 11200};
        QTest::newRow("oversize is screen") << QStringList{"0", "0", "30000", "20000"} << QList<double>{0, 0, 19200, 14400};
        QTest::newRow("junk reads as 0") << QStringList{"abc", "12abc", "x", "11200"} << QList<double>{0, 12, 0, 11200};
    }
    void placementRules() {
        QFETCH(QStringList, stored);
        const MainPlacement p = placeMainWindow(stored[0], stored[1], stored[2], stored[3], 19200, 14400);
        QTEST((QList<double>{p.left, p.top, p.width, p.height}), "placed");
    }

    // What a start restores and what the close after a move writes back.
    // The data folder "~" is Ferno/Vexolan/ in the documents folder.
    void settingsRoundTrip_data() {
        columns<QStringList, QString, QString, QStringList>("stored", "folder", "checked", "written");
        QTest::newRow("first start") << QStringList{} << "~" << "optMed mnuViewLatLongDegMin"
                                     << QStringList{"DatumColor=255", "ContourColor=16711680", "Color=2", "Contours=0",
                                                    "ContourLine=0", "DegreeFormat=0"};
        QTest::newRow("stored") << QStringList{"DatumColor=65280", "ContourColor=&H00FFFF", "Color=7", "Contours=1",
                                               "ContourLine=True", "DegreeFormat=9", "DataPath=/tmp/"}
                                << "/tmp/" << "optLo chkMan mnuViewLatLongDecimal4"
                                << QStringList{"DatumColor=65280", "ContourColor=65535", "Color=1", "Contours=1",
                                               "ContourLine=0", "DegreeFormat=9", "DataPath=/tmp/"};
        QTest::newRow("missing data folder") << QStringList{"DataPath=/nonexistent/folder/", "ContourLine=1"} << "~"
                                             << "optMed chkLines mnuViewLatLongDegMin" << QStringList{"ContourLine=1"};
    }
    void settingsRoundTrip() {
        QFETCH(QString, folder);
        store(col<QStringList>("stored"));
        if (folder == QLatin1String("~"))
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Ferno/Vexolan/");
        auto w = testsupport::startMainWindow();
        QCOMPARE(w->Width(), 11715.0);
        QCOMPARE(w->app.DataFolder, folder);
        QVERIFY(QDir(folder).exists());
        QCOMPARE(setting(QStringLiteral("DataPath")), folder);
        for (const char* name :
             {"optHi", "optMed", "optLo", "chkMan", "chkLines", "mnuViewLatLongDegMin", "mnuViewLatLongDecimal4"})
            QCOMPARE(w->findChild<QObject*>(name)->property("checked").toBool(), col<QString>("checked").contains(name));
        // The empty document.
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan"));
        QCOMPARE(w->panel(1), QStringLiteral("Projection: (unkown), Units: (unknown)"));
        QCOMPARE(w->panel(2), QStringLiteral("No file loaded..."));
        QVERIFY(!menuOn(w->mnuCoord) && !w->cmdSave->isEnabled() && w->cmdDig->isEnabled());
        w->MoveTwips(600, 900, 9000, 11400);
        QVERIFY(w->close());
        for (const QString& kv : col<QStringList>("written") + QStringList{"MainLeft=600", "MainWidth=9000"})
            QCOMPARE(setting(kv.section('=', 0, 0)), kv.section('=', 1));
    }

    // The answer to "... has changed" (0: not asked), the save dialog's outcome.
    void closing_data() {
        QTest::addColumn<Close>("c");
        QTest::newRow("Halt Show halts instead") << Close{true, true, 0, false, false, 0};
        QTest::newRow("unregistered closes quietly") << Close{false, false, 0, false, true, 0};
        QTest::newRow("Cancel") << Close{false, true, int(dlg::Answer::Cancel), false, false, 0};
        QTest::newRow("No") << Close{false, true, int(dlg::Answer::No), false, true, 0};
        QTest::newRow("Yes, save cancelled") << Close{false, true, int(dlg::Answer::Yes), false, false, 1};
        QTest::newRow("Yes, saved") << Close{false, true, int(dlg::Answer::Yes), true, true, 1};
    }
    void closing() {
        const Close c = col<Close>("c");
        auto w = testsupport::startMainWindow();
        int shows = 0, saves = 0;
        w->cmdShow_Click = [&] { ++shows; };
        if (c.halt) w->cmdShow->setText(QStringLiteral("Halt Show"));
        w->doc.DataChanged = true;
        w->doc.MapRegistered = c.registered;
        w->doc.DataFileName = QStringLiteral("/tmp/survey.vlm");
        w->saveForPrompt = [&](bool keepName) { return ++saves && !keepName && c.saved; }; // asks a name, as Save As
        if (c.answer) dialogs().queue(dlg::Answer(c.answer));
        QCOMPARE(w->close(), c.closes);
        QCOMPARE(saves * 10 + shows, c.saves * 10 + int(c.halt));
        QCOMPARE(dialogs().prompts.size(), size_t(c.answer != 0));
        if (c.answer) QCOMPARE(dialogs().prompts[0].text, QStringLiteral("survey.vlm has changed.\nWould you like to save it?"));
        w->cmdShow->setText(QStringLiteral("Show"));
    }

    void layoutFollowsWindowSize() {
        auto w = testsupport::startMainWindow();
        w->doc.ContoursCurrent = true;
        w->MoveTwips(0, 0, 6000, 9000); // too small: back to the minimum
        QTRY_VERIFY(w->Width() >= 8000 - 15 && w->Height() >= 11200 - 15);
        QVERIFY(!w->doc.ContoursCurrent);
    }

    // Every caption of the strip right of the map shows whole at the font in
    // use, and the point-type captions stop short of their colour swatches.
    void stripCaptionsShowWhole() {
        auto w = testsupport::startMainWindow();
        const auto px = [&](QStyle::PixelMetric m) { return w->style()->pixelMetric(m); };
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
                 w->optRock, w->optStruc, w->optIso, w->optDat, w->optCon, w->optHi, w->optMed, w->optLo, w->chkMan,
                 w->chkLines}) {
            const int indicator = qobject_cast<QRadioButton*>(b)
                                      ? px(QStyle::PM_ExclusiveIndicatorWidth) + px(QStyle::PM_RadioButtonLabelSpacing)
                                      : px(QStyle::PM_IndicatorWidth) + px(QStyle::PM_CheckBoxLabelSpacing);
            QVERIFY2(b->width() >= indicator + QFontMetrics(b->font()).horizontalAdvance(b->text()),
                     qPrintable(b->objectName()));
        }
        QVERIFY(w->optDat->geometry().right() < w->labDatCol->x() && w->optCon->geometry().right() < w->labConCol->x());
        QVERIFY(w->labConCol->geometry().right() < w->labConNum->x() && w->labConNum->geometry().right() < w->Frame6->width());
        // The counters show the largest count a document holds whole.
        for (QLabel* n : {w->labDatNum, w->labConNum})
            QVERIFY2(n->width() >= QFontMetrics(n->font()).horizontalAdvance(QStringLiteral("32767")),
                     qPrintable(n->objectName()));
    }

    // The File and Edit menus as they open.  State: R registered, P the map
    // view (its points to export), G the contour plot (its grid), S or C the
    // structural or contact kind, 1 points recorded.  Items: Export Data,
    // Close, Export | Register, Rotate, Edit, Clear All, Order, Skew.
    void menusAsTheyOpen_data() {
        columns<QString, QString>("state", "items");
        QTest::newRow("map view") << "RP" << "111 100000";
        QTest::newRow("contour plot") << "RG" << "111 100000";
        QTest::newRow("contact plot exports nothing") << "R" << "011 100000";
        QTest::newRow("contours never order") << "RPS1" << "111 100100";
        QTest::newRow("contact points order") << "RPC1" << "111 100110";
        // Rotation, editing and skew come before registering; Export Data is
        // left as it was, the Export menu holding it off.
        QTest::newRow("unregistered") << "PC1" << "100 011111";
    }
    void menusAsTheyOpen() {
        QFETCH(QString, state);
        auto w = testsupport::startMainWindow();
        w->doc.MapRegistered = state.contains('R');
        w->imPoints->setVisible(state.contains('P'));
        w->picMap->setVisible(state.contains('G'));
        for (auto [code, kind] : {std::pair{'S', w->optStruc}, std::pair{'C', w->optRock}})
            if (state.contains(code)) kind->setChecked(true);
        w->doc.DatCount = w->doc.ConCount = int(state.contains('1'));
        emit w->mnuFile->aboutToShow();
        emit w->mnuOpt->aboutToShow();
        QTEST(bits({w->mnuFileExportData->isEnabled(), w->mnuFileClose->isEnabled(), menuOn(w->mnuFileExport)}) + ' ' +
                  bits({w->mnuOptReg->isEnabled(), menuOn(w->mnuOptRot), w->mnuOptEdit->isEnabled(),
                        w->mnuOptClearAll->isEnabled(), w->mnuOptOrder->isEnabled(), menuOn(w->mnuOptSkew)}),
              "items");
    }
};
VEX_TEST(MainWindowTest);

class ViewMenuTest : public QObject {
    Q_OBJECT
    // A registered map in the point view.
    static std::unique_ptr<MainWindow> startWindow() {
        auto w = testsupport::startMainWindow();
        Document& d = w->doc;
        d.MapRegistered = true;
        d.MapOriginY = d.MapSpanX = d.MapSpanY = 1000;
        w->imPoints->Move(0, 0, 3000, 3000);
        w->imContacts->Move(0, 0, 3000, 3000);
        w->imPoints->setVisible(true);
        w->mnuView->menuAction()->setEnabled(true);
        w->mnuViewShow->menuAction()->setEnabled(true);
        return w;
    }
    static void setUnits(MainWindow& w, QAction* item, const QString& units) {
        for (QAction* a : {w.mnuCoordDegrees, w.mnuCoordFeet}) a->setChecked(a == item);
        w.doc.CoordUnits = units;
        QCoreApplication::processEvents();
    }

private slots:
    void init() { dialogs().clear(); }

    // The rules on the real window, the items following their inputs at once,
    // not only when the menu opens.  Inputs: datum, contour, contact options,
    // contact plot, units.  Items: points colour, its datum item, its contour
    // item, resolution, select contacts, degree format.
    void enablingTable_data() {
        columns<ViewMenuInputs, QString>("in", "expected");
        QTest::newRow("before registration") << ViewMenuInputs{false, false, false, false, ""} << "000100";
        QTest::newRow("contours, metres") << ViewMenuInputs{true, true, false, false, "Meters"} << "111100";
        QTest::newRow("contacts") << ViewMenuInputs{true, false, true, false, "Meters"} << "110110";
        QTest::newRow("contact plot showing") << ViewMenuInputs{true, false, true, true, "Feet"} << "110010";
        QTest::newRow("degrees") << ViewMenuInputs{true, true, false, false, "Degrees"} << "111101";
        QTest::newRow("degrees compared exactly") << ViewMenuInputs{true, true, false, false, "degrees"} << "111100";
        QTest::newRow("only contour option") << ViewMenuInputs{false, true, false, false, "Degrees"} << "101101";
    }
    void enablingTable() {
        const ViewMenuInputs in = col<ViewMenuInputs>("in");
        auto w = startWindow();
        // The units and the kind first, each announced by a signal; the kind
        // enables the options itself.  The options and the plot last: they
        // announce nothing, their changes are watched.
        const bool degrees = !in.coordUnits.compare(QLatin1String("degrees"), Qt::CaseInsensitive);
        setUnits(*w, degrees ? w->mnuCoordDegrees : w->mnuCoordFeet, in.coordUnits);
        w->optRock->setValue(in.contactData);
        w->optDat->setEnabled(in.datumOptionEnabled);
        w->optCon->setEnabled(in.contourOptionEnabled);
        w->imContacts->setVisible(in.contactOverlayVisible);
        QTEST(bits({menuOn(w->mnuViewPointsColor), w->mnuViewPointsColorDat->isEnabled(),
                    w->mnuViewPointsColorCon->isEnabled(), menuOn(w->mnuViewRes), menuOn(w->mnuViewShowContact),
                    menuOn(w->mnuViewLatLong)}),
              "expected");
    }

    void shortcutsRespectTheEnabledState() {
        auto w = startWindow();
        QAction* item = w->mnuViewLatLong360;
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        QSignalSpy spy(item, &QAction::triggered);
        w->activateWindow();
        auto press = [&] {
            QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
            return int(spy.count());
        };
        setUnits(*w, w->mnuCoordFeet, QStringLiteral("Feet"));
        QCOMPARE(press(), 0);
        setUnits(*w, w->mnuCoordDegrees, QStringLiteral("Degrees"));
        QCOMPARE(press(), 1);
        w->doc.CoordUnits = QStringLiteral("Meters"); // nothing announced: caught as the key arrives
        QCOMPARE(press(), 1);
        w->doc.CoordUnits = QStringLiteral("Degrees");
        w->viewMenu->updateEnabled();
        w->mnuView->menuAction()->setEnabled(false); // a disabled View menu blocks it too
        QCOMPARE(press(), 1);
        w->mnuView->menuAction()->setEnabled(true);
        QCOMPARE(press(), 2);
    }

    void showLabels_data() {
        QTest::addColumn<Labels>("c");
        QTest::newRow("off in the map view") << Labels{true, true, false, false, false};
        QTest::newRow("off over the plot") << Labels{true, true, true, true, true};
        QTest::newRow("on lays them out") << Labels{true, false, false, true, false};
        QTest::newRow("on without labels") << Labels{false, false, false, false, false};
    }
    void showLabels() {
        const auto [label, on, plot, shown, suppressed] = col<Labels>("c");
        auto w = startWindow();
        if (label) {
            w->doc.CursorX = w->doc.CursorY = 1500;
            w->doc.CursorMapX = w->doc.CursorMapY = 500;
            dialogs().queue(QStringLiteral("A"));
            w->labelCommands->LabelNew();
            w->markers->labMap[1].Visible = on;
            dialogs().clear();
        }
        w->mnuViewShowLabels->setChecked(on);
        w->LabelsShown = on;
        w->imPoints->setVisible(!plot);
        w->imContacts->setVisible(plot);
        w->mnuViewShowLabels->trigger();
        QCOMPARE(w->mnuViewShowLabels->isChecked(), !on);
        if (label) QCOMPARE(w->markers->labMap[1].Visible, !on);
        QCOMPARE(bits({w->LabelsShown, w->LabelsSuppressed}), bits({shown, suppressed}));
        QVERIFY(dialogs().prompts.empty());
    }

    void itemsReachTheirHandlers() {
        auto w = startWindow();
        w->doc.DataChanged = false;
        w->mnuViewCheck->trigger();
        QVERIFY(w->mnuViewCheck->isChecked());
        w->mnuViewCheck->trigger();
        QVERIFY(!w->mnuViewCheck->isChecked() && !w->doc.DataChanged && !w->doc.ContoursCurrent);
        QSignalSpy dat(w->labDatCol, &ColorSwatch::doubleClicked), con(w->labConCol, &ColorSwatch::doubleClicked);
        for (QAction* item : {w->mnuViewPointsColorDat, w->mnuViewPointsColorCon}) {
            item->setEnabled(true);
            item->trigger();
        }
        QCOMPARE(dat.count() * 10 + con.count(), 11);
        QCOMPARE(dialogs().prompts.size(), size_t(2)); // each swatch asks for its colour
        QCOMPARE(dialogs().prompts[1].kind, dlg::Prompt::Kind::Color);
    }
};
VEX_TEST(ViewMenuTest);
#include "MainWindowTest.moc"
