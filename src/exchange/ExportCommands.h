// Commands of the main window for exporting points, the grid and the map image, the second data set, data combination and the coordinate converter.
#pragma once

#include <QObject>

class MainWindow;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    explicit ExportCommands(MainWindow& w);

private:
    MainWindow& w;
};
