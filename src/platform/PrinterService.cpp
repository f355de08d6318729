#include "platform/PrinterService.h"

#include "document/Legacy.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>
#include <cmath>

namespace {

long twipsOf(double points) { return std::lround(points * 20.0); }

// The printable part of the page and the whole sheet, in points.
QRectF printableRect(const QPrinter& p) { return p.pageLayout().paintRect(QPageLayout::Point); }
QRectF paperRect(const QPrinter& p) { return p.pageLayout().fullRect(QPageLayout::Point); }

} // namespace

PrinterService::PrinterService() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // Without a default printer QPrinter starts on PDF output; take the first
    // installed printer instead, as the print dialog would offer it.
    if (m_printer->printerName().isEmpty()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (!names.isEmpty()) m_printer->setPrinterName(names.first());
    }
}

PrinterService::~PrinterService() {
    if (m_painter) {
        m_printer->abort();
        m_painter->end();
    }
}

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
    if (mode == QLatin1String("Setup")) {
        QPageSetupDialog d(m_printer.get(), m_parent ? m_parent : dlg::parentWindow());
        m_confirmed = dlg::execDialog(&d) == QDialog::Accepted;
        return;
    }
    QPrintDialog d(m_printer.get(), m_parent ? m_parent : dlg::parentWindow());
    auto* options = new QWidget;
    options->setWindowTitle(QStringLiteral("Options"));
    auto* fast = new QCheckBox(QStringLiteral("Fast printing"), options);
    fast->setObjectName(QStringLiteral("chkFastPrint"));
    fast->setChecked(FastPrintOption);
    auto* lay = new QVBoxLayout(options);
    lay->addWidget(fast);
    lay->addStretch();
    d.setOptionTabs({options});
    d.setOption(QAbstractPrintDialog::PrintToFile, true);
    d.setOption(QAbstractPrintDialog::PrintPageRange, false);
    m_confirmed = dlg::execDialog(&d) == QDialog::Accepted;
    if (!m_confirmed) return;
    m_copies = std::max(1, m_printer->copyCount());
    m_printToFile = m_printer->outputFormat() == QPrinter::PdfFormat || !m_printer->outputFileName().isEmpty();
    FastPrintOption = fast->isChecked();
}

void PrinterService::StartJob(const QString& documentName, const QString& outputFile) {
    if (m_painter) { // a job left open by an earlier failure
        m_printer->abort();
        m_painter->end();
        m_painter.reset();
    }
    m_printer->setDocName(documentName);
    // Copies are printed page by page by the caller.
    m_printer->setCopyCount(1);
    if (!outputFile.isEmpty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(outputFile);
    } else {
        m_printer->setOutputFileName(QString());
        if (!m_printer->printerName().isEmpty()) m_printer->setOutputFormat(QPrinter::NativeFormat);
    }
    m_pageOpen = false;
    m_painter = std::make_unique<QPainter>();
    // The painter opens the device at the first page, so that a job without
    // pages never reaches the printer.
}

void PrinterService::StartPage() {
    if (!m_painter) legacy::raise(QStringLiteral("No print job has been started"));
    if (!m_painter->isActive()) {
        if (!m_painter->begin(m_printer.get())) {
            m_painter.reset();
            legacy::raise(QStringLiteral("The printer could not start the job"));
        }
    } else if (!m_printer->newPage()) {
        legacy::raise(QStringLiteral("The printer could not start a new page"));
    }
    m_pageOpen = true;
}

void PrinterService::DrawPicture(const QImage& picture, long x, long y, long width, long height) {
    if (!m_painter || !m_painter->isActive() || !m_pageOpen) legacy::raise(QStringLiteral("No page has been started"));
    const double k = m_printer->resolution() / 1440.0;
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, !FastPrintOption);
    if (!picture.isNull()) m_painter->drawImage(QRectF(x * k, y * k, width * k, height * k), picture);
}

void PrinterService::EndPage() { m_pageOpen = false; }

void PrinterService::EndJob() {
    if (!m_painter) return;
    const bool ok = !m_painter->isActive() || m_painter->end();
    m_painter.reset();
    m_pageOpen = false;
    if (!ok) legacy::raise(QStringLiteral("The print job could not be completed"));
}
