// Commands of the main window for scanning a map and straightening or editing the map image.
#pragma once

#include <QObject>

class MainWindow;

class MapEditCommands : public QObject {
    Q_OBJECT
public:
    explicit MapEditCommands(MainWindow& w);

private:
    MainWindow& w;
};
