// Saving through the real main window: SaveData in a temporary folder, the
// save ways with their dialogs, Save As, File > Close and its prompt.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"
#include "document/ProjectCommands.h"
#include "document/ProjectFile.h"
#include "platform/ImagingObject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>


namespace {

std::unique_ptr<MainWindow> startWindow() {
    auto w = testsupport::startMainWindow();
    return w;
}

using testsupport::fileBytes;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString makeImage(const QString& path, QColor colour = Qt::darkGreen) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(colour);
    if (!img.save(path, "JPG")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The save commands a loaded map enables.
void enableAsLoaded(MainWindow& w) {
    w.cmdSave->setEnabled(true);
    w.mnuFileSaveAs->setEnabled(true);
}

// Chooses a File menu item as the user does: the menu drops down first and
// enables its items by the document's state.
void choose(MainWindow& w, QAction* item) {
    emit w.mnuFile->aboutToShow();
    item->trigger();
}

// A registered structural map in metres with three datum points and one
// contour point, whose image lies in its own folder.
void makeRegistered(MainWindow& w, const QString& mapPath, int points = 3) {
    Document& d = w.doc;
    w.picImgX->load(mapPath);
    d.MapFileName = mapPath;
    d.DataTitle = QStringLiteral("Test");
    d.ImageWidthPx = 40;
    d.ImageHeightPx = 30;
    d.MapSpanX = 400;
    d.MapSpanY = 300;
    d.MapOriginX = 1000;
    d.MapOriginY = 2000;
    d.RefMapX1 = 1100;
    d.RefMapX2 = 1300;
    d.RefMapY1 = 1900;
    d.RefMapY2 = 1750;
    d.ProjectionName = QStringLiteral("Linear Coordinates");
    d.CoordUnits = QStringLiteral("Meters");
    d.MapRegistered = true;
    w.optStruc->setValue(true);
    d.DatumPoints.assign(1, DataPoint{});
    for (int i = 1; i <= points; ++i) {
        DataPoint p;
        p.Number = int16_t(i);
        p.X = 1000 + 10.5f * float(i);
        p.Y = 1800 + 3.25f * float(i);
        p.Z = float(i) * 2;
        d.DatumPoints.push_back(p);
    }
    d.DatCount = points;
    DataPoint c;
    c.Number = 1;
    c.X = 1200;
    c.Y = 1850;
    c.Z = 7.5f;
    d.ContourPoints = {DataPoint{}, c};
    d.ConCount = 1;
    w.txtMin->setText(QStringLiteral("2"));
    w.txtMax->setText(QStringLiteral("9"));
    enableAsLoaded(w);
}

MapLabel label(const QString& text) {
    MapLabel l;
    l.Text = text;
    l.X = 1050;
    l.Y = 1900;
    l.FontBold = true;
    l.Color = 16777215;
    l.FontName = QStringLiteral("Arial");
    l.FontSize = 12;
    return l;
}

Document readProject(const QString& path) {
    Document d;
    d.clearData();
    ProjectReadState st;
    readProjectFile(fileBytes(path), d, st);
    return d;
}

} // namespace

class SaveCommandsTest : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    QString dir;

private slots:
    void init() {
        testsupport::dialogs().clear();
        dir = tmp.path() + "/" + QTest::currentTestFunction();
        if (QTest::currentDataTag()) dir += QString("_") + QString(QTest::currentDataTag()).replace(' ', '_');
        QDir().mkpath(dir);
    }

    // ---- SaveData ------------------------------------------------------

    // The map image is copied beside the project once; the project names
    // the copy; saving again copies nothing.
    void saveDataCopiesTheMapOnce() {
        auto w = startWindow();
        const QString map = makeImage(dir + "/elsewhere, too/map.jpg");
        makeRegistered(*w, map);
        w->doc.DataFileName = dir + "/proj/survey.vlm";
        QDir().mkpath(dir + "/proj");
        QVERIFY(w->projectCommands->SaveData());
        const QString copy = dir + "/proj/map.jpg";
        QCOMPARE(w->doc.MapFileName, copy);
        QCOMPARE(fileBytes(copy), fileBytes(map));
        QCOMPARE(readProject(dir + "/proj/survey.vlm").MapFileName, copy);

        // A different image of the same name at the source is not copied over
        // the one beside the project.
        makeImage(map, Qt::blue);
        const QByteArray before = fileBytes(copy);
        w->doc.MapFileName = map;
        QVERIFY(w->projectCommands->SaveData());
        QCOMPARE(fileBytes(copy), before);
        QCOMPARE(w->doc.MapFileName, map);
        QVERIFY(testsupport::dialogs().prompts.empty());
        w->doc.DataChanged = false;
    }

    // Empty limit boxes are saved as "0" and show "0" afterwards.
    void saveDataEmptyLimits() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/a.vlm";
        w->txtMin->setText(QString());
        w->txtMax->setText(QString());
        QVERIFY(w->projectCommands->SaveData());
        QCOMPARE(w->txtMin->text(), QString("0"));
        QCOMPARE(w->txtMax->text(), QString("0"));
        const QByteArray line4 = fileBytes(dir + "/a.vlm").split('\n')[3];
        QCOMPARE(line4.mid(56, 14), QByteArray("0             "));
        QCOMPARE(line4.mid(70, 14), QByteArray("0             "));
    }

    // Labels are written beside the project; with no labels a label file of
    // that name is deleted.
    void saveDataLabelFile() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/b.vlm";
        w->doc.MapLabels = {MapLabel{}, label("One"), label("Two, \"three\"")};
        w->doc.LabelCount = 2;
        QVERIFY(w->projectCommands->SaveData());
        QCOMPARE(w->doc.LabFileName, dir + "/b.lab");
        QCOMPARE(fileBytes(dir + "/b.lab"),
                 QByteArray("\"One\",1050,1900,#TRUE#,16777215,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n"
                            "\"Two, ''three''\",1050,1900,#TRUE#,16777215,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n"));

        w->doc.MapLabels.clear();
        w->doc.LabelCount = 0;
        QVERIFY(w->projectCommands->SaveData());
        QVERIFY(!QFile::exists(dir + "/b.lab"));
        QVERIFY(QFile::exists(dir + "/b.vlm"));
    }

    // The disk filling under a save: the project or its labels failing at
    // the last flush leaves both old files byte for byte and no temporary, is
    // reported once by SaveData, leaves the document changed, and Save As
    // keeps the window on the old project's name.
    void failedWriteKeepsTheOldFiles_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("labels");
        QTest::addColumn<QString>("saveAs");   // "": File > Save
        QTest::addColumn<QString>("failing");
        QTest::newRow("project, Save") << 60 << 0 << "" << "c.vlm";
        QTest::newRow("labels, Save") << 3 << 60 << "" << "c.lab";
        QTest::newRow("project, Save As") << 60 << 0 << "new.vlm" << "new.vlm";
    }
    void failedWriteKeepsTheOldFiles() {
        QFETCH(int, points);
        QFETCH(int, labels);
        QFETCH(QString, saveAs);
        QFETCH(QString, failing);
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"), points);
        w->doc.MapLabels.assign(1, MapLabel{});
        for (int i = 0; i < labels; ++i) w->doc.MapLabels.push_back(label(QString(60, 'x')));
        w->doc.LabelCount = labels;
        w->doc.DataFileName = dir + "/c.vlm";
        writeBytes(dir + "/c.vlm", "old project\r\n");
        writeBytes(dir + "/c.lab", "old labels\r\n");
        w->setDocumentCaption("c");
        const QString folder = w->app.DataFolder;
        // Labels fail only once the project itself is complete.
        const qint64 limit = labels ? writeProjectFile(w->doc, w->projectCommands->controls()).size() + 16 : 1024;
        auto& dlgs = testsupport::dialogs();
        {
            testsupport::FileSizeLimit full(limit);
            if (saveAs.isEmpty()) {
                w->doc.DataChanged = true;
                choose(*w, w->mnuFileSave);
            } else {
                dlgs.queue(QString(dir + "/" + saveAs));
                choose(*w, w->mnuFileSaveAs);
            }
        }
        QCOMPARE(fileBytes(dir + "/c.vlm"), QByteArray("old project\r\n"));
        QCOMPARE(fileBytes(dir + "/c.lab"), QByteArray("old labels\r\n"));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList({"c.lab", "c.vlm", "map.jpg"}));
        QCOMPARE(dlgs.prompts.size(), size_t(saveAs.isEmpty() ? 1 : 2));
        QCOMPARE(dlgs.prompts.back().text, "SaveDAta error: \n\nCannot write " + dir + "/" + failing + ": File too large");
        QCOMPARE(dlgs.prompts.back().icon, dlg::Icon::Information);
        QVERIFY(!w->saveSucceeded);
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->doc.DataFileName, dir + "/c.vlm");
        QCOMPARE(w->windowTitle(), QString("Ferno Vexolan: c"));
        QCOMPARE(w->app.DataFolder, folder);
        QCOMPARE(w->doc.MapFileName, dir + "/map.jpg");
    }

    void saveDataWithoutAName() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName.clear();
        QVERIFY(!w->projectCommands->SaveData());
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1));
        QVERIFY(QDir(dir).entryList(QDir::Files) == QStringList({"map.jpg"}));
    }

    // ---- the save ways -------------------------------------------------

    // C: right after opening (nothing changed) the button asks for a name,
    // proposing the project's own.
    void wayCProject() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/old.vlm";
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(QString(dir + "/new.vlm"));
        w->cmdSave->click();
        QCOMPARE(dlgs.prompts.size(), size_t(1));
        QCOMPARE(dlgs.prompts[0].kind, dlg::Prompt::Kind::Save);
        QCOMPARE(dlgs.prompts[0].title, QString("Save Data File As..."));
        QCOMPARE(dlgs.prompts[0].defaultText, dir + "/old.vlm");
        QCOMPARE(dlgs.prompts[0].filter, QString("Map Data Files (*.vlm)|*.vlm"));
        QVERIFY(w->saveSucceeded);
        QCOMPARE(w->doc.DataFileName, dir + "/new.vlm");
        QCOMPARE(w->app.DataFolder, dir + "/");
        QCOMPARE(w->windowTitle(), QString("Ferno Vexolan: new"));
        QCOMPARE(w->panel(2), QString("Data:  Test (structural contours)"));
        QCOMPARE(readProject(dir + "/new.vlm").DatCount, 3);
        QVERIFY(!w->doc.DataChanged);
    }

    // A cancelled save dialog writes nothing and keeps the changed state; a
    // project without a name proposes the map's name with ".vlm".
    void cancelledDialogKeepsTheState_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("Save without a name") << "" << true << false << "map.vlm";
        QTest::newRow("Save As, changed") << "p.vlm" << true << true << "p.vlm";
        QTest::newRow("Save As, unchanged") << "p.vlm" << false << true << "p.vlm";
    }
    void cancelledDialogKeepsTheState() {
        QFETCH(QString, name);
        QFETCH(bool, changed);
        QFETCH(bool, saveAs);
        QFETCH(QString, proposed);
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        if (!name.isEmpty()) w->doc.DataFileName = dir + "/" + name;
        w->doc.DataChanged = changed;
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(dlg::Cancel{});
        choose(*w, saveAs ? w->mnuFileSaveAs : w->mnuFileSave);
        QCOMPARE(dlgs.prompts.size(), size_t(1));
        QCOMPARE(dlgs.prompts[0].defaultText, dir + "/" + proposed);
        QCOMPARE(w->doc.DataChanged, changed);
        QVERIFY(!w->saveSucceeded);
        QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{"map.jpg"});
    }

    // D: File > Save writes under the current name without a dialog.
    void wayDProject() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/d.vlm";
        w->doc.DataChanged = true;
        choose(*w, w->mnuFileSave);
        QVERIFY(testsupport::dialogs().prompts.empty());
        QVERIFY(w->saveSucceeded);
        QVERIFY(!w->doc.DataChanged);
        QCOMPARE(w->DialogFileName, dir + "/d.vlm");
        QCOMPARE(readProject(dir + "/d.vlm").ConCount, 1);
    }

    // B: an unregistered map is saved as a JPEG image, and the project name
    // it will later be saved under is set.
    void wayBMapImage() {
        auto w = startWindow();
        w->picImgX->load(makeImage(dir + "/scan.bmp.jpg"));
        w->doc.MapFileName = dir + "/scan.bmp.jpg";
        w->doc.DataTitle = "Scan";
        enableAsLoaded(*w);
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(QString(dir + "/out/scan.jpg"));
        QDir().mkpath(dir + "/out");
        w->cmdSave->click();
        QCOMPARE(dlgs.prompts.size(), size_t(1));
        QCOMPARE(dlgs.prompts[0].title, QString("Save Map Image File As..."));
        QCOMPARE(dlgs.prompts[0].defaultText, dir + "/scan.bmp.jpg");
        QCOMPARE(w->doc.MapFileName, dir + "/out/scan.jpg");
        QCOMPARE(w->doc.DataFileName, w->app.DataFolder + "scan.vlm");
        QVERIFY(QImage(dir + "/out/scan.jpg").width() == 40);
        QCOMPARE(w->windowTitle(), QString("Ferno Vexolan: scan"));
        QCOMPARE(w->panel(2), QString("Map:  Scan (register map by clicking on locations of known coordinates)"));
        QVERIFY(!QFile::exists(w->doc.DataFileName));
        QVERIFY(w->saveSucceeded);
    }

    // B failing: reported once, the map keeps naming the image that exists.
    void wayBFailure() {
        auto w = startWindow();
        const QString map = makeImage(dir + "/m.jpg");
        w->picImgX->load(map);
        w->doc.MapFileName = map;
        enableAsLoaded(*w);
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(QString(dir + "/no such folder/m2.jpg"));
        w->cmdSave->click();
        QCOMPARE(dlgs.prompts.size(), size_t(2));
        QCOMPARE(dlgs.prompts[1].text, QString("Error in saving file <>!"));
        QCOMPARE(dlgs.prompts[1].title, QString("Vexolan"));
        QCOMPARE(dlgs.prompts[1].icon, dlg::Icon::Exclamation);
        QCOMPARE(w->doc.MapFileName, map);
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->saveSucceeded);
    }

    // A and E: while the plot is shown the contour picture is saved; the
    // document's own changes still count as unsaved.
    void contourPicture() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/e.vlm";
        QImage plot(50, 40, QImage::Format_RGB32);
        plot.fill(Qt::yellow);
        w->picMap->setPicture(plot);
        w->picMap->show();
        auto& dlgs = testsupport::dialogs();

        // E: File > Save, no dialog, named after the dialog's last file.
        w->DialogFileName = dir + "/last.vlm";
        w->doc.DataChanged = true;
        choose(*w, w->mnuFileSave);
        QVERIFY(dlgs.prompts.empty());
        QCOMPARE(QImage(dir + "/last.vlp").width(), 50);
        QVERIFY(!QFile::exists(dir + "/e.vlm"));
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!w->saveSucceeded);
        QCOMPARE(w->DialogFileName, dir + "/e.vlm");

        // A: Save As asks for the picture's name.
        w->DialogFileTitle.clear();
        dlgs.queue(QString(dir + "/pic.vlp"));
        choose(*w, w->mnuFileSaveAs);
        QCOMPARE(dlgs.prompts.size(), size_t(1));
        QCOMPARE(dlgs.prompts[0].title, QString("Save Contour Image File"));
        QCOMPARE(dlgs.prompts[0].defaultText, w->app.DataFolder + "Untitled.vlp");
        QCOMPARE(dlgs.prompts[0].filter, QString("Contour Image File (*.vlp)|*.vlp"));
        QCOMPARE(QImage(dir + "/pic.vlp").height(), 40);
        QVERIFY(w->doc.DataChanged);
        QVERIFY(!QFile::exists(dir + "/e.vlm"));

        // The picture is never written under another extension (a project's
        // name, say); a name without one gets ".vlp".
        writeBytes(dir + "/isopach.vlm", "project");
        dlgs.clear();
        dlgs.queue(QString(dir + "/isopach.vlm"));
        dlgs.queue(dlg::Answer::OK);
        dlgs.queue(QString(dir + "/pic2"));
        choose(*w, w->mnuFileSaveAs);
        QCOMPARE(dlgs.prompts.size(), size_t(3));
        QCOMPARE(dlgs.prompts[1].text,
                 QString("A contour image file must have the extension \".vlp\": isopach.vlm cannot be used."));
        QCOMPARE(dlgs.prompts[1].icon, dlg::Icon::Exclamation);
        QCOMPARE(dlgs.prompts[2].title, QString("Save Contour Image File"));
        QCOMPARE(dlgs.prompts[2].defaultText, dir + "/isopach.vlp");
        QCOMPARE(fileBytes(dir + "/isopach.vlm"), QByteArray("project"));
        QCOMPARE(QImage(dir + "/pic2.vlp").height(), 40);
        QCOMPARE(w->DialogFileName, dir + "/e.vlm");

        // The next dialog proposes the name last chosen in it, in the data folder.
        dlgs.clear();
        dlgs.queue(dlg::Cancel{});
        w->doc.DataChanged = false;
        w->cmdSave->click();
        QCOMPARE(dlgs.prompts[0].defaultText, w->app.DataFolder + "pic2.vlp");
        QVERIFY(!w->doc.DataChanged);
    }

    // Once every point is removed, the points recorded next are a new data
    // set: its first save asks for the name (offering the project's own),
    // also from the close prompt, so the earlier project is replaced only
    // when the user chooses its name.
    void saveAfterRemovingAllDataAsksForTheName() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/earlier.vlm";
        w->doc.DataChanged = true;
        choose(*w, w->mnuFileSave);
        const QByteArray earlier = fileBytes(dir + "/earlier.vlm");
        QCOMPARE(readProject(dir + "/earlier.vlm").DatCount, 3);

        auto& dlgs = testsupport::dialogs();
        dlgs.queue(dlg::Answer::Yes);
        emit w->mnuOpt->aboutToShow();
        w->mnuOptClearAll->trigger();
        QCOMPARE(w->doc.DatCount + w->doc.ConCount, 0);
        w->optIso->setValue(true);
        w->doc.DatumPoints = {DataPoint{}, DataPoint{1, 1100, 1900, 12.5f, false}};
        w->doc.DatCount = 1;
        w->markers->labDat.load(1);
        w->doc.DataChanged = true;

        dlgs.clear();
        dlgs.queue(dlg::Cancel{});
        w->cmdSave->click();
        dlgs.queue(dlg::Answer::Yes);
        dlgs.queue(dlg::Cancel{});
        choose(*w, w->mnuFileClose);
        dlgs.queue(QString(dir + "/isopach.vlm"));
        choose(*w, w->mnuFileSave);
        QCOMPARE(dlgs.prompts.size(), size_t(4));
        for (size_t i : {size_t(0), size_t(2), size_t(3)}) {
            QCOMPARE(dlgs.prompts[i].title, QString("Save Data File As..."));
            QCOMPARE(dlgs.prompts[i].defaultText, dir + "/earlier.vlm");
        }
        QCOMPARE(fileBytes(dir + "/earlier.vlm"), earlier);
        QCOMPARE(readProject(dir + "/isopach.vlm").DatCount, 1);

        // The new project is saved under its own name from now on.
        dlgs.clear();
        w->doc.DataChanged = true;
        choose(*w, w->mnuFileSave);
        QVERIFY(dlgs.prompts.empty());
        QVERIFY(w->saveSucceeded);
    }

    // ---- File > Close --------------------------------------------------

    void closeAnswers_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("plot");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("folder");   // where the project is named
        QTest::newRow("yes") << int(dlg::Answer::Yes) << false << true << true << "";
        QTest::newRow("yes with the plot shown") << int(dlg::Answer::Yes) << true << true << true << "";
        QTest::newRow("no") << int(dlg::Answer::No) << false << true << false << "";
        QTest::newRow("cancel") << int(dlg::Answer::Cancel) << false << false << false << "";
        // A save that fails keeps the document.
        QTest::newRow("yes, the save failing") << int(dlg::Answer::Yes) << false << false << false << "/missing folder";
    }

    void closeAnswers() {
        QFETCH(int, answer);
        QFETCH(bool, plot);
        QFETCH(bool, cleared);
        QFETCH(bool, saved);
        QFETCH(QString, folder);
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + folder + "/close.vlm";
        w->doc.DataChanged = true;
        if (plot) {
            QImage img(10, 10, QImage::Format_RGB32);
            img.fill(Qt::white);
            w->picMap->setPicture(img);
            w->picMap->show();
            w->DialogFileName = dir + "/close.vlm";
        }
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(dlg::Answer(answer));
        choose(*w, w->mnuFileClose);
        QCOMPARE(dlgs.prompts.size(), size_t(folder.isEmpty() ? 1 : 2));
        if (!folder.isEmpty()) QVERIFY(dlgs.prompts[1].text.startsWith("SaveDAta error: "));
        QCOMPARE(dlgs.prompts[0].text, QString("close.vlm has changed.\nWould you like to save it?"));
        QCOMPARE(dlgs.prompts[0].icon, dlg::Icon::Question);
        QCOMPARE(dlgs.prompts[0].buttons, dlg::Buttons::YesNoCancel);
        QCOMPARE(w->doc.DatCount == 0, cleared);
        QCOMPARE(QFile::exists(dir + "/close.vlm"), saved);
        QVERIFY(!QFile::exists(dir + "/close.vlp"));
        if (saved) QCOMPARE(readProject(dir + "/close.vlm").DatCount, 3);
        if (!cleared) QVERIFY(w->doc.DataChanged && w->doc.MapRegistered);
    }

    // Nothing changed, or an unregistered map: Close asks nothing.
    void closeWithoutQuestion() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        choose(*w, w->mnuFileClose);
        QVERIFY(testsupport::dialogs().prompts.empty());
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(!w->doc.MapRegistered);
    }

    // The program's exit with a changed project answered Yes saves it under
    // a name asked for, and a cancelled dialog keeps the window open.
    void exitPrompt() {
        auto w = startWindow();
        makeRegistered(*w, makeImage(dir + "/map.jpg"));
        w->doc.DataFileName = dir + "/exit.vlm";
        w->doc.DataChanged = true;
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(dlg::Answer::Yes);
        dlgs.queue(dlg::Cancel{});
        QVERIFY(!w->close());
        QVERIFY(w->doc.DataChanged);
        dlgs.queue(dlg::Answer::Yes);
        dlgs.queue(QString(dir + "/exit.vlm"));
        QVERIFY(w->close());
        QCOMPARE(readProject(dir + "/exit.vlm").DatCount, 3);
    }

    // ---- forwarders ----------------------------------------------------

    void openItemAsksForAProject() {
        auto w = startWindow();
        auto& dlgs = testsupport::dialogs();
        dlgs.queue(dlg::Cancel{});
        choose(*w, w->mnuFileOpenDig);
        QCOMPARE(dlgs.prompts.size(), size_t(1));
        QCOMPARE(dlgs.prompts[0].kind, dlg::Prompt::Kind::Open);
        QCOMPARE(dlgs.prompts[0].title, QString("Open Vexolan File"));
        QCOMPARE(dlgs.prompts[0].filter, QString("Map Data Files (*.vlm)|*.vlm|"));
        QVERIFY(!w->BusyLoading);
        dlgs.queue(dlg::Cancel{});
        w->cmdDig->click();
        QCOMPARE(dlgs.prompts.size(), size_t(2));
    }
};

VEX_TEST(SaveCommandsTest);
#include "SaveCommandsTest.moc"
