#include "contour/ContourCommands.h"
#include "contour/CellPainting.h"
#include "contour/ContourLineCommands.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "contour/ColourRamps.h"
#include "contour/PlotScales.h"
#include "digitize/ContactDisplay.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "platform/ColorNumber.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/ImagingObject.h"
#include "platform/Printers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QScopeGuard>
#include <QTimer>
#include <cmath>

int ContourCommands::pumpIntervalMs = 30;

namespace {

const QString kHalt = QStringLiteral("Halt Show");

// One pixel of a plot picture is 15 of its drawing units.
QImage blankPlot(double widthTwips, double heightTwips) {
    QImage img(std::max(1, int(std::lround(widthTwips / 15.0))), std::max(1, int(std::lround(heightTwips / 15.0))),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

PlotUnits plotUnits(const MainWindow& w) {
    if (w.mnuCoordFeet->isChecked()) return PlotUnits::Feet;
    if (w.mnuCoordMeters->isChecked()) return PlotUnits::Meters;
    return PlotUnits::Degrees;
}

// Fonts on the plot are sized in its drawing units: a point is 20 twips.
QFont plotFont(int size, bool bold) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(size * 20);
    f.setBold(bold);
    return f;
}

// Prints a text with its cell's top left corner at (x, y) and returns the
// height of its line.
double printText(QPainter& p, double x, double y, const QString& text) {
    const QFontMetricsF fm(p.font());
    p.drawText(QPointF(x, y + fm.ascent()), text);
    return fm.height();
}

} // namespace

ContourCommands::ContourCommands(MainWindow& main) : QObject(&main), w(main) {
    labCalc = new QLabel(QStringLiteral("Calculating..."), w.Frame1);
    labCalc->setObjectName(QStringLiteral("labCalc_2"));
    labCalc->setAutoFillBackground(true);
    labCalc->adjustSize();
    labCalc->setVisible(false);

    // Every plot option only marks the shown plot out of date.
    connect(w.chkLines, &QCheckBox::clicked, this, &ContourCommands::markOutOfDate);
    for (OptionButton* o : {w.optHi, w.optMed, w.optLo}) connect(o, &QRadioButton::clicked, this, &ContourCommands::markOutOfDate);
    connect(w.txtMax, &QLineEdit::textChanged, this, &ContourCommands::markOutOfDate);
    connect(w.txtMin, &QLineEdit::textChanged, this, &ContourCommands::markOutOfDate);
    connect(w.chkMan, &QCheckBox::toggled, this, &ContourCommands::chkMan_Click);
    // Typing changes the detail; the program's own settings of the text
    // (the reset, the project loading) carry the detail already.
    connect(w.txtConDet, &QLineEdit::textEdited, this, &ContourCommands::txtConDet_Change);
    // The spin bar rests at 0; a step moves the detail by one and it returns.
    w.VScroll2->setRange(-1, 1);
    w.VScroll2->setSingleStep(1);
    w.VScroll2->setPageStep(1);
    w.VScroll2->setValue(0);
    connect(w.VScroll2, &QScrollBar::valueChanged, this, &ContourCommands::VScroll2_Change);

    // The View menu's map and plot items carry the check mark of the view shown.
    w.mnuViewShowMap->setCheckable(true);
    w.mnuViewShowCon->setCheckable(true);

    // The plot's text boxes select their whole text when they get the focus.
    for (QLineEdit* e : {w.txtConDet, w.txtMax, w.txtMin}) e->installEventFilter(this);

    connect(w.mnuFileOpenCon, &QAction::triggered, this, &ContourCommands::mnuFileOpenCon_Click);
    w.cmdShow_Click = [this] { cmdShow_Click(); };
}

bool ContourCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* e = qobject_cast<QLineEdit*>(watched))
            // After the focus change is complete, or a mouse click that gave
            // the focus would put the cursor back in place of the selection.
            QTimer::singleShot(0, e, &QLineEdit::selectAll);
    return QObject::eventFilter(watched, event);
}

void ContourCommands::markOutOfDate() { w.doc.ContoursCurrent = false; }

void ContourCommands::chkMan_Click() {
    const bool on = w.chkMan->isChecked();
    for (QWidget* c : std::initializer_list<QWidget*>{w.txtMax, w.txtMin, w.labMax, w.labMin}) c->setEnabled(on);
    w.doc.ContoursCurrent = false;
}

void ContourCommands::txtConDet_Change() {
    // The detail is a 16-bit whole number; a typed value beyond that range
    // is held at its end until the drawing brings it within 10..500.
    const double v = std::clamp(double(legacy::NumVal(w.txtConDet->text())), -32768.0, 32767.0);
    w.doc.ContourDetail = legacy::CInt(v);
    w.doc.DataChanged = true;
    w.doc.ContoursCurrent = false;
}

void ContourCommands::VScroll2_Change(int value) {
    if (value == 0) return;
    w.doc.ContourDetail = clampContourDetail(w.doc.ContourDetail - value);
    w.txtConDet->setText(QString::number(w.doc.ContourDetail));
    txtConDet_Change();
    w.VScroll2->setValue(0);
}

int ContourCommands::colourScheme() const {
    if (w.optLo->isChecked()) return colour_scheme::Gray3D;
    if (w.optHi->isChecked()) return colour_scheme::HighColor;
    return colour_scheme::LowColor;
}

QTransform ContourCommands::plotTransform() const { return plotTransformFor(w.picMap->picture()); }

QTransform ContourCommands::plotTransformFor(const QImage& img) const {
    const double W = w.picMap->Width(), H = w.picMap->Height();
    if (img.isNull() || W <= 0 || H <= 0) return QTransform::fromScale(1 / 15.0, 1 / 15.0);
    return QTransform::fromScale(img.width() / W, img.height() / H);
}

QPointF ContourCommands::plotPosition(float x, float y) const {
    const Document& d = w.doc;
    return {legacy::Div(double(x) - d.MapOriginX, d.MapSpanX) * w.picMap->Width(),
            legacy::Div(double(d.MapOriginY) - y, d.MapSpanY) * w.picMap->Height()};
}

void ContourCommands::setPlotControlsEnabled(bool on) {
    for (QWidget* c : std::initializer_list<QWidget*>{
             w.cmdZoomPage, w.cmdZoomFull, w.cmdZoomIn, w.cmdZoomOut, w.optDat, w.optCon, w.labDatCol, w.labConCol,
             w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines, w.txtMax, w.txtMin, w.labMax, w.labMin,
             w.optLo, w.optMed, w.optHi, w.optRock, w.optIso, w.optStruc, w.cmdConRun})
        c->setEnabled(on);
    for (QAction* a : {w.mnuViewZoomPage, w.mnuViewZoomFull, w.mnuViewZoomIn, w.mnuViewZoomOut}) a->setEnabled(on);
    w.mnuOpt->menuAction()->setEnabled(on);
}

// ---------------------------------------------------------------------------
void ContourCommands::cmdShow_Click() {
    Document& d = w.doc;
    // Pressed while a drawing runs (further down the call stack, which pumps
    // events), the button only asks it to stop: no control is touched here,
    // the interrupted command finishes the way back to the map.
    if (w.cmdShow->text() == kHalt) {
        d.ShowInterrupt = true;
        return;
    }
    // Any other Show while one is under way (a resize, a second click during
    // the way back) would start a road of its own inside it; and while a
    // redraw or a combination runs, switching views would act on points
    // that are being changed.
    if (m_showing || d.MapBusy) return;
    m_showing = true;
    const auto done = qScopeGuard([&] { m_showing = false; });
    d.ShowInterrupt = false;
    const bool contacts = w.optRock->isChecked();
    try {
        for (;;) {
            w.setBusyPointers(true);
            MainWindow::DoEvents();
            if (!w.imPoints->isHidden()) {
                leaveMap(contacts);
                const bool drawn = drawPlot(contacts);
                if (d.ShowInterrupt) {
                    // Halted: the plot is incomplete, and the next pass
                    // finds the map hidden and takes the road back.
                    d.ContoursCurrent = false;
                    continue;
                }
                showPlot(contacts, drawn);
            } else {
                backToMap(contacts);
            }
            break;
        }
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("cmdShow error: "), e.description(), 2, 64);
    }
    w.setBusyPointers(false);
}

// From the map view towards the plot: the markers and the map go, the
// commands that would act on the map wait.
void ContourCommands::leaveMap(bool contacts) {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    for (MarkerArray<Marker>* arr : {&mk.labDat, &mk.labCon, &mk.labMap})
        for (int i = 1; i <= arr->count(); ++i) (*arr)[i].Visible = false;
    for (int i = 1; i <= mk.LineCon.count(); ++i) mk.LineCon[i].Visible = false;
    w.setPanel(2, QStringLiteral("Vexolan: ") + d.DataTitle +
                      (contacts ? QStringLiteral(" (Drawing contact map...)") : QStringLiteral(" (Drawing contour map...)")));
    w.imPoints->setVisible(false);
    mk.update();
    MainWindow::DoEvents();

    // The progress bar runs under the plot.
    const double left = twips::fromPx(w.Frame1->x()) + twips::fromPx(w.Frame2->x()) + w.picMap->Left() + 90;
    const double width = std::max(0.0, w.picMap->Width() - twips::fromPx(w.labProg->width()));
    const QRect bar = w.ProgressBar1->geometry();
    w.ProgressBar1->setGeometry(twips::toPx(left), bar.y(), twips::toPx(width), bar.height());
    w.labProg->move(w.ProgressBar1->x() + w.ProgressBar1->width(), w.labProg->y());

    w.HScroll1->setVisible(false);
    w.VScroll1->setVisible(false);
    setPlotControlsEnabled(false);
    w.tickShownView(MainWindow::ShownView::Plot);
}

// Draws the plot of the data kind: true unless the drawing failed (it
// reports that itself).  A halt leaves ShowInterrupt set.
bool ContourCommands::drawPlot(bool contacts) {
    Document& d = w.doc;
    MarkerOverlay& mk = *w.markers;
    w.setContactBarVisible(contacts);
    if (contacts) {
        w.contactDisplay->ContactShow();
        return true;
    }
    mk.labRef[1].Visible = false;
    mk.labRef[2].Visible = false;
    mk.update();
    if (!d.ContoursCurrent) return ContourShow();
    if (w.optLo->isChecked() && d.ContourDetail >= 50) w.fr3D->setVisible(true);
    return true;
}

// A drawing that ran to its end is shown.
void ContourCommands::showPlot(bool contacts, bool drawn) {
    Document& d = w.doc;
    if (contacts) {
        // The contact lines lie over the map picture.
        if (w.imContacts->picture().isNull()) w.imContacts->setPicture(w.imPoints->picture());
        w.imContacts->setVisible(true);
        w.markers->contactsOnTop = true;
        w.markers->update();
    } else {
        w.picMap->setVisible(true);
        // A failed drawing was reported; its partial plot is not current.
        d.ContoursCurrent = drawn;
    }
    w.setPanel(2, QStringLiteral("Vexolan: ") + d.DataTitle + QStringLiteral(" (Contour map)"));
    w.cmdShow->setText(QStringLiteral("Show Points"));
    w.cmdShow->setToolTip(QStringLiteral("Click to show contour points"));
}

void ContourCommands::backToMap(bool contacts) {
    MarkerOverlay& mk = *w.markers;
    for (int i = 1; i <= mk.LineCon.count(); ++i) mk.LineCon[i].Visible = false;
    w.imPoints->setVisible(true);
    w.imContacts->setVisible(false);
    w.picMap->setVisible(false);
    w.fr3D->setVisible(false);
    mk.contactsOnTop = false;
    mk.update();
    MainWindow::DoEvents();

    const QString zoom = w.Frame8->title();
    const bool pageOut = !zoom.endsWith(QLatin1String("(Page)"));
    const bool fullIn = !zoom.endsWith(QLatin1String("(Full)"));
    for (QWidget* b : std::initializer_list<QWidget*>{w.cmdZoomPage, w.cmdZoomOut}) b->setEnabled(pageOut);
    for (QAction* a : {w.mnuViewZoomPage, w.mnuViewZoomOut}) a->setEnabled(pageOut);
    for (QWidget* b : std::initializer_list<QWidget*>{w.cmdZoomFull, w.cmdZoomIn}) b->setEnabled(fullIn);
    for (QAction* a : {w.mnuViewZoomFull, w.mnuViewZoomIn}) a->setEnabled(fullIn);
    w.mnuOpt->menuAction()->setEnabled(true);

    // Contact data has no contour detail, scale or lines; its contact bar stays.
    const std::initializer_list<QWidget*> contourOptions{w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines};
    if (contacts) {
        w.cmdShow->setText(QStringLiteral("Show Contacts"));
        w.cmdShow->setToolTip(QStringLiteral("Click to show contact map"));
        w.mnuViewShowCon->setText(QStringLiteral("Contacts"));
        for (QWidget* c : std::initializer_list<QWidget*>{w.optRock, w.optDat, w.labDatCol}) c->setEnabled(true);
        for (QWidget* c : std::initializer_list<QWidget*>{w.optCon, w.labConCol}) c->setEnabled(false);
        for (QWidget* c : contourOptions) c->setEnabled(false);
    } else {
        w.cmdShow->setText(QStringLiteral("Show Contours"));
        w.cmdShow->setToolTip(QStringLiteral("Click to show contour map"));
        w.mnuViewShowCon->setText(QStringLiteral("&Contours"));
        w.optStruc->setEnabled(w.optStruc->isChecked());
        w.optIso->setEnabled(w.optIso->isChecked());
        for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.labDatCol, w.labConCol}) c->setEnabled(true);
        for (QWidget* c : contourOptions) c->setEnabled(true);
    }
    w.tickShownView(MainWindow::ShownView::Map);
    w.setContactBarVisible(contacts);
    const bool manual = w.chkMan->isChecked();
    for (QWidget* c : std::initializer_list<QWidget*>{w.txtMax, w.txtMin, w.labMax, w.labMin}) c->setEnabled(manual);
    for (QWidget* c : std::initializer_list<QWidget*>{w.optLo, w.optMed, w.optHi, w.cmdConRun}) c->setEnabled(true);
    w.HScroll1->setVisible(w.Frame1->width() < twips::toPx(w.imPoints->Width()));
    w.VScroll1->setVisible(w.Frame1->height() < twips::toPx(w.imPoints->Height()));
    w.mapView->MapReplot();
}

// ---------------------------------------------------------------------------
bool ContourCommands::ContourShow() {
    Document& d = w.doc;
    bool ok = true;
    w.setCursor(Qt::BusyCursor);
    d.MapBusy = true;
    for (QMenu* m : {w.mnuFile, w.mnuOpt, w.mnuView}) m->menuAction()->setEnabled(false);
    // However the run ends, the window is handed back usable: a failure no
    // handler here expects still passes through this on its way out.
    const auto handBack = qScopeGuard([&] {
        QApplication::beep();
        w.ProgressBar1->setVisible(false);
        w.labProg->setVisible(false);
        labCalc->setVisible(false);
        w.setBusyPointers(false);
        d.MapBusy = false;
        for (QMenu* m : {w.mnuFile, w.mnuOpt, w.mnuView}) m->menuAction()->setEnabled(true);
    });
    MainWindow::DoEvents();
    try {
        w.cmdShow->setText(kHalt);
        w.cmdShow->setToolTip(QStringLiteral("Click to stop contour calculation"));
        m_gridPointCount = d.DatCount + d.ConCount;
        if (m_gridPointCount > 32767) legacy::raise(legacy::ErrorCode::Overflow);

        const QPoint picAt = w.picMap->mapTo(w.Frame1, QPoint(0, 0));
        labCalc->move(picAt.x() + (twips::toPx(w.picMap->Width()) - labCalc->width()) / 2,
                      picAt.y() + (twips::toPx(w.picMap->Height()) - labCalc->height()) / 2);
        labCalc->setVisible(true);
        labCalc->raise();
        w.ProgressBar1->setRange(0, 100);
        w.ProgressBar1->setValue(0);
        w.ProgressBar1->setVisible(true);
        w.labProg->setText(legacy::Format(0, QStringLiteral("0")) + QStringLiteral(" %"));
        w.labProg->setVisible(true);

        w.picMap->clearPicture();
        w.picMap->setVisible(true);
        MainWindow::DoEvents();

        const int detail = clampContourDetail(d.ContourDetail);
        if (detail != d.ContourDetail) {
            d.ContourDetail = detail;
            w.txtConDet->setText(QString::number(detail));
            txtConDet_Change();
        }

        const GridGeometry g = gridGeometry(d.ContourDetail, d.MapSpanX, d.MapSpanY);
        layGrid(d.ContourGrid, g, d.MapOriginX, d.MapOriginY);
        d.GridCols = g.cols;
        d.GridRows = g.rows;
        m_cellWidth = g.cellWidth;
        m_cellHeight = g.cellHeight;

        const std::vector<DataPoint> gridPoints = griddingList(d.DatumPoints, d.DatCount, d.ContourPoints, d.ConCount);
        m_window = ::dataWindow(gridPoints, m_gridPointCount, d.MapOriginX, d.MapSpanX, d.MapOriginY);

        const double W = w.picMap->Width(), H = w.picMap->Height();
        QImage canvas = blankPlot(W, H);
        const bool check = w.mnuViewCheck->isChecked();
        if (check) {
            w.ImgX->load(d.MapFileName);
            w.ImgX->resize(int(std::lround(W / 9.14)));
            QPainter p(&canvas);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(canvas.rect(), w.ImgX->picture());
        }

        // The gridding runs on all cores in slices of columns; between two
        // slices the progress is shown, events are pumped on a short timer
        // and the stop flag is tested, so a halt is seen promptly.
        QElapsedTimer sincePump;
        sincePump.start();
        GridRun run;
        auto afterSlice = [&](int done) {
            const double pct = double(done) / g.cols * 100;
            w.ProgressBar1->setValue(int(pct));
            w.labProg->setText(legacy::Format(pct, QStringLiteral("0")) + QStringLiteral(" %"));
            if (sincePump.elapsed() >= pumpIntervalMs) {
                MainWindow::DoEvents();
                sincePump.restart();
            }
            return d.ShowInterrupt;
        };
        const float reach = d.MapSpanX + d.MapSpanY;
        try {
            computeGrid(d.ContourGrid, gridPoints, m_gridPointCount, m_window, reach, run, afterSlice);
        } catch (...) {
            d.ZMin = run.zMin;
            d.ZMax = run.zMax;
            throw;
        }
        d.ZMin = run.zMin;
        d.ZMax = run.zMax;

        if (!run.stopped) {
            if (w.chkMan->isChecked()) {
                d.ContourMax = legacy::NumVal(w.txtMax->text());
                d.ContourMin = legacy::NumVal(w.txtMin->text());
            } else {
                d.ContourMax = d.ZMax;
                d.ContourMin = d.ZMin;
            }
            const int scheme = colourScheme();

            if (!check) {
                // Each cell spans its column and row spacing, so that no
                // stripe of the blank picture shows between cells when the
                // scales across and down differ.
                const bool isopach = w.optIso->isChecked();
                paintCells(canvas, d.ContourGrid, m_window, g, d.MapSpanX, d.MapSpanY, [&](const DataPoint& n) {
                    const QRgb c = colorFromNumber(PicRGB(n.Z, d.ContourMin, d.ContourMax, scheme)).rgb();
                    return isopach && n.Z == 0 ? qRgb(0, 0, 0) : c;
                });
            }
            w.picMap->setPicture(canvas);

            if (scheme == colour_scheme::Gray3D) {
                w.picPlanImgX->takePicture(canvas);
                // Without a project file there is no name to put the small
                // copy beside; it would land in whatever folder is current.
                if (!d.DataFileName.isEmpty()) {
                    w.picExImgX->takePicture(canvas);
                    w.picExImgX->resize(180);
                    w.picExImgX->save(d.DataFileName.left(d.DataFileName.size() - 4) + QStringLiteral("-3D.bmp"),
                                      ImagingObject::FormatBmp, 24);
                }
            }

            ContourTitle(scheme);
            if (!check) ContourScale(m_window.minX, m_window.maxX);
            if ((check || w.chkLines->isChecked()) && ContourLines)
                ContourLines(m_cellWidth, m_cellHeight, m_window.minX, m_window.maxX, m_window.minY, m_window.maxY);

            w.setPanel(2, QStringLiteral("Vexolan: ") + d.DataTitle + QStringLiteral(" (Contour Map)"));
            w.labText->setText(QStringLiteral("Contour Map"));
            d.ContoursCurrent = true;
            if (w.contourLineCommands) w.contourLineCommands->plotRedrawn();
            w.TopoDone = false;
            if (plotCompleted) plotCompleted();
            if (scheme == colour_scheme::Gray3D && !check && d.ContourDetail >= 50) w.fr3D->setVisible(true);
        }
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("ContourShow error: "), e.description(), 2, 64);
        ok = false;
    }
    return ok;
}

// ---------------------------------------------------------------------------
void ContourCommands::ContourTitle(int scheme) {
    Document& d = w.doc;
    QImage img = w.picMap->picture();
    if (img.isNull()) img = blankPlot(w.picMap->Width(), w.picMap->Height());
    {
        QPainter p(&img);
        p.setTransform(plotTransformFor(img));
        const QString title = contourTitleText(d.DataTitle, w.optStruc->isChecked(), d.MapSpanX, d.ContourDetail,
                                               plotUnits(w), d.ProjectionName, d.ProjScaleX);
        const double tw = title.size() * kCharWidth;
        const double x0 = (w.picMap->Width() - tw) / 2;
        p.fillRect(QRectF(QPointF(x0 - 220, 0), QPointF(x0 + tw, 300)), Qt::black);
        p.setPen(scheme == colour_scheme::Gray3D ? QColor(255, 0, 0) : QColor(Qt::white));
        p.setFont(plotFont(10, true));
        printText(p, x0, 50, title);

        const QString whole = QStringLiteral("0");
        const QPointF r1 = plotPosition(d.RefMapX1, d.RefMapY1);
        p.setFont(plotFont(24, false));
        printText(p, r1.x() - 145, r1.y() - 265, QStringLiteral("+"));
        p.setFont(plotFont(8, false));
        double line = printText(p, r1.x() + 150, r1.y() - 175, legacy::Format(d.RefMapX1, whole) + QStringLiteral("E"));
        printText(p, r1.x() + 150, r1.y() - 175 + line, legacy::Format(d.RefMapY1, whole) + QStringLiteral("N"));

        const QPointF r2 = plotPosition(d.RefMapX2, d.RefMapY2);
        p.setFont(plotFont(24, false));
        printText(p, r2.x() - 145, r2.y() - 255, QStringLiteral("+"));
        p.setFont(plotFont(8, false));
        const QString e2 = legacy::Format(d.RefMapX2, whole) + QStringLiteral("E");
        const QString n2 = legacy::Format(d.RefMapY2, whole) + QStringLiteral("N");
        line = printText(p, r2.x() - 165 - e2.size() * kCharWidth, r2.y() - 175, e2);
        printText(p, r2.x() - 165 - n2.size() * kCharWidth, r2.y() - 175 + line, n2);
        m_textColour = p.pen().color();
    }
    w.picMap->setPicture(img);
}

void ContourCommands::ContourScale(float left, float right) {
    Document& d = w.doc;
    QImage img = w.picMap->picture();
    if (img.isNull()) img = blankPlot(w.picMap->Width(), w.picMap->Height());
    const double W = w.picMap->Width(), H = w.picMap->Height();
    const QPointF l = plotPosition(left, d.MapOriginY);
    const QPointF r = plotPosition(right, d.MapOriginY);
    const ScaleLayout s = scaleLayout(W, H, l.x(), r.x());
    d.ScaleSide = s.left;
    {
        QPainter p(&img);
        p.setTransform(plotTransformFor(img));
        p.setFont(plotFont(8, false));
        p.fillRect(s.panel, Qt::black);
        p.setPen(m_textColour);
        // At the estimated 110 units a letter, "Meters" and "Degrees" would
        // start left of a right-hand panel; the word is measured and, where
        // the panel is too narrow for it, set smaller.
        const QString unit = unitWord(plotUnits(w));
        QFont unitFont = p.font();
        double unitWidth = QFontMetricsF(unitFont).horizontalAdvance(unit);
        while (unitWidth > s.unitRoom() && unitFont.pixelSize() > 40) {
            unitFont.setPixelSize(unitFont.pixelSize() - 5);
            unitWidth = QFontMetricsF(unitFont).horizontalAdvance(unit);
        }
        p.setFont(unitFont);
        printText(p, s.unitX(unitWidth), s.yTop - 400, unit);
        p.setFont(plotFont(8, false));
        const int scheme = colourScheme();
        for (int y = s.yTop; y <= s.yBottom; ++y) {
            const double v = scaleRowValue(y, s, d.ContourMin, d.ContourMax);
            p.setPen(QPen(colorFromNumber(PicRGB(v, d.ContourMin, d.ContourMax, scheme)), 0));
            p.drawLine(QPointF(s.barX1, y), QPointF(s.barX2, y));
        }
        p.setPen(m_textColour);
        const std::vector<ScaleLabel> labels = scaleLabels(s, d.ContourMin, d.ContourMax, d.ZMin, d.ZMax);
        for (const ScaleLabel& lb : labels) printText(p, s.textX(int(lb.text.size())), lb.y - 100, lb.text);
        p.setPen(QPen(Qt::black, 0));
        for (const ScaleLabel& lb : labels)
            if (lb.mark) p.drawLine(QPointF(s.markX1, lb.y), QPointF(s.markX2, lb.y));
    }
    w.picMap->setPicture(img);
}

// ---------------------------------------------------------------------------
void ContourCommands::mnuFileOpenCon_Click() {
    Document& d = w.doc;
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Open Contour Plot File");
    cd.FileName = QString();
    cd.Flags = 4096;
    cd.Filter = QStringLiteral("Contour Plot Files (*.vlp)|*.vlp|");
    if (!dlg::showOpen(cd)) return;
    // The picture replaces the document: a changed one is offered for
    // saving first, as every other opening does, rather than lost.
    if (!w.offerToSave(false)) return;
    try {
        w.ClearAll();
        d.MapFileName = cd.FileName;
        w.mapView->MapLoad();
        if (!w.mapView->mapLoadSucceeded()) return;
        const QString name = w.fileService->SplitPath(d.MapFileName, false);
        d.DataTitle = name.left(name.size() - 4);
        d.DataFileName = d.MapFileName.left(d.MapFileName.size() - 4) + QStringLiteral(".vlm");
        w.setDocumentCaption(d.DataTitle);
        w.setPanel(2, QStringLiteral("Map:  ") + d.DataTitle + QStringLiteral(" (no data)"));
        w.enableSaving();
        w.enablePrinting();
        for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.labDatCol, w.labConCol})
            c->setEnabled(false);
        d.DataChanged = true;
        // The project name beside the picture is often the very project the
        // plot was made from: its first save asks, offering that name.
        d.AskProjectName = true;
        w.setBusyPointers(false);
    } catch (const legacy::Error&) {
        // The command ends at the failing step; the cleared document stays.
    }
}
