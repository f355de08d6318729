// The plot's title text and the layout of its colour scale, in the plot
// picture's drawing units (twips).  Text widths are estimated at 110 units a
// character, as the plot always has.
#pragma once

#include <QRectF>
#include <QString>
#include <vector>

constexpr double kCharWidth = 110;

// Coordinate units as the Coordinates menu ticks them.
enum class PlotUnits { Degrees, Feet, Meters };

// "<title> Topographic/Structural Contours (240-ft detail)" and its isopach
// and metre / degree forms.  The detail is the map span X per grid node.  On
// the azimuthal and conic maps (by `projectionName`) a map value is
// `projScaleX` times a position on the unit sphere, not a degree: their
// detail is given in degrees of arc at the map's centre.
QString contourTitleText(const QString& dataTitle, bool structural, float mapSpanX, int contourDetail,
                         PlotUnits units, const QString& projectionName, float projScaleX);

// "Feet", "Meters" or "Degrees".
QString unitWord(PlotUnits units);

// Where the colour scale goes and how it is laid out.
struct ScaleLayout {
    bool left = false;      // the scale's side, kept as ScaleSide
    int yTop = 0, yBottom = 0;
    double width = 0;       // the picture's inner width
    QRectF panel;           // the black panel
    double barX1 = 0, barX2 = 0;   // a colour bar row
    double markX1 = 0, markX2 = 0; // a mark line across the bar
    // Left edge of a text of that many characters.
    double textX(int length) const { return left ? 50 : width - 50 - length * kCharWidth; }
    // The unit word is measured instead, so that it stays inside the panel:
    // the width it may take, and its left edge for its measured width.
    double unitRoom() const { return panel.width() - 100; }
    double unitX(double textWidth) const { return left ? panel.left() + 50 : panel.right() - 50 - textWidth; }
};
// `dataLeft` and `dataRight` are the data window's edges on the picture.
ScaleLayout scaleLayout(double innerWidth, double innerHeight, double dataLeft, double dataRight);

// The scale value of a bar row: the maximum at the top, the minimum at the
// bottom.  Throws legacy::Error on a bar of no height.
double scaleRowValue(int y, const ScaleLayout& s, double contourMin, double contourMax);

struct ScaleLabel {
    int y = 0;     // the row; the text stands 100 units above it
    QString text;
    bool mark = false; // the data's own end on a wider manual scale
};
// Whether the scale's range stands for values.  A plot with no computed node
// leaves the data range at its start, zMin 32000 above zMax 0; on the
// automatic scale that start is the whole range, and no value of the data.
bool scaleHasValues(double contourMin, double contourMax, double zMin, double zMax);

// The value labels of the scale, top first: the maximum, the quarter rows,
// the minimum, and the data's own maximum and minimum when the scale goes
// beyond them (not when no node was computed: the data have none).  None
// when the range stands for no values (scaleHasValues).
std::vector<ScaleLabel> scaleLabels(const ScaleLayout& s, double contourMin, double contourMax, double zMin,
                                    double zMax);
