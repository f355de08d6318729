#include "digitize/LabelLayout.h"

#include "app/Twips.h"
#include "document/Legacy.h"

#include <QFontMetricsF>

QPointF mapToOverlay(const Document& doc, double x, double y, const OverlayBox& box) {
    const double px = legacy::Div(x - double(doc.MapOriginX), double(doc.MapSpanX)) * box.width + box.left;
    const double py = legacy::Div(double(doc.MapOriginY) - y, double(doc.MapSpanY)) * box.height + box.top;
    return {legacy::Checked(px), legacy::Checked(py)};
}

QPointF labelTopLeft(const Document& doc, double x, double y, double w, double h, const OverlayBox& box) {
    const QPointF c = mapToOverlay(doc, x, y, box);
    return {c.x() - w / 2, c.y() - h / 2};
}

QFont labelFont(const QString& name, double pointSize, bool bold, bool italic, bool strike, bool underline) {
    QFont f(name);
    // A size the font system cannot take (0 or less) falls back to its default.
    if (pointSize > 0) f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStrikeOut(strike);
    f.setUnderline(underline);
    return f;
}

QSizeF labelSize(const QString& text, const QFont& font) {
    const QFontMetricsF fm(font);
    return {twips::fromPx(fm.horizontalAdvance(text)), twips::fromPx(fm.height())};
}

long labelColorNumber(float color) { return legacy::CLng(color); }

void setMarkerFont(Marker& m, const QFont& font) {
    m.Font = font;
    const QSizeF s = labelSize(m.Caption, font);
    m.Width = s.width();
    m.Height = s.height();
}

void applyLabel(Marker& m, const MapLabel& rec) {
    m.Caption = rec.Text;
    m.ForeColor = labelColorNumber(rec.Color);
    setMarkerFont(m, labelFont(rec.FontName, rec.FontSize, rec.FontBold, rec.FontItalic, rec.FontStrikethru,
                               rec.FontUnderline));
}

void takeTemplateStyle(MapLabel& rec, const Marker& templ) {
    const QFont& f = templ.Font;
    rec.FontBold = f.bold();
    rec.Color = static_cast<float>(templ.ForeColor);
    rec.FontItalic = f.italic();
    rec.FontName = f.family();
    rec.FontSize = legacy::CInt(f.pointSizeF());
    rec.FontStrikethru = f.strikeOut();
    rec.FontUnderline = f.underline();
}
