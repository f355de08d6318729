// Commands of the main window for contact lines and the choice of contacts shown, and the Show button's switch between map and plot.
#pragma once

#include <QObject>

class MainWindow;

class ContactDisplay : public QObject {
    Q_OBJECT
public:
    explicit ContactDisplay(MainWindow& w);

private:
    MainWindow& w;
};
