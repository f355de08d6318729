// Where text labels and contact lines stand over the contact overlay, and how
// a label record turns into the painted marker: its font, colour and the size
// it takes from its text.  No widget is involved.
#pragma once

#include "document/Document.h"
#include "map/Markers.h"

#include <QFont>
#include <QPointF>
#include <QSizeF>

// The contact overlay's place and size, in twips of the map frame.
struct OverlayBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The overlay position of map point (x, y) under the document's registration:
// the inverse of the registration transform, scaled to the overlay's present
// size.  A zero span raises "Division by zero".
QPointF mapToOverlay(const Document& doc, double x, double y, const OverlayBox& box);

// Top-left corner of a label of size w x h centred on map point (x, y).
QPointF labelTopLeft(const Document& doc, double x, double y, double w, double h, const OverlayBox& box);

// The font a label is drawn in; `pointSize` may carry a fraction.
QFont labelFont(const QString& name, double pointSize, bool bold, bool italic, bool strike, bool underline);
// The size in twips a label takes for its text in that font.
QSizeF labelSize(const QString& text, const QFont& font);

// The colour number a stored Single colour stands for: the nearest whole number.
long labelColorNumber(float color);

// Gives the marker the record's text, font and colour, and sizes it to them.
void applyLabel(Marker& m, const MapLabel& rec);
// Sets the marker's font and resizes it, keeping its text.
void setMarkerFont(Marker& m, const QFont& font);

// The record fields a new first label takes from the label template.
void takeTemplateStyle(MapLabel& rec, const Marker& templ);
