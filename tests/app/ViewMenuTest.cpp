// The View menu's own items: the enabling rules (as a table and on the real
// window, also for keyboard shortcuts), Show > Labels, Points and Contours,
// Points Color and Check Contours.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/ViewMenu.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "digitize/LabelCommands.h"

#include <QSignalSpy>
#include <QTest>

namespace {

std::unique_ptr<MainWindow> startWindow() {
    auto w = testsupport::startMainWindow();
    // A registered map in the point view.
    Document& d = w->doc;
    d.MapRegistered = true;
    d.MapOriginX = 0;
    d.MapOriginY = 1000;
    d.MapSpanX = 1000;
    d.MapSpanY = 1000;
    w->imPoints->Move(0, 0, 3000, 3000);
    w->imContacts->Move(0, 0, 3000, 3000);
    w->imPoints->setVisible(true);
    w->mnuView->menuAction()->setEnabled(true);
    w->mnuViewShow->menuAction()->setEnabled(true);
    return w;
}

void addLabel(MainWindow& w, const QString& text) {
    w.doc.CursorX = 1500;
    w.doc.CursorY = 1500;
    w.doc.CursorMapX = 500;
    w.doc.CursorMapY = 500;
    testsupport::dialogs().queue(text);
    w.labelCommands->LabelNew();
}

bool menuOn(QMenu* m) { return m->menuAction()->isEnabled(); }

} // namespace

class ViewMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    void enablingTable_data() {
        QTest::addColumn<bool>("dat");
        QTest::addColumn<bool>("con");
        QTest::addColumn<bool>("rock");
        QTest::addColumn<bool>("overlay");
        QTest::addColumn<QString>("units");
        // expected: points colour, its datum item, its contour item,
        // resolution, select contacts, degree format
        QTest::addColumn<QString>("expected");
        QTest::newRow("before registration") << false << false << false << false << "" << "000100";
        QTest::newRow("registered, contours, metres") << true << true << false << false << "Meters" << "111100";
        QTest::newRow("contacts") << true << false << true << false << "Meters" << "110110";
        QTest::newRow("contact plot showing") << true << false << true << true << "Feet" << "110010";
        QTest::newRow("degrees") << true << true << false << false << "Degrees" << "111101";
        QTest::newRow("degrees compared exactly") << true << true << false << false << "degrees" << "111100";
        QTest::newRow("only contour option") << false << true << false << false << "Degrees" << "101101";
    }
    void enablingTable() {
        QFETCH(bool, dat);
        QFETCH(bool, con);
        QFETCH(bool, rock);
        QFETCH(bool, overlay);
        QFETCH(QString, units);
        const ViewMenuEnabled e = viewMenuEnabled({dat, con, rock, overlay, units});
        QString got;
        for (bool b : {e.pointsColor, e.pointsColorDatum, e.pointsColorContour, e.resolution, e.selectContacts,
                       e.degreeFormat})
            got += b ? QLatin1Char('1') : QLatin1Char('0');
        QTEST(got, "expected");
    }

    void openingTheMenuAppliesTheRules() {
        auto w = startWindow();
        w->optDat->setEnabled(true);
        w->optCon->setEnabled(false);
        w->doc.CoordUnits = QStringLiteral("Degrees");
        w->viewMenu->mnuView_Click();
        QVERIFY(menuOn(w->mnuViewPointsColor));
        QVERIFY(menuOn(w->mnuViewRes));
        QVERIFY(!menuOn(w->mnuViewShowContact));
        QVERIFY(menuOn(w->mnuViewLatLong));
        w->viewMenu->mnuViewPointsColor_Click();
        QVERIFY(w->mnuViewPointsColorDat->isEnabled());
        QVERIFY(!w->mnuViewPointsColorCon->isEnabled());
    }

    void enabledSetFollowsItsInputsWithoutOpening() {
        auto w = startWindow();
        w->optDat->setEnabled(false);
        w->optCon->setEnabled(false);
        QVERIFY(!menuOn(w->mnuViewPointsColor));
        w->optCon->setEnabled(true);
        QVERIFY(menuOn(w->mnuViewPointsColor));
        QVERIFY(w->mnuViewPointsColorCon->isEnabled());
        QVERIFY(!w->mnuViewPointsColorDat->isEnabled());

        w->imContacts->setVisible(true);
        QVERIFY(!menuOn(w->mnuViewRes));
        w->imContacts->setVisible(false);
        QVERIFY(menuOn(w->mnuViewRes));

        w->optRock->setEnabled(true);
        w->optRock->setValue(true);
        QVERIFY(menuOn(w->mnuViewShowContact));
        w->optStruc->setEnabled(true);
        w->optStruc->setValue(true);
        QVERIFY(!menuOn(w->mnuViewShowContact));

        // The units are stored beside the coordinate items' check marks.
        w->mnuCoordDegrees->setChecked(true);
        w->doc.CoordUnits = QStringLiteral("Degrees");
        QCoreApplication::processEvents();
        QVERIFY(menuOn(w->mnuViewLatLong));
        w->mnuCoordDegrees->setChecked(false);
        w->mnuCoordFeet->setChecked(true);
        w->doc.CoordUnits = QStringLiteral("Feet");
        QCoreApplication::processEvents();
        QVERIFY(!menuOn(w->mnuViewLatLong));
    }

    void shortcutsRespectTheEnabledState() {
        auto w = startWindow();
        QAction* item = w->mnuViewLatLong360;
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        QSignalSpy spy(item, &QAction::triggered);
        w->activateWindow();
        // Degree format off with linear units, on with degrees: the units
        // come with the coordinate items' check marks.
        w->mnuCoordFeet->setChecked(true);
        w->doc.CoordUnits = QStringLiteral("Feet");
        QCoreApplication::processEvents();
        QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(spy.count(), 0);
        w->mnuCoordFeet->setChecked(false);
        w->mnuCoordDegrees->setChecked(true);
        w->doc.CoordUnits = QStringLiteral("Degrees");
        QCoreApplication::processEvents();
        QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(spy.count(), 1);
        // A change nothing announced is still caught as the key arrives.
        w->doc.CoordUnits = QStringLiteral("Meters");
        QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!menuOn(w->mnuViewLatLong));
        // A disabled View menu blocks it too.
        w->doc.CoordUnits = QStringLiteral("Degrees");
        w->viewMenu->updateEnabled();
        w->mnuView->menuAction()->setEnabled(false);
        QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(spy.count(), 1);
        w->mnuView->menuAction()->setEnabled(true);
        QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(spy.count(), 2);
    }

    void labelsOffInTheMapView() {
        auto w = startWindow();
        addLabel(*w, QStringLiteral("A"));
        w->mnuViewShowLabels->setChecked(true);
        w->LabelsShown = true;
        w->mnuViewShowLabels->trigger();
        QVERIFY(!w->mnuViewShowLabels->isChecked());
        QVERIFY(!w->markers->labMap[1].Visible);
        QVERIFY(!w->LabelsShown);
        QVERIFY(!w->LabelsSuppressed);
    }

    void labelsOffWhileThePlotShowsKeepsLabelsShown() {
        auto w = startWindow();
        addLabel(*w, QStringLiteral("A"));
        w->mnuViewShowLabels->setChecked(true);
        w->LabelsShown = true;
        w->imPoints->setVisible(false);
        w->imContacts->setVisible(true);
        w->mnuViewShowLabels->trigger();
        QVERIFY(!w->mnuViewShowLabels->isChecked());
        QVERIFY(!w->markers->labMap[1].Visible);
        QVERIFY(w->LabelsShown);
        QVERIFY(w->LabelsSuppressed);
    }

    void labelsOnLaysThemOut() {
        auto w = startWindow();
        addLabel(*w, QStringLiteral("A"));
        w->markers->labMap[1].Visible = false;
        w->mnuViewShowLabels->setChecked(false);
        w->LabelsShown = false;
        w->mnuViewShowLabels->trigger();
        QVERIFY(w->mnuViewShowLabels->isChecked());
        QVERIFY(w->markers->labMap[1].Visible);
        QVERIFY(w->LabelsShown);
    }

    void labelsOnWithoutLabelsOnlyChecksTheItem() {
        auto w = startWindow();
        w->mnuViewShowLabels->setChecked(false);
        w->LabelsShown = false;
        w->mnuViewShowLabels->trigger();
        QVERIFY(w->mnuViewShowLabels->isChecked());
        QVERIFY(!w->LabelsShown);
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    void checkContoursClickedTwice() {
        auto w = startWindow();
        QVERIFY(!w->mnuViewCheck->isChecked());
        QVERIFY(w->mnuViewCheck->isEnabled());
        w->doc.DataChanged = false;
        w->mnuViewCheck->trigger();
        QVERIFY(w->mnuViewCheck->isChecked());
        w->mnuViewCheck->trigger();
        QVERIFY(!w->mnuViewCheck->isChecked());
        QVERIFY(!w->doc.DataChanged);
        QVERIFY(!w->doc.ContoursCurrent);
        QVERIFY(testsupport::dialogs().prompts.empty());
        // The handler called directly toggles the same way.
        w->viewMenu->mnuViewCheck_Click();
        QVERIFY(w->mnuViewCheck->isChecked());
    }

    void pointsColorItemsAskTheSwatches() {
        auto w = startWindow();
        QSignalSpy dat(w->labDatCol, &ColorSwatch::doubleClicked);
        QSignalSpy con(w->labConCol, &ColorSwatch::doubleClicked);
        w->mnuViewPointsColorDat->setEnabled(true);
        w->mnuViewPointsColorCon->setEnabled(true);
        w->mnuViewPointsColorDat->trigger();
        QCOMPARE(dat.count(), 1);
        QCOMPARE(con.count(), 0);
        w->mnuViewPointsColorCon->trigger();
        QCOMPARE(con.count(), 1);
        // Each swatch's handler asks for its colour.
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(2));
        QCOMPARE(p[0].kind, dlg::Prompt::Kind::Color);
        QCOMPARE(p[1].kind, dlg::Prompt::Kind::Color);
    }

    void pointsAndContoursBothCallShow() {
        auto w = startWindow();
        int shows = 0;
        w->cmdShow_Click = [&] { ++shows; };
        w->mnuViewShowMap->trigger();
        w->mnuViewShowCon->trigger();
        QCOMPARE(shows, 2);
    }
};

VEX_TEST(ViewMenuTest);
#include "ViewMenuTest.moc"
