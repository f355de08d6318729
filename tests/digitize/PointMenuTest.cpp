// The point pop-up menu's commands, and the contact list and order commands.
#include "DigitizeFixture.h"
#include "common/TestRegistry.h"
#include "map/Projections.h"

#include <QComboBox>
#include <QTest>

using namespace digitize_fixture;

namespace {

dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }

std::unique_ptr<MainWindow> withKind(OptionButton* MainWindow::*kind) {
    auto w = startWindow();
    registerLinear(*w);
    ((*w).*kind)->setValue(true);
    w->optDat->setValue(true);
    return w;
}

// Contact points with the given designators, along a row.
std::unique_ptr<MainWindow> contactPoints(std::initializer_list<const char*> designators) {
    auto w = withKind(&MainWindow::optRock);
    double x = 300;
    for (const char* d : designators) record(*w, x += 300, 1200, QString::fromLatin1(d));
    dialogs().clear();
    w->doc.DataChanged = false;
    return w;
}

QList<int> numbers(const MainWindow& w) {
    QList<int> out;
    for (int i = 1; i <= w.doc.DatCount; ++i) out << w.doc.DatumPoints[size_t(i)].Number;
    return out;
}

QStringList comboItems(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

} // namespace

class PointMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    void moveExplainsOnceAndArms() {
        auto w = withKind(&MainWindow::optStruc);
        record(*w, 600, 600, QStringLiteral("1"));
        record(*w, 1200, 600, QStringLiteral("2"));
        record(*w, 1800, 600, QStringLiteral("3"));
        record(*w, 2400, 600, QStringLiteral("4"));
        w->doc.DataChanged = false;
        dialogs().clear();
        // Cancel: nothing armed, the marker stays, the document counts as changed.
        w->doc.SelectedPoint = QStringLiteral("D4");
        dialogs().queue(dlg::Answer::Cancel);
        w->mnuPointMove->trigger();
        QCOMPARE(dialogs().prompts[0].text,
                 QStringLiteral("Place the cross hair to the point where you wish to move datum point: 4."));
        QCOMPARE(int(dialogs().prompts[0].buttons), int(dlg::Buttons::OKCancel));
        QCOMPARE(int(dialogs().prompts[0].icon), int(dlg::Icon::Information));
        QVERIFY(!w->doc.MovePointMode);
        QCOMPARE(w->doc.SelectedPoint, QString());
        QVERIFY(w->markers->labDat[4].Visible);
        QVERIFY(w->doc.DataChanged);
        // OK arms the move and hides the marker.
        w->doc.SelectedPoint = QStringLiteral("D4");
        dialogs().queue(dlg::Answer::OK);
        w->mnuPointMove->trigger();
        QVERIFY(w->doc.MovePointMode);
        QCOMPARE(w->doc.SelectedPoint, QStringLiteral("D4"));
        QVERIFY(!w->markers->labDat[4].Visible);
        // Later moves arm at once.
        dialogs().clear();
        w->doc.MovePointMode = false;
        w->doc.SelectedPoint = QStringLiteral("D2");
        w->mnuPointMove->trigger();
        QVERIFY(dialogs().prompts.empty());
        QVERIFY(w->doc.MovePointMode);
        QVERIFY(!w->markers->labDat[2].Visible);
        // The next click moves it.
        cursorAt(*w, 3000, 3000);
        w->digitizer->MapPoint();
        QCOMPARE(w->doc.DatumPoints[2].X, 500.0f);
        QVERIFY(w->markers->labDat[2].Visible);
    }

    void editXYLinear() {
        auto w = withKind(&MainWindow::optStruc);
        record(*w, 600, 600, QStringLiteral("1"));
        w->doc.DatumPoints[1].X = 1234.56f;
        w->doc.DatumPoints[1].Y = 789;
        w->doc.DataChanged = false;
        // Cancelling the second box changes nothing.
        w->doc.SelectedPoint = QStringLiteral("D1");
        dialogs().clear();
        dialogs().queue(QStringLiteral("1000"));
        dialogs().queue(dlg::Cancel{});
        w->mnuPointEditXY->trigger();
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Edit the longitude for Structure Datum Point 1"));
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Map X Data"));
        QCOMPARE(dialogs().prompts[0].defaultText, QStringLiteral("1234.6"));
        QCOMPARE(dialogs().prompts[1].text, QStringLiteral("Edit the latitude for Structure Datum Point 1"));
        QCOMPARE(dialogs().prompts[1].title, QStringLiteral("Map Y Data"));
        QCOMPARE(dialogs().prompts[1].defaultText, QStringLiteral("789.0"));
        QCOMPARE(w->doc.DatumPoints[1].X, 1234.56f);
        QVERIFY(!w->doc.DataChanged);
        QCOMPARE(w->doc.SelectedPoint, QString());
        // Answering both stores them and moves the marker.
        w->doc.SelectedPoint = QStringLiteral("D1");
        dialogs().queue(QStringLiteral("100"));
        dialogs().queue(QStringLiteral("200"));
        w->mnuPointEditXY->trigger();
        QCOMPARE(w->doc.DatumPoints[1].X, 100.0f);
        QCOMPARE(w->doc.DatumPoints[1].Y, 200.0f);
        // 6000 twips for 1000 units: X 100 -> 600, Y 200 -> 4800.
        QCOMPARE(w->markers->labDat[1].Left, 600.0 - 40);
        QCOMPARE(w->markers->labDat[1].Top, 4800.0 - 140);
        QVERIFY(w->markers->labDat[1].Visible);
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->doc.ContoursCurrent);
    }

    void editXYPrompts_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("what");
        QTest::newRow("contact datum") << "optRock" << "D1" << "Contact Datum Point 1";
        QTest::newRow("isopach datum") << "optIso" << "D1" << "Isopach Datum Point 1";
        QTest::newRow("isopach contour") << "optIso" << "C1" << "Isopach Contour Point 1";
        QTest::newRow("structural contour") << "optStruc" << "C1" << "Structure Contour Point 1";
    }
    void editXYPrompts() {
        QFETCH(QString, kind);
        QFETCH(QString, key);
        QFETCH(QString, what);
        auto w = startWindow();
        registerLinear(*w);
        w->findChild<OptionButton*>(kind)->setValue(true);
        (key.startsWith(QLatin1Char('D')) ? w->optDat : w->optCon)->setValue(true);
        record(*w, 600, 600, QStringLiteral("1"));
        dialogs().clear();
        w->doc.SelectedPoint = key;
        w->mnuPointEditXY->trigger();
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Edit the longitude for ") + what);
        QCOMPARE(int(dialogs().prompts.size()), 1);
    }

    void editXYMercator() {
        auto w = withKind(&MainWindow::optIso);
        w->doc.ProjectionName = QStringLiteral("Standard Mercator");
        w->doc.CoordUnits = QStringLiteral("Degrees");
        record(*w, 600, 600, QStringLiteral("1"));
        w->doc.DatumPoints[1].X = -100.25f;
        w->doc.DatumPoints[1].Y = ProjectMercator(w->doc, 40.5, true);
        dialogs().clear();
        w->doc.SelectedPoint = QStringLiteral("D1");
        dialogs().queue(QStringLiteral("-101"));
        dialogs().queue(QStringLiteral("41"));
        w->mnuPointEditXY->trigger();
        QCOMPARE(dialogs().prompts[0].defaultText, QStringLiteral("-100.25000"));
        QCOMPARE(dialogs().prompts[1].defaultText, QStringLiteral("40.50000"));
        QCOMPARE(w->doc.DatumPoints[1].X, -101.0f);
        QCOMPARE(w->doc.DatumPoints[1].Y, ProjectMercator(w->doc, 41, true));
    }

    void editZ_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("tip");
        QTest::newRow("structural datum") << "optStruc" << "D1" << "Map Z Data"
                                          << "Edit the elevation for Structure Datum Point 1"
                                          << "Stuctural Datum Point 1: Z = 100 meters";
        QTest::newRow("isopach datum") << "optIso" << "D1" << "Map Z Data"
                                       << "Edit the thickness for Isopach Datum Point 1"
                                       << "Isopach Datum Point 1: Z = 100 meters";
        QTest::newRow("structural contour") << "optStruc" << "C1" << "Map Z Data"
                                            << "Edit the elevation for Structure Contour Point 1"
                                            << "Structural Contour Point 1: Z = 100 meters";
        QTest::newRow("isopach contour") << "optIso" << "C1" << "Map Z Data"
                                         << "Edit the thickness for Isopach Contour Point 1"
                                         << "Isopach Contour Point 1: Z = 100 meters";
    }
    void editZ() {
        QFETCH(QString, kind);
        QFETCH(QString, key);
        auto w = startWindow();
        registerLinear(*w);
        w->findChild<OptionButton*>(kind)->setValue(true);
        const bool datum = key.startsWith(QLatin1Char('D'));
        (datum ? w->optDat : w->optCon)->setValue(true);
        record(*w, 600, 600, QStringLiteral("12.5"));
        w->doc.DataChanged = false;
        dialogs().clear();
        // Cancel: no change, no flag, but the empty answer is remembered.
        w->doc.SelectedPoint = key;
        dialogs().queue(dlg::Cancel{});
        w->mnuPointEditZ->trigger();
        QTEST(dialogs().prompts[0].title, "title");
        QTEST(dialogs().prompts[0].text, "prompt");
        QCOMPARE(dialogs().prompts[0].defaultText, QStringLiteral("12.5"));
        QCOMPARE(w->doc.LastZEntry, QString());
        QVERIFY(!w->doc.DataChanged);
        const DataPoint& p = datum ? w->doc.DatumPoints[1] : w->doc.ContourPoints[1];
        QCOMPARE(p.Z, 12.5f);
        w->doc.SelectedPoint = key;
        dialogs().queue(QStringLiteral("99.7"));
        w->mnuPointEditZ->trigger();
        QCOMPARE(p.Z, 99.7f);
        QCOMPARE(w->doc.LastZEntry, QStringLiteral("99.7"));
        QTEST((datum ? w->markers->labDat[1] : w->markers->labCon[1]).ToolTipText, "tip");
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.SelectedPoint, QString());
        // The range boxes stay as they were.
        QCOMPARE(w->txtMax->text(), QStringLiteral("12.5"));
    }

    void editContactDesignator() {
        auto w = contactPoints({"3", "3", "4", "3"});
        w->doc.ContactShown = QStringLiteral("3");
        // No: the one point only.
        w->doc.SelectedPoint = QStringLiteral("D2");
        dialogs().queue(QStringLiteral("6"));
        dialogs().queue(dlg::Answer::No);
        w->mnuPointEditZ->trigger();
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Map Data"));
        QCOMPARE(dialogs().prompts[0].text,
                 QStringLiteral("Edit the contact designator number for Contact Datum Point 2"));
        QCOMPARE(dialogs().prompts[1].text,
                 QStringLiteral("Would you like to change all points with this contact designator number?"));
        QCOMPARE(int(dialogs().prompts[1].buttons), int(dlg::Buttons::YesNo));
        QCOMPARE(w->doc.DatumPoints[2].Z, 6.0f);
        QCOMPARE(w->doc.DatumPoints[1].Z, 3.0f);
        QCOMPARE(w->markers->labDat[2].ToolTipText, QStringLiteral("Contact 6 Datum Point: 2"));
        QCOMPARE(w->doc.ContactShown, QStringLiteral("3"));
        // Yes: the whole contact, numbers kept, the display follows.
        w->doc.SelectedPoint = QStringLiteral("D1");
        dialogs().queue(QStringLiteral("5"));
        dialogs().queue(dlg::Answer::Yes);
        w->mnuPointEditZ->trigger();
        const float zs[] = {5, 6, 4, 5};
        for (int i = 1; i <= 4; ++i) QCOMPARE(w->doc.DatumPoints[size_t(i)].Z, zs[i - 1]);
        QCOMPARE(numbers(*w), (QList<int>{1, 2, 1, 3}));
        QCOMPARE(w->markers->labDat[4].ToolTipText, QStringLiteral("Contact 5 Datum Point: 3"));
        QCOMPARE(w->doc.ContactShown, QStringLiteral("5"));
        QCOMPARE(w->mnuViewShowContactShow->text(), QStringLiteral("Show (5)..."));
        // With all contacts on display the display stays.
        w->doc.ContactShown = QStringLiteral("All");
        w->doc.SelectedPoint = QStringLiteral("D3");
        dialogs().queue(QStringLiteral("8"));
        dialogs().queue(dlg::Answer::Yes);
        w->mnuPointEditZ->trigger();
        QCOMPARE(w->doc.ContactShown, QStringLiteral("All"));
        QCOMPARE(w->doc.DatumPoints[3].Z, 8.0f);
    }

    void renumber() {
        auto w = contactPoints({"3", "3", "3", "3", "9"});
        w->doc.SelectedPoint = QStringLiteral("D4");
        dialogs().queue(QStringLiteral("2"));
        w->mnuPointNum->trigger();
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Map Data"));
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Edit the point number for Contact 3 Datum Point: 4"));
        QCOMPARE(dialogs().prompts[0].defaultText, QStringLiteral("4"));
        QCOMPARE(numbers(*w), (QList<int>{1, 3, 4, 2, 1}));
        QCOMPARE(w->markers->labDat[2].ToolTipText, QStringLiteral("Contact 3 Datum Point: 3"));
        QCOMPARE(w->markers->labDat[4].ToolTipText, QStringLiteral("Contact 3 Datum Point: 2"));
        QCOMPARE(w->doc.SelectedPoint, QStringLiteral("D4"));
        QVERIFY(w->doc.DataChanged);
    }

    void renumberOddInput_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("number");
        QTest::newRow("beyond the count") << "9" << 5;
        QTest::newRow("text") << "x" << 1;
        QTest::newRow("beyond 16 bits") << "40000" << 5;
        QTest::newRow("negative") << "-3" << 1;
    }
    void renumberOddInput() {
        QFETCH(QString, typed);
        auto w = contactPoints({"2", "2", "2", "2", "2"});
        w->doc.SelectedPoint = QStringLiteral("D1");
        dialogs().queue(typed);
        w->mnuPointNum->trigger();
        QCOMPARE(int(dialogs().prompts.size()), 1); // no error message
        QTEST(int(w->doc.DatumPoints[1].Number), "number");
    }

    void renumberCancelled() {
        auto w = contactPoints({"2", "2"});
        w->doc.SelectedPoint = QStringLiteral("D2");
        dialogs().queue(dlg::Cancel{});
        w->mnuPointNum->trigger();
        QCOMPARE(numbers(*w), (QList<int>{1, 2}));
        QVERIFY(!w->doc.DataChanged);
    }

    void deleteKeepsEachFlagWithItsPoint() {
        auto w = withKind(&MainWindow::optStruc);
        for (int i = 1; i <= 5; ++i) record(*w, 600.0 * i, 600, QString::number(10 * i));
        for (int i : {2, 3, 5}) w->doc.DatumPoints[size_t(i)].Combined = true;
        w->doc.DataChanged = false;
        w->doc.ContoursCurrent = true;
        w->doc.SelectedPoint = QStringLiteral("D2");
        dialogs().clear();
        w->mnuPointDelete->trigger();
        QVERIFY(dialogs().prompts.empty());
        QCOMPARE(w->doc.DatCount, 4);
        QCOMPARE(w->markers->labDat.count(), 4);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("4"));
        const float zs[] = {10, 30, 40, 50};
        const bool combined[] = {false, true, false, true};
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(w->doc.DatumPoints[size_t(i)].Z, zs[i - 1]);
            QCOMPARE(w->doc.DatumPoints[size_t(i)].Combined, combined[i - 1]);
        }
        // Marker i still belongs to record i.
        QCOMPARE(w->markers->labDat[2].Left, 1800.0 - 40);
        QCOMPARE(w->doc.SelectedPoint, QString());
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->doc.ContoursCurrent);
        QVERIFY(w->cmdConRun->isEnabled());
    }

    void deletingTheLastPointDisablesTheConverter() {
        auto w = withKind(&MainWindow::optIso);
        w->optCon->setValue(true);
        record(*w, 600, 600, QStringLiteral("1"));
        QVERIFY(w->cmdConRun->isEnabled());
        w->doc.SelectedPoint = QStringLiteral("C1");
        w->mnuPointDelete->trigger();
        QCOMPARE(w->doc.ConCount, 0);
        QCOMPARE(w->markers->labCon.count(), 0);
        QCOMPARE(w->labConNum->text(), QStringLiteral("0"));
        QVERIFY(!w->cmdConRun->isEnabled());
    }

    void staleSelectionIsReported() {
        auto w = withKind(&MainWindow::optIso);
        record(*w, 600, 600, QStringLiteral("1"));
        dialogs().clear();
        w->doc.SelectedPoint = QStringLiteral("D3");
        w->mnuPointDelete->trigger();
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("mnuPointDelete error: \n\nSubscript out of range"));
        QCOMPARE(w->doc.DatCount, 1);
    }

    void contactList() {
        auto w = contactPoints({"3", "1", "3", "7", "-2", "2.5"});
        w->doc.ContactShown = QStringLiteral("3");
        w->digitizer->ContactEnum();
        QCOMPARE(w->doc.ContactCount, 3);
        QCOMPARE(w->doc.ContactList, (std::vector<int16_t>{0, 1, 3, 7}));
        QCOMPARE(comboItems(w->cmbShow), (QStringList{"All", "1", "3", "7"}));
        QCOMPARE(w->cmbShow->currentText(), QStringLiteral("3"));
        for (const char* shown : {"03", "All", ""}) {
            w->doc.ContactShown = QString::fromLatin1(shown);
            w->digitizer->ContactEnum();
            QCOMPARE(w->cmbShow->currentIndex(), 0);
        }
        QVERIFY(dialogs().prompts.empty());

        auto e = contactPoints({});
        e->digitizer->ContactEnum();
        QCOMPARE(e->doc.ContactCount, 0);
        QVERIFY(e->doc.ContactList.empty());
        QCOMPARE(comboItems(e->cmbShow), QStringList{"All"});
    }

    void contactListOverflow() {
        auto w = contactPoints({"1", "2"});
        w->digitizer->ContactEnum();
        w->doc.DatumPoints[2].Z = 32767;
        w->digitizer->ContactEnum();
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("ContactEnum error: Overflow"));
        QCOMPARE(int(dialogs().prompts[0].icon), int(dlg::Icon::Exclamation));
        QCOMPARE(w->doc.ContactCount, 0);
        QVERIFY(w->doc.ContactList.empty());
        QCOMPARE(comboItems(w->cmbShow), (QStringList{"All", "1", "2"}));
    }

    void orderPoints() {
        auto w = contactPoints({"3", "1", "3", "1", "-4"});
        // Contact 3 numbered 1, 2; contact 1 numbered 1, 2; swap contact 1's order.
        w->doc.DatumPoints[2].Number = 5;
        const QString tip = w->markers->labDat[1].ToolTipText;
        w->mnuOptOrder->trigger();
        QCOMPARE(numbers(*w), (QList<int>{1, 2, 1, 2, 1}));
        const float zs[] = {1, 1, 3, 3, -4};
        for (int i = 1; i <= 5; ++i) QCOMPARE(w->doc.DatumPoints[size_t(i)].Z, zs[i - 1]);
        // The old point 4 (numbered 2) now comes before the old point 2 (numbered 5).
        QCOMPARE(w->doc.DatumPoints[1].X, 250.0f);
        QCOMPARE(w->doc.DatumPoints[2].X, 150.0f);
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.ContactCount, 2);
        // Nothing is redrawn: marker 1 keeps its tool tip.
        QCOMPARE(w->markers->labDat[1].ToolTipText, tip);
    }
};
VEX_TEST(PointMenuTest);
#include "PointMenuTest.moc"
