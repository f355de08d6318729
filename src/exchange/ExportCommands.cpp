#include "exchange/ExportCommands.h"

#include "app/MainWindow.h"

ExportCommands::ExportCommands(MainWindow& main) : QObject(&main), w(main) {}
