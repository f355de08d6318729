#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

PrinterSetupDialog::PrinterSetupDialog(const QString& printer, const QPageSize& paper,
                                       QPageLayout::Orientation orientation, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("Print Setup"));

    cboPrinter = new QComboBox(this);
    cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    // The output in use stays the first choice when it is a file.
    if (printer.isEmpty()) cboPrinter->addItem(QStringLiteral("Print to File (PDF)"), QString());
    for (const QString& name : QPrinterInfo::availablePrinterNames()) cboPrinter->addItem(name, name);
    cboPrinter->setCurrentIndex(std::max(0, cboPrinter->findData(printer)));
    cboPaper = new QComboBox(this);
    cboPaper->setObjectName(QStringLiteral("cboPaper"));

    auto* orientationBox = new QGroupBox(QStringLiteral("Orientation"), this);
    optPortrait = new QRadioButton(QStringLiteral("Portrait"), orientationBox);
    optPortrait->setObjectName(QStringLiteral("optPortrait"));
    optLandscape = new QRadioButton(QStringLiteral("Landscape"), orientationBox);
    optLandscape->setObjectName(QStringLiteral("optLandscape"));
    (orientation == QPageLayout::Landscape ? optLandscape : optPortrait)->setChecked(true);
    auto* orientationLayout = new QHBoxLayout(orientationBox);
    orientationLayout->addWidget(optPortrait);
    orientationLayout->addWidget(optLandscape);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Printer:"), cboPrinter);
    form->addRow(QStringLiteral("Paper &size:"), cboPaper);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(orientationBox);
    layout->addWidget(buttons);

    fillPapers(paper);
    connect(cboPrinter, &QComboBox::currentIndexChanged, this, [this] { fillPapers(pageSize()); });
}

void PrinterSetupDialog::fillPapers(const QPageSize& keep) {
    m_papers.clear();
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName());
    if (!info.isNull()) {
        const QList<QPageSize> sizes = info.supportedPageSizes();
        m_papers.assign(sizes.begin(), sizes.end());
    }
    const auto offered = [this](const QPageSize& p) {
        return std::any_of(m_papers.begin(), m_papers.end(), [&](const QPageSize& q) { return q.isEquivalentTo(p); });
    };
    if (m_papers.empty()) {
        // No printer to ask (the output goes to a file): the usual sheets,
        // and the one in use.
        for (QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3,
                                         QPageSize::A5, QPageSize::Executive, QPageSize::Tabloid})
            m_papers.emplace_back(id);
        if (keep.isValid() && !offered(keep)) m_papers.insert(m_papers.begin(), keep);
    }
    const QSignalBlocker quiet(cboPaper);
    cboPaper->clear();
    int current = 0;
    for (size_t i = 0; i < m_papers.size(); ++i) {
        cboPaper->addItem(m_papers[i].name());
        if (keep.isValid() && m_papers[i].isEquivalentTo(keep)) current = int(i);
    }
    cboPaper->setCurrentIndex(current);
}

QString PrinterSetupDialog::printerName() const { return cboPrinter->currentData().toString(); }

QPageSize PrinterSetupDialog::pageSize() const {
    const int i = cboPaper->currentIndex();
    return i >= 0 && size_t(i) < m_papers.size() ? m_papers[size_t(i)] : QPageSize();
}

QPageLayout::Orientation PrinterSetupDialog::orientation() const {
    return optLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
}
