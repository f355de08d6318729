#include "map/MapEditCommands.h"

#include "app/MainWindow.h"

MapEditCommands::MapEditCommands(MainWindow& main) : QObject(&main), w(main) {}
