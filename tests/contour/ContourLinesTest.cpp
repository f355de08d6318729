// The pure computations under the contour lines and the relief: the mesh
// against the plain algorithm, level tracing, spline curves and shading.
#include "common/TestRegistry.h"

#include "contour/LevelTracing.h"
#include "contour/Relief.h"
#include "contour/Splines.h"
#include "contour/Triangulation.h"
#include "document/Document.h"
#include "document/Legacy.h"

#include <QTest>
#include <cmath>
#include <random>

using namespace contourlines;
using namespace relief;

namespace {

// The mesh growth exactly as described, without any spatial shortcut: the
// reference the indexed version must reproduce triangle for triangle.
std::vector<Triangle> referenceTriangulate(const std::vector<TriPoint>& p) {
    std::vector<Triangle> tris;
    const int last = int(p.size()) - 1;
    std::vector<char> used(p.size(), 0);
    Circle c;
    auto empty = [&] {
        for (const auto& q : p)
            if (c.R * c.R > (c.X - q.X) * (c.X - q.X) + (c.Y - q.Y) * (c.Y - q.Y) + 1.0) return false;
        return true;
    };
    for (int i = 1; i < last && tris.empty(); ++i)
        for (int j = i + 1; j <= last && tris.empty(); ++j) {
            CircumCircle(p[0].X, p[0].Y, p[0].X, p[0].Y, p[i].X, p[i].Y, p[j].X, p[j].Y, c);
            if (c.R != 100000.0 && empty()) tris.push_back({i, j, 0}), used[i] = used[j] = used[0] = 1;
        }
    for (size_t start = 0; tris.size() > start;) {
        start = tris.size();
        for (int m = 1; m <= last; ++m) {
            if (used[m]) continue;
            for (size_t t = 0, n = tris.size(); t < n; ++t) {
                const Triangle T = tris[t];
                const int edges[3][3] = {{T.P1, T.P3, T.P2}, {T.P2, T.P3, T.P1}, {T.P1, T.P2, T.P3}};
                for (const auto& e : edges)
                    if (!CircumCircle(p[e[2]].X, p[e[2]].Y, p[e[0]].X, p[e[0]].Y, p[e[1]].X, p[e[1]].Y, p[m].X,
                                      p[m].Y, c) &&
                        empty() && c.R < 1000)
                        tris.push_back({e[0], e[1], m}), used[m] = 1;
            }
            if (used[m]) break;
        }
    }
    return tris;
}

std::vector<TriPoint> jitteredGrid(int cols, int rows, double spacing) {
    std::mt19937 gen(unsigned(cols * rows));
    std::vector<TriPoint> pts;
    for (int i = 0; i < cols * rows; ++i)
        pts.push_back({(i / rows + gen() / 0x1p35) * spacing, (i % rows + gen() / 0x1p35) * spacing, i % 7 * 10.0});
    return pts;
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
    int found = 0;
    for (const auto& d : res.dots)
        if (qRound(d.x * g.cols() / w + 0.5) == col && qRound((d.y - w / g.cols()) * g.rows() / h + 0.5) == row)
            found = d.b == 80 && d.r == 0 ? -80 : d.r;
    return found;
}

} // namespace

class ContourLinesTest : public QObject {
    Q_OBJECT
private slots:
    // inside:centre x,y,radius squared of (xp yp x1 y1 x2 y2 x3 y3): the
    // centre inside; on the circle, within the margin of 1 and just past
    // it; a flat second side; a general triangle; three points on a line
    // across, down and slanted (no circle).
    void circumCircle() {
        QStringList got;
        for (const auto& v : std::initializer_list<std::array<double, 8>>{
                 {5, 5, 0, 0, 10, 0, 0, 10}, {10, 10, 0, 0, 10, 0, 0, 10}, {12, 5, 0, 0, 10, 0, 0, 10},
                 {11.9, 5, 0, 0, 10, 0, 0, 10}, {0, 0, 0, 10, 0, 0, 10, 0}, {0, 0, -10, 0, 0, 10, 10, 0},
                 {0, 0, 0, 5, 10, 5, 20, 5}, {0, 0, 5, 0, 5, 10, 5, 20}, {0, 0, 0, 0, 10, 10, 20, 20}}) {
            Circle c;
            const bool in = CircumCircle(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], c);
            got << QStringLiteral("%1:%2,%3,%4").arg(int(in)).arg(c.X).arg(c.Y).arg(c.R * c.R);
        }
        QCOMPARE(got.join(u' '), QStringLiteral("1:5,5,50 0:5,5,50 0:5,5,50 1:5,5,50 0:5,5,50 1:0,0,100 "
                                                "0:0,0,1e+10 0:0,0,1e+10 0:0,0,1e+10"));
    }

    // Triangle for triangle the plain algorithm's mesh, on jittered grids
    // fine and coarse (border slivers cut by the radius limit); a point far
    // off stays out; a full triangle table is an error.
    void triangulation() {
        for (auto [cols, rows, spacing] : std::initializer_list<std::array<int, 3>>{
                 {10, 10, 200}, {17, 25, 240}, {12, 8, 600}, {20, 20, 60}}) {
            const auto pts = jitteredGrid(cols, rows, spacing);
            const auto fast = ContourTriangulate(pts), ref = referenceTriangulate(pts);
            QVERIFY(fast.size() == ref.size() && fast.size() > pts.size());
            for (size_t i = 0; i < ref.size(); ++i)
                QVERIFY(fast[i].P1 == ref[i].P1 && fast[i].P2 == ref[i].P2 && fast[i].P3 == ref[i].P3);
        }
        const auto tris = ContourTriangulate({{0, 0, 0}, {0, 100, 0}, {103, 2, 0}, {101, 104, 0}, {5000, 5000, 0}});
        QVERIFY(tris.size() == 2 && tris[0].P1 == 1 && tris[0].P2 == 2 && tris[0].P3 == 0 && tris[1].P3 == 3);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, ContourTriangulate(jitteredGrid(6, 6, 100), {1000, 5}));
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
        QVERIFY(pts.size() == 17 * 25 && draws == 2 * 17 * 25);
        QCOMPARE((std::array{pts[0].X, pts[0].Y, pts[0].Z, pts[1].Z}), (std::array{40.0, 12.5, 2.0, 4.0}));
        std::mt19937 gen(3);
        const auto dpts = sampleGrid(deg, {0.01, 0.01, -100, -99.6, 40, 40.4, -100, 40.31, 0.31, 0.31, 9300, 9300},
                                     [&] { return gen() / 0x1p32; });
        QVERIFY(dpts.size() == 450 && dpts[0].X > 301 && dpts[0].X < 338 && !ContourTriangulate(dpts).empty());
    }

    // Intervals by range and typed; the levels from the largest multiple
    // not above the minimum, 0 for a negative one (first x count); a level
    // crossing two sides of a triangle, or through a lone corner.
    void levels() {
        QList<double> got;
        for (double range : {0.0, 100.0, 100.5, 250.0, 251.0, 500.0, 501.0}) got << automaticInterval(range);
        for (const char* typed : {"", "1", "0.5", "abc", "2.5", "  30 ft", "-20"}) got << typedInterval(25, typed);
        QCOMPARE(got, (QList<double>{10, 10, 25, 25, 50, 50, 100, 25, 25, 25, 25, 2.5, 30, 25}));
        QStringList plans;
        for (auto [lo, hi, step] : std::initializer_list<std::array<double, 3>>{
                 {37, 100, 10}, {55, 55, 10}, {40, 100, 10}, {-20, 0, 10}, {0, 25, 10}, {1, 11, 2.5}, {1e20, 1e20, 10}})
            plans << QString::number(planLevels({lo, hi}, step).first) + 'x' +
                         QString::number(planLevels({lo, hi}, step).count);
        QCOMPARE(plans.join(u' '), QStringLiteral("30x7 50x1 40x7 0x3 0x3 0x5 1e+20x1"));
        const std::vector<TriPoint> pts{{0, 0, 0}, {100, 0, 10}, {0, 100, 20}};
        const auto s = cutTriangles(pts, {{0, 1, 2}}, 5), corner = cutTriangles({{0, 0, 5}, {10, 0, 9}, {0, 10, 9}}, {{0, 1, 2}}, 5);
        QVERIFY(s.size() == 1 && s[0].X1 == 50 && s[0].Y1 == 0 && s[0].X2 == 0 && s[0].Y2 == 25);
        QVERIFY(corner.size() == 1 && corner[0].X1 == 0 && corner[0].X2 == 0 && corner[0].Y1 == 0 && corner[0].Y2 == 0);
        QVERIFY(cutTriangles(pts, {{0, 1, 2}}, 10).empty()); // through corner B: three crossings
    }

    // Segments (x1 y1 x2 y2 ...) whose ends meet within 1 in X and Y join,
    // appended or prepended either way round, the rest scanned again, into
    // lines ("|" between them); a polyline longer than its table is an error.
    void chaining() {
        QStringList got;
        for (const QList<double>& segs : std::initializer_list<QList<double>>{
                 {0, 0, 10, 0, 10.5, 0.5, 20, 0}, {0, 0, 10, 0, 20, 0, 10, 0}, {10, 0, 20, 0, 0, 0, 10, 0},
                 {10, 0, 20, 0, 10, 0, 0, 0}, {20, 0, 30, 0, 0, 0, 10, 0, 10, 0, 20, 0},
                 {0, 0, 10, 0, 10, 10, 0, 10, 10, 0, 10, 10, 0, 10, 0, 0}, {0, 0, 10, 0, 50, 50, 60, 50, 10, 0, 20, 0},
                 {0, 0, 10, 0, 11, 0, 20, 0}}) {
            std::vector<Segment> s;
            for (int i = 0; i + 3 < segs.size(); i += 4) s.push_back({segs[i], segs[i + 1], segs[i + 2], segs[i + 3]});
            QStringList lines;
            for (const auto& poly : chainSegments(s)) lines << describe(poly);
            got << lines.join(u'|');
            if (lines.size() == 1) QVERIFY_THROWS_EXCEPTION(legacy::Error, chainSegments(s, {1001, 2}));
        }
        QCOMPARE(got.join(QStringLiteral(", ")),
                 QStringLiteral("0,0 10,0 20,0, 0,0 10,0 20,0, 0,0 10,0 20,0, 0,0 10,0 20,0, 0,0 10,0 20,0 30,0, "
                                "0,10 0,0 10,0 10,10 0,10, 0,0 10,0 20,0|50,50 60,50, 0,0 10,0|11,0 20,0"));
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

    // A flat area shades every inner cell 125 and leaves the outer ring,
    // line by line from the light; a low one faces away (dark blue) but from
    // the top.  A slope of 1 a row shades by the contrast toward the light;
    // contrast 6 divides by zero.
    void shading() {
        const TopoGrid flat = heights(10, 8, 100), low = heights(5, 5, 30), slope = heights(12, 12, 100, 1);
        QStringList got;
        for (int dir = 1; dir <= 4; ++dir) {
            int lines = 0;
            const ReliefResult res = shadeRelief(flat, {dir, 3, 1500, 1200}, [&] { ++lines; });
            int inner = 0;
            for (int c = 2; c <= 9; ++c)
                for (int r = 2; r <= 7; ++r) inner += shade(res, flat, 1500, 1200, c, r) == 125;
            got << QStringLiteral("%1 %2 %3 %4 %5").arg(lines).arg(res.dots.size()).arg(inner).arg(res.penWidth)
                       .arg(shade(shadeRelief(low, {dir, 3, 500, 500}), low, 500, 500, 3, 3));
        }
        QCOMPARE(got.join(QStringLiteral(", ")), QStringLiteral("8 48 48 30 125, 8 48 48 30 -80, 6 48 48 30 -80, "
                                                                "6 48 48 30 -80"));
        QList<int> byContrast;
        for (auto [dir, contrast] : std::initializer_list<std::pair<int, double>>{{1, 1}, {1, 3}, {1, 4}, {1, 5}, {2, 5}, {3, 5}})
            byContrast << shade(shadeRelief(slope, {dir, contrast, 1200, 1200}), slope, 1200, 1200, 6, 6);
        QCOMPARE(byContrast, (QList<int>{145, 158, 175, 225, 25, 125}));
        QCOMPARE(shadeRelief(slope, {1, 6, 600, 600}).error, QStringLiteral("Division by zero"));
    }

    // A ridge 150 above flat ground, light from the left: the shadow's depth
    // darkens the ground, rounded halves to even (125 - 24.5, 125 - 23.5,
    // 125 - 0.5), until the shadow line meets the ground.
    void castShadow() {
        TopoGrid g = heights(400, 5, 60);
        for (int r = 1; r <= 5; ++r) g.at(10, r) = 210;
        const ReliefResult res = shadeRelief(g, {Left, 3, 4000, 50});
        QList<int> got;
        for (int steps : {10, 200, 250, 251, 253, 299, 300, -3}) got << shade(res, g, 4000, 50, 10 + steps, 3);
        QCOMPARE(got, (QList<int>{25, 75, 100, 100, 102, 124, 125, 125}));
    }

    // Heights sampled at the cell centres (the red byte); dots round and as
    // many pixels across as the pen, odd ones centred on the pixel of their
    // position, even ones on the nearest corner, later ones over earlier ones.
    void sampleAndPaint() {
        QImage img(20, 10, QImage::Format_RGB32);
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 10; ++y) img.setPixel(x, y, qRgb(x * 10, 7, y));
        const auto px = QTransform::fromScale(1 / 15.0, 1 / 15.0);
        const TopoGrid g = sampleTopo(img, 4, 2, 300, 150, px);
        QCOMPARE((QList<int>{g.at(1, 1), g.at(4, 2)}), (QList<int>{20, 170}));
        QStringList dots;
        for (int pen = 1; pen <= 5; ++pen) {
            QImage pic(100, 100, QImage::Format_RGB32);
            pic.fill(Qt::white);
            paintRelief(pic, ReliefResult{pen, {{756, 753, 10, 20, 30}}, {}}, px); // pixel 50.4, 50.2
            int count = 0;
            QRect extent;
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 100; ++x)
                    if (pic.pixel(x, y) == qRgb(10, 20, 30)) ++count, extent |= QRect(x, y, 1, 1);
            dots << QStringLiteral("%1@%2,%3,%4x%5").arg(count).arg(extent.x()).arg(extent.y()).arg(extent.width()).arg(extent.height());
            paintRelief(pic, ReliefResult{pen, {{756, 753, 1, 1, 1}, {771, 753, 2, 2, 2}, {0, 0, 3, 3, 3}}, {}}, px);
            QVERIFY(pic.pixel(51, 50) == qRgb(2, 2, 2) && pic.pixel(0, 0) == qRgb(3, 3, 3));
        }
        QCOMPARE(dots.join(u' '), QStringLiteral("1@50,50,1x1 4@49,49,2x2 9@49,49,3x3 12@48,48,4x4 21@48,48,5x5"));
    }
};

VEX_TEST(ContourLinesTest);
#include "ContourLinesTest.moc"
