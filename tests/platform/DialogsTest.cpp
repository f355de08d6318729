#include "common/TestRegistry.h"
#include "common/TestSupport.h"

#include <QTest>

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersMatchBothCases() {
        const QStringList f = dlg::qtFilters(QStringLiteral("Map Data Files (*.vlm)|*.vlm|All Files|*.*"));
        QCOMPARE(f.size(), 2);
        QVERIFY(f[0].contains(QStringLiteral("*.vlm")));
        QVERIFY(f[0].contains(QStringLiteral("*.VLM")));
        QCOMPARE(f[0].left(15), QStringLiteral("Map Data Files "));
    }
    void scriptedAnswersAndRecordsPrompts() {
        auto& d = testsupport::dialogs();
        d.clear();
        d.queue(dlg::Answer::Yes);
        d.queue(QStringLiteral("42"));
        QCOMPARE(dlg::msgBox(QStringLiteral("Q?"), {dlg::Buttons::YesNo, dlg::Icon::Question}), dlg::Answer::Yes);
        QCOMPARE(dlg::inputBox(QStringLiteral("Value"), {}, QStringLiteral("1")), QStringLiteral("42"));
        QCOMPARE(dlg::inputBox(QStringLiteral("Again")), QString());
        QCOMPARE(d.unanswered, 1);
        QCOMPARE(d.prompts.size(), size_t(3));
        QCOMPARE(d.prompts[0].icon, dlg::Icon::Question);
        QCOMPARE(d.prompts[0].title, QStringLiteral("Ferno Vexolan"));
        QCOMPARE(d.prompts[1].defaultText, QStringLiteral("1"));
        d.clear();
    }
};
VEX_TEST(DialogsTest);
#include "DialogsTest.moc"
