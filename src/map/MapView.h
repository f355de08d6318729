// Commands of the main window for the map picture: loading the map image,
// zoom and scrolling, the marker redraw, two-point registration, the cursor
// read-out, and the Coordinates, Degree Format and Map Resolution items.
#pragma once

#include "map/CoordinateMenu.h"
#include "map/LatLongText.h"
#include "map/ZoomModel.h"

#include <QObject>
#include <QString>
#include <functional>

class MainWindow;

class MapView : public QObject {
    Q_OBJECT
public:
    explicit MapView(MainWindow& w);

    // Map image.
    void MapLoad();
    void MapFind();
    void cmdMap_Click();
    // Whether the last MapLoad showed the map (false after a reported failure).
    bool mapLoadSucceeded() const { return m_loadSucceeded; }
    // A Map Resolution item: 25, 50, 75, 100, 150 or 200.
    void mnuViewRes_Click(int percent);

    // Redraw, zoom, scrolling.
    void MapReplot();
    void MapZoom();
    void cmdZoomPage_Click();
    void cmdZoomOut_Click();
    void cmdZoomIn_Click();
    void cmdZoomFull_Click();
    void HScroll1_Change();
    void VScroll1_Change();

    // Registration.
    void MapRegister(double x, double y);
    // The fit through the two reference points on the current picture; false
    // (ProjectionFailed set) when a projection failed.  Throws legacy::Error.
    bool MapRegisterProjection();
    void mnuOptReg_Click();

    // Cursor read-out: x, y in twips on imPoints (or imContacts).
    void MapPosition(double x, double y);
    // Over the plot: x, y in picMap's own units (twips).
    void picMap_MouseMove(int button, int shift, double x, double y);

    // The Coordinates menu: one click on an item, as the user's click does
    // it.  The project reader and re-registration restore a saved choice
    // through the same clicks.
    void coordClick(CoordItem item);
    // The Degree Format submenu.
    void degreeFormatClick(DegreeFormatItem item);
    void mnuViewLatLong360_Click();

    // Hooks set by the other command groups: the text labels' redraw (run at
    // the end of a redraw while the labels are on screen) and the rebuild of
    // the contact list (run by a redraw of contact data).  Unset: nothing.
    std::function<void()> labelReplot;
    std::function<void()> contactEnum;

    // The view geometry as the widgets hold it, in twips.
    ZoomView currentView() const;

private:
    void applyView(const ZoomView& v);
    void setZoomEnabled(const ZoomEnabled& e);
    ZoomEnabled zoomEnabled() const;
    void zoomStep(ZoomCommand command);
    void setPicturesSize(double width, double height);
    void syncGlyphAnchors();
    void hidePointMarkers(bool andReferences);
    void scrollChange(ScrollAxis axis);
    void registrationFailed(const QString& description);
    bool loadMap();
    void readCoordMenu(CoordMenuState& s) const;
    void writeCoordMenu(const CoordMenuState& s);

    MainWindow& w;
    bool m_loadSucceeded = false;
    // Frame2's place and size in twips: kept here exactly, as the widget
    // holds them in whole pixels only.
    TwipRect m_frame2{90, 90, 0, 0};
    bool m_frame2Known = false;
    // Point 1's values as typed, to tell them from values a registration
    // has projected.
    bool m_point1Typed = false;
    float m_typedX1 = 0, m_typedY1 = 0;
};
