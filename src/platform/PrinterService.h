// The printer object the print window holds: the print and printer setup
// dialogs, the current printer's page in twips, and the print job.  A job is
// drawn into a PDF and handed to CUPS through libcups, so that a printer that
// refuses it is seen (and reported), or written to the file the user chose.
// The dialogs go through the dialog layer so tests can answer them.
// Failures throw legacy::Error.
#pragma once

#include <QString>
#include <memory>

class QImage;
class QPrinter;
class QWidget;

class PrinterService {
public:
    PrinterService();
    ~PrinterService();
    PrinterService(const PrinterService&) = delete;
    PrinterService& operator=(const PrinterService&) = delete;

    // Results of the last dialog.
    bool DialogConfirmed() const { return m_confirmed; }
    int Copies() const { return m_copies; }
    bool PrintToFile() const { return m_printToFile; }
    // The print dialog's "Fast printing" choice: offered as set before the
    // dialog, read back after it.  Fast printing scales pictures without
    // smoothing.
    bool FastPrintOption = true;

    // The current printer's page for its orientation, in whole twips.
    long PrintableWidth() const;
    long PrintableHeight() const;
    long OffsetLeft() const;
    long OffsetTop() const;
    long PaperWidth() const;
    long PaperHeight() const;

    // Draws the picture on the current page at x, y (twips from the printable
    // area's corner) stretched to width x height twips.
    void DrawPicture(const QImage& picture, long x, long y, long width, long height);
    // Ends the job: the file is completed, or the job is sent to the printer;
    // a printer that does not take it is an error carrying CUPS's reason.
    void EndJob();
    void EndPage();
    // Starts a job under that document name; outputFile "" prints to the
    // printer, otherwise the job is written to that file.
    void StartJob(const QString& documentName, const QString& outputFile);
    void StartPage();
    // "" shows the print dialog, "Setup" the printer setup dialog (printer,
    // paper and orientation).
    void ShowDialog(const QString& mode);
    QString DeviceName() const;
    // 1 portrait, 2 landscape.
    int Orientation() const;
    void setOrientation(int orientation);

    // The window the dialogs belong to (the print window: the main window is
    // disabled while it is open).
    void setDialogParent(QWidget* parent) { m_parent = parent; }

    // The printer, paper and orientation chosen.
    QPrinter& printer() { return *m_printer; }
    bool jobActive() const { return m_job != nullptr; }
    // The CUPS job id of the last job the printer accepted (0 before any).
    int LastJobId() const { return m_lastJobId; }

private:
    struct Job;
    void showPrintDialog();
    void showSetupDialog();
    void submit(Job& job);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<Job> m_job;
    QWidget* m_parent = nullptr;
    bool m_confirmed = false;
    int m_copies = 1;
    bool m_printToFile = false;
    int m_lastJobId = 0;
};
