#include "platform/PrinterService.h"

#include "document/Legacy.h"
#include "platform/Dialogs.h"
#include "platform/PrinterSetupDialog.h"

#include <QCheckBox>
#include <QChildEvent>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPointer>
#include <QRadioButton>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <cmath>
#include <cups/cups.h>

namespace {

long twipsOf(double points) { return std::lround(points * 20.0); }

// The printable part of the page and the whole sheet, in points.
QRectF printableRect(const QPrinter& p) { return p.pageLayout().paintRect(QPageLayout::Point); }
QRectF paperRect(const QPrinter& p) { return p.pageLayout().fullRect(QPageLayout::Point); }

// The print dialog rebuilds its page settings from the printer's default
// paper whenever it makes its printer properties page: at OK, and when
// Properties is pressed.  The paper and orientation chosen in Print Setup
// would be lost without the user seeing it.  This keeps them: the properties
// page opens showing them, and after OK they go back on the printer, unless
// the user accepted other ones on that page.
class PaperKeeper : public QObject {
public:
    PaperKeeper(QDialog& dialog, QPrinter& printer)
        : m_dialog(dialog), m_printer(printer), m_kept(printer.pageLayout()) {
        dialog.installEventFilter(this);
    }
    ~PaperKeeper() override { m_dialog.removeEventFilter(this); }

    // After OK.  A printer chosen in the dialog that has no such paper keeps
    // the one the dialog gave it (the printer refuses the size).
    void restore() {
        if (m_accepted) return;
        m_printer.setPageSize(m_kept.pageSize());
        m_printer.setPageOrientation(m_kept.orientation());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_dialog) {
            if (event->type() == QEvent::ChildAdded) {
                QObject* child = static_cast<QChildEvent*>(event)->child();
                if (child->isWidgetType()) child->installEventFilter(this);
            }
            return false;
        }
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide) return false;
        auto* page = qobject_cast<QDialog*>(watched);
        if (!page || !page->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))) return false;
        // Once accepted, the page shows what the user chose there.
        if (event->type() == QEvent::Show && page != m_accepted) showKept(*page);
        if (event->type() == QEvent::Hide && page->result() == QDialog::Accepted) m_accepted = page;
        return false;
    }

private:
    void showKept(QDialog& page) const {
        // The printer's own entry for the paper, else one of the same size.
        auto* paper = page.findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
        int same = paper->findData(QVariant::fromValue(m_kept.pageSize()));
        for (int i = 0; same < 0 && i < paper->count(); ++i)
            if (qvariant_cast<QPageSize>(paper->itemData(i)).isEquivalentTo(m_kept.pageSize())) same = i;
        if (same >= 0) paper->setCurrentIndex(same);
        const bool landscape = m_kept.orientation() == QPageLayout::Landscape;
        auto* turn = page.findChild<QRadioButton*>(landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
        if (turn && !turn->isChecked()) turn->click();
    }

    QDialog& m_dialog;
    QPrinter& m_printer;
    const QPageLayout m_kept;
    // The properties page the user accepted; the dialog drops the page when
    // another printer is chosen, and with it the choice.
    QPointer<QDialog> m_accepted;
};

} // namespace

// One job under way: the pages are drawn into a PDF, either the file the
// user chose (written whole or not at all) or a temporary file that goes to
// the printer when the job ends.
struct PrinterService::Job {
    QString documentName;
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<QTemporaryFile> spool;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    bool pageOpen = false;
};

PrinterService::PrinterService() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // Without a default printer QPrinter starts on PDF output; take the first
    // installed printer instead, as the print dialog would offer it.
    if (m_printer->printerName().isEmpty()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (!names.isEmpty()) m_printer->setPrinterName(names.first());
    }
}

PrinterService::~PrinterService() = default;

long PrinterService::PrintableWidth() const { return twipsOf(printableRect(*m_printer).width()); }
long PrinterService::PrintableHeight() const { return twipsOf(printableRect(*m_printer).height()); }
long PrinterService::OffsetLeft() const { return twipsOf(printableRect(*m_printer).left()); }
long PrinterService::OffsetTop() const { return twipsOf(printableRect(*m_printer).top()); }
long PrinterService::PaperWidth() const { return twipsOf(paperRect(*m_printer).width()); }
long PrinterService::PaperHeight() const { return twipsOf(paperRect(*m_printer).height()); }

QString PrinterService::DeviceName() const {
    if (m_printer->outputFormat() == QPrinter::PdfFormat && m_printer->printerName().isEmpty())
        return QStringLiteral("Print to File (PDF)");
    return m_printer->printerName();
}

int PrinterService::Orientation() const {
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

void PrinterService::setOrientation(int orientation) {
    m_printer->setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void PrinterService::ShowDialog(const QString& mode) {
    m_confirmed = false;
    if (mode == QLatin1String("Setup")) showSetupDialog();
    else showPrintDialog();
}

void PrinterService::showSetupDialog() {
    PrinterSetupDialog d(m_printer->printerName(), m_printer->pageLayout().pageSize(),
                         m_printer->pageLayout().orientation(), m_parent ? m_parent : dlg::parentWindow());
    m_confirmed = dlg::execDialog(&d) == QDialog::Accepted;
    if (!m_confirmed) return;
    const QString name = d.printerName();
    if (!name.isEmpty() && name != m_printer->printerName()) {
        m_printer->setOutputFormat(QPrinter::NativeFormat);
        m_printer->setPrinterName(name);
    }
    if (d.pageSize().isValid()) m_printer->setPageSize(d.pageSize());
    m_printer->setPageOrientation(d.orientation());
}

void PrinterService::showPrintDialog() {
    QPrintDialog d(m_printer.get(), m_parent ? m_parent : dlg::parentWindow());
    // The dialog's own output-file choice is left out: printing to a file is
    // a box here, and the file is asked for once, by the print window.
    auto* output = new QWidget;
    output->setWindowTitle(QStringLiteral("Output"));
    auto* fast = new QCheckBox(QStringLiteral("Fast printing"), output);
    fast->setObjectName(QStringLiteral("chkFastPrint"));
    fast->setChecked(FastPrintOption);
    auto* toFile = new QCheckBox(QStringLiteral("Print to file"), output);
    toFile->setObjectName(QStringLiteral("chkPrintToFile"));
    auto* lay = new QVBoxLayout(output);
    lay->addWidget(fast);
    lay->addWidget(toFile);
    lay->addStretch();
    d.setOptionTabs({output});
    d.setOption(QAbstractPrintDialog::PrintToFile, false);
    d.setOption(QAbstractPrintDialog::PrintPageRange, false);
    PaperKeeper paper(d, *m_printer);
    m_confirmed = dlg::execDialog(&d) == QDialog::Accepted;
    if (!m_confirmed) return;
    paper.restore();
    m_copies = std::max(1, m_printer->copyCount());
    m_printToFile = toFile->isChecked() || m_printer->printerName().isEmpty();
    FastPrintOption = fast->isChecked();
}

void PrinterService::StartJob(const QString& documentName, const QString& outputFile) {
    m_job.reset(); // a job left open by an earlier failure is dropped
    auto job = std::make_unique<Job>();
    job->documentName = documentName;
    QIODevice* device = nullptr;
    if (!outputFile.isEmpty()) {
        job->file = std::make_unique<QSaveFile>(outputFile);
        if (!job->file->open(QIODevice::WriteOnly))
            legacy::raise(QStringLiteral("Cannot write \"%1\": %2").arg(outputFile, job->file->errorString()));
        device = job->file.get();
    } else {
        if (m_printer->printerName().isEmpty()) legacy::raise(QStringLiteral("No printer is installed"));
        job->spool = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vexolan-print-XXXXXX.pdf"));
        if (!job->spool->open())
            legacy::raise(QStringLiteral("Cannot make the print file: ") + job->spool->errorString());
        device = job->spool.get();
    }
    job->writer = std::make_unique<QPdfWriter>(device);
    job->writer->setTitle(documentName);
    job->writer->setResolution(m_printer->resolution());
    if (!job->writer->setPageLayout(m_printer->pageLayout()))
        legacy::raise(QStringLiteral("The page cannot be laid out for this paper"));
    m_job = std::move(job);
    // The painter opens the document at the first page, so that a job
    // without pages never reaches the printer.
}

void PrinterService::StartPage() {
    if (!m_job) legacy::raise(QStringLiteral("No print job has been started"));
    if (!m_job->painter.isActive()) {
        if (!m_job->painter.begin(m_job->writer.get())) {
            m_job.reset();
            legacy::raise(QStringLiteral("The printer could not start the job"));
        }
    } else if (!m_job->writer->newPage()) {
        legacy::raise(QStringLiteral("The printer could not start a new page"));
    }
    m_job->pageOpen = true;
}

void PrinterService::DrawPicture(const QImage& picture, long x, long y, long width, long height) {
    if (!m_job || !m_job->painter.isActive() || !m_job->pageOpen) legacy::raise(QStringLiteral("No page has been started"));
    const double k = m_job->writer->resolution() / 1440.0;
    m_job->painter.setRenderHint(QPainter::SmoothPixmapTransform, !FastPrintOption);
    if (!picture.isNull()) m_job->painter.drawImage(QRectF(x * k, y * k, width * k, height * k), picture);
}

void PrinterService::EndPage() {
    if (m_job) m_job->pageOpen = false;
}

void PrinterService::EndJob() {
    if (!m_job) return;
    const std::unique_ptr<Job> job = std::move(m_job);
    if (!job->painter.isActive()) return; // no page: nothing to print
    if (!job->painter.end()) legacy::raise(QStringLiteral("The print job could not be completed"));
    if (job->file) {
        // A failed write shows only at the final flush; check it before the
        // file takes the place of an older one.
        if (!job->file->flush() || job->file->error() != QFileDevice::NoError || !job->file->commit())
            legacy::raise(QStringLiteral("Cannot write \"%1\": %2").arg(job->file->fileName(), job->file->errorString()));
        return;
    }
    submit(*job);
}

void PrinterService::submit(Job& job) {
    if (!job.spool->flush()) legacy::raise(QStringLiteral("Cannot write the print file: ") + job.spool->errorString());
    // CUPS takes the queue without an instance name; the paper goes with the
    // job, the page's own shape gives the orientation.
    const QByteArray queue = m_printer->printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray media = m_printer->pageLayout().pageSize().key().toUtf8();
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("media", media.constData(), 0, &options);
    const int id = cupsPrintFile(queue.constData(), QFile::encodeName(job.spool->fileName()).constData(),
                                 job.documentName.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (id == 0) legacy::raise(QString::fromUtf8(cupsLastErrorString()));
    m_lastJobId = id;
}
