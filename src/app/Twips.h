// Window geometry is reasoned about in twips, as the layout and zoom rules
// are; widgets take pixels.  The conversion is fixed at 15 twips per pixel so
// the arithmetic is the same on every screen and in offscreen tests.
#pragma once

#include <QRect>
#include <cmath>

namespace twips {

constexpr double PerPixel = 15.0;

inline int toPx(double t) { return static_cast<int>(std::lround(t / PerPixel)); }
inline double fromPx(double px) { return px * PerPixel; }
inline QRect rect(double left, double top, double width, double height) {
    return QRect(toPx(left), toPx(top), toPx(width), toPx(height));
}

} // namespace twips
