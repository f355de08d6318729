#include "common/TestRegistry.h"

#include "contour/Relief.h"
#include "document/Legacy.h"

#include <QTest>
#include <map>

using namespace relief;

namespace {

TopoGrid filled(int cols, int rows, int value) {
    TopoGrid g(cols, rows);
    for (int c = 1; c <= cols; ++c)
        for (int r = 1; r <= rows; ++r) g.at(c, r) = value;
    return g;
}

// Shade of each painted cell, keyed by (column, row) recovered from the position.
std::map<std::pair<int, int>, int> shades(const ReliefResult& res, const TopoGrid& g, const ReliefOptions& o) {
    std::map<std::pair<int, int>, int> out;
    const double c5 = o.width / (5.0 * g.cols());
    for (const auto& d : res.dots) {
        const int c = qRound(d.x * g.cols() / o.width + 0.5);
        const int r = qRound((d.y - 5 * c5) * g.rows() / o.height + 0.5);
        out[{c, r}] = d.b == 80 && d.r == 0 ? -80 : d.r;
    }
    return out;
}

ReliefOptions opts(int direction, double contrast, double w, double h) {
    ReliefOptions o;
    o.direction = direction;
    o.contrast = contrast;
    o.width = w;
    o.height = h;
    return o;
}

}  // namespace

class ReliefTest : public QObject {
    Q_OBJECT
private slots:
    void rowsAndDirection() {
        QCOMPARE(topoRows(100, 3000, 1000), 33);
        QCOMPARE(topoRows(100, 1000, 1000), 100);
        QCOMPARE(topoRows(100, 800, 10), 1);   // 1.25
        QCOMPARE(topoRows(100, 400, 10), 2);   // 2.5: halves to even
        int want = 1;
        for (const char* text : {"Top", "Bottom", "Left", "Right", "top", ""})
            QCOMPARE(directionFromText(text), std::min(want++, 4));
    }

    void flatAreaAndBorderRing_data() {
        QTest::addColumn<int>("direction");
        for (int d = 1; d <= 4; ++d) QTest::addRow("direction %d", d) << d;
    }
    void flatAreaAndBorderRing() {
        QFETCH(int, direction);
        const TopoGrid g = filled(10, 8, 100);
        const auto o = opts(direction, 3, 1500, 1200);
        int lines = 0;
        const auto res = shadeRelief(g, o, [&] { ++lines; });
        QVERIFY(res.error.isEmpty());
        QCOMPARE(res.penWidth, 30);
        QCOMPARE(lines, direction <= 2 ? 8 : 6);
        const auto s = shades(res, g, o);
        QCOMPARE(int(s.size()), 8 * 6);
        for (const auto& [cell, shade] : s) {
            QVERIFY(cell.first >= 2 && cell.first <= 9);
            QVERIFY(cell.second >= 2 && cell.second <= 7);
            QCOMPARE(shade, 125);
        }
        // The dot sits one cell width below the sampled point.
        if (direction != Bottom) QCOMPARE(res.dots.front().y, 1.5 * 1200 / 8 + 150);
    }

    void darkCells_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("shade");
        QTest::newRow("top shades normally") << 1 << 125;
        QTest::newRow("bottom") << 2 << -80;
        QTest::newRow("left") << 3 << -80;
        QTest::newRow("right") << 4 << -80;
    }
    void darkCells() {
        QFETCH(int, direction);
        const TopoGrid g = filled(5, 5, 30);
        const auto o = opts(direction, 3, 500, 500);
        const auto s = shades(shadeRelief(g, o), g, o);
        QCOMPARE(int(s.size()), 9);
        QTEST(s.at({3, 3}), "shade");
        // With light from the top a mean of 0 or less leaves the cell unpainted.
        const TopoGrid outside = filled(5, 5, -1);
        QCOMPARE(int(shadeRelief(outside, opts(1, 3, 500, 500)).dots.size()), 0);
    }

    void contrast_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<double>("contrast");
        QTest::addColumn<int>("shade");
        // A surface rising by 1 per cell away from the light: slope 1.
        QTest::newRow("contrast 1") << 1 << 1.0 << 145;
        QTest::newRow("contrast 3") << 1 << 3.0 << 158;
        QTest::newRow("contrast 4") << 1 << 4.0 << 175;
        QTest::newRow("contrast 5") << 1 << 5.0 << 225;
        QTest::newRow("bottom, facing away") << 2 << 5.0 << 25;
        QTest::newRow("left, flat across") << 3 << 5.0 << 125;
    }
    void contrast() {
        QFETCH(int, direction);
        QFETCH(double, contrast);
        TopoGrid g(12, 12);
        for (int c = 1; c <= 12; ++c)
            for (int r = 1; r <= 12; ++r) g.at(c, r) = 100 + r;
        const auto o = opts(direction, contrast, 1200, 1200);
        const auto s = shades(shadeRelief(g, o), g, o);
        QTEST(s.at({6, 6}), "shade");
    }

    void castShadow() {
        // A ridge 150 above flat ground, light from the left.
        TopoGrid g = filled(400, 5, 60);
        for (int r = 1; r <= 5; ++r) g.at(10, r) = 210;
        const auto o = opts(Left, 3, 4000, 50);
        const auto s = shades(shadeRelief(g, o), g, o);
        auto at = [&](int steps) { return s.at({10 + steps, 3}); };
        QCOMPARE(at(10), 25);             // deep shadow, clamped
        QCOMPARE(at(200), 125 - 50);      // depth 150 - 100
        QCOMPARE(at(250), 100);           // depth 25
        QCOMPARE(at(251), 100);           // 125 - 24.5 = 100.5 rounds to 100
        QCOMPARE(at(253), 102);           // 125 - 23.5 = 101.5 rounds to 102
        QCOMPARE(at(299), 124);           // 125 - 0.5 = 124.5 rounds to 124
        QCOMPARE(at(300), 125);           // the shadow line meets the ground
        QCOMPARE(at(-3), 125);            // in front of the ridge: lit
    }

    void otherDirectionPaintsNothing() {
        const auto res = shadeRelief(filled(6, 6, 100), opts(7, 3, 600, 600));
        QVERIFY(res.dots.empty());
        QVERIFY(res.error.isEmpty());
    }

    void contrastSixIsAnError() {
        TopoGrid g = filled(6, 6, 100);
        g.at(2, 3) = 120;  // a slope at the first cell shaded from the top
        const auto res = shadeRelief(g, opts(1, 6, 600, 600));
        QCOMPARE(res.error, QStringLiteral("Division by zero"));
        QVERIFY(res.dots.empty());
        // Flat ground divides 0 by 0.
        QCOMPARE(shadeRelief(filled(6, 6, 100), opts(1, 6, 600, 600)).error, QStringLiteral("Overflow"));
    }

    void sampling() {
        QImage img(20, 10, QImage::Format_RGB32);
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 10; ++y) img.setPixel(x, y, qRgb(x * 10, 7, y));
        // Drawing 300 x 150 units at 15 units per pixel; 4 columns, 2 rows.
        const TopoGrid g = sampleTopo(img, 4, 2, 300, 150, QTransform::fromScale(1 / 15.0, 1 / 15.0));
        QCOMPARE(g.at(1, 1), qRed(img.pixel(2, 2)));   // (37.5 -> 38, 37.5 -> 38) / 15
        QCOMPARE(g.at(4, 2), qRed(img.pixel(17, 7)));  // (262.5 -> 262, 112.5 -> 112)
        // A drawing larger than the picture reads outside it: -1.
        const TopoGrid big = sampleTopo(img, 4, 2, 600, 150, QTransform::fromScale(1 / 15.0, 1 / 15.0));
        QCOMPARE(big.at(4, 1), -1);
    }

    // A dot is round and as many pixels across as the pen is wide; an odd
    // one is centred on the pixel of its position, an even one on the
    // nearest pixel corner.
    void painting_data() {
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QRect>("extent");
        QTest::newRow("pen 1") << 1 << 1 << QRect(50, 50, 1, 1);
        QTest::newRow("pen 2") << 2 << 4 << QRect(49, 49, 2, 2);
        QTest::newRow("pen 3") << 3 << 9 << QRect(49, 49, 3, 3);
        QTest::newRow("pen 4: corners off") << 4 << 12 << QRect(48, 48, 4, 4);
        QTest::newRow("pen 5: corners off") << 5 << 21 << QRect(48, 48, 5, 5);
    }
    void painting() {
        QFETCH(int, pen);
        QImage img(100, 100, QImage::Format_RGB32);
        img.fill(Qt::white);
        ReliefResult res;
        res.penWidth = pen;
        // (50.4, 50.2) pixels: inside pixel (50, 50), nearest corner (50, 50).
        res.dots.push_back({756, 753, 10, 20, 30});
        paintRelief(img, res, QTransform::fromScale(1 / 15.0, 1 / 15.0));
        int count = 0;
        QRect extent;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (img.pixel(x, y) == qRgb(10, 20, 30)) {
                    ++count;
                    extent |= QRect(x, y, 1, 1);
                } else {
                    QCOMPARE(img.pixel(x, y), qRgb(255, 255, 255));
                }
        QTEST(count, "pixels");
        QTEST(extent, "extent");
        // A later dot covers an earlier one; dots at the edge are cut off.
        res.dots = {{756, 753, 1, 1, 1}, {771, 753, 2, 2, 2}, {0, 0, 3, 3, 3}};
        paintRelief(img, res, QTransform::fromScale(1 / 15.0, 1 / 15.0));
        QCOMPARE(img.pixel(51, 50), qRgb(2, 2, 2));
        QCOMPARE(img.pixel(0, 0), qRgb(3, 3, 3));
    }
};

VEX_TEST(ReliefTest);
#include "ReliefTest.moc"
