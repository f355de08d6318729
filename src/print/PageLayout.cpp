#include "print/PageLayout.h"

#include "document/Legacy.h"

#include <algorithm>

namespace pagelayout {

namespace {

// Runs one step of a computation whose failing steps are skipped.
template <typename F>
void step(F&& f) {
    try {
        f();
    } catch (const legacy::Error&) {
    }
}

// Twips are whole numbers, halves to the even neighbour.
long twipsOf(double v) { return legacy::CLng(legacy::Checked(v)); }

QString boundedMargin(const QString& box, float minMargin, double upper) {
    QString t = box;
    step([&] {
        if (t.isEmpty() || legacy::NumVal(t) < minMargin) t = legacy::Format(minMargin, QStringLiteral("0.00"));
    });
    step([&] {
        if (legacy::NumVal(t) > upper) t = legacy::Format(upper, QStringLiteral("0.00"));
    });
    return t;
}

} // namespace

PageMetrics metricsFrom(const PageValues& v) {
    PageMetrics m;
    m.PageWidthIn = v.PaperWidth / 1440.0;
    m.PageHeightIn = v.PaperHeight / 1440.0;
    m.MinLeftMargin = static_cast<float>(v.OffsetLeft / 1440.0);
    m.MinTopMargin = static_cast<float>(v.OffsetTop / 1440.0);
    m.PrintAreaWidth = v.PrintableWidth;
    m.PrintAreaHeight = v.PrintableHeight;
    return m;
}

QString setupMargin(const QString& box, float minMargin, double pageIn) {
    return boundedMargin(box, minMargin, pageIn - minMargin);
}

QString scaleMargin(const QString& box, float minMargin, double pageIn) {
    return boundedMargin(box, minMargin, pageIn - 1.0);
}

ScaleResult printScale(const ScaleInput& in) {
    using legacy::Div;
    using legacy::NumVal;
    const PageMetrics& pg = in.page;
    ScaleResult r;
    r.rect = in.previous;
    PrintRect& p = r.rect;
    r.left = scaleMargin(in.left, pg.MinLeftMargin, pg.PageWidthIn);
    r.top = scaleMargin(in.top, pg.MinTopMargin, pg.PageHeightIn);

    bool widthLimited = false;
    step([&] {
        widthLimited = Div(in.pictureWidth, pg.PrintAreaWidth) >= Div(in.pictureHeight, pg.PrintAreaHeight);
    });
    r.widthLimited = widthLimited;
    const float leftIn = NumVal(r.left), topIn = NumVal(r.top);
    const auto marginTwips = [](float boxIn, float minIn) { return twipsOf((boxIn - minIn) * 1440.0f); };

    if (in.fit) {
        r.scaleEnabled = false;
        if (widthLimited) {
            step([&] { p.PrintWidth = pg.PrintAreaWidth; });
            step([&] { p.PrintHeight = twipsOf(Div(in.pictureHeight * p.PrintWidth, in.pictureWidth)); });
            step([&] { p.PrintLeft = 0; });
            if (!in.center) {
                r.leftEnabled = false;
                r.topEnabled = true;
                step([&] { p.PrintTop = marginTwips(topIn, pg.MinTopMargin); });
            } else {
                r.leftEnabled = r.topEnabled = false;
                step([&] { p.PrintTop = twipsOf((pg.PrintAreaHeight - p.PrintHeight) / 2.0); });
            }
        } else {
            step([&] { p.PrintHeight = pg.PrintAreaHeight; });
            step([&] { p.PrintWidth = twipsOf(Div(in.pictureWidth * p.PrintHeight, in.pictureHeight)); });
            step([&] { p.PrintTop = 0; });
            if (!in.center) {
                r.leftEnabled = true;
                r.topEnabled = false;
                step([&] { p.PrintLeft = marginTwips(leftIn, pg.MinLeftMargin); });
            } else {
                r.leftEnabled = r.topEnabled = false;
                step([&] { p.PrintLeft = twipsOf((pg.PrintAreaWidth - p.PrintWidth) / 2.0); });
            }
        }
    } else {
        r.scaleEnabled = true;
        const double scale = NumVal(in.scale);
        if (widthLimited) {
            step([&] { p.PrintWidth = twipsOf(std::min(scale * pg.PrintAreaWidth / 100.0, double(pg.PrintAreaWidth))); });
            step([&] { p.PrintHeight = twipsOf(Div(in.pictureHeight * p.PrintWidth, in.pictureWidth)); });
        } else {
            step([&] {
                p.PrintHeight = twipsOf(std::min(scale * pg.PrintAreaHeight / 100.0, double(pg.PrintAreaHeight)));
            });
            step([&] { p.PrintWidth = twipsOf(Div(in.pictureWidth * p.PrintHeight, in.pictureHeight)); });
        }
        if (!in.center) {
            r.leftEnabled = r.topEnabled = true;
            step([&] { p.PrintLeft = marginTwips(leftIn, pg.MinLeftMargin); });
            if (p.PrintLeft + p.PrintWidth > pg.PrintAreaWidth) p.PrintLeft = pg.PrintAreaWidth - p.PrintWidth;
            step([&] { p.PrintTop = marginTwips(topIn, pg.MinTopMargin); });
            if (p.PrintTop + p.PrintHeight > pg.PrintAreaHeight) p.PrintTop = pg.PrintAreaHeight - p.PrintHeight;
        } else {
            r.leftEnabled = r.topEnabled = false;
            step([&] { p.PrintLeft = twipsOf((pg.PrintAreaWidth - p.PrintWidth) / 2.0); });
            step([&] { p.PrintTop = twipsOf((pg.PrintAreaHeight - p.PrintHeight) / 2.0); });
        }
    }

    step([&] { r.left = legacy::Format(pg.MinLeftMargin + p.PrintLeft / 1440.0, QStringLiteral("0.00")); });
    step([&] { r.top = legacy::Format(pg.MinTopMargin + p.PrintTop / 1440.0, QStringLiteral("0.00")); });
    r.scale = in.scale;
    step([&] {
        const double s = widthLimited ? Div(p.PrintWidth * 100.0, pg.PrintAreaWidth)
                                      : Div(p.PrintHeight * 100.0, pg.PrintAreaHeight);
        r.scale = legacy::Format(s, QStringLiteral("0"));
    });
    return r;
}

Rect previewPage(int orientation, double frameWidth, double frameHeight, double pageWidthIn, double pageHeightIn) {
    Rect r;
    if (orientation == 1) {
        r.height = frameHeight - 200;
        r.width = pageHeightIn > 0 ? r.height * pageWidthIn / pageHeightIn : 0;
        r.left = (frameWidth - r.width) / 2;
        r.top = (frameHeight - r.height) / 2 - 20;
    } else {
        r.width = frameWidth - 200;
        r.height = pageWidthIn > 0 ? r.width * pageHeightIn / pageWidthIn : 0;
        r.left = (frameWidth - r.width) / 2 - 20;
        r.top = (frameHeight - r.height) / 2;
    }
    return r;
}

Rect previewPicture(float leftIn, float topIn, double previewWidth, double previewHeight, const PageValues& page,
                    const PrintRect& rect) {
    Rect r;
    if (page.PaperWidth <= 0 || page.PaperHeight <= 0) return r;
    r.left = leftIn * 1440.0 * previewWidth / page.PaperWidth;
    r.top = topIn * 1440.0 * previewHeight / page.PaperHeight;
    r.width = previewWidth * rect.PrintWidth / page.PaperWidth;
    r.height = previewHeight * rect.PrintHeight / page.PaperHeight;
    return r;
}

WindowSize previewWindowSize(double width) {
    WindowSize s;
    s.width = std::max(width, 6060.0);
    s.height = s.width - 2430;
    s.frameSide = s.width - 3585;
    return s;
}

Capture captureArea(double frameWidth, double frameHeight, double layerLeft, double layerTop, double layerWidth,
                    double layerHeight) {
    Capture c;
    if (frameWidth - 180 >= layerWidth) {
        c.width = layerWidth;
        c.x = layerLeft;
    } else {
        c.width = frameWidth - 180;
        c.x = 0;
    }
    if (frameHeight - 180 >= layerHeight) {
        c.height = layerHeight;
        c.y = layerTop;
    } else {
        c.height = frameHeight - 180;
        c.y = 0;
    }
    return c;
}

bool scaleAccepted(const QString& box) {
    try {
        return legacy::NumVal(box) > 0;
    } catch (const legacy::Error&) {
        return false; // beyond any number
    }
}

bool fastPrintValue(const QString& stored, bool defaultValue) {
    const QString t = stored.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    double v = 0;
    if (legacy::parseNumber(t, v)) return v != 0;
    return defaultValue;
}

} // namespace pagelayout
