// Commands of the main window for the contour map: the Show command's contour branch, gridding, colour ramps, title and scales, reopening a contour picture.
#pragma once

#include <QObject>

class MainWindow;

class ContourCommands : public QObject {
    Q_OBJECT
public:
    explicit ContourCommands(MainWindow& w);

private:
    MainWindow& w;
};
