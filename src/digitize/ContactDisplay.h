// Commands of the main window for contact lines and the choice of contacts
// shown (View > Select Contacts and the contact bar under the map).
#pragma once

#include <QObject>

class MainWindow;

class ContactDisplay : public QObject {
    Q_OBJECT
public:
    explicit ContactDisplay(MainWindow& w);

    // Draws every selected contact as a closed ring of line segments over
    // the contact overlay.  Reports its own errors.  Pumps events while it
    // lays the segments, so that "Halt Show" stops it after the segment
    // under way.
    void ContactShow();

    // Events are pumped while the segments are laid at most this often
    // (ms); 0 pumps after every segment.
    static int pumpIntervalMs;

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

    MainWindow& w;
    // The segments are being laid: a choice of contacts made meanwhile waits.
    bool m_drawing = false;
};
