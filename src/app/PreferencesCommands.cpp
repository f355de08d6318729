#include "app/PreferencesCommands.h"

#include "app/MainWindow.h"
#include "app/PreferencesWindow.h"
#include "document/Legacy.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

PreferencesCommands::PreferencesCommands(MainWindow& main) : QObject(&main), w(main) {
    connect(w.mnuFilePreferences, &QAction::triggered, this, &PreferencesCommands::mnuFilePreferences_Click);
}

void PreferencesCommands::mnuFilePreferences_Click() {
    {
        PreferencesWindow frmPref(w);
        dlg::execDialog(&frmPref);
    }
    try {
        w.settings->WriteSetting(w.app.AppName, QStringLiteral("DataPath"), w.app.DataFolder);
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("Preferences error: "), e.description(), 2, 48);
    }
    w.DialogInitDir = w.app.DataFolder;
}
