#include "contour/ContourCommands.h"

#include "app/MainWindow.h"

ContourCommands::ContourCommands(MainWindow& main) : QObject(&main), w(main) {}
