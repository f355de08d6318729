#include "map/MapLayer.h"

#include "app/Twips.h"
#include "platform/ColorNumber.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

int buttonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int buttonCodes(Qt::MouseButtons b) {
    int c = 0;
    if (b & Qt::LeftButton) c |= 1;
    if (b & Qt::RightButton) c |= 2;
    if (b & Qt::MiddleButton) c |= 4;
    return c;
}

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setCursor(Qt::CrossCursor);
}

void MapPicture::setPicture(const QImage& image) {
    m_image = image;
    m_scaled = QPixmap();
    update();
}

void MapPicture::clearPicture() { setPicture(QImage()); }

void MapPicture::Move(double left, double top, double width, double height) {
    m_left = left;
    m_top = top;
    if (width != m_width || height != m_height) m_scaled = QPixmap();
    m_width = width;
    m_height = height;
    setGeometry(twips::rect(left, top, width, height));
}

void MapPicture::paintEvent(QPaintEvent* e) {
    if (m_image.isNull()) return;
    QPainter p(this);
    // Stretch once per size; repaints during scrolling reuse the scaled copy.
    if (m_scaled.size() != size()) {
        const qint64 area = qint64(width()) * height();
        if (area > 0 && area <= qint64(12000) * 12000)
            m_scaled = QPixmap::fromImage(m_image.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        else
            m_scaled = QPixmap();
    }
    if (!m_scaled.isNull()) {
        p.drawPixmap(e->rect(), m_scaled, e->rect());
    } else {
        // Too large to cache at full size: draw the visible part straight from the image.
        p.drawImage(QRectF(rect()), m_image);
    }
}

MarkerOverlay::MarkerOverlay(QWidget* parent, MapPicture* points, MapPicture* contacts)
    : QWidget(parent), m_points(points), m_contacts(contacts) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    m_anchors.fill(QPointF(-1, -1));
    m_anchors[size_t(MarkerKind::Dat)] = m_anchors[size_t(MarkerKind::Con)] = QPointF(40, 140);
    m_anchors[size_t(MarkerKind::Ref)] = QPointF(150, 260);
}

namespace {
bool inside(const Marker& m, double x, double y) {
    return m.Visible && x >= m.Left && x < m.Left + m.Width && y >= m.Top && y < m.Top + m.Height;
}
} // namespace

const MarkerArray<Marker>& MarkerOverlay::array(MarkerKind kind) const {
    switch (kind) {
    case MarkerKind::Ref: return labRef;
    case MarkerKind::Con: return labCon;
    case MarkerKind::Dat: return labDat;
    case MarkerKind::Map:
    case MarkerKind::None: break;
    }
    return labMap;
}

void MarkerOverlay::bringToFront(MarkerKind kind) {
    auto it = std::find(m_stack.begin(), m_stack.end(), kind);
    if (it == m_stack.end()) return;
    std::rotate(it, it + 1, m_stack.end());
}

MarkerHit MarkerOverlay::hitTest(double x, double y) const {
    // Topmost first: the arrays in reverse stacking order, and within an
    // array the later-loaded member first.
    for (auto k = m_stack.rbegin(); k != m_stack.rend(); ++k) {
        const MarkerArray<Marker>& arr = array(*k);
        for (int i = arr.count(); i >= 1; --i)
            if (inside(arr[i], x, y)) return {*k, i};
    }
    return {};
}

MapPicture* MarkerOverlay::pictureAt(double x, double y) const {
    auto hit = [x, y](MapPicture* p) {
        return p && p->isVisible() && x >= p->Left() && x < p->Left() + p->Width() && y >= p->Top() &&
               y < p->Top() + p->Height();
    };
    if (contactsOnTop) {
        if (hit(m_contacts)) return m_contacts;
        if (hit(m_points)) return m_points;
    } else {
        if (hit(m_points)) return m_points;
        if (hit(m_contacts)) return m_contacts;
    }
    return nullptr;
}

MapPicture* MarkerOverlay::plotAt(double x, double y) const {
    const MapPicture* p = m_plot;
    if (p && !p->isHidden() && x >= p->Left() && x < p->Left() + p->Width() && y >= p->Top() &&
        y < p->Top() + p->Height())
        return m_plot;
    return nullptr;
}

QString MarkerOverlay::toolTipAt(double x, double y) const {
    const MarkerHit h = hitTest(x, y);
    if (h.kind != MarkerKind::None) return array(h.kind)[h.index].ToolTipText;
    if (MapPicture* pic = pictureAt(x, y)) return pic->ToolTipText;
    if (MapPicture* plot = plotAt(x, y)) return plot->ToolTipText;
    return QString();
}

namespace {
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
}

void MarkerOverlay::setGlyphAnchor(MarkerKind kind, QPointF twipsInBox) {
    QPointF& a = m_anchors[size_t(kind)];
    if (a == twipsInBox) return;
    a = twipsInBox;
    m_stamps.clear();
}

// The marker drawn once into a transparent pixmap: its glyph centred on the
// anchor when there is one, else its text from the box's top left.
const MarkerOverlay::Stamp& MarkerOverlay::stamp(const Marker& m, const QFont& font, const QSize& box,
                                                 QPointF anchorPx) {
    const QString key = m.Caption + QLatin1Char('\x1f') + QString::number(m.ForeColor) + QLatin1Char('\x1f') +
                        font.key() + QLatin1Char('\x1f') + QString::number(box.width()) + QLatin1Char('x') +
                        QString::number(box.height()) + QLatin1Char('@') + QString::number(anchorPx.x()) +
                        QLatin1Char(',') + QString::number(anchorPx.y());
    auto it = m_stamps.constFind(key);
    if (it != m_stamps.constEnd()) return *it;
    if (m_stamps.size() > 64) m_stamps.clear(); // colours changed many times: start afresh
    const QRect boxRect(QPoint(0, 0), box);
    QPointF baseline;
    QRect area;
    const bool anchored = anchorPx.x() >= 0;
    if (anchored) {
        const QRectF tight = QFontMetricsF(font).tightBoundingRect(m.Caption);
        baseline = anchorPx - tight.center();
        area = tight.translated(baseline).toAlignedRect().adjusted(-1, -1, 1, 1);
    } else {
        area = QFontMetrics(font).boundingRect(boxRect, TextFlags, m.Caption).united(boxRect);
    }
    const qreal dpr = devicePixelRatioF();
    QImage img((QSizeF(area.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    {
        QPainter ip(&img);
        ip.translate(-area.topLeft());
        ip.setPen(colorFromNumber(m.ForeColor));
        ip.setFont(font);
        if (anchored) ip.drawText(baseline, m.Caption);
        else ip.drawText(boxRect, TextFlags, m.Caption);
    }
    return *m_stamps.insert(key, Stamp{QPixmap::fromImage(img), area.topLeft()});
}

void MarkerOverlay::paintMarkers(QPainter& p, const MarkerArray<Marker>& arr, const QRect& clip,
                                 const QFont& base, MarkerKind kind) {
    const bool labels = &arr == &labMap;
    // A glyph may reach a little beyond its box: boxes just outside the
    // repainted area are drawn too.
    const QRect area = clip.adjusted(-32, -32, 32, 32);
    const QPointF anchor = m_anchors[size_t(kind)];
    const QPointF anchorPx = anchor.x() >= 0 ? anchor / twips::PerPixel : QPointF(-1, -1);
    // The members of one array share caption, colour and size: look the
    // stamp up only when one of them changes.
    const Stamp* last = nullptr;
    const QString* lastCaption = nullptr;
    long lastColor = 0;
    QSize lastSize;
    for (int i = 1; i <= arr.count(); ++i) {
        const Marker& m = arr[i];
        if (!m.Visible) continue;
        const QRect r = twips::rect(m.Left, m.Top, m.Width, m.Height);
        if (r.left() > area.right() || r.top() > area.bottom() || r.right() < area.left() ||
            r.bottom() < area.top())
            continue;
        // A marker whose font was never set takes its array's font.
        const bool ownFont = m.Font.resolveMask() != 0;
        if (labels || ownFont) {
            p.setPen(colorFromNumber(m.ForeColor));
            p.setFont(ownFont ? m.Font : base);
            p.drawText(r, TextFlags, m.Caption);
        } else {
            if (!last || m.ForeColor != lastColor || r.size() != lastSize || *lastCaption != m.Caption) {
                last = &stamp(m, base, r.size(), anchorPx);
                lastCaption = &m.Caption;
                lastColor = m.ForeColor;
                lastSize = r.size();
            }
            p.drawPixmap(r.topLeft() + last->offset, last->pixmap);
        }
    }
}

void MarkerOverlay::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect clip = e->rect();
    // Segments wholly outside the repainted area are passed over; the pen
    // changes only where the colour does.
    const QRectF lineArea = QRectF(clip).adjusted(-1, -1, 1, 1);
    bool penSet = false;
    long penColor = 0;
    for (int i = 1; i <= LineCon.count(); ++i) {
        const LineSegment& s = LineCon[i];
        if (!s.Visible) continue;
        const QPointF a(s.X1 / twips::PerPixel, s.Y1 / twips::PerPixel);
        const QPointF b(s.X2 / twips::PerPixel, s.Y2 / twips::PerPixel);
        if (std::max(a.x(), b.x()) < lineArea.left() || std::min(a.x(), b.x()) > lineArea.right() ||
            std::max(a.y(), b.y()) < lineArea.top() || std::min(a.y(), b.y()) > lineArea.bottom())
            continue;
        if (!penSet || s.BorderColor != penColor) {
            p.setPen(QPen(colorFromNumber(s.BorderColor), 1));
            penColor = s.BorderColor;
            penSet = true;
        }
        p.drawLine(a, b);
    }
    QFont star = font();
    star.setBold(true);
    QFont cross = font();
    cross.setPointSizeF(cross.pointSizeF() * 1.6);
    for (MarkerKind k : m_stack) {
        switch (k) {
        case MarkerKind::Map: paintMarkers(p, labMap, clip, font(), k); break;
        case MarkerKind::Dat: paintMarkers(p, labDat, clip, star, k); break;
        case MarkerKind::Con: paintMarkers(p, labCon, clip, star, k); break;
        case MarkerKind::Ref: paintMarkers(p, labRef, clip, cross, k); break;
        case MarkerKind::None: break;
        }
    }
}

void MarkerOverlay::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) m_stamps.clear();
    QWidget::changeEvent(e);
}

void MarkerOverlay::mouseReleaseEvent(QMouseEvent* e) {
    const double x = twips::fromPx(e->position().x());
    const double y = twips::fromPx(e->position().y());
    const int button = buttonCode(e->button());
    const MarkerHit h = hitTest(x, y);
    if (h.kind != MarkerKind::None) {
        const Marker& m = array(h.kind)[h.index];
        emit markerMouseUp(h.kind, h.index, button, x - m.Left, y - m.Top);
        return;
    }
    if (MapPicture* pic = pictureAt(x, y)) emit pictureMouseUp(pic, button, x - pic->Left(), y - pic->Top());
}

void MarkerOverlay::mouseMoveEvent(QMouseEvent* e) {
    const double x = twips::fromPx(e->position().x());
    const double y = twips::fromPx(e->position().y());
    if (hitTest(x, y).kind == MarkerKind::None) {
        if (MapPicture* pic = pictureAt(x, y))
            emit pictureMouseMove(pic, buttonCodes(e->buttons()), x - pic->Left(), y - pic->Top());
        else if (MapPicture* plot = plotAt(x, y))
            emit plotMouseMove(buttonCodes(e->buttons()), x - plot->Left(), y - plot->Top());
    }
    // A tip already up follows the read-out as the mouse moves on.
    if (QToolTip::isVisible()) {
        const QString tip = toolTipAt(x, y);
        if (tip.isEmpty()) QToolTip::hideText();
        else if (tip != QToolTip::text()) QToolTip::showText(e->globalPosition().toPoint(), tip, this);
    }
}

bool MarkerOverlay::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const double x = twips::fromPx(he->pos().x());
        const double y = twips::fromPx(he->pos().y());
        const QString tip = toolTipAt(x, y);
        if (tip.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(he->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}
