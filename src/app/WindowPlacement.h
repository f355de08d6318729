// Placement of secondary windows: centred over the main window and held on
// the screen (a negative position becomes 0, a window crossing the right or
// bottom edge is moved back to lie on it).  Arithmetic in twips.
#pragma once

#include <QRectF>
#include <QString>

#include "document/Legacy.h"

struct Placement {
    double left;
    double top;
};

inline Placement centreOnScreen(const QRectF& main, double width, double height, double screenW, double screenH) {
    double winLeft = main.left() + (main.width() - width) / 2;
    double winTop = main.top() + (main.height() - height) / 2;
    if (winLeft < 0) winLeft = 0;
    if (winTop < 0) winTop = 0;
    if (winLeft + width > screenW) winLeft = screenW - width;
    if (winTop + height > screenH) winTop = screenH - height;
    return {winLeft, winTop};
}

// The main window's start-up placement from the stored texts (empty text =
// not stored), in twips.  Off-screen positions become 0; sizes larger than
// the screen become the screen size.
struct MainPlacement {
    double left, top, width, height;
};


inline MainPlacement placeMainWindow(const QString& left, const QString& top, const QString& width,
                                     const QString& height, double screenW, double screenH) {
    const double designW = 11715, designH = 10920;
    MainPlacement p{};
    p.left = left.isEmpty() ? (screenW - designW) / 2 : legacy::NumVal(left);
    if (p.left > screenW || p.left < 0) p.left = 0;
    p.top = top.isEmpty() ? (screenH - designH) / 2 : legacy::NumVal(top);
    if (p.top > screenH || p.top < 0) p.top = 0;
    p.width = width.isEmpty() ? designW : legacy::NumVal(width);
    if (p.width > screenW) p.width = screenW;
    p.height = height.isEmpty() ? designH : legacy::NumVal(height);
    if (p.height > screenH) p.height = screenH;
    return p;
}
