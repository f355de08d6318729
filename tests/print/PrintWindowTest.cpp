// The Print command and the print window driven on the real main window, and
// the pages they print: to a file (no printer needed), and through a cups-pdf
// queue that each CUPS test makes for itself.
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/PrinterService.h"
#include "platform/PrinterSetupDialog.h"
#include "platform/SettingsStore.h"
#include "print/PrintCommands.h"
#include "print/PrintWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cups/cups.h>

namespace {

const QString kSection = QStringLiteral("Vexolan");

// A map of a known colour on the marker layer; returns its picture.
QImage showMap(MainWindow& w, const QColor& colour, int wPx, int hPx) {
    QImage img(wPx, hPx, QImage::Format_RGB32);
    img.fill(colour);
    w.picMap->setVisible(false);
    w.imPoints->setPicture(img);
    w.imPoints->Move(150, 75, twips::fromPx(wPx), twips::fromPx(hPx));
    w.imPoints->setVisible(true);
    w.cmdPrint->setEnabled(true);
    QCoreApplication::processEvents();
    return img;
}

PrintWindow* openPrintWindow(MainWindow& w) {
    QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
    return w.printCommands->printWindow();
}

// A fresh main window printing a red 200 x 100 map: wide, width-limited.
PrintWindow* openOnRedMap(std::unique_ptr<MainWindow>& w) {
    w = testsupport::startMainWindow();
    showMap(*w, Qt::red, 200, 100);
    return openPrintWindow(*w);
}

// Letter paper with a quarter inch unprintable on every side, printed to a
// file: the page of the tests that need no printer, whatever is installed.
void useLetterFile(PrintWindow* f) {
    QPrinter& p = f->printerService().printer();
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setPrinterName(QString());
    p.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                QPageLayout::Point));
    f->PageSetup();
}

// The scripted print dialog: copies, the print-to-file box and the
// fast-print box (what it offered is reported back).
dlg::WindowScript printDialog(int copies, bool toFile, std::optional<bool> fast = std::nullopt,
                              bool* fastOffered = nullptr) {
    return [=](QDialog* d) {
        auto* pd = qobject_cast<QPrintDialog*>(d);
        auto* file = d->findChild<QCheckBox*>(QStringLiteral("chkPrintToFile"));
        auto* box = d->findChild<QCheckBox*>(QStringLiteral("chkFastPrint"));
        if (!pd || !file || !box) return int(QDialog::Rejected);
        pd->printer()->setCopyCount(copies);
        file->setChecked(toFile);
        if (fastOffered) *fastOffered = box->isChecked();
        if (fast) box->setChecked(*fast);
        return int(QDialog::Accepted);
    };
}

// The scripted Print Setup dialog: printer ("" keeps it), paper, orientation.
dlg::WindowScript setupDialog(const QString& printer, QPageSize::PageSizeId paper, bool landscape) {
    return [=](QDialog* d) {
        auto* s = qobject_cast<PrinterSetupDialog*>(d);
        if (!s) return int(QDialog::Rejected);
        if (!printer.isEmpty()) s->cboPrinter->setCurrentIndex(s->cboPrinter->findData(printer));
        s->cboPaper->setCurrentIndex(s->cboPaper->findText(QPageSize(paper).name()));
        (landscape ? s->optLandscape : s->optPortrait)->setChecked(true);
        return int(QDialog::Accepted);
    };
}

// The page the print window read: paper, offsets, printable area (twips).
QList<long> pageOf(const PrintWindow* f) {
    const pagelayout::PageValues& p = f->page;
    return {p.PaperWidth, p.PaperHeight, p.OffsetLeft, p.OffsetTop, p.PrintableWidth, p.PrintableHeight};
}

QByteArray run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

// What a PDF holds: its pages, the first page's size in points, and where
// something is drawn on that page (the box of the non-white pixels at 36 dpi).
struct Pdf { int pages = -1; QSizeF size; QRect box; };

Pdf readPdf(const QString& file) {
    Pdf pdf;
    for (const QString& line : QString::fromUtf8(run(QStringLiteral("pdfinfo"), {file})).split(QLatin1Char('\n'))) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (line.startsWith(QLatin1String("Pages:"))) pdf.pages = f.value(1).toInt();
        if (line.startsWith(QLatin1String("Page size:"))) pdf.size = {f.value(2).toDouble(), f.value(4).toDouble()};
    }
    const QImage img = QImage::fromData(run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("36"),
        QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"), file}));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (std::min({c.red(), c.green(), c.blue()}) < 200) pdf.box |= QRect(x, y, 1, 1);
        }
    return pdf;
}

// Edges within a pixel: the page is rasterized, and edges fall between pixels.
bool near(const QRect& got, const QRect& expected) {
    return std::abs(got.left() - expected.left()) <= 1 && std::abs(got.top() - expected.top()) <= 1 &&
           std::abs(got.right() - expected.right()) <= 1 && std::abs(got.bottom() - expected.bottom()) <= 1;
}

QRect box(int left, int top, int right, int bottom) { return QRect(QPoint(left, top), QPoint(right, bottom)); }

// A cups-pdf queue of the test's own with its own output folder, removed at
// the end: parallel runs never share a queue or a file.
class TestQueue {
public:
    TestQueue() {
        static int made = 0;
        name = QStringLiteral("vexolan_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
        QProcess p;
        p.start(QStringLiteral(VEXOLAN_CUPS_TEST_QUEUE), {QStringLiteral("add"), name, out.path()});
        ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        error = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    }
    ~TestQueue() { QProcess::execute(QStringLiteral(VEXOLAN_CUPS_TEST_QUEUE), {QStringLiteral("remove"), name}); }

    // The titles of the queue's jobs by id: those completed, or all.
    QMap<int, QString> jobs(bool completed) const {
        cups_job_t* list = nullptr;
        const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, name.toUtf8().constData(), 0,
                                   completed ? CUPS_WHICHJOBS_COMPLETED : CUPS_WHICHJOBS_ALL);
        QMap<int, QString> out;
        for (int i = 0; i < n; ++i) out.insert(list[i].id, QString::fromUtf8(list[i].title));
        cupsFreeJobs(n, list);
        return out;
    }
    // The file cups-pdf wrote for a job, found by its id.
    QString output(int id) const {
        const QStringList f = QDir(out.path()).entryList({QStringLiteral("*-job_%1.pdf").arg(id)}, QDir::Files);
        return f.size() == 1 ? out.filePath(f.first()) : QString();
    }

    QTemporaryDir out;
    QString name;
    bool ok = false;
    QString error;
};

// As root (set by scripts/test) a queue that cannot be made is a failure.
#define REQUIRE_QUEUE(q)                                                                                   \
    if (!(q).ok && qgetenv("VEXOLAN_CUPS_REQUIRED") == "1") QFAIL(qPrintable("no CUPS queue: " + (q).error)); \
    if (!(q).ok) QSKIP(qPrintable("no CUPS queue: " + (q).error))

} // namespace

class PrintWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        SettingsStore().ClearSection(kSection);
        testsupport::dialogs().clear();
        QGuiApplication::clipboard()->clear();
    }

    void windowOpensCapturesAndCloses_data() {
        QTest::addColumn<bool>("byDone");
        QTest::newRow("Done") << true;
        QTest::newRow("close button") << false;
    }
    void windowOpensCapturesAndCloses() {
        QFETCH(bool, byDone);
        auto w = testsupport::startMainWindow();
        // A registered map: the Coordinates menu is off and must stay off.
        w->doc.MapRegistered = true;
        w->mnuCoord->menuAction()->setEnabled(false);
        const QImage red = showMap(*w, Qt::red, 120, 80);
        PrintWindow* f = openPrintWindow(*w);
        QVERIFY(f && f->isVisible());
        QVERIFY(!w->isEnabled());
        QCOMPARE(f->windowTitle(), QStringLiteral("Ferno Vexolan Print"));
        // Kept in front of the main window by the window system.
        QCOMPARE(f->windowType(), Qt::Dialog);
        QCOMPARE(f->windowHandle()->transientParent(), w->windowHandle());
        // The capture is the marker layer's size and shows the map, also on
        // the clipboard.
        QCOMPARE(f->SourcePicture.data(), static_cast<QWidget*>(w->picPrint));
        QCOMPARE(f->picture, red);
        QCOMPARE(QGuiApplication::clipboard()->image(), red);
        // The stored size 6060 gives 6060 x 3630, centred on the main window.
        QCOMPARE(QSizeF(f->WidthTwips(), f->HeightTwips()), QSizeF(6060, 3630));
        // Main window 781 x 747 at 10, 36: left 10 + (781 - 404) / 2, top 36 + (747 - 242) / 2.
        QCOMPARE(w->geometry(), QRect(10, 36, 781, 747));
        QCOMPARE(f->frameGeometry().topLeft(), QPoint(199, 289));
        QCOMPARE(f->Picture1->size(), QSize(165, 165));
        QVERIFY(!f->cmdHelp->isVisible());
        // "Print Window" prints the window as it was shown, not greyed.
        const QRect bar = w->menuBar()->geometry();
        const QImage greyed = w->grab().toImage().copy(bar);

        if (byDone) QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        else f->close();
        QVERIFY(!f->isVisible());
        QVERIFY(w->isEnabled());
        QVERIFY(!w->mnuCoord->menuAction()->isEnabled());
        QVERIFY(w->mnuFile->menuAction()->isEnabled());
        QCOMPARE(w->settings->ReadSetting(kSection, QStringLiteral("PrintPreviewSize"), QString()),
                 QStringLiteral("6060"));
        const QImage shown = w->grab().toImage().copy(bar);
        QCOMPARE(f->shownOwner.copy(bar), shown);
        QVERIFY(greyed != shown);
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));

        // The next Print command reuses the window and captures anew.
        const QImage blue = showMap(*w, Qt::blue, 60, 40);
        QCOMPARE(openPrintWindow(*w), f);
        QCOMPARE(f->picture, blue);
    }

    void pictureToPrint_data() {
        QTest::addColumn<bool>("plot");
        QTest::newRow("map larger than its panel") << false;
        QTest::newRow("plot shown") << true;
    }
    void pictureToPrint() {
        QFETCH(bool, plot);
        auto w = testsupport::startMainWindow();
        const int fw = w->Frame1->width(), fh = w->Frame1->height();
        QImage expected(300, 200, QImage::Format_RGB32);
        expected.fill(Qt::yellow);
        if (plot) {
            w->picMap->setPicture(expected);
            w->picMap->setVisible(true);
        } else {
            // The panel's inside less 180 twips (12 pixels) each way.
            expected = showMap(*w, Qt::green, fw + 200, fh + 200).copy(0, 0, fw - 12, fh - 12);
            w->imPoints->Move(-300, -300);
        }
        w->mnuFilePrint->setEnabled(true);
        w->mnuFilePrint->trigger();
        PrintWindow* f = w->printCommands->printWindow();
        QVERIFY(f && f->isVisible());
        QCOMPARE(f->SourcePicture.data(), plot ? static_cast<QWidget*>(w->picMap) : w->picPrint);
        QCOMPARE(f->picture, expected);
        // Only a capture goes to the clipboard.
        QCOMPARE(QGuiApplication::clipboard()->image(), plot ? QImage() : expected);
    }

    void resizeKeepsTheWindowShape() {
        SettingsStore().WriteSetting(kSection, QStringLiteral("PrintPreviewSize"), QStringLiteral("wide"));
        {
            auto w = testsupport::startMainWindow();
            showMap(*w, Qt::red, 100, 100);
            PrintWindow* f = openPrintWindow(*w);
            QCOMPARE(f->WidthTwips(), 6060.0); // a stored size that is no number
            f->resize(twips::toPx(5000), twips::toPx(3000));
            QCOMPARE(QSizeF(f->WidthTwips(), f->HeightTwips()), QSizeF(6060, 3630));
            f->resize(twips::toPx(8010), twips::toPx(1000));
            QCOMPARE(QSizeF(f->WidthTwips(), f->HeightTwips()), QSizeF(8010, 5580));
            QCOMPARE(f->Picture1->size(), QSize(295, 295));
            QVERIFY(f->Picture1->rect().contains(f->picPreview->geometry()));
            QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        }
        // The next start opens the window at the stored width.
        auto w = testsupport::startMainWindow();
        showMap(*w, Qt::red, 100, 100);
        PrintWindow* f = openPrintWindow(*w);
        QCOMPARE(QSizeF(f->WidthTwips(), f->HeightTwips()), QSizeF(8010, 5580));
    }

    void layoutControls() {
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = openOnRedMap(w);
        useLetterFile(f);
        QCOMPARE(f->labPrinter->text(), QStringLiteral("Print to: Print to File (PDF)"));
        // Fit to page, the wide picture across: only the top box is free.
        QVERIFY(!f->txtLeft->isEnabled() && f->txtTop->isEnabled() && !f->txtScale->isEnabled());
        // An edit arms the one-second timer; centring frees no box.
        f->Timer1->stop();
        f->txtTop->setText(QStringLiteral("3.5"));
        QVERIFY(f->Timer1->isActive());
        f->chkCenter->setChecked(true);
        QVERIFY(!f->txtLeft->isEnabled() && !f->txtTop->isEnabled());
        f->Timer1_Timer();
        QCOMPARE(f->rect.PrintTop, 4680L);

        // The spins: the scale up by one and never below 10; the margin box
        // that had the focus last by a hundredth.
        f->chkFit->setChecked(false);
        f->txtScale->setText(QStringLiteral("50"));
        f->VScroll1->setValue(-1);
        QCOMPARE(f->txtScale->text(), QStringLiteral("51"));
        QCOMPARE(f->VScroll1->value(), 0);
        f->txtScale->setText(QStringLiteral("10"));
        f->VScroll1->setValue(1);
        QCOMPARE(f->txtScale->text(), QStringLiteral("10"));
        f->chkCenter->setChecked(false);
        f->SpinTopMargin = true;
        f->VScroll2->setValue(-1);
        QCOMPARE(f->txtTop->text(), QStringLiteral("3.51"));

        // Print Setup: cancelled it changes nothing; a choice of paper and
        // orientation turns the page and the preview.
        auto& d = testsupport::dialogs();
        d.queue(dlg::Answer::Cancel);
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QCOMPARE(d.prompts.at(0).title, QStringLiteral("Print Setup"));
        QCOMPARE(pageOf(f), (QList<long>{12240, 15840, 360, 360, 11520, 15120}));
        d.queue(setupDialog({}, QPageSize::Legal, true));
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QVERIFY(f->optLand->isChecked() && f->picPreview->width() > f->picPreview->height());
        QCOMPARE(pageOf(f), (QList<long>{20160, 12240, 360, 360, 19440, 11520}));

        // The window option: compact window, no preview, layout disabled.
        QTest::mouseClick(f->optWindow, Qt::LeftButton);
        QVERIFY(f->picPreview->isHidden());
        QCOMPARE(f->size(), QSize(228, 233));
        QVERIFY(!f->Frame2->isEnabled() && !f->optPort->isEnabled() && !f->txtLeft->isEnabled());
        QTest::mouseClick(f->optPlot, Qt::LeftButton);
        QVERIFY(!f->picPreview->isHidden());
        QCOMPARE(f->WidthTwips(), 6060.0);
    }

    void typedScale_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<long>("width");
        QTest::addColumn<bool>("refused");
        QTest::newRow("50") << "50" << "50" << 5760L << false;
        QTest::newRow("0") << "0" << "100" << 11520L << true;
        QTest::newRow("negative") << "-50" << "100" << 11520L << true;
        QTest::newRow("text") << "abc" << "100" << 11520L << true;
    }
    void typedScale() {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = openOnRedMap(w);
        useLetterFile(f);
        // The box takes typing right after Fit to Page is unticked.
        QTest::mouseClick(f->chkFit, Qt::LeftButton, {}, QPoint(5, f->chkFit->height() / 2));
        QVERIFY(!f->chkFit->isChecked());
        QVERIFY(f->txtScale->isEnabled());
        f->txtScale->selectAll();
        QTest::keyClicks(f->txtScale, typed);
        QCOMPARE(f->txtScale->text(), typed);
        QTRY_VERIFY_WITH_TIMEOUT(!f->Timer1->isActive(), 3000);
        QTEST(f->txtScale->text(), "box");
        QTEST(f->rect.PrintWidth, "width");
        const auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(prompts.size(), size_t(refused));
        if (refused) QCOMPARE(prompts[0].text, QStringLiteral("Please enter a scale greater than 0."));
    }

    void printToFile() {
        QTemporaryDir dir;
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = openOnRedMap(w);
        useLetterFile(f);
        QTest::mouseClick(f->optLand, Qt::LeftButton);
        auto& d = testsupport::dialogs();
        const QString prn = dir.filePath(QStringLiteral("map.prn"));
        bool offered = false;
        d.queue(printDialog(3, true, false, &offered));
        d.queue(prn);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QVERIFY(offered); // "FastPrint" unset reads as True
        // The file is asked for once, by the program's own dialog.
        QCOMPARE(d.prompts.size(), size_t(2));
        QCOMPARE(d.prompts[1].kind, dlg::Prompt::Kind::Save);
        QCOMPARE(d.prompts[1].title, QStringLiteral("Print To File"));
        QCOMPARE(d.prompts[1].defaultText, QStringLiteral("*.prn"));
        // One landscape letter page whatever the copies; the picture across
        // the printable width from the quarter-inch margins (36 dpi).
        const Pdf pdf = readPdf(prn);
        QCOMPARE(pdf.pages, 1);
        QCOMPARE(pdf.size, QSizeF(792, 612));
        QVERIFY2(near(pdf.box, box(9, 9, 386, 197)), qPrintable(QDebug::toString(pdf.box)));
        QCOMPARE(w->settings->ReadSetting(kSection, QStringLiteral("FastPrint"), QString()), QStringLiteral("False"));

        // The fast-print choice is offered next time; a cancelled save dialog
        // prints nothing.
        d.clear();
        offered = true;
        d.queue(printDialog(1, true, std::nullopt, &offered));
        d.queue(dlg::Cancel{});
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QVERIFY(!offered);
        QCOMPARE(d.prompts.size(), size_t(2));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("map.prn")});
        QVERIFY(!f->printerService().jobActive());

        // "Print Window" prints the window's picture, one page.
        QTest::mouseClick(f->optWindow, Qt::LeftButton);
        d.clear();
        d.queue(printDialog(2, true));
        d.queue(dir.filePath(QStringLiteral("window.prn")));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(readPdf(dir.filePath(QStringLiteral("window.prn"))).pages, 1);

        // A file that cannot be written is reported.
        d.clear();
        d.queue(printDialog(1, true));
        d.queue(QStringLiteral("/nonexistent-folder/sub/out.prn"));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(3));
        QVERIFY(d.prompts[2].text.startsWith(QStringLiteral("Printing error: Cannot write \"/nonexistent-folder")));
        QCOMPARE(d.prompts[2].icon, dlg::Icon::Exclamation);
    }

    void cupsPrintsThePage_data() {
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<bool>("center");
        QTest::addColumn<QString>("top");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QRect>("expected"); // on the A4 sheet at 36 dpi (298 x 421 pixels)
        // A4 on this queue: 11900 x 16840 twips, 200 unprintable on each side.
        // Fit: 11500 x 5750 at the top, 2 twips below the margin ("0.14" inch).
        QTest::newRow("fit, 3 copies") << false << true << false << "0" << 3 << box(5, 5, 292, 148);
        // 50 %: 5750 x 2875 at 2875, 6782 in the printable area.
        QTest::newRow("50 percent centred") << false << false << true << "0" << 1 << box(76, 174, 220, 246);
        // Landscape: 16440 x 8220 from a 1-inch top margin; the sheet comes
        // out upright with the page turned, the page's top on the left.
        QTest::newRow("landscape, fit") << true << true << false << "1" << 1 << box(36, 5, 241, 415);
    }
    void cupsPrintsThePage() {
        QFETCH(bool, landscape);
        QFETCH(bool, fit);
        QFETCH(bool, center);
        QFETCH(int, copies);
        TestQueue q;
        REQUIRE_QUEUE(q);
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = openOnRedMap(w);
        auto& d = testsupport::dialogs();
        // Print Setup chooses the printer, its paper and the orientation.
        d.queue(setupDialog(q.name, QPageSize::A4, landscape));
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QCOMPARE(f->labPrinter->text(), QStringLiteral("Print to: ") + q.name);
        const QList<long> a4 = landscape ? QList<long>{16840, 11900, 200, 200, 16440, 11500}
                                         : QList<long>{11900, 16840, 200, 200, 11500, 16440};
        QCOMPARE(pageOf(f), a4);
        f->chkFit->setChecked(fit);
        f->chkCenter->setChecked(center);
        f->txtScale->setText(QStringLiteral("50"));
        QFETCH(QString, top);
        f->txtTop->setText(top);
        f->PrintScale();

        d.queue(printDialog(copies, false));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(2));
        const int id = f->printerService().LastJobId();
        QVERIFY(id > 0);
        QTRY_VERIFY_WITH_TIMEOUT(q.jobs(true).contains(id), 60000);
        QCOMPARE(q.jobs(true).value(id), QStringLiteral("Ferno Vexolan Page"));
        const Pdf pdf = readPdf(q.output(id));
        QCOMPARE(pdf.pages, copies);
        QCOMPARE(pdf.size, QSizeF(595, 842));
        QFETCH(QRect, expected);
        QVERIFY2(near(pdf.box, expected), qPrintable(QDebug::toString(pdf.box)));
    }

    void cupsCancelledOrRefusedPrintsNothing() {
        TestQueue q;
        REQUIRE_QUEUE(q);
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = openOnRedMap(w);
        auto& d = testsupport::dialogs();
        d.queue(setupDialog(q.name, QPageSize::A4, false));
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        // A cancelled print dialog: no job, nothing stored, no message.
        d.clear();
        d.queue(dlg::Answer::Cancel);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(1));
        QCOMPARE(w->settings->ReadSetting(kSection, QStringLiteral("FastPrint"), QStringLiteral("unset")),
                 QStringLiteral("unset"));
        // A queue that refuses jobs: the reason is reported.
        QCOMPARE(QProcess::execute(QStringLiteral("cupsreject"), {q.name}), 0);
        d.clear();
        d.queue(printDialog(1, false));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(2));
        QCOMPARE(d.prompts[1].text,
                 QStringLiteral("Printing error: Destination \"%1\" is not accepting jobs.").arg(q.name));
        QCOMPARE(d.prompts[1].icon, dlg::Icon::Exclamation);
        QVERIFY(f->isVisible());
        QCOMPARE(f->printerService().LastJobId(), 0);
        QVERIFY(q.jobs(false).isEmpty());
        QVERIFY(QDir(q.out.path()).isEmpty());
    }
};

VEX_TEST(PrintWindowTest);
#include "PrintWindowTest.moc"
