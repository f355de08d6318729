// The marker control array: member 0 is the template, a load copies it, and
// loading a member that is already there starts it afresh.
#include "common/TestRegistry.h"

#include "map/Markers.h"

#include <QTest>

class MarkerArrayTest : public QObject {
    Q_OBJECT
private slots:
    void loadCopiesTheTemplateAndStartsAfresh() {
        MarkerArray<Marker> a;
        a.templ().Caption = QStringLiteral("*");
        a.templ().ForeColor = 255;
        QCOMPARE(a.count(), 0);
        a.load(2); // a gap is filled with template copies
        QCOMPARE(a.count(), 2);
        QCOMPARE(a[1].Caption, QStringLiteral("*"));
        QCOMPARE(a[2].ForeColor, 255L);
        for (int i = 1; i <= 5; ++i) {
            Marker& m = a.load(i);
            m.Visible = true;
            m.Left = 100 * i;
            m.ToolTipText = QStringLiteral("old %1").arg(i);
        }
        // Reloading member 3 drops those after it and starts it afresh.
        Marker& m = a.load(3);
        QCOMPARE(a.count(), 3);
        QVERIFY(!m.Visible && m.Left == 0 && m.ToolTipText.isEmpty());
        QCOMPARE(m.Caption, QStringLiteral("*"));
        QVERIFY(a[2].Visible && a[2].ToolTipText == QLatin1String("old 2"));
    }

    void eraseAndUnload() {
        MarkerArray<LineSegment> a;
        for (int i = 1; i <= 3; ++i) a.load(i).X1 = i;
        a.erase(2);
        QCOMPARE(a.count(), 2);
        QCOMPARE(a[2].X1, 3.0);
        a.erase(0); // the template is never erased
        a.erase(7);
        QCOMPARE(a.count(), 2);
        a.unloadLast();
        QCOMPARE(a.count(), 1);
        a.unloadAll();
        a.unloadLast();
        QCOMPARE(a.count(), 0);
    }
};

VEX_TEST(MarkerArrayTest);
#include "MarkerArrayTest.moc"
