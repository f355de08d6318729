// Mouse input on the map and its markers, driven through the marker layer of
// the offscreen window.
#include "DigitizeFixture.h"
#include "common/TestRegistry.h"

#include <QTest>

using namespace digitize_fixture;

namespace {

dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }

struct PopupSpy {
    QMenu* menu = nullptr;
    QPoint at;
    int count = 0;
};

void spyPopups(MainWindow& w, PopupSpy& spy) {
    w.digitizer->popupMenu = [&spy](QMenu* m, const QPoint& p) {
        spy.menu = m;
        spy.at = p;
        ++spy.count;
    };
}

// A registered structural map with datum points at (1500, 1500) and
// (3000, 1500) twips and a contour point at (1500, 3000).
std::unique_ptr<MainWindow> mapWithPoints(OptionButton* MainWindow::*kind = &MainWindow::optStruc) {
    auto w = startWindow();
    registerLinear(*w);
    ((*w).*kind)->setValue(true);
    w->optDat->setValue(true);
    record(*w, 1500, 1500, QStringLiteral("10"));
    record(*w, 3000, 1500, QStringLiteral("20"));
    if (w->optCon->isEnabled()) {
        w->optCon->setValue(true);
        record(*w, 1500, 3000, QStringLiteral("30"));
        w->optDat->setValue(true);
    }
    dialogs().clear();
    return w;
}

void click(MainWindow& w, Qt::MouseButton b, double x, double y) { QTest::mouseClick(w.markers, b, {}, px(x, y)); }

} // namespace

class MouseInputTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }

    void frameHoldsTheTestMap() {
        auto w = startWindow();
        QVERIFY(twips::fromPx(w->markers->width()) >= 6000);
        QVERIFY(twips::fromPx(w->markers->height()) >= 6000);
    }

    void leftClickRecordsAPoint() {
        auto w = startWindow();
        registerLinear(*w);
        w->optIso->setValue(true);
        w->optDat->setValue(true);
        cursorAt(*w, 2400, 1200);
        dialogs().queue(QStringLiteral("42"));
        click(*w, Qt::LeftButton, 2400, 1200);
        QCOMPARE(w->doc.DatCount, 1);
        QCOMPARE(w->doc.DatumPoints[1].Z, 42.0f);
        QCOMPARE(w->doc.DatumPoints[1].X, 400.0f);
        QCOMPARE(w->doc.DatumPoints[1].Y, 800.0f);
        // Right and middle clicks with labels off do nothing.
        dialogs().clear();
        click(*w, Qt::RightButton, 4000, 4000);
        click(*w, Qt::MiddleButton, 4000, 4000);
        QVERIFY(dialogs().prompts.empty());
        QCOMPARE(w->doc.DatCount, 1);
    }

    void busyMapIgnoresClicks_data() {
        QTest::addColumn<bool>("mapBusy");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("registered");
        QTest::newRow("redraw, registered") << true << false << true;
        QTest::newRow("loading, registered") << false << true << true;
        QTest::newRow("redraw, unregistered") << true << false << false;
        QTest::newRow("loading, unregistered") << false << true << false;
    }
    void busyMapIgnoresClicks() {
        QFETCH(bool, mapBusy);
        QFETCH(bool, loading);
        QFETCH(bool, registered);
        auto w = startWindow();
        registerLinear(*w);
        w->doc.MapRegistered = registered;
        w->optIso->setValue(true);
        w->optDat->setValue(true);
        w->doc.MapBusy = mapBusy;
        w->BusyLoading = loading;
        cursorAt(*w, 2400, 1200);
        for (auto b : {Qt::LeftButton, Qt::RightButton}) click(*w, b, 2400, 1200);
        QVERIFY(dialogs().prompts.empty());
        QCOMPARE(w->doc.DatCount, 0);
        QCOMPARE(w->doc.RefPixelX1, 600.0f);
        QCOMPARE(w->doc.MapRegistered, registered);
    }

    void rightClickOnMarkersOpensThePointMenu_data() {
        QTest::addColumn<bool>("contacts");
        QTest::newRow("structural") << false;
        QTest::newRow("contacts") << true;
    }
    void rightClickOnMarkersOpensThePointMenu() {
        QFETCH(bool, contacts);
        auto w = mapWithPoints(contacts ? &MainWindow::optRock : &MainWindow::optStruc);
        PopupSpy spy;
        spyPopups(*w, spy);
        click(*w, Qt::RightButton, 3000, 1500);
        QCOMPARE(spy.count, 1);
        QCOMPARE(spy.menu, w->mnuPoint);
        QCOMPARE(spy.at, w->markers->mapToGlobal(px(3000, 1500)));
        QCOMPARE(w->doc.SelectedPoint, QStringLiteral("D2"));
        QCOMPARE(w->mnuPointNum->isEnabled(), contacts);
        QCOMPARE(w->mnuPointEditZ->text(),
                 contacts ? QStringLiteral("&Edit Contact Number") : QStringLiteral("&Edit 'Z' Coord"));
        QCOMPARE(w->doc.DatCount, 2); // nothing recorded
        if (!contacts) {
            w->mnuPointNum->setEnabled(true);
            click(*w, Qt::MiddleButton, 1500, 3000);
            QCOMPARE(spy.count, 2);
            QCOMPARE(w->doc.SelectedPoint, QStringLiteral("C1"));
            QVERIFY(!w->mnuPointNum->isEnabled());
        }
        QVERIFY(dialogs().prompts.empty());
    }

    void leftClickOnAMarkerSnaps_data() {
        QTest::addColumn<bool>("datum");
        QTest::newRow("datum marker") << true;
        QTest::newRow("contour marker") << false;
    }
    void leftClickOnAMarkerSnaps() {
        QFETCH(bool, datum);
        auto w = mapWithPoints();
        const double x = datum ? 3000 : 1500, y = datum ? 1500 : 3000;
        const DataPoint target = datum ? w->doc.DatumPoints[2] : w->doc.ContourPoints[1];
        const Marker targetMark = datum ? w->markers->labDat[2] : w->markers->labCon[1];
        // The cursor was last somewhere else: the snap takes the point's own place.
        cursorAt(*w, 4500, 4500);
        dialogs().queue(QStringLiteral("50"));
        click(*w, Qt::LeftButton, x + 10, y - 60);
        QCOMPARE(w->doc.DatCount, 3);
        QCOMPARE(w->doc.DatumPoints[3].X, target.X);
        QCOMPARE(w->doc.DatumPoints[3].Y, target.Y);
        QCOMPARE(w->markers->labDat[3].Left, targetMark.Left);
        QCOMPARE(w->markers->labDat[3].Top, targetMark.Top);
    }

    void leftClickOnAMarkerEndsAPendingMove() {
        auto w = mapWithPoints();
        w->doc.SelectedPoint = QStringLiteral("D1");
        w->doc.MovePointMode = true;
        w->markers->labDat[1].Visible = false;
        click(*w, Qt::LeftButton, 1500, 3000); // onto the contour point
        QVERIFY(dialogs().prompts.empty());
        QCOMPARE(w->doc.DatCount, 2);
        QCOMPARE(w->doc.DatumPoints[1].X, w->doc.ContourPoints[1].X);
        QCOMPARE(w->doc.DatumPoints[1].Y, w->doc.ContourPoints[1].Y);
        QCOMPARE(w->markers->labDat[1].Left, w->markers->labCon[1].Left);
        QVERIFY(w->markers->labDat[1].Visible);
        QVERIFY(!w->doc.MovePointMode);
    }

    void referenceMarkers() {
        // With points present a click on a registration marker does nothing.
        auto w = mapWithPoints();
        for (int i : {1, 2}) {
            w->markers->labRef[i].Left = 3600.0 * i - 150;
            w->markers->labRef[i].Top = 4200 - 260;
            w->markers->labRef[i].Visible = true;
        }
        click(*w, Qt::LeftButton, 3600, 4200);
        click(*w, Qt::RightButton, 7200, 4200);
        QVERIFY(dialogs().prompts.empty());
        QVERIFY(w->doc.MapRegistered);
        QCOMPARE(w->doc.RefPixelX2, 5400.0f);

        auto e = startWindow();
        registerLinear(*e);
        for (int i : {1, 2}) {
            e->markers->labRef[i].Left = 2400.0 * i - 150;
            e->markers->labRef[i].Top = 4200 - 260;
            e->markers->labRef[i].Visible = true;
        }
        dialogs().queue(dlg::Answer::No);
        click(*e, Qt::LeftButton, 2400, 4200);
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("Do you wish to re-register the map?"));
        QCOMPARE(int(dialogs().prompts.back().icon), int(dlg::Icon::Question));
        QCOMPARE(int(dialogs().prompts.back().buttons), int(dlg::Buttons::YesNo));
        QVERIFY(e->doc.MapRegistered);
        // Point 2 alone.
        dialogs().queue(dlg::Answer::Yes);
        click(*e, Qt::RightButton, 4800, 4200);
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("Do you wish to re-register this point?"));
        QVERIFY(!e->doc.MapRegistered);
        QCOMPARE(e->doc.RefPixelX2, 0.0f);
        QCOMPARE(e->doc.RefPixelY2, 0.0f);
        QCOMPARE(e->doc.RefPixelX1, 600.0f);
        QVERIFY(!e->markers->labRef[2].Visible);
        QVERIFY(e->markers->labRef[1].Visible);
        // Point 1 of the now unregistered map: both points go.
        dialogs().queue(dlg::Answer::Yes);
        click(*e, Qt::LeftButton, 2400, 4200);
        QCOMPARE(dialogs().prompts.back().text, QStringLiteral("Do you wish to re-register this point?"));
        QCOMPARE(e->doc.RefPixelX1, 0.0f);
        QCOMPARE(e->doc.RefPixelY1, 0.0f);
        QVERIFY(!e->markers->labRef[1].Visible);
    }

    void swatchesRecolourTheirMarkers_data() {
        QTest::addColumn<bool>("datum");
        QTest::newRow("datum") << true;
        QTest::newRow("contour") << false;
    }
    void swatchesRecolourTheirMarkers() {
        QFETCH(bool, datum);
        auto w = mapWithPoints();
        ColorSwatch* swatch = datum ? w->labDatCol : w->labConCol;
        auto& mine = datum ? w->markers->labDat : w->markers->labCon;
        auto& other = datum ? w->markers->labCon : w->markers->labDat;
        const long otherColour = other[1].ForeColor;
        const long before = swatch->ForeColor();
        // Cancel changes nothing.
        dialogs().queue(dlg::Cancel{});
        QTest::mouseDClick(swatch, Qt::LeftButton);
        QCOMPARE(int(dialogs().prompts.size()), 1);
        QCOMPARE(int(dialogs().prompts[0].kind), int(dlg::Prompt::Kind::Color));
        QCOMPARE(swatch->ForeColor(), before);
        for (int i = 0; i <= mine.count(); ++i) QCOMPARE(mine[i].ForeColor, before);
        // A colour recolours the swatch, every marker and the template.
        dialogs().queue(0x00C0FFL);
        QTest::mouseDClick(swatch, Qt::LeftButton);
        QCOMPARE(swatch->ForeColor(), 0x00C0FFL);
        for (int i = 0; i <= mine.count(); ++i) QCOMPARE(mine[i].ForeColor, 0x00C0FFL);
        QCOMPARE(other[1].ForeColor, otherColour);
        // A marker loaded later takes the new colour.
        if (datum) {
            record(*w, 4500, 600, QStringLiteral("1"));
            QCOMPARE(w->markers->labDat[3].ForeColor, 0x00C0FFL);
        }
    }

    void recolourDoesNotMarkTheDocumentChanged() {
        auto w = mapWithPoints();
        w->doc.DataChanged = false;
        dialogs().queue(0x123456L);
        w->digitizer->labDatCol_DblClick();
        QVERIFY(!w->doc.DataChanged);
    }

    void labelBranches() {
        auto w = mapWithPoints();
        int created = 0, moved = 0, popups = 0;
        QPoint popupAt;
        w->digitizer->setLabelHooks([&] { ++created; }, [&] { ++moved; },
                                    [&](const QPoint& p) {
                                        ++popups;
                                        popupAt = p;
                                    });
        QVERIFY(w->mnuViewShowLabels->isEnabled());
        // Labels off: a right click does nothing.
        click(*w, Qt::RightButton, 4500, 4500);
        QCOMPARE(created, 0);
        w->mnuViewShowLabels->setChecked(true);
        click(*w, Qt::RightButton, 4500, 4500);
        QCOMPARE(created, 1);
        // A pending move survives a right click and ends at the next left click.
        w->doc.MoveLabelMode = true;
        click(*w, Qt::RightButton, 4500, 4500);
        QCOMPARE(created, 1);
        QVERIFY(w->doc.MoveLabelMode);
        click(*w, Qt::LeftButton, 4500, 4500);
        QCOMPARE(moved, 1);
        QVERIFY(!w->doc.MoveLabelMode);
        QCOMPARE(w->doc.DatCount, 2);
        QVERIFY(dialogs().prompts.empty());
        // A label marker opens its menu, whatever the button.
        Marker& label = w->markers->labMap.load(1);
        label.Left = 4000;
        label.Top = 600;
        label.Width = 900;
        label.Height = 300;
        label.Visible = true;
        label.Caption = QStringLiteral("Ridge");
        click(*w, Qt::LeftButton, 4200, 700);
        QCOMPARE(popups, 1);
        QCOMPARE(w->doc.CurLabel, 1);
        QCOMPARE(popupAt, w->markers->mapToGlobal(px(4200, 700)));
    }

    void contactOverlayNeverRecords() {
        auto w = mapWithPoints();
        int created = 0, moved = 0;
        w->digitizer->setLabelHooks([&] { ++created; }, [&] { ++moved; }, [](const QPoint&) {});
        w->imPoints->setVisible(false);
        w->imContacts->setVisible(true);
        click(*w, Qt::LeftButton, 4500, 4500);
        QCOMPARE(w->doc.DatCount, 2);
        QVERIFY(dialogs().prompts.empty());
        w->mnuViewShowLabels->setChecked(true);
        click(*w, Qt::LeftButton, 4500, 4500);
        QCOMPARE(created, 1);
        w->doc.MoveLabelMode = true;
        click(*w, Qt::RightButton, 4500, 4500);
        QCOMPARE(moved, 1);
        QCOMPARE(created, 1);
        QVERIFY(!w->doc.MoveLabelMode);
        w->doc.MapBusy = true;
        click(*w, Qt::LeftButton, 4500, 4500);
        QCOMPARE(created, 1);
    }
};
VEX_TEST(MouseInputTest);
#include "MouseInputTest.moc"
