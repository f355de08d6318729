// The contour map, its lines and its relief driven in the real main window:
// the Show command's contour road, the plot options, halting, the cells,
// title and scale, Show 3D and reopening a contour picture.
#include "common/TestRegistry.h"
#include "common/DigitizeSupport.h"
#include "common/MapSupport.h"

#include "contour/ContourCommands.h"
#include "contour/ContourLineCommands.h"
#include "digitize/ContactDisplay.h"
#include "exchange/ExportCommands.h"
#include "platform/ImagingObject.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <random>
#include <stdexcept>

using namespace maptest;

namespace {

// A registered map in metres, E 1000..3000 and N 4000..2000 at a fifth and
// four fifths of it, with 30 structural points over that square (or the
// first `points` of them), Z rising to the north-east.
std::unique_ptr<MainWindow> plotWindow(const QTemporaryDir& dir, QSize size = {600, 400}, int points = 30) {
    auto w = startWindow();
    importMap(*w, writeMap(dir, QStringLiteral("ridge.png"), size.width(), size.height()));
    registerLinear(*w);
    w->optStruc->setEnabled(true);
    w->optStruc->setValue(true);
    w->doc.DataTitle = QStringLiteral("Ridge");
    w->doc.DataFileName = dir.filePath(QStringLiteral("ridge.vlm"));
    for (int n = 0; n < points; ++n) {
        const int i = n / 5, j = n % 5;
        const float x = 1010 + i * 390 + (j % 2) * 45, y = 2020 + j * 480 + (i % 3) * 30;
        addPoint(*w, n % 2 == 0, n + 1, x, y, (x - 1000) / 10 + (y - 2000) / 20);
    }
    // As recording the first point does.
    for (QWidget* c : std::initializer_list<QWidget*>{w->labCond, w->txtConDet, w->VScroll2, w->chkMan, w->chkLines,
                                                      w->optLo, w->optMed, w->optHi})
        c->setEnabled(true);
    testsupport::dialogs().clear();
    return w;
}

// The plot's pixel at a node (by default the middle one, inside the data).
QColor pixelAt(MainWindow& w, int i = 0, int j = 0) {
    const DataPoint& n = w.doc.ContourGrid.at(i ? i : w.doc.GridCols / 2, j ? j : w.doc.GridRows / 2);
    return w.picMap->picture().pixelColor(
        w.contourCommands->plotTransform().map(w.contourCommands->plotPosition(n.X, n.Y)).toPoint());
}

int countPixels(const QImage& img, QRect area, const std::function<bool(QColor)>& test) {
    int n = 0;
    area &= img.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += test(img.pixelColor(x, y));
    return n;
}

// Pixels of the scale's numbers: light text over the panel and the bar, below
// the unit word.  No colour of the bar has all three components above 128.
int scaleNumberPixels(MainWindow& w) {
    const double W = w.picMap->Width(), H = w.picMap->Height();
    const int top = int(H / 5), bottom = int(H * 4 / 5);
    const QRectF rows(w.doc.ScaleSide ? 0 : W - 550, top - 150, 550, bottom - top + 350);
    return countPixels(w.picMap->picture(), w.contourCommands->plotTransform().mapRect(rows).toRect(),
                       [](QColor p) { return std::min({p.red(), p.green(), p.blue()}) > 128; });
}

// The texts of the prompts shown, "|" between them.
QString prompts() {
    QStringList texts;
    for (const auto& p : testsupport::dialogs().prompts) texts << p.text;
    return texts.join(u'|');
}

// The texts the Show command writes, the View menu's ticks, and which of
// the controls it enables and shows, one line each.
QString showState(MainWindow& w) {
    auto names = [&](const char* list, auto has) {
        QStringList out;
        for (const QString& n : QString::fromLatin1(list).split(u' ')) {
            QObject* o = w.findChild<QObject*>(n);
            if (!o) return QStringLiteral("no ") + n;
            if (auto* m = qobject_cast<QMenu*>(o)) o = m->menuAction();
            if (has(o)) out << n;
        }
        return out.join(u' ');
    };
    const auto enabled = [](QObject* o) { return o->property("enabled").toBool(); };
    const auto shown = [](QObject* o) { return !static_cast<QWidget*>(o)->isHidden(); };
    return w.cmdShow->text() + " / " + w.cmdShow->toolTip() + " / " + w.mnuViewShowCon->text() +
           (w.mnuViewShowCon->isChecked() ? "*" : "") + (w.mnuViewShowMap->isChecked() ? " / Points*" : "") +
           "\nenabled: " +
           names("optRock optStruc optIso optDat optCon labDatCol labConCol labCond txtConDet VScroll2 chkMan "
                 "chkLines txtMax txtMin labMax labMin optLo optMed optHi cmdConRun cmdZoomIn mnuViewZoomIn mnuOpt",
                 enabled) +
           "\nshown: " +
           names("imPoints imContacts picMap labShow UpDown1 cmdShowContact cmbShow HScroll1 VScroll1", shown);
}

// Contact data on a registered map in linear feet: three contacts of three,
// three and four points recorded by clicks, Manual Scale ticked.
std::unique_ptr<MainWindow> contactWindow(const QTemporaryDir& dir) {
    auto w = startWindow();
    importMap(*w, writeMap(dir, QStringLiteral("faults.png"), 600, 400));
    registerLinear(*w, 1000, 4000, 3000, 2000, &MainWindow::mnuCoordFeet);
    QTest::mouseClick(w->optRock, Qt::LeftButton, {}, QPoint(8, w->optRock->height() / 2));
    w->doc.DataTitle = QStringLiteral("Faults");
    const double W = w->imPoints->Width(), H = w->imPoints->Height();
    const std::pair<double, double> ring[] = {{0.1, 0.1}, {0.2, 0.1}, {0.15, 0.2}, {0.2, 0.25}};
    for (int contact = 1; contact <= 3; ++contact)
        for (int k = 0; k < (contact == 3 ? 4 : 3); ++k)
            testsupport::recordAt(*w, W * (ring[k].first + 0.25 * contact), H * (ring[k].second + 0.2 * contact),
                                  QString::number(contact));
    w->chkMan->setChecked(true);
    testsupport::dialogs().clear();
    return w;
}

} // namespace

class ContourShowTest : public QObject {
    Q_OBJECT
    std::function<void()> savedPump;
    QTemporaryDir dir;
private slots:
    void init() { savedPump = MainWindow::DoEvents; }
    void cleanup() {
        MainWindow::DoEvents = savedPump, ContourCommands::pumpIntervalMs = 30, ContactDisplay::pumpIntervalMs = 30;
    }

    // There and back, then a current plot shown again as it is; every
    // option makes it out of date.  Typing sets the detail unchecked, beyond
    // the whole numbers held at their end; the plot brings it within 10..500
    // and the spin bar, resting at 0, moves it one step.
    void showAndBack() {
        auto w = plotWindow(dir);
        Document& d = w->doc;
        w->optLo->click();
        w->cmdShow->click();
        QVERIFY(prompts().isEmpty() && w->imPoints->isHidden() && !w->picMap->isHidden() && d.ContoursCurrent);
        QVERIFY(d.ContourDetail == 50 && d.GridCols == 50 && d.GridRows == 50 && d.ZMin > 0 && d.ZMin < d.ZMax &&
                d.ContourMin == d.ZMin && d.ContourMax == d.ZMax);
        QCOMPARE(w->panel(2) + '|' + w->labText->text() + '|' + w->cmdShow->text() + '|' + w->cmdShow->toolTip(),
                 QStringLiteral("Vexolan: Ridge (Contour map)|Contour Map|Show Points|Click to show contour points"));
        QVERIFY(!w->txtConDet->isEnabled() && !w->optStruc->isEnabled() && !w->cmdZoomIn->isEnabled() &&
                !w->markers->labDat[1].Visible && w->mnuViewShowCon->isChecked() && w->fr3D->isVisible());
        w->cmdShow->click();
        QVERIFY(!w->imPoints->isHidden() && w->picMap->isHidden() && !w->fr3D->isVisible() &&
                w->markers->labDat[1].Visible && w->mnuViewShowMap->isChecked() &&
                w->cmdShow->text() + '|' + w->cmdShow->toolTip() == "Show Contours|Click to show contour map");
        // At page zoom, page and zoom out stay off; the kind stays as the points have it.
        QVERIFY(!w->cmdZoomPage->isEnabled() && w->cmdZoomIn->isEnabled() && w->optStruc->isEnabled() &&
                !w->optIso->isEnabled() && w->txtConDet->isEnabled() && !w->txtMax->isEnabled());
        d.ContourGrid.at(25, 25).Z = -1;
        w->cmdShow->click();
        w->cmdShow->click();
        QVERIFY(d.ContourGrid.at(25, 25).Z == -1 && d.ContoursCurrent);
        for (QWidget* option : std::initializer_list<QWidget*>{w->optHi, w->optMed, w->optLo, w->chkLines, w->chkLines,
                                                              w->txtMax, w->txtMin, w->chkMan, w->chkMan}) {
            d.ContoursCurrent = true;
            if (auto* e = qobject_cast<QLineEdit*>(option)) e->setText(e->text() + '1');
            else static_cast<QAbstractButton*>(option)->click();
            QVERIFY(!d.ContoursCurrent && w->txtMax->isEnabled() == w->chkMan->isChecked());
        }
        auto type = [&](const char* text) {
            w->txtConDet->selectAll();
            QTest::keyClicks(w->txtConDet, text);
            return d.ContourDetail;
        };
        d.DataChanged = false;
        QVERIFY(type("99999999") == 32767 && type("5") == 5 && d.DataChanged);
        w->cmdShow->click();
        QVERIFY(d.ContoursCurrent && d.ContourDetail == 10 && w->txtConDet->text() == "10" && d.GridRows == 10 &&
                !w->fr3D->isVisible() && prompts().isEmpty());
        w->cmdShow->click();
        w->VScroll2->setValue(-1);
        QVERIFY(d.ContourDetail == 11 && w->txtConDet->text() == "11" && w->VScroll2->value() == 0);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason); // the text boxes select their text on focus
        QCoreApplication::sendEvent(w->txtConDet, &in);
        QTRY_COMPARE(w->txtConDet->selectedText(), QStringLiteral("11"));
    }

    // Contact data takes the Show command's one road: while the lines are
    // drawn the status says so and the map's commands wait; the plot view
    // shows the contact bar; back in the map view the contact options and
    // the scale and scheme options come back.  Halt Show, pressed while the
    // lines are laid (events run after every segment here), touches nothing
    // and stops after the segment under way; the road then goes back to the
    // map and the lines are not current.  The bar's Show, pressed then, is
    // refused and leaves no choice behind for the next "Show...", which
    // asks.  The bar goes with the contact data: once the points are
    // removed and isopachs are recorded it is not there.
    void contactRoad() {
        auto w = contactWindow(dir);
        Document& d = w->doc;
        QCOMPARE(d.DatCount, 10);
        ContactDisplay::pumpIntervalMs = 0;
        QMap<QString, QString> seen;
        int haltAt = 0;
        MainWindow::DoEvents = [&] {
            if (d.ContactLineCount != 3 || !w->imPoints->isHidden() || !d.MapBusy) return;
            seen["drawing"] = w->panel(2) + '\n' + showState(*w);
            if (!haltAt) {
                w->cmbShow->setCurrentIndex(w->cmbShow->findText(QStringLiteral("2")));
                QTest::mouseClick(w->cmdShowContact, Qt::LeftButton);
                seen["refused show"] =
                    QStringLiteral("choice kept %1, shown %2").arg(w->ContactShowMode).arg(d.ContactShown);
                return;
            }
            seen["before halt"] = showState(*w);
            QTest::mouseClick(w->cmdShow, Qt::LeftButton);
            seen["after halt"] = showState(*w);
            QVERIFY(d.ShowInterrupt && d.ContactLineCount == haltAt);
        };
        const QString map = "Show Contacts / Click to show contact map / Contacts / Points*\n"
                            "enabled: optRock optDat labDatCol txtMax txtMin labMax labMin optLo optMed optHi "
                            "cmdConRun cmdZoomIn mnuViewZoomIn mnuOpt\n"
                            "shown: imPoints labShow UpDown1 cmdShowContact cmbShow";
        QTest::mouseClick(w->cmdShow, Qt::LeftButton);
        seen["plot"] = w->panel(2) + '\n' + showState(*w);
        QVERIFY(d.ContactLineCount == 10 && d.ContoursCurrent && w->labText->text() == "All Contacts: Map");
        w->mnuViewShowMap->trigger();
        seen["map"] = showState(*w);
        QVERIFY(!w->markers->LineCon[1].Visible && w->markers->labDat[10].Visible);
        haltAt = 3;
        QTest::mouseClick(w->cmdShow, Qt::LeftButton);
        seen["halted"] = showState(*w);
        QVERIFY(d.ContactLineCount == 3 && !d.ContoursCurrent && w->markers->labDat[10].Visible);
        QVERIFY(testsupport::dialogs().prompts.empty());
        w->mnuViewShowContactShow->trigger(); // unanswered: nothing changes
        seen["next show"] = prompts();
        testsupport::dialogs().queue(dlg::Answer::Yes);
        emit w->mnuOpt->aboutToShow();
        w->mnuOptClearAll->trigger();
        seen["removed"] = showState(*w).section(u'\n', 2);
        for (QWidget* option : std::initializer_list<QWidget*>{w->optIso, w->optDat})
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
        testsupport::recordAt(*w, w->imPoints->Width() / 2, w->imPoints->Height() / 2, QStringLiteral("12"));
        seen["isopachs"] =
            QStringLiteral("isopachs %1, points %2, ").arg(w->optIso->isChecked()).arg(d.DatCount) +
            showState(*w).section(u'\n', 2);

        const std::pair<const char*, QString> expected[] = {
            {"drawing", "Vexolan: Faults (Drawing contact map...)\n"
                        "Halt Show / Click to stop line calculation / Contacts*\n"
                        "enabled: \n"
                        "shown: labShow cmdShowContact cmbShow"},
            {"plot", "Vexolan: Faults (Contour map)\n"
                     "Show Points / Click to show contour points / Contacts*\n"
                     "enabled: \n"
                     "shown: imContacts labShow cmdShowContact cmbShow"},
            {"map", map},
            {"before halt", seen["after halt"]},
            {"halted", map},
            {"refused show", "choice kept 0, shown All"},
            {"next show", "Enter designator number for the contact you wish to display"},
            {"removed", "shown: imPoints"},
            {"isopachs", "isopachs 1, points 1, shown: imPoints"},
        };
        for (const auto& [phase, state] : expected) QCOMPARE(phase + QStringLiteral(": ") + seen[phase], phase + QStringLiteral(": ") + state);
    }

    // While the plot is gridded, combining the second data set waits (it
    // would change the points under a plot then taken for current) and Halt
    // Show stops after the slice under way, back to the map; the next Show
    // computes the whole plot, the progress bar moving on, and then the
    // button combines.  A failure the plot does not report itself still
    // hands the window back.
    void haltAndCombineDuringGridding() {
        auto w = plotWindow(dir);
        Document& d = w->doc;
        d.OtherPoints = {{}, {1, 1500, 2500, 7, false}, {2, 3000, 2500, 14, false}};
        d.OtherCount = 2;
        d.OtherDataOpen = true;
        w->cmdConDat[1]->setEnabled(true);
        w->txtConDet->setText(QString::number(d.ContourDetail = 900));
        ContourCommands::pumpIntervalMs = 0;
        std::vector<int> progress;
        QString caption;
        MainWindow::DoEvents = [&] {
            if (!w->ProgressBar1->isVisible()) return;
            progress.push_back(w->ProgressBar1->value());
            if (progress.back() == 0 || !caption.isEmpty()) return;
            caption = w->cmdShow->text();
            QVERIFY(d.MapBusy && w->cmdConDat[1]->isEnabled());
            w->cmdConDat[1]->click();
            w->cmdShow->click();
            QVERIFY(d.ShowInterrupt && w->imPoints->isHidden()); // the request only sets the flag
        };
        w->cmdShow->click();
        QVERIFY(caption == QStringLiteral("Halt Show") && progress.back() < 100 && !d.ContoursCurrent && !d.MapBusy);
        QVERIFY(!w->imPoints->isHidden() && w->picMap->isHidden() && w->mnuFile->menuAction()->isEnabled() &&
                w->cmdShow->text() == QStringLiteral("Show Contours") && prompts().isEmpty());
        QVERIFY(d.ContourDetail == 500 && w->txtConDet->text() == "500" && !d.DatumPoints[1].Combined);
        DataPoint& late = d.ContourGrid.at(d.GridCols * 3 / 4, d.GridRows / 2);
        QCOMPARE(late.Z, 0.f); // not reached
        progress.clear();
        w->cmdShow->click();
        QVERIFY(d.ContoursCurrent && !w->picMap->isHidden() && late.Z != 0 && d.DataTitle == QStringLiteral("Ridge"));
        QVERIFY(std::is_sorted(progress.begin(), progress.end()) && progress.size() >= 3 && progress.back() == 100);
        MainWindow::DoEvents = [] {};
        w->exportCommands->cmdConDat_Click(1);
        QVERIFY(d.DatumPoints[1].Combined && d.DataTitle.endsWith(QStringLiteral("--converted")));
        MainWindow::DoEvents = [] { throw std::runtime_error("pump failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, w->contourCommands->ContourShow());
        QVERIFY(!d.MapBusy && w->mnuFile->menuAction()->isEnabled() && w->mnuOpt->menuAction()->isEnabled() &&
                !w->ProgressBar1->isVisible() && w->cursor().shape() != Qt::BusyCursor);
    }

    // A point exactly on a grid node (a grid read back puts one on every
    // node) gives that node its value, the first point's of two, and the
    // plot completes, the cells in the ramp's colours of the typed scale.
    // An isopach's zero nodes are black; a range of no width takes the
    // bottom colour.
    void cellColours() {
        for (int plot = 0; plot < 3; ++plot) {
            auto w = plotWindow(dir);
            Document& d = w->doc;
            PointGrid g;
            layGrid(g, gridGeometry(50, d.MapSpanX, d.MapSpanY), d.MapOriginX, d.MapOriginY);
            const float flat = 100.f * (plot - 1); // every value 0 (an isopach), then every value 100
            for (auto* points : {&d.DatumPoints, &d.ContourPoints})
                for (DataPoint& p : *points) p.Z = plot ? flat : p.Z;
            addPoint(*w, true, 99, g.at(20, 20).X, g.at(20, 20).Y, plot ? flat : 50);
            addPoint(*w, false, 98, g.at(20, 20).X, g.at(20, 20).Y, plot ? flat : 70);
            if (plot == 1) w->optStruc->setValue(false), w->optIso->setValue(true);
            (plot ? w->optMed : w->optHi)->click();
            w->chkMan->setChecked(plot == 0);
            w->txtMax->setText(QStringLiteral("100"));
            w->txtMin->setText(QStringLiteral("-0x"));
            w->cmdShow->click();
            QVERIFY(prompts().isEmpty() && d.ContoursCurrent && d.ContourGrid.at(20, 20).Z == (plot ? flat : 50));
            QVERIFY(plot || (d.ContourMax == 100 && d.ContourMin == 0 && !w->fr3D->isVisible()));
            QCOMPARE(pixelAt(*w, 20, 20), (std::array{QColor(32, 255, 0), QColor(Qt::black), QColor(Qt::blue)}[plot]));
        }
    }

    // The Gray-3D plot leaves its plan picture without the title and a small
    // copy on disk.  On a map drawn longer down than across the cells still
    // meet: no blank stripe.  The lines come in red; Show 3D shades the plan,
    // keeps the relief and shades it again for another light only while the
    // relief is shown.
    void grayPlotAndRelief() {
        auto w = plotWindow(dir, {400, 600});
        auto* c = w->contourLineCommands;
        w->optLo->click();
        w->chkLines->click();
        w->chkMan->click(); // a scale far above the data keeps every cell darker than white
        w->txtMax->setText(QStringLiteral("100000"));
        w->cmdShow->click();
        const QImage plan = w->picPlanImgX->picture(), plot = w->picMap->picture();
        QVERIFY(prompts().isEmpty() && plan.size() == QSize(400, 600) && w->doc.GridRows == w->doc.GridCols);
        QVERIFY(plan.pixel(200, 2) != plot.pixel(200, 2) && pixelAt(*w).red() == pixelAt(*w).blue());
        const QRect middle(90, 135, 220, 330); // inside the data less a cell all round
        QCOMPARE(countPixels(plan, middle, [](QColor p) { return p == Qt::white; }), 0);
        QVERIFY(countPixels(plot, middle, [](QColor p) { return p == QColor(255, 0, 0); }) > 200); // the lines
        QVERIFY(QImage(dir.filePath(QStringLiteral("ridge-3D.bmp"))).width() == 180 && c->Triangles.size() > 100 &&
                c->cmd3d->text() == QStringLiteral("Show 3D"));
        int pumps = 0, titles = 0;
        MainWindow::DoEvents = [&] { ++pumps; };
        c->contourTitle = [&](int scheme) { titles += scheme == 1; };
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        const QImage relief = w->picMap->picture();
        QVERIFY(c->cmd3d->text() == QStringLiteral("Show 2D") && w->TopoDone && titles == 1 && pumps > 30);
        QVERIFY(relief != plot && w->picTopoImgX->picture() == relief && w->picImgX->picture() == plot);
        QCOMPARE((std::array{w->TopoCols, w->TopoRows, c->TopoGrid.cols()}), (std::array{100, 150, 100}));
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(w->picMap->picture() == plot && c->cmd3d->text() == QStringLiteral("Show 3D"));
        pumps = 0;
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(w->picMap->picture() == relief && pumps == 0 && titles == 1);
        c->cmbIllum->setCurrentIndex(3);
        emit c->cmbIllum->activated(3);
        QVERIFY(titles == 2 && w->picMap->picture() != relief && w->picTopoImgX->picture() == w->picMap->picture());
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        emit c->cmbContrast->activated(4); // waits while the plot is shown
        QVERIFY(titles == 2 && w->picMap->picture() == plot && prompts().isEmpty());
        // Errors are reported and leave the controls usable: no cells make the
        // pen width divide by zero; a plot without size cannot be sampled.
        c->TopoGrid = relief::TopoGrid();
        c->ContourTopo(1);
        QVERIFY(w->TopoDone && prompts() == "PlotTopoPlot error: \nDivision by zero");
        testsupport::dialogs().clear();
        w->TopoDone = false;
        w->picMap->Move(0, 0, 0, 0);
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(prompts().startsWith(QStringLiteral("Show 3D error: ")) && c->cmd3d->isEnabled() &&
                c->cmbIllum->isEnabled());
    }

    // The title box at the top and the scale left of the data; the unit word
    // inside the scale's black panel on either side, however long.
    void titleAndScale() {
        auto w = plotWindow(dir);
        Document& d = w->doc;
        const QTransform t = w->contourCommands->plotTransform();
        const double W = w->picMap->Width(), H = w->picMap->Height(), yTop = int(H / 5);
        w->optMed->click();
        w->cmdShow->click();
        QVERIFY(w->picMap->picture().pixelColor(260, 1) == Qt::black && d.ScaleSide); // the title box
        QVERIFY(scaleNumberPixels(*w) > 20);
        // One point leaves no node inside the data: no cell is painted, and
        // the scale, its bar still drawn, shows no numbers (the range would be
        // its start, 0 down to 32000, values the data do not have).
        auto one = plotWindow(dir, {600, 400}, 1);
        one->optMed->click();
        one->cmdShow->click();
        const Document& o = one->doc;
        QVERIFY(prompts().isEmpty() && o.ContoursCurrent && o.ZMin > o.ZMax && !o.ScaleSide);
        const QRect bar = t.mapRect(QRectF(W - 350, yTop, 200, yTop * 3)).toRect(); // right of the data
        const auto greenOfBar = [](QColor p) { return p.green() > 200 && !p.red(); };
        QVERIFY(countPixels(one->picMap->picture(), bar, greenOfBar) > 100);
        QCOMPARE(scaleNumberPixels(*one), 0);
        const QColor ground(0, 128, 0);
        QImage blank(qRound(W / 15), qRound(H / 15), QImage::Format_RGB32);
        blank.fill(ground);
        auto marked = [&](QColor p) { return p != ground; };
        for (int units : {0, 1, 2})
            for (bool left : {false, true}) {
                w->mnuCoordFeet->setChecked(units == 1);
                w->mnuCoordMeters->setChecked(units == 2);
                w->picMap->setPicture(blank);
                // Data against the right edge put the scale on the left.
                const float x0 = d.MapOriginX + (left ? 0.6f : 0.f) * d.MapSpanX;
                w->contourCommands->ContourScale(x0, x0 + 0.4f * d.MapSpanX);
                const QImage drawn = w->picMap->picture();
                const QRect band = t.mapRect(QRectF(left ? 0 : W - 550, yTop - 500, 550, 380)).toRect();
                QVERIFY(d.ScaleSide == left && countPixels(drawn, QRect(0, band.top(), 9999, band.height()), marked) ==
                                                   countPixels(drawn, band.adjusted(-1, 0, 1, 0), marked));
                QVERIFY(countPixels(drawn, band, [&](QColor p) { return p != ground && p != Qt::black; }) > 10);
            }
    }

    // Under Check Contours the lines are drawn in red over the map image,
    // with no cells and no scale, at a typed interval; a mesh that overfills
    // the triangle table is reported and the plot is not current.
    void checkContours() {
        auto w = plotWindow(dir);
        int completed = 0;
        w->contourCommands->plotCompleted = [&] { ++completed; };
        w->mnuViewCheck->setChecked(true);
        w->optLo->click();
        testsupport::dialogs().queue(QStringLiteral("50"));
        w->cmdShow->click();
        QVERIFY(prompts() == "Enter contour interval:" && testsupport::dialogs().prompts[0].defaultText == "25");
        QVERIFY(w->contourLineCommands->ContourInterval == 50 && completed == 1 && !w->fr3D->isVisible());
        const QImage img = w->picMap->picture();
        QVERIFY(img.pixelColor(5, img.height() / 2) != Qt::black); // no scale panel
        QVERIFY(countPixels(img, QRect(0, 20, 600, 400), [](QColor p) { return p == QColor(255, 0, 0); }) > 100);
        QVERIFY(countPixels(img, QRect(0, 20, 600, 400), [](QColor p) { return p.green() > p.red() + 40; }) > 100);
        w->cmdShow->click();
        w->mnuViewCheck->setChecked(false);
        w->chkLines->click();
        // Drawn 8 units across, the nodes lie closer together than the circle
        // test's margin, so nearly every circle counts as empty and the mesh
        // overfills the table (the nodes pushed alike on every run).
        w->contourLineCommands->random = [] { return 1.0; };
        w->picMap->Move(0, 0, 8, 8);
        testsupport::dialogs().clear();
        w->cmdShow->click();
        QCOMPARE(prompts(), QStringLiteral("ContourShow error: \n\nSubscript out of range"));
        QVERIFY(!w->doc.ContoursCurrent && completed == 1);
    }

    // Lines that start at the plot's top and right edges carry their labels
    // whole inside the plot: the text is not cut there.  The nodes stop a
    // few pixels short of the edges, so nothing but a cut label could light
    // the picture's top row or last column.  Where the data leave a blank
    // margin, the labels stay on the coloured cells: the lines add nothing
    // beyond the cells a plot without them paints (none of them white under
    // a scale far above the data).
    void labelsStayInsidePlot() {
        auto g = plotWindow(dir);
        g->optLo->click();
        g->chkMan->click();
        g->txtMax->setText(QStringLiteral("100000"));
        g->txtConDet->setText(QString::number(g->doc.ContourDetail = 300));
        g->cmdShow->click();
        const QImage plain = g->picMap->picture(), plan = g->picPlanImgX->picture();
        QRect cells;
        for (int y = 0; y < plan.height(); ++y)
            for (int x = 0; x < plan.width(); ++x)
                if (plan.pixel(x, y) != qRgb(255, 255, 255)) cells |= QRect(x, y, 1, 1);
        g->cmdShow->click();
        g->chkLines->click();
        g->cmdShow->click();
        const QImage lined = g->picMap->picture();
        QVERIFY(prompts().isEmpty() && cells.width() > 300 && cells.top() > 60 &&
                cells.right() < plan.width() - 60);
        int inside = 0, outside = 0;
        for (int y = 0; y < plan.height(); ++y)
            for (int x = 0; x < plan.width(); ++x)
                (cells.contains(x, y) ? inside : outside) += lined.pixel(x, y) != plain.pixel(x, y);
        QVERIFY(inside > 1000);
        QCOMPARE(outside, 0);

        auto w = plotWindow(dir);
        Document& d = w->doc;
        w->optHi->click();
        w->cmdShow->click(); // sizes the plot
        const int cols = 29, rows = 20;
        const float sx = d.MapSpanX * 0.97f / (cols - 1), sy = d.MapSpanY * 0.97f / (rows - 1);
        d.ContourGrid.resize(cols, rows);
        for (int i = 1; i <= cols; ++i)
            for (int j = 1; j <= rows; ++j) // lines running down to the left, levels between the nodes
                d.ContourGrid.at(i, j) = DataPoint{0, d.MapOriginX + d.MapSpanX * 0.01f + float(i - 1) * sx,
                                                   d.MapOriginY - d.MapSpanY * 0.01f - float(j - 1) * sy,
                                                   float(5 + 10 * (i + j)), false};
        QImage blank(w->picMap->picture().size(), QImage::Format_RGB32);
        blank.fill(Qt::black);
        w->picMap->setPicture(blank);
        std::mt19937 gen(4);
        w->contourLineCommands->random = [&] { return gen() / 0x1p32; };
        w->contourLineCommands->ContourLines(sx, sy, d.MapOriginX, d.MapOriginX + d.MapSpanX,
                                             d.MapOriginY - d.MapSpanY, d.MapOriginY);
        const QImage img = w->picMap->picture();
        if (qEnvironmentVariableIsSet("SAVE_LABELS")) img.save(qEnvironmentVariable("SAVE_LABELS"));
        const auto lit = [](QColor p) { return p.lightness() > 128; };
        QVERIFY(countPixels(img, QRect(0, 20, 560, 360), lit) > 1000); // the lines and labels are there
        QCOMPARE(countPixels(img, QRect(0, 0, img.width(), 1), lit), 0);
        QCOMPARE(countPixels(img, QRect(img.width() - 1, 0, 1, img.height()), lit), 0);
    }

    // Cancelling the file leaves the document; once registered, a changed
    // document is offered for saving first: Cancel keeps it, No replaces it.
    void reopenContourPicture() {
        auto w = startWindow();
        Document& d = w->doc;
        QImage img(300, 200, QImage::Format_RGB32);
        img.fill(Qt::blue);
        const QString path = dir.filePath(QStringLiteral("plot.vlp"));
        QVERIFY(img.save(path, "JPG"));
        auto& dl = testsupport::dialogs();
        w->mnuFileOpenCon->setEnabled(true);
        for (int step = 0; step < 4; ++step) {
            if (step == 1) d.DataTitle = QStringLiteral("kept"), d.MapRegistered = true;
            dl.clear();
            if (step == 1) dl.queue(dlg::Cancel{});
            else dl.queue(path), dl.queue(step == 2 ? dlg::Answer::Cancel : dlg::Answer::No);
            w->mnuFileOpenCon->trigger();
            QVERIFY(dl.prompts.size() == size_t(step < 2 ? 1 : 2) && d.DataTitle == (step % 3 ? "kept" : "plot"));
        }
        QCOMPARE(dl.prompts[0].title + '|' + dl.prompts[0].filter + '|' + dl.prompts[1].text.left(21),
                 QStringLiteral("Open Contour Plot File|Contour Plot Files (*.vlp)|*.vlp||plot.vlm has changed."));
        QVERIFY(d.MapFileName == path && d.DataFileName == dir.filePath("plot.vlm") && d.DataChanged &&
                !d.MapRegistered && w->cmdSave->isEnabled());
    }
};

VEX_TEST(ContourShowTest);
#include "ContourShowTest.moc"
