// The save command's choice of way and the File menu's enabling rule.
#include "common/TestRegistry.h"
#include "document/SaveWays.h"

#include <QTest>

Q_DECLARE_METATYPE(SaveWay)

class SaveWaysTest : public QObject {
    Q_OBJECT
private slots:
    void chooser_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("plot");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("projectNamed");
        QTest::addColumn<bool>("pictureNamed");
        QTest::addColumn<bool>("projectOnly");
        QTest::addColumn<SaveWay>("way");
        using W = SaveWay;
        // The five ways by the document's state.
        QTest::newRow("A unregistered") << false << true << false << true << true << false << W::ContourPictureDialog;
        QTest::newRow("A registered") << false << true << true << true << true << false << W::ContourPictureDialog;
        QTest::newRow("B") << false << false << false << true << true << false << W::MapImageDialog;
        QTest::newRow("C") << false << false << true << true << true << false << W::ProjectDialog;
        QTest::newRow("D registered") << true << false << true << true << true << false << W::Project;
        // A project is never written over a map not registered.
        QTest::newRow("D unregistered")
            << true << false << false << true << true << false << W::MapImageDialog;
        QTest::newRow("E") << true << true << true << true << true << false << W::ContourPicture;
        QTest::newRow("E unregistered") << true << true << false << true << true << false << W::ContourPicture;
        // Without a name to save under, the way that needs one asks.
        QTest::newRow("D without a name") << true << false << true << false << true << false << W::ProjectDialog;
        QTest::newRow("D without a name, unregistered")
            << true << false << false << false << true << false << W::MapImageDialog;
        QTest::newRow("E without a name") << true << true << true << true << false << false
                                          << W::ContourPictureDialog;
        // The save prompts keep the project, also while a plot is shown.
        QTest::newRow("prompt, changed, plot") << true << true << true << true << true << true << W::Project;
        QTest::newRow("prompt, changed") << true << false << true << true << true << true << W::Project;
        QTest::newRow("prompt, save as, plot") << false << true << true << true << true << true << W::ProjectDialog;
        QTest::newRow("prompt, unnamed") << true << true << true << false << true << true << W::ProjectDialog;
    }

    void chooser() {
        QFETCH(bool, changed);
        QFETCH(bool, plot);
        QFETCH(bool, registered);
        QFETCH(bool, projectNamed);
        QFETCH(bool, pictureNamed);
        QFETCH(bool, projectOnly);
        QFETCH(SaveWay, way);
        SaveState s;
        s.DataChanged = changed;
        s.plotShown = plot;
        s.MapRegistered = registered;
        s.projectNamed = projectNamed;
        s.pictureNamed = pictureNamed;
        s.projectOnly = projectOnly;
        QCOMPARE(int(chooseSaveWay(s)), int(way));
    }

    void fileMenu_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<bool>("mapShown");
        for (bool c : {false, true})
            for (bool r : {false, true})
                for (bool m : {false, true})
                    QTest::addRow("changed %d registered %d map %d", c, r, m) << c << r << m;
    }

    void fileMenu() {
        QFETCH(bool, changed);
        QFETCH(bool, registered);
        QFETCH(bool, mapShown);
        const FileMenuEnabling e = fileMenuEnabling(changed, registered, mapShown);
        QCOMPARE(e.mnuFileSave, changed);
        for (const std::optional<bool>& item : {e.mnuFileImportData, e.mnuFileExport, e.mnuFileClose,
                                                e.mnuFileOpenDat, e.mnuFileOpenCon, e.mnuFileOpenLab}) {
            QVERIFY(item.has_value());
            QCOMPARE(*item, registered);
        }
        // Export > Data follows the view only on a registered map; otherwise
        // it is left as it was.
        QCOMPARE(e.mnuFileExportData.has_value(), registered);
        if (registered) QCOMPARE(*e.mnuFileExportData, mapShown);
    }
};

VEX_TEST(SaveWaysTest);
#include "SaveWaysTest.moc"
