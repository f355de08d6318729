// The contour map's pure computations: colour ramps, gridding, the cells on
// the picture, the layout of the title and colour scale, and under the
// contour lines and the relief the mesh, level tracing, spline curves and
// shading.  The rules' cases, computed by hand, are the lines of
// contour/rules.txt; the grid and the mesh are checked against what the
// plain algorithms give (contour/nodes.txt, contour/mesh.txt).
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "contour/CellPainting.h"
#include "contour/ColourRamps.h"
#include "contour/Gridding.h"
#include "contour/LevelTracing.h"
#include "contour/PlotScales.h"
#include "contour/Relief.h"
#include "contour/Splines.h"
#include "contour/Triangulation.h"
#include "document/Legacy.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <random>

using namespace contourlines;
using namespace relief;

namespace {

std::vector<DataPoint> pointList(std::initializer_list<std::array<float, 3>> xyz) {
    std::vector<DataPoint> list(1);
    for (const auto& p : xyz) list.push_back(DataPoint{0, p[0], p[1], p[2], false});
    return list;
}

// "x,y x,y ..." to a millionth.
QString describe(const std::vector<PolyPoint>& poly) {
    const auto n = [](double v) { return QString::number(std::round(v * 1e6) / 1e6 + 0.0); };
    QStringList parts;
    for (const auto& p : poly) parts << n(p.X) + u',' + n(p.Y);
    return parts.join(u' ');
}

// A grid of heights, `value` everywhere but `rise` more on every row.
TopoGrid heights(int cols, int rows, int value, int rise = 0) {
    TopoGrid g(cols, rows);
    for (int c = 1; c <= cols; ++c)
        for (int r = 1; r <= rows; ++r) g.at(c, r) = value + rise * r;
    return g;
}

// The shade of the cell painted at (column, row), found from its dot's
// position a cell below the sampled point; -80 for the dark blue of a cell
// facing away, 0 for none.
int shade(const ReliefResult& res, const TopoGrid& g, double w, double h, int col, int row) {
    for (const auto& d : res.dots)
        if (qRound(d.x * g.cols() / w + 0.5) == col && qRound((d.y - w / g.cols()) * g.rows() / h + 0.5) == row)
            return d.b == 80 && d.r == 0 ? -80 : d.r;
    return 0;
}

// The result of `rule` of contour/rules.txt for its inputs.
QString apply(const QString& rule, const QStringList& in) {
    QList<double> a;
    for (const QString& s : in) a << s.toDouble();
    const auto n = [](double v) { return QString::number(v); };
    if (rule == "ramp") return QString::number(PicRGB(a[0], a[1], a[2], int(a[3])), 16);
    if (rule == "geometry") {
        const GridGeometry g = gridGeometry(int(a[0]), float(a[1]), float(a[2]));
        return QStringLiteral("%1x%2 %3x%4").arg(g.cols).arg(g.rows).arg(g.cellWidth).arg(g.cellHeight);
    }
    if (rule == "weight") { // by the search, then by a run over a grid of one node
        const auto list = pointList({{0, 0, 10}, {30, 40, 20}, {9, 9, 0}, {0, 0, 55}});
        PointGrid grid;
        grid.resize(1, 1);
        grid.at(1, 1) = DataPoint{0, float(a[0]), float(a[1]), -1, false};
        GridRun run;
        computeGrid(grid, list, int(a[3]), DataWindow{-1e6f, 1e6f, -1e6f, 1e6f, false}, a[2], run);
        const float search = NeighbourSearch(list, int(a[3]), a[2]).value(float(a[0]), float(a[1]));
        return QString::number(search, 'g', 7) + ' ' + QString::number(grid.at(1, 1).Z, 'g', 7);
    }
    if (rule == "circle") {
        Circle c; // filled by the first argument, before the others are read
        const int inside = CircumCircle(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], c);
        return QStringLiteral("%1:%2,%3,%4").arg(inside).arg(c.X).arg(c.Y).arg(c.R * c.R);
    }
    if (rule == "interval") return n(automaticInterval(a[0]));
    if (rule == "plan") return n(planLevels({a[0], a[1]}, a[2]).first) + 'x' + n(planLevels({a[0], a[1]}, a[2]).count);
    if (rule == "chain") {
        std::vector<Segment> s;
        for (int i = 0; i + 3 < a.size(); i += 4) s.push_back({a[i], a[i + 1], a[i + 2], a[i + 3]});
        QStringList lines;
        for (const auto& poly : chainSegments(s)) lines << describe(poly);
        return lines.join(u';');
    }
    if (rule == "cut") { // level, then triangles of the named corners, "+" between them
        static const QString names = QStringLiteral("ABCDEFG");
        const std::vector<TriPoint> corners{{0, 0, 10},     {0, 100, 10},  {-100, 50, 0}, {100, 50, 0},
                                            {100, 50, 20},  {-100, 50, 20}, {100, 50, 10}};
        std::vector<Triangle> tris;
        for (const QString& t : in[1].split(u'+'))
            tris.push_back({int(names.indexOf(t[0])), int(names.indexOf(t[1])), int(names.indexOf(t[2]))});
        QStringList segments;
        for (const Segment& s : cutTriangles(corners, tris, a[0]))
            segments << describe({{s.X1, s.Y1}, {s.X2, s.Y2}});
        return segments.isEmpty() ? QStringLiteral("-") : segments.join(u';');
    }
    if (rule == "label") { // area's left, top, right, bottom, text width, height, then the curve's points
        std::vector<PolyPoint> curve;
        for (int i = 6; i + 1 < a.size(); i += 2) curve.push_back({a[i], a[i + 1]});
        const auto at = labelPlace(curve, a[4], a[5], QRectF(QPointF(a[0], a[1]), QPointF(a[2], a[3])));
        return at ? describe({*at}) : QStringLiteral("-");
    }
    if (rule == "shade") {
        const TopoGrid g = in[0] == "flat" ? heights(10, 8, 100)
                           : in[0] == "low"  ? heights(5, 5, 30)
                                             : heights(12, 12, 100, in[0] == "steep" ? 2 : 1);
        const double size = g.cols() * 150.0;
        int lines = 0;
        const ReliefResult res = shadeRelief(g, {int(a[1]), a[2], size, size}, [&] { ++lines; });
        const int s = shade(res, g, size, size, int(a[3]), int(a[4]));
        return res.error.isEmpty() ? QStringLiteral("%1 %2 %3").arg(s).arg(res.penWidth).arg(lines) : res.error;
    }
    if (rule == "shadow") {
        TopoGrid g = heights(400, 5, 60);
        for (int r = 1; r <= 5; ++r) g.at(10, r) = 210;
        return n(shade(shadeRelief(g, {Left, 3, 4000, 50}), g, 4000, 50, 10 + int(a[0]), 3));
    }
    QImage img(101, 101, QImage::Format_RGB32); // "dot"
    img.fill(Qt::white);
    paintRelief(img, ReliefResult{int(a[0]), {{756, 753, 0, 0, 0}}, {}}, QTransform::fromScale(1 / 15.0, 1 / 15.0));
    QStringList rows;
    for (int y = 47; y < 54; ++y) {
        rows << QString();
        for (int x = 47; x < 54; ++x) rows.back() += img.pixel(x, y) == qRgb(0, 0, 0) ? u'#' : u'.';
    }
    return rows.join(u' ');
}

} // namespace

class ContourMathTest : public QObject {
    Q_OBJECT
private slots:
    // On all cores the grid is node for node, bit for bit, what six full
    // scans of the list give (contour/nodes.txt).  150 points on a lattice
    // every 10 over 0..110 under nodes every 2.5 bring many equal distances,
    // nodes on points and two points on one spot; four survey lines, points
    // far apart across them.
    void gridMatchesSixFullScans_data() { testsupport::addFileRows(QStringLiteral("contour/nodes.txt")); }
    void gridMatchesSixFullScans() {
        const bool lattice = QTest::currentDataTag() == QLatin1String("lattice");
        const int count = lattice ? 150 : 900;
        const float span = lattice ? 120 : 1000;
        QRandomGenerator rng(77);
        std::vector<DataPoint> list(1);
        for (int p = 0; p < count; ++p) {
            const float x = lattice ? float(rng.bounded(12)) * 10 : float(100 + 200 * (p % 4) + rng.bounded(5));
            const float y = lattice ? float(rng.bounded(12)) * 10 : float(p / 4) * 1000.f / float(count / 4 + 1);
            list.push_back(DataPoint{0, x, y, float(rng.bounded(1000)), false});
        }
        PointGrid grid;
        const GridGeometry g = gridGeometry(lattice ? 47 : 70, span, span);
        layGrid(grid, g, 0, span);
        const DataWindow win = dataWindow(list, count, 0, span, span);
        GridRun run;
        computeGrid(grid, list, count, win, lattice ? 45 : 3000, run);
        QStringList got;
        for (int i = 1; i <= g.cols; ++i)
            for (int j = 1; j <= g.rows; ++j) {
                const DataPoint& n = grid.at(i, j);
                got << (win.contains(n.X, n.Y) ? QString::number(n.Z, 'g', 9) : QStringLiteral("-"));
            }
        QCOMPARE(got, testsupport::rowFields().str(0).split(u' '));
    }

    // The window is the points' extent, its minima never beyond the map's
    // right and top edges.  The hook sees whole slices; a stop keeps the
    // slices done; a failure at the first node leaves nothing and the start
    // range (32000, 0).
    void gridRunSlicesAndStops() {
        const auto list = pointList({{1100, 4900, -5}, {2900, 4100, -20}, {2000, 4500, -8}});
        const int slice = gridSliceColumns(), mid = slice / 2 + 1; // rows: slice + 1
        const GridGeometry g = gridGeometry(2 * slice + 3, 2000, 1000);
        const DataWindow win = dataWindow(list, 3, 1000, 2000, 5000);
        const DataWindow o = dataWindow(pointList({{4e3, 6e3}}), 1, 1e3, 2e3, 5e3);
        QCOMPARE((std::array{win.minX, win.maxX, win.minY, win.maxY, o.minX, o.minY}),
                 (std::array{1100.f, 2900.f, 4100.f, 4900.f, 3e3f, 5e3f}));
        QVERIFY(win.contains(1100, 4900) && !win.contains(1099, 4500) && !dataWindow(list, 0, 0, 1, 1).contains(0, 0));
        PointGrid all, part, failed;
        for (PointGrid* p : {&all, &part, &failed}) layGrid(*p, g, 1000, 5000);
        GridRun run, stopped, bad;
        std::vector<int> done;
        computeGrid(all, list, 3, win, 3000, run, [&](int d) { return done.push_back(d), false; });
        QVERIFY(done == (std::vector<int>{slice, 2 * slice, 2 * slice + 3}) && !run.stopped && all.at(1, 1).Z == 0);
        QVERIFY(run.zMax == 0 && run.zMin < -5 && run.zMin > -20); // the top stays at its start, 0
        computeGrid(part, list, 3, win, 3000, stopped, [](int) { return true; });
        QVERIFY(stopped.stopped && part.at(slice, mid).Z == all.at(slice, mid).Z && part.at(slice + 1, mid).Z == 0 &&
                all.at(slice + 1, mid).Z != 0);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, computeGrid(failed, list, 3, win, 0, bad));
        QVERIFY(bad.zMin == 32000 && bad.zMax == 0 && failed.at(slice, mid).Z == 0);
        // Only the nodes given a value are marked computed.
        QVERIFY(all.computed(slice + 1, mid) && !all.computed(1, 1) && part.computed(slice, mid) &&
                !part.computed(slice + 1, mid) && !failed.computed(slice, mid));
    }

    // Cells span their column and row spacing and meet on the pixel grid:
    // every pixel shows the node nearest to it when that node is computed,
    // else stays blank (pixel centres on a cell border aside).
    void cellsCoverTheirBlock() {
        for (int k = 0; k < 24; ++k) { // details, picture sizes and spans wider or taller
            const int detail = std::array{10, 50, 117, 500}[k / 6];
            const QSize size = std::array{QSize(300, 200), QSize(901, 677), QSize(1203, 641)}[k / 2 % 3];
            const float ox = 1000, oy = 90000, sx = k % 2 ? 5000 : 12000, sy = k % 2 ? 8000 : 7000;
            // The points span all the map or a part of it.
            const QRectF pts = (detail + size.width()) % 2 ? QRectF(0.3, 0.25, 0.41, 0.33) : QRectF(0, 0, 0.96, 0.96);
            const auto list = pointList({{ox + float(pts.left()) * sx, oy - float(pts.top()) * sy, 1},
                                         {ox + float(pts.right()) * sx, oy - float(pts.bottom()) * sy, 2}});
            const DataWindow win = dataWindow(list, 2, ox, sx, oy);
            PointGrid grid;
            const GridGeometry g = gridGeometry(detail, sx, sy);
            layGrid(grid, g, ox, oy);
            QImage img(size, QImage::Format_RGB32);
            img.fill(Qt::white);
            auto name = [](long i, long j) { return qRgb(int(i / 2), int(j / 2), int(i % 2 * 2 + j % 2)); };
            paintCells(img, grid, win, g, sx, sy, [&](const DataPoint& n) {
                return name(std::lround((n.X - ox) / g.cellWidth), std::lround((oy - n.Y) / g.cellHeight));
            });
            // The cells' area is where they were painted.
            QRect painted;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    if (img.pixel(x, y) != qRgb(255, 255, 255)) painted |= QRect(x, y, 1, 1);
            QCOMPARE(cellArea(size, grid, win, g, sx, sy), painted);
            const double px = double(g.cellWidth) / sx * size.width(), py = double(g.cellHeight) / sy * size.height();
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const double u = (x + 0.5) / px, v = (y + 0.5) / py; // node i at u = i
                    if (std::abs(u - std::floor(u) - 0.5) < 1e-6 || std::abs(v - std::floor(v) - 0.5) < 1e-6) continue;
                    const long i = std::lround(u), j = std::lround(v);
                    const bool in = i > 0 && i <= g.cols && j > 0 && j <= g.rows &&
                                    win.contains(grid.at(i, j).X, grid.at(i, j).Y);
                    if (img.pixel(x, y) != (in ? name(i, j) : qRgb(255, 255, 255)))
                        QFAIL(qPrintable(QStringLiteral("case %1: pixel %2,%3").arg(k).arg(x).arg(y)));
                }
        }
    }

    void titleAndScale() {
        // Maps in degrees give the span per node as it is.  An Orthographic
        // sheet on 10 E and the equator, clicked at a fifth and four fifths
        // of a picture 9000 units across on 9.55 E 0.45 N and 10.45 E 0.45 S,
        // has ProjScaleX 5400 / 0.9 = 6000 and MapSpanX 6000 x 2 cos 0.45 deg
        // sin 0.45 deg / 0.6 = 10000 sin 0.9 deg = 157.0732; at detail 40 a
        // node spacing of 157.0732 / 40 / 6000 x 180 / pi = 0.037498 degrees
        // of arc.
        const QString lin = QStringLiteral("Linear Coordinates");
        QStringList titles;
        titles << contourTitleText("R", true, 12000, 50, PlotUnits::Feet, lin, 1)
               << contourTitleText("R", false, 12000, 50, PlotUnits::Meters, lin, 1)
               << contourTitleText("R", false, 1, 50, PlotUnits::Degrees, lin, 6000)
               << contourTitleText("R", false, 1.5f, 50, PlotUnits::Degrees, "Standard Mercator", 6000)
               << contourTitleText("R", true, 157.0732f, 40, PlotUnits::Degrees, "Orthographic Azimuthal", 6000)
               << unitWord(PlotUnits::Meters);
        QCOMPARE(titles, (QStringList{"R Topographic/Structural Contours (240-ft detail)", "R Isopachs (240.0-m detail)",
                                      "R Isopachs (0.0200-deg detail)", "R Isopachs (0.0300-deg detail)",
                                      "R Topographic/Structural Contours (0.0375-deg detail)", "Meters"}));
        // The scale stands on the side with more room, left on equal room;
        // a bar of no height has no row values.
        const ScaleLayout r = scaleLayout(9000, 6001, 0, 5000);
        QVERIFY(!r.left && scaleLayout(9000, 6000, 1000, 8000).left && r.yTop == 1200 && r.yBottom == 4800);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, scaleRowValue(0, scaleLayout(100, 1, 0, 100), 0, 10));
        // Labels on a bar from row 1000 to 4000 (scale min and max, data min
        // and max): the ends and quarters, and on a wider manual scale the
        // first rows of the data's own integers (*), unless it steps over them.
        // With no node computed (the data range still at its start, 32000
        // above 0) the automatic scale has no number at all; a typed one
        // keeps its own, with no data to mark.  Data of one value keep theirs.
        QStringList got;
        for (auto [lo, hi, zlo, zhi] : std::initializer_list<std::array<double, 4>>{
                 {100, 900, 100, 900}, {0, 1000, 200, 800}, {0, 1e7, 200, 800.5}, {32000, 0, 32000, 0},
                 {0, 1000, 32000, 0}, {50, 50, 50, 50}}) {
            QStringList labels;
            for (const ScaleLabel& s : scaleLabels(scaleLayout(9000, 5000, 0, 100), lo, hi, zlo, zhi))
                labels << QStringLiteral("%1@%2%3").arg(s.text).arg(s.y).arg(s.mark ? "*" : "");
            got << (labels.isEmpty() ? QStringLiteral("-") : labels.join(u' '));
        }
        QCOMPARE(got.join(u'|'), QStringLiteral("900@1000 700@1750 500@2500 300@3250 100@4000|"
                                                "1000@1000 801@1598* 750@1750 500@2500 250@3250 201@3398* 0@4000|"
                                                "10000000@1000 7500000@1750 5000000@2500 2500000@3250 0@4000|"
                                                "-|"
                                                "1000@1000 750@1750 500@2500 250@3250 0@4000|"
                                                "50@1000 50@1750 50@2500 50@3250 50@4000"));
    }

    // ---- contour lines and relief ----
    // Triangle for triangle the plain algorithm's mesh (contour/mesh.txt),
    // on jittered grids fine and coarse (border slivers cut by the radius
    // limit), and on grids where two triangles sharing an edge offer the same
    // new triangle: it is stored once.
    void triangulation_data() { testsupport::addFileRows(QStringLiteral("contour/mesh.txt")); }
    void triangulation() {
        const QStringList size = QString(QTest::currentDataTag()).split(u'x');
        const int cols = size[0].toInt(), rows = size[1].toInt(), spacing = size[2].toInt();
        std::mt19937 gen(unsigned(cols * rows)); // a grid, each point pushed by up to an eighth
        std::vector<TriPoint> pts;
        for (int i = 0; i < cols * rows; ++i)
            pts.push_back({(i / rows + gen() / 0x1p35) * spacing, (i % rows + gen() / 0x1p35) * spacing, i % 7 * 10.});
        QStringList got;
        for (const Triangle& t : ContourTriangulate(pts))
            got << QStringLiteral("%1,%2,%3").arg(t.P1).arg(t.P2).arg(t.P3);
        QCOMPARE(got, testsupport::rowFields().str(0).split(u' '));
    }

    // Small meshes: a point far off stays out; three points make one triangle.
    void smallMeshes() {
        const auto tris = ContourTriangulate({{0, 0, 0}, {0, 100, 0}, {103, 2, 0}, {101, 104, 0}, {5000, 5000, 0}});
        QVERIFY(tris.size() == 2 && tris[0].P1 == 1 && tris[0].P2 == 2 && tris[0].P3 == 0 && tris[1].P3 == 3);
        QCOMPARE(ContourTriangulate({{0, 0, 1}, {100, 0, 2}, {0, 100, 3}}).size(), size_t(1));
    }

    // The nodes inside the window at strides leaving about 500, pushed right
    // and down by up to an eighth of a cell in drawing units, so that cells
    // a hundredth of a degree wide still mesh (an eighth is 37.5 units).
    void sampling() {
        PointGrid g, deg;
        g.resize(50, 50);
        deg.resize(30, 30);
        for (int i = 1; i <= 50; ++i)
            for (int j = 1; j <= 50; ++j) {
                g.at(i, j) = DataPoint{0, i * 10.f, 1000 - j * 10.f, float(i + j), false};
                if (i <= 30 && j <= 30) deg.at(i, j) = DataPoint{0, -100 + i * 0.01f, 40 + j * 0.01f, 1, false};
            }
        // Cells 80 x 40 over X 10..500, Y 500..990 of a 1000 x 1000 map drawn
        // 2000 x 1000: columns 1, 4, ..., 49 (17), rows 1, 3, ..., 49 (25).
        int draws = 0;
        const auto pts = sampleGrid(g, {80, 40, 10, 500, 500, 990, 0, 1000, 1000, 1000, 2000, 1000},
                                    [&] { return (draws++ % 2) ? 0.5 : 0.0; });
        QCOMPARE((std::array{double(pts.size()), double(draws), pts[0].X, pts[0].Y, pts[0].Z, pts[1].Z}),
                 (std::array{17 * 25.0, 2 * 17 * 25.0, 40.0, 12.5, 2.0, 4.0}));
        std::mt19937 gen(3);
        const auto dpts = sampleGrid(deg, {0.01, 0.01, -100, -99.6, 40, 40.4, -100, 40.31, 0.31, 0.31, 9300, 9300},
                                     [&] { return gen() / 0x1p32; });
        QVERIFY(dpts.size() == 450 && dpts[0].X > 301 && dpts[0].X < 338 && !ContourTriangulate(dpts).empty());
    }

    // Typed intervals (none usable: the automatic 25); a level crossing two
    // sides of a triangle, one through a corner and the opposite side.
    void levels() {
        QList<double> got;
        for (const char* typed : {"1", "abc", "  2.5 ft", "-20"}) got << typedInterval(25, typed);
        QCOMPARE(got, (QList<double>{25, 25, 2.5, 25}));
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 10}, {0, 100, 20}};
        const auto s = cutTriangles(pts, {{0, 1, 2}}, 5);
        QVERIFY(s.size() == 1 && s[0].X1 == 50 && s[0].Y1 == 0 && s[0].X2 == 0 && s[0].Y2 == 25);
        const auto b = cutTriangles(pts, {{0, 1, 2}}, 10); // through corner B and across the opposite side
        QVERIFY(b.size() == 1 && b[0].X1 == 100 && b[0].Y1 == 0 && b[0].X2 == 0 && b[0].Y2 == 50);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, cutTriangles(pts, {{0, 1, 2}}, 5, {0, 1001})); // no room
        // Traced through two separate triangles each level gives two lines, the
        // first carrying the level's number; level 0 only touches a corner
        // of each and draws nothing.
        const std::vector<TriPoint> two{{0, 0, 0}, {99, 0, 30}, {0, 99, 30}, {500, 0, 0}, {599, 0, 30}, {500, 99, 30}};
        const auto lines = traceLevels(two, {{0, 1, 2}, {3, 4, 5}}, planLevels(valueRange(two), 10));
        QCOMPARE(lines.size(), size_t(6));
        for (int k = 0; k < 6; ++k)
            QVERIFY(lines[k].level == (k / 2 + 1) * 10 && lines[k].labelFlag == (k % 2 ? -1 : k / 2 + 1));
        const std::vector<Segment> one{{0, 0, 10, 0}, {10, 0, 20, 0}};
        QVERIFY_THROWS_EXCEPTION(legacy::Error, chainSegments(one, {1001, 2})); // no room for the polyline
    }

    // Contour points digitized along a line at a round value put a row of
    // nodes exactly on a level, lower on one side and higher on the other:
    // the level follows that row once, node to node, with no stroke drawn
    // back over itself and no dot.
    void levelAlongEqualNodes() {
        PointGrid g;
        g.resize(40, 40);
        for (int i = 1; i <= 40; ++i)
            for (int j = 1; j <= 40; ++j) {
                const float z = 100 + float(j - 15) * (j < 15 ? 3.7f : 4.3f);
                g.at(i, j) = DataPoint{0, i * 10.f, 1000 - j * 10.f, z, false};
            }
        // Nodes 100 drawing units apart, every second one taken, each pushed
        // by up to an eighth of that.
        std::mt19937 gen(11);
        const auto pts = sampleGrid(g, {10, 10, 10, 400, 600, 990, 0, 1000, 1000, 1000, 10000, 10000},
                                    [&] { return gen() / 0x1p32; });
        std::vector<std::vector<PolyPoint>> at100;
        for (const TracedLine& l : traceLevels(pts, ContourTriangulate(pts), planLevels(valueRange(pts), 10)))
            if (l.level == 100) at100.push_back(l.points);
        QCOMPARE(at100.size(), size_t(1));
        const std::vector<PolyPoint>& line = at100[0];
        QCOMPARE(line.size(), size_t(20)); // the row's 20 sampled nodes, in order
        for (size_t k = 0; k < line.size(); ++k)
            QVERIFY(line[k].Y >= 1500 && line[k].Y <= 1512.5 &&
                    (!k || (line[k].X - line[k - 1].X) * (line[1].X - line[0].X) > 180 * 180));
    }

    // Where no corner lies on a level the lines are what they always were:
    // every level's polylines, in order, with their label flags (recorded
    // from the tracing before a corner on a level counted as above it).
    void linesOffTheLevels_data() { testsupport::addFileRows(QStringLiteral("contour/traced.txt")); }
    void linesOffTheLevels() {
        const QStringList size = QString(QTest::currentDataTag()).split(u'x');
        const int cols = size[0].toInt(), rows = size[1].toInt();
        std::mt19937 gen(unsigned(cols * rows + 1));
        std::vector<TriPoint> pts;
        for (int i = 0; i < cols * rows; ++i) {
            const double x = (i / rows + gen() / 0x1p35) * 200, y = (i % rows + gen() / 0x1p35) * 200;
            pts.push_back({x, y, double(float(60 + 45 * std::sin(x / 700) * std::cos(y / 500) + y / 90))});
            QVERIFY(std::fmod(pts.back().Z, 10) != 0);
        }
        QStringList got;
        for (const TracedLine& l : traceLevels(pts, ContourTriangulate(pts), planLevels(valueRange(pts), 10)))
            got << QStringLiteral("%1:%2:%3").arg(l.level).arg(l.labelFlag).arg(describe(l.points));
        QCOMPARE(got.join(u';'), testsupport::rowFields().str(0));
    }

    // Four spans of six points over the start, the midpoint M and the end
    // E, each meeting the next (the second ends at 5/6 M + 1/6 E), the label
    // 100 above the start; a closed curve starts 1/12 of the way from the
    // first side's midpoint toward the second point and ends there.
    void splines() {
        std::vector<PolyPoint> open{{0, 0}, {120, 60}}, ring{{0, 0}, {120, 0}, {120, 120}, {0, 120}, {0.5, 0.5}};
        const auto c = splineCurve(open, 30.4, 0), r = splineCurve(ring, 0, -1);
        QVERIFY(!c.closed && c.labelled && c.label == QStringLiteral("30") && c.points.size() == 24 && open.size() == 2);
        QCOMPARE(describe({c.points.front(), c.points[11], c.points[12], c.points.back(), {c.labelX, c.labelY}}),
                 QStringLiteral("10,5 70,35 70,35 120,60 10,-95"));
        QVERIFY(r.closed && !r.labelled && ring.size() == 6 && r.points.size() == 6 * 12);
        QCOMPARE(describe({ring[0], r.points.front(), r.points.back()}), QStringLiteral("60,0 65,0 60,0"));
    }

    // The rules of contour/rules.txt: colour ramps, grid geometry, node
    // values, circumcircles, intervals and levels, chaining and relief.
    void rules_data() { testsupport::addFileRows(QStringLiteral("contour/rules.txt")); }
    void rules() {
        QStringList in = QString(QTest::currentDataTag()).split(u' ');
        const QString rule = in.takeFirst();
        QCOMPARE(apply(rule, in), testsupport::rowFields().str(0));
    }
};

VEX_TEST(ContourMathTest);
#include "ContourMathTest.moc"
