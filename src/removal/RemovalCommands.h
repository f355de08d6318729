// Commands of the main window for removing points by criteria.
#pragma once

#include <QObject>

class MainWindow;

class RemovalCommands : public QObject {
    Q_OBJECT
public:
    explicit RemovalCommands(MainWindow& w);

private:
    MainWindow& w;
};
