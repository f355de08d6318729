// A main window started offscreen and put into a registered linear map, as
// the digitizing tests need it, without going through the registration clicks.
#pragma once

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/Twips.h"
#include "common/TestSupport.h"
#include "digitize/Digitizer.h"

#include <QCoreApplication>
#include <QTest>
#include <memory>

namespace digitize_fixture {

inline std::unique_ptr<MainWindow> startWindow() {
    auto w = testsupport::startMainWindow();
    return w;
}

// A map 6000 x 6000 twips at the frame's corner, spanning 0..1000 in X and
// 0..1000 in Y (metres), registered; the kind and point-type options are
// enabled as a registration leaves them.
inline void registerLinear(MainWindow& w) {
    Document& d = w.doc;
    d.ProjectionName = QStringLiteral("Linear Coordinates");
    d.CoordUnits = QStringLiteral("Meters");
    w.mnuCoordLinear->setChecked(true);
    w.mnuCoordMeters->setChecked(true);
    d.MapFileName = QStringLiteral("/data/Lakes.jpg");
    d.DataFileName = QStringLiteral("/data/Lakes.vlm");
    d.DataTitle = QStringLiteral("Lakes");
    d.ImageWidthPx = 400;
    d.ImageHeightPx = 400;
    w.imPoints->Move(0, 0, 6000, 6000);
    w.imContacts->Move(0, 0, 6000, 6000);
    w.imPoints->setVisible(true);
    d.RefPixelX1 = 600;
    d.RefPixelY1 = 600;
    d.RefPixelX2 = 5400;
    d.RefPixelY2 = 5400;
    d.MapSpanX = 1000;
    d.MapSpanY = 1000;
    d.MapOriginX = 0;
    d.MapOriginY = 1000;
    d.MapRegistered = true;
    for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.optRock, w.optStruc, w.optIso,
                                                      w.labDatCol, w.labConCol})
        c->setEnabled(true);
    d.DataChanged = false;
    QCoreApplication::processEvents();
}

// Puts the cursor where a mouse move over the map would leave it: at (x, y)
// twips on the picture.
inline void cursorAt(MainWindow& w, double x, double y) {
    Document& d = w.doc;
    d.CursorX = float(x);
    d.CursorY = float(y);
    d.MarkerLeft = float(x - d.MarkOffsetX);
    d.MarkerTop = float(y - d.MarkOffsetY);
    d.CursorMapX = float(x * d.MapSpanX / w.imPoints->Width() + d.MapOriginX);
    d.CursorMapY = float(d.MapOriginY - y * d.MapSpanY / w.imPoints->Height());
}

// Records one point at (x, y) twips with the value typed.
inline void record(MainWindow& w, double x, double y, const QString& typed) {
    cursorAt(w, x, y);
    testsupport::dialogs().queue(typed);
    w.digitizer->MapPoint();
}

// A pixel on the marker layer for a position in twips of the map frame.
inline QPoint px(double x, double y) { return QPoint(twips::toPx(x), twips::toPx(y)); }

} // namespace digitize_fixture
