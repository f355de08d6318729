// A started main window over a registered linear map, the cursor placed and
// points recorded on it, and point records as text, for the tests that digitize.
#pragma once

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "common/TestSupport.h"
#include "digitize/Digitizer.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

namespace testsupport {

// Puts a started window in the state a registration leaves, without the
// registration clicks: a picture of 6000 x 6000 twips at (left, top) of the
// map frame spans X 0..1000 and Y 1000..0 in metres (6 twips a unit); project
// "/data/Lakes.vlm"; the kind and point-type options enabled; nothing changed.
inline void registerLinear(MainWindow& w, double left = 0, double top = 0) {
    Document& d = w.doc;
    d.ProjectionName = QStringLiteral("Linear Coordinates");
    d.CoordUnits = QStringLiteral("Meters");
    w.mnuCoordLinear->setChecked(true);
    w.mnuCoordMeters->setChecked(true);
    d.MapFileName = QStringLiteral("/data/Lakes.jpg");
    d.DataFileName = QStringLiteral("/data/Lakes.vlm");
    d.DataTitle = QStringLiteral("Lakes");
    d.ImageWidthPx = d.ImageHeightPx = 400;
    for (MapPicture* p : {w.imPoints, w.imContacts}) p->Move(left, top, 6000, 6000);
    w.imPoints->setVisible(true);
    d.RefPixelX1 = d.RefPixelY1 = 600;
    d.RefPixelX2 = d.RefPixelY2 = 5400;
    d.MapSpanX = d.MapSpanY = d.MapOriginY = 1000;
    d.MapOriginX = 0;
    d.MapRegistered = true;
    for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.optRock, w.optStruc, w.optIso,
                                                      w.labDatCol, w.labConCol})
        c->setEnabled(true);
    d.DataChanged = false;
    QCoreApplication::processEvents();
}

// A started main window so registered.
inline std::unique_ptr<MainWindow> startLinearWindow(double left = 0, double top = 0) {
    auto w = startMainWindow();
    registerLinear(*w, left, top);
    return w;
}

// The cursor where a mouse move over the picture leaves it: (x, y) twips on
// the picture, the marker's corner and the map position under it.
inline void cursorAt(MainWindow& w, double x, double y) {
    Document& d = w.doc;
    d.CursorX = float(x);
    d.CursorY = float(y);
    d.MarkerLeft = float(x - d.MarkOffsetX);
    d.MarkerTop = float(y - d.MarkOffsetY);
    d.CursorMapX = float(d.MapOriginX + x * d.MapSpanX / w.imPoints->Width());
    d.CursorMapY = float(d.MapOriginY - y * d.MapSpanY / w.imPoints->Height());
}

// Records one point at (x, y) twips of the picture with the value typed.
inline void recordAt(MainWindow& w, double x, double y, const QString& typed) {
    cursorAt(w, x, y);
    dialogs().queue(typed);
    w.digitizer->MapPoint();
}

// Records 1..count as "number/z", a '*' after a combined one: "1/3 2/3* 1/4".
inline QString pointsText(const std::vector<DataPoint>& v, int count) {
    QStringList out;
    for (int i = 1; i <= count; ++i) {
        const DataPoint& p = v[size_t(i)];
        out << QStringLiteral("%1/%2%3").arg(p.Number).arg(double(p.Z)).arg(p.Combined ? "*" : "");
    }
    return out.join(QLatin1Char(' '));
}

} // namespace testsupport
