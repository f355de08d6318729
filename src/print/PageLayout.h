// Where on the paper the print window puts the picture and how large, and how
// the page preview and the window itself are laid out.  Pure arithmetic on
// twips (1440 to the inch): no widget, no printer.
#pragma once

#include <QString>
#include <optional>

namespace pagelayout {

// What the printer reports for its current paper and orientation, in twips.
struct PageValues {
    long PaperWidth = 0, PaperHeight = 0;
    long OffsetLeft = 0, OffsetTop = 0;       // paper edge to printable area
    long PrintableWidth = 0, PrintableHeight = 0;
};

// The page as the margin and scale rules use it.
struct PageMetrics {
    double PageWidthIn = 0, PageHeightIn = 0;
    float MinLeftMargin = 0, MinTopMargin = 0; // inches
    long PrintAreaWidth = 0, PrintAreaHeight = 0;
};
PageMetrics metricsFrom(const PageValues& v);

// A margin box normalized when the page is read: at least the minimum margin,
// at most the paper side less the minimum margin ("0.00").  Text that needs
// no change comes back as it was.
QString setupMargin(const QString& box, float minMargin, double pageIn);
// The same when the picture is re-scaled: the upper bound is the paper side
// less one inch.
QString scaleMargin(const QString& box, float minMargin, double pageIn);

// The print rectangle, relative to the printable area's top-left corner.
struct PrintRect {
    long PrintLeft = 0, PrintTop = 0, PrintWidth = 0, PrintHeight = 0;
};

struct ScaleInput {
    QString left, top, scale;   // the box texts
    bool fit = true;            // Fit to Page
    bool center = false;        // Center on Page
    double pictureWidth = 0, pictureHeight = 0; // twips
    PageMetrics page;
    PrintRect previous;         // kept where a step cannot be computed
};

struct ScaleResult {
    PrintRect rect;
    QString left, top, scale;   // the rewritten box texts
    // Enabled states the rules set; empty where they were not reached.
    std::optional<bool> leftEnabled, topEnabled, scaleEnabled;
    bool widthLimited = false;
};

// Turns margins, scale, fit and centring into the print rectangle and the
// normalized box texts.  A step that cannot be computed (a zero-sized page
// or picture, a value out of range) is skipped and the next one runs, so the
// rectangle keeps its previous values there.
ScaleResult printScale(const ScaleInput& in);

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
};

// The page inside the square preview frame for an orientation (1 portrait,
// anything else landscape): 200 twips smaller than the frame on the long
// side, centred, shifted 20 twips up (portrait) or left (landscape).
Rect previewPage(int orientation, double frameWidth, double frameHeight, double pageWidthIn, double pageHeightIn);

// Where the picture goes on the preview page: the preview stands for the
// whole paper, and the margins are measured from the paper's edge.
Rect previewPicture(float leftIn, float topIn, double previewWidth, double previewHeight, const PageValues& page,
                    const PrintRect& rect);

// The print window's size rule while it shows the preview: at least 6060
// twips wide, and always 2430 twips less high than wide.
struct WindowSize {
    double width = 0, height = 0;
    double frameSide = 0;   // the square preview frame
};
WindowSize previewWindowSize(double width);

// The part of the map view that the Print command captures, in twips: the
// marker layer when it fits in the map panel (less its 180-twip border),
// otherwise the panel's inside.  The offsets are measured from the point
// where the map panel's inside begins.
struct Capture {
    double width = 0, height = 0;
    double x = 0, y = 0;
};
Capture captureArea(double frameWidth, double frameHeight, double layerLeft, double layerTop, double layerWidth,
                    double layerHeight);

// Whether a typed scale can be used: a positive number of percent.  Zero, a
// negative number or text would print nothing, or a stamp.
bool scaleAccepted(const QString& box);

// Reads a stored "FastPrint" value as a Boolean: "True"/"False" from the print
// window, "1"/"0" from the preferences window; anything else is the default.
bool fastPrintValue(const QString& stored, bool defaultValue = true);

} // namespace pagelayout
