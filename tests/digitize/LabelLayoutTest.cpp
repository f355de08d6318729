// Placement of labels and contact-line ends over the contact overlay, and the
// label record's font and colour on its marker.
#include "common/TestRegistry.h"
#include "digitize/LabelLayout.h"
#include "document/Legacy.h"

#include <QTest>

namespace {
Document registered() {
    Document d;
    d.MapOriginX = 1000;
    d.MapOriginY = 5000;
    d.MapSpanX = 2000;
    d.MapSpanY = 1000;
    return d;
}
} // namespace

class LabelLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void overlayPosition_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("px");
        QTest::addColumn<double>("py");
        // Overlay 6000 x 3000 twips at (300, 600).
        QTest::newRow("origin corner") << 1000.0 << 5000.0 << 300.0 << 600.0;
        QTest::newRow("far corner") << 3000.0 << 4000.0 << 6300.0 << 3600.0;
        QTest::newRow("centre") << 2000.0 << 4500.0 << 3300.0 << 2100.0;
        QTest::newRow("outside left and above") << 0.0 << 6000.0 << -2700.0 << -2400.0;
    }
    void overlayPosition() {
        QFETCH(double, x);
        QFETCH(double, y);
        const QPointF p = mapToOverlay(registered(), x, y, {300, 600, 6000, 3000});
        QTEST(p.x(), "px");
        QTEST(p.y(), "py");
    }

    void labelAtOriginIsCentredOnOverlayCorner() {
        const Document d = registered();
        const QPointF tl = labelTopLeft(d, d.MapOriginX, d.MapOriginY, 800, 300, {300, 600, 6000, 3000});
        QCOMPARE(tl, QPointF(300 - 400, 600 - 150));
    }

    void zeroSpanIsAnError() {
        Document d = registered();
        d.MapSpanX = 0;
        try {
            mapToOverlay(d, 1500, 4500, {0, 0, 6000, 3000});
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), QStringLiteral("Division by zero"));
        }
    }

    void colourIsNearestWholeNumber_data() {
        QTest::addColumn<float>("stored");
        QTest::addColumn<long>("applied");
        QTest::newRow("whole") << 255.0f << 255L;
        QTest::newRow("fraction down") << 255.25f << 255L;
        QTest::newRow("half to even") << 254.5f << 254L;
        QTest::newRow("white") << 16777215.0f << 16777215L;
    }
    void colourIsNearestWholeNumber() {
        QFETCH(float, stored);
        QTEST(labelColorNumber(stored), "applied");
    }

    void markerTakesRecordAndSizesToText() {
        MapLabel rec;
        rec.Text = QStringLiteral("Granite");
        rec.FontName = QStringLiteral("Arial");
        rec.FontSize = 14;
        rec.FontItalic = true;
        rec.FontUnderline = true;
        rec.Color = 32768;
        Marker m;
        applyLabel(m, rec);
        QCOMPARE(m.Caption, QStringLiteral("Granite"));
        QCOMPARE(m.ForeColor, 32768L);
        QCOMPARE(m.Font.family(), QStringLiteral("Arial"));
        QCOMPARE(m.Font.pointSizeF(), 14.0);
        QVERIFY(m.Font.italic() && m.Font.underline() && !m.Font.bold() && !m.Font.strikeOut());
        QVERIFY(m.Width > 0 && m.Height > 0);
        // A longer text makes a wider label, a larger font a taller one.
        Marker longer;
        rec.Text = QStringLiteral("Granite and gneiss");
        applyLabel(longer, rec);
        QVERIFY(longer.Width > m.Width);
        Marker larger;
        rec.FontSize = 28;
        applyLabel(larger, rec);
        QVERIFY(larger.Height > m.Height);
    }

    void firstLabelStyleComesFromTemplate() {
        Marker templ;
        templ.Font = labelFont(QStringLiteral("Arial"), 12, true, false, false, false);
        templ.ForeColor = 255;
        MapLabel rec;
        takeTemplateStyle(rec, templ);
        QCOMPARE(rec.FontName, QStringLiteral("Arial"));
        QCOMPARE(rec.FontSize, int16_t(12));
        QVERIFY(rec.FontBold && !rec.FontItalic && !rec.FontStrikethru && !rec.FontUnderline);
        QCOMPARE(rec.Color, 255.0f);
    }
};

VEX_TEST(LabelLayoutTest);
#include "LabelLayoutTest.moc"
