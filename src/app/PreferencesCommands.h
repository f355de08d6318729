// Commands of the main window for the preferences window and the small File menu forwarders.
#pragma once

#include <QObject>

class MainWindow;

class PreferencesCommands : public QObject {
    Q_OBJECT
public:
    explicit PreferencesCommands(MainWindow& w);

private:
    MainWindow& w;
};
