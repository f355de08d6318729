// Margin, scale, fit and centring rules of the print window, the preview
// geometry, the window size rule and the map capture area, as tables.
#include "common/TestRegistry.h"
#include "print/PageLayout.h"

#include <QTest>

using namespace pagelayout;

namespace {

// Letter paper, portrait, a quarter inch unprintable on every side.
PageValues letter() { return {12240, 15840, 360, 360, 11520, 15120}; }

} // namespace

class PageLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void margins_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("scaling");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty gets the minimum") << "" << false << "0.25";
        QTest::newRow("below minimum") << "0.1" << false << "0.25";
        QTest::newRow("junk reads as 0") << "abc" << false << "0.25";
        QTest::newRow("inside stays as typed") << "1.5" << false << "1.5";
        QTest::newRow("setup bound: paper less minimum") << "9" << false << "8.25";
        QTest::newRow("scale bound: paper less one inch") << "9" << true << "7.50";
        QTest::newRow("scale: empty") << "" << true << "0.25";
        QTest::newRow("scale: between the two bounds") << "8" << true << "7.50";
    }
    void margins() {
        QFETCH(QString, box);
        QFETCH(bool, scaling);
        const PageMetrics m = metricsFrom(letter());
        const QString got = scaling ? scaleMargin(box, m.MinLeftMargin, m.PageWidthIn)
                                    : setupMargin(box, m.MinLeftMargin, m.PageWidthIn);
        QTEST(got, "expected");
    }

    void scale_data() {
        QTest::addColumn<double>("picW");
        QTest::addColumn<double>("picH");
        QTest::addColumn<bool>("fit");
        QTest::addColumn<bool>("center");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<long>("eLeft");
        QTest::addColumn<long>("eTop");
        QTest::addColumn<long>("eWidth");
        QTest::addColumn<long>("eHeight");
        QTest::addColumn<QString>("eLeftBox");
        QTest::addColumn<QString>("eTopBox");
        QTest::addColumn<QString>("eScale");
        QTest::addColumn<int>("enabled"); // bits: 1 left, 2 top, 4 scale
        QTest::newRow("fit, wide picture, top margin")
            << 2000.0 << 1000.0 << true << false << "100" << "" << "1" << 0L << 1080L << 11520L << 5760L << "0.25"
            << "1.00" << "100" << 2;
        QTest::newRow("fit, wide picture, centred")
            << 2000.0 << 1000.0 << true << true << "100" << "3" << "1" << 0L << 4680L << 11520L << 5760L << "0.25"
            << "3.50" << "100" << 0;
        QTest::newRow("fit, tall picture, left margin")
            << 1000.0 << 3000.0 << true << false << "100" << "2" << "5" << 2520L << 0L << 5040L << 15120L << "2.00"
            << "0.25" << "100" << 1;
        QTest::newRow("fit ignores the bound of the free margin")
            << 2000.0 << 1000.0 << true << false << "100" << "" << "7" << 0L << 9720L << 11520L << 5760L << "0.25"
            << "7.00" << "100" << 2;
        QTest::newRow("scale 50 centred")
            << 2000.0 << 1000.0 << false << true << "50" << "" << "" << 2880L << 6120L << 5760L << 2880L << "2.25"
            << "4.50" << "50" << 4;
        QTest::newRow("scale 150 is capped")
            << 2000.0 << 1000.0 << false << false << "150" << "" << "1" << 0L << 1080L << 11520L << 5760L << "0.25"
            << "1.00" << "100" << 7;
        QTest::newRow("margin pulled back to the printable edge")
            << 2000.0 << 1000.0 << false << false << "50" << "7" << "" << 5760L << 0L << 5760L << 2880L << "4.25"
            << "0.25" << "50" << 7;
        QTest::newRow("typed scale below 10 stays")
            << 2000.0 << 1000.0 << false << false << "5" << "" << "" << 0L << 0L << 576L << 288L << "0.25" << "0.25"
            << "5" << 7;
        QTest::newRow("tall picture at 50 percent")
            << 1000.0 << 3000.0 << false << false << "50" << "" << "" << 0L << 0L << 2520L << 7560L << "0.25"
            << "0.25" << "50" << 7;
        QTest::newRow("half twips round to even")
            << 11520.0 << 5761.0 << true << true << "100" << "" << "" << 0L << 4680L << 11520L << 5761L << "0.25"
            << "3.50" << "100" << 0;
        QTest::newRow("half twips round to even, down")
            << 11520.0 << 5763.0 << true << true << "100" << "" << "" << 0L << 4678L << 11520L << 5763L << "0.25"
            << "3.50" << "100" << 0;
    }
    void scale() {
        QFETCH(double, picW);
        QFETCH(double, picH);
        QFETCH(bool, fit);
        QFETCH(bool, center);
        QFETCH(QString, scale);
        QFETCH(QString, left);
        QFETCH(QString, top);
        ScaleInput in;
        in.left = left;
        in.top = top;
        in.scale = scale;
        in.fit = fit;
        in.center = center;
        in.pictureWidth = picW;
        in.pictureHeight = picH;
        in.page = metricsFrom(letter());
        const ScaleResult r = printScale(in);
        QTEST(r.rect.PrintLeft, "eLeft");
        QTEST(r.rect.PrintTop, "eTop");
        QTEST(r.rect.PrintWidth, "eWidth");
        QTEST(r.rect.PrintHeight, "eHeight");
        QTEST(r.left, "eLeftBox");
        QTEST(r.top, "eTopBox");
        QTEST(r.scale, "eScale");
        QVERIFY(r.leftEnabled && r.topEnabled && r.scaleEnabled);
        QTEST(int(*r.leftEnabled) | int(*r.topEnabled) << 1 | int(*r.scaleEnabled) << 2, "enabled");
    }

    void failingStepsKeepEarlierValues() {
        // An empty picture: its height cannot be scaled (0/0), so the height
        // keeps what it was; the other steps still run.
        ScaleInput in;
        in.scale = QStringLiteral("100");
        in.page = metricsFrom(letter());
        in.previous = {1, 2, 3, 4};
        ScaleResult r = printScale(in);
        QCOMPARE(r.rect.PrintWidth, 11520L);
        QCOMPARE(r.rect.PrintHeight, 4L);
        QCOMPARE(r.rect.PrintLeft, 0L);
        QCOMPARE(r.left, QStringLiteral("0.25"));

        // No page at all (no printer answered): nothing throws.
        in = ScaleInput{};
        in.pictureWidth = 100;
        in.pictureHeight = 50;
        in.previous = {1, 2, 3, 4};
        r = printScale(in);
        QCOMPARE(r.scale, QString()); // the box keeps its (empty) text
        QVERIFY(!r.widthLimited);
    }

    void previewPage_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<double>("wIn");
        QTest::addColumn<double>("hIn");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        // In a 2475-twip frame the long side is 2275; the short one 2275 x 8.5 / 11.
        QTest::newRow("portrait letter") << 1 << 8.5 << 11.0 << 358.5227272727273 << 80.0 << 1757.9545454545455 << 2275.0;
        QTest::newRow("landscape letter") << 2 << 11.0 << 8.5 << 80.0 << 358.5227272727273 << 2275.0 << 1757.9545454545455;
        QTest::newRow("other codes are landscape") << 0 << 10.0 << 10.0 << 80.0 << 100.0 << 2275.0 << 2275.0;
    }
    void previewPage() {
        QFETCH(int, orientation);
        QFETCH(double, wIn);
        QFETCH(double, hIn);
        const Rect r = pagelayout::previewPage(orientation, 2475, 2475, wIn, hIn);
        QTEST(r.left, "left");
        QTEST(r.top, "top");
        QTEST(r.width, "width");
        QTEST(r.height, "height");
    }

    void previewPicture() {
        // A preview a tenth of the paper's size.
        const Rect r = pagelayout::previewPicture(0.25f, 1.0f, 1224, 1584, letter(), {0, 1080, 11520, 5760});
        QCOMPARE(r.left, 36.0);
        QCOMPARE(r.top, 144.0);
        QCOMPARE(r.width, 1152.0);
        QCOMPARE(r.height, 576.0);
        const Rect none = pagelayout::previewPicture(1, 1, 100, 100, PageValues{}, {0, 0, 10, 10});
        QCOMPARE(none.width, 0.0);
    }

    void capture_data() {
        QTest::addColumn<double>("lw");
        QTest::addColumn<double>("lh");
        QTest::addColumn<double>("ew");
        QTest::addColumn<double>("eh");
        QTest::addColumn<double>("ex");
        QTest::addColumn<double>("ey");
        // Panel 9000 x 7000; layer at 500, 300.
        QTest::newRow("layer fits") << 6000.0 << 4000.0 << 6000.0 << 4000.0 << 500.0 << 300.0;
        QTest::newRow("exactly the panel inside") << 8820.0 << 6820.0 << 8820.0 << 6820.0 << 500.0 << 300.0;
        QTest::newRow("layer larger") << 12000.0 << 9000.0 << 8820.0 << 6820.0 << 0.0 << 0.0;
        QTest::newRow("only wider") << 12000.0 << 4000.0 << 8820.0 << 4000.0 << 0.0 << 300.0;
    }
    void capture() {
        QFETCH(double, lw);
        QFETCH(double, lh);
        const Capture c = captureArea(9000, 7000, 500, 300, lw, lh);
        QTEST(c.width, "ew");
        QTEST(c.height, "eh");
        QTEST(c.x, "ex");
        QTEST(c.y, "ey");
    }

    void fastPrint_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("preferences 1") << "1" << true;
        QTest::newRow("preferences 0") << "0" << false;
        QTest::newRow("junk keeps default") << "maybe" << true;
    }
    void fastPrint() {
        QFETCH(QString, stored);
        QTEST(fastPrintValue(stored, true), "expected");
    }
};

VEX_TEST(PageLayoutTest);
#include "PageLayoutTest.moc"
