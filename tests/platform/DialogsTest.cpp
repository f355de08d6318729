#include "common/TestRegistry.h"
#include "common/TestSupport.h"

#include <QMessageBox>
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

    // A short message still makes a box wide enough for its bold title
    // centred between the title bar's icon and its three buttons (about four
    // line heights on each side).
    void messageBoxesFitTheirTitle_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("short message") << QStringLiteral("Scan failed.") << QStringLiteral("Ferno Vexolan");
        QTest::newRow("long title") << QStringLiteral("OK?") << QStringLiteral("Open Map File: Pacific Northwest, sheet 7");
    }
    void messageBoxesFitTheirTitle() {
        QFETCH(QString, text);
        QFETCH(QString, title);
        const auto made = dlg::makeMessageBox(nullptr, text, {dlg::Buttons::OK, dlg::Icon::Exclamation}, title);
        QMessageBox& box = *made;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // A desktop theme restyles the box once it shows, and the box lays
        // itself out again.
        QEvent restyle(QEvent::StyleChange);
        QCoreApplication::sendEvent(&box, &restyle);
        QCoreApplication::processEvents();
        QFont bold = box.font();
        bold.setBold(true);
        const QFontMetrics fm(bold);
        QVERIFY2(box.width() - 8 * fm.height() >= fm.horizontalAdvance(title), qPrintable(QString::number(box.width())));
    }
};
VEX_TEST(DialogsTest);
#include "DialogsTest.moc"
