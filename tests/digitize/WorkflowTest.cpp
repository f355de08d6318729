// The whole road through the window with the mouse: register a map by two
// clicks, choose a kind, record points where the mouse was moved, and edit
// them from the pop-up menu, with the map view's redraw behind it.
#include "DigitizeFixture.h"
#include "common/TestRegistry.h"
#include "map/MapView.h"

#include <QComboBox>
#include <QTest>

using namespace digitize_fixture;

namespace {

dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }

void moveAndClick(MainWindow& w, Qt::MouseButton b, double x, double y) {
    QTest::mouseMove(w.markers, px(x, y));
    QTest::mouseClick(w.markers, b, {}, px(x, y));
}

// A loaded, unregistered map in linear metres.
std::unique_ptr<MainWindow> unregisteredMap() {
    auto w = startWindow();
    registerLinear(*w);
    Document& d = w->doc;
    d.MapRegistered = false;
    d.RefPixelX1 = d.RefPixelY1 = d.RefPixelX2 = d.RefPixelY2 = 0;
    d.MapSpanX = d.MapSpanY = d.MapOriginX = d.MapOriginY = 0;
    for (QWidget* c : std::initializer_list<QWidget*>{w->optDat, w->optCon, w->optRock, w->optStruc, w->optIso,
                                                      w->labDatCol, w->labConCol})
        c->setEnabled(false);
    return w;
}

} // namespace

class WorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    void unregisteredMapRegistersOnAnyButton() {
        auto w = unregisteredMap();
        // Without a coordinate system the registration asks for one.
        w->doc.ProjectionName.clear();
        moveAndClick(*w, Qt::RightButton, 600, 600);
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(dialogs().prompts[0].text,
                 QStringLiteral("Please choose the map projection and units from the Coordinates Menu."));
        QCOMPARE(w->doc.DatCount, 0);
        w->doc.ProjectionName = QStringLiteral("Linear Coordinates");
        dialogs().clear();
        // A right click gives point 1, a middle click point 2.
        dialogs().queue(QStringLiteral("100"));
        dialogs().queue(QStringLiteral("900"));
        moveAndClick(*w, Qt::RightButton, 600, 600);
        QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Enter Easting coordinate 1"));
        QCOMPARE(w->doc.RefPixelX1, 600.0f);
        QVERIFY(!w->doc.MapRegistered);
        dialogs().queue(QStringLiteral("900"));
        dialogs().queue(QStringLiteral("100"));
        moveAndClick(*w, Qt::MiddleButton, 5400, 5400);
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(w->doc.MapSpanX, 1000.0f);
        QCOMPARE(w->doc.MapSpanY, 1000.0f);
        QVERIFY(w->optDat->isEnabled());
        QVERIFY(w->optRock->isEnabled());
        QCOMPARE(dialogs().unanswered, 0);
    }

    void digitizeAndEditWithTheMouse() {
        auto w = startWindow();
        registerLinear(*w);
        QTest::mouseClick(w->optStruc, Qt::LeftButton, {}, QPoint(8, w->optStruc->height() / 2));
        QTest::mouseClick(w->optDat, Qt::LeftButton, {}, QPoint(8, w->optDat->height() / 2));
        QVERIFY(w->optStruc->isChecked());
        QVERIFY(w->optDat->isChecked());
        // The point goes where the mouse was last moved.
        dialogs().queue(QStringLiteral("120.4"));
        moveAndClick(*w, Qt::LeftButton, 2400, 1200);
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->doc.DatumPoints[1].X, 400.0f);
        QCOMPARE(w->doc.DatumPoints[1].Y, 800.0f);
        dialogs().queue(QStringLiteral("80"));
        moveAndClick(*w, Qt::LeftButton, 3600, 3000);
        QTest::mouseClick(w->optCon, Qt::LeftButton, {}, QPoint(8, w->optCon->height() / 2));
        dialogs().queue(QStringLiteral("100"));
        moveAndClick(*w, Qt::LeftButton, 4200, 4200);
        QCOMPARE(w->doc.ConCount, 1);
        QCOMPARE(w->labText->text(), QStringLiteral("3 Contour and Datum Points"));
        QCOMPARE(w->markers->labDat[1].ToolTipText, QStringLiteral("Structural Datum Point 1: Z = 120.4 meters"));

        // Delete datum point 1 from its pop-up menu; the redraw puts the
        // remaining markers back with the redraw's texts.
        QMenu* shown = nullptr;
        w->digitizer->popupMenu = [&](QMenu* m, const QPoint&) { shown = m; };
        QTest::mouseClick(w->markers, Qt::RightButton, {}, px(2400, 1200));
        QCOMPARE(shown, w->mnuPoint);
        QCOMPARE(w->doc.SelectedPoint, QStringLiteral("D1"));
        w->mnuPointDelete->trigger();
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->doc.DatumPoints[1].Z, 80.0f);
        QVERIFY(w->markers->labDat[1].Visible);
        QVERIFY(w->markers->labCon[1].Visible);
        QCOMPARE(w->markers->labDat[1].ToolTipText, QStringLiteral("Stuctural Datum Point 2: Z = 80 meters")); // numbers stay
        QCOMPARE(w->markers->labDat[1].Left, 3600.0 - 40);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("1"));
        QCOMPARE(w->labText->text(), QStringLiteral("2 Contour and Datum Points"));

        // Move the contour point: arm from the menu, then click elsewhere.
        shown = nullptr;
        QTest::mouseClick(w->markers, Qt::RightButton, {}, px(4200, 4200));
        QCOMPARE(w->doc.SelectedPoint, QStringLiteral("C1"));
        dialogs().queue(dlg::Answer::OK);
        w->mnuPointMove->trigger();
        QVERIFY(w->doc.MovePointMode);
        moveAndClick(*w, Qt::LeftButton, 1200, 4800);
        QCOMPARE(w->doc.ConCount, 1);
        QCOMPARE(w->doc.ContourPoints[1].X, 200.0f);
        QCOMPARE(w->doc.ContourPoints[1].Y, 200.0f);
        QVERIFY(!w->doc.MovePointMode);
        QCOMPARE(dialogs().unanswered, 0);
    }

    void contactRedrawRebuildsTheList() {
        auto w = startWindow();
        registerLinear(*w);
        w->optRock->setValue(true);
        for (const char* z : {"7", "3", "7"}) {
            dialogs().queue(QString::fromLatin1(z));
            moveAndClick(*w, Qt::LeftButton, 600 + 600 * w->doc.DatCount, 600);
        }
        w->mapView->MapReplot();
        QCOMPARE(w->doc.ContactCount, 2);
        QCOMPARE(w->cmbShow->count(), 3);
        QCOMPARE(w->cmbShow->itemText(2), QStringLiteral("7"));
        QCOMPARE(w->labText->text(), QStringLiteral("All Contact Points"));
    }
};
VEX_TEST(WorkflowTest);
#include "WorkflowTest.moc"
