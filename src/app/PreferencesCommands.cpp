#include "app/PreferencesCommands.h"

#include "app/MainWindow.h"

PreferencesCommands::PreferencesCommands(MainWindow& main) : QObject(&main), w(main) {}
