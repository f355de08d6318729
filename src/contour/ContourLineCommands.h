// Commands of the main window for contour lines over the plot and the shaded
// relief: the contour-line overlay drawn at the end of the contour plot, and
// the "Show 3D" button with its light-direction and contrast boxes in fr3D.
#pragma once

#include "contour/LevelTracing.h"
#include "contour/Relief.h"
#include "contour/Triangulation.h"

#include <QObject>
#include <QTransform>
#include <functional>
#include <vector>

class MainWindow;
class QComboBox;
class QPushButton;

class ContourLineCommands : public QObject {
    Q_OBJECT
public:
    explicit ContourLineCommands(MainWindow& w);

    // ---- relief controls (inside fr3D) ----
    QPushButton* cmd3d = nullptr;
    QComboBox* cmbIllum = nullptr;
    QComboBox* cmbContrast = nullptr;

    // Draws labelled contour lines over the plot in picMap: samples the grid
    // inside the data window (map units), meshes it and traces the levels.
    // Failures are left to the caller's error report (legacy::Error); the
    // lines drawn before a failure stay on the picture.
    void ContourLines(float cellWidth, float cellHeight, float minX, float maxX, float minY, float maxY);

    // Shades the sampled relief grid from `direction` (1 Top, 2 Bottom, 3 Left,
    // 4 Right; any other paints nothing) on picMap; sets TopoDone even after
    // an error, which it reports itself.
    void ContourTopo(int direction);

    // A new plot was drawn: the button offers the relief again.
    void plotRedrawn();

    void cmd3d_Click();
    void cmbIllum_Click();
    void cmbContrast_Click();

    // Results of the last overlay and relief, kept until the next run.
    std::vector<contourlines::TriPoint> TriPoints;
    std::vector<contourlines::Triangle> Triangles;
    double ContourInterval = 10;
    relief::TopoGrid TopoGrid;

    // Uniform numbers in [0, 1) for the node disturbance; reseeded from the
    // clock on every overlay unless a test replaces it.
    std::function<double()> random;

    // The plot's title box, redrawn over each new relief (scheme 1).
    std::function<void(int)> contourTitle;

private:
    int directionFromIllum() const;
    void setReliefControlsEnabled(bool on);
    void toggleRelief();
    void recomputeShown();
    QTransform toPixels() const;

    MainWindow& w;
};
