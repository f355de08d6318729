// Commands of the main window for digitizing: the mouse on the map and its
// markers, recording and moving points, the point pop-up menu (move, edit,
// renumber, delete), the marker colours, and the contact numbers, list and
// order of contact data.
#pragma once

#include "digitize/PointToolTips.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class MainWindow;
class QMenu;
class ColorSwatch;
struct Marker;

class Digitizer : public QObject {
    Q_OBJECT
public:
    explicit Digitizer(MainWindow& w);

    // The selected data kind; none before one is chosen.
    std::optional<DataKind> dataKind() const;

    // ---- recording a point ----
    // Records a datum or contour point at the cursor (CursorMapX/Y,
    // MarkerLeft/Top) after asking its value, or, while MovePointMode is set,
    // moves the selected point there.
    void MapPoint();

    // ---- contacts ----
    // Next number within contact z among the datum points before the last one.
    int32_t MapDatNum(float z) const;
    // Rebuilds ContactList, ContactCount and the entries of cmbShow.
    void ContactEnum();
    // Sorts the datum points by contact and number and renumbers them.
    void MapOrder();
    void mnuOptOrder_Click();

    // ---- mouse on the map (x, y in twips of the picture or marker) ----
    // (The cursor read-out of a mouse move is the map view's MapPosition.)
    void imPoints_MouseUp(int button, double x, double y);
    void imContacts_MouseUp(int button, double x, double y);
    void labDat_MouseUp(int index, int button, double x, double y);
    void labCon_MouseUp(int index, int button, double x, double y);
    void labMap_MouseUp(int index, int button, double x, double y);
    void labRef_MouseUp(int index, int button, double x, double y);
    // The colour swatches (also View > Points Color).
    void labDatCol_DblClick();
    void labConCol_DblClick();

    // ---- point pop-up menu ----
    void mnuPoint_Click(); // sets the captions as the menu opens
    void mnuPointMove_Click();
    void mnuPointEditXY_Click();
    void mnuPointEditZ_Click();
    void mnuPointNum_Click();
    void mnuPointDelete_Click();

    // Shows a pop-up menu at a global position.  Defaults to QMenu::popup;
    // tests replace it to look at the menu and trigger its items directly.
    std::function<void(QMenu*, const QPoint&)> popupMenu;

    // ---- text labels, placed and moved by the label commands ----
    // labelNew: a new label at the cursor (CursorX/Y, CursorMapX/Y).
    // labelMoveTo: the pending move of label CurLabel ends at the cursor
    //   (MoveLabelMode is already cleared when it is called).
    // labelPopup: the label menu for label CurLabel at a global position.
    // Until they are set, placing labels is not offered: View > Show >
    // Labels stays disabled and the map ignores the label clicks.
    std::function<void()> labelNew;
    std::function<void()> labelMoveTo;
    std::function<void(const QPoint&)> labelPopup;
    void setLabelHooks(std::function<void()> newLabel, std::function<void()> moveLabel,
                       std::function<void(const QPoint&)> popup);
    bool labelsAvailable() const { return labelNew && labelMoveTo && labelPopup; }

private:
    bool recordPoint();
    void movePoint();
    void commonTail();
    void pointPopup(bool datum, int index, double x, double y);
    void snapTo(bool datum, int index);
    void recolor(ColorSwatch* swatch, bool datum);
    QPoint globalPos(const Marker& m, double x, double y) const;
    bool feet() const;
    // The point a menu command acts on; throws when the key names no point.
    struct Selected {
        bool datum;
        int n;
    };
    Selected selectedPoint() const;
    void placeMarker(bool datum, int n);

    MainWindow& w;
    // The Move explanation is shown once per program run.
    bool m_moveExplained = false;
};
