// The cursor read-outs: the position under the mouse on the map picture
// (image pixels before registration, Easting/Northing, or longitude and
// latitude) and over the contour plot (Easting, Northing and the plotted
// value, or the value of the colour scale).  Plain functions over the
// document; the map view puts the text into the tool tips.
#pragma once

#include <QString>

struct Document;

// The map read-out for a cursor at (x, y) twips on the map picture of width
// W and height H.  Sets MarkerLeft, MarkerTop, CursorX, CursorY, CursorMapX
// and CursorMapY.  `degrees` is the tick of the Degrees item, `longitude360`
// that of "&360 Degree Longitude".  Never throws: a failed projection,
// format or division gives "###" and leaves ProjectionFailed cleared.
QString mapCursorText(Document& doc, double x, double y, double W, double H, bool degrees, bool longitude360);

// The plot read-out for a cursor at (x, y) on the plot picture of width Wp
// and height Hp (same units).  Sets CursorMapX and CursorMapY.  Throws
// legacy::Error when the grid the plot claims is not there, or on an
// arithmetic failure.
QString plotCursorText(Document& doc, double x, double y, double Wp, double Hp);
