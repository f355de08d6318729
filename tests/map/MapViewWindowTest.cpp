// The map view's controls in the real window: the zoom buttons and their
// menu twins, the scroll bars, the Coordinates and Degree Format items, and
// the read-outs under the mouse on the map and on the plot.
#include "common/TestRegistry.h"
#include "common/MapSupport.h"

#include "app/Twips.h"
#include "document/Legacy.h"

#include <QTest>

using maptest::addPoint;
using maptest::importMap;
using maptest::registerLinear;
using maptest::startWindow;
using maptest::writeMap;

namespace {

ZoomEnabled zoomButtons(const MainWindow& w) {
    return {w.cmdZoomPage->isEnabled(), w.cmdZoomOut->isEnabled(), w.cmdZoomIn->isEnabled(),
            w.cmdZoomFull->isEnabled()};
}
ZoomEnabled zoomItems(const MainWindow& w) {
    return {w.mnuViewZoomPage->isEnabled(), w.mnuViewZoomOut->isEnabled(), w.mnuViewZoomIn->isEnabled(),
            w.mnuViewZoomFull->isEnabled()};
}

} // namespace

class MapViewWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath;

private slots:
    void initTestCase() { mapPath = writeMap(dir, QStringLiteral("survey.png"), 1000, 500); }
    void init() { testsupport::dialogs().clear(); }

    void pageFitAfterTheImport() {
        auto w = startWindow();
        importMap(*w, mapPath);
        const ZoomView v = w->mapView->currentView();
        QCOMPARE(v.Frame2.Left, 90.0);
        QCOMPARE(v.Frame2.Top, 90.0);
        QCOMPARE(v.Frame2.Width, v.Frame1Width - 180);
        QCOMPARE(w->imPoints->Width(), v.Frame2.Width - 120); // a wide map fills the width
        QCOMPARE(w->imPoints->Height(), w->imPoints->Width() / 2);
        QCOMPARE(w->imPoints->Left(), 60.0);
        QCOMPARE(w->doc.PageWidth, float(w->imPoints->Width()));
        // The plot picture lies exactly over the map picture.
        QCOMPARE(v.picMap.Left, w->imPoints->Left() + 90);
        QCOMPARE(w->picMap->Width(), w->imPoints->Width());
        QCOMPARE(w->imContacts->Top(), w->imPoints->Top());
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
        QCOMPARE(zoomButtons(*w), (ZoomEnabled{false, false, true, true}));
        QCOMPARE(zoomItems(*w), (ZoomEnabled{false, false, true, true}));
        QVERIFY(w->HScroll1->isHidden() && w->VScroll1->isHidden());
        QCOMPARE(w->markers->size(), w->Frame2->size());
    }

    void zoomCommandsAndTheirMenuTwins() {
        auto w = startWindow();
        importMap(*w, mapPath);
        const double page = w->imPoints->Width();
        w->cmdZoomIn->click();
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1.25"));
        QCOMPARE(w->imPoints->Width(), double(legacy::CLng(page * 1.25)));
        QCOMPARE(zoomItems(*w), (ZoomEnabled{true, true, true, true}));
        w->mnuViewZoomFull->trigger();
        QCOMPARE(w->imPoints->Width(), 64000.0);
        QCOMPARE(w->imPoints->Height(), 32000.0);
        QVERIFY(w->Frame8->title().endsWith(QStringLiteral(" (Full)")));
        QCOMPARE(zoomButtons(*w), (ZoomEnabled{true, true, false, false}));
        QVERIFY(!w->HScroll1->isHidden());
        QCOMPARE(w->doc.HScrollStep, -2);
        QCOMPARE(w->HScroll1->maximum(), legacy::CInt((64000 - w->mapView->currentView().Frame1Width) / 2));
        w->mnuViewZoomOut->trigger();
        QCOMPARE(w->imPoints->Width(), 51200.0);
        QCOMPARE(zoomButtons(*w), (ZoomEnabled{true, true, true, true}));
        w->mnuViewZoomPage->trigger();
        QCOMPARE(w->imPoints->Width(), page);
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
        QVERIFY(w->HScroll1->isHidden());
        QVERIFY(testsupport::dialogs().prompts.size() == 1);
    }

    void scrollingMovesThePictureAndTheMarkers() {
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        w->mapView->cmdZoomFull_Click();
        const double markerAt = w->markers->labDat[1].Left - w->imPoints->Left();
        w->HScroll1->setValue(1000);
        QCOMPARE(w->imPoints->Left(), -2000.0);
        QVERIFY(qAbs(w->markers->labDat[1].Left - w->imPoints->Left() - markerAt) < 0.01);
        QVERIFY(w->markers->labDat[1].Visible);
        QVERIFY(w->HScroll1->isEnabled());
        QVERIFY(!w->doc.MapBusy);
        // Past 16000 the frame takes over, exactly.
        w->HScroll1->setValue(17000);
        const ZoomView v = w->mapView->currentView();
        QCOMPARE(w->imPoints->Left(), -32000.0);
        QCOMPARE(v.Frame2.Left, -2000.0);
        QCOMPARE(v.Frame2.Width, v.Frame1Width + 1910);
        QCOMPARE(w->markers->size(), w->Frame2->size());
        QVERIFY(qAbs(w->markers->labDat[1].Left - w->imPoints->Left() - markerAt) < 0.01);
        // Vertical scrolling, one twip per unit.
        w->VScroll1->setValue(500);
        QCOMPARE(w->imPoints->Top(), -500.0);
    }

    void noScrollWhileThePictureIsHidden() {
        auto w = startWindow();
        importMap(*w, mapPath);
        w->mapView->cmdZoomFull_Click();
        w->imPoints->hide(); // the plot is shown
        w->HScroll1->setValue(300);
        QCOMPARE(w->imPoints->Left(), 0.0);
    }

    void pageFitWithoutAnImage() {
        auto w = startWindow();
        QVERIFY(w->cmdZoomPage_Click);
        w->cmdZoomPage_Click();
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom"));
        QVERIFY(w->imPoints->isHidden());
        QCOMPARE(zoomButtons(*w), (ZoomEnabled{false, false, true, true}));
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    void coordinatesMenu() {
        auto w = startWindow();
        importMap(*w, mapPath);
        w->mnuCoordSMerc->trigger();
        QCOMPARE(w->doc.ProjectionName, QStringLiteral("Standard Mercator"));
        QCOMPARE(w->doc.CoordUnits, QStringLiteral("Degrees"));
        QVERIFY(w->mnuCoordSMerc->isChecked() && w->mnuCoordDegrees->isChecked());
        QVERIFY(!w->mnuCoordFeet->isEnabled() && !w->mnuCoordMeters->isEnabled());
        QCOMPARE(w->panel(1), QStringLiteral("Projection: Standard Mercator, Units: Degrees"));
        // Degrees when already ticked changes nothing and keeps its tick.
        w->setPanel(1, QStringLiteral("marker"));
        w->mnuCoordDegrees->trigger();
        QVERIFY(w->mnuCoordDegrees->isChecked());
        QCOMPARE(w->panel(1), QStringLiteral("marker"));
        // Linear keeps the units, ticks Meters and enables both linear units.
        w->mnuCoordLinear->trigger();
        QCOMPARE(w->doc.CoordUnits, QStringLiteral("Degrees"));
        QVERIFY(w->mnuCoordMeters->isChecked() && !w->mnuCoordSMerc->isChecked() && !w->mnuCoordDegrees->isChecked());
        QVERIFY(w->mnuCoordFeet->isEnabled());
        w->mnuCoordFeet->trigger();
        QCOMPARE(w->doc.CoordUnits, QStringLiteral("Feet"));
        QVERIFY(w->mnuCoordFeet->isChecked() && !w->mnuCoordMeters->isChecked());
        QCOMPARE(w->panel(1), QStringLiteral("Projection: Linear Coordinates, Units: Feet"));
    }

    void degreeFormatMenu() {
        auto w = startWindow();
        w->mnuViewLatLongDecimal2->trigger();
        QCOMPARE(w->doc.LatLongFormat, QStringLiteral("2"));
        QVERIFY(w->mnuViewLatLongDecimal2->isChecked());
        QVERIFY(!w->mnuViewLatLongDegMin->isChecked());
        // Clicking the ticked item keeps it ticked.
        w->mnuViewLatLongDecimal2->trigger();
        QVERIFY(w->mnuViewLatLongDecimal2->isChecked());
        w->mnuViewLatLongDegMinSec->trigger();
        QCOMPARE(w->doc.LatLongFormat, QStringLiteral("0s"));
        int ticked = 0;
        for (QAction* a : {w->mnuViewLatLongDegMin, w->mnuViewLatLongDegMinSec, w->mnuViewLatLongDecimal1,
                           w->mnuViewLatLongDecimal2, w->mnuViewLatLongDecimal3, w->mnuViewLatLongDecimal4})
            ticked += a->isChecked();
        QCOMPARE(ticked, 1);
        QVERIFY(w->mnuViewLatLong360->isChecked());
        w->mnuViewLatLong360->trigger();
        QVERIFY(!w->mnuViewLatLong360->isChecked());
        w->mnuViewLatLong360->trigger();
        QVERIFY(w->mnuViewLatLong360->isChecked());
    }

    void readOutUnderTheMouse() {
        auto w = startWindow();
        importMap(*w, mapPath);
        // The centre of the picture, in pixels of the marker layer.
        const QPoint centre = twips::rect(w->imPoints->Left() + w->imPoints->Width() / 2,
                                          w->imPoints->Top() + w->imPoints->Height() / 2, 0, 0)
                                  .topLeft();
        QTest::mouseMove(w->markers, centre);
        QVERIFY(w->imPoints->ToolTipText.startsWith(QStringLiteral("x = ")));
        QVERIFY(qAbs(w->doc.CursorMapX - 500) < 2);
        QVERIFY(qAbs(w->doc.CursorMapY - 250) < 2);
        QCOMPARE(w->imContacts->ToolTipText, w->imPoints->ToolTipText);
        QCOMPARE(w->markers->toolTipAt(twips::fromPx(centre.x()), twips::fromPx(centre.y())),
                 w->imPoints->ToolTipText);
        // While the map is busy the read-out stands still.
        const QString before = w->imPoints->ToolTipText;
        w->doc.MapBusy = true;
        QTest::mouseMove(w->markers, centre + QPoint(20, 10));
        QCOMPARE(w->imPoints->ToolTipText, before);
        w->doc.MapBusy = false;
        QTest::mouseMove(w->markers, centre + QPoint(30, 15));
        QVERIFY(w->imPoints->ToolTipText != before);
    }

    void readOutOverThePlot() {
        auto w = startWindow();
        importMap(*w, mapPath);
        registerLinear(*w);
        Document& d = w->doc;
        // A 3 x 3 grid over the whole map; the middle node carries 42.
        d.GridCols = d.GridRows = 3;
        d.ContourGrid.resize(3, 3);
        for (int i = 0; i <= 3; ++i)
            for (int j = 0; j <= 3; ++j) {
                DataPoint& n = d.ContourGrid.at(i, j);
                n.X = d.MapOriginX + d.MapSpanX * (i - 0.5f) / 3;
                n.Y = d.MapOriginY - d.MapSpanY * (j - 0.5f) / 3;
                n.Z = (i == 2 && j == 2) ? 42.0f : 1.0f;
            }
        w->imPoints->hide();
        w->picMap->show();
        const ZoomView v = w->mapView->currentView();
        const QPoint centre = twips::rect(v.picMap.Left - v.Frame2.Left + w->picMap->Width() / 2,
                                          v.picMap.Top - v.Frame2.Top + w->picMap->Height() / 2, 0, 0)
                                  .topLeft();
        QTest::mouseMove(w->markers, centre);
        QVERIFY2(w->picMap->ToolTipText.endsWith(QStringLiteral(";  Z = 42")), qPrintable(w->picMap->ToolTipText));
        QVERIFY(w->picMap->ToolTipText.startsWith(QStringLiteral("E = ")));
        QCOMPARE(w->markers->toolTipAt(twips::fromPx(centre.x()), twips::fromPx(centre.y())),
                 w->picMap->ToolTipText);
        // Busy: no tip.
        d.MapBusy = true;
        w->mapView->picMap_MouseMove(0, 0, 100, 100);
        QCOMPARE(w->picMap->ToolTipText, QString());
        d.MapBusy = false;
        // A plot without its grid is reported.
        d.ContourGrid.clear();
        auto& dl = testsupport::dialogs();
        dl.clear();
        w->mapView->picMap_MouseMove(0, 0, w->picMap->Width() / 2, w->picMap->Height() / 2);
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].text, QStringLiteral("picMapMouseMove error: \n\nSubscript out of range"));
    }
};

VEX_TEST(MapViewWindowTest);
#include "MapViewWindowTest.moc"
