// Margin, scale, fit and centring rules of the print window, the preview
// geometry and the map capture area, as tables of hand-computed values.
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "print/PageLayout.h"

#include <QRectF>
#include <QTest>

using namespace pagelayout;

namespace {
// Letter paper, portrait, a quarter inch unprintable on every side:
// 8.5 x 11 inches, printable 8 x 10.5 (11520 x 15120 twips).  The scale
// rules' table is in tests/data/print/scale.txt.
PageValues letter() { return {12240, 15840, 360, 360, 11520, 15120}; }
QRectF rectF(const Rect& r) { return {r.left, r.top, r.width, r.height}; }
} // namespace

class PageLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void margins() {
        // Normalized when the page is read (at most the paper less the
        // minimum) and when re-scaled (at most the paper less one inch).
        const PageMetrics m = metricsFrom(letter());
        QStringList setup, scale;
        for (const char* box : {"", "0.1", "abc", "1.5", "8", "9"}) {
            setup << setupMargin(box, m.MinLeftMargin, m.PageWidthIn);
            scale << scaleMargin(box, m.MinLeftMargin, m.PageWidthIn);
        }
        QCOMPARE(setup, (QStringList{"0.25", "0.25", "0.25", "1.5", "8", "8.25"}));
        QCOMPARE(scale, (QStringList{"0.25", "0.25", "0.25", "1.5", "7.50", "7.50"}));
    }

    void scale_data() { testsupport::addFileRows(QStringLiteral("print/scale.txt")); }
    void scale() {
        const auto f = testsupport::rowFields();
        const QString opt = f.str(2);
        const ScaleResult r =
            printScale({f.str(4), f.str(5), f.str(3), opt.contains("fit"), opt.contains("centre"), f.num(0), f.num(1),
                        opt.contains("nopage") ? PageMetrics{} : metricsFrom(letter()), {1, 2, 3, 4}});
        const PrintRect& p = r.rect;
        const auto on = [](const std::optional<bool>& b) { return b ? QString::number(*b) : QStringLiteral("?"); };
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(p.PrintLeft).arg(p.PrintTop).arg(p.PrintWidth).arg(p.PrintHeight),
                 f.str(6));
        QCOMPARE(QStringList({r.left, r.top, r.scale}).join(' ').trimmed(), f.str(7));
        QCOMPARE(on(r.leftEnabled) + on(r.topEnabled) + on(r.scaleEnabled), f.str(8));
    }

    void previewPage() {
        // In a 2475-twip frame the long side is 2275, the short one 2275 x
        // 8.5 / 11, shifted 20 up (portrait) or left; other codes are landscape.
        const QList<QRectF> got{rectF(pagelayout::previewPage(1, 2475, 2475, 8.5, 11)),
                                rectF(pagelayout::previewPage(2, 2475, 2475, 11, 8.5)),
                                rectF(pagelayout::previewPage(0, 2475, 2475, 10, 10))};
        QCOMPARE(got, (QList<QRectF>{{358.5227272727273, 80, 1757.9545454545455, 2275},
                                     {80, 358.5227272727273, 2275, 1757.9545454545455}, {80, 100, 2275, 2275}}));
    }

    void previewPicture() {
        // A preview a tenth of the paper's size; no paper, no picture.
        QCOMPARE(rectF(pagelayout::previewPicture(0.25f, 1.0f, 1224, 1584, letter(), {0, 1080, 11520, 5760})),
                 QRectF(36, 144, 1152, 576));
        QCOMPARE(rectF(pagelayout::previewPicture(1, 1, 100, 100, PageValues{}, {0, 0, 10, 10})), QRectF());
    }

    void capture() {
        // Panel 9000 x 7000, 8820 x 6820 inside; the layer at 500, 300.
        QList<QRectF> got;
        for (QSizeF layer : {QSizeF(6000, 4000), QSizeF(8820, 6820), QSizeF(12000, 9000), QSizeF(12000, 4000)}) {
            const Capture c = captureArea(9000, 7000, 500, 300, layer.width(), layer.height());
            got << QRectF(c.x, c.y, c.width, c.height);
        }
        QCOMPARE(got, (QList<QRectF>{{500, 300, 6000, 4000}, {500, 300, 8820, 6820}, {0, 0, 8820, 6820},
                                     {0, 300, 8820, 4000}}));
    }

    void fastPrint() {
        // "True"/"False" from the print window, "1"/"0" from the preferences
        // window; anything else is the default.
        QList<bool> got;
        for (const char* stored : {"True", "False", "1", "0", "maybe"}) got << fastPrintValue(stored, true);
        QCOMPARE(got, (QList<bool>{true, false, true, false, true}));
        QCOMPARE(fastPrintValue("maybe", false), false);
    }
};

VEX_TEST(PageLayoutTest);
#include "PageLayoutTest.moc"
