#include "print/PrintCommands.h"

#include "app/MainWindow.h"

PrintCommands::PrintCommands(MainWindow& main) : QObject(&main), w(main) {}
