// Geometry of the map view in twips: the page fit, the sizes of the zoom
// commands, the two scroll bars with their 16-bit values, scrolling, the zoom
// caption and which zoom commands are enabled.  Plain values only; the map
// view reads the widgets into a ZoomView, runs one of these steps and applies
// the result back to the widgets.
#pragma once

#include <QString>
#include <cstdint>

// A control's place and size in twips of its container.
struct TwipRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

// A scroll bar: Max, SmallChange, LargeChange and Value are 16-bit numbers
// (Min is always 0).
struct ScrollBarModel {
    bool Visible = false;
    int Max = 0;
    int SmallChange = 1;
    int LargeChange = 1;
    int Value = 0;
};

// Enabled state of the four zoom commands (each button with its menu twin).
struct ZoomEnabled {
    bool Page = false;
    bool Out = false;
    bool In = false;
    bool Full = false;
    bool operator==(const ZoomEnabled&) const = default;
};

// Everything a zoom or scroll step reads or changes.
struct ZoomView {
    double Frame1Width = 0;   // the visible map area
    double Frame1Height = 0;
    TwipRect Frame2;          // in Frame1
    TwipRect imPoints;        // in Frame2; imContacts always takes the same
    TwipRect picMap;          // the plot picture, in Frame1
    ScrollBarModel HScroll1;
    ScrollBarModel VScroll1;
    int HScrollStep = 0;      // twips per scroll unit: -1 or -2
    int VScrollStep = 0;
    int32_t ScrollValue = 0;  // the bar value last applied
    float PageWidth = 0;      // imPoints width at the last page fit
    QString Frame8Caption;
    ZoomEnabled enabled;
};

enum class ZoomCommand { Page, Full, In, Out };

// The enabled-state table: after a page fit Page and Zoom Out are off and
// Zoom In and Zoom Full on; after Zoom Full the reverse; Zoom In (short of
// full) enables Page and Zoom Out; Zoom Out (short of the page) enables
// Zoom In and Zoom Full.  The others are left as they are.
void applyZoomEnabled(ZoomEnabled& e, ZoomCommand command);

// A map is portrait when it is narrower than high; square counts as landscape.
inline bool isPortrait(double imageWidthPx, double imageHeightPx) { return imageWidthPx < imageHeightPx; }

// The first half of the page fit: Frame2 back to (90, 90) with Frame1's size
// less 180, the enabled state of a page fit, both bars hidden at 0.
void pageReset(ZoomView& v);

// Whether there is an image to fit (a size of 0 x 0 means none).
inline bool hasImage(double imageWidthPx, double imageHeightPx) {
    return !(imageWidthPx == 0 && imageHeightPx == 0);
}

// The second half: fits the picture to Frame2 keeping the image's aspect
// ratio (120 twips to spare), centres it, lays the plot picture over it,
// sets PageWidth and the caption "Zoom = 1 (Page)".  Throws legacy::Error
// on an arithmetic failure.
void pageFitPicture(ZoomView& v, double imageWidthPx, double imageHeightPx);

// Both halves; false (after the first) when there is no image.
bool pageFit(ZoomView& v, double imageWidthPx, double imageHeightPx);

// A wanted picture size, whole twips.
struct ZoomSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// Zoom Full: the longer side becomes ZoomMax, the other in proportion.
ZoomSize zoomFullSize(double imageWidthPx, double imageHeightPx, double zoomMax);

// What Zoom In or Zoom Out does from the current size.
enum class ZoomOutcome { Zoom, Full, Page };

// Zoom In: a quarter larger; Full when the longer image side would reach
// ZoomMax.
ZoomOutcome zoomInSize(const ZoomView& v, double imageWidthPx, double imageHeightPx, double zoomMax,
                       ZoomSize& size);
// Zoom Out: a quarter smaller; Page when PageZoomSize is at least the new
// longer side.
ZoomOutcome zoomOutSize(const ZoomView& v, double imageWidthPx, double imageHeightPx, double pageZoomSize,
                        ZoomSize& size);

// MapZoom's geometry: gives imPoints the size, sets up each scroll bar (the
// thumb keeps its relative position; beyond 32000 twips one unit moves two
// twips) or centres the picture along an axis that fits, moves a picture
// that overflows its frame to the frame's edge, and writes the zoom factor
// into the caption ("Zoom = 1.25").  Throws legacy::Error on an arithmetic
// failure (PageWidth 0, a value beyond 16 bits).
void applyZoom(ZoomView& v, ZoomSize size);

enum class ScrollAxis { Horizontal, Vertical };

// One scroll step to the bar value: the picture's offset is step x value,
// never below -32000 twips; beyond that Frame2 itself moves and grows so
// that its far edge stays in place.
void scrollTo(ZoomView& v, ScrollAxis axis, int value);
