// Shaded relief of a grey plan picture: heights sampled into a coarse grid,
// each inner cell shaded by its slope toward the light and darkened where a
// higher cell nearer the light casts a shadow over it.
#pragma once

#include <QImage>
#include <QTransform>
#include <QString>
#include <functional>
#include <vector>

namespace relief {

// Heights 0..255 (-1 outside the picture), columns 1..cols x rows 1..rows;
// index 0 is never filled or read.
class TopoGrid {
public:
    TopoGrid() = default;
    TopoGrid(int cols, int rows) { resize(cols, rows); }
    void resize(int cols, int rows);
    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    int& at(int c, int r) { return m_cells[static_cast<size_t>(r) * (m_cols + 1) + c]; }
    int at(int c, int r) const { return m_cells[static_cast<size_t>(r) * (m_cols + 1) + c]; }
    // The cells are stored row after row, cols + 1 to a row.
    const int* cell(int c, int r) const { return m_cells.data() + static_cast<size_t>(r) * (m_cols + 1) + c; }

private:
    int m_cols = 0, m_rows = 0;
    std::vector<int> m_cells{0};
};

enum Direction { Top = 1, Bottom = 2, Left = 3, Right = 4 };

// "Top", "Bottom", "Left" give 1, 2, 3; any other text gives 4.
int directionFromText(const QString& text);

// Rows for `cols` columns on a drawing of width w and height h (halves to even).
int topoRows(int cols, double w, double h);

// Samples the picture shown in a drawing of size w x h (drawing units) at the
// cell centres: the red byte of each colour, -1 outside the picture.
// `toPixels` maps drawing units to picture pixels.
TopoGrid sampleTopo(const QImage& picture, int cols, int rows, double w, double h, const QTransform& toPixels);

struct ReliefOptions {
    int direction = Top;   // 1..4; any other value paints nothing
    double contrast = 3;   // 6 divides by zero
    double width = 0, height = 0;  // drawing size
};

struct ReliefDot {
    double x = 0, y = 0;  // drawing units
    int r = 0, g = 0, b = 0;
};

struct ReliefResult {
    int penWidth = 0;  // pixels
    std::vector<ReliefDot> dots;
    QString error;     // the description of an error that cut the relief short
};

// Shades the inner cells line by line from the light side; `afterLine` runs
// after each line. An error stops the shading; the dots so far are kept.
ReliefResult shadeRelief(const TopoGrid& grid, const ReliefOptions& options,
                         const std::function<void()>& afterLine = {});

// Paints the dots (round, penWidth pixels wide) on the picture.
void paintRelief(QImage& picture, const ReliefResult& result, const QTransform& toPixels);

}  // namespace relief
