// The Show command's contour road, the plot options and the reopening of a
// contour picture, driven in the real main window.
#include "common/TestRegistry.h"
#include "common/MapSupport.h"

#include "contour/ColourRamps.h"
#include "contour/ContourCommands.h"
#include "document/Legacy.h"
#include "exchange/ExportCommands.h"
#include "map/CursorReadout.h"
#include "platform/ColorNumber.h"
#include "platform/ImagingObject.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <stdexcept>

using namespace maptest;

namespace {

// Restores the event pump and the pump interval a test replaced.
struct PumpGuard {
    std::function<void()> saved = MainWindow::DoEvents;
    int interval = ContourCommands::pumpIntervalMs;
    ~PumpGuard() {
        MainWindow::DoEvents = saved;
        ContourCommands::pumpIntervalMs = interval;
    }
};

// A registered 600 x 400 map in metres with structural points spread over
// E 1000..3000, N 2000..4000 and Z rising to the north-east.
std::unique_ptr<MainWindow> plotWindow(const QTemporaryDir& dir, bool isopach = false, QSize size = {600, 400}) {
    auto w = startWindow();
    importMap(*w, writeMap(dir, QStringLiteral("ridge.png"), size.width(), size.height()));
    registerLinear(*w);
    OptionButton* kind = isopach ? w->optIso : w->optStruc;
    kind->setEnabled(true);
    kind->setValue(true);
    w->doc.DataTitle = QStringLiteral("Ridge");
    int n = 0;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 5; ++j) {
            const float x = 1010 + i * 390 + (j % 2) * 45, y = 2020 + j * 480 + (i % 3) * 30;
            addPoint(*w, (i + j) % 2 == 0, ++n, x, y, isopach && i == 0 ? 0.f : (x - 1000) / 10 + (y - 2000) / 20);
        }
    w->doc.DataFileName = dir.filePath(QStringLiteral("ridge.vlm"));
    // As recording the first point does.
    for (QWidget* c : std::initializer_list<QWidget*>{w->labCond, w->txtConDet, w->VScroll2, w->chkMan, w->chkLines,
                                                      w->optLo, w->optMed, w->optHi})
        c->setEnabled(true);
    w->doc.ContoursCurrent = false;
    testsupport::dialogs().clear();
    return w;
}

QColor pixelAtNode(MainWindow& w, int i, int j) {
    const DataPoint& n = w.doc.ContourGrid.at(i, j);
    const QPointF p = w.contourCommands->plotTransform().map(w.contourCommands->plotPosition(n.X, n.Y));
    return w.picMap->picture().pixelColor(int(p.x()), int(p.y()));
}

// A node inside the data window, well away from the title and crosses.
std::pair<int, int> middleNode(const MainWindow& w) { return {w.doc.GridCols / 2, w.doc.GridRows / 2}; }

} // namespace

class ContourShowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { ContourCommands::pumpIntervalMs = 30; }

    void showAndBack() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
        w->optLo->click();
        w->cmdShow->click();
        QVERIFY2(testsupport::dialogs().prompts.empty(), qPrintable(testsupport::dialogs().prompts.empty()
                                                                        ? QString()
                                                                        : testsupport::dialogs().prompts[0].text));
        Document& d = w->doc;
        QVERIFY(w->imPoints->isHidden());
        QVERIFY(!w->picMap->isHidden());
        QVERIFY(d.ContoursCurrent);
        QCOMPARE(d.ContourDetail, 50);
        QCOMPARE(d.ContourGrid.cols(), d.GridCols);
        QVERIFY(d.GridCols >= 10 && d.GridRows >= 10);
        QVERIFY(d.ZMin > 0 && d.ZMin < d.ZMax);
        QCOMPARE(d.ContourMin, d.ZMin);
        QCOMPARE(d.ContourMax, d.ZMax);
        QCOMPARE(w->panel(2), QStringLiteral("Vexolan: Ridge (Contour map)"));
        QCOMPARE(w->labText->text(), QStringLiteral("Contour Map"));
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Points"));
        QCOMPARE(w->cmdShow->toolTip(), QStringLiteral("Click to show contour points"));
        for (QWidget* c : std::initializer_list<QWidget*>{w->txtConDet, w->VScroll2, w->chkMan, w->optLo, w->optStruc,
                                                          w->cmdZoomIn, w->optDat})
            QVERIFY(!c->isEnabled());
        QVERIFY(w->mnuFile->menuAction()->isEnabled() && w->mnuView->menuAction()->isEnabled());
        QVERIFY(w->mnuViewShowCon->isChecked() && !w->mnuViewShowMap->isChecked());
        QVERIFY(!w->markers->labDat[1].Visible && !w->markers->labRef[1].Visible);
        QVERIFY(!w->ProgressBar1->isVisible() && !w->labProg->isVisible());
        QVERIFY(!w->doc.MapBusy);
        // Gray-3D at detail 50 offers the relief.
        QVERIFY(w->fr3D->isVisible());

        w->cmdShow->click();
        QVERIFY(!w->imPoints->isHidden());
        QVERIFY(w->picMap->isHidden());
        QVERIFY(!w->fr3D->isVisible());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
        QCOMPARE(w->cmdShow->toolTip(), QStringLiteral("Click to show contour map"));
        QVERIFY(w->mnuViewShowMap->isChecked() && !w->mnuViewShowCon->isChecked());
        QVERIFY(w->optStruc->isEnabled() && !w->optIso->isEnabled() && !w->optRock->isEnabled());
        for (QWidget* c : std::initializer_list<QWidget*>{w->txtConDet, w->VScroll2, w->chkMan, w->chkLines,
                                                          w->optDat, w->optCon, w->optLo, w->optHi, w->cmdConRun})
            QVERIFY(c->isEnabled());
        QVERIFY(!w->txtMax->isEnabled() && !w->labMin->isEnabled());
        QVERIFY(w->mnuOpt->menuAction()->isEnabled());
        // Page zoom: page and zoom out stay off.
        QVERIFY(w->Frame8->title().endsWith(QLatin1String("(Page)")));
        QVERIFY(!w->cmdZoomPage->isEnabled() && !w->mnuViewZoomOut->isEnabled());
        QVERIFY(w->cmdZoomIn->isEnabled() && w->mnuViewZoomFull->isEnabled());
        QVERIFY(w->markers->labDat[1].Visible);
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    void recomputesOnlyWhenOutOfDate() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        w->cmdShow->click();
        const auto [i, j] = middleNode(*w);
        const float z = d.ContourGrid.at(i, j).Z;
        d.ContourGrid.at(i, j).Z = -1; // would be recomputed by a new run
        w->cmdShow->click();
        w->cmdShow->click();
        QCOMPARE(d.ContourGrid.at(i, j).Z, -1.f);
        QVERIFY(!w->picMap->isHidden());
        w->cmdShow->click();

        // Every option marks the plot out of date.
        auto outOfDate = [&](const std::function<void()>& change) {
            d.ContoursCurrent = true;
            change();
            return !d.ContoursCurrent;
        };
        QVERIFY(outOfDate([&] { w->optHi->click(); }));
        QVERIFY(outOfDate([&] { w->optMed->click(); }));
        QVERIFY(outOfDate([&] { w->optLo->click(); }));
        QVERIFY(outOfDate([&] { w->chkLines->click(); }));
        QVERIFY(outOfDate([&] { w->txtMax->setText(QStringLiteral("12")); }));
        QVERIFY(outOfDate([&] { w->txtMin->setText(QStringLiteral("3")); }));
        QVERIFY(outOfDate([&] { w->chkMan->click(); }));
        QVERIFY(w->txtMax->isEnabled() && w->labMax->isEnabled() && w->txtMin->isEnabled());
        QVERIFY(outOfDate([&] { w->chkMan->click(); }));
        QVERIFY(!w->txtMax->isEnabled() && !w->labMin->isEnabled());
        w->chkLines->click();

        w->cmdShow->click();
        QCOMPARE(d.ContourGrid.at(i, j).Z, z);
        QVERIFY(d.ContoursCurrent);
    }

    void haltDuringGriddingReturnsToTheMap() {
        PumpGuard guard;
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.ContourDetail = 500;
        ContourCommands::pumpIntervalMs = 0;
        std::vector<int> progress;
        QString captionAtHalt;
        // Halted at the first pump after some columns are done.
        MainWindow::DoEvents = [&] {
            if (!w->ProgressBar1->isVisible()) return;
            progress.push_back(w->ProgressBar1->value());
            if (progress.back() > 0 && captionAtHalt.isEmpty()) {
                captionAtHalt = w->cmdShow->text();
                w->cmdShow->click();
                // The halt request touches nothing but the stop flag.
                QVERIFY(d.ShowInterrupt);
                QVERIFY(w->imPoints->isHidden());
            }
        };
        w->cmdShow->click();
        QCOMPARE(captionAtHalt, QStringLiteral("Halt Show"));
        QVERIFY(progress.back() > 0 && progress.back() < 100);
        QVERIFY(!d.ContoursCurrent);
        QVERIFY(!w->imPoints->isHidden());
        QVERIFY(w->picMap->isHidden());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
        QVERIFY(!d.MapBusy && w->mnuFile->menuAction()->isEnabled());
        // The columns after the halt are not reached: their nodes kept 0.
        const int last = d.GridCols * 3 / 4;
        auto zerosIn = [&](int i) {
            int zeros = 0;
            for (int j = 1; j <= d.GridRows; ++j) zeros += d.ContourGrid.at(i, j).Z == 0;
            return zeros;
        };
        QCOMPARE(zerosIn(last), d.GridRows);
        QVERIFY(testsupport::dialogs().prompts.empty());

        // The next Show recomputes from scratch and completes, the progress
        // bar moving on the way.
        progress.clear();
        captionAtHalt = QStringLiteral("done");
        w->cmdShow->click();
        QVERIFY(d.ContoursCurrent);
        QVERIFY(!w->picMap->isHidden());
        QVERIFY(zerosIn(last) < d.GridRows);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QVERIFY(progress.size() >= 3 && progress.front() < progress.back() && progress.back() == 100);
    }

    // Combining the second data set while the plot is gridded would change
    // the points under it and leave a plot taken for current that no longer
    // matches them: the combine buttons do nothing until the plot is done.
    void combiningWaitsForTheGridding() {
        PumpGuard guard;
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.OtherPoints.assign(4, DataPoint{});
        for (int k = 1; k <= 3; ++k) d.OtherPoints[size_t(k)] = {int16_t(k), 1500.0f * k, 2500.0f, 7.0f * k, false};
        d.OtherCount = 3;
        d.OtherDataOpen = true;
        w->labConDat->setEnabled(true);
        w->cmdConDat[0]->setEnabled(true);
        w->cmdConDat[1]->setEnabled(true);
        std::vector<float> before;
        for (int i = 1; i <= d.DatCount; ++i) before.push_back(d.DatumPoints[size_t(i)].Z);
        const QString title = d.DataTitle;

        ContourCommands::pumpIntervalMs = 0;
        bool clicked = false, enabledWhileGridding = false;
        MainWindow::DoEvents = [&] {
            if (!clicked && w->ProgressBar1->isVisible() && d.MapBusy) {
                clicked = true;
                enabledWhileGridding = w->cmdConDat[1]->isEnabled();
                w->cmdConDat[1]->click();
            }
        };
        w->cmdShow->click();
        QVERIFY(clicked);
        QVERIFY(enabledWhileGridding);
        for (int i = 1; i <= d.DatCount; ++i) QCOMPARE(d.DatumPoints[size_t(i)].Z, before[size_t(i - 1)]);
        QCOMPARE(d.DataTitle, title);
        QVERIFY(!d.DatumPoints[1].Combined);
        QVERIFY(d.ContoursCurrent);
        QVERIFY(!d.MapBusy);
        QVERIFY(testsupport::dialogs().prompts.empty());

        // Once the plot is done the same button combines.
        MainWindow::DoEvents = [] {};
        w->exportCommands->cmdConDat_Click(1);
        QVERIFY(d.DatumPoints[1].Combined);
        QVERIFY(d.DataTitle.endsWith(QStringLiteral("--converted")));
        QVERIFY(!d.MapBusy);
    }

    // A failure the plot does not report itself goes on to the application;
    // the window it leaves has its menus back and is not busy.
    void unexpectedFailureHandsTheWindowBack() {
        PumpGuard guard;
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        MainWindow::DoEvents = [] { throw std::runtime_error("pump failed"); };
        bool thrown = false;
        try {
            w->contourCommands->ContourShow();
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        QVERIFY(thrown);
        QVERIFY(!d.MapBusy);
        QVERIFY(w->mnuFile->menuAction()->isEnabled() && w->mnuOpt->menuAction()->isEnabled() &&
                w->mnuView->menuAction()->isEnabled());
        QVERIFY(!w->ProgressBar1->isVisible() && !w->labProg->isVisible());
        QVERIFY(w->cursor().shape() != Qt::BusyCursor);
    }

    void detailTextAndSpinBar() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.DataChanged = false;
        QTest::keyClicks(w->txtConDet, QStringLiteral("x"));
        w->txtConDet->selectAll();
        QTest::keyClicks(w->txtConDet, QStringLiteral("5"));
        QCOMPARE(d.ContourDetail, 5); // no clamping while typing
        QVERIFY(d.DataChanged);
        w->cmdShow->click();
        QCOMPARE(d.ContourDetail, 10);
        QCOMPARE(w->txtConDet->text(), QStringLiteral("10"));
        QCOMPARE(std::max(d.GridCols, d.GridRows), 10);
        w->cmdShow->click();
        QVERIFY(!w->fr3D->isVisible());

        w->txtConDet->selectAll();
        QTest::keyClicks(w->txtConDet, QStringLiteral("900"));
        w->cmdShow->click();
        QCOMPARE(w->txtConDet->text(), QStringLiteral("500"));
        w->cmdShow->click();

        // The spin bar rests at 0 and moves the detail one step, within 10..500.
        w->VScroll2->setValue(-1);
        QCOMPARE(d.ContourDetail, 500);
        QCOMPARE(w->txtConDet->text(), QStringLiteral("500"));
        QCOMPARE(w->VScroll2->value(), 0);
        w->VScroll2->setValue(1);
        QCOMPARE(d.ContourDetail, 499);
        QCOMPARE(w->txtConDet->text(), QStringLiteral("499"));
        w->txtConDet->selectAll();
        QTest::keyClicks(w->txtConDet, QStringLiteral("10"));
        w->VScroll2->setValue(1);
        QCOMPARE(d.ContourDetail, 10);
        w->VScroll2->setValue(-1);
        QCOMPARE(d.ContourDetail, 11);
        QCOMPARE(w->VScroll2->value(), 0);
        // Beyond the whole-number range: held at its end.
        w->txtConDet->selectAll();
        QTest::keyClicks(w->txtConDet, QStringLiteral("99999999"));
        QCOMPARE(d.ContourDetail, 32767);
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    void textBoxesSelectAllOnFocus() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        w->chkMan->click();
        for (QLineEdit* e : {w->txtConDet, w->txtMax, w->txtMin}) {
            e->setText(QStringLiteral("123"));
            e->deselect();
            QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(e, &in);
            QCoreApplication::processEvents();
            QCOMPARE(e->selectedText(), QStringLiteral("123"));
        }
    }

    // The cells take the ramp's colours.  A point exactly on a grid node (a
    // grid read back puts one on every node) gives that node its own value,
    // the first point's of two, and the plot completes.
    void paintedCellsFollowTheRamp() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        PointGrid g;
        layGrid(g, gridGeometry(50, d.MapSpanX, d.MapSpanY), d.MapOriginX, d.MapOriginY);
        const DataPoint& node = g.at(20, 20);
        addPoint(*w, true, 99, node.X, node.Y, 50);
        addPoint(*w, false, 98, node.X, node.Y, 70);
        w->optHi->click();
        w->cmdShow->click();
        QVERIFY(testsupport::dialogs().prompts.empty());
        QVERIFY(d.ContoursCurrent);
        QCOMPARE(d.ContourGrid.at(20, 20).Z, 50.f);
        const auto [i, j] = middleNode(*w);
        const DataPoint& n = d.ContourGrid.at(i, j);
        QCOMPARE(pixelAtNode(*w, i, j), colorFromNumber(PicRGB(n.Z, d.ContourMin, d.ContourMax, 3)));
        QCOMPARE(pixelAtNode(*w, 20, 20), colorFromNumber(PicRGB(50, d.ContourMin, d.ContourMax, 3)));
        // High Color writes no relief bitmap.
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("ridge-3D.bmp"))));
        QVERIFY(!w->fr3D->isVisible());
    }

    // The Gray-3D plot leaves its plan picture, without the title, and a
    // small copy on disk.  On a map drawn longer down than across (rows
    // further apart than columns) the cells still meet: no blank stripe.
    void grayPlotLeavesThePlanPicture() {
        QTemporaryDir dir;
        auto w = plotWindow(dir, false, {400, 600});
        Document& d = w->doc;
        w->optLo->click();
        // A scale far above the data keeps every cell darker than white.
        w->chkMan->click();
        w->txtMax->setText(QStringLiteral("100000"));
        w->txtMin->setText(QStringLiteral("0"));
        for (int detail : {50, 173}) {
            d.ContourDetail = detail;
            d.ContoursCurrent = false;
            w->cmdShow->click();
            QVERIFY(testsupport::dialogs().prompts.empty());
            QVERIFY(!w->TopoDone);
            const QImage plan = w->picPlanImgX->picture();
            QCOMPARE(plan.size(), w->picMap->picture().size());
            QVERIFY(plan.pixelColor(plan.width() / 2, 2) != w->picMap->picture().pixelColor(plan.width() / 2, 2));
            const auto [i, j] = middleNode(*w);
            const QColor c = pixelAtNode(*w, i, j);
            QVERIFY(c.red() == c.green() && c.green() == c.blue() && c.red() >= 55);
            // The block of nodes inside the data window, on the picture.
            const QTransform t = w->contourCommands->plotTransform();
            QRectF block;
            for (int i = 1; i <= d.GridCols; ++i)
                for (int j = 1; j <= d.GridRows; ++j) {
                    const DataPoint& n = d.ContourGrid.at(i, j);
                    if (w->contourCommands->dataWindow().contains(n.X, n.Y))
                        block |= QRectF(t.map(w->contourCommands->plotPosition(n.X, n.Y)), QSizeF(0.001, 0.001));
                }
            const double across = double(plan.width()) / (d.GridCols + 1), down = double(plan.height()) / (d.GridRows + 1);
            QVERIFY(down > across * 1.3);
            block.adjust(-across / 2 + 1, -down / 2 + 1, across / 2 - 1, down / 2 - 1);
            int blank = 0;
            for (int y = int(std::ceil(block.top())); y < block.bottom(); ++y)
                for (int x = int(std::ceil(block.left())); x < block.right(); ++x)
                    blank += plan.pixel(x, y) == qRgb(255, 255, 255);
            QCOMPARE(blank, 0);
            w->cmdShow->click();
        }
        ImagingObject read;
        read.load(dir.filePath(QStringLiteral("ridge-3D.bmp")));
        QCOMPARE(read.width(), 180);
    }

    void isopachZeroNodesAreBlack() {
        QTemporaryDir dir;
        auto w = plotWindow(dir, true);
        // Every node comes out 0 when every point is 0.
        for (int i = 1; i <= w->doc.DatCount; ++i) w->doc.DatumPoints[i].Z = 0;
        for (int i = 1; i <= w->doc.ConCount; ++i) w->doc.ContourPoints[i].Z = 0;
        w->optMed->click();
        w->cmdShow->click();
        QVERIFY(testsupport::dialogs().prompts.empty());
        const auto [i, j] = middleNode(*w);
        QCOMPARE(w->doc.ContourGrid.at(i, j).Z, 0.f);
        QCOMPARE(pixelAtNode(*w, i, j), QColor(Qt::black));
    }

    void titleAndScaleAreDrawn() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        w->optMed->click();
        w->cmdShow->click();
        const QImage img = w->picMap->picture();
        // The title box is black at the top centre.
        QCOMPARE(img.pixelColor(img.width() / 2 - 40, 1), QColor(Qt::black));
        // The data fill the map from its left fifth to its right: more room
        // left of them, so the scale stands left.
        QVERIFY(w->doc.ScaleSide);
        const QTransform t = w->contourCommands->plotTransform();
        const double H = w->picMap->Height();
        const int yTop = int(H / 5);
        const QPointF bar = t.map(QPointF(250, yTop + 60));
        // Near the top of the Low Color bar, a few pixels in: red.
        QVERIFY(img.pixelColor(bar.toPoint()).red() > 240 && img.pixelColor(bar.toPoint()).blue() == 0);
        const QPointF bottom = t.map(QPointF(250, int(H * 4 / 5) - 60));
        QVERIFY(img.pixelColor(bottom.toPoint()).blue() > 240 && img.pixelColor(bottom.toPoint()).red() == 0);

        // The title is white over a colour plot, red over a grey one.
        auto titleHas = [&](QColor c) {
            const QImage shown = w->picMap->picture();
            for (int y = 0; y < 18; ++y)
                for (int x = shown.width() / 2 - 50; x < shown.width() / 2 + 50; ++x)
                    if (shown.pixelColor(x, y) == c) return true;
            return false;
        };
        QVERIFY(titleHas(QColor(Qt::white)));
        w->cmdShow->click();
        w->optLo->click();
        w->cmdShow->click();
        QVERIFY(titleHas(QColor(255, 0, 0)) && !titleHas(QColor(Qt::white)));
    }

    // The unit word stands inside the scale's black panel on either side,
    // however long the word.
    void unitWordStaysInItsPanel() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        const double W = w->picMap->Width(), H = w->picMap->Height(), yTop = int(H / 5);
        const QTransform t = w->contourCommands->plotTransform();
        const QRgb ground = qRgb(0, 128, 0);
        for (int units : {0, 1, 2})
            for (bool left : {false, true}) {
                w->mnuCoordFeet->setChecked(units == 1);
                w->mnuCoordMeters->setChecked(units == 2);
                QImage img(qRound(W / 15), qRound(H / 15), QImage::Format_RGB32);
                img.fill(ground);
                w->picMap->setPicture(img);
                // Data against the right edge put the scale on the left.
                const float x0 = d.MapOriginX + (left ? 0.6f : 0.f) * d.MapSpanX;
                w->contourCommands->ContourScale(x0, x0 + 0.4f * d.MapSpanX);
                QCOMPARE(d.ScaleSide, left);
                img = w->picMap->picture();
                const QRect band =
                    t.mapRect(QRectF(QPointF(left ? 0 : W - 550, yTop - 500), QPointF(left ? 550 : W, yTop - 120))).toRect();
                int outside = 0, text = 0;
                for (int y = band.top(); y <= band.bottom(); ++y)
                    for (int x = 0; x < img.width(); ++x) {
                        const QRgb c = img.pixel(x, y);
                        if (x < band.left() - 1 || x > band.right() + 1) outside += c != ground;
                        else text += c != qRgb(0, 0, 0) && c != ground;
                    }
                QCOMPARE(outside, 0);
                QVERIFY(text > 10);
            }
    }

    void manualAndFlatScales() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        w->chkMan->click();
        w->txtMax->setText(QStringLiteral("1000"));
        w->txtMin->setText(QStringLiteral("-50x"));
        w->cmdShow->click();
        QCOMPARE(d.ContourMax, 1000.f);
        QCOMPARE(d.ContourMin, -50.f);
        QVERIFY(d.ZMax < 1000 && d.ZMin > -50);
        w->cmdShow->click();
        QVERIFY(w->txtMax->isEnabled());

        // Every value equal: a colour range of no width is painted without
        // a failure, in the bottom colour.
        w->chkMan->click();
        for (int i = 1; i <= d.DatCount; ++i) d.DatumPoints[i].Z = 100;
        for (int i = 1; i <= d.ConCount; ++i) d.ContourPoints[i].Z = 100;
        w->optMed->click();
        w->cmdShow->click();
        QVERIFY(testsupport::dialogs().prompts.empty());
        QVERIFY(d.ContoursCurrent);
        QCOMPARE(d.ContourMin, d.ContourMax);
        const auto [i, j] = middleNode(*w);
        QCOMPARE(pixelAtNode(*w, i, j), QColor(0, 0, 255));
    }

    // The contour lines are drawn over the plot when Show Lines is ticked,
    // and over the map image, with no cells and no scale, under Check Contours.
    void contourLinesOverPlotOrMap() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        std::vector<std::array<float, 6>> calls;
        w->contourCommands->ContourLines = [&](float a, float b, float c, float e, float f, float g) {
            calls.push_back({a, b, c, e, f, g});
        };
        int completed = 0;
        w->contourCommands->plotCompleted = [&] { ++completed; };
        w->cmdShow->click();
        QVERIFY(calls.empty());
        QCOMPARE(completed, 1);
        w->cmdShow->click();
        w->chkLines->click();
        w->cmdShow->click();
        QCOMPARE(calls.size(), size_t(1));
        const DataWindow& win = w->contourCommands->dataWindow();
        QCOMPARE(calls[0], (std::array<float, 6>{w->contourCommands->cellWidth(), w->contourCommands->cellHeight(),
                                                 win.minX, win.maxX, win.minY, win.maxY}));
        QCOMPARE(w->contourCommands->gridPointCount(), w->doc.DatCount + w->doc.ConCount);
        w->cmdShow->click();
        w->chkLines->click();

        w->mnuViewCheck->setChecked(true);
        w->optLo->click();
        w->doc.ScaleSide = false;
        w->cmdShow->click();
        QVERIFY(testsupport::dialogs().prompts.empty());
        QCOMPARE(calls.size(), size_t(2));
        QVERIFY(!w->fr3D->isVisible());
        QVERIFY(!w->doc.ScaleSide); // no scale
        // The map's grid lines (dark green) show through instead of cells.
        const QImage img = w->picMap->picture();
        int green = 0;
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, img.height() / 2);
            green += c.green() > c.red() + 40;
        }
        QVERIFY(green > 0);
        const auto [i, j] = middleNode(*w);
        QCOMPARE(pixelAtNode(*w, i, j).red(), 255);
    }

    void plotReadOutOverTheGrid() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        w->cmdShow->click();
        Document& d = w->doc;
        const auto [i, j] = middleNode(*w);
        const DataPoint& n = d.ContourGrid.at(i, j);
        const QPointF p = w->contourCommands->plotPosition(n.X, n.Y);
        w->mapView->picMap_MouseMove(0, 0, p.x(), p.y());
        const QString z = legacy::Format(n.Z, n.Z < 10 ? QStringLiteral("0.0") : QStringLiteral("0"));
        QVERIFY2(w->picMap->ToolTipText.endsWith(QStringLiteral(";  Z = ") + z), qPrintable(w->picMap->ToolTipText));
        QVERIFY(w->picMap->ToolTipText.startsWith(QStringLiteral("E = ")));
        // Over the colour scale the scale's value is read.
        const double H = w->picMap->Height();
        w->mapView->picMap_MouseMove(0, 0, 200, int(H / 5));
        QCOMPARE(w->picMap->ToolTipText, legacy::Format(d.ContourMax, QStringLiteral("0")));
        // The marker layer shows the plot's tip.
        const double fx = w->picMap->Left() + p.x(), fy = w->picMap->Top() + p.y();
        w->mapView->picMap_MouseMove(0, 0, p.x(), p.y());
        QCOMPARE(w->markers->toolTipAt(fx, fy), w->picMap->ToolTipText);
    }

    void reopenContourPicture() {
        QTemporaryDir dir;
        auto w = startWindow();
        QImage img(300, 200, QImage::Format_RGB32);
        img.fill(Qt::blue);
        const QString path = dir.filePath(QStringLiteral("plot.vlp"));
        QVERIFY(img.save(path, "JPG"));
        auto& dl = testsupport::dialogs();
        dl.queue(path);
        w->mnuFileOpenCon->setEnabled(true);
        w->mnuFileOpenCon->trigger();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].title, QStringLiteral("Open Contour Plot File"));
        QCOMPARE(dl.prompts[0].filter, QStringLiteral("Contour Plot Files (*.vlp)|*.vlp|"));
        Document& d = w->doc;
        QCOMPARE(d.MapFileName, path);
        QCOMPARE(d.DataTitle, QStringLiteral("plot"));
        QCOMPARE(d.DataFileName, dir.filePath(QStringLiteral("plot.vlm")));
        QVERIFY(d.DataChanged);
        QVERIFY(!d.MapRegistered);
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(": plot")));
        QCOMPARE(w->panel(2), QStringLiteral("Map:  plot (no data)"));
        QVERIFY(w->mnuFileSaveAs->isEnabled() && w->cmdSave->isEnabled());
        QVERIFY(!w->optDat->isEnabled() && !w->labConCol->isEnabled());
        QVERIFY(!w->imPoints->picture().isNull());

        // Cancelling leaves the document as it is, with no other prompt.
        d.DataTitle = QStringLiteral("kept");
        dl.clear();
        dl.queue(dlg::Cancel{});
        w->mnuFileOpenCon->trigger();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(d.DataTitle, QStringLiteral("kept"));

        // Once registered, the changed document is offered for saving before
        // another picture replaces it; Cancel keeps it, No replaces it.
        d.MapRegistered = true;
        dl.clear();
        dl.queue(path);
        dl.queue(dlg::Answer::Cancel);
        w->mnuFileOpenCon->trigger();
        QCOMPARE(dl.prompts.size(), size_t(2));
        QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("plot.vlm has changed.")));
        QCOMPARE(d.DataTitle, QStringLiteral("kept"));
        dl.clear();
        dl.queue(path);
        dl.queue(dlg::Answer::No);
        w->mnuFileOpenCon->trigger();
        QCOMPARE(d.DataTitle, QStringLiteral("plot"));
        QCOMPARE(dl.unanswered, 0);
    }
};

VEX_TEST(ContourShowTest);
#include "ContourShowTest.moc"
