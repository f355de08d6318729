// Recording a point: the value prompt, the new record and its marker, the
// common tail, and the move mode.
#include "DigitizeFixture.h"
#include "common/TestRegistry.h"

#include <QTest>

using namespace digitize_fixture;

namespace {
dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }
}

class MapPointTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    void firstStructuralDatumPoint_data() {
        QTest::addColumn<bool>("manual");
        QTest::newRow("automatic scale") << false;
        QTest::newRow("manual scale") << true;
    }
    void firstStructuralDatumPoint() {
        QFETCH(bool, manual);
        auto w = startWindow();
        registerLinear(*w);
        w->chkMan->setChecked(manual);
        w->optStruc->setValue(true);
        w->optDat->setValue(true);
        w->labDatCol->setForeColor(0x00FF00);
        record(*w, 1500, 3000, QStringLiteral("120.5"));

        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Enter the datum elevation"));
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Map Z Data"));
        QCOMPARE(dialogs().prompts[0].defaultText, QString());
        const Document& d = w->doc;
        QCOMPARE(d.DatCount, 1);
        QCOMPARE(int(d.DatumPoints[1].Number), 1);
        QCOMPARE(d.DatumPoints[1].Z, 120.5f);
        QCOMPARE(d.DatumPoints[1].X, 250.0f);
        QCOMPARE(d.DatumPoints[1].Y, 500.0f);
        QVERIFY(!d.DatumPoints[1].Combined);
        const Marker& m = w->markers->labDat[1];
        QCOMPARE(w->markers->labDat.count(), 1);
        QCOMPARE(m.ToolTipText, QStringLiteral("Structural Datum Point 1: Z = 120.5 meters"));
        QCOMPARE(m.Left, 1500.0 - 40);
        QCOMPARE(m.Top, 3000.0 - 140);
        QVERIFY(m.Visible);
        QCOMPARE(m.ForeColor, 0x00FF00L);
        QCOMPARE(m.Caption, QStringLiteral("*"));
        QCOMPARE(w->labDatNum->text(), QStringLiteral("1"));
        // The kind is now fixed.
        QVERIFY(!w->optRock->isEnabled());
        QVERIFY(!w->optIso->isEnabled());
        QVERIFY(w->optStruc->isEnabled());
        // The contour panel comes alive.
        for (QWidget* c : std::initializer_list<QWidget*>{w->cmdShow, w->labCond, w->txtConDet, w->VScroll2,
                                                          w->chkMan, w->chkLines})
            QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(w->mnuViewShow->menuAction()->isEnabled());
        QCOMPARE(w->txtConDet->text(), QStringLiteral("50"));
        for (QWidget* c : std::initializer_list<QWidget*>{w->txtMax, w->txtMin, w->labMax, w->labMin})
            QCOMPARE(c->isEnabled(), manual);
        QCOMPARE(w->txtMin->text(), QStringLiteral("120.5"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("120.5"));
        QVERIFY(w->mnuFileOpenDat->isEnabled());
        QVERIFY(!w->cmdConDat[0]->isEnabled());
        QVERIFY(w->cmdConRun->isEnabled());
        QCOMPARE(w->windowTitle(), dlg::applicationTitle() + QStringLiteral(": Lakes"));
        QCOMPARE(w->labText->text(), QStringLiteral("1 Contour and Datum Points"));
        QVERIFY(d.DataChanged);
        QVERIFY(!d.ContoursCurrent);
        QCOMPARE(d.LastZEntry, QStringLiteral("120.5"));
    }

    void contactDesignatorsNumberWithinTheirContact() {
        auto w = startWindow();
        registerLinear(*w);
        w->optRock->setValue(true);
        QVERIFY(!w->cmdShow->isEnabled());
        record(*w, 600, 600, QStringLiteral("3"));
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Enter a contact designator number for the datum"));
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Map Data"));
        record(*w, 900, 600, QStringLiteral("3"));
        QCOMPARE(dialogs().prompts[1].defaultText, QStringLiteral("3")); // the last answer is offered
        record(*w, 1200, 600, QStringLiteral("4"));
        const QStringList tips{QStringLiteral("Contact 3 Datum Point: 1"), QStringLiteral("Contact 3 Datum Point: 2"),
                               QStringLiteral("Contact 4 Datum Point: 1")};
        const int numbers[] = {1, 2, 1};
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(int(w->doc.DatumPoints[size_t(i)].Number), numbers[i - 1]);
            QCOMPARE(w->markers->labDat[i].ToolTipText, tips[i - 1]);
        }
        QVERIFY(!w->optStruc->isEnabled());
        QVERIFY(!w->optIso->isEnabled());
        // The first contact point brings the Show button back.
        QVERIFY(w->cmdShow->isEnabled());
        // Contact data does not take a second data set.
        QVERIFY(!w->mnuFileOpenDat->isEnabled());
        QCOMPARE(w->labText->text(), QStringLiteral("3 Contour and Datum Points"));
    }

    void rangeBoxesWiden_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::newRow("first 250") << QStringList{"250"} << "250" << "250";
        QTest::newRow("then 100") << QStringList{"250", "100"} << "100" << "250";
        QTest::newRow("then 300") << QStringList{"250", "100", "300"} << "100" << "300";
        QTest::newRow("negative first") << QStringList{"-5"} << "-5" << "0";
        QTest::newRow("text as typed") << QStringList{"12.50ft"} << "12.50ft" << "12.50ft";
    }
    void rangeBoxesWiden() {
        QFETCH(QStringList, typed);
        auto w = startWindow();
        registerLinear(*w);
        w->optIso->setValue(true);
        w->optCon->setValue(true);
        QCOMPARE(w->txtMin->text(), QStringLiteral("0"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("0"));
        double x = 600;
        for (const QString& t : typed) record(*w, x += 300, 900, t);
        QTEST(w->txtMin->text(), "min");
        QTEST(w->txtMax->text(), "max");
        QCOMPARE(w->doc.ConCount, int(typed.size()));
        QCOMPARE(w->labConNum->text(), QString::number(typed.size()));
    }

    void contourPointOfEachKind() {
        auto w = startWindow();
        registerLinear(*w);
        w->optIso->setValue(true);
        w->optCon->setValue(true);
        w->mnuCoordFeet->setChecked(true);
        record(*w, 600, 600, QStringLiteral("12"));
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Enter the contour isopach"));
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Map Z Data"));
        QCOMPARE(w->markers->labCon[1].ToolTipText, QStringLiteral("Isopach Contour Point 1: Z = 12 feet"));
        QCOMPARE(w->markers->labCon[1].ForeColor, w->labConCol->ForeColor());
        QVERIFY(!w->optRock->isEnabled());
        QVERIFY(!w->optStruc->isEnabled());
        QVERIFY(w->optIso->isEnabled());

        auto s = startWindow();
        registerLinear(*s);
        s->optStruc->setValue(true);
        s->optCon->setValue(true);
        record(*s, 600, 600, QStringLiteral("140"));
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("Enter the contour elevation"));
        QCOMPARE(s->markers->labCon[1].ToolTipText, QStringLiteral("Structural Contour Point 1: Z = 140 meters"));
        QVERIFY(!s->optIso->isEnabled());
    }

    void cancelChangesNoFlag() {
        auto w = startWindow();
        registerLinear(*w);
        w->optStruc->setValue(true);
        w->optDat->setValue(true);
        record(*w, 600, 600, QStringLiteral("7"));
        w->doc.DataChanged = false;
        w->doc.ContoursCurrent = true;
        cursorAt(*w, 900, 900);
        dialogs().queue(dlg::Cancel{});
        w->digitizer->MapPoint();
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->markers->labDat.count(), 1);
        QVERIFY(!w->doc.DataChanged);
        QVERIFY(w->doc.ContoursCurrent);
        QCOMPARE(w->doc.LastZEntry, QString());
        // The next point offers nothing.
        record(*w, 900, 900, QStringLiteral("8"));
        QCOMPARE(dialogs().prompts.back().defaultText, QString());

        // A contour value box fixes the kind even when cancelled.
        auto c = startWindow();
        registerLinear(*c);
        c->optIso->setValue(true);
        c->optCon->setValue(true);
        dialogs().queue(dlg::Cancel{});
        c->digitizer->MapPoint();
        QVERIFY(!c->optRock->isEnabled());
        QVERIFY(!c->doc.DataChanged);
        QCOMPARE(c->doc.ConCount, 0);
    }

    void missingKindOrType() {
        auto w = startWindow();
        registerLinear(*w);
        w->digitizer->MapPoint();
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Please select Contact, Structure, or Isopach Points option."));
        QCOMPARE(int(dialogs().prompts[0].icon), int(dlg::Icon::Information));
        w->optIso->setValue(true);
        dialogs().clear();
        w->digitizer->MapPoint();
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Please select Datum or Contour Points option."));
        QCOMPARE(w->doc.DatCount + w->doc.ConCount, 0);
        QVERIFY(!w->doc.DataChanged);
    }

    void secondDataSetEnablesCombination() {
        auto w = startWindow();
        registerLinear(*w);
        w->doc.OtherDataOpen = true;
        w->optStruc->setValue(true);
        w->optDat->setValue(true);
        record(*w, 600, 600, QStringLiteral("1"));
        QVERIFY(w->cmdConDat[0]->isEnabled());
        QVERIFY(w->cmdConDat[1]->isEnabled());
        QVERIFY(!w->mnuFileOpenDat->isEnabled());
    }

    void pointAfterDeleteStartsUncombined() {
        auto w = startWindow();
        registerLinear(*w);
        w->optStruc->setValue(true);
        w->optDat->setValue(true);
        for (int i = 1; i <= 3; ++i) record(*w, 600.0 * i, 600, QString::number(i));
        for (int i = 1; i <= 3; ++i) w->doc.DatumPoints[size_t(i)].Combined = true;
        w->doc.SelectedPoint = QStringLiteral("D3");
        w->mnuPointDelete->trigger();
        QCOMPARE(w->doc.DatCount, 2);
        record(*w, 3000, 3000, QStringLiteral("9"));
        QCOMPARE(w->doc.DatCount, 3);
        QVERIFY(!w->doc.DatumPoints[3].Combined);
        QCOMPARE(int(w->doc.DatumPoints[3].Number), 3);
        QVERIFY(w->doc.DatumPoints[1].Combined);
    }

    void moveMode() {
        auto w = startWindow();
        registerLinear(*w);
        w->optStruc->setValue(true);
        w->optDat->setValue(true);
        record(*w, 600, 600, QStringLiteral("5"));
        record(*w, 1200, 600, QStringLiteral("6"));
        const QString tip = w->markers->labDat[2].ToolTipText;
        w->doc.SelectedPoint = QStringLiteral("D2");
        w->doc.MovePointMode = true;
        w->markers->labDat[2].Visible = false;
        w->doc.DataChanged = false;
        dialogs().clear();
        cursorAt(*w, 3000, 4500);
        w->digitizer->MapPoint();
        QVERIFY(dialogs().prompts.empty());
        const DataPoint& p = w->doc.DatumPoints[2];
        QCOMPARE(p.X, 500.0f);
        QCOMPARE(p.Y, 250.0f);
        QCOMPARE(int(p.Number), 2);
        QCOMPARE(p.Z, 6.0f);
        const Marker& m = w->markers->labDat[2];
        QCOMPARE(m.ToolTipText, tip);
        QCOMPARE(m.Left, 3000.0 - 40);
        QCOMPARE(m.Top, 4500.0 - 140);
        QVERIFY(m.Visible);
        QVERIFY(!w->doc.MovePointMode);
        QCOMPARE(w->doc.SelectedPoint, QString());
        QCOMPARE(w->doc.DatCount, 2);
        QVERIFY(w->doc.DataChanged);
        // The tail runs with the text last typed.
        QCOMPARE(w->txtMax->text(), QStringLiteral("6"));
    }

    void staleMoveDisarms_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("empty") << "";
        QTest::newRow("zero") << "C0";
        QTest::newRow("deleted point") << "D5";
        QTest::newRow("beyond 16 bits") << "D99999";
    }
    void staleMoveDisarms() {
        QFETCH(QString, key);
        auto w = startWindow();
        registerLinear(*w);
        w->optIso->setValue(true);
        w->optDat->setValue(true);
        record(*w, 600, 600, QStringLiteral("5"));
        const DataPoint before = w->doc.DatumPoints[1];
        w->doc.DataChanged = false;
        w->doc.SelectedPoint = key;
        w->doc.MovePointMode = true;
        dialogs().clear();
        cursorAt(*w, 3000, 3000);
        w->digitizer->MapPoint();
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("MapPoint error: \n\nSubscript out of range"));
        QVERIFY(!w->doc.MovePointMode);
        QCOMPARE(w->doc.SelectedPoint, QString());
        QCOMPARE(w->markers->labDat.templ().Left, 0.0);
        QCOMPARE(w->markers->labCon.templ().Left, 0.0);
        QVERIFY(!w->markers->labCon.templ().Visible);
        QCOMPARE(w->doc.DatumPoints[1].X, before.X);
        QVERIFY(!w->doc.DataChanged);
        // The next click records a point again.
        record(*w, 3000, 3000, QStringLiteral("6"));
        QCOMPARE(w->doc.DatCount, 2);
    }

    // A value that overflows is found before anything is added: no record,
    // no marker, no changed flag.
    void overflowAddsNothing_data() {
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<int>("datums");
        QTest::addColumn<int>("contours");
        QTest::newRow("datum count full") << false << 32767 << 0;
        QTest::newRow("points in all full") << false << 20000 << 12767;
        QTest::newRow("contact number full") << true << 1 << 0;
    }
    void overflowAddsNothing() {
        QFETCH(bool, contacts);
        QFETCH(int, datums);
        QFETCH(int, contours);
        auto w = startWindow();
        registerLinear(*w);
        (contacts ? w->optRock : w->optIso)->setValue(true);
        w->optDat->setValue(true);
        Document& d = w->doc;
        d.DatumPoints.assign(size_t(datums) + 1, DataPoint{});
        d.ContourPoints.assign(size_t(contours) + 1, DataPoint{});
        d.DatCount = datums;
        d.ConCount = contours;
        // Contact 3 already holds a point numbered 32767 (opened or imported).
        d.DatumPoints[1] = DataPoint{32767, 10, 10, 3, false};
        w->markers->labDat.load(datums);
        record(*w, 600, 600, QStringLiteral("3"));
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("MapPoint error: \n\nOverflow"));
        QCOMPARE(d.DatCount, datums);
        QCOMPARE(int(d.DatumPoints.size()), datums + 1);
        QCOMPARE(w->markers->labDat.count(), datums);
        QVERIFY(!d.DataChanged);
    }

    void shortProjectNameGivesAnEmptyName() {
        auto w = startWindow();
        registerLinear(*w);
        w->doc.DataFileName.clear();
        w->optIso->setValue(true);
        w->optDat->setValue(true);
        record(*w, 600, 600, QStringLiteral("1"));
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(w->windowTitle(), dlg::applicationTitle() + QStringLiteral(": "));
        QVERIFY(w->doc.DataChanged);
    }
};
VEX_TEST(MapPointTest);
#include "MapPointTest.moc"
