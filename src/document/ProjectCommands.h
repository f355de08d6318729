// Commands of the main window for opening and saving projects and label files, and the File menu.
#pragma once

#include <QObject>

class MainWindow;

class ProjectCommands : public QObject {
    Q_OBJECT
public:
    explicit ProjectCommands(MainWindow& w);

private:
    MainWindow& w;
};
