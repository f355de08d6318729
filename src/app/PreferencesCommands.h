// Commands of the main window for the preferences window.
#pragma once

#include <QObject>

class MainWindow;

class PreferencesCommands : public QObject {
    Q_OBJECT
public:
    explicit PreferencesCommands(MainWindow& w);

    // File > Preferences: the preferences window, modally; afterwards the
    // data folder is stored and becomes the file dialogs' start folder.
    void mnuFilePreferences_Click();

private:
    MainWindow& w;
};
