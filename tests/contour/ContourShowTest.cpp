// The contour map, its lines and its relief driven in the real main window:
// the Show command's contour road, the plot options, halting, the cells,
// title and scale, Show 3D and reopening a contour picture.
#include "common/TestRegistry.h"
#include "map/MapTestSupport.h"

#include "contour/ContourCommands.h"
#include "contour/ContourLineCommands.h"
#include "exchange/ExportCommands.h"
#include "platform/ImagingObject.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

using namespace maptest;

namespace {

// A registered 600 x 400 map in metres, E 1000..3000 and N 4000..2000 at a
// fifth and four fifths of it, with 30 structural points over that square,
// Z rising to the north-east (isopach: 0 in the first column).
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

// The plot's pixel at a node; the middle node lies inside the data window.
QColor pixelAt(MainWindow& w, int i, int j) {
    const DataPoint& n = w.doc.ContourGrid.at(i, j);
    const QPointF p = w.contourCommands->plotTransform().map(w.contourCommands->plotPosition(n.X, n.Y));
    return w.picMap->picture().pixelColor(p.toPoint());
}
QColor middlePixel(MainWindow& w) { return pixelAt(w, w.doc.GridCols / 2, w.doc.GridRows / 2); }

QString firstPrompt() {
    const auto& p = testsupport::dialogs().prompts;
    return p.empty() ? QString() : p.front().text;
}

} // namespace

class ContourShowTest : public QObject {
    Q_OBJECT
    std::function<void()> savedPump;
private slots:
    void init() { savedPump = MainWindow::DoEvents; }
    void cleanup() {
        MainWindow::DoEvents = savedPump;
        ContourCommands::pumpIntervalMs = 30;
    }

    void showAndBack() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        w->optLo->click();
        w->cmdShow->click();
        QCOMPARE(firstPrompt(), QString());
        QVERIFY(w->imPoints->isHidden() && !w->picMap->isHidden() && d.ContoursCurrent && !d.MapBusy);
        QCOMPARE((std::array{d.ContourDetail, d.GridCols, d.GridRows, d.ContourGrid.cols()}), (std::array{50, 50, 50, 50}));
        QVERIFY(d.ZMin > 0 && d.ZMin < d.ZMax && d.ContourMin == d.ZMin && d.ContourMax == d.ZMax);
        QCOMPARE(w->panel(2), QStringLiteral("Vexolan: Ridge (Contour map)"));
        QCOMPARE(w->labText->text() + '|' + w->cmdShow->text() + '|' + w->cmdShow->toolTip(),
                 QStringLiteral("Contour Map|Show Points|Click to show contour points"));
        QVERIFY(!w->txtConDet->isEnabled() && !w->optStruc->isEnabled() && !w->cmdZoomIn->isEnabled());
        QVERIFY(!w->markers->labDat[1].Visible && !w->markers->labRef[1].Visible && w->mnuViewShowCon->isChecked());
        QVERIFY(!w->ProgressBar1->isVisible() && w->fr3D->isVisible()); // Gray-3D at detail 50 offers the relief
        w->cmdShow->click();
        QVERIFY(!w->imPoints->isHidden() && w->picMap->isHidden() && !w->fr3D->isVisible());
        QCOMPARE(w->cmdShow->text() + '|' + w->cmdShow->toolTip(), QStringLiteral("Show Contours|Click to show contour map"));
        QVERIFY(w->markers->labDat[1].Visible && w->mnuViewShowMap->isChecked() && w->mnuOpt->menuAction()->isEnabled());
        QVERIFY(w->optStruc->isEnabled() && !w->optIso->isEnabled() && w->txtConDet->isEnabled() && !w->txtMax->isEnabled());
        // At page zoom, page and zoom out stay off.
        QVERIFY(!w->cmdZoomPage->isEnabled() && !w->mnuViewZoomOut->isEnabled() && w->cmdZoomIn->isEnabled());
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    // A current plot is shown again as it is; every option makes it out of date.
    void recomputesOnlyWhenOutOfDate() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        w->cmdShow->click();
        DataPoint& node = d.ContourGrid.at(25, 25);
        const float z = node.Z;
        node.Z = -1;
        w->cmdShow->click();
        w->cmdShow->click();
        QCOMPARE(node.Z, -1.f);
        w->cmdShow->click();
        for (const std::function<void()>& change : std::initializer_list<std::function<void()>>{
                 [&] { w->optHi->click(); }, [&] { w->optMed->click(); }, [&] { w->optLo->click(); },
                 [&] { w->chkLines->click(); }, [&] { w->txtMax->setText("12"); }, [&] { w->txtMin->setText("3"); },
                 [&] { w->chkMan->click(); }}) {
            d.ContoursCurrent = true;
            change();
            QVERIFY(!d.ContoursCurrent);
        }
        QVERIFY(w->txtMax->isEnabled() && w->labMax->isEnabled() && w->txtMin->isEnabled());
        w->chkMan->click();
        QVERIFY(!w->txtMax->isEnabled() && !w->labMin->isEnabled());
        w->chkLines->click();
        w->cmdShow->click();
        QVERIFY(d.ContoursCurrent && d.ContourGrid.at(25, 25).Z == z);
    }

    // Halt Show stops after the slice under way and goes back to the map;
    // the next Show computes the whole plot, the progress bar moving on.
    void haltDuringGridding() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.ContourDetail = 500;
        ContourCommands::pumpIntervalMs = 0;
        std::vector<int> progress;
        QString caption;
        MainWindow::DoEvents = [&] {
            if (!w->ProgressBar1->isVisible()) return;
            progress.push_back(w->ProgressBar1->value());
            if (progress.back() > 0 && caption.isEmpty()) {
                caption = w->cmdShow->text();
                w->cmdShow->click();
                QVERIFY(d.ShowInterrupt && w->imPoints->isHidden()); // the request only sets the flag
            }
        };
        w->cmdShow->click();
        QCOMPARE(caption, QStringLiteral("Halt Show"));
        QVERIFY(progress.back() > 0 && progress.back() < 100 && !d.ContoursCurrent && !d.MapBusy);
        QVERIFY(!w->imPoints->isHidden() && w->picMap->isHidden() && w->mnuFile->menuAction()->isEnabled());
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contours"));
        const int last = d.GridCols * 3 / 4;
        QVERIFY(d.ContourGrid.at(last, d.GridRows / 2).Z == 0 && testsupport::dialogs().prompts.empty());
        progress.clear();
        w->cmdShow->click();
        QVERIFY(d.ContoursCurrent && !w->picMap->isHidden() && d.ContourGrid.at(last, d.GridRows / 2).Z != 0);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()) && progress.size() >= 3 && progress.back() == 100);
    }

    // Combining the second data set while the plot is gridded would change
    // the points under a plot then taken for current: the button waits.
    void combiningWaitsForTheGridding() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.OtherPoints.assign(4, DataPoint{});
        for (int k = 1; k <= 3; ++k) d.OtherPoints[size_t(k)] = {int16_t(k), 1500.0f * k, 2500.0f, 7.0f * k, false};
        d.OtherCount = 3;
        d.OtherDataOpen = true;
        w->cmdConDat[1]->setEnabled(true);
        const float z1 = d.DatumPoints[1].Z;
        ContourCommands::pumpIntervalMs = 0;
        bool enabledWhileGridding = false;
        MainWindow::DoEvents = [&] {
            if (enabledWhileGridding || !w->ProgressBar1->isVisible() || !d.MapBusy) return;
            enabledWhileGridding = w->cmdConDat[1]->isEnabled();
            w->cmdConDat[1]->click();
        };
        w->cmdShow->click();
        QVERIFY(enabledWhileGridding && d.DatumPoints[1].Z == z1 && !d.DatumPoints[1].Combined);
        QVERIFY(d.DataTitle == QStringLiteral("Ridge") && d.ContoursCurrent && !d.MapBusy);
        QCOMPARE(firstPrompt(), QString());
        MainWindow::DoEvents = [] {};
        w->exportCommands->cmdConDat_Click(1);
        QVERIFY(d.DatumPoints[1].Combined && d.DataTitle.endsWith(QStringLiteral("--converted")));
    }

    // A failure the plot does not report itself goes on to the application;
    // the window it leaves has its menus back and is not busy.
    void unexpectedFailureHandsTheWindowBack() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        MainWindow::DoEvents = [] { throw std::runtime_error("pump failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, w->contourCommands->ContourShow());
        QVERIFY(!w->doc.MapBusy && w->mnuFile->menuAction()->isEnabled() && w->mnuOpt->menuAction()->isEnabled());
        QVERIFY(!w->ProgressBar1->isVisible() && w->cursor().shape() != Qt::BusyCursor);
    }

    // Typing sets the detail unchecked; the plot holds it within 10..500 and
    // the spin bar, resting at 0, moves it one step.
    void detailTextAndSpinBar() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.DataChanged = false;
        auto type = [&](const char* text) {
            w->txtConDet->selectAll();
            QTest::keyClicks(w->txtConDet, text);
        };
        type("5");
        QVERIFY(d.ContourDetail == 5 && d.DataChanged);
        w->cmdShow->click();
        QVERIFY(d.ContourDetail == 10 && w->txtConDet->text() == "10" && d.GridRows == 10 && !w->fr3D->isVisible());
        w->cmdShow->click();
        type("900");
        w->cmdShow->click();
        QCOMPARE(w->txtConDet->text(), QStringLiteral("500"));
        w->cmdShow->click();
        w->VScroll2->setValue(1);
        QVERIFY(d.ContourDetail == 499 && w->txtConDet->text() == "499" && w->VScroll2->value() == 0);
        type("10");
        w->VScroll2->setValue(1);
        QCOMPARE(d.ContourDetail, 10);
        w->VScroll2->setValue(-1);
        QCOMPARE(d.ContourDetail, 11);
        type("99999999"); // beyond the whole-number range: held at its end
        QCOMPARE(d.ContourDetail, 32767);
        // The text boxes select their whole text on focus.
        w->chkMan->click();
        for (QLineEdit* e : {w->txtConDet, w->txtMax, w->txtMin}) {
            e->setText(QStringLiteral("123"));
            QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(e, &in);
            QTRY_COMPARE(e->selectedText(), QStringLiteral("123"));
        }
    }

    // A point exactly on a grid node (a grid read back puts one on every
    // node) gives that node its value, the first point's of two, and the
    // plot completes, the cells in the ramp's colours of the typed scale.
    void cellColours() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        PointGrid g;
        layGrid(g, gridGeometry(50, d.MapSpanX, d.MapSpanY), d.MapOriginX, d.MapOriginY);
        addPoint(*w, true, 99, g.at(20, 20).X, g.at(20, 20).Y, 50);
        addPoint(*w, false, 98, g.at(20, 20).X, g.at(20, 20).Y, 70);
        w->optHi->click();
        w->chkMan->click();
        w->txtMax->setText(QStringLiteral("100"));
        w->txtMin->setText(QStringLiteral("-0x"));
        w->cmdShow->click();
        QCOMPARE(firstPrompt(), QString());
        QVERIFY(d.ContoursCurrent && d.ContourGrid.at(20, 20).Z == 50 && d.ContourMax == 100 && d.ContourMin == 0);
        QCOMPARE(pixelAt(*w, 20, 20), QColor(32, 255, 0));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("ridge-3D.bmp"))) && !w->fr3D->isVisible());
        // An isopach's zero nodes are black; a range of no width takes the
        // bottom colour.
        w.reset();
        for (bool isopach : {true, false}) {
            auto v = plotWindow(dir, isopach);
            for (int i = 1; i <= v->doc.DatCount; ++i) v->doc.DatumPoints[i].Z = isopach ? 0 : 100;
            for (int i = 1; i <= v->doc.ConCount; ++i) v->doc.ContourPoints[i].Z = isopach ? 0 : 100;
            v->optMed->click();
            v->cmdShow->click();
            QVERIFY(testsupport::dialogs().prompts.empty() && v->doc.ContoursCurrent);
            QCOMPARE(middlePixel(*v), isopach ? QColor(0, 0, 0) : QColor(0, 0, 255));
        }
    }

    // The Gray-3D plot leaves its plan picture without the title and a small
    // copy on disk.  On a map drawn longer down than across the cells still
    // meet: no blank stripe.  The lines come in red; Show 3D shades the plan.
    void grayPlotAndRelief() {
        QTemporaryDir dir;
        auto w = plotWindow(dir, false, {400, 600});
        Document& d = w->doc;
        auto* c = w->contourLineCommands;
        w->optLo->click();
        w->chkMan->click(); // a scale far above the data keeps every cell darker than white
        w->txtMax->setText(QStringLiteral("100000"));
        w->txtMin->setText(QStringLiteral("0"));
        int red[2] = {0, 0};
        for (int detail : {173, 50}) {
            d.ContourDetail = detail;
            d.ContoursCurrent = false;
            w->chkLines->setChecked(detail == 50);
            w->cmdShow->click();
            QCOMPARE(firstPrompt(), QString());
            const QImage plan = w->picPlanImgX->picture(), shown = w->picMap->picture();
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) red[detail == 50] += shown.pixel(x, y) == qRgb(255, 0, 0);
            QVERIFY(plan.pixel(plan.width() / 2, 2) != w->picMap->picture().pixel(plan.width() / 2, 2));
            const QColor m = middlePixel(*w);
            QVERIFY(m.red() == m.green() && m.green() == m.blue() && m.red() >= 55);
            // The data window less one cell all round lies inside the cells.
            const DataWindow& win = w->contourCommands->dataWindow();
            const double across = double(plan.width()) / (d.GridCols + 1), down = double(plan.height()) / (d.GridRows + 1);
            QVERIFY(down > across * 1.3);
            const QRect inner = w->contourCommands->plotTransform()
                                    .mapRect(QRectF(w->contourCommands->plotPosition(win.minX, win.maxY),
                                                    w->contourCommands->plotPosition(win.maxX, win.minY)))
                                    .adjusted(across + 1, down + 1, -across - 1, -down - 1)
                                    .toRect();
            for (int y = inner.top(); y <= inner.bottom(); ++y)
                for (int x = inner.left(); x <= inner.right(); ++x) QVERIFY(plan.pixel(x, y) != qRgb(255, 255, 255));
            w->cmdShow->click();
        }
        QVERIFY(red[1] > red[0] + 1000 && c->Triangles.size() > 100);
        w->cmdShow->click();
        ImagingObject small;
        small.load(dir.filePath(QStringLiteral("ridge-3D.bmp")));
        QCOMPARE(small.width(), 180);
        const QImage plot = w->picMap->picture();
        QVERIFY(w->fr3D->isVisibleTo(w.get()) && c->cmd3d->text() == QStringLiteral("Show 3D") && !w->TopoDone);
        int pumps = 0, titles = 0;
        MainWindow::DoEvents = [&] { ++pumps; };
        c->contourTitle = [&](int scheme) { titles += scheme == 1; };
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        const QImage relief = w->picMap->picture();
        QVERIFY(c->cmd3d->text() == QStringLiteral("Show 2D") && w->TopoDone && titles == 1 && pumps > 30);
        QVERIFY(relief != plot && w->picTopoImgX->picture() == relief && w->picImgX->picture() == plot);
        QCOMPARE((std::array{w->TopoCols, w->TopoRows, c->TopoGrid.cols()}), (std::array{100, 150, 100}));
        // Back to the plot, then the kept relief without shading again.
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(w->picMap->picture() == plot && c->cmd3d->text() == QStringLiteral("Show 3D"));
        pumps = 0;
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(w->picMap->picture() == relief && pumps == 0 && titles == 1);
        // Another light while the relief is shown shades it again at once;
        // while the plot is shown a change waits.
        c->cmbIllum->setCurrentIndex(2);
        emit c->cmbIllum->activated(2);
        const QImage fromLeft = w->picMap->picture();
        QVERIFY(titles == 2 && fromLeft != relief && w->picTopoImgX->picture() == fromLeft);
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        emit c->cmbContrast->activated(4);
        QVERIFY(titles == 2 && w->picMap->picture() == plot);
        QVERIFY(c->cmd3d->isEnabled() && c->cmbIllum->isEnabled() && testsupport::dialogs().prompts.empty());
    }

    // The title box at the top, white over colours and red over grey; the
    // scale beside the data with the ramp's ends; the unit word inside the
    // scale's black panel on either side, however long the word.
    void titleAndScale() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        Document& d = w->doc;
        const QTransform t = w->contourCommands->plotTransform();
        const double W = w->picMap->Width(), H = w->picMap->Height(), yTop = int(H / 5);
        auto titleHas = [&](QColor c) {
            const QImage shown = w->picMap->picture();
            for (int y = 0; y < 18; ++y)
                for (int x = shown.width() / 2 - 50; x < shown.width() / 2 + 50; ++x)
                    if (shown.pixelColor(x, y) == c) return true;
            return false;
        };
        w->optMed->click();
        w->cmdShow->click();
        const QImage img = w->picMap->picture();
        QCOMPARE(img.pixelColor(img.width() / 2 - 40, 1), QColor(Qt::black));
        QVERIFY(titleHas(Qt::white) && d.ScaleSide); // more room left of the data
        // Near the top of the Low Color bar, a few pixels in, red; near its bottom blue.
        const QColor top = img.pixelColor(t.map(QPointF(250, yTop + 60)).toPoint()),
                     bottom = img.pixelColor(t.map(QPointF(250, int(H * 4 / 5) - 60)).toPoint());
        QVERIFY(top.red() > 240 && top.blue() == 0 && bottom.blue() > 240 && bottom.red() == 0);
        w->cmdShow->click();
        w->optLo->click();
        w->cmdShow->click();
        QVERIFY(titleHas(QColor(255, 0, 0)) && !titleHas(Qt::white));
        const QRgb ground = qRgb(0, 128, 0);
        for (int units : {0, 1, 2})
            for (bool left : {false, true}) {
                w->mnuCoordFeet->setChecked(units == 1);
                w->mnuCoordMeters->setChecked(units == 2);
                QImage blank(qRound(W / 15), qRound(H / 15), QImage::Format_RGB32);
                blank.fill(ground);
                w->picMap->setPicture(blank);
                // Data against the right edge put the scale on the left.
                const float x0 = d.MapOriginX + (left ? 0.6f : 0.f) * d.MapSpanX;
                w->contourCommands->ContourScale(x0, x0 + 0.4f * d.MapSpanX);
                QCOMPARE(d.ScaleSide, left);
                const QImage drawn = w->picMap->picture();
                const QRect band =
                    t.mapRect(QRectF(QPointF(left ? 0 : W - 550, yTop - 500), QPointF(left ? 550 : W, yTop - 120))).toRect();
                int outside = 0, text = 0;
                for (int y = band.top(); y <= band.bottom(); ++y)
                    for (int x = 0; x < drawn.width(); ++x) {
                        const QRgb c = drawn.pixel(x, y);
                        if (x < band.left() - 1 || x > band.right() + 1) outside += c != ground;
                        else text += c != qRgb(0, 0, 0) && c != ground;
                    }
                QVERIFY(outside == 0 && text > 10);
            }
    }

    // Under Check Contours the lines are drawn over the map image, with no
    // cells and no scale, at a typed interval; a mesh that overfills the
    // triangle table is reported and leaves the picture without lines.
    void checkContours() {
        QTemporaryDir dir;
        auto w = plotWindow(dir);
        auto* c = w->contourLineCommands;
        int completed = 0;
        w->contourCommands->plotCompleted = [&] { ++completed; };
        w->mnuViewCheck->setChecked(true);
        w->optLo->click();
        testsupport::dialogs().queue(QStringLiteral("50"));
        w->cmdShow->click();
        const auto& prompts = testsupport::dialogs().prompts;
        QVERIFY(prompts.size() == 1 && prompts[0].text == "Enter contour interval:" && prompts[0].defaultText == "25");
        QVERIFY(c->ContourInterval == 50 && completed == 1 && !w->fr3D->isVisible());
        const QImage img = w->picMap->picture();
        QVERIFY(img.pixelColor(5, img.height() / 2) != QColor(Qt::black)); // no scale panel
        int green = 0, red = 0;
        for (int x = 0; x < img.width(); ++x)
            for (int y = 20; y < img.height(); ++y) {
                const QColor p = img.pixelColor(x, y);
                green += p.green() > p.red() + 40;
                red += p == QColor(255, 0, 0);
            }
        QVERIFY(green > 100 && red > 100);
        // Without disturbance each cell's nodes lie on one circle.
        w->cmdShow->click();
        w->mnuViewCheck->setChecked(false);
        w->chkLines->click();
        c->random = [] { return 1.0; };
        testsupport::dialogs().clear();
        w->cmdShow->click();
        QCOMPARE(firstPrompt(), QStringLiteral("ContourShow error: \n\nSubscript out of range"));
        QVERIFY(!w->doc.ContoursCurrent && completed == 1);
    }

    // Relief errors are reported and leave the controls usable.
    void reliefErrors() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        auto& dialogs = testsupport::dialogs();
        w->picMap->Move(0, 0, 9000, 3000);
        c->TopoGrid = relief::TopoGrid(0, 0); // no cells: the pen width divides by zero
        c->ContourTopo(1);
        QVERIFY(w->TopoDone && dialogs.prompts.size() == 1 && dialogs.prompts[0].icon == dlg::Icon::Exclamation);
        QCOMPARE(firstPrompt(), QStringLiteral("PlotTopoPlot error: \nDivision by zero"));
        dialogs.clear();
        w->TopoDone = false;
        w->picMap->Move(0, 0, 0, 0); // a plot without size cannot be sampled
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(firstPrompt().startsWith(QStringLiteral("Show 3D error: ")) && c->cmd3d->isEnabled() && c->cmbIllum->isEnabled());
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
        QVERIFY(dl.prompts.size() == 1 && dl.prompts[0].title == QStringLiteral("Open Contour Plot File"));
        QCOMPARE(dl.prompts[0].filter, QStringLiteral("Contour Plot Files (*.vlp)|*.vlp|"));
        Document& d = w->doc;
        QVERIFY(d.MapFileName == path && d.DataTitle == "plot" && d.DataFileName == dir.filePath("plot.vlm"));
        QVERIFY(d.DataChanged && !d.MapRegistered && w->windowTitle().endsWith(QStringLiteral(": plot")));
        QCOMPARE(w->panel(2), QStringLiteral("Map:  plot (no data)"));
        QVERIFY(w->cmdSave->isEnabled() && !w->optDat->isEnabled() && !w->imPoints->picture().isNull());
        // Cancelling the file leaves the document; once registered, a changed
        // document is offered for saving first: Cancel keeps it, No replaces it.
        d.DataTitle = QStringLiteral("kept");
        d.MapRegistered = true;
        for (int step = 0; step < 3; ++step) {
            dl.clear();
            if (step == 0) dl.queue(dlg::Cancel{});
            else dl.queue(path), dl.queue(step == 1 ? dlg::Answer::Cancel : dlg::Answer::No);
            w->mnuFileOpenCon->trigger();
            QCOMPARE(dl.prompts.size(), size_t(step ? 2 : 1));
            QCOMPARE(d.DataTitle, QString::fromLatin1(step < 2 ? "kept" : "plot"));
        }
        QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("plot.vlm has changed.")) && dl.unanswered == 0);
    }
};

VEX_TEST(ContourShowTest);
#include "ContourShowTest.moc"
