// Commands of the main window for the View menu's own items: enabling, Show, Points Color and Check Contours.
#pragma once

#include <QObject>

class MainWindow;

class ViewMenu : public QObject {
    Q_OBJECT
public:
    explicit ViewMenu(MainWindow& w);

private:
    MainWindow& w;
};
