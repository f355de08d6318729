// The main window for the label and contact tests, started offscreen and put
// in the state of a registered map without loading an image: map X 1000 to
// 3000 across the picture, map Y 5000 down to 4000, the picture and the
// contact overlay 6000 x 3000 twips at (300, 600) of the map frame.
#pragma once

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "common/TestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <memory>

namespace labeltest {

inline std::unique_ptr<MainWindow> startRegistered() {
    auto w = testsupport::startMainWindow();
    Document& d = w->doc;
    d.MapRegistered = true;
    d.MapOriginX = 1000;
    d.MapOriginY = 5000;
    d.MapSpanX = 2000;
    d.MapSpanY = 1000;
    d.CoordUnits = QStringLiteral("Meters");
    QImage img(400, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    w->imPoints->setPicture(img);
    w->imContacts->setPicture(img);
    w->imPoints->Move(300, 600, 6000, 3000);
    w->imContacts->Move(300, 600, 6000, 3000);
    w->imPoints->setVisible(true);
    w->imContacts->setVisible(false);
    w->mnuView->menuAction()->setEnabled(true);
    w->mnuViewShow->menuAction()->setEnabled(true);
    return w;
}

// Places the cursor as a mouse move would: twips on the picture and the map
// position under it.
inline void cursorAt(MainWindow& w, double x, double y) {
    Document& d = w.doc;
    d.CursorX = float(x);
    d.CursorY = float(y);
    d.CursorMapX = float(d.MapOriginX + x / w.imContacts->Width() * d.MapSpanX);
    d.CursorMapY = float(d.MapOriginY - y / w.imContacts->Height() * d.MapSpanY);
}

// Centre of a marker in twips of the map frame.
inline QPointF centre(const Marker& m) { return {m.Left + m.Width / 2, m.Top + m.Height / 2}; }

} // namespace labeltest
