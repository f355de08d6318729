// The save command's choice of way and the File menu's enabling rule.
#include "common/TestRegistry.h"
#include "common/TestTable.h"
#include "document/SaveWays.h"

#include <QTest>

Q_DECLARE_METATYPE(SaveWay)

class SaveWaysTest : public QObject {
    Q_OBJECT
private slots:
    // The state as letters: Changed, Plot shown, Registered, No project
    // name, no picture name (Q), a Save prompt.
    void chooser_data() {
        testsupport::columns<QString, SaveWay>("state", "way");
        using W = SaveWay;
        // The five ways A to E.
        QTest::newRow("A unregistered") << "P" << W::ContourPictureDialog;
        QTest::newRow("A registered") << "PR" << W::ContourPictureDialog;
        QTest::newRow("B") << "" << W::MapImageDialog;
        QTest::newRow("C") << "R" << W::ProjectDialog;
        QTest::newRow("D") << "CR" << W::Project;
        QTest::newRow("E") << "CPR" << W::ContourPicture;
        QTest::newRow("E unregistered") << "CP" << W::ContourPicture;
        // A project is never written over a map not registered.
        QTest::newRow("D unregistered") << "C" << W::MapImageDialog;
        // Without a name to save under, the way that needs one asks.
        QTest::newRow("D without a name") << "CRN" << W::ProjectDialog;
        QTest::newRow("D without a name, unregistered") << "CN" << W::MapImageDialog;
        QTest::newRow("E without a name") << "CPRQ" << W::ContourPictureDialog;
        // The save prompts keep the project, also while a plot is shown.
        QTest::newRow("prompt, changed, plot") << "CPRS" << W::Project;
        QTest::newRow("prompt, changed") << "CRS" << W::Project;
        QTest::newRow("prompt, save as, plot") << "PRS" << W::ProjectDialog;
        QTest::newRow("prompt, unnamed") << "CPRNS" << W::ProjectDialog;
    }
    void chooser() {
        QFETCH(QString, state);
        QFETCH(SaveWay, way);
        const SaveState s{.DataChanged = state.contains(u'C'), .plotShown = state.contains(u'P'),
                          .MapRegistered = state.contains(u'R'), .projectNamed = !state.contains(u'N'),
                          .pictureNamed = !state.contains(u'Q'), .projectOnly = state.contains(u'S')};
        QCOMPARE(int(chooseSaveWay(s)), int(way));
    }

    // Save, Import Data, Export, Close, Open Data, Open Contours, Open
    // Labels, Export Data: 1 enabled, 0 disabled, - left as it was.
    void fileMenu_data() {
        testsupport::columns<QString, QString>("state", "items"); // Changed, Registered, Map shown
        const char* const rows[][2] = {{"", "0000000-"},   {"M", "0000000-"},   {"R", "01111110"},
                                       {"RM", "01111111"}, {"C", "1000000-"},   {"CM", "1000000-"},
                                       {"CR", "11111110"}, {"CRM", "11111111"}};
        for (const auto& r : rows) QTest::newRow(r[0]) << r[0] << r[1];
    }
    void fileMenu() {
        QFETCH(QString, state);
        QFETCH(QString, items);
        const auto e = fileMenuEnabling(state.contains(u'C'), state.contains(u'R'), state.contains(u'M'));
        QString got = e.mnuFileSave ? "1" : "0";
        for (const std::optional<bool>& item : {e.mnuFileImportData, e.mnuFileExport, e.mnuFileClose,
                                                e.mnuFileOpenDat, e.mnuFileOpenCon, e.mnuFileOpenLab,
                                                e.mnuFileExportData})
            got += !item ? '-' : *item ? '1' : '0';
        QCOMPARE(got, items);
    }
};

VEX_TEST(SaveWaysTest);
#include "SaveWaysTest.moc"
