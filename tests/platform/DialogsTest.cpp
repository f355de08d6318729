// The dialog layer: file filters, the scripted answers tests give, and
// message and input boxes wide enough for their title.
#include "common/PlatformSupport.h"

#include <QInputDialog>
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

    // A short message or prompt still makes a box wide enough for its bold
    // title centred between the title bar's icon and its three buttons
    // (about four line heights on each side), also once a desktop theme
    // restyles it: the registration prompts' titles among others.
    void boxesFitTheirTitle_data() {
        QTest::addColumn<bool>("input");
        QTest::addColumn<QString>("title");
        for (const bool input : {false, true})
            for (const char* title : {"Ferno Vexolan", "Open Map File: Pacific Northwest, sheet 7",
                                      "Map Longitude Registration 1", "Map Easting Registration 1",
                                      "Map Northing Registration 2", "Map Latitude Registration"})
                QTest::addRow("%s %s", input ? "input" : "message", title) << input << QString::fromLatin1(title);
    }
    void boxesFitTheirTitle() {
        QFETCH(bool, input);
        QFETCH(QString, title);
        const std::unique_ptr<QDialog> box =
            input ? std::unique_ptr<QDialog>(dlg::makeInputBox(nullptr, "Enter Easting coordinate 1", title, {}))
                  : std::unique_ptr<QDialog>(dlg::makeMessageBox(nullptr, "OK?", {dlg::Buttons::OK, dlg::Icon::Exclamation}, title));
        QCOMPARE(box->windowTitle(), title);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QEvent restyle(QEvent::StyleChange);
        QCoreApplication::sendEvent(box.get(), &restyle);
        QCoreApplication::processEvents();
        QFont bold = box->font();
        bold.setBold(true);
        const QFontMetrics fm(bold);
        QVERIFY2(box->width() - 8 * fm.height() >= fm.horizontalAdvance(title),
                 qPrintable(QStringLiteral("%1 < %2").arg(box->width() - 8 * fm.height()).arg(fm.horizontalAdvance(title))));
    }

    // The width a title needs: the text a quarter wider than the program's
    // bold font sets it, plus four title-bar heights each side for the icon
    // and the buttons.  A window measured in the instant between being shown
    // and being framed reports as its frame the difference between its old
    // and its new size (81 pixels were seen): that is no title bar, and the
    // box grew to 884 pixels for a 27-letter title.
    void titleWidthFromTheFrame_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("width");
        // title 200 pixels wide, line height 16
        QTest::newRow("not framed: the line height") << 0 << 250 + 8 * 16;
        QTest::newRow("a framed window's title bar") << 24 << 250 + 8 * 24;
        QTest::newRow("a title bar as high as two lines") << 32 << 250 + 8 * 32;
        QTest::newRow("an unframed window's size change") << 81 << 250 + 8 * 32;
    }
    void titleWidthFromTheFrame() {
        QFETCH(int, frame);
        QFETCH(int, width);
        QCOMPARE(dlg::titleFitWidth(200, 16, frame), width);
    }
};
VEX_TEST(DialogsTest);
#include "DialogsTest.moc"
