// The marker control array: member 0 is the template, a load copies it, and
// loading a member that is already there starts it afresh.
#include "common/TestRegistry.h"

#include "map/Markers.h"

#include <QTest>

class MarkerArrayTest : public QObject {
    Q_OBJECT
private slots:
    void loadCopiesTheTemplate() {
        MarkerArray<Marker> a;
        a.templ().Caption = QStringLiteral("*");
        a.templ().ForeColor = 255;
        QCOMPARE(a.count(), 0);
        Marker& m = a.load(1);
        QCOMPARE(a.count(), 1);
        QCOMPARE(m.Caption, QStringLiteral("*"));
        QCOMPARE(m.ForeColor, 255L);
        // A gap is filled with template copies.
        a.load(4);
        QCOMPARE(a.count(), 4);
        QCOMPARE(a[3].Caption, QStringLiteral("*"));
    }

    void reloadingStartsTheMemberAfresh() {
        MarkerArray<Marker> a;
        a.templ().Caption = QStringLiteral("+");
        for (int i = 1; i <= 5; ++i) {
            Marker& m = a.load(i);
            m.Visible = true;
            m.Left = 100 * i;
            m.ToolTipText = QStringLiteral("old %1").arg(i);
        }
        Marker& m = a.load(3);
        QCOMPARE(a.count(), 3);
        QCOMPARE(m.Visible, false);
        QCOMPARE(m.Left, 0.0);
        QVERIFY(m.ToolTipText.isEmpty());
        QCOMPARE(m.Caption, QStringLiteral("+"));
        // The members before it are kept.
        QCOMPARE(a[2].ToolTipText, QStringLiteral("old 2"));
        QVERIFY(a[2].Visible);
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
        QCOMPARE(a.count(), 0);
        a.unloadLast();
        QCOMPARE(a.count(), 0);
    }
};

VEX_TEST(MarkerArrayTest);
#include "MarkerArrayTest.moc"
