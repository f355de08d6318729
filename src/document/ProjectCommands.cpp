#include "document/ProjectCommands.h"

#include "app/MainWindow.h"

ProjectCommands::ProjectCommands(MainWindow& main) : QObject(&main), w(main) {}
