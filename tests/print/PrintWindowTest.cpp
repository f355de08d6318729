// The Print command and the print window driven on the real main window, and
// the pages they print: to a file (no printer needed), and through a cups-pdf
// queue that each CUPS test makes for itself.
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "common/PrintSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/PrinterService.h"
#include "platform/SettingsStore.h"
#include "print/PrintCommands.h"
#include "print/PrintWindow.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using namespace testsupport;

namespace {

const QString kSection = QStringLiteral("Vexolan");

QImage filled(const QColor& colour, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// Shows the map on the marker layer at `at` (twips) and presses Print.
PrintWindow* printMap(MainWindow& w, const QImage& map, QPoint at = {150, 75}) {
    w.imPoints->setPicture(map);
    w.imPoints->Move(at.x(), at.y(), twips::fromPx(map.width()), twips::fromPx(map.height()));
    w.imPoints->setVisible(true);
    w.cmdPrint->setEnabled(true);
    QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
    return w.printCommands->printWindow();
}

// A fresh main window printing a red 200 x 100 map (wide: width-limited), to
// the default printer or on letter paper with a quarter inch unprintable on
// every side to a file.
PrintWindow* printRedMap(std::unique_ptr<MainWindow>& w, bool letterFile = true) {
    w = testsupport::startMainWindow();
    PrintWindow* f = printMap(*w, filled(Qt::red, {200, 100}));
    if (!letterFile) return f;
    QPrinter& p = f->printerService().printer();
    p.setPrinterName(QString()); // prints to a PDF file
    p.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                QPageLayout::Point));
    f->PageSetup();
    return f;
}

// The boxes (scale left top), which of left, top and scale are enabled, and
// the print rectangle.
QString state(const PrintWindow* f) {
    QString on;
    for (const QLineEdit* box : {f->txtLeft, f->txtTop, f->txtScale}) on += box->isEnabled() ? '1' : '0';
    const pagelayout::PrintRect& r = f->rect;
    return QStringLiteral("%1 %2 %3 | %4 | ").arg(f->txtScale->text(), f->txtLeft->text(), f->txtTop->text(), on) +
           QStringLiteral("%1 %2 %3 %4").arg(r.PrintLeft).arg(r.PrintTop).arg(r.PrintWidth).arg(r.PrintHeight);
}

} // namespace

class PrintWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { SettingsStore().ClearSection(kSection); }

    // Opened, closed by Done, opened again and closed by the window's own button.
    void windowOpensAndCloses() {
        auto w = testsupport::startMainWindow();
        // A registered map: the Coordinates menu is off and must stay off.
        w->doc.MapRegistered = true;
        w->mnuCoord->menuAction()->setEnabled(false);
        const QImage red = filled(Qt::red, {120, 80});
        PrintWindow* f = printMap(*w, red);
        QVERIFY(f && f->isVisible() && !w->isEnabled() && !f->cmdHelp->isVisible());
        QCOMPARE(f->windowTitle(), QStringLiteral("Ferno Vexolan Print"));
        // Kept in front of the main window by the window system.
        QCOMPARE(f->windowType(), Qt::Dialog);
        QCOMPARE(f->windowHandle()->transientParent(), w->windowHandle());
        // The capture is the marker layer's size and shows the map, also on the clipboard.
        QCOMPARE(f->SourcePicture.data(), static_cast<QWidget*>(w->picPrint));
        QCOMPARE(f->picture, red);
        QCOMPARE(QGuiApplication::clipboard()->image(), red);
        // 6060 x 3630 twips (404 x 242 pixels) centred on the main window
        // 781 x 747 at 10, 36: 10 + (781 - 404) / 2, 36 + (747 - 242) / 2.
        QCOMPARE(QRect(f->frameGeometry().topLeft(), f->size()), QRect(199, 289, 404, 242));
        // Dragged narrower it snaps back; 8010 twips wide it is 5580 high,
        // with a square preview frame of 8010 - 3585.
        f->resize(333, 200);
        QCOMPARE(f->size(), QSize(404, 242));
        f->resize(534, 67);
        QCOMPARE(QSizeF(f->WidthTwips(), f->HeightTwips()), QSizeF(8010, 5580));
        QCOMPARE(f->Picture1->size(), QSize(295, 295));
        const QRect bar = w->menuBar()->geometry();
        const QImage greyed = w->grab(bar).toImage();

        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        QVERIFY(!f->isVisible() && w->isEnabled() && w->mnuFile->menuAction()->isEnabled() &&
                !w->mnuCoord->menuAction()->isEnabled());
        QCOMPARE(w->settings->ReadSetting(kSection, "PrintPreviewSize", {}), QStringLiteral("8010"));
        // "Print Window" prints the window as it was shown, not greyed.
        QCOMPARE(f->shownOwner.copy(bar), w->grab(bar).toImage());
        QVERIFY(f->shownOwner.copy(bar) != greyed);

        // The next Print reuses the window and captures anew: of a map larger
        // than its panel, the panel's inside less 180 twips (12 pixels) each way.
        const QSize inside = w->Frame1->size() - QSize(12, 12);
        QCOMPARE(printMap(*w, filled(Qt::green, inside + QSize(212, 212)), {-300, -300}), f);
        QCOMPARE(f->picture, filled(Qt::green, inside));
        QCOMPARE(QGuiApplication::clipboard()->image(), f->picture);
        f->close();
        QVERIFY(!f->isVisible() && w->isEnabled() && !w->mnuCoord->menuAction()->isEnabled());
        // With the contour plot shown, the plot itself: no capture, nothing copied.
        w->picMap->setPicture(red);
        w->picMap->setVisible(true);
        w->mnuFilePrint->setEnabled(true);
        w->mnuFilePrint->trigger();
        QCOMPARE(f->SourcePicture.data(), static_cast<QWidget*>(w->picMap));
        QCOMPARE(f->picture, red);
        QCOMPARE(QGuiApplication::clipboard()->image(), filled(Qt::green, inside));
        // The next start opens the window at the stored width.
        w.reset();
        w = testsupport::startMainWindow();
        QCOMPARE(printMap(*w, red)->size(), QSize(534, 372));
    }

    void layoutControls() {
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = printRedMap(w);
        QCOMPARE(f->labPrinter->text(), QStringLiteral("Print to: Print to File (PDF)"));
        // Fit to page, the wide picture across: only the top box is free.
        QCOMPARE(state(f), QStringLiteral("100 0.25 0.25 | 010 | 0 0 11520 5760"));
        // An edit arms the one-second timer; centring frees no box.
        f->Timer1->stop();
        f->txtTop->setText("3.5");
        QVERIFY(f->Timer1->isActive());
        f->chkCenter->setChecked(true);
        f->Timer1_Timer();
        QCOMPARE(state(f), QStringLiteral("100 0.25 3.50 | 000 | 0 4680 11520 5760"));
        // The scale box takes typing as soon as Fit to Page is unticked; a
        // scale of 0 or less is refused and the last one kept.
        QTest::mouseClick(f->chkFit, Qt::LeftButton, {}, QPoint(5, f->chkFit->height() / 2));
        QVERIFY(f->txtScale->isEnabled());
        f->txtScale->selectAll();
        QTest::keyClicks(f->txtScale, "-5");
        QTRY_VERIFY_WITH_TIMEOUT(!f->Timer1->isActive(), 3000);
        QCOMPARE(testsupport::dialogs().prompts.at(0).text, QStringLiteral("Please enter a scale greater than 0."));
        QCOMPARE(state(f), QStringLiteral("100 0.25 3.50 | 001 | 0 4680 11520 5760"));
        // The spins: the scale up by one and never below 10; the margin box
        // that had the focus last by a hundredth.
        f->chkCenter->setChecked(false);
        f->txtScale->setText("50");
        f->VScroll1->setValue(-1);
        QVERIFY(f->txtScale->text() == "51" && f->VScroll1->value() == 0); // the spin back at rest
        f->txtScale->setText("10");
        f->VScroll1->setValue(1);
        f->SpinTopMargin = true;
        f->VScroll2->setValue(-1);
        f->Timer1_Timer();
        QCOMPARE(state(f), QStringLiteral("10 0.25 3.51 | 111 | 0 4694 1152 576"));
        // Print Setup: cancelled it changes nothing; legal paper across, on the
        // same printer, gives a printable width of 19440 twips.
        testsupport::dialogs().queue(dlg::Answer::Cancel);
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QCOMPARE(state(f), QStringLiteral("10 0.25 3.51 | 111 | 0 4694 1152 576"));
        testsupport::dialogs().queue(setupDialog({}, QPageSize::Legal, true));
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QCOMPARE(state(f), QStringLiteral("10 0.25 3.51 | 111 | 0 4694 1944 972"));
        // The window option: a compact window (3425 x 3495 twips), no preview, layout disabled.
        QTest::mouseClick(f->optWindow, Qt::LeftButton);
        QCOMPARE(f->size(), QSize(228, 233));
        QVERIFY(f->picPreview->isHidden() && !f->Frame2->isEnabled() && !f->optPort->isEnabled());
        QTest::mouseClick(f->optPlot, Qt::LeftButton);
        QVERIFY(!f->picPreview->isHidden());
        QCOMPARE(f->width(), 404);
    }

    // The rows and what they mean: tests/data/print/prints.txt.
    void prints_data() { addFileRows(QStringLiteral("print/prints.txt")); }
    void prints() {
        const Fields row = rowFields();
        const QString setup = row.str(0);
        const QStringList answers = row.str(1).split(' '), fast = row.str(2).split(" > ");
        QString expected = row.str(3);
        const bool cups = setup.contains("cups"), printed = expected.contains(" pages, ");
        std::optional<CupsQueue> q;
        if (cups) VEX_MAKE_CUPS_QUEUE(q);
        if (fast[0] != "unset") SettingsStore().WriteSetting(kSection, "FastPrint", fast[0]);
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = printRedMap(w, !cups);
        auto& d = testsupport::dialogs();
        // Print Setup chooses the queue, its paper and the orientation; the
        // letter file is turned by the window's own option.
        const QPageSize::PageSizeId paper = setup.contains("letter") ? QPageSize::Letter : QPageSize::A4;
        if (cups) d.queue(setupDialog(q->name, paper, setup.contains("land")));
        if (cups || setup.contains("land"))
            QTest::mouseClick(cups ? static_cast<QWidget*>(f->cmdPrinter) : f->optLand, Qt::LeftButton);
        f->chkFit->setChecked(setup.contains("fit"));
        f->chkCenter->setChecked(setup.contains("centre"));
        f->txtScale->setText("50");
        f->txtTop->setText(setup.section(';', 1));
        f->PrintScale();
        QCOMPARE(f->picPreview->width() > f->picPreview->height(), setup.contains("land")); // the preview turned
        if (setup.contains("window")) QTest::mouseClick(f->optWindow, Qt::LeftButton);
        if (expected.contains("%1")) {
            QCOMPARE(QProcess::execute("cupsreject", {q->name}), 0);
            expected = expected.arg(q->name);
        }

        // Run in a folder of its own: a job sent to a file named "*.prn" would land there.
        const QTemporaryDir dir;
        const QString home = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(home); });
        QDir::setCurrent(dir.path());
        QString file = QDir(dir.path()).filePath(answers.value(1));
        d.clear();
        bool offered = false;
        if (answers[0] == "cancel") d.queue(dlg::Answer::Cancel);
        else d.queue(printDialog(answers[0].toInt(), answers.size() > 1, fast[1] == "True", &offered));
        if (answers.value(1) == "cancel") d.queue(dlg::Cancel{});
        else if (answers.size() > 1) d.queue(file);
        const QString figures = state(f);
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        // The print dialog accepted as it came keeps the paper, the
        // orientation and so the window's figures.
        QCOMPARE(state(f), figures);
        if (answers[0] != "cancel") QCOMPARE(offered, fast[0] != "False"); // unset reads as True
        QCOMPARE(w->settings->ReadSetting(kSection, "FastPrint", "unset"), fast[1]);
        // The dialogs answered and a message where it failed; the file is asked
        // for once, by the program's own dialog.
        QCOMPARE(d.prompts.size(), size_t(answers.size() + !(printed || expected.isEmpty())));
        if (answers.size() > 1) QCOMPARE(d.prompts[1].title + d.prompts[1].defaultText, QStringLiteral("Print To File*.prn"));
        if (!printed) { // Nothing printed; a failure is reported.
            if (!expected.isEmpty()) QCOMPARE(d.prompts.back().text, expected);
            if (!expected.isEmpty()) QCOMPARE(d.prompts.back().icon, dlg::Icon::Exclamation);
            QVERIFY(f->isVisible() && !f->printerService().jobActive() && f->printerService().LastJobId() == 0);
            QVERIFY(QDir(q ? q->out.path() : dir.path()).isEmpty() && (!q || q->jobs(CUPS_WHICHJOBS_ALL).isEmpty()));
            return;
        }
        if (cups) { // found by its id; the job's title is the program's title followed by " Page"
            const int id = f->printerService().LastJobId();
            file = q->printed(id);
            QCOMPARE(q->jobs(CUPS_WHICHJOBS_COMPLETED).value(id), QStringLiteral("Ferno Vexolan Page"));
        }
        QRect got;
        QCOMPARE(pdfOf(file, &got), expected);
        // Each edge within a pixel: edges fall between pixels.
        const QStringList n = row.str(4).split(' ', Qt::SkipEmptyParts);
        const QRect box = n.isEmpty() ? QRect() : QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
        QVERIFY2(box.isNull() || (box.adjusted(-1, -1, 1, 1).contains(got) && got.contains(box.adjusted(1, 1, -1, -1))),
                 qPrintable(QDebug::toString(got)));
    }

    // The print dialog's own properties page opens on the paper chosen in
    // Print Setup; cancelled or confirmed as shown it leaves that paper, and
    // a paper accepted there is the one printed on, the window following it.
    void printDialogPaper_data() {
        QTest::addColumn<QString>("choice");  // on the properties page: cancel, ok, or a paper to accept
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("paper");   // the window's paper afterwards, in twips
        QTest::newRow("cancelled") << "cancel" << "1 pages, 612 x 792" << "12240 x 15840";
        QTest::newRow("OK as shown") << "ok" << "1 pages, 612 x 792" << "12240 x 15840";
        QTest::newRow("legal chosen") << "US Legal" << "1 pages, 612 x 1008" << "12240 x 20160";
    }
    void printDialogPaper() {
        QFETCH(QString, choice);
        QFETCH(QString, printed);
        QFETCH(QString, paper);
        std::optional<CupsQueue> q;
        VEX_MAKE_CUPS_QUEUE(q);
        std::unique_ptr<MainWindow> w;
        PrintWindow* f = printRedMap(w, false);
        auto& d = testsupport::dialogs();
        d.queue(setupDialog(q->name, QPageSize::Letter, false));
        QTest::mouseClick(f->cmdPrinter, Qt::LeftButton);
        QString shown;
        d.queue(printDialog(1, false, false, nullptr, [&](QPrintDialog* print) {
            printerProperties(print, [&](QDialog* page) {
                auto* size = page->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
                shown = size->currentText();
                if (choice == "cancel") return page->reject();
                if (choice != "ok") size->setCurrentIndex(size->findText(choice));
                page->accept();
            });
        }));
        QTest::mouseClick(f->cmdPrint, Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("US Letter"));
        QCOMPARE(pdfOf(q->printed(f->printerService().LastJobId())), printed);
        QCOMPARE(QStringLiteral("%1 x %2").arg(f->page.PaperWidth).arg(f->page.PaperHeight), paper);
    }
};

VEX_TEST(PrintWindowTest);
#include "PrintWindowTest.moc"
