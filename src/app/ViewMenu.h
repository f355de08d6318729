// Commands of the main window for the View menu's own items: the enabling of
// its submenus, Show > Labels, Points and Contours, the Points Color items and
// Check Contours.
#pragma once

#include <QObject>
#include <QString>

class MainWindow;
class QAction;
class QMenu;

// What the View menu's enabling depends on.
struct ViewMenuInputs {
    bool datumOptionEnabled = false;    // optDat enabled
    bool contourOptionEnabled = false;  // optCon enabled
    bool contactData = false;           // optRock selected
    bool contactOverlayVisible = false; // imContacts visible
    QString coordUnits;                 // CoordUnits
};

// Which of the View menu's switchable entries are enabled.
struct ViewMenuEnabled {
    bool pointsColor = false;      // "&Points Color"
    bool pointsColorDatum = false; // its "&Datum Points..."
    bool pointsColorContour = false; // its "&Contour Points..."
    bool resolution = false;       // "&Map Resolution"
    bool selectContacts = false;   // "&Select Contacts"
    bool degreeFormat = false;     // "&Degree Format"
    bool operator==(const ViewMenuEnabled& o) const {
        return pointsColor == o.pointsColor && pointsColorDatum == o.pointsColorDatum &&
               pointsColorContour == o.pointsColorContour && resolution == o.resolution &&
               selectContacts == o.selectContacts && degreeFormat == o.degreeFormat;
    }
};

ViewMenuEnabled viewMenuEnabled(const ViewMenuInputs& in);

class ViewMenu : public QObject {
    Q_OBJECT
public:
    explicit ViewMenu(MainWindow& w);

    // The present inputs of the enabling rules, read from the window.
    ViewMenuInputs inputs() const;
    // Applies the enabling rules now.  Runs when the menu opens and whenever
    // one of its inputs changes, so that keyboard shortcuts of the items
    // follow the same rules as the open menu.
    void updateEnabled();

    void mnuView_Click();
    void mnuViewPointsColor_Click();
    void mnuViewPointsColorDat_Click();
    void mnuViewPointsColorCon_Click();
    void mnuViewCheck_Click();
    // `nowChecked` is the item's state after the click toggled it.
    void mnuViewShowLabels_Click(bool nowChecked);
    void mnuViewShowMap_Click();
    void mnuViewShowCon_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scheduleUpdate();
    static void setMenuEnabled(QMenu* menu, bool on);

    MainWindow& w;
    bool m_updateQueued = false;
};
