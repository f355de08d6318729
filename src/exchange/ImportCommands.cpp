#include "exchange/ImportCommands.h"

#include "app/MainWindow.h"

ImportCommands::ImportCommands(MainWindow& main) : QObject(&main), w(main) {}
