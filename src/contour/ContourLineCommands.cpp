#include "contour/ContourLineCommands.h"

#include "app/MainWindow.h"

ContourLineCommands::ContourLineCommands(MainWindow& main) : QObject(&main), w(main) {}
