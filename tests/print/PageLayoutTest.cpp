// Margin, scale, fit and centring rules of the print window, the preview
// geometry and the map capture area, as tables of hand-computed values.
#include "common/TestRegistry.h"
#include "common/TestTable.h"
#include "print/PageLayout.h"

#include <QRectF>
#include <QTest>

using namespace pagelayout;
using testsupport::columns;

namespace {
// Letter paper, portrait, a quarter inch unprintable on every side:
// 8.5 x 11 inches, printable 8 x 10.5 (11520 x 15120 twips).
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

    // Input: "fit", "centre", "nopage" (no paper read), then the scale, left
    // and top boxes.
    // Expected: the print rectangle (left top width height, twips from the
    // printable corner), the rewritten boxes (left top scale) and which of
    // them are enabled (1).  The rectangle before is 1 2 3 4: a step that
    // cannot be computed keeps its value.
    void scale_data() {
        columns<QSizeF, QString, QString>("picture", "input", "expected");
        const QSizeF wide(2000, 1000), tall(1000, 3000);
        QTest::newRow("fit, wide, top margin") << wide << "fit;100;;1" << "0 1080 11520 5760 | 0.25 1.00 100 | 010";
        QTest::newRow("fit, wide, centred") << wide << "fit centre;100;3;1" << "0 4680 11520 5760 | 0.25 3.50 100 | 000";
        QTest::newRow("fit, tall, left margin") << tall << "fit;100;2;5" << "2520 0 5040 15120 | 2.00 0.25 100 | 100";
        QTest::newRow("fit, tall, centred") << tall << "fit centre;100;;" << "3240 0 5040 15120 | 2.50 0.25 100 | 000";
        QTest::newRow("fit: free margin unbounded") << wide << "fit;100;;7" << "0 9720 11520 5760 | 0.25 7.00 100 | 010";
        QTest::newRow("scale 50 centred") << wide << "centre;50;;" << "2880 6120 5760 2880 | 2.25 4.50 50 | 001";
        QTest::newRow("scale 150 is capped") << wide << ";150;;1" << "0 1080 11520 5760 | 0.25 1.00 100 | 111";
        // Left 6.5 in: 9000 + 5760 passes 11520, so the picture ends at the
        // right edge; top 8 in: 11160 + 2880 stays inside 15120.
        QTest::newRow("left pulled back to the edge") << wide << ";50;6.5;8"
                                                      << "5760 11160 5760 2880 | 4.25 8.00 50 | 111";
        // 14 in is first bounded to 10 (11 less one inch): 14040 + 2880
        // passes 15120, so the top is 15120 - 2880 = 12240, box 0.25 + 8.5.
        QTest::newRow("top pulled back to the edge") << wide << ";50;;14" << "0 12240 5760 2880 | 0.25 8.75 50 | 111";
        QTest::newRow("typed scale below 10 stays") << wide << ";5;;" << "0 0 576 288 | 0.25 0.25 5 | 111";
        QTest::newRow("tall at 50 percent") << tall << ";50;;" << "0 0 2520 7560 | 0.25 0.25 50 | 111";
        // (15120 - 5761) / 2 = 4679.5 and (15120 - 5763) / 2 = 4678.5.
        QTest::newRow("half to even, up") << QSizeF(11520, 5761) << "fit centre;100;;"
                                          << "0 4680 11520 5761 | 0.25 3.50 100 | 000";
        QTest::newRow("half to even, down") << QSizeF(11520, 5763) << "fit centre;100;;"
                                            << "0 4678 11520 5763 | 0.25 3.50 100 | 000";
        // 0 / 0 for the height: it keeps 4, the other steps still run.
        QTest::newRow("empty picture") << QSizeF(0, 0) << "fit;100;;" << "0 0 11520 4 | 0.25 0.25 100 | 010";
        // No printer answered (a zero page): nothing throws, the scale box keeps its text.
        QTest::newRow("no page") << QSizeF(100, 50) << "fit nopage;;;" << "-1440 0 0 0 | -1.00 0.00  | 100";
    }
    void scale() {
        QFETCH(QSizeF, picture);
        QFETCH(QString, input);
        const QStringList in = input.split(QLatin1Char(';'));
        const ScaleResult r = printScale({in[2], in[3], in[1], in[0].contains("fit"), in[0].contains("centre"),
                                          picture.width(), picture.height(),
                                          in[0].contains("nopage") ? PageMetrics{} : metricsFrom(letter()),
                                          {1, 2, 3, 4}});
        const auto on = [](const std::optional<bool>& b) { return b ? QString::number(*b) : QStringLiteral("?"); };
        QTEST(QStringLiteral("%1 %2 %3 %4 | %5 %6 %7 | %8%9%10")
                  .arg(r.rect.PrintLeft).arg(r.rect.PrintTop).arg(r.rect.PrintWidth).arg(r.rect.PrintHeight)
                  .arg(r.left, r.top, r.scale, on(r.leftEnabled), on(r.topEnabled), on(r.scaleEnabled)),
              "expected");
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
