// Commands of the main window for the map picture: loading the map image,
// zoom and scrolling, the marker redraw, two-point registration, the cursor
// read-out, and the Coordinates, Degree Format and Map Resolution items.
#pragma once

#include <QObject>
#include <QString>

class MainWindow;

class MapView : public QObject {
    Q_OBJECT
public:
    explicit MapView(MainWindow& w);

    // Map image.
    void MapLoad();
    void MapFind();
    void cmdMap_Click();

    // Redraw, zoom, scrolling.
    void MapReplot();
    void MapZoom();
    void cmdZoomPage_Click();
    void cmdZoomOut_Click();
    void cmdZoomIn_Click();
    void cmdZoomFull_Click();

    // Registration.
    void MapRegister(double x, double y);
    void mnuOptReg_Click();

    // Cursor read-out: x, y in twips on imPoints (or imContacts).
    void MapPosition(double x, double y);
    // Over the plot: x, y in picMap's own units.
    void picMap_MouseMove(int button, int shift, double x, double y);

private:
    MainWindow& w;
};
