// Commands of the main window for contact lines and the choice of contacts
// shown (View > Select Contacts and the contact bar under the map), and the
// Show button's switch between the map view and the plot view.
#pragma once

#include <QObject>

class MainWindow;

class ContactDisplay : public QObject {
    Q_OBJECT
public:
    explicit ContactDisplay(MainWindow& w);

    // Draws every selected contact as a closed ring of line segments over
    // the contact overlay.  Reports its own errors.
    void ContactShow();

    // The Show button: from the map view to the plot and back; "Halt Show"
    // asks a running drawing to stop.  Installed as the window's cmdShow_Click.
    void cmdShow_Click();

    // Selection of the contacts shown.
    void mnuViewShowContactShow_Click();
    void mnuViewShowContactShowAll_Click();
    void mnuViewShowContactShowSeq_Click();
    void cmdShowContact_Click();
    void UpDown1_Change(int value);

private:
    bool pointView() const;
    void showPlotTexts();
    void setCheckMarks(bool one, bool all, bool sequential);
    void listBar();
    void steppingBar();
    void setZoomCommandsEnabled(bool page, bool in);

    MainWindow& w;
};
