// The Print Setup dialog: the printer to use, its paper and the orientation.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QPageSize>
#include <vector>

class QComboBox;
class QRadioButton;

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(const QString& printer, const QPageSize& paper, QPageLayout::Orientation orientation,
                       QWidget* parent);

    // The printer chosen; "" for output to a file.
    QString printerName() const;
    QPageSize pageSize() const;
    QPageLayout::Orientation orientation() const;

    QComboBox* cboPrinter = nullptr;
    QComboBox* cboPaper = nullptr;
    QRadioButton* optPortrait = nullptr;
    QRadioButton* optLandscape = nullptr;

private:
    // Lists the papers of the chosen printer, keeping the current one when
    // the printer has it.
    void fillPapers(const QPageSize& keep);

    std::vector<QPageSize> m_papers;
};
