// Commands of the main window for importing points from column text files through the column dialog.
#pragma once

#include <QObject>

class MainWindow;

class ImportCommands : public QObject {
    Q_OBJECT
public:
    explicit ImportCommands(MainWindow& w);

private:
    MainWindow& w;
};
