// Colour numbers as the program stores them: 0x00BBGGRR for a plain colour,
// 0x80000000 | index for one of the system's interface colours (15 is the
// button face).  Converts both ways between such numbers and QColor.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace colornumber {

constexpr long SystemFlag = 0x80000000L;

inline bool isSystemColor(long number) {
    return (static_cast<unsigned long>(number) & 0xFF000000UL) == 0x80000000UL;
}

// The palette role that stands for a system colour index.  Indexes without
// a close counterpart fall back to the button face.
inline QPalette::ColorRole systemColorRole(int index) {
    switch (index) {
    case 4:  return QPalette::Window;          // menu background
    case 5:  return QPalette::Base;            // window background
    case 7:  return QPalette::WindowText;      // menu text
    case 8:  return QPalette::Text;            // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 16: return QPalette::Dark;            // button shadow
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;           // button highlight
    case 21: return QPalette::Shadow;          // dark 3-D shadow
    case 22: return QPalette::Midlight;        // 3-D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Button;          // 15, button face
    }
}

// The palette system colours are read from: the application's when one
// exists, otherwise one built around the usual light grey button face.
inline QPalette systemPalette() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette();
    return QPalette(QColor(0xF0, 0xF0, 0xF0));
}

inline QColor colorFromNumber(long number) {
    if (isSystemColor(number)) {
        const int index = static_cast<int>(static_cast<unsigned long>(number) & 0xFFFFUL);
        return systemPalette().color(QPalette::Active, systemColorRole(index));
    }
    const unsigned long n = static_cast<unsigned long>(number);
    return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF),
                  static_cast<int>((n >> 16) & 0xFF));
}

// The plain 0x00BBGGRR number of a colour (a system colour comes back as its
// current value, not as its system number).
inline long numberFromColor(const QColor& color) {
    const QColor c = color.toRgb();
    return static_cast<long>(c.red()) | (static_cast<long>(c.green()) << 8) |
           (static_cast<long>(c.blue()) << 16);
}

} // namespace colornumber

using colornumber::colorFromNumber;
using colornumber::numberFromColor;
