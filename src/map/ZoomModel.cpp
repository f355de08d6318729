// Zoom and scroll arithmetic of the map view, in twips.
#include "map/ZoomModel.h"

#include "document/Legacy.h"

#include <algorithm>

using legacy::CInt;
using legacy::CLng;
using legacy::Div;

namespace {

// Control sizes and positions are Singles.
double sng(double v) { return double(legacy::ToSingle(v)); }

// One axis of the scroll set-up, as MapZoom does it for either bar.
void setUpAxis(ScrollBarModel& bar, int& step, double& picOffset, double& frameOffset, double frameSize,
               double size, double frame1Size) {
    if (frame1Size < size) {
        const double r = bar.Max == 0 ? 0.0 : double(bar.Value) / double(bar.Max);
        if (size <= 32000) {
            bar.Max = CInt(size - frame1Size);
            step = -1;
        } else {
            bar.Max = CInt((size - frame1Size) / 2.0);
            step = -2;
        }
        bar.SmallChange = bar.Max >= 51 ? CInt(bar.Max / 50.0) : 1;
        bar.LargeChange = std::max<int>(1, CInt(bar.Max / 5.0));
        bar.Value = CInt(bar.Max * r);
        bar.Visible = true;
    } else {
        frameOffset = 90;
        picOffset = sng((frameSize - size) / 2.0);
        bar.Value = 0;
        bar.Visible = false;
    }
}

} // namespace

void applyZoomEnabled(ZoomEnabled& e, ZoomCommand command) {
    switch (command) {
    case ZoomCommand::Page:
        e = {false, false, true, true};
        break;
    case ZoomCommand::Full:
        e = {true, true, false, false};
        break;
    case ZoomCommand::In:
        e.Page = true;
        e.Out = true;
        break;
    case ZoomCommand::Out:
        e.In = true;
        e.Full = true;
        break;
    }
}

void pageReset(ZoomView& v) {
    v.Frame2 = {90, 90, sng(v.Frame1Width - 180), sng(v.Frame1Height - 180)};
    applyZoomEnabled(v.enabled, ZoomCommand::Page);
    v.HScroll1.Visible = false;
    v.HScroll1.Value = 0;
    v.VScroll1.Visible = false;
    v.VScroll1.Value = 0;
}

bool pageFit(ZoomView& v, double imgW, double imgH) {
    pageReset(v);
    if (!hasImage(imgW, imgH)) return false;
    pageFitPicture(v, imgW, imgH);
    return true;
}

void pageFitPicture(ZoomView& v, double imgW, double imgH) {
    const double fw = v.Frame2.Width;
    const double fh = v.Frame2.Height;
    TwipRect& p = v.imPoints;
    if (isPortrait(imgW, imgH)) {
        if (Div(imgW, imgH) * fh > fw) p.Height = sng(Div(imgH, imgW) * fw - 120);
        else p.Height = sng(fh - 120);
        p.Width = sng(Div(p.Height * imgW, imgH));
    } else {
        if (Div(imgH, imgW) * fw > fh) p.Width = sng(Div(imgW, imgH) * fh - 120);
        else p.Width = sng(fw - 120);
        p.Height = sng(Div(p.Width * imgH, imgW));
    }
    p.Top = sng((fh - p.Height) / 2.0);
    p.Left = sng((fw - p.Width) / 2.0);
    v.picMap = {p.Left + 90, p.Top + 90, p.Width, p.Height};
    v.PageWidth = float(p.Width);
    v.Frame8Caption = QStringLiteral("Zoom = 1 (Page)");
}

ZoomSize zoomFullSize(double imgW, double imgH, double zoomMax) {
    ZoomSize s;
    if (isPortrait(imgW, imgH)) {
        s.Height = CLng(zoomMax);
        s.Width = CLng(Div(imgW * s.Height, imgH));
    } else {
        s.Width = CLng(zoomMax);
        s.Height = CLng(Div(zoomMax * imgH, imgW));
    }
    return s;
}

ZoomOutcome zoomInSize(const ZoomView& v, double imgW, double imgH, double zoomMax, ZoomSize& size) {
    size.Width = CLng(v.imPoints.Width * 1.25);
    size.Height = CLng(v.imPoints.Height * 1.25);
    const double longer = isPortrait(imgW, imgH) ? size.Height : size.Width;
    return longer >= zoomMax ? ZoomOutcome::Full : ZoomOutcome::Zoom;
}

ZoomOutcome zoomOutSize(const ZoomView& v, double imgW, double imgH, double pageZoomSize, ZoomSize& size) {
    size.Width = CLng(v.imPoints.Width / 1.25);
    size.Height = CLng(v.imPoints.Height / 1.25);
    const double longer = isPortrait(imgW, imgH) ? size.Height : size.Width;
    return pageZoomSize >= longer ? ZoomOutcome::Page : ZoomOutcome::Zoom;
}

void applyZoom(ZoomView& v, ZoomSize size) {
    TwipRect& p = v.imPoints;
    p.Width = size.Width;
    p.Height = size.Height;
    setUpAxis(v.HScroll1, v.HScrollStep, p.Left, v.Frame2.Left, v.Frame2.Width, p.Width, v.Frame1Width);
    setUpAxis(v.VScroll1, v.VScrollStep, p.Top, v.Frame2.Top, v.Frame2.Height, p.Height, v.Frame1Height);
    // A picture centred while it was smaller starts at the frame's edge once
    // it overflows.
    if (p.Width > v.Frame2.Width && p.Left > 0) p.Left = 0;
    if (p.Height > v.Frame2.Height && p.Top > 0) p.Top = 0;
    v.Frame8Caption = QStringLiteral("Zoom = ") + legacy::Format(Div(p.Width, v.PageWidth), QStringLiteral("0.00"));
}

void scrollTo(ZoomView& v, ScrollAxis axis, int value) {
    const bool h = axis == ScrollAxis::Horizontal;
    ScrollBarModel& bar = h ? v.HScroll1 : v.VScroll1;
    const int step = h ? v.HScrollStep : v.VScrollStep;
    double& picOffset = h ? v.imPoints.Left : v.imPoints.Top;
    double& frameOffset = h ? v.Frame2.Left : v.Frame2.Top;
    double& frameSize = h ? v.Frame2.Width : v.Frame2.Height;
    const double frame1Size = h ? v.Frame1Width : v.Frame1Height;
    bar.Value = value;
    v.ScrollValue = value;
    if (step == -2 && value >= 16000) {
        // The picture's offset stops at -32000; the frame takes the rest.
        picOffset = double(step) * 16000;
        frameOffset = double(step) * double(v.ScrollValue) - picOffset;
        frameSize = frame1Size - frameOffset - 90;
    } else {
        picOffset = double(step) * double(v.ScrollValue);
        frameOffset = 90;
        frameSize = frame1Size - 180;
    }
}
