// What the printing tests need around the printer: the print and Print Setup
// dialogs answered by script, a cups-pdf queue of the test's own, and what a
// printed PDF holds.  Header-only; the queue needs VEXOLAN_CUPS_TEST_QUEUE,
// the script that makes the queues (defined for the print tests).
#pragma once

#include "platform/Dialogs.h"
#include "platform/PrinterSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QMap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cups/cups.h>
#include <functional>
#include <optional>

namespace testsupport {

// The print dialog: copies, print to file and the fast-print choice; what it
// offered for fast printing goes to `offered`.  With a printer the dialog is
// shown and confirmed by its own OK, which is where it hands its settings to
// the printer; `before` runs on it first (to press its Properties button).
// A dialog without a printer (output to a file) is only answered: its OK
// would take whichever queue is there, another test's perhaps.
inline dlg::WindowScript printDialog(int copies, bool toFile, bool fast = false, bool* offered = nullptr,
                                     std::function<void(QPrintDialog*)> before = {}) {
    return [=](QDialog* d) {
        auto* file = d->findChild<QCheckBox*>(QStringLiteral("chkPrintToFile"));
        auto* box = d->findChild<QCheckBox*>(QStringLiteral("chkFastPrint"));
        auto* print = qobject_cast<QPrintDialog*>(d);
        auto* count = d->findChild<QSpinBox*>(QStringLiteral("copies"));
        if (!file || !box || !print || !count) return int(QDialog::Rejected);
        file->setChecked(toFile);
        if (offered) *offered = box->isChecked();
        box->setChecked(fast);
        if (print->printer()->printerName().isEmpty()) {
            print->printer()->setCopyCount(copies);
            return int(QDialog::Accepted);
        }
        print->show();
        if (before) before(print);
        count->setValue(copies);
        print->accept();
        return print->result();
    };
}

// Runs `page` on the print dialog's printer properties page, opened by its
// Properties button; `page` accepts or rejects it.
inline void printerProperties(QPrintDialog* print, std::function<void(QDialog*)> page) {
    auto* properties = print->findChild<QPushButton*>(QStringLiteral("properties"));
    QVERIFY(properties);
    bool ran = false;
    QTimer::singleShot(0, print, [&] {
        auto* size = print->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
        auto* dialog = size ? qobject_cast<QDialog*>(size->window()) : nullptr;
        if (dialog) page(dialog);
        if (dialog && dialog->isVisible()) dialog->reject();
        ran = dialog != nullptr;
    });
    properties->click();
    QVERIFY(ran);
}

// The Print Setup dialog: a printer ("" keeps the one shown), its paper and
// the orientation.
inline dlg::WindowScript setupDialog(const QString& printer, QPageSize::PageSizeId paper, bool landscape) {
    return [=](QDialog* d) {
        auto* s = qobject_cast<PrinterSetupDialog*>(d);
        if (!s) return int(QDialog::Rejected);
        if (!printer.isEmpty()) s->cboPrinter->setCurrentIndex(s->cboPrinter->findData(printer));
        // A printer names its papers its own way ("US Letter").
        QString name = QPageSize(paper).name();
        for (const QPageSize& p : QPrinterInfo::printerInfo(s->printerName()).supportedPageSizes())
            if (p.key() == QPageSize(paper).key()) name = p.name();
        s->cboPaper->setCurrentIndex(s->cboPaper->findText(name));
        (landscape ? s->optLandscape : s->optPortrait)->setChecked(true);
        return int(QDialog::Accepted);
    };
}

// A program's output; with `failure`, what it said when it failed.
inline QByteArray run(const QString& program, const QStringList& args, QString* failure = nullptr) {
    QProcess p;
    p.start(program, args);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (failure && !ok) *failure = program + QStringLiteral(": ") + QString::fromLocal8Bit(p.readAllStandardError());
    return p.readAllStandardOutput();
}

// A PDF as "<pages> pages, <width> x <height>" (points); `box` gets the box
// of the first page's non-white pixels at 36 dpi.
inline QString pdfOf(const QString& file, QRect* box = nullptr) {
    const auto info = QRegularExpression(QStringLiteral("(?s)Pages: *(\\d+).*Page size: *([\\d.]+ x [\\d.]+)"))
                          .match(QString::fromUtf8(run(QStringLiteral("pdfinfo"), {file})));
    const QImage img = QImage::fromData(run(QStringLiteral("pdftoppm"), {"-r", "36", "-l", "1", "-png", file}));
    for (int y = 0; box && y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (const QRgb c = img.pixel(x, y); std::min({qRed(c), qGreen(c), qBlue(c)}) < 200)
                *box |= QRect(x, y, 1, 1);
    return info.captured(1) + QStringLiteral(" pages, ") + info.captured(2);
}

#ifdef VEXOLAN_CUPS_TEST_QUEUE
// A cups-pdf queue of the test's own whose files arrive in its own folder
// ("...-job_<id>.pdf"), removed at the end: parallel runs never meet.
struct CupsQueue {
    QTemporaryDir out;
    QString name = QStringLiteral("vexolan_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made), error;
    CupsQueue() { run(QStringLiteral(VEXOLAN_CUPS_TEST_QUEUE), {"add", name, out.path()}, &error); }
    ~CupsQueue() { run(QStringLiteral(VEXOLAN_CUPS_TEST_QUEUE), {"remove", name}); }
    // The titles of the queue's jobs by id: CUPS_WHICHJOBS_COMPLETED or _ALL.
    QMap<int, QString> jobs(int which) const {
        cups_job_t* list = nullptr;
        const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, name.toUtf8().constData(), 0, which);
        QMap<int, QString> titles;
        for (int i = 0; i < n; ++i) titles.insert(list[i].id, QString::fromUtf8(list[i].title));
        cupsFreeJobs(n, list);
        return titles;
    }
    // The PDF of job `id` once the queue has completed it; "" when it does
    // not within a minute.
    QString printed(int id) const {
        const QDeadlineTimer limit(60000);
        while (!jobs(CUPS_WHICHJOBS_COMPLETED).contains(id) && !limit.hasExpired()) QTest::qWait(50);
        return QDir(out.path()).entryInfoList({QStringLiteral("*-job_%1.pdf").arg(id)}).value(0).filePath();
    }
    static inline int made = 0;
};
#endif

} // namespace testsupport

// Makes the queue q (a std::optional<CupsQueue>).  As root (scripts/test sets
// VEXOLAN_CUPS_REQUIRED) a queue that cannot be made is a failure, else a skip.
#define VEX_MAKE_CUPS_QUEUE(q)                                                   \
    if (q.emplace(); !q->error.isEmpty()) {                                      \
        if (qgetenv("VEXOLAN_CUPS_REQUIRED") == "1") QFAIL(qPrintable(q->error)); \
        QSKIP(qPrintable(q->error));                                             \
    }
