// The zoom and scroll arithmetic on its own: page fit, the zoom sizes, the
// 16-bit scroll bar values, scrolling past 16000 and the enabled states.
// The tables are under tests/data/map.
#include "common/TableRows.h"
#include "common/TestRegistry.h"

#include "map/ZoomModel.h"

namespace {

// Frame1 of frameW x frameH twips, the picture page-fitted after a deep
// scroll.
ZoomView pageFitted(double imgW, double imgH, double frameW = 10180, double frameH = 8180) {
    ZoomView v;
    v.Frame1Width = frameW, v.Frame1Height = frameH;
    v.Frame2 = {-2000, 40, 12000, 9000}, v.HScroll1 = {true, 26910, 538, 5382, 17000};
    pageFit(v, imgW, imgH);
    return v;
}

} // namespace

class ZoomModelTest : public QObject {
    Q_OBJECT
private slots:
    void pageFit_data() { testsupport::addFileRows(QStringLiteral("map/zoom-fit.txt")); }
    void pageFit() {
        const auto r = testsupport::rowFields();
        const ZoomView v = pageFitted(r.num(2), r.num(3), r.num(0), r.num(1));
        const TwipRect& p = v.imPoints;
        QVERIFY(qAbs(p.Left - r.num(4)) < 1e-3 && qAbs(p.Top - r.num(5)) < 1e-3);
        QVERIFY(qAbs(p.Width - r.num(6)) < 1e-3 && qAbs(p.Height - r.num(7)) < 1e-3);
        QVERIFY(v.Frame2.Left == 90 && v.Frame2.Top == 90 && v.Frame2.Width == r.num(0) - 180);
        QVERIFY(v.picMap.Left == p.Left + 90 && v.picMap.Top == p.Top + 90 && v.picMap.Width == p.Width);
        QVERIFY(v.PageWidth == float(r.num(6)) && v.Frame8Caption == QLatin1String("Zoom = 1 (Page)"));
        QVERIFY(v.enabled == (ZoomEnabled{false, false, true, true}) && !v.HScroll1.Visible && v.HScroll1.Value == 0);
        ZoomView none = v; // without an image only the reset is done
        QVERIFY(!v.VScroll1.Visible && !::pageFit(none, 0, 0) && none.imPoints.Width == p.Width);
    }

    void zoomSizes_data() { testsupport::addFileRows(QStringLiteral("map/zoom-steps.txt")); }
    void zoomSizes() {
        const auto r = testsupport::rowFields();
        const double imgW = r.num(1), imgH = r.num(2);
        ZoomView v;
        v.imPoints = {0, 0, r.num(3), r.num(4)};
        ZoomSize s = zoomFullSize(imgW, imgH, 64000);
        ZoomOutcome o = ZoomOutcome::Full;
        if (r.str(0) == QLatin1String("in")) o = zoomInSize(v, imgW, imgH, 64000, s);
        if (r.str(0) == QLatin1String("out")) o = zoomOutSize(v, imgW, imgH, 9880, s);
        QCOMPARE(int(o), QStringList({"zoom", "full", "page"}).indexOf(r.str(5)));
        QVERIFY(s.Width == r.whole(6) && s.Height == r.whole(7));
    }

    void applyZoom_data() { testsupport::addFileRows(QStringLiteral("map/zoom-bars.txt")); }
    void applyZoom() {
        const auto r = testsupport::rowFields();
        ZoomView v = pageFitted(1000, 500);
        v.HScroll1.Value = 13455;
        ::applyZoom(v, {r.whole(0), r.whole(1)});
        QVERIFY(v.imPoints.Width == r.num(0) && v.HScroll1.Visible && v.HScroll1.Value == r.whole(10));
        QCOMPARE((QList<int>{v.HScroll1.Max, v.HScroll1.SmallChange, v.HScroll1.LargeChange, v.HScrollStep,
                             v.VScroll1.Visible ? v.VScroll1.Max : 0, v.VScroll1.Visible ? v.VScrollStep : 0}),
                 (QList<int>{r.whole(2), r.whole(3), r.whole(4), r.whole(5), r.whole(6), r.whole(7)}));
        QVERIFY(v.imPoints.Top == r.num(8) && v.imPoints.Left == 0 && v.Frame8Caption == r.str(9));
    }

    void scroll_data() { testsupport::addFileRows(QStringLiteral("map/zoom-scroll.txt")); }
    void scroll() {
        const auto r = testsupport::rowFields();
        const bool vertical = r.str(0) == QLatin1String("v");
        ZoomView v = pageFitted(1000, 500);
        ::applyZoom(v, {64000, 32000});
        (vertical ? v.VScrollStep : v.HScrollStep) = r.whole(1);
        scrollTo(v, vertical ? ScrollAxis::Vertical : ScrollAxis::Horizontal, r.whole(2));
        QCOMPARE((vertical ? QList<double>{v.imPoints.Top, v.Frame2.Top, v.Frame2.Height}
                           : QList<double>{v.imPoints.Left, v.Frame2.Left, v.Frame2.Width}),
                 (QList<double>{r.num(3), r.num(4), r.num(5)}));
        QCOMPARE(vertical ? v.Frame2.Left : v.Frame2.Top, 90.0); // the other axis is untouched
        QVERIFY(v.ScrollValue == r.whole(2) && (vertical ? v.VScroll1 : v.HScroll1).Value == r.whole(2));
    }
};

VEX_TEST(ZoomModelTest);
#include "ZoomModelTest.moc"
