// Commands of the main window for contour lines over the plot and the shaded relief.
#pragma once

#include <QObject>

class MainWindow;

class ContourLineCommands : public QObject {
    Q_OBJECT
public:
    explicit ContourLineCommands(MainWindow& w);

private:
    MainWindow& w;
};
