// The Print command and the print window driven on the real main window:
// capture, window placement and size, page layout controls, Done, and the
// print output to a file and to the CUPS PDF queue (skipped without it).
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"
#include "platform/PrinterService.h"
#include "platform/SettingsStore.h"
#include "print/PrintCommands.h"
#include "print/PrintWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("Vexolan");

void resetSettings() {
    SettingsStore st;
    st.ClearSection(kSection);
}

std::unique_ptr<MainWindow> startWindow() {
    auto w = std::make_unique<MainWindow>();
    w->FormLoad();
    w->show();
    if (AboutBox* s = w->splash()) s->unload();
    QCoreApplication::processEvents();
    return w;
}

// A map of a known colour on the marker layer, smaller than the map panel.
void showMap(MainWindow& w, const QColor& colour, int wPx, int hPx) {
    QImage img(wPx, hPx, QImage::Format_RGB32);
    img.fill(colour);
    w.picMap->setVisible(false);
    w.imPoints->setPicture(img);
    w.imPoints->Move(150, 75, twips::fromPx(wPx), twips::fromPx(hPx));
    w.imPoints->setVisible(true);
    w.cmdPrint->setEnabled(true);
    QCoreApplication::processEvents();
}

PrintWindow* openPrintWindow(MainWindow& w) {
    QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
    return w.printCommands->printWindow();
}

// The scripted print dialog: chooses a printer or a file, copies and the
// fast-print box.
dlg::WindowScript printDialog(const QString& printerName, int copies, const QString& pdfFile = {},
                              std::optional<bool> fast = std::nullopt, bool* fastOffered = nullptr) {
    return [=](QDialog* d) {
        auto* pd = qobject_cast<QPrintDialog*>(d);
        if (!pd) return int(QDialog::Rejected);
        QPrinter* p = pd->printer();
        if (!pdfFile.isEmpty()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(pdfFile);
        } else {
            p->setPrinterName(printerName);
            p->setOutputFormat(QPrinter::NativeFormat);
            p->setOutputFileName(QString());
        }
        p->setCopyCount(copies);
        if (auto* box = d->findChild<QCheckBox*>(QStringLiteral("chkFastPrint"))) {
            if (fastOffered) *fastOffered = box->isChecked();
            if (fast) box->setChecked(*fast);
        }
        return int(QDialog::Accepted);
    };
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000)) return {};
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

int pdfPages(const QString& file) {
    const QString info = run(QStringLiteral("pdfinfo"), {file});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

QSizeF pdfPageSize(const QString& file) {
    const QString info = run(QStringLiteral("pdfinfo"), {file});
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("Page size:"))) continue;
        const QStringList parts = line.mid(10).simplified().split(QLatin1Char(' '));
        if (parts.size() >= 3) return {parts[0].toDouble(), parts[2].toDouble()};
    }
    return {};
}

// First page of a PDF as pixels.
QImage pdfImage(const QString& file, const QString& dir) {
    const QString base = dir + QStringLiteral("/page");
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-f"),
                                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                     QStringLiteral("-png"), QStringLiteral("-singlefile"), file, base});
    return QImage(base + QStringLiteral(".png"));
}

int countColour(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            const QColor e(colour);
            if (std::abs(c.red() - e.red()) < 40 && std::abs(c.green() - e.green()) < 40 &&
                std::abs(c.blue() - e.blue()) < 40)
                ++n;
        }
    return n;
}

QString cupsPdfFolder() {
    const QString env = qEnvironmentVariable("VEXOLAN_CUPS_PDF_DIR");
    if (!env.isEmpty()) return env;
    // cups-pdf writes into the job owner's home, not the tests' temporary one.
    if (const passwd* pw = getpwuid(getuid())) return QString::fromLocal8Bit(pw->pw_dir) + QStringLiteral("/PDF");
    return {};
}

bool havePrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

} // namespace

class PrintWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        resetSettings();
        testsupport::dialogs().clear();
        QGuiApplication::clipboard()->clear();
    }

    void printCommandCapturesTheVisibleMap() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        showMap(*w, Qt::red, 120, 80);
        PrintWindow* f = openPrintWindow(*w);
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QVERIFY(!w->isEnabled());
        QCOMPARE(f->windowTitle(), QStringLiteral("Ferno Vexolan Print"));
        QCOMPARE(f->SourcePicture.data(), static_cast<QWidget*>(w->picPrint));
        // The capture is the marker layer's size and shows the map.
        QCOMPARE(w->picPrint->size(), QSize(120, 80));
        const QImage pic = w->picPrint->pixmap().toImage();
        QCOMPARE(pic.size(), QSize(120, 80));
        QCOMPARE(QColor(pic.pixel(1, 1)), QColor(Qt::red));
        QCOMPARE(QColor(pic.pixel(118, 78)), QColor(Qt::red));
        QCOMPARE(f->picture.size(), QSize(120, 80));
        const QImage clip = QGuiApplication::clipboard()->image();
        QCOMPARE(clip.size(), QSize(120, 80));
        QCOMPARE(QColor(clip.pixel(60, 40)), QColor(Qt::red));
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));

        // The stored size 6060 gives 6060 x 3630, centred on the main window.
        QCOMPARE(f->WidthTwips(), 6060.0);
        QCOMPARE(f->HeightTwips(), 3630.0);
        QVERIFY(std::abs(f->x() - twips::toPx((w->Width() - 6060) / 2 + w->Left())) <= 1);
        QVERIFY(std::abs(f->y() - twips::toPx((w->Height() - 3630) / 2 + w->Top())) <= 1);
        QCOMPARE(f->Picture1->width(), twips::toPx(2475));
        QCOMPARE(f->Picture1->height(), twips::toPx(2475));
        QVERIFY(f->labPrinter->text().startsWith(QStringLiteral("Print to: ")));
        QVERIFY(!f->cmdHelp->isVisible());

        // Done hides the window, gives the main window back and stores the width.
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        QVERIFY(!f->isVisible());
        QVERIFY(w->isEnabled());
        QCOMPARE(w->settings->ReadSetting(kSection, QStringLiteral("PrintPreviewSize"), QString()),
                 QStringLiteral("6060"));

        // A second Print command reuses the same window and captures anew.
        showMap(*w, Qt::blue, 60, 40);
        QCOMPARE(openPrintWindow(*w), f);
        QCOMPARE(w->picPrint->size(), QSize(60, 40));
        QCOMPARE(QColor(f->picture.pixel(30, 20)), QColor(Qt::blue));
        QVERIFY(!w->isEnabled());
        f->close(); // closing it otherwise must not leave the main window locked
        QVERIFY(w->isEnabled());
    }

    void largeMapCapturesThePanelInside() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        const int fw = w->Frame1->width(), fh = w->Frame1->height();
        showMap(*w, Qt::green, fw + 200, fh + 200);
        w->imPoints->Move(-300, -300);
        openPrintWindow(*w);
        QCOMPARE(w->picPrint->size(), QSize(twips::toPx(twips::fromPx(fw) - 180), twips::toPx(twips::fromPx(fh) - 180)));
        const QImage pic = w->picPrint->pixmap().toImage();
        QCOMPARE(QColor(pic.pixel(0, 0)), QColor(Qt::green));
        QCOMPARE(QColor(pic.pixel(pic.width() - 1, pic.height() - 1)), QColor(Qt::green));
    }

    void plotShownPrintsThePlot() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        QImage plot(300, 200, QImage::Format_RGB32);
        plot.fill(Qt::yellow);
        w->picMap->setPicture(plot);
        w->picMap->setVisible(true);
        w->cmdPrint->setEnabled(true);
        w->picPrint->resize(7, 7);
        w->mnuFilePrint->setEnabled(true);
        w->mnuFilePrint->trigger();
        PrintWindow* f = w->printCommands->printWindow();
        QVERIFY(f && f->isVisible());
        QCOMPARE(f->SourcePicture.data(), static_cast<QWidget*>(w->picMap));
        QCOMPARE(f->picture.size(), QSize(300, 200));
        QCOMPARE(w->picPrint->size(), QSize(7, 7)); // no capture was made
        QVERIFY(QGuiApplication::clipboard()->image().isNull());
    }

    void resizeKeepsTheWindowShape() {
        if (!havePrinter()) QSKIP("no printer installed");
        {
            auto w = startWindow();
            showMap(*w, Qt::red, 100, 100);
            PrintWindow* f = openPrintWindow(*w);
            f->resize(twips::toPx(5000), twips::toPx(3000));
            QCOMPARE(f->WidthTwips(), 6060.0);
            QCOMPARE(f->HeightTwips(), 3630.0);
            f->resize(twips::toPx(8010), twips::toPx(1000));
            QCOMPARE(f->WidthTwips(), 8010.0);
            QCOMPARE(f->HeightTwips(), 5580.0);
            QCOMPARE(f->Picture1->width(), twips::toPx(8010 - 3585));
            QCOMPARE(f->Picture1->height(), f->Picture1->width());
            QCOMPARE(f->PreviewSize, 8010.0);
            // The preview page sits inside the square frame.
            QVERIFY(f->Picture1->rect().contains(f->picPreview->geometry()));
            QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        }
        // The next start opens the window at the stored width.
        auto w = startWindow();
        showMap(*w, Qt::red, 100, 100);
        PrintWindow* f = openPrintWindow(*w);
        QCOMPARE(f->WidthTwips(), 8010.0);
        QCOMPARE(f->HeightTwips(), 5580.0);
    }

    void storedSizeThatIsNoNumber() {
        if (!havePrinter()) QSKIP("no printer installed");
        SettingsStore().WriteSetting(kSection, QStringLiteral("PrintPreviewSize"), QStringLiteral("wide"));
        auto w = startWindow();
        showMap(*w, Qt::red, 100, 100);
        PrintWindow* f = openPrintWindow(*w);
        QCOMPARE(f->WidthTwips(), 6060.0);
        QCOMPARE(f->HeightTwips(), 3630.0);
        QCOMPARE(f->PreviewSize, 6060.0);
    }

    void layoutControls() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        showMap(*w, Qt::red, 200, 100);
        PrintWindow* f = openPrintWindow(*w);
        // At first: fit to page, a wide picture across the printable width.
        QVERIFY(f->chkFit->isChecked());
        QCOMPARE(f->rect.PrintLeft, 0L);
        QCOMPARE(f->rect.PrintWidth, f->metrics.PrintAreaWidth);
        QCOMPARE(f->txtScale->text(), QStringLiteral("100"));
        QVERIFY(!f->txtLeft->isEnabled());
        QVERIFY(!f->txtScale->isEnabled());
        QVERIFY(f->ScaleArmed);
        QVERIFY(!f->Timer1->isActive());

        // An edit arms the one-second timer; the program's own rewrites do not.
        f->txtLeft->setText(QStringLiteral("1"));
        QVERIFY(f->Timer1->isActive());
        f->Timer1_Timer();
        QVERIFY(!f->Timer1->isActive());
        // Fit across the width: the left margin is the minimum.
        QCOMPARE(f->txtLeft->text(), legacy::Format(f->metrics.MinLeftMargin, QStringLiteral("0.00")));

        // Unticking Fit arms the timer; when it fires the box is used.
        f->chkFit->setChecked(false);
        QVERIFY(f->Timer1->isActive());
        f->txtScale->setText(QStringLiteral("50"));
        f->Timer1_Timer();
        QVERIFY(!f->Timer1->isActive());
        QCOMPARE(f->rect.PrintWidth, std::lround(f->metrics.PrintAreaWidth * 0.5));
        QVERIFY(f->txtScale->isEnabled());
        QVERIFY(f->txtLeft->isEnabled());

        // The scale spin: up adds one, never below 10.
        f->VScroll1->setValue(-1);
        QCOMPARE(f->txtScale->text(), QStringLiteral("51"));
        QCOMPARE(f->VScroll1->value(), 0);
        f->txtScale->setText(QStringLiteral("10"));
        f->VScroll1->setValue(1);
        QCOMPARE(f->txtScale->text(), QStringLiteral("10"));
        // The margin spin steps the box that had the focus last.
        f->SpinTopMargin = true;
        const float top = f->txtTop->text().toFloat();
        f->VScroll2->setValue(-1);
        QCOMPARE(f->txtTop->text(), QString::number(top + 0.01, 'f', 2));

        // Centring disables both boxes and centres the picture.
        f->chkCenter->setChecked(true);
        QVERIFY(!f->txtLeft->isEnabled() && !f->txtTop->isEnabled());
        f->Timer1_Timer();
        QCOMPARE(f->rect.PrintLeft, std::lround((f->metrics.PrintAreaWidth - f->rect.PrintWidth) / 2.0));

        // Landscape turns the printer and the preview page.
        QTest::mouseClick(f->optLand, Qt::LeftButton);
        QCOMPARE(f->printerService().Orientation(), 2);
        QVERIFY(f->optLand->isChecked());
        QVERIFY(f->picPreview->width() > f->picPreview->height());
        QVERIFY(f->metrics.PageWidthIn > f->metrics.PageHeightIn);
        QTest::mouseClick(f->optPort, Qt::LeftButton);
        QCOMPARE(f->printerService().Orientation(), 1);
        QVERIFY(f->picPreview->width() < f->picPreview->height());

        // The window option: compact window, no preview, layout disabled.
        QTest::mouseClick(f->optWindow, Qt::LeftButton);
        QVERIFY(f->picPreview->isHidden());
        QCOMPARE(f->WidthTwips(), twips::fromPx(twips::toPx(3425)));
        QCOMPARE(f->HeightTwips(), twips::fromPx(twips::toPx(3495)));
        QVERIFY(!f->Frame2->isEnabled() && !f->optPort->isEnabled() && !f->txtLeft->isEnabled());
        QTest::mouseClick(f->optPlot, Qt::LeftButton);
        QVERIFY(!f->picPreview->isHidden());
        QCOMPARE(f->WidthTwips(), f->PreviewSize);
        QVERIFY(f->Frame2->isEnabled());
    }

    void printSetupCancelledLeavesEverything() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        showMap(*w, Qt::red, 100, 100);
        PrintWindow* f = openPrintWindow(*w);
        auto& d = testsupport::dialogs();
        d.queue(dlg::Answer::Cancel);
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(1));
        QCOMPARE(d.prompts[0].kind, dlg::Prompt::Kind::Window);
        QVERIFY(f->isVisible());
        // A cancelled print dialog prints nothing and stores nothing.
        d.clear();
        d.queue(dlg::Answer::Cancel);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(1));
        QCOMPARE(w->settings->ReadSetting(kSection, QStringLiteral("FastPrint"), QStringLiteral("unset")),
                 QStringLiteral("unset"));
        QVERIFY(!f->printerService().jobActive());
    }

    void printSetupDialogTurnsThePage() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        showMap(*w, Qt::red, 100, 200);
        PrintWindow* f = openPrintWindow(*w);
        QVERIFY(f->optPort->isChecked());
        auto& d = testsupport::dialogs();
        d.queue(dlg::WindowScript([](QDialog* dialog) {
            auto* ps = qobject_cast<QPageSetupDialog*>(dialog);
            if (!ps) return int(QDialog::Rejected);
            ps->printer()->setPageOrientation(QPageLayout::Landscape);
            return int(QDialog::Accepted);
        }));
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(1));
        QVERIFY(f->optLand->isChecked());
        QVERIFY(f->picPreview->width() > f->picPreview->height());
        // A tall picture on a landscape page fills the printable height.
        QCOMPARE(f->rect.PrintHeight, f->metrics.PrintAreaHeight);
        QCOMPARE(f->rect.PrintTop, 0L);
    }

    void printToFileMakesOnePage() {
        if (!havePrinter()) QSKIP("no printer installed");
        QTemporaryDir dir;
        auto w = startWindow();
        showMap(*w, Qt::red, 200, 100);
        PrintWindow* f = openPrintWindow(*w);
        auto& d = testsupport::dialogs();
        const QString prn = dir.filePath(QStringLiteral("map.prn"));
        bool offered = false;
        d.queue(printDialog({}, 3, dir.filePath(QStringLiteral("dialog.pdf")), false, &offered));
        d.queue(prn);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QVERIFY(offered); // "FastPrint" unset reads as True
        QCOMPARE(d.prompts.size(), size_t(2));
        QCOMPARE(d.prompts[1].kind, dlg::Prompt::Kind::Save);
        QCOMPARE(d.prompts[1].title, QStringLiteral("Print To File"));
        QCOMPARE(d.prompts[1].defaultText, QStringLiteral("*.prn"));
        QVERIFY(QFileInfo::exists(prn));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("dialog.pdf"))));
        QCOMPARE(pdfPages(prn), 1);
        const QSizeF size = pdfPageSize(prn);
        QVERIFY(std::abs(size.width() - f->page.PaperWidth / 20.0) < 1);
        QVERIFY(std::abs(size.height() - f->page.PaperHeight / 20.0) < 1);
        const QImage img = pdfImage(prn, dir.path());
        QVERIFY(!img.isNull());
        QVERIFY(countColour(img, qRgb(255, 0, 0)) > 50);
        // The fast-print choice is remembered and offered next time.
        QCOMPARE(w->settings->ReadSetting(kSection, QStringLiteral("FastPrint"), QString()), QStringLiteral("False"));
        d.clear();
        offered = true;
        d.queue(printDialog({}, 1, dir.filePath(QStringLiteral("x.pdf")), std::nullopt, &offered));
        d.queue(dlg::Cancel{});
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QVERIFY(!offered);
        // A cancelled save dialog prints nothing and writes no "*.prn" file.
        QCOMPARE(d.prompts.size(), size_t(2));
        QVERIFY(!QFileInfo::exists(QStringLiteral("*.prn")));
        QVERIFY(!f->printerService().jobActive());
    }

    void printToUnwritableFileIsReported() {
        if (!havePrinter()) QSKIP("no printer installed");
        auto w = startWindow();
        showMap(*w, Qt::red, 100, 100);
        PrintWindow* f = openPrintWindow(*w);
        auto& d = testsupport::dialogs();
        d.queue(printDialog({}, 1, QStringLiteral("/tmp/x.pdf")));
        d.queue(QStringLiteral("/nonexistent-folder/sub/out.prn"));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(3));
        QVERIFY(d.prompts[2].text.startsWith(QStringLiteral("Printing error: ")));
        QCOMPARE(d.prompts[2].icon, dlg::Icon::Exclamation);
        QVERIFY(f->isVisible());
    }

    void printToTheCupsQueue() {
        if (QPrinterInfo::printerInfo(QStringLiteral("PDF")).isNull()) QSKIP("no CUPS PDF queue");
        const QString folder = cupsPdfFolder();
        QDir out(folder);
        const QStringList before = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        auto w = startWindow();
        showMap(*w, Qt::red, 200, 100);
        PrintWindow* f = openPrintWindow(*w);
        auto& d = testsupport::dialogs();
        d.queue(printDialog(QStringLiteral("PDF"), 3));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(1));
        QCOMPARE(f->printerService().DeviceName(), QStringLiteral("PDF"));
        QVERIFY(f->labPrinter->text() == QStringLiteral("Print to: PDF"));

        // Wait, bounded, for the PDF to arrive and be complete.
        QString arrived;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000 && arrived.isEmpty()) {
            out.refresh();
            for (const QString& name : out.entryList({QStringLiteral("*.pdf")}, QDir::Files))
                if (!before.contains(name) && pdfPages(out.filePath(name)) > 0) arrived = out.filePath(name);
            if (arrived.isEmpty()) QThread::msleep(200);
        }
        if (arrived.isEmpty()) QSKIP("the CUPS PDF queue did not deliver within 20 s");
        QVERIFY(QFileInfo(arrived).fileName().contains(QStringLiteral("Ferno_Vexolan_Page")) ||
                QFileInfo(arrived).fileName().contains(QStringLiteral("job")));
        QCOMPARE(pdfPages(arrived), 3); // one job, one page per copy
        const QSizeF size = pdfPageSize(arrived);
        QVERIFY(std::abs(size.width() - f->page.PaperWidth / 20.0) < 1);
        QVERIFY(std::abs(size.height() - f->page.PaperHeight / 20.0) < 1);
        QTemporaryDir tmp;
        QVERIFY(countColour(pdfImage(arrived, tmp.path()), qRgb(255, 0, 0)) > 50);
        QFile::remove(arrived);

        // The window option prints the main window's image, one page.
        const QStringList before2 = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        QTest::mouseClick(f->optWindow, Qt::LeftButton);
        d.clear();
        d.queue(printDialog(QStringLiteral("PDF"), 2));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(d.prompts.size(), size_t(1));
        arrived.clear();
        t.restart();
        while (t.elapsed() < 20000 && arrived.isEmpty()) {
            out.refresh();
            for (const QString& name : out.entryList({QStringLiteral("*.pdf")}, QDir::Files))
                if (!before2.contains(name) && pdfPages(out.filePath(name)) > 0) arrived = out.filePath(name);
            if (arrived.isEmpty()) QThread::msleep(200);
        }
        if (arrived.isEmpty()) QSKIP("the CUPS PDF queue did not deliver within 20 s");
        QCOMPARE(pdfPages(arrived), 1);
        QFile::remove(arrived);
    }
};

VEX_TEST(PrintWindowTest);
#include "PrintWindowTest.moc"
