// The map frame's content: the map picture (imPoints), the contact overlay
// (imContacts), the plot picture (picMap) and one transparent layer on top
// that paints every marker and contact segment and routes the mouse.
#pragma once

#include "map/Markers.h"

#include <QFrame>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <array>

// A picture control: stretches its image to its own size.  Its geometry is
// kept in twips of the map frame so the zoom and scroll arithmetic stays exact.
class MapPicture : public QWidget {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);

    void setPicture(const QImage& image);
    const QImage& picture() const { return m_image; }
    void clearPicture();

    // Geometry in twips (of the map frame).
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    void Move(double left, double top, double width, double height);
    void Move(double left, double top) { Move(left, top, m_width, m_height); }

    // The tool tip shown where no marker is under the mouse.
    QString ToolTipText;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_image;
    QPixmap m_scaled;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

// Which marker array a hit belongs to.
enum class MarkerKind { None, Ref, Dat, Con, Map };

struct MarkerHit {
    MarkerKind kind = MarkerKind::None;
    int index = 0;
};

// Transparent top layer: paints the marker arrays and the contact segments,
// hit-tests them topmost first, and passes every other mouse event to the
// picture underneath in that picture's own twips.
class MarkerOverlay : public QWidget {
    Q_OBJECT
public:
    MarkerOverlay(QWidget* parent, MapPicture* points, MapPicture* contacts);

    MarkerArray<Marker> labDat;
    MarkerArray<Marker> labCon;
    MarkerArray<Marker> labMap;
    MarkerArray<Marker> labRef;     // members 1 and 2
    MarkerArray<LineSegment> LineCon;
    bool contactsOnTop = false;     // imContacts above imPoints

    // Marker under a point of the map frame (twips), topmost first.
    MarkerHit hitTest(double xTwips, double yTwips) const;
    // The picture that receives a click at that point, or nullptr.
    MapPicture* pictureAt(double xTwips, double yTwips) const;

    // Stacking order of the marker arrays: bringing an array to the front
    // puts all its members above those of the other arrays (within an array
    // the later member lies above).  At first text labels lie lowest, then
    // datum and contour markers, and the registration crosses on top.
    void bringToFront(MarkerKind kind);
    const std::array<MarkerKind, 4>& stacking() const { return m_stack; }

    // The contour plot picture: the mouse over it is reported by
    // plotMouseMove and its tool tip shown, but clicks on it go nowhere.
    void setPlotPicture(MapPicture* plot) { m_plot = plot; }
    MapPicture* plotAt(double xTwips, double yTwips) const;

    // The tool tip for a point of the map frame: the marker's there, else
    // the picture's, else the plot's.
    QString toolTipAt(double xTwips, double yTwips) const;

    // Where, inside its box, the glyph of a marker of that array is centred
    // (twips from the box's top left): the point the marker stands for, so
    // that a "*" or "+" sits on it.  At first the usual offsets of the point
    // markers (40, 140) and of the registration crosses (150, 260); text
    // labels are drawn from the box's corner.
    void setGlyphAnchor(MarkerKind kind, QPointF twipsInBox);

signals:
    void markerMouseUp(MarkerKind kind, int index, int button, double x, double y);
    void pictureMouseUp(MapPicture* picture, int button, double x, double y);
    void pictureMouseMove(MapPicture* picture, int buttons, double x, double y);
    // x, y in twips of the plot picture.
    void plotMouseMove(int buttons, double x, double y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    bool event(QEvent*) override;
    void changeEvent(QEvent*) override;

private:
    const MarkerArray<Marker>& array(MarkerKind kind) const;
    void paintMarkers(QPainter& p, const MarkerArray<Marker>& arr, const QRect& clip, const QFont& base,
                      MarkerKind kind);
    struct Stamp {
        QPixmap pixmap;
        QPoint offset; // of the pixmap from the box's top left, pixels
    };
    const Stamp& stamp(const Marker& m, const QFont& font, const QSize& box, QPointF anchorPx);
    MapPicture* m_points;
    MapPicture* m_contacts;
    MapPicture* m_plot = nullptr;
    std::array<MarkerKind, 4> m_stack{MarkerKind::Map, MarkerKind::Dat, MarkerKind::Con, MarkerKind::Ref};
    // Pre-drawn markers: every "*" of one colour looks the same, so it is
    // drawn once and then only copied.
    QHash<QString, Stamp> m_stamps;
    std::array<QPointF, 5> m_anchors; // by MarkerKind, twips; (-1, -1) = none
};

// Old-style button code of a Qt mouse button: 1 left, 2 right, 4 middle.
int buttonCode(Qt::MouseButton b);
int buttonCodes(Qt::MouseButtons b);
