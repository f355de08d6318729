// The dialog layer: file filters, the scripted answers tests give, and
// message boxes wide enough for their title.
#include "common/PlatformSupport.h"

#include <QMessageBox>

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersAndScriptedAnswers() {
        QCOMPARE(dlg::qtFilters("Map Data Files (*.vlm)|*.vlm|All Files|*.*"),
                 QStringList({"Map Data Files (*.vlm *.VLM)", "All Files (*.*)"}));
        auto& d = testsupport::dialogs();
        d.clear();
        d.queue(dlg::Answer::Yes);
        d.queue(QStringLiteral("42"));
        QCOMPARE(dlg::msgBox("Q?", {dlg::Buttons::YesNo, dlg::Icon::Question}), dlg::Answer::Yes);
        QCOMPARE(dlg::inputBox("Value", {}, "1"), QStringLiteral("42"));
        QCOMPARE(dlg::inputBox("Again"), QString());
        QVERIFY(d.unanswered == 1 && d.prompts.size() == 3);
        QCOMPARE(d.prompts[0].title + d.prompts[1].defaultText, QStringLiteral("Ferno Vexolan1"));
        d.clear();
    }

    // A short message still makes a box wide enough for its bold title
    // centred between the title bar's icon and its three buttons (about four
    // line heights on each side), also once a desktop theme restyles it.
    void messageBoxesFitTheirTitle() {
        for (const QString title : {"Ferno Vexolan", "Open Map File: Pacific Northwest, sheet 7"}) {
            const auto box = dlg::makeMessageBox(nullptr, "OK?", {dlg::Buttons::OK, dlg::Icon::Exclamation}, title);
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            QEvent restyle(QEvent::StyleChange);
            QCoreApplication::sendEvent(box.get(), &restyle);
            QCoreApplication::processEvents();
            QFont bold = box->font();
            bold.setBold(true);
            const QFontMetrics fm(bold);
            QVERIFY2(box->width() - 8 * fm.height() >= fm.horizontalAdvance(title), qPrintable(title));
        }
    }
};
VEX_TEST(DialogsTest);
#include "DialogsTest.moc"
