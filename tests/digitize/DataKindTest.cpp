// The three data kinds, the point-type options they enable, and the title
// command, on the real window.
#include "DigitizeFixture.h"
#include "common/TestRegistry.h"

#include <QTest>

using namespace digitize_fixture;

class DataKindTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    void propertyTable_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("byClick");
        QTest::addColumn<QString>("suffix");
        for (bool click : {false, true}) {
            const char* how = click ? " clicked" : " by code";
            QTest::newRow(qPrintable(QStringLiteral("isopach") + how)) << "optIso" << click << " (isopachs)";
            QTest::newRow(qPrintable(QStringLiteral("structural") + how)) << "optStruc" << click
                                                                         << " (structural contours)";
            QTest::newRow(qPrintable(QStringLiteral("contact") + how)) << "optRock" << click << " (contacts)";
        }
    }
    void propertyTable() {
        QFETCH(QString, kind);
        QFETCH(bool, byClick);
        QFETCH(QString, suffix);
        auto w = startWindow();
        registerLinear(*w);
        w->doc.DataTitle = QStringLiteral("Ridge");
        OptionButton* target = w->findChild<OptionButton*>(kind);
        QVERIFY(target);
        const bool contacts = target == w->optRock;
        // Start from the other family's state, with contour points chosen,
        // so that every property has to change.
        (contacts ? w->optIso : w->optRock)->setValue(true);
        w->optCon->setValue(true);

        // A click on the round indicator, which every style counts as the button.
        if (byClick) QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
        else target->setValue(true);
        QVERIFY(target->isChecked());

        QVERIFY(w->optDat->isEnabled());
        QCOMPARE(w->optCon->isEnabled(), !contacts);
        QVERIFY(w->labDatCol->isEnabled());
        QCOMPARE(w->labConCol->isEnabled(), !contacts);
        // Contacts are datum points only; the contour kinds leave the choice alone.
        QCOMPARE(w->optDat->isChecked(), contacts);
        QCOMPARE(w->optCon->isChecked(), !contacts);
        QCOMPARE(w->cmdShow->text(), contacts ? QStringLiteral("Show Contacts") : QStringLiteral("Show Contours"));
        QCOMPARE(w->cmdShow->toolTip(),
                 contacts ? QStringLiteral("Click to show contact map") : QStringLiteral("Click to show contour map"));
        QCOMPARE(w->mnuViewShowCon->text(), contacts ? QStringLiteral("Contacts") : QStringLiteral("Contours"));
        QCOMPARE(w->Frame7->title(), contacts ? QStringLiteral("Contacts") : QStringLiteral("Contours"));
        QCOMPARE(w->mnuViewShowContact->menuAction()->isEnabled(), contacts);
        QCOMPARE(w->cmdShow->isEnabled(), !contacts);
        QCOMPARE(w->mnuViewShow->menuAction()->isEnabled(), !contacts);
        QCOMPARE(w->labMax->text(), contacts ? QStringLiteral("Max Contact") : QStringLiteral("Max Contour"));
        QCOMPARE(w->labMin->text(), contacts ? QStringLiteral("Min Contact") : QStringLiteral("Min Contour"));
        QCOMPARE(w->panel(2), QStringLiteral("Data:  Ridge") + suffix);
        QCOMPARE(*w->digitizer->dataKind(), contacts                  ? DataKind::Contacts
                                            : target == w->optStruc ? DataKind::Structural
                                                                    : DataKind::Isopach);
        // Only controls change: no point data, no changed flag.
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(!w->doc.DataChanged);
        QVERIFY(testsupport::dialogs().prompts.empty());
    }

    void contourKindsEnableShowInAnEmptyDocument() {
        auto w = startWindow();
        // Straight after the reset: nothing registered, every option disabled.
        QVERIFY(!w->cmdShow->isEnabled());
        w->optIso->setValue(true);
        QVERIFY(w->cmdShow->isEnabled());
        QVERIFY(w->mnuViewShow->menuAction()->isEnabled());
        w->optRock->setValue(true);
        QVERIFY(!w->cmdShow->isEnabled());
        QVERIFY(w->optDat->isChecked());
        QVERIFY(!w->optCon->isEnabled());
        QVERIFY(!w->labConCol->isEnabled());
    }

    void title_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("panel");
        QTest::newRow("no kind") << "" << "North Ridge" << "Data:  North Ridge (no data)";
        QTest::newRow("isopach") << "optIso" << "Sands" << "Data:  Sands (isopachs)";
        QTest::newRow("structural") << "optStruc" << "Top" << "Data:  Top (structural contours)";
        QTest::newRow("contacts") << "optRock" << "Units" << "Data:  Units (contacts)";
        QTest::newRow("cancel empties") << "optIso" << "" << "Data:   (isopachs)";
    }
    void title() {
        QFETCH(QString, kind);
        QFETCH(QString, answer);
        auto w = startWindow();
        registerLinear(*w);
        if (!kind.isEmpty()) w->findChild<OptionButton*>(kind)->setValue(true);
        w->setDocumentCaption(QStringLiteral("Lakes"));
        const QString caption = w->windowTitle();
        if (answer.isEmpty()) testsupport::dialogs().queue(dlg::Cancel{});
        else testsupport::dialogs().queue(answer);
        w->mnuOptTitle->trigger();
        auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(int(prompts.size()), 1);
        QCOMPARE(prompts[0].text, QStringLiteral("Change file title"));
        QCOMPARE(prompts[0].title, QStringLiteral("Title"));
        QCOMPARE(prompts[0].defaultText, QStringLiteral("Lakes"));
        QCOMPARE(w->doc.DataTitle, answer);
        QTEST(w->panel(2), "panel");
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->windowTitle(), caption);
    }
};
VEX_TEST(DataKindTest);
#include "DataKindTest.moc"
