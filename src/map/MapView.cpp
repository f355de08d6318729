#include "map/MapView.h"

#include "app/MainWindow.h"

MapView::MapView(MainWindow& main) : QObject(&main), w(main) {}

void MapView::MapLoad() { w.notAvailable(QStringLiteral("Loading a map")); }
void MapView::MapFind() { w.doc.MapFileName.clear(); }
void MapView::cmdMap_Click() { w.notAvailable(QStringLiteral("Importing a map")); }
void MapView::MapReplot() {}
void MapView::MapZoom() {}
void MapView::cmdZoomPage_Click() {}
void MapView::cmdZoomOut_Click() {}
void MapView::cmdZoomIn_Click() {}
void MapView::cmdZoomFull_Click() {}
void MapView::MapRegister(double, double) { w.notAvailable(QStringLiteral("Registration")); }
void MapView::mnuOptReg_Click() { w.notAvailable(QStringLiteral("Re-registration")); }
void MapView::MapPosition(double, double) {}
void MapView::picMap_MouseMove(int, int, double, double) {}
