#include "removal/RemovalCommands.h"

#include "app/MainWindow.h"

RemovalCommands::RemovalCommands(MainWindow& main) : QObject(&main), w(main) {}
