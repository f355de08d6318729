#include "document/Document.h"

#include <QFileInfo>

void Document::clearData() {
    MapLabels.clear();
    ContourGrid.clear();
    OtherPoints.clear();
    ContourPoints.clear();
    DatumPoints.clear();
    OtherDataFileName.clear();
    DataFileName.clear();
    MapFileName.clear();
    MapRegistered = false;
    CentralMeridian = CentralParallel = Lat1 = Lat2 = 0;
    ProjScaleX = ProjScaleY = 1.0f;
    RefPixelX1 = RefPixelX2 = RefPixelY1 = RefPixelY2 = 0;
    RefMapX1 = RefMapX2 = RefMapY1 = RefMapY2 = 0;
    MapSpanX = MapSpanY = MapOriginX = MapOriginY = 0;
    LastZEntry.clear();
    DatCount = 0;
    ConCount = 0;
    ContactLineCount = 0;
    ContactCount = 0;
    ContactList.clear();
    ContactShown = QStringLiteral("All");
    LabelCount = 0;
    CurLabel = 0;
    ScaleSide = DataChanged = MapBusy = false;
    MovePointMode = MoveLabelMode = false;
    OtherDataOpen = ContoursCurrent = OtherStructural = ShowInterrupt = false;
    AskProjectName = MapPictureEdited = MapPictureInMemory = false;
    ProjectionName.clear();
    CoordUnits.clear();
}

void Document::proposeProjectName(const QString& path) {
    DataFileName = path;
    if (QFileInfo::exists(path)) AskProjectName = true;
}
