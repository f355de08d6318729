#include "map/MapLayer.h"

#include "app/Twips.h"
#include "platform/ColorNumber.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

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
}

namespace {
bool inside(const Marker& m, double x, double y) {
    return m.Visible && x >= m.Left && x < m.Left + m.Width && y >= m.Top && y < m.Top + m.Height;
}
} // namespace

MarkerHit MarkerOverlay::hitTest(double x, double y) const {
    // Topmost first: registration crosses, then contour and datum markers
    // (the later-loaded member lies above), then text labels.
    for (int i = labRef.count(); i >= 1; --i)
        if (inside(labRef[i], x, y)) return {MarkerKind::Ref, i};
    for (int i = labCon.count(); i >= 1; --i)
        if (inside(labCon[i], x, y)) return {MarkerKind::Con, i};
    for (int i = labDat.count(); i >= 1; --i)
        if (inside(labDat[i], x, y)) return {MarkerKind::Dat, i};
    for (int i = labMap.count(); i >= 1; --i)
        if (inside(labMap[i], x, y)) return {MarkerKind::Map, i};
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

void MarkerOverlay::paintMarkers(QPainter& p, const MarkerArray<Marker>& arr, const QRect& clip,
                                 const QFont& base) const {
    for (int i = 1; i <= arr.count(); ++i) {
        const Marker& m = arr[i];
        if (!m.Visible) continue;
        const QRect r = twips::rect(m.Left, m.Top, m.Width, m.Height);
        if (!r.intersects(clip)) continue;
        p.setPen(colorFromNumber(m.ForeColor));
        p.setFont(m.Font.family().isEmpty() ? base : m.Font);
        p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, m.Caption);
    }
}

void MarkerOverlay::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QRect clip = e->rect();
    for (int i = 1; i <= LineCon.count(); ++i) {
        const LineSegment& s = LineCon[i];
        if (!s.Visible) continue;
        p.setPen(QPen(colorFromNumber(s.BorderColor), 1));
        p.drawLine(QPointF(s.X1 / twips::PerPixel, s.Y1 / twips::PerPixel),
                   QPointF(s.X2 / twips::PerPixel, s.Y2 / twips::PerPixel));
    }
    paintMarkers(p, labMap, clip, font());
    QFont star = font();
    star.setBold(true);
    paintMarkers(p, labDat, clip, star);
    paintMarkers(p, labCon, clip, star);
    QFont cross = font();
    cross.setPointSizeF(cross.pointSizeF() * 1.6);
    paintMarkers(p, labRef, clip, cross);
}

void MarkerOverlay::mouseReleaseEvent(QMouseEvent* e) {
    const double x = twips::fromPx(e->position().x());
    const double y = twips::fromPx(e->position().y());
    const int button = buttonCode(e->button());
    const MarkerHit h = hitTest(x, y);
    if (h.kind != MarkerKind::None) {
        const Marker* m = nullptr;
        switch (h.kind) {
        case MarkerKind::Ref: m = &labRef[h.index]; break;
        case MarkerKind::Dat: m = &labDat[h.index]; break;
        case MarkerKind::Con: m = &labCon[h.index]; break;
        case MarkerKind::Map: m = &labMap[h.index]; break;
        case MarkerKind::None: break;
        }
        emit markerMouseUp(h.kind, h.index, button, x - m->Left, y - m->Top);
        return;
    }
    if (MapPicture* pic = pictureAt(x, y)) emit pictureMouseUp(pic, button, x - pic->Left(), y - pic->Top());
}

void MarkerOverlay::mouseMoveEvent(QMouseEvent* e) {
    const double x = twips::fromPx(e->position().x());
    const double y = twips::fromPx(e->position().y());
    if (hitTest(x, y).kind != MarkerKind::None) return;
    if (MapPicture* pic = pictureAt(x, y))
        emit pictureMouseMove(pic, buttonCodes(e->buttons()), x - pic->Left(), y - pic->Top());
}

bool MarkerOverlay::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const double x = twips::fromPx(he->pos().x());
        const double y = twips::fromPx(he->pos().y());
        const MarkerHit h = hitTest(x, y);
        QString tip;
        switch (h.kind) {
        case MarkerKind::Ref: tip = labRef[h.index].ToolTipText; break;
        case MarkerKind::Dat: tip = labDat[h.index].ToolTipText; break;
        case MarkerKind::Con: tip = labCon[h.index].ToolTipText; break;
        case MarkerKind::Map: tip = labMap[h.index].ToolTipText; break;
        case MarkerKind::None:
            if (MapPicture* pic = pictureAt(x, y)) tip = pic->ToolTipText;
            break;
        }
        if (tip.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(he->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}
