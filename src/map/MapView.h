// Commands of the main window for the map picture, zoom and scrolling, the marker redraw, registration, the cursor read-out, map image loading and the Coordinates and View > Degree Format / Map Resolution items.
#pragma once

#include <QObject>

class MainWindow;

class MapView : public QObject {
    Q_OBJECT
public:
    explicit MapView(MainWindow& w);

private:
    MainWindow& w;
};
