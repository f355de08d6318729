#include "app/ViewMenu.h"

#include "app/MainWindow.h"

ViewMenu::ViewMenu(MainWindow& main) : QObject(&main), w(main) {}
