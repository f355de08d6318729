// Commands of the main window for removing points: the filters of the datum
// and contour submenus of the Edit menu (beyond an X, Y or Z limit, one
// contact set or all but one), and the removal of all datum points, all
// contour points or all data.
#pragma once

#include "removal/Filters.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>

class MainWindow;
class QTimer;

class RemovalCommands : public QObject {
    Q_OBJECT
public:
    explicit RemovalCommands(MainWindow& w);

    // The one procedure behind every filter of both point sets: asks for the
    // limit (or designator), confirms, removes the points the filter does not
    // keep -- unless none would remain -- together with their markers, and
    // redraws the map.
    void FilterPoints(bool datum, const QString& prompt, const QString& confirmPrefix, removal::FilterRule rule);

    // Opening of the datum submenu: the contact-set items for contact data,
    // the Z items otherwise.
    void mnuOptClearDat_Click();
    void mnuOptClearDatAll_Click();
    void mnuOptClearConAll_Click();
    void mnuOptClearAll_Click();

private:
    // The contour controls of an empty document, as a filter or the removal
    // of all datum points leaves them; `kindCaptions` false keeps the Show
    // button's tool tip and the frame caption (removal of all contour points).
    void resetContourControls(bool kindCaptions);
    // The line under the map, once the data kind has been cleared.
    void rewritePointsLine();
    void afterRemoval();
    // A running redraw or combination still needs the points where they are:
    // a command chosen meanwhile waits for it to end and then runs, so the
    // user's choice is never dropped.  True when the command was put off.
    bool deferWhileBusy(std::function<void()> command);
    void runDeferred();

    MainWindow& w;
    std::deque<std::function<void()>> m_deferred;
    QTimer* m_idle = nullptr;
};
