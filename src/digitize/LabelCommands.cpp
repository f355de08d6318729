#include "digitize/LabelCommands.h"

#include "app/MainWindow.h"

LabelCommands::LabelCommands(MainWindow& main) : QObject(&main), w(main) {}
