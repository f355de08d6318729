// Opening and saving projects through the real main window: what an open
// brings back or leaves when it fails, the save ways with their dialogs,
// Save As, the save prompts of Open, Close and exit, and saves that fail.
#include "app/MainWindow.h"
#include "common/DocumentSupport.h"
#include "common/MapSupport.h"
#include "common/TestRegistry.h"
#include "common/TestTable.h"
#include "document/ProjectCommands.h"
#include "map/Projections.h"
#include "platform/ImagingObject.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

using namespace docsupport;
using namespace Qt::StringLiterals;

namespace {

// The window as an open leaves it: caption | projection panel | the ticked
// Coordinates items and options | the controls an open enables that are
// off (not Print: whether a printer exists depends on the machine and on
// the queues other tests make meanwhile) | limits and contour detail |
// counts of datum and contour points and labels, the first datum point, the
// contacts listed | the map shown.
QString windowState(MainWindow& w, const QString& dir) {
    QStringList ticked, off;
    for (QAction* a : w.findChildren<QAction*>())
        if (a->objectName().startsWith("mnuCoord") && a->isChecked()) ticked << a->objectName();
    for (QRadioButton* b : {w.optRock, w.optStruc, w.optIso, w.optDat, w.optCon})
        if (b->isChecked()) ticked << b->objectName();
    for (QWidget* c : std::initializer_list<QWidget*>{w.optRock, w.optStruc, w.optIso, w.optCon, w.labConCol,
                                                      w.txtConDet, w.chkMan, w.txtMax, w.cmdShow, w.cmdConRun,
                                                      w.cmdSave})
        if (!c->isEnabled()) off << c->objectName();
    const Document& d = w.doc;
    for (QAction* a : {w.mnuFileSaveAs, w.mnuCoord->menuAction(), w.mnuCoordFeet, w.mnuCoordMeters})
        if (!a->isEnabled() && (d.MapRegistered || a == w.mnuFileSaveAs)) off << a->objectName();
    QString points = QStringLiteral("%1/%2/%3").arg(d.DatCount).arg(d.ConCount).arg(d.LabelCount);
    if (d.DatCount) points += QStringLiteral(" at %1,%2").arg(d.DatumPoints[1].X).arg(d.DatumPoints[1].Y);
    if (!w.cmbShow->isHidden()) points += QStringLiteral(" contacts %1").arg(w.cmbShow->count() - 1);
    return QStringList{w.windowTitle(), w.panel(1), ticked.join(u' '), "off " + off.join(u' '),
                       w.txtMin->text() + ' ' + w.txtMax->text() + ' ' + w.txtConDet->text(), points,
                       w.imPoints->isHidden() ? "no map" : d.MapFileName}
        .join(QStringLiteral(" | "))
        .replace(dir, QStringLiteral("@"));
}

// What a save may change, each as key=value.
QMap<QString, QString> saveState(MainWindow& w, const QString& dir) {
    const Document& d = w.doc;
    QMap<QString, QString> s{{"changed", QString::number(d.DataChanged)},
                             {"saved", QString::number(w.saveSucceeded)},
                             {"window", w.isVisible() ? "open" : "closed"},
                             {"title", w.windowTitle()},
                             {"status", w.panel(2)},
                             {"name", d.DataFileName},
                             {"map", d.MapFileName},
                             {"folder", w.app.DataFolder},
                             {"limits", w.txtMin->text() + ' ' + w.txtMax->text()},
                             {"points", QStringLiteral("%1/%2/%3").arg(d.DatCount).arg(d.ConCount).arg(
                                            d.LabelCount)}};
    for (QString& v : s) v.replace(dir, QStringLiteral("@"));
    return s;
}

} // namespace

class ProjectCommandsTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    QString dir;

    // The window after the Open button, the project `name` of `dir` and
    // then `answers` chosen.
    std::unique_ptr<MainWindow> openedWindow(const QString& name, const QString& answers = {}) {
        auto w = testsupport::startMainWindow();
        queueAnswers(dir, name + '|' + answers);
        w->cmdDig->click();
        return w;
    }

    // Registers the map shown, records a point and presses File > Save,
    // cancelling any name dialog it shows.
    void registerRecordAndSave(MainWindow& w) {
        maptest::registerLinear(w);
        maptest::addPoint(w, true, 1, 2000, 3000, 5);
        w.doc.DataChanged = true;
        testsupport::dialogs().clear();
        queueAnswers(dir, "-");
        choose(w, w.mnuFileSave);
    }

private slots:
    void init() {
        testsupport::dialogs().clear();
        dir = tmp.path() + '/' + QTest::currentTestFunction() + '_' +
              QString(QTest::currentDataTag()).replace(' ', '_');
        QDir().mkpath(dir);
        makeImage(dir + "/map.jpg");
    }

    // What an open brings back (with a marker for each point and label), or
    // leaves when it fails: the rows of open.jsonl.  Nothing on disk changes.
    void open_data() { addJsonRows("open.jsonl"); }
    void open() {
        QFETCH(QStringList, c);
        copyData(dir, c[1]);
        const auto before = filesIn(dir);
        auto w = openedWindow(QFileInfo(c[1].section(' ', 0, 0)).fileName(), c[2]);
        QCOMPARE(promptLog(dir), c[3]);
        QCOMPARE(windowState(*w, dir), c[4]);
        const auto& m = *w->markers;
        QCOMPARE(QStringLiteral("%1/%2/%3").arg(m.labDat.count()).arg(m.labCon.count()).arg(m.labMap.count()),
                 c[4].section(" | ", 5, 5).section(' ', 0, 0));
        if (w->imPoints->isHidden()) QCOMPARE(w->panel(2), QString("No file loaded..."));
        QVERIFY(!w->doc.DataChanged && !w->BusyLoading);
        QCOMPARE(fileChanges(dir, before), QString());
    }

    // The save command and the File menu's items on the opened survey: the
    // prompts shown || the files changed || what else changed.  Setup:
    // "changed" (point 1's Z edited), "touched" (marked changed only),
    // "unnamed", "unregistered", "plot" (the contour picture shown),
    // "nodialog" (no file chosen in a dialog yet), "bare" (the last file
    // chosen had no extension), "nolimits", "nolabels",
    // "elsewhere" (to be saved in proj/), "taken" (proj/ already holds
    // another map.jpg), "nofolder" (a name in a missing folder), "full" (no
    // file may grow past 100 bytes), "labelsfull" (the project fits, its
    // labels do not), "removed" (Remove All Data, then a point recorded).
    void save_data() {
        testsupport::columns<QString, QString, QString, QString>("setup", "actions", "answers", "outcome");
        const auto row = [](const char* name, const char* setup, const char* actions, const char* answers,
                            const QString& outcome) {
            QTest::newRow(name) << setup << actions << answers << outcome;
        };
        const QString ask = "survey.vlm has changed.\nWould you like to save it? (?)",
                      saveAs = "Save Data File As... [@/survey.vlm]",
                      status = "status=Data:  Survey (structural contours)",
                      cleared = "limits=0 0, map=, name=, points=0/0/0, ",
                      empty = "status=No file loaded..., title=Ferno Vexolan", fails = "SaveDAta error: \n\n",
                      tooLarge = ": File too large (i) ||  || ", picture = "Save Contour Image File [@/";
        // The files as opened are written again byte for byte.
        row("touched", "touched", "save", "", " ||  || changed=0, saved=1");
        // The five ways.  C asks, offering the project's name or the map's.
        row("C", "", "button", "new.vlm",
            saveAs + " || +new.lab +new.vlm || name=@/new.vlm, saved=1, " + status +
                ", title=Ferno Vexolan: new");
        row("C unnamed", "changed unnamed", "save", "-", "Save Data File As... [@/map.vlm] ||  || ");
        row("Save As cancelled", "changed", "saveas", "-", saveAs + " ||  || ");
        row("Save As cancelled, unchanged", "", "saveas", "-", saveAs + " ||  || ");
        row("D", "changed", "save", "", " || *survey.vlm || changed=0, saved=1");
        // B: the map picture of an unregistered map, then named as a project.
        row("B", "unregistered", "button", "out.jpg",
            "Save Map Image File As... [@/map.jpg] || +out.jpg || map=@/out.jpg, name=@/out.vlm, saved=1,"
            " status=Map:  Survey (register map by clicking on locations of known coordinates),"
            " title=Ferno Vexolan: out");
        row("B fails", "unregistered", "saveas", "no such folder/m2.jpg",
            "Save Map Image File As... [@/map.jpg] | Error in saving file <@/survey.vlm>! (!) ||  ||"
            " changed=1");
        // E and A: the contour picture, which leaves the project's changes
        // unsaved; it is never written under another extension (a project's,
        // say), and a name without one gets ".vlp".
        row("E", "changed plot", "save", "", " || +survey.vlp || ");
        row("E unnamed", "changed plot nodialog", "save", "-", picture + "Untitled.vlp] ||  || ");
        row("A", "plot nodialog", "saveas", "pic.vlp", picture + "Untitled.vlp] || +pic.vlp || ");
        // After an export to a file named without an extension, nothing is
        // left of its name for the picture's: no nameless ".vlp" is offered
        // or written.
        row("A after a bare name", "plot bare", "saveas", "-", picture + "Untitled.vlp] ||  || ");
        row("E after a bare name", "changed plot bare", "save", "-", picture + "Untitled.vlp] ||  || ");
        row("A keeps .vlp", "plot", "saveas button", "survey.vlm|OK|pic2|-",
            picture + "survey.vlp] | A contour image file must have the extension \".vlp\": survey.vlm cannot"
            " be used. (!) | " + picture + "survey.vlp] | " + picture + "pic2.vlp] || +pic2.vlp || ");
        // The map picture goes beside the project once; another picture of
        // that name there is kept.  Empty limits are saved as 0.
        row("map copied", "changed elsewhere", "save", "",
            " || +proj/map.jpg +proj/survey.lab +proj/survey.vlm || changed=0, map=@/proj/map.jpg, saved=1");
        row("map not copied over", "changed elsewhere taken", "save", "",
            " || +proj/survey.lab +proj/survey.vlm || changed=0, saved=1");
        row("empty limits", "changed nolimits", "save", "",
            " || *survey.vlm || changed=0, limits=0 0, saved=1");
        row("no labels", "changed nolabels", "save", "", " || *survey.vlm -survey.lab || changed=0, saved=1");
        // A disk filling up under a save (the failure showing only at the
        // last flush) leaves both old files byte for byte and no temporary,
        // is reported, and Save As keeps the old name and caption.
        row("project fails", "changed full", "save", "", fails + "Cannot write @/survey.vlm" + tooLarge);
        row("labels fail", "changed labelsfull", "save", "", fails + "Cannot write @/survey.lab" + tooLarge);
        row("Save As fails", "changed full", "saveas", "new.vlm",
            saveAs + " | " + fails + "Cannot write @/new.vlm" + tooLarge);
        row("no name", "unnamed", "savedata", "", fails + "Bad file name or number (i) ||  || ");
        // The save prompts: Yes saves the project (also while a plot is
        // shown); at Open and exit it asks for the name first.  A save that
        // does not happen keeps the document.
        row("close Yes", "changed", "close", "Yes",
            ask + " || *survey.vlm || changed=0, " + cleared + "saved=1, " + empty);
        row("close Yes, plot", "changed plot", "close", "Yes",
            ask + " || *survey.vlm || changed=0, " + cleared + "saved=1, " + empty);
        row("close No", "changed", "close", "No", ask + " ||  || changed=0, " + cleared + empty);
        row("close Cancel", "changed", "close", "Cancel", ask + " ||  || ");
        row("close, save fails", "changed nofolder", "close", "Yes",
            "x.vlm has changed.\nWould you like to save it? (?) | " + fails + "Path not found (i) ||  || ");
        row("close unchanged", "", "close", "", " ||  || " + cleared + empty);
        row("exit, name cancelled", "changed", "exit", "Yes|-", ask + " | " + saveAs + " ||  || ");
        row("exit, saved", "changed", "exit", "Yes|survey.vlm",
            ask + " | " + saveAs + " || *survey.vlm || changed=0, saved=1, " + status + ", window=closed");
        row("open Cancel", "changed", "open", "Cancel", ask + " ||  || ");
        row("open Yes, name cancelled", "changed", "open", "Yes|-", ask + " | " + saveAs + " ||  || ");
        row("open Yes, saved", "changed", "open", "Yes|a2.vlm|survey.vlm",
            ask + " | " + saveAs + " | Open Vexolan File [@/a2.vlm] || +a2.lab +a2.vlm ||"
                " changed=0, saved=1");
        row("open item", "", "openitem", "-", "Open Vexolan File [@/survey.vlm] ||  || ");
        // Once every point is removed, the points recorded next are a new
        // data set: its first save asks for the name (offering the project's
        // own), also from the close prompt, so that the earlier project is
        // replaced only when the user chooses its name; then it is used.
        row("all data removed", "removed", "button close save edit save", "-|Yes|-|isopach.vlm",
            saveAs + " | " + ask + " | " + saveAs + " | " + saveAs + " || +isopach.lab +isopach.vlm"
            " || changed=0, name=@/isopach.vlm, saved=1, title=Ferno Vexolan: isopach");
    }
    void save() {
        QFETCH(QString, setup);
        QFETCH(QString, actions);
        QFETCH(QString, answers);
        QFETCH(QString, outcome);
        copyData(dir, "survey.vlm survey.lab");
        auto w = openedWindow("survey.vlm");
        Document& d = w->doc;
        const QStringList set = setup.split(' ');
        if (set.contains("changed")) d.DatumPoints[1].Z = 99;
        d.DataChanged = set.contains("changed") || set.contains("touched");
        if (set.contains("unnamed")) d.DataFileName.clear();
        if (set.contains("unregistered")) d.MapRegistered = false;
        if (set.contains("nodialog")) w->DialogFileName.clear(), w->DialogFileTitle.clear();
        if (set.contains("bare")) w->DialogFileName = dir + "/grid", w->DialogFileTitle = "grid";
        if (set.contains("nolimits")) w->txtMin->clear(), w->txtMax->clear();
        if (set.contains("nolabels")) d.MapLabels.clear(), d.LabelCount = 0;
        if (set.contains("elsewhere")) QDir(dir).mkdir("proj"), d.DataFileName = dir + "/proj/survey.vlm";
        if (set.contains("taken")) makeImage(dir + "/proj/map.jpg", Qt::blue);
        if (set.contains("nofolder")) d.DataFileName = dir + "/missing folder/x.vlm";
        if (set.contains("labelsfull")) d.MapLabels[1].Text = QString(1000, 'x');
        if (set.contains("removed")) {
            testsupport::dialogs().queue(dlg::Answer::Yes);
            emit w->mnuOpt->aboutToShow();
            w->mnuOptClearAll->trigger();
            w->optIso->setValue(true);
            d.DatumPoints = {DataPoint{}, DataPoint{1, 5100, 8900, 12.5f}};
            d.DatCount = 1;
            w->markers->labDat.load(1);
            d.DataChanged = true;
        }
        QImage plot(50, 40, QImage::Format_RGB32);
        plot.fill(Qt::yellow);
        if (set.contains("plot")) w->picMap->setPicture(plot), w->picMap->show();
        qint64 limit = set.contains("full") ? 100 : 1 << 30;
        if (set.contains("labelsfull"))
            limit = writeProjectFile(d, w->projectCommands->controls()).size() + 16;
        const auto files = filesIn(dir);
        const auto state = saveState(*w, dir);
        testsupport::dialogs().clear();
        queueAnswers(dir, answers);
        {
            testsupport::FileSizeLimit full(limit);
            for (const QString& action : actions.split(' ')) {
                if (action == "button") w->cmdSave->click();
                if (action == "savedata") w->projectCommands->SaveData();
                if (action == "open") w->cmdDig->click();
                if (action == "exit") w->close();
                if (action == "edit") d.DataChanged = true;
                for (const auto& [name, item] :
                     {std::pair{"save", w->mnuFileSave}, {"saveas", w->mnuFileSaveAs},
                      {"close", w->mnuFileClose}, {"openitem", w->mnuFileOpenDig}})
                    if (action == name) choose(*w, item);
            }
        }
        QStringList changes;
        const auto now = saveState(*w, dir);
        for (auto it = now.begin(); it != now.end(); ++it)
            if (state[it.key()] != it.value()) changes << it.key() + '=' + it.value();
        QCOMPARE(promptLog(dir) + " || " + fileChanges(dir, files) + " || " + changes.join(", "), outcome);
    }

    // The map picture's file gone after the open (moved away, its drive
    // unplugged) or never there: the save writes the picture shown beside
    // the project as a JPEG file of the map's name (another file of that
    // name is kept), line 3 names it, the status bar says so, and the project
    // opens again with its points and that map.  A picture held only in
    // memory (a scanned page not written) is written the same way though the
    // map's file is there.  Map: "" the opened map.jpg removed, "memory" the
    // picture only in memory, else the missing file the document names, or
    // with a "/" at its end a folder in the file's place: there, but not
    // readable, also by the superuser.
    // Save "blocked": a first save fails after the picture was written (a
    // folder holds the project's name); the picture goes again, the document
    // names the old map and holds the picture as before, and the next save
    // writes it again.  The failure: prompts || files changed || map named,
    // then the save: prompts || files changed || status || reopened: points,
    // picture, map.
    void mapFileGone_data() {
        testsupport::columns<QString, QString, QString>("map", "save", "outcome");
        const QString reopened = " || 3/1/3 80x60 @/";
        QTest::newRow("Save") << "" << "save"
                              << " || +map.jpg *survey.vlm || Map picture map.jpg not found: the picture shown is saved as"
                                 " map.jpg" + reopened + "map.jpg";
        QTest::newRow("Save As elsewhere")
            << "" << "saveas proj/new.vlm"
            << "Save Data File As... [@/survey.vlm] || +proj/map.jpg +proj/new.lab +proj/new.vlm || Map picture map.jpg"
               " not found: the picture shown is saved as map.jpg" + reopened + "proj/map.jpg";
        QTest::newRow("another kind")
            << "scans/chart.png" << "save"
            << " || +chart.jpg *survey.vlm || Map picture chart.png not found: the picture shown is saved as"
               " chart.jpg" + reopened + "chart.jpg";
        QTest::newRow("name taken")
            << "old/map.jpg" << "save"
            << " || +map (2).jpg *survey.vlm || Map picture map.jpg not found: the picture shown is saved as"
               " map (2).jpg" + reopened + "map (2).jpg";
        QTest::newRow("in memory")
            << "memory" << "save"
            << " || +map (2).jpg *survey.vlm || Map picture saved as map (2).jpg" + reopened + "map (2).jpg";
        const QString blocked =
            "SaveDAta error: \n\nCannot write @/survey.vlm: Filename refers to a directory (i) ||  || ";
        QTest::newRow("project not written")
            << "scans/chart.png" << "blocked save"
            << blocked + "@/scans/chart.png ||  || +chart.jpg +survey.vlm || Map picture chart.png not found:"
                         " the picture shown is saved as chart.jpg" + reopened + "chart.jpg";
        QTest::newRow("project not written, in memory")
            << "memory" << "blocked save"
            << blocked + "@/map.jpg in memory ||  || +map (2).jpg +survey.vlm || Map picture saved as"
                         " map (2).jpg" + reopened + "map (2).jpg";
        QTest::newRow("unreadable")
            << "scans/map1.png/" << "save"
            << " || +map1.jpg *survey.vlm || Map picture map1.png could not be read: the picture shown is"
               " saved as map1.jpg" + reopened + "map1.jpg";
    }
    void mapFileGone() {
        QFETCH(QString, map);
        QFETCH(QString, save);
        QFETCH(QString, outcome);
        copyData(dir, "survey.vlm survey.lab");
        QDir(dir).mkdir("proj");
        auto w = openedWindow("survey.vlm");
        if (map.isEmpty()) QVERIFY(QFile::remove(dir + "/map.jpg"));
        else if (map == "memory") w->doc.MapPictureInMemory = true;
        else w->doc.MapFileName = dir + '/' + map.chopped(map.endsWith(u'/'));
        if (map.endsWith(u'/')) QVERIFY(QDir(dir).mkpath(map));
        w->doc.DataTitle = "Survey sheet"; // Edit > Change Title
        w->doc.DataChanged = true;
        QString result;
        if (save.startsWith("blocked ")) {
            save = save.mid(8);
            QVERIFY(QFile::remove(dir + "/survey.vlm") && QDir(dir).mkdir("survey.vlm"));
            const auto before = filesIn(dir);
            testsupport::dialogs().clear();
            choose(*w, w->mnuFileSave);
            QVERIFY(w->doc.DataChanged && !w->saveSucceeded);
            result = promptLog(dir) + " || " + fileChanges(dir, before) + " || " + w->doc.MapFileName +
                     (w->doc.MapPictureInMemory ? " in memory" : "") + " || ";
            QVERIFY(QDir(dir).rmdir("survey.vlm"));
        }
        const auto files = filesIn(dir);
        testsupport::dialogs().clear();
        queueAnswers(dir, save.section(' ', 1));
        choose(*w, save.startsWith("saveas") ? w->mnuFileSaveAs : w->mnuFileSave);
        result += promptLog(dir) + " || " + fileChanges(dir, files) + " || " + w->panel(2);
        QVERIFY(!w->doc.DataChanged && w->saveSucceeded);

        const QString project = w->doc.DataFileName;
        auto again = testsupport::startMainWindow();
        queueAnswers(dir, project.mid(dir.size() + 1));
        again->cmdDig->click();
        const Document& d = again->doc;
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1)); // the Open dialog: no map to find
        result += QStringLiteral(" || %1/%2/%3 %4x%5 ").arg(d.DatCount).arg(d.ConCount).arg(d.LabelCount)
                      .arg(again->picImgX->width()).arg(again->picImgX->height()) + d.MapFileName;
        QCOMPARE(result.replace(dir, "@"), outcome);
        QCOMPARE(d.DataTitle, QString("Survey sheet"));
    }

    // Ctrl+S acts as File > Save would if the menu were opened now, though
    // the open left the item disabled and the menu was never opened: the
    // change is written; pressed again with nothing changed it does nothing.
    void saveShortcut() {
        copyData(dir, "survey.vlm survey.lab");
        auto w = openedWindow("survey.vlm");
        w->activateWindow();
        QVERIFY(!w->mnuFileSave->isEnabled());
        w->doc.DatumPoints[1].Z = 99;
        w->doc.DataChanged = true;
        testsupport::dialogs().clear();
        const auto before = filesIn(dir);
        QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(fileChanges(dir, before), QString("*survey.vlm"));
        QVERIFY(!w->doc.DataChanged && testsupport::dialogs().prompts.empty());
        const auto saved = filesIn(dir);
        QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(fileChanges(dir, saved), QString());
        QVERIFY(!w->mnuFileSave->isEnabled() && testsupport::dialogs().prompts.empty());
    }

    // A contour picture saved beside its project and opened again as a map
    // is named as that project: after registering it and recording a point,
    // File > Save asks for the project's name (offering it) instead of
    // writing over the project; the project changes only once the user
    // chooses that name, and the next save uses it without asking.
    void contourPictureKeepsItsProject() {
        copyData(dir, "survey.vlm survey.lab");
        auto w = openedWindow("survey.vlm");
        w->cmdShow->click();
        QTRY_VERIFY(w->picMap->isVisible());
        queueAnswers(dir, "survey.vlp"); // the name offered for the plot's picture
        w->cmdSave->click();
        const QByteArray project = testsupport::fileBytes(dir + "/survey.vlm");
        QVERIFY(QFileInfo::exists(dir + "/survey.vlp") && !project.isEmpty());
        testsupport::dialogs().clear();
        queueAnswers(dir, "survey.vlp");
        choose(*w, w->mnuFileOpenCon);
        QCOMPARE(w->doc.DataFileName, dir + "/survey.vlm");
        registerRecordAndSave(*w);
        QCOMPARE(promptLog(dir), QString("Save Data File As... [@/survey.vlm]"));
        QCOMPARE(testsupport::fileBytes(dir + "/survey.vlm"), project);
        queueAnswers(dir, "Yes|-"); // the close prompt asks for the name too
        choose(*w, w->mnuFileClose);
        QCOMPARE(testsupport::fileBytes(dir + "/survey.vlm"), project);
        QVERIFY(w->doc.DatCount == 1 && w->doc.DataChanged);
        queueAnswers(dir, "survey.vlm");
        choose(*w, w->mnuFileSave);
        QVERIFY(testsupport::fileBytes(dir + "/survey.vlm") != project && !w->doc.DataChanged);
        testsupport::dialogs().clear();
        w->doc.DataChanged = true;
        choose(*w, w->mnuFileSave);
        QVERIFY(testsupport::dialogs().prompts.empty() && !w->doc.DataChanged);
    }

    // A map imported from elsewhere is named as a project of the data
    // folder: where an earlier project already has that name, the first save
    // asks for the name (offering it) rather than replacing that project;
    // where none has it, the save writes the new project without a question.
    void importedMapKeepsAnEarlierProject_data() {
        testsupport::columns<QString, QString>("earlier", "prompts");
        QTest::newRow("name taken") << "map.vlm" << "Save Data File As... [@/map.vlm]";
        QTest::newRow("name free") << "" << "";
    }
    void importedMapKeepsAnEarlierProject() {
        QFETCH(QString, earlier);
        QFETCH(QString, prompts);
        if (!earlier.isEmpty()) QVERIFY(testsupport::writeFile(dir + '/' + earlier, "earlier project\r\n"));
        QDir(dir).mkdir("maps");
        makeImage(dir + "/maps/map.jpg");
        auto w = testsupport::startMainWindow();
        w->app.DataFolder = dir + '/';
        maptest::importMap(*w, dir + "/maps/map.jpg");
        registerRecordAndSave(*w);
        QCOMPARE(promptLog(dir), prompts);
        const QByteArray file = testsupport::fileBytes(dir + "/map.vlm");
        QCOMPARE(file == "earlier project\r\n", !earlier.isEmpty());
    }

    // A title, a map picture's name and a label beyond the 8-bit code page
    // are saved and come back as typed; the project names the map copied
    // beside it, so reopening finds it without asking.  The files are then
    // UTF-8 (no byte-order mark); Latin-1 and code-page texts keep their
    // byte (the golden files).
    void textOutsideCodePage() {
        copyData(dir, "survey.vlm survey.lab");
        auto w = openedWindow("survey.vlm");
        const QString title = u"Łódź Карта"_s, label = u"Río Grande → N"_s;
        const QString map = dir + u"/maps/Карта.jpg"_s;
        QDir(dir).mkdir("maps");
        QDir(dir).mkdir("proj");
        makeImage(map);
        w->doc.DataTitle = title;
        w->doc.MapFileName = map;
        w->doc.MapLabels[2].Text = label;
        queueAnswers(dir, u"proj/Карта.vlm"_s);
        choose(*w, w->mnuFileSaveAs);
        const QByteArray file = testsupport::fileBytes(dir + u"/proj/Карта.vlm"_s);
        QCOMPARE(file.left(file.indexOf("\r\n")),
                 "\xC5\x81\xC3\xB3" "d\xC5\xBA \xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0"); // the title

        auto again = testsupport::startMainWindow();
        testsupport::dialogs().clear();
        queueAnswers(dir, u"proj/Карта.vlm"_s);
        again->cmdDig->click();
        const Document& d = again->doc;
        QCOMPARE(promptLog(dir), "Open Vexolan File");
        QCOMPARE(QStringList({d.DataTitle, d.MapFileName, d.MapLabels[1].Text, d.MapLabels[2].Text}),
                 QStringList({title, dir + u"/proj/Карта.jpg"_s, "A", label}));
        QVERIFY(!again->imPoints->isHidden());
    }

    // Projects saved while Transverse Mercator's map X was per radian of
    // longitude and Standard Mercator's map Y per radian of latitude: lines
    // 4 to 6 as the earlier registration left them for a 4:3 sheet with
    // square pixels (105.5 W 40.0 N at 6000, 3000 twips, 105.0 W 39.6 N at
    // 20400, 18000 twips of a 30000 x 22500 picture; worked out by hand).
    // They open, contour on a grid of the sheet's proportions, and save
    // every point's latitude and longitude unchanged; a label stays at its
    // place on the sheet.
    void earlierMercatorUnits_data() {
        QTest::addColumn<QString>("files");
        QTest::newRow("transverse") << "earlier-tm.vlm earlier-tm.lab";
        QTest::newRow("standard") << "earlier-sm.vlm";
    }
    void earlierMercatorUnits() {
        QFETCH(QString, files);
        copyData(dir, files);
        makeImage(dir + "/sheet.jpg");
        const QString vlm = files.section(' ', 0, 0);
        // The rows of the project file: its lines of four items.
        const auto rows = [&] {
            QList<QByteArrayList> out;
            for (const QByteArray& line : testsupport::fileBytes(dir + '/' + vlm).split('\n'))
                if (const QByteArrayList items = line.simplified().split(' ');
                    items.size() == 4 && items[0].toInt())
                    out << items;
            return out;
        };
        const auto before = rows();
        QCOMPARE(before.size(), 12);
        auto w = openedWindow(vlm);
        const Document& d = w->doc;
        if (d.LabelCount)
            QCOMPARE(QString::number((d.MapLabels[1].X - d.MapOriginX) / d.MapSpanX, 'f', 4) + ' ' +
                         QString::number((d.MapOriginY - d.MapLabels[1].Y) / d.MapSpanY, 'f', 4),
                     QString("0.3913 0.4671"));
        w->cmdShow->click();
        QCOMPARE(QString::number(d.GridCols) + 'x' + QString::number(d.GridRows), QString("50x37"));
        w->cmdShow->click();
        queueAnswers(dir, vlm);
        w->cmdSave->click();
        QCOMPARE(promptLog(dir), "Open Vexolan File | Save Data File As... [@/" + vlm + ']');
        QCOMPARE(rows(), before);
    }

    // Projects saved under the word Degrees: an Easting/Northing map (its
    // reference values far beyond degrees; older versions left that word when
    // Linear was chosen after a projection) opens in metres and re-saves in
    // metres; a map whose values are degrees opens in degrees and re-saves
    // byte for byte.  Point 1 is then moved by Edit XY and saved again: the
    // read-out at point 1 || the system || its values offered || the values
    // typed || the files saved, before and after the move.
    void degreesWordProjects_data() {
        QTest::addColumn<QStringList>("c");
        QTest::newRow("easting/northing") << QStringList{
            "en-under-degrees.vlm", "3995000 N;  355000 E", "Projection: Linear Coordinates, Units: Meters",
            "355000.0 3995000.0", "355500 3995250", "en-under-degrees-meters.vlm en-under-degrees-moved.vlm"};
        QTest::newRow("degrees") << QStringList{
            "linear-degrees.vlm", "254.75° E;  40.50° N", "Projection: Linear Coordinates, Units: Degrees",
            "-105.25000 40.50000", "-105.3 40.6", "linear-degrees.vlm linear-degrees-moved.vlm"};
    }
    void degreesWordProjects() {
        QFETCH(QStringList, c);
        copyData(dir, c[0]);
        auto w = openedWindow(c[0]);
        const Document& d = w->doc;
        w->mapView->degreeFormatClick(DegreeFormatItem::Decimal2);
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        w->mapView->MapPosition(MapToPixelX(d, d.DatumPoints[1].X, W), MapToPixelY(d, d.DatumPoints[1].Y, H));
        QCOMPARE(w->imPoints->ToolTipText, c[1]);
        QCOMPARE(w->panel(1), c[2]);
        const auto savedAs = [&](const QString& expected) {
            queueAnswers(dir, c[0]);
            w->cmdSave->click();
            QCOMPARE(testsupport::fileBytes(dir + '/' + c[0]),
                     dataFile(expected).replace("@DIR@", dir.toUtf8()));
        };
        savedAs(c[5].section(' ', 0, 0));
        if (QTest::currentTestFailed()) return;
        testsupport::dialogs().clear();
        w->doc.SelectedPoint = QStringLiteral("D1");
        maptest::queueAll(c[4].split(' '));
        w->mnuPointEditXY->trigger();
        const auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(2));
        QCOMPARE(p[0].defaultText + ' ' + p[1].defaultText, c[3]);
        savedAs(c[5].section(' ', 1, 1));
    }
};

VEX_TEST(ProjectCommandsTest);
#include "ProjectCommandsTest.moc"
