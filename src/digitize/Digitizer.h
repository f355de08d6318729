// Commands of the main window for recording, moving, editing and deleting points, the mouse on the map, contacts and contact lines, text labels and the View menu's own items.
#pragma once

#include <QObject>

class MainWindow;

class Digitizer : public QObject {
    Q_OBJECT
public:
    explicit Digitizer(MainWindow& w);

private:
    MainWindow& w;
};
