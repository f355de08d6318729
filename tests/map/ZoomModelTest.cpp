// The zoom and scroll arithmetic on its own: page fit, the zoom sizes, the
// 16-bit scroll bar values, scrolling past 16000 and the enabled states.
#include "common/TestRegistry.h"

#include "document/Legacy.h"
#include "map/ZoomModel.h"

#include <QTest>

Q_DECLARE_METATYPE(ZoomCommand)

namespace {

// The map area of the worked example: Frame1 10180 x 8180 twips.
ZoomView exampleArea() {
    ZoomView v;
    v.Frame1Width = 10180;
    v.Frame1Height = 8180;
    v.Frame2 = {90, 90, 10000, 8000};
    return v;
}

ZoomView pageFitted(double imgW, double imgH) {
    ZoomView v = exampleArea();
    pageFit(v, imgW, imgH);
    return v;
}

} // namespace

class ZoomModelTest : public QObject {
    Q_OBJECT
private slots:
    void pageFitLandscape() {
        ZoomView v = exampleArea();
        v.Frame2 = {-2000, 40, 12000, 9000}; // left over from a deep scroll
        v.HScroll1 = {true, 26910, 538, 5382, 17000};
        QVERIFY(pageFit(v, 1000, 500));
        QCOMPARE(v.Frame2.Left, 90.0);
        QCOMPARE(v.Frame2.Top, 90.0);
        QCOMPARE(v.Frame2.Width, 10000.0);
        QCOMPARE(v.Frame2.Height, 8000.0);
        QCOMPARE(v.imPoints.Width, 9880.0);
        QCOMPARE(v.imPoints.Height, 4940.0);
        QCOMPARE(v.imPoints.Left, 60.0);
        QCOMPARE(v.imPoints.Top, 1530.0);
        QCOMPARE(v.picMap.Left, 150.0);
        QCOMPARE(v.picMap.Top, 1620.0);
        QCOMPARE(v.picMap.Width, 9880.0);
        QCOMPARE(v.picMap.Height, 4940.0);
        QCOMPARE(v.PageWidth, 9880.0f);
        QCOMPARE(v.Frame8Caption, QStringLiteral("Zoom = 1 (Page)"));
        QCOMPARE(v.enabled, (ZoomEnabled{false, false, true, true}));
        QVERIFY(!v.HScroll1.Visible);
        QCOMPARE(v.HScroll1.Value, 0);
        QVERIFY(!v.VScroll1.Visible);
    }

    void pageFitShapes_data() {
        QTest::addColumn<double>("imgW");
        QTest::addColumn<double>("imgH");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        // Wide: limited by the frame's width.
        QTest::newRow("wide") << 1000.0 << 500.0 << 9880.0 << 4940.0;
        // Landscape but tall enough to be limited by the height.
        QTest::newRow("landscape, height-bound") << 1000.0 << 900.0 << (1000.0 / 900.0 * 8000 - 120)
                                                 << (1000.0 / 900.0 * 8000 - 120) * 900.0 / 1000.0;
        // Square counts as landscape.
        QTest::newRow("square") << 600.0 << 600.0 << 7880.0 << 7880.0;
        // Portrait, limited by the height.
        QTest::newRow("portrait") << 500.0 << 1000.0 << 3940.0 << 7880.0;
    }
    void pageFitShapes() {
        QFETCH(double, imgW);
        QFETCH(double, imgH);
        QFETCH(double, width);
        QFETCH(double, height);
        ZoomView v = pageFitted(imgW, imgH);
        QVERIFY(qAbs(v.imPoints.Width - width) < 0.01);
        QVERIFY(qAbs(v.imPoints.Height - height) < 0.01);
        // The aspect ratio is kept and the picture is centred in the frame.
        QVERIFY(qAbs(v.imPoints.Width / v.imPoints.Height - imgW / imgH) < 1e-4);
        QVERIFY(qAbs(v.imPoints.Left - (10000 - v.imPoints.Width) / 2) < 0.01);
        QVERIFY(qAbs(v.imPoints.Top - (8000 - v.imPoints.Height) / 2) < 0.01);
    }

    void pageFitPortraitInANarrowFrame() {
        ZoomView v;
        v.Frame1Width = 6180;
        v.Frame1Height = 10180;
        QVERIFY(pageFit(v, 900, 1000));
        // Limited by the width: Height = 1000 / 900 x 6000 - 120.
        QCOMPARE(v.imPoints.Height, double(float(1000.0 / 900.0 * 6000 - 120)));
        QVERIFY(qAbs(v.imPoints.Width - v.imPoints.Height * 0.9) < 0.01);
    }

    void pageFitWithoutImageStopsAfterTheReset() {
        ZoomView v = exampleArea();
        v.imPoints = {5, 6, 700, 800};
        v.Frame8Caption = QStringLiteral("Zoom = 2.00");
        QVERIFY(!pageFit(v, 0, 0));
        QCOMPARE(v.imPoints.Width, 700.0);
        QCOMPARE(v.Frame8Caption, QStringLiteral("Zoom = 2.00"));
        QCOMPARE(v.enabled, (ZoomEnabled{false, false, true, true}));
    }

    void zoomInFromThePage() {
        ZoomView v = pageFitted(1000, 500);
        ZoomSize s;
        QCOMPARE(zoomInSize(v, 1000, 500, 64000, s), ZoomOutcome::Zoom);
        QCOMPARE(s.Width, 12350);
        QCOMPARE(s.Height, 6175);
        applyZoom(v, s);
        QCOMPARE(v.imPoints.Width, 12350.0);
        QCOMPARE(v.imPoints.Height, 6175.0);
        QVERIFY(v.HScroll1.Visible);
        QCOMPARE(v.HScroll1.Max, 2170);
        QCOMPARE(v.HScroll1.SmallChange, 43);
        QCOMPARE(v.HScroll1.LargeChange, 434);
        QCOMPARE(v.HScroll1.Value, 0);
        QCOMPARE(v.HScrollStep, -1);
        QVERIFY(!v.VScroll1.Visible);
        QCOMPARE(v.VScroll1.Value, 0);
        QCOMPARE(v.imPoints.Top, 912.5);
        QCOMPARE(v.Frame2.Top, 90.0);
        QCOMPARE(v.imPoints.Left, 0.0);
        QCOMPARE(v.Frame8Caption, QStringLiteral("Zoom = 1.25"));
    }

    void zoomKeepsTheThumbsRelativePosition() {
        ZoomView v = pageFitted(1000, 500);
        applyZoom(v, {12350, 6175});
        v.HScroll1.Value = 1085; // half way
        v.imPoints.Left = -1085;
        applyZoom(v, {15438, 7719});
        QCOMPARE(v.HScroll1.Max, 15438 - 10180);
        QCOMPARE(v.HScroll1.Value, (15438 - 10180) / 2);
        // Only the thumb moves; the picture keeps its offset until a scroll.
        QCOMPARE(v.imPoints.Left, -1085.0);
        QCOMPARE(v.Frame8Caption, QStringLiteral("Zoom = 1.56"));
    }

    void zoomFullOfALandscapeMap() {
        ZoomView v = pageFitted(1000, 500);
        const ZoomSize s = zoomFullSize(1000, 500, 64000);
        QCOMPARE(s.Width, 64000);
        QCOMPARE(s.Height, 32000);
        applyZoom(v, s);
        QCOMPARE(v.HScrollStep, -2);
        QCOMPARE(v.HScroll1.Max, (64000 - 10180) / 2);
        QCOMPARE(v.HScroll1.SmallChange, legacy::CInt(26910 / 50.0));
        QCOMPARE(v.HScroll1.LargeChange, 5382);
        QCOMPARE(v.VScrollStep, -1);
        QCOMPARE(v.VScroll1.Max, 32000 - 8180);
        QCOMPARE(v.Frame8Caption, QStringLiteral("Zoom = 6.48"));
    }

    void zoomFullOfAPortraitMap() {
        const ZoomSize s = zoomFullSize(500, 1000, 64000);
        QCOMPARE(s.Height, 64000);
        QCOMPARE(s.Width, 32000);
        const ZoomSize odd = zoomFullSize(333, 1000, 64000);
        QCOMPARE(odd.Width, 21312); // 21312.0 exactly
    }

    void zoomInReachingTheMaximumGoesFull() {
        ZoomView v = pageFitted(1000, 500);
        v.imPoints.Width = 51200;
        v.imPoints.Height = 25600;
        ZoomSize s;
        QCOMPARE(zoomInSize(v, 1000, 500, 64000, s), ZoomOutcome::Full);
        v.imPoints.Width = 51199;
        QCOMPARE(zoomInSize(v, 1000, 500, 64000, s), ZoomOutcome::Zoom);
        // A portrait map is judged by its height.
        v.imPoints.Width = 10000;
        v.imPoints.Height = 51200;
        QCOMPARE(zoomInSize(v, 500, 1000, 64000, s), ZoomOutcome::Full);
    }

    void zoomOutReachingThePageGoesToThePage() {
        ZoomView v = pageFitted(1000, 500);
        v.imPoints.Width = 12350;
        v.imPoints.Height = 6175;
        ZoomSize s;
        QCOMPARE(zoomOutSize(v, 1000, 500, 9880, s), ZoomOutcome::Page);
        QCOMPARE(s.Width, 9880);
        v.imPoints.Width = 15438;
        QCOMPARE(zoomOutSize(v, 1000, 500, 9880, s), ZoomOutcome::Zoom);
        QCOMPARE(s.Width, 12350); // 12350.4 rounded
    }

    void smallChange_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("small");
        QTest::addColumn<int>("large");
        // Frame1 is 10180 wide: the width sets Max directly below 32000.
        QTest::newRow("max 10") << 10190.0 << 10 << 1 << 2;
        QTest::newRow("max 50") << 10230.0 << 50 << 1 << 10;
        QTest::newRow("max 51") << 10231.0 << 51 << 1 << 10;
        QTest::newRow("max 75 (half to even)") << 10255.0 << 75 << 2 << 15;
        QTest::newRow("max 99") << 10279.0 << 99 << 2 << 20;
        QTest::newRow("max 125 (half to even)") << 10305.0 << 125 << 2 << 25;
        QTest::newRow("max 3") << 10183.0 << 3 << 1 << 1;
        QTest::newRow("just over 32000") << 32002.0 << 10911 << 218 << 2182;
    }
    void smallChange() {
        QFETCH(double, width);
        ZoomView v = pageFitted(1000, 500);
        applyZoom(v, {legacy::CLng(width), 4000});
        QTEST(v.HScroll1.Max, "max");
        QTEST(v.HScroll1.SmallChange, "small");
        QTEST(v.HScroll1.LargeChange, "large");
    }

    void scrollAround16000_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("value");
        QTest::addColumn<double>("picLeft");
        QTest::addColumn<double>("frameLeft");
        QTest::addColumn<double>("frameWidth");
        QTest::newRow("step -2 at 17000") << -2 << 17000 << -32000.0 << -2000.0 << 10180.0 + 1910;
        QTest::newRow("step -2 at 16000") << -2 << 16000 << -32000.0 << 0.0 << 10180.0 - 90;
        QTest::newRow("step -2 at 15999") << -2 << 15999 << -31998.0 << 90.0 << 10000.0;
        QTest::newRow("step -2 at 0") << -2 << 0 << 0.0 << 90.0 << 10000.0;
        QTest::newRow("step -1 at 17000") << -1 << 17000 << -17000.0 << 90.0 << 10000.0;
        QTest::newRow("step -2 at the end") << -2 << 26910 << -32000.0 << -21820.0 << 10180.0 + 21820 - 90;
    }
    void scrollAround16000() {
        QFETCH(int, step);
        QFETCH(int, value);
        ZoomView v = pageFitted(1000, 500);
        applyZoom(v, zoomFullSize(1000, 500, 64000));
        v.HScrollStep = step;
        scrollTo(v, ScrollAxis::Horizontal, value);
        QTEST(v.imPoints.Left, "picLeft");
        QTEST(v.Frame2.Left, "frameLeft");
        QTEST(v.Frame2.Width, "frameWidth");
        QCOMPARE(v.ScrollValue, value);
        QCOMPARE(v.HScroll1.Value, value);
        // The picture's left edge lies where step x value puts it.
        const double edge = step * double(value) + (step == -2 && value >= 16000 ? 0 : 90);
        QCOMPARE(v.Frame2.Left + v.imPoints.Left, edge);
    }

    void verticalScrollMovesTopAndHeight() {
        ZoomView v = pageFitted(500, 1000);
        applyZoom(v, zoomFullSize(500, 1000, 64000));
        QCOMPARE(v.VScrollStep, -2);
        scrollTo(v, ScrollAxis::Vertical, 20000);
        QCOMPARE(v.imPoints.Top, -32000.0);
        QCOMPARE(v.Frame2.Top, -8000.0);
        QCOMPARE(v.Frame2.Height, 8180.0 + 8000 - 90);
        QCOMPARE(v.Frame2.Left, 90.0); // the other axis is untouched
    }

    void enabledTable_data() {
        QTest::addColumn<ZoomCommand>("command");
        QTest::addColumn<bool>("page");
        QTest::addColumn<bool>("out");
        QTest::addColumn<bool>("in");
        QTest::addColumn<bool>("full");
        // Starting from "all on except Zoom In" to see what each leaves alone.
        QTest::newRow("page fit") << ZoomCommand::Page << false << false << true << true;
        QTest::newRow("full") << ZoomCommand::Full << true << true << false << false;
        QTest::newRow("in") << ZoomCommand::In << true << true << false << true;
        QTest::newRow("out") << ZoomCommand::Out << false << false << true << true;
    }
    void enabledTable() {
        QFETCH(ZoomCommand, command);
        ZoomEnabled e{command == ZoomCommand::Out ? false : true, command == ZoomCommand::Out ? false : true,
                      false, true};
        applyZoomEnabled(e, command);
        QTEST(e.Page, "page");
        QTEST(e.Out, "out");
        QTEST(e.In, "in");
        QTEST(e.Full, "full");
    }

    void zoomCaptionNeedsAPageWidth() {
        ZoomView v = exampleArea();
        v.PageWidth = 0;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, applyZoom(v, {12000, 6000}));
    }
};

VEX_TEST(ZoomModelTest);
#include "ZoomModelTest.moc"
