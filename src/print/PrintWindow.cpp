#include "print/PrintWindow.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "platform/Dialogs.h"
#include "platform/PrinterService.h"
#include "platform/SettingsStore.h"
#include "platform/Sound.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <initializer_list>

namespace {

template <typename T>
T* named(T* widget, const char* name, const QString& tip = {}) {
    widget->setObjectName(QLatin1String(name));
    if (!tip.isEmpty()) widget->setToolTip(tip);
    return widget;
}

void place(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(twips::rect(left, top, width, height));
}

QScrollBar* spinButton(QWidget* parent, const char* name) {
    auto* s = named(new QScrollBar(Qt::Vertical, parent), name);
    s->setRange(-1, 1);
    s->setValue(0);
    s->setSingleStep(1);
    s->setPageStep(1);
    return s;
}

template <typename F>
void skipFailure(F&& f) {
    try {
        f();
    } catch (const legacy::Error&) {
    }
}

} // namespace

// A dialog-type window: the window system keeps such a window in front of the
// window it is transient for (set in PrintSetup), which a plain top-level
// window does not get.  Not the main window's child: disabling the main
// window would disable it too.
PrintWindow::PrintWindow(MainWindow& main) : QWidget(nullptr, Qt::Dialog), w(main) {
    setObjectName(QStringLiteral("frmPrint"));
    buildControls();
}

PrintWindow::~PrintWindow() = default;

void PrintWindow::buildControls() {
    Frame4 = named(new QGroupBox(QStringLiteral("Orientation"), this), "Frame4", QStringLiteral("Select orientation"));
    // The left column is as narrow as its captions allow, so that the right
    // one holds "Center on Page" whole.
    place(Frame4, 120, 60, 1400, 900);
    optPort = named(new QRadioButton(QStringLiteral("Portrait"), Frame4), "optPort");
    place(optPort, 120, 300, 1200, 255);
    optLand = named(new QRadioButton(QStringLiteral("Landscape"), Frame4), "optLand");
    place(optLand, 120, 580, 1200, 255);
    optPort->setChecked(true);

    Frame3 = named(new QGroupBox(QStringLiteral("Print"), this), "Frame3", QStringLiteral("Select printing option"));
    place(Frame3, 1600, 60, 1700, 900);
    optWindow = named(new QRadioButton(QStringLiteral("Print Window"), Frame3), "optWindow",
                      QStringLiteral("Quick print of application window: Preview unavailabe"));
    place(optWindow, 120, 300, 1500, 255);
    optPlot = named(new QRadioButton(QStringLiteral("Print Plot"), Frame3), "optPlot",
                    QStringLiteral("Precise print of the graph or plot"));
    place(optPlot, 120, 580, 1500, 255);
    optPlot->setChecked(true);

    Frame2 = named(new QGroupBox(QStringLiteral("Scale (%)"), this), "Frame2", QStringLiteral("Adjust the printed size"));
    place(Frame2, 120, 1020, 1400, 1300);
    txtScale = named(new QLineEdit(QStringLiteral("100"), Frame2), "txtScale");
    place(txtScale, 120, 300, 800, 330);
    VScroll1 = spinButton(Frame2, "VScroll1");
    place(VScroll1, 940, 300, 255, 330);
    chkFit = named(new QCheckBox(QStringLiteral("Fit to Page"), Frame2), "chkFit");
    place(chkFit, 120, 800, 1200, 255);
    chkFit->setChecked(true);

    Frame1 = named(new QGroupBox(QStringLiteral("Margins (in.)"), this), "Frame1",
                   QStringLiteral("Adjust the page margins"));
    place(Frame1, 1600, 1020, 1700, 1300);
    auto* labLeft = new QLabel(QStringLiteral("Left:"), Frame1);
    place(labLeft, 120, 330, 500, 255);
    txtLeft = named(new QLineEdit(Frame1), "txtLeft");
    place(txtLeft, 620, 300, 640, 330);
    auto* labTop = new QLabel(QStringLiteral("Top:"), Frame1);
    place(labTop, 120, 690, 500, 255);
    txtTop = named(new QLineEdit(Frame1), "txtTop");
    place(txtTop, 620, 660, 640, 330);
    VScroll2 = spinButton(Frame1, "VScroll2");
    place(VScroll2, 1280, 300, 255, 690);
    chkCenter = named(new QCheckBox(QStringLiteral("Center on Page"), Frame1), "chkCenter");
    place(chkCenter, 120, 1010, 1560, 255);

    labPrinter = named(new QLabel(QStringLiteral("Print to: "), this), "labPrinter");
    place(labPrinter, 120, 2420, 2760, 255);
    Image1 = named(new QLabel(this), "Image1");
    place(Image1, 2940, 2380, 360, 360);
    cmdPrinter = named(new QPushButton(QStringLiteral("Print Setup"), this), "cmdPrinter",
                       QStringLiteral("Select the printer to use"));
    place(cmdPrinter, 120, 2760, 1000, 420);
    cmdPrint = named(new QPushButton(QStringLiteral("Print"), this), "cmdPrint", QStringLiteral("Start printing"));
    place(cmdPrint, 1210, 2760, 1000, 420);
    cmdCancel = named(new QPushButton(QStringLiteral("Done"), this), "cmdCancel", QStringLiteral("Close this window"));
    place(cmdCancel, 2300, 2760, 1000, 420);
    cmdHelp = named(new QPushButton(QStringLiteral("Help"), this), "cmdHelp");
    cmdHelp->setVisible(false);

    Label3 = named(new QLabel(QStringLiteral("Preview"), this), "Label3");
    Label3->adjustSize();
    Label4 = named(new QLabel(QStringLiteral("(Drag corner to resize)"), this), "Label4");
    Label4->adjustSize();
    Picture1 = named(new QFrame(this), "Picture1");
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAutoFillBackground(true);
    place(Picture1, 3360, 540, 2475, 2475);
    picPreview = named(new QLabel(Picture1), "picPreview");
    picPreview->setAutoFillBackground(true);
    QPalette pal = picPreview->palette();
    pal.setColor(QPalette::Window, Qt::white);
    picPreview->setPalette(pal);
    picPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->move(twips::toPx(3360), twips::toPx(60));
    Label4->move(twips::toPx(3360), twips::toPx(300));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    connect(cmdCancel, &QPushButton::clicked, this, &PrintWindow::cmdCancel_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &PrintWindow::cmdPrint_Click);
    connect(cmdPrinter, &QPushButton::clicked, this, &PrintWindow::cmdPrinter_Click);
    connect(optPort, &QRadioButton::clicked, this, [this] { optionClick(&PrintWindow::optPort_Click); });
    connect(optLand, &QRadioButton::clicked, this, [this] { optionClick(&PrintWindow::optLand_Click); });
    connect(optPlot, &QRadioButton::clicked, this, [this] { optionClick(&PrintWindow::optPlot_Click); });
    connect(optWindow, &QRadioButton::clicked, this, [this] { optionClick(&PrintWindow::optWindow_Click); });
    connect(chkFit, &QCheckBox::toggled, this, &PrintWindow::chkFit_Click);
    connect(chkCenter, &QCheckBox::toggled, this, &PrintWindow::chkCenter_Click);
    connect(Timer1, &QTimer::timeout, this, &PrintWindow::Timer1_Timer);
    for (QLineEdit* box : {txtLeft, txtTop, txtScale}) {
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (ScaleArmed) Timer1->start();
        });
        box->installEventFilter(this);
    }
    connect(VScroll1, &QScrollBar::valueChanged, this, &PrintWindow::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &PrintWindow::VScroll2_Change);
}

PrinterService& PrintWindow::printerService() {
    if (!m_printer) {
        m_printer = std::make_unique<PrinterService>();
        m_printer->setDialogParent(this);
    }
    return *m_printer;
}

double PrintWindow::WidthTwips() const { return twips::fromPx(width()); }
double PrintWindow::HeightTwips() const { return twips::fromPx(height()); }

// ---------------------------------------------------------------------------
// Opening and closing

void PrintWindow::PrintSetup(MainWindow* owner, QWidget* pictureBox, const QImage& image, const QImage& ownerImage) {
    OwnerForm = owner;
    SourcePicture = pictureBox;
    setWindowTitle(w.app.ProgramTitle + QStringLiteral(" Print"));
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    // The window belongs to the main window and stays in front of it: a
    // click on the disabled main window must not bury it.
    if (owner) {
        winId();
        if (QWindow* handle = windowHandle()) handle->setTransientParent(owner->windowHandle());
    }
    const QIcon icon = owner ? owner->windowIcon() : QIcon();
    setWindowIcon(icon);
    Image1->setPixmap(icon.pixmap(Image1->size()));
    if (sound::WaveDeviceAvailable()) sound::PlaySystemSound(QStringLiteral("Maximize"), true);
    cmdHelp->setVisible(false);
    picture = image;
    shownOwner = ownerImage;
    PageSetup();
    show();
    raise();
    activateWindow();
    MainWindow::DoEvents();
}

void PrintWindow::Form_Load() {
    PreviewSize = legacy::NumVal(
        w.settings->ReadSetting(w.app.AppName, QStringLiteral("PrintPreviewSize"), QStringLiteral("6060")));
    const double winHeight = PreviewSize - 2430;
    double ownerLeft = 0, ownerTop = 0, ownerWidth = 0, ownerHeight = 0;
    if (OwnerForm) {
        ownerLeft = OwnerForm->Left();
        ownerTop = OwnerForm->Top();
        ownerWidth = OwnerForm->Width();
        ownerHeight = OwnerForm->Height();
    }
    const double winLeft = (ownerWidth - PreviewSize) / 2 + ownerLeft;
    const double winTop = (ownerHeight - winHeight) / 2 + ownerTop;
    move(twips::toPx(winLeft), twips::toPx(winTop));
    resize(std::max(1, twips::toPx(PreviewSize)), std::max(1, twips::toPx(winHeight)));
}

void PrintWindow::cmdCancel_Click() {
    if (sound::WaveDeviceAvailable()) sound::PlaySystemSound(QStringLiteral("Minimize"), true);
    try {
        w.settings->WriteSetting(w.app.AppName, QStringLiteral("PrintPreviewSize"), WidthTwips());
    } catch (const legacy::Error&) {
        // A size that cannot be remembered must not keep the main window locked.
    }
    hide();
    if (OwnerForm) {
        OwnerForm->setEnabled(true);
        OwnerForm->activateWindow();
        OwnerForm->setFocus();
    }
}

void PrintWindow::closeEvent(QCloseEvent* e) {
    // Closing the window any other way is the same as Done: the main window
    // must not stay disabled.
    if (isVisible()) cmdCancel_Click();
    e->accept();
}

// ---------------------------------------------------------------------------
// Layout

void PrintWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Form_Resize();
}

void PrintWindow::Form_Resize() {
    if (m_inResize || picPreview->isHidden()) return;
    m_inResize = true;
    const pagelayout::WindowSize s = pagelayout::previewWindowSize(WidthTwips());
    if (twips::toPx(s.width) != width() || twips::toPx(s.height) != height())
        resize(twips::toPx(s.width), twips::toPx(s.height));
    place(Picture1, 3360, 540, s.frameSide, s.frameSide);
    const int frameLeft = Picture1->x(), frameWidth = Picture1->width();
    Label3->move((frameWidth - Label3->width()) / 2 + frameLeft, Label3->y());
    Label4->move((frameWidth - Label4->width()) / 2 + frameLeft, Label4->y());
    skipFailure([&] { placePreview(); });
    PrintScale();
    PreviewSize = WidthTwips();
    m_inResize = false;
}

void PrintWindow::placePreview() {
    const pagelayout::Rect r =
        pagelayout::previewPage(printerService().Orientation(), twips::fromPx(Picture1->width()),
                                twips::fromPx(Picture1->height()), metrics.PageWidthIn, metrics.PageHeightIn);
    place(picPreview, r.left, r.top, std::max(0.0, r.width), std::max(0.0, r.height));
}

void PrintWindow::PageSetup() {
    PrinterService& ps = printerService();
    labPrinter->setText(QStringLiteral("Print to: ") + ps.DeviceName());
    page = {ps.PaperWidth(), ps.PaperHeight(), ps.OffsetLeft(), ps.OffsetTop(), ps.PrintableWidth(),
            ps.PrintableHeight()};
    metrics = pagelayout::metricsFrom(page);
    txtLeft->setText(pagelayout::setupMargin(txtLeft->text(), metrics.MinLeftMargin, metrics.PageWidthIn));
    txtTop->setText(pagelayout::setupMargin(txtTop->text(), metrics.MinTopMargin, metrics.PageHeightIn));

    if (ps.Orientation() == 1) {
        if (!optPort->isChecked()) {
            optPort->setChecked(true);
            optPort_Click();
        }
    } else if (!optLand->isChecked()) {
        optLand->setChecked(true);
        optLand_Click();
    }
    placePreview();

    const bool plot = optPlot->isChecked();
    for (QWidget* c : std::initializer_list<QWidget*>{Frame1, Frame2, Frame4, txtScale, VScroll1, chkCenter, txtLeft,
                                                      txtTop, optPort, optLand})
        c->setEnabled(plot);
    if (plot) {
        picPreview->setVisible(true);
        Picture1->setVisible(true);
        Label3->setVisible(true);
        Label4->setVisible(true);
        resize(std::max(1, twips::toPx(PreviewSize)), height());
        // A hidden window gets its resize handling only when shown; lay it out now.
        if (!isVisible()) Form_Resize();
        PrintScale();
    } else {
        picPreview->setVisible(false);
        Picture1->setVisible(false);
        Label3->setVisible(false);
        Label4->setVisible(false);
        resize(twips::toPx(3425), twips::toPx(3495));
    }
}

void PrintWindow::PrintScale() {
    ScaleArmed = false;
    if (!chkFit->isChecked() && !pagelayout::scaleAccepted(txtScale->text())) {
        // No scale would print nothing, or a stamp: keep the last one.
        txtScale->setText(m_lastScale);
        report(QStringLiteral("Please enter a scale greater than 0."));
    }
    pagelayout::ScaleInput in;
    in.left = txtLeft->text();
    in.top = txtTop->text();
    in.scale = txtScale->text();
    in.fit = chkFit->isChecked();
    in.center = chkCenter->isChecked();
    in.pictureWidth = twips::fromPx(picture.width());
    in.pictureHeight = twips::fromPx(picture.height());
    in.page = metrics;
    in.previous = rect;
    const pagelayout::ScaleResult r = pagelayout::printScale(in);
    rect = r.rect;
    if (r.scaleEnabled) {
        txtScale->setEnabled(*r.scaleEnabled);
        VScroll1->setEnabled(*r.scaleEnabled);
    }
    if (r.leftEnabled) txtLeft->setEnabled(*r.leftEnabled);
    if (r.topEnabled) txtTop->setEnabled(*r.topEnabled);
    txtLeft->setText(r.left);
    txtTop->setText(r.top);
    txtScale->setText(r.scale);
    if (pagelayout::scaleAccepted(r.scale)) m_lastScale = r.scale;
    MainWindow::DoEvents();
    if (optPlot->isChecked()) skipFailure([&] { PrintPreviewDraw(picPreview); });
    ScaleArmed = true;
}

void PrintWindow::PrintPreviewDraw(QLabel* target) {
    target->clear();
    const QSize size = target->size();
    if (size.isEmpty()) return;
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const pagelayout::Rect r = pagelayout::previewPicture(
        legacy::NumVal(txtLeft->text()), legacy::NumVal(txtTop->text()), twips::fromPx(size.width()),
        twips::fromPx(size.height()), page, rect);
    if (!picture.isNull() && r.width > 0 && r.height > 0) {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(r.left / twips::PerPixel, r.top / twips::PerPixel, r.width / twips::PerPixel,
                           r.height / twips::PerPixel),
                    picture);
    }
    target->setPixmap(QPixmap::fromImage(canvas));
    MainWindow::DoEvents();
}

// ---------------------------------------------------------------------------
// Handlers of the layout controls

void PrintWindow::optionClick(void (PrintWindow::*body)()) {
    // The option handlers read the printer again; when that fails the user
    // is told and the window stays as it was.
    try {
        (this->*body)();
    } catch (const legacy::Error& e) {
        report(QStringLiteral("Print setup error: ") + e.description());
    }
}

void PrintWindow::optPort_Click() {
    printerService().setOrientation(1);
    PageSetup();
}

void PrintWindow::optLand_Click() {
    printerService().setOrientation(2);
    PageSetup();
}

void PrintWindow::optPlot_Click() { PageSetup(); }
void PrintWindow::optWindow_Click() { PageSetup(); }

void PrintWindow::chkFit_Click() {
    // The scale box takes typing as soon as Fit is unticked, not only after
    // the re-scale a second later.
    txtScale->setEnabled(!chkFit->isChecked());
    VScroll1->setEnabled(!chkFit->isChecked());
    Timer1->start();
}

void PrintWindow::chkCenter_Click() {
    if (!chkCenter->isChecked() && !chkFit->isChecked()) {
        txtLeft->setEnabled(true);
        txtTop->setEnabled(true);
    } else if (chkCenter->isChecked()) {
        txtLeft->setEnabled(false);
        txtTop->setEnabled(false);
    }
    Timer1->start();
}

void PrintWindow::Timer1_Timer() {
    Timer1->stop();
    PrintScale();
}

// The spin bars rest at 0: the return there after a step is no step.
void PrintWindow::VScroll1_Change(int value) {
    if (value == 0) return;
    float s = legacy::NumVal(txtScale->text()) - static_cast<float>(value);
    if (s < 10) s = 10;
    txtScale->setText(legacy::Format(s, QStringLiteral("0")));
    MainWindow::DoEvents();
    QThread::msleep(100);
    VScroll1->setValue(0);
}

void PrintWindow::VScroll2_Change(int value) {
    if (value == 0) return;
    QLineEdit* box = SpinTopMargin ? txtTop : txtLeft;
    box->setText(legacy::Format(legacy::NumVal(box->text()) - value / 100.0, QStringLiteral("0.00")));
    MainWindow::DoEvents();
    QThread::msleep(100);
    VScroll2->setValue(0);
}

bool PrintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtLeft) SpinTopMargin = false;
        else if (watched == txtTop) SpinTopMargin = true;
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Output

void PrintWindow::report(const QString& text) {
    // Shown over this window: the main window is disabled while it is open.
    dlg::provider().message(this, text, {dlg::Buttons::OK, dlg::Icon::Exclamation}, dlg::applicationTitle());
}

void PrintWindow::cmdPrinter_Click() {
    try {
        printerService().ShowDialog(QStringLiteral("Setup"));
        PageSetup();
    } catch (const legacy::Error& e) {
        report(QStringLiteral("Print setup error: ") + e.description());
    }
}

void PrintWindow::printPages(const QImage& image, const pagelayout::PrintRect& at, int copies, const QString& outputFile) {
    PrinterService& ps = printerService();
    ps.StartJob(w.app.ProgramTitle + QStringLiteral(" Page"), outputFile);
    for (int i = 1; i <= copies; ++i) {
        ps.StartPage();
        ps.DrawPicture(image, at.PrintLeft, at.PrintTop, at.PrintWidth, at.PrintHeight);
        ps.EndPage();
    }
    ps.EndJob();
}

void PrintWindow::cmdPrint_Click() {
    try {
        PrinterService& ps = printerService();
        ps.FastPrintOption = pagelayout::fastPrintValue(
            w.settings->ReadSetting(w.app.AppName, QStringLiteral("FastPrint"), true), true);
        ps.ShowDialog(QString());
        if (!ps.DialogConfirmed()) return;
        PageSetup();
        w.settings->WriteSetting(w.app.AppName, QStringLiteral("FastPrint"), ps.FastPrintOption);
        QString file;
        if (ps.PrintToFile()) {
            // The one place the file is asked for.
            dlg::CommonDialog cd;
            cd.DialogTitle = QStringLiteral("Print To File");
            cd.FileName = QStringLiteral("*.prn");
            cd.Filter = QStringLiteral("Printer Files (*.prn)|*.prn");
            cd.DefaultExt = QStringLiteral("prn");
            // A cancelled save dialog prints nothing: there is no file to print to.
            if (!dlg::provider().save(this, cd) || cd.FileName.isEmpty() || cd.FileName.contains(QLatin1Char('*')))
                return;
            file = cd.FileName;
        }
        if (optWindow->isChecked()) {
            // The main window as the user saw it when printing was asked
            // for (it is greyed out now), at screen size, one page.
            const pagelayout::PrintRect at{0, 0, std::lround(twips::fromPx(shownOwner.width())),
                                           std::lround(twips::fromPx(shownOwner.height()))};
            printPages(shownOwner, at, 1, file);
        } else {
            // A file holds one copy; the printer gets one page per copy.
            printPages(picture, rect, file.isEmpty() ? ps.Copies() : 1, file);
        }
    } catch (const legacy::Error& e) {
        report(QStringLiteral("Printing error: ") + e.description());
    }
}
