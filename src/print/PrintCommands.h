// Commands of the main window for printing: the print window, page setup, preview and output.
#pragma once

#include <QObject>

class MainWindow;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(MainWindow& w);

private:
    MainWindow& w;
};
