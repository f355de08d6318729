#include "map/MapView.h"

#include "app/MainWindow.h"

MapView::MapView(MainWindow& main) : QObject(&main), w(main) {}
