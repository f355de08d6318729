// Commands of the main window for the contour map: the Show command (for
// every data kind), the plot options, gridding and painting the map, its title
// and colour scale, and reopening a saved contour picture.
#pragma once

#include "contour/Gridding.h"

#include <QColor>
#include <QObject>
#include <QTransform>
#include <functional>
#include <vector>

class MainWindow;
class QImage;
class QLabel;

class ContourCommands : public QObject {
    Q_OBJECT
public:
    explicit ContourCommands(MainWindow& w);

    // The Show button, for every data kind: from the map view to the plot
    // (the contour map, or the contact lines for contact data) and back; a
    // halted drawing goes back to the map view.  Pressed while a drawing
    // runs ("Halt Show") it only asks the drawing to stop.  Installed as the
    // window's cmdShow_Click.
    void cmdShow_Click();

    // Grids the points and draws the contour map into picMap.  False when
    // it failed (already reported); a halt returns true with ShowInterrupt set.
    bool ContourShow();
    // The title box and the registration crosses on picMap's picture.
    void ContourTitle(int scheme);
    // The colour scale beside the data window's edges (map X).
    void ContourScale(float left, float right);

    // File > Open > Contour File.
    void mnuFileOpenCon_Click();

    // The plot options.
    void chkMan_Click();
    void txtConDet_Change();
    void VScroll2_Change(int value);

    // Drawn over the plot after the title and scale when Check Contours is
    // on or Show Lines is ticked: cell width, cell height and the data
    // window's minimum X, maximum X, minimum Y, maximum Y (map units).  The
    // contour-line commands install it; it draws on picMap's picture.
    std::function<void(float, float, float, float, float, float)> ContourLines;

    // Runs when a contour map has been drawn completely, so that the relief
    // commands can mark their cached relief as out of date.
    std::function<void()> plotCompleted;

    // From picMap's drawing units (twips) to the pixels of its picture.
    QTransform plotTransform() const;
    // Where a map point lies on the plot, in twips.
    QPointF plotPosition(float x, float y) const;

    // Results of the last run that later commands read.
    int colourScheme() const;   // from the options: 1 Gray-3D, 2 Low, 3 High
    int gridPointCount() const { return m_gridPointCount; }
    const DataWindow& dataWindow() const { return m_window; }
    float cellWidth() const { return m_cellWidth; }
    float cellHeight() const { return m_cellHeight; }

    // Events are pumped during the gridding at most this often (ms); 0
    // pumps after every slice of columns.  The stop flag is tested after
    // every slice.
    static int pumpIntervalMs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The parts of the Show command's one road; `contacts` is the data kind.
    void leaveMap(bool contacts);
    bool drawPlot(bool contacts);
    void showPlot(bool contacts, bool drawn);
    void backToMap(bool contacts);
    void setPlotControlsEnabled(bool on);
    void markOutOfDate();
    QTransform plotTransformFor(const QImage& img) const;

    MainWindow& w;
    QLabel* labCalc = nullptr;
    // A Show command is under way (its drawing pumps events).
    bool m_showing = false;
    int m_gridPointCount = 0;
    DataWindow m_window;
    float m_cellWidth = 0;
    float m_cellHeight = 0;
    // The text colour the title leaves for the scale.
    QColor m_textColour = Qt::white;
};
