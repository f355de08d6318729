// The print window: a modeless window with the page preview, orientation,
// print option, scale, margin and centring controls, and the Print, Print
// Setup and Done buttons.  Created on the first Print command and afterwards
// only hidden and shown; the main window stays disabled while it is open.
#pragma once

#include "print/PageLayout.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class MainWindow;
class PrinterService;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

class PrintWindow : public QWidget {
    Q_OBJECT
public:
    explicit PrintWindow(MainWindow& main);
    ~PrintWindow() override;

    // Keeps the owner, the picture to print and the owner as it was shown
    // (for "Print Window"), lays the page out and shows the window.
    // Failures reach the caller (legacy::Error).
    void PrintSetup(MainWindow* owner, QWidget* picture, const QImage& image, const QImage& ownerImage);
    // Reads the printer's page and lays the window out for it.
    void PageSetup();
    // Turns margins, scale, fit and centring into the print rectangle.
    void PrintScale();

    // The printer object, created on first use.
    PrinterService& printerService();

    // Window geometry in twips.
    double WidthTwips() const;
    double HeightTwips() const;

    // ---- state ----
    QPointer<MainWindow> OwnerForm;
    QPointer<QWidget> SourcePicture;
    QImage picture;             // the picture to print, as it was when the window was set up
    QImage shownOwner;          // the main window as the user saw it before it was disabled
    double PreviewSize = 6060;
    pagelayout::PageValues page;
    pagelayout::PageMetrics metrics;
    pagelayout::PrintRect rect;
    bool ScaleArmed = false;
    bool SpinTopMargin = false;

    // ---- controls ----
    QFrame* Picture1 = nullptr;
    QLabel* picPreview = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* labPrinter = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdPrinter = nullptr;
    QPushButton* cmdPrint = nullptr;
    QGroupBox* Frame4 = nullptr;
    QRadioButton* optLand = nullptr;
    QRadioButton* optPort = nullptr;
    QGroupBox* Frame3 = nullptr;
    QRadioButton* optWindow = nullptr;
    QRadioButton* optPlot = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtScale = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QCheckBox* chkFit = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtLeft = nullptr;
    QLineEdit* txtTop = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QCheckBox* chkCenter = nullptr;
    QTimer* Timer1 = nullptr;

    // ---- handlers ----
    void cmdCancel_Click();     // Done
    void cmdPrint_Click();
    void cmdPrinter_Click();    // Print Setup
    void optPort_Click();
    void optLand_Click();
    void optPlot_Click();
    void optWindow_Click();
    void chkFit_Click();
    void chkCenter_Click();
    void Timer1_Timer();
    void VScroll1_Change(int value);
    void VScroll2_Change(int value);
    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void placePreview();
    void PrintPreviewDraw(QLabel* target);
    void optionClick(void (PrintWindow::*body)());
    void report(const QString& text);
    void printPages(const QImage& image, const pagelayout::PrintRect& at, int copies, const QString& outputFile);

    MainWindow& w;
    std::unique_ptr<PrinterService> m_printer;
    bool m_loaded = false;
    bool m_inResize = false;
    QString m_lastScale = QStringLiteral("100"); // the last scale applied, put back when a typed one is refused
};
