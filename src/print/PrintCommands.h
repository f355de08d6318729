// Commands of the main window for printing: the Print button and menu item,
// which hand the visible map (captured) or the contour plot to the print
// window, and the window capture they use.
#pragma once

#include <QObject>
#include <memory>

class MainWindow;
class PrintWindow;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(MainWindow& w);
    ~PrintCommands() override;

    // The Print button and File > Print...
    void cmdPrint_Click();
    void mnuFilePrint_Click() { cmdPrint_Click(); }

    // Copies the main window's image, from x, y pixels of its outer top-left
    // corner on and the window's size, into the hidden picPrint (what does not
    // fit is cut) and onto the clipboard.  x and y are rescaled in place to the
    // screen's pixels.  Failures are reported here.
    void ClipWindow(MainWindow& form, long& x, long& y);

    // The print window; null before the first Print command.
    PrintWindow* printWindow() const { return m_window.get(); }

private:
    MainWindow& w;
    std::unique_ptr<PrintWindow> m_window;
};
