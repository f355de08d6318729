// The removal commands of the Edit menu, driven on the real main window.
#include "common/TestRegistry.h"
#include "digitize/DigitizeFixture.h"
#include "map/MapView.h"
#include "map/Projections.h"
#include "removal/RemovalCommands.h"

#include <QTest>

using namespace digitize_fixture;

namespace {

dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }

struct P {
    float x, y, z;
    int16_t number;
};

// Appends points to a set with their markers (in the swatch's colour) and
// redraws, as recording or opening leaves them.
void addPoints(MainWindow& w, bool datum, std::initializer_list<P> pts) {
    Document& d = w.doc;
    auto& records = datum ? d.DatumPoints : d.ContourPoints;
    int& count = datum ? d.DatCount : d.ConCount;
    auto& marks = datum ? w.markers->labDat : w.markers->labCon;
    if (records.empty()) records.resize(1);
    for (const P& p : pts) {
        DataPoint r;
        r.X = p.x;
        r.Y = p.y;
        r.Z = p.z;
        r.Number = p.number;
        records.push_back(r);
        ++count;
        marks.load(count).ForeColor = (datum ? w.labDatCol : w.labConCol)->ForeColor();
    }
    w.mapView->MapReplot();
}

// A registered linear map with structural datum points and contour points.
std::unique_ptr<MainWindow> structuralWindow() {
    auto w = startWindow();
    registerLinear(*w);
    w->optStruc->setValue(true);
    w->optDat->setValue(true);
    addPoints(*w, true, {{100, 100, 10, 1}, {200, 200, 20, 2}, {300, 300, 30, 3}, {400, 400, 40, 4}, {500, 500, 50, 5}});
    addPoints(*w, false, {{150, 850, 15, 1}, {250, 750, 25, 2}, {350, 650, 35, 3}});
    w->doc.DataChanged = false;
    w->doc.ContoursCurrent = true;
    dialogs().clear();
    return w;
}

std::unique_ptr<MainWindow> contactWindow(std::initializer_list<float> designators) {
    auto w = startWindow();
    registerLinear(*w);
    w->optRock->setValue(true);
    w->optDat->setValue(true);
    float x = 50;
    int16_t n = 0;
    for (float z : designators) addPoints(*w, true, {{x += 50, 500, z, ++n}});
    w->doc.DataChanged = false;
    w->doc.ContoursCurrent = true;
    dialogs().clear();
    return w;
}

QList<float> zs(const std::vector<DataPoint>& v, int count) {
    QList<float> out;
    for (int i = 1; i <= count; ++i) out << v[size_t(i)].Z;
    return out;
}

QList<int> numbers(const std::vector<DataPoint>& v, int count) {
    QList<int> out;
    for (int i = 1; i <= count; ++i) out << v[size_t(i)].Number;
    return out;
}

// Runs a filter command with the typed answer and the confirmation answer.
void filter(QAction* item, const QString& typed, dlg::Answer confirm = dlg::Answer::Yes) {
    dialogs().queue(typed);
    dialogs().queue(confirm);
    item->trigger();
}

void verifyMarkersInStep(MainWindow& w) {
    QCOMPARE(w.markers->labDat.count(), w.doc.DatCount);
    QCOMPARE(w.markers->labCon.count(), w.doc.ConCount);
    QCOMPARE(int(w.doc.DatumPoints.size()), w.doc.DatCount ? w.doc.DatCount + 1 : 0);
    for (int i = 1; i <= w.doc.DatCount; ++i) {
        QVERIFY(w.markers->labDat[i].Visible || w.optRock->isChecked());
        QVERIFY(w.markers->labDat[i].ToolTipText.contains(QString::number(w.doc.DatumPoints[size_t(i)].Number)));
    }
}

} // namespace

class RemovalCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    void filterPromptsAndRemoves_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QList<float>>("datumLeft");
        QTest::addColumn<QList<float>>("contourLeft");
        const QList<float> allDat{10, 20, 30, 40, 50};
        const QList<float> allCon{15, 25, 35};
        QTest::newRow("datum X <") << "mnuOptClearDatXLess" << "200"
            << "Enter the X value (longitude) below which to remove points"
            << "Do you wish to remove all datum points with X < 200 ?" << QList<float>{20, 30, 40, 50} << allCon;
        QTest::newRow("datum X >") << "mnuOptClearDatXGreater" << "300"
            << "Enter the X value (longitude) above which to remove points"
            << "Do you wish to remove all datum points with X > 300 ?" << QList<float>{10, 20, 30} << allCon;
        QTest::newRow("datum Y <") << "mnuOptClearDatYLess" << "350"
            << "Enter the Y value (latitude) below which to remove points"
            << "Do you wish to remove all datum points with Y < 350 ?" << QList<float>{40, 50} << allCon;
        QTest::newRow("datum Y >") << "mnuOptClearDatYGreater" << "400"
            << "Enter the Y value (latitude) above which to remove points"
            << "Do you wish to remove all datum points with Y > 400 ?" << QList<float>{10, 20, 30, 40} << allCon;
        QTest::newRow("datum Z <") << "mnuOptClearDatZLess" << "30"
            << "Enter the Z value below which to remove points"
            << "Do you wish to remove all datum points with Z < 30 ?" << QList<float>{30, 40, 50} << allCon;
        QTest::newRow("datum Z >") << "mnuOptClearDatZGreater" << "25"
            << "Enter the Z value above which to remove points"
            << "Do you wish to remove all datum points with Z > 25 ?" << QList<float>{10, 20} << allCon;
        QTest::newRow("contour X <") << "mnuOptClearConXLess" << "250"
            << "Enter the X value (longitude) below which to remove points"
            << "Do you wish to remove all contour points with X < 250 ?" << allDat << QList<float>{25, 35};
        QTest::newRow("contour X >") << "mnuOptClearConXGreater" << "200"
            << "Enter the X value (longitude) above which to remove points"
            << "Do you wish to remove all contour points with X > 200 ?" << allDat << QList<float>{15};
        QTest::newRow("contour Y <") << "mnuOptClearConYLess" << "800"
            << "Enter the Y value (latitude) below which to remove points"
            << "Do you wish to remove all contour points with Y < 800 ?" << allDat << QList<float>{15};
        QTest::newRow("contour Y >") << "mnuOptClearConYGreater" << "700"
            << "Enter the Y value (latitude) above which to remove points"
            << "Do you wish to remove all contour points with Y > 700 ?" << allDat << QList<float>{35};
        QTest::newRow("contour Z <") << "mnuOptClearConZLess" << "35"
            << "Enter the Z value below which to remove points"
            << "Do you wish to remove all contour points with Z < 35 ?" << allDat << QList<float>{35};
        QTest::newRow("contour Z >") << "mnuOptClearConZGreater" << "15"
            << "Enter the Z value above which to remove points"
            << "Do you wish to remove all contour points with Z > 15 ?" << allDat << QList<float>{15};
    }
    void filterPromptsAndRemoves() {
        QFETCH(QString, item);
        QFETCH(QString, typed);
        auto w = structuralWindow();
        auto* a = w->findChild<QAction*>(item);
        QVERIFY(a);
        filter(a, typed);
        QCOMPARE(int(dialogs().prompts.size()), 2);
        QCOMPARE(int(dialogs().prompts[0].kind), int(dlg::Prompt::Kind::Input));
        QTEST(dialogs().prompts[0].text, "prompt");
        QCOMPARE(dialogs().prompts[0].title, dlg::applicationTitle());
        QCOMPARE(dialogs().prompts[0].defaultText, QString());
        QTEST(dialogs().prompts[1].text, "question");
        QCOMPARE(int(dialogs().prompts[1].buttons), int(dlg::Buttons::YesNo));
        QCOMPARE(int(dialogs().prompts[1].icon), int(dlg::Icon::Question));
        QTEST(zs(w->doc.DatumPoints, w->doc.DatCount), "datumLeft");
        QTEST(zs(w->doc.ContourPoints, w->doc.ConCount), "contourLeft");
        QCOMPARE(w->labDatNum->text(), QString::number(w->doc.DatCount));
        QCOMPARE(w->labConNum->text(), QString::number(w->doc.ConCount));
        verifyMarkersInStep(*w);
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->doc.ContoursCurrent);
        QVERIFY(w->optStruc->isChecked());
    }

    // Chosen while a redraw or a combination runs, a command waits for it to
    // end and then runs: the user's choice is not dropped.
    void commandsChosenWhileBusyRunAfterward() {
        auto w = structuralWindow();
        w->doc.MapBusy = true;
        dialogs().queue(QStringLiteral("30"));
        dialogs().queue(dlg::Answer::Yes);
        dialogs().queue(dlg::Answer::Yes);
        w->mnuOptClearDatZGreater->trigger();
        w->mnuOptClearConAll->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(int(dialogs().prompts.size()), 0);
        QCOMPARE(w->doc.DatCount, 5);
        w->doc.MapBusy = false;
        QTRY_COMPARE(w->doc.ConCount, 0);
        QCOMPARE(zs(w->doc.DatumPoints, w->doc.DatCount), (QList<float>{10, 20, 30}));
        QCOMPARE(w->markers->labDat.count(), 3);
        QCOMPARE(int(dialogs().prompts.size()), 3);
    }

    void cancelEmptyAndNoChangeNothing() {
        auto w = structuralWindow();
        const auto before = zs(w->doc.DatumPoints, w->doc.DatCount);
        dialogs().queue(dlg::Cancel{});
        w->mnuOptClearDatZGreater->trigger();
        QCOMPARE(int(dialogs().prompts.size()), 1);
        dialogs().queue(QString());
        w->mnuOptClearDatZGreater->trigger();
        QCOMPARE(int(dialogs().prompts.size()), 2);
        filter(w->mnuOptClearDatZGreater, QStringLiteral("15"), dlg::Answer::No);
        QCOMPARE(int(dialogs().prompts.size()), 4);
        QCOMPARE(zs(w->doc.DatumPoints, w->doc.DatCount), before);
        QCOMPARE(w->markers->labDat.count(), 5);
        QVERIFY(!w->doc.DataChanged);
        QVERIFY(w->doc.ContoursCurrent);
        QCOMPARE(dialogs().unanswered, 0);
    }

    void nonNumberLimitIsZeroAndShownAsTyped() {
        auto w = startWindow();
        registerLinear(*w);
        w->optIso->setValue(true);
        addPoints(*w, true, {{100, 100, -5, 1}, {200, 200, 0, 2}, {300, 300, 7, 3}});
        filter(w->mnuOptClearDatZLess, QStringLiteral("abc"));
        QCOMPARE(dialogs().prompts[1].text, QStringLiteral("Do you wish to remove all datum points with Z < abc ?"));
        QCOMPARE(zs(w->doc.DatumPoints, w->doc.DatCount), (QList<float>{0, 7}));
    }

    void keptPointsKeepNumbersOrderFlagsAndMarkers() {
        auto w = structuralWindow();
        // Points 2 and 4 go; their markers go with them, the others keep their own state.
        w->doc.DatumPoints[3].Combined = true;
        w->markers->labDat[3].ForeColor = 0x00FF00;
        w->markers->labDat[5].ForeColor = 0x123456;
        w->doc.DatumPoints[2].X = 900;
        w->doc.DatumPoints[4].X = 950;
        filter(w->mnuOptClearDatXGreater, QStringLiteral("800"));
        QCOMPARE(numbers(w->doc.DatumPoints, w->doc.DatCount), (QList<int>{1, 3, 5}));
        QCOMPARE(zs(w->doc.DatumPoints, w->doc.DatCount), (QList<float>{10, 30, 50}));
        QVERIFY(!w->doc.DatumPoints[1].Combined);
        QVERIFY(w->doc.DatumPoints[2].Combined);
        QCOMPARE(w->markers->labDat[2].ForeColor, 0x00FF00L);
        QCOMPARE(w->markers->labDat[3].ForeColor, 0x123456L);
        verifyMarkersInStep(*w);
        // Each marker sits where its point is (6 twips per map unit).
        QCOMPARE(w->markers->labDat[1].Left, w->markers->labDat[2].Left - (300 - 100) * 6.0f);
    }

    void failureIsReportedAndLeavesFlags() {
        auto w = structuralWindow();
        // A count beyond the records: the filter reports it and changes nothing.
        w->doc.DatCount = 9;
        filter(w->mnuOptClearDatZGreater, QStringLiteral("25"));
        QCOMPARE(int(dialogs().prompts.size()), 3);
        QCOMPARE(dialogs().prompts[2].text, QStringLiteral("mnuOptClearDat error: \n\nSubscript out of range"));
        QCOMPARE(int(dialogs().prompts[2].icon), int(dlg::Icon::Information));
        QCOMPARE(int(w->doc.DatumPoints.size()), 6);
        QVERIFY(!w->doc.DataChanged);
        QVERIFY(w->doc.ContoursCurrent);
        w->doc.ConCount = 4;
        filter(w->mnuOptClearConZGreater, QStringLiteral("25"));
        QCOMPARE(dialogs().prompts[5].text, QStringLiteral("mnuOptClearCon error: \n\nSubscript out of range"));
        QCOMPARE(int(w->doc.ContourPoints.size()), 4);
    }

    void filterThatWouldEmptyTheSetRemovesNothing() {
        auto w = structuralWindow();
        filter(w->mnuOptClearConZGreater, QStringLiteral("0"));
        QCOMPARE(w->doc.ConCount, 3);
        QCOMPARE(w->markers->labCon.count(), 3);
        QCOMPARE(int(dialogs().prompts.size()), 2); // no message
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->doc.ContoursCurrent);
        QVERIFY(w->labText->text().size() > 0);
    }

    void filterUnderTransverseMercatorComparesDegrees() {
        auto w = startWindow();
        registerLinear(*w);
        Document& d = w->doc;
        d.ProjectionName = QStringLiteral("Transverse Mercator");
        d.ProjScaleX = d.ProjScaleY = 1;
        d.CentralMeridian = float(DegRad(20, true));
        d.CentralParallel = 0;
        w->optStruc->setValue(true);
        auto fx = [&](double lon, double lat) { return ProjectTransverseMercator(d, lon, lat, true, true); };
        auto fy = [&](double lon, double lat) { return ProjectTransverseMercator(d, lon, lat, true, false); };
        addPoints(*w, true, {{fx(10, 40), fy(10, 40), 1, 1}, {fx(20, 40), fy(20, 40), 2, 2}, {fx(30, 40), fy(30, 40), 3, 3}});
        const float storedX3 = d.DatumPoints[3].X;
        filter(w->mnuOptClearDatXGreater, QStringLiteral("25"));
        QCOMPARE(zs(d.DatumPoints, d.DatCount), (QList<float>{1, 2}));
        // The stored projected X (well below 1) would have kept every point.
        QVERIFY(storedX3 < 25);
        filter(w->mnuOptClearDatXLess, QStringLiteral("15"));
        QCOMPARE(zs(d.DatumPoints, d.DatCount), (QList<float>{2}));
    }

    void contactSubmenuEnabling() {
        auto w = contactWindow({1, 2});
        emit w->mnuOptClearDat->aboutToShow();
        QVERIFY(w->mnuOptClearDatOne->isEnabled());
        QVERIFY(w->mnuOptClearDatAllbutOne->isEnabled());
        QVERIFY(!w->mnuOptClearDatZLess->isEnabled());
        QVERIFY(!w->mnuOptClearDatZGreater->isEnabled());
        w->optIso->setValue(true);
        w->mnuOptClearDatXLess->setEnabled(false);
        emit w->mnuOptClearDat->aboutToShow();
        QVERIFY(!w->mnuOptClearDatOne->isEnabled());
        QVERIFY(!w->mnuOptClearDatAllbutOne->isEnabled());
        QVERIFY(w->mnuOptClearDatZLess->isEnabled());
        QVERIFY(w->mnuOptClearDatZGreater->isEnabled());
        QVERIFY(!w->mnuOptClearDatXLess->isEnabled()); // not this handler's item
        QVERIFY(dialogs().prompts.empty());
    }

    void oneContactSet() {
        auto w = contactWindow({3, 1, 3, 2});
        filter(w->mnuOptClearDatOne, QStringLiteral("03"));
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Enter the contact designator number to remove"));
        QCOMPARE(dialogs().prompts[1].text, QStringLiteral("Do you wish to remove all datum points for contact: 03 ?"));
        QCOMPARE(w->doc.DatCount, 4);
        QVERIFY(w->doc.DataChanged);
        filter(w->mnuOptClearDatOne, QStringLiteral("3"));
        QCOMPARE(zs(w->doc.DatumPoints, w->doc.DatCount), (QList<float>{1, 2}));
        QCOMPARE(numbers(w->doc.DatumPoints, w->doc.DatCount), (QList<int>{2, 4}));
        verifyMarkersInStep(*w);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("2"));
    }

    void allButOneContactSet() {
        auto w = contactWindow({2, 1, 2, 5});
        filter(w->mnuOptClearDatAllbutOne, QStringLiteral("2.0"));
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Enter the contact designator number to retain"));
        QCOMPARE(dialogs().prompts[1].text,
                 QStringLiteral("Do you wish to remove all datum points except those of contact: 2.0 ?"));
        QCOMPARE(w->doc.DatCount, 4); // nothing would remain: nothing goes
        filter(w->mnuOptClearDatAllbutOne, QStringLiteral("2"));
        QCOMPARE(zs(w->doc.DatumPoints, w->doc.DatCount), (QList<float>{2, 2}));
        verifyMarkersInStep(*w);
        // The only contact left cannot be removed by a filter.
        filter(w->mnuOptClearDatOne, QStringLiteral("2"));
        QCOMPARE(w->doc.DatCount, 2);
    }

    void removeAllData() {
        auto w = contactWindow({1, 2});
        w->labDatCol->setEnabled(true);
        w->doc.ContoursCurrent = true;
        w->doc.MapLabels.resize(2);
        w->doc.LabelCount = 1;
        w->doc.OtherPoints.resize(3);
        w->doc.OtherCount = 2;
        dialogs().queue(dlg::Answer::No);
        w->mnuOptClearAll->trigger();
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Do you wish to remove all (Datum and Contour) points?"));
        QCOMPARE(int(dialogs().prompts[0].buttons), int(dlg::Buttons::YesNo));
        QCOMPARE(int(dialogs().prompts[0].icon), int(dlg::Icon::Question));
        QCOMPARE(w->doc.DatCount, 2);
        QVERIFY(!w->doc.DataChanged);
        dialogs().queue(dlg::Answer::Yes);
        w->mnuOptClearAll->trigger();
        QCOMPARE(w->doc.DatCount, 0);
        QCOMPARE(w->doc.ConCount, 0);
        QVERIFY(w->doc.DatumPoints.empty());
        QVERIFY(w->doc.ContourPoints.empty());
        QCOMPARE(w->markers->labDat.count(), 0);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("0"));
        QCOMPARE(w->labConNum->text(), QStringLiteral("0"));
        QVERIFY(!w->labDatCol->isEnabled());
        QVERIFY(!w->labConCol->isEnabled());
        QVERIFY(w->optDat->isEnabled() && !w->optDat->isChecked());
        QVERIFY(w->optCon->isEnabled() && !w->optCon->isChecked());
        for (auto* o : {w->optRock, w->optStruc, w->optIso}) QVERIFY(o->isEnabled() && !o->isChecked());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
        QCOMPARE(w->cmdShow->toolTip(), QStringLiteral("Click to show contour map"));
        QCOMPARE(w->Frame7->title(), QStringLiteral("Contours"));
        QVERIFY(!w->cmdShow->isEnabled());
        QVERIFY(!w->mnuViewShow->menuAction()->isEnabled());
        QVERIFY(!w->chkMan->isEnabled());
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->doc.ContoursCurrent);
        // Labels, the second data set and the registration survive.
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(w->doc.LabelCount, 1);
        QCOMPARE(int(w->doc.MapLabels.size()), 2);
        QCOMPARE(w->doc.OtherCount, 2);
        QCOMPARE(int(w->doc.OtherPoints.size()), 3);
        QCOMPARE(dialogs().unanswered, 0);
    }

    void removeAllContourPoints() {
        auto w = structuralWindow();
        w->chkMan->setEnabled(true);
        dialogs().queue(dlg::Answer::Yes);
        w->mnuOptClearConAll->trigger();
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Do you wish to remove all Contour points?"));
        QCOMPARE(w->doc.ConCount, 0);
        QCOMPARE(w->markers->labCon.count(), 0);
        QCOMPARE(w->doc.DatCount, 5);
        QCOMPARE(w->labConNum->text(), QStringLiteral("0"));
        QCOMPARE(w->labDatNum->text(), QStringLiteral("5"));
        QVERIFY(w->optStruc->isChecked());
        QVERIFY(w->chkMan->isEnabled()); // datum points remain: controls stay
        QVERIFY(w->doc.DataChanged);

        // With no datum point either, the controls are reset but the tool tip
        // and the frame caption stay.
        auto v = contactWindow({});
        addPoints(*v, false, {{100, 100, 1, 1}});
        v->cmdShow->setToolTip(QStringLiteral("Click to show contact map"));
        v->Frame7->setTitle(QStringLiteral("Contacts"));
        dialogs().clear();
        dialogs().queue(dlg::Answer::Yes);
        v->mnuOptClearConAll->trigger();
        QCOMPARE(v->cmdShow->text(), QStringLiteral("Show Contours"));
        QCOMPARE(v->cmdShow->toolTip(), QStringLiteral("Click to show contact map"));
        QCOMPARE(v->Frame7->title(), QStringLiteral("Contacts"));
        QVERIFY(v->labDatCol->isEnabled());
        QVERIFY(v->labConCol->isEnabled());
        QVERIFY(!v->optRock->isChecked());
    }

    void removeAllDatumPoints() {
        auto w = structuralWindow();
        dialogs().queue(dlg::Answer::No);
        w->mnuOptClearDatAll->trigger();
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Do you wish to remove all Datum points?"));
        QCOMPARE(w->doc.DatCount, 5);
        QVERIFY(!w->doc.DataChanged);
        dialogs().queue(dlg::Answer::Yes);
        w->mnuOptClearDatAll->trigger();
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(w->doc.DatumPoints.empty());
        QCOMPARE(w->markers->labDat.count(), 0);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("0"));
        QCOMPARE(w->doc.ConCount, 3);
        QVERIFY(w->optStruc->isChecked()); // contour points remain: controls stay
        QVERIFY(w->doc.DataChanged);

        // Contact data alone: the reset keeps the contact captions.
        auto v = contactWindow({1, 1});
        dialogs().queue(dlg::Answer::Yes);
        v->mnuOptClearDatAll->trigger();
        QCOMPARE(v->cmdShow->text(), QStringLiteral("Show Contacts"));
        QCOMPARE(v->Frame7->title(), QStringLiteral("Contacts"));
        QVERIFY(!v->optRock->isChecked() && v->optRock->isEnabled());
        QVERIFY(v->labDatCol->isEnabled());
        QVERIFY(!v->cmdConRun->isEnabled());
        QCOMPARE(v->txtConDet->text(), QString::number(v->doc.ContourDetail));
        // A new point can be recorded into the emptied set.
        v->optStruc->setValue(true);
        v->optDat->setValue(true);
        record(*v, 600, 600, QStringLiteral("12"));
        QCOMPARE(v->doc.DatCount, 1);
        QCOMPARE(v->doc.DatumPoints[1].Z, 12.0f);
    }

    void editMenuOffersRemovalByCounts() {
        auto w = startWindow();
        registerLinear(*w);
        w->optStruc->setValue(true);
        addPoints(*w, false, {{100, 100, 1, 1}});
        w->mnuOpt->menuAction()->setEnabled(true);
        emit w->mnuOpt->aboutToShow();
        QVERIFY(!w->mnuOptClearDat->menuAction()->isEnabled());
        QVERIFY(w->mnuOptClearCon->menuAction()->isEnabled());
        QVERIFY(w->mnuOptClearAll->isEnabled());
        // The removal commands are built: choosing one asks its own question.
        dialogs().queue(dlg::Answer::No);
        w->mnuOptClearAll->trigger();
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QVERIFY(!dialogs().prompts[0].text.contains(QLatin1String("not available")));
    }
};

VEX_TEST(RemovalCommandsTest);
#include "RemovalCommandsTest.moc"
