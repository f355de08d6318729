// The small marks drawn over the map: point markers, registration crosses,
// text labels and contact-line segments.  They are plain records painted by
// the map layer, never one widget each, so that tens of thousands of points
// stay cheap to place, paint and hit-test.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <vector>

// One label-like marker ("*", "+" or a text label).  Geometry in twips of the
// map frame (Frame2), as the placement rules compute it.
struct Marker {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    QString Caption;
    QString ToolTipText;
    long ForeColor = 0;   // colour number 0x00BBGGRR
    bool Visible = false;
    QFont Font;           // text labels only
};

// One straight segment of a contact line, in twips of the map frame.
struct LineSegment {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    long BorderColor = 0;
    bool Visible = false;
};

// A control array of markers: member 0 is the template, never a live marker;
// members 1..count() go with records 1..n.
template <typename T>
class MarkerArray {
public:
    MarkerArray() : m_items(1) {}
    T& operator[](int i) { return m_items.at(static_cast<size_t>(i)); }
    const T& operator[](int i) const { return m_items.at(static_cast<size_t>(i)); }
    int count() const { return static_cast<int>(m_items.size()) - 1; }
    // Loads member `i` (normally count()+1) as a copy of the template.  A
    // gap before it is filled with template copies; members from `i` on that
    // were there already are dropped, so a reloaded member never keeps the
    // position, text or visibility of the point it stood for before.
    T& load(int i) {
        m_items.resize(static_cast<size_t>(std::max(i, 1)), m_items[0]);
        m_items.push_back(m_items[0]);
        return m_items.back();
    }
    void unloadAll() { m_items.resize(1); }
    void unloadLast() { if (count() > 0) m_items.pop_back(); }
    void erase(int i) { if (i >= 1 && i <= count()) m_items.erase(m_items.begin() + i); }
    T& templ() { return m_items[0]; }

private:
    std::vector<T> m_items;
};
