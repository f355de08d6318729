// Straightening the map before registration: rotate and skew through their
// input boxes, their undo, bad answers, and Edit Map with a stand-in editor
// known to the desktop as the default for the map's kind.  Also the pure
// desktop-entry rules that turn the editor's entry into a command line.
#include "common/TestRegistry.h"
#include "common/MapSupport.h"
#include "map/MapEditCommands.h"
#include "platform/ImagingObject.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

using maptest::importMap;
using maptest::startWindow;
using maptest::writeMap;

namespace {

const QString kRotatePrompt = QStringLiteral("Enter the number of degrees to rotate the map\n"
                                             "clockwise (+) or counterclockwise (-)");
const QString kSkewHPrompt = QStringLiteral("Enter the nuber of pixels to skew the upper left corner to the right or "
                                            "left (-)\n(relative to lower left corner)");
const QString kSkewVPrompt = QStringLiteral("Enter the nuber of pixels to skew the upper left corner downward or "
                                            "upward(-)\n(relative to upper right corner)");

bool writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(bytes);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return true;
}

QSize shownSize(const MainWindow& w) { return w.imPoints->picture().size(); }

// Restores the event pump a test replaced.
struct PumpGuard {
    std::function<void()> saved = MainWindow::DoEvents;
    ~PumpGuard() { MainWindow::DoEvents = saved; }
};

} // namespace

class MapEditTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath;

    std::unique_ptr<MainWindow> windowWithMap() {
        auto w = startWindow();
        importMap(*w, mapPath);
        testsupport::dialogs().clear();
        return w;
    }

private slots:
    void initTestCase() { mapPath = writeMap(dir, QStringLiteral("tilted.png"), 200, 100); }
    void init() { testsupport::dialogs().clear(); }

    void rotateTurnsTheShownMapAndFitsThePage() {
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        dl.queue(QStringLiteral("90"));
        w->mnuOptRotDo->trigger();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].kind, dlg::Prompt::Kind::Input);
        QCOMPARE(dl.prompts[0].text, kRotatePrompt);
        QCOMPARE(dl.prompts[0].title, QStringLiteral("Ferno Vexolan"));
        QCOMPARE(dl.prompts[0].defaultText, QString());
        QCOMPARE(w->doc.ImageWidthPx, 100.0f);
        QCOMPARE(w->doc.ImageHeightPx, 200.0f);
        QCOMPARE(shownSize(*w), QSize(100, 200));
        QVERIFY(!w->imPoints->isHidden());
        QCOMPARE(w->Frame8->title(), QStringLiteral("Zoom = 1 (Page)"));
        // The file and its name are untouched; the contact layer keeps the load's picture.
        QCOMPARE(w->doc.MapFileName, mapPath);
        QCOMPARE(QImage(mapPath).size(), QSize(200, 100));
        QCOMPARE(w->imContacts->picture().size(), QSize(200, 100));
        QVERIFY(!w->doc.DataChanged);

        // The last answer is offered next time.
        dl.queue(QStringLiteral("-90"));
        w->mnuOptRotDo->trigger();
        QCOMPARE(dl.prompts[1].defaultText, QStringLiteral("90"));
        QCOMPARE(shownSize(*w), QSize(200, 100));
        QCOMPARE(dl.unanswered, 0);
    }

    void answersThatAskForNothingLeaveTheMap_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("zero") << "0";
        QTest::newRow("no number") << "abc";
        QTest::newRow("empty or cancel") << "";
        QTest::newRow("skew below one pixel rounds to zero") << "0.7";
    }
    void answersThatAskForNothingLeaveTheMap() {
        QFETCH(QString, answer);
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        const QImage before = w->imPoints->picture();
        for (QAction* a : {w->mnuOptRotDo, w->mnuOptSkewHoriz, w->mnuOptSkewVert}) {
            // A fraction turns the map; only the skews round it away.
            if (answer == QLatin1String("0.7") && a == w->mnuOptRotDo) continue;
            dl.queue(answer);
            a->trigger();
            QCOMPARE(w->imPoints->picture(), before);
            QCOMPARE(w->doc.ImageWidthPx, 200.0f);
        }
        // Only the input boxes were shown.
        for (const dlg::Prompt& p : dl.prompts) QCOMPARE(p.kind, dlg::Prompt::Kind::Input);
    }

    void cancelReplacesTheRememberedAnswer() {
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        dl.queue(QStringLiteral("12"));
        w->mnuOptSkewHoriz->trigger();
        dl.queue(dlg::Cancel{});
        w->mnuOptSkewHoriz->trigger();
        dl.queue(dlg::Cancel{});
        w->mnuOptSkewHoriz->trigger();
        QCOMPARE(dl.prompts[1].defaultText, QStringLiteral("12"));
        QCOMPARE(dl.prompts[2].defaultText, QString());
        // Each command remembers its own answer.
        dl.queue(dlg::Cancel{});
        w->mnuOptSkewVert->trigger();
        QCOMPARE(dl.prompts[3].defaultText, QString());
        QCOMPARE(dl.prompts[3].text, kSkewVPrompt);
        QCOMPARE(dl.prompts[0].text, kSkewHPrompt);
    }

    void skewGrowsTheMapByWholePixelsRoundedDown() {
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        dl.queue(QStringLiteral("-2.5"));
        w->mnuOptSkewHoriz->trigger();
        QCOMPARE(shownSize(*w), QSize(203, 100));
        dl.queue(QStringLiteral("10"));
        w->mnuOptSkewVert->trigger();
        QCOMPARE(shownSize(*w), QSize(203, 110));
        QCOMPARE(w->doc.ImageWidthPx, 203.0f);
        QCOMPARE(w->doc.ImageHeightPx, 110.0f);
        // The uncovered corner is the button face colour.
        const QColor face = QApplication::palette().color(QPalette::Button);
        QCOMPARE(w->imPoints->picture().pixelColor(0, 0).rgb(), face.rgb());
        w->mnuOptSkewUndo->trigger();
        QCOMPARE(shownSize(*w), QSize(200, 100));
        QCOMPARE(w->doc.ImageWidthPx, 200.0f);
    }

    void undoGivesBackTheFilesImage() {
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        const QImage original = w->imPoints->picture();
        dl.queue(QStringLiteral("45"));
        w->mnuOptRotDo->trigger();
        dl.queue(QStringLiteral("45"));
        w->mnuOptRotDo->trigger();
        QVERIFY(shownSize(*w) != QSize(200, 100));
        w->mnuOptRotUndo->trigger();
        QCOMPARE(w->imPoints->picture(), original);
        QCOMPARE(w->picImgX->picture(), original);

        // A change of resolution reloads the file as well.
        dl.queue(QStringLiteral("30"));
        w->mnuOptRotDo->trigger();
        w->mnuViewRes50->trigger();
        QCOMPARE(shownSize(*w), QSize(100, 50));
        w->mnuViewRes100->trigger();
        QCOMPARE(w->imPoints->picture(), original);
    }

    void tooLargeASkewIsReportedAndChangesNothing() {
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        const QImage before = w->imPoints->picture();
        dl.queue(QStringLiteral("1E12"));
        w->mnuOptSkewVert->trigger();
        QCOMPARE(dl.prompts.size(), size_t(2));
        QCOMPARE(dl.prompts[1].text, QStringLiteral("Skew error: \n\nOverflow"));
        QCOMPARE(dl.prompts[1].icon, dlg::Icon::Exclamation);
        QCOMPARE(w->imPoints->picture(), before);
        QCOMPARE(w->picImgX->picture().size(), QSize(200, 100));
    }

    void withoutAMapTheCommandsReportAndGoOn() {
        auto w = startWindow();
        auto& dl = testsupport::dialogs();
        dl.queue(QStringLiteral("10"));
        w->mapEditCommands->mnuOptRotDo_Click();
        QCOMPARE(dl.prompts.size(), size_t(2));
        QVERIFY(dl.prompts[1].text.startsWith(QStringLiteral("Rotate error: ")));
        QVERIFY(w->imPoints->picture().isNull());
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }

    void editMenuOffersTheEditsOnlyBeforeRegistration() {
        auto w = windowWithMap();
        emit w->mnuOpt->aboutToShow();
        QVERIFY(w->mnuOptRot->menuAction()->isEnabled());
        QVERIFY(w->mnuOptSkew->menuAction()->isEnabled());
        QVERIFY(w->mnuOptEdit->isEnabled());
        maptest::registerLinear(*w);
        emit w->mnuOpt->aboutToShow();
        QVERIFY(!w->mnuOptRot->menuAction()->isEnabled());
        QVERIFY(!w->mnuOptSkew->menuAction()->isEnabled());
        QVERIFY(!w->mnuOptEdit->isEnabled());
    }

    // A map straightened before registration is kept with the project: the
    // save offers the edited picture as a JPEG file, which the project then
    // names, so that the points sit on it when the project is opened again.
    // Declined, the user is told that the project keeps the original.
    void editedMapIsOfferedWhenTheProjectIsSaved_data() {
        QTest::addColumn<bool>("keep");
        QTest::newRow("saved") << true;
        QTest::newRow("declined") << false;
    }
    void editedMapIsOfferedWhenTheProjectIsSaved() {
        QFETCH(bool, keep);
        auto w = windowWithMap();
        auto& dl = testsupport::dialogs();
        dl.queue(QStringLiteral("90"));
        w->mnuOptRotDo->trigger();
        maptest::registerLinear(*w);
        dl.clear();
        QTemporaryDir project;
        const QString vlm = project.filePath(QStringLiteral("sheet.vlm"));
        dl.queue(vlm);
        if (keep) dl.queue(project.filePath(QStringLiteral("straight")));
        else dl.queue(dlg::Cancel{});
        w->cmdSave->click();
        QCOMPARE(dl.prompts.size(), size_t(keep ? 2 : 3));
        QCOMPARE(dl.prompts[1].title, QStringLiteral("Save Map Image File As..."));
        QCOMPARE(dl.prompts[1].defaultText, dir.filePath(QStringLiteral("tilted.jpg")));
        QCOMPARE(dl.prompts[1].filter, QStringLiteral("JPEG Image File (*.jpg)|*.jpg"));
        if (!keep)
            QCOMPARE(dl.prompts[2].text, QStringLiteral("The rotated or skewed map picture was not saved: the project "
                                                        "keeps the original picture ") + mapPath + u'.');
        const QString named = project.filePath(keep ? QStringLiteral("straight.jpg") : QStringLiteral("tilted.png"));
        QCOMPARE(w->doc.MapFileName, named);
        if (keep) QCOMPARE(QImageReader(named).format(), QByteArray("jpeg"));
        // Asked once: the next save writes the project alone.
        dl.clear();
        emit w->mnuFile->aboutToShow();
        w->mnuFileSave->trigger();
        QVERIFY(dl.prompts.empty());

        dl.queue(vlm);
        w->cmdDig->click();
        QCOMPARE(w->doc.MapFileName, named);
        QCOMPARE(shownSize(*w), keep ? QSize(100, 200) : QSize(200, 100));
    }

    // ---- Edit Map ----

    void editMapWaitsForTheEditorAndReloads() {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) QSKIP("xdg-mime is not installed");
        QTemporaryDir work;
        const QString map = writeMap(work, QStringLiteral("field.png"), 200, 100);
        const QString edited = writeMap(work, QStringLiteral("edited.png"), 120, 90);
        const QString log = work.filePath(QStringLiteral("args.txt"));
        const QString script = work.filePath(QStringLiteral("painter.sh"));
        QVERIFY(writeFile(script,
                          "#!/bin/sh\nsleep 0.3\necho \"$@\" > '" + QFile::encodeName(log) + "'\ncp '" +
                              QFile::encodeName(edited) + "' \"$1\"\n",
                          true));
        installEditor(QStringLiteral("vexedit.desktop"), "Exec=\"" + QFile::encodeName(script) + "\" %f\n");

        auto w = startWindow();
        importMap(*w, map);
        auto& dl = testsupport::dialogs();
        dl.clear();
        PumpGuard guard;
        bool sawDisabled = false, closedWhileWaiting = false;
        MainWindow* win = w.get();
        MainWindow::DoEvents = [&] {
            if (!win->isEnabled() && !sawDisabled) {
                sawDisabled = true;
                // Closing the window while the editor runs is refused.
                closedWhileWaiting = win->close();
            }
            QCoreApplication::processEvents();
        };
        w->mnuOptEdit->trigger();
        QVERIFY(sawDisabled);
        QVERIFY(!closedWhileWaiting);
        QVERIFY(w->isEnabled());
        QCOMPARE(dl.prompts.size(), size_t(0));
        QCOMPARE(QString::fromLocal8Bit(readAll(log)).trimmed(), map);
        // The edited file is the map now; the document keeps its name.
        QCOMPARE(shownSize(*w), QSize(120, 90));
        QCOMPARE(w->doc.MapFileName, map);
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        removeEditor();
    }

    void editMapWithoutAKnownEditor() {
        QTemporaryDir work;
        const QString map = writeMap(work, QStringLiteral("field.png"), 200, 100);
        removeEditor();
        // Nor does the system know one.
        QTemporaryDir noSystemData;
        const QByteArray oldDataDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", noSystemData.path().toLocal8Bit());
        auto restore = qScopeGuard([&] { qputenv("XDG_DATA_DIRS", oldDataDirs); });
        auto w = startWindow();
        importMap(*w, map);
        auto& dl = testsupport::dialogs();
        dl.clear();
        w->mapEditCommands->MapEdit();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].text, QStringLiteral("Default editor not found!"));
        QCOMPARE(dl.prompts[0].icon, dlg::Icon::Exclamation);
        QCOMPARE(dl.prompts[0].title, QStringLiteral("Ferno Vexolan"));
        QVERIFY(w->isEnabled());

        // A map file that is gone has no editor either.
        dl.clear();
        w->doc.MapFileName = work.filePath(QStringLiteral("gone.png"));
        w->mapEditCommands->MapEdit();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].text, QStringLiteral("Default editor not found!"));
    }

    // An editor that has no place for the file is not started; one that
    // cannot start is reported; the map stays as it was either way.
    void editMapWhenTheEditorCannotServe_data() {
        QTest::addColumn<QByteArray>("exec");
        QTest::addColumn<QString>("message");
        QTest::newRow("no place for the file") << QByteArray("Exec=SCRIPT\n") << "Unable to open file for edit";
        QTest::newRow("cannot start") << QByteArray("Exec=MISSING %U\n") << "Unable to start editor.";
    }
    void editMapWhenTheEditorCannotServe() {
        QFETCH(QByteArray, exec);
        QFETCH(QString, message);
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) QSKIP("xdg-mime is not installed");
        QTemporaryDir work;
        const QString map = writeMap(work, QStringLiteral("field.png"), 200, 100);
        const QString marker = work.filePath(QStringLiteral("started"));
        const QString script = work.filePath(QStringLiteral("viewer.sh"));
        QVERIFY(writeFile(script, "#!/bin/sh\n: > '" + QFile::encodeName(marker) + "'\n", true));
        exec.replace("SCRIPT", QFile::encodeName(script)).replace("MISSING", QFile::encodeName(work.filePath("no-such-editor")));
        installEditor(QStringLiteral("vexview.desktop"), exec);
        auto w = startWindow();
        importMap(*w, map);
        auto& dl = testsupport::dialogs();
        dl.clear();
        w->mapEditCommands->MapEdit();
        QCOMPARE(dl.prompts.size(), size_t(1));
        QCOMPARE(dl.prompts[0].text, message);
        QCOMPARE(dl.prompts[0].icon, dlg::Icon::Information);
        QVERIFY(!QFile::exists(marker));
        QVERIFY(w->isEnabled());
        QCOMPARE(shownSize(*w), QSize(200, 100));
        removeEditor();
    }

    // ---- desktop entries ----

    void execLines_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("takesFile");
        QTest::addColumn<QStringList>("argv");
        const QString f = QStringLiteral("/maps/my map.png");
        QTest::newRow("file") << "gimp-2.10 %f" << true << true << QStringList{"gimp-2.10", f};
        QTest::newRow("files and urls") << "pinta %U" << true << true << QStringList{"pinta", f};
        QTest::newRow("no file") << "viewer" << true << false << QStringList{"viewer"};
        QTest::newRow("quoted program") << "\"/opt/My Paint/paint\" --edit %F" << true << true
                                        << QStringList{"/opt/My Paint/paint", "--edit", f};
        QTest::newRow("escapes in quotes") << "sh -c \"echo \\\"\\$1\\\"\" %f" << true << true
                                           << QStringList{"sh", "-c", "echo \"$1\"", f};
        QTest::newRow("icon and name") << "app %i --title=%c %f" << true << true
                                       << QStringList{"app", "--icon", "paint", "--title=Paint", f};
        QTest::newRow("deprecated codes dropped") << "app %d %m %f" << true << true << QStringList{"app", f};
        QTest::newRow("percent") << "app 100%% %f" << true << true << QStringList{"app", "100%", f};
        QTest::newRow("embedded file") << "app --open=%f" << true << true << QStringList{"app", "--open=" + f};
        QTest::newRow("unknown code") << "app %z %f" << false << false << QStringList{};
        QTest::newRow("unclosed quote") << "\"app %f" << false << false << QStringList{};
        QTest::newRow("empty") << "" << false << false << QStringList{};
        QTest::newRow("only codes") << "%f" << true << true << QStringList{f};
    }
    void execLines() {
        QFETCH(QString, exec);
        QFETCH(bool, valid);
        QFETCH(bool, takesFile);
        QFETCH(QStringList, argv);
        const mapedit::EditorCommand c = mapedit::expandExec(exec, QStringLiteral("/maps/my map.png"),
                                                             QStringLiteral("Paint"), QStringLiteral("paint"));
        QCOMPARE(c.valid, valid);
        QCOMPARE(c.takesFile, takesFile);
        if (valid) QCOMPARE(c.argv, argv);
    }

    void desktopEntryGroupAndKeys() {
        const QString text = QStringLiteral(
            "# comment\n[Desktop Action new]\nExec=wrong %f\n[Desktop Entry]\nName=Paint\nName[de]=Malen\n"
            "Icon=paint\nExec=paint\\s--x %f\nExec=second\n");
        const mapedit::DesktopEntry e = mapedit::parseDesktopEntry(text);
        QVERIFY(e.valid);
        QCOMPARE(e.exec, QStringLiteral("paint --x %f"));
        QCOMPARE(e.name, QStringLiteral("Paint"));
        QCOMPARE(e.icon, QStringLiteral("paint"));
        QVERIFY(!mapedit::parseDesktopEntry(QStringLiteral("[Other]\nExec=x\n")).valid);
    }

    void skewAmounts_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("pixels");
        QTest::newRow("whole") << "12" << 12;
        QTest::newRow("down") << "2.9" << 2;
        QTest::newRow("negative half") << "-2.5" << -3;
        QTest::newRow("leading number") << "7px" << 7;
        QTest::newRow("no number") << "x" << 0;
        QTest::newRow("hex") << "&H10" << 16;
    }
    void skewAmounts() {
        QFETCH(QString, answer);
        QFETCH(int, pixels);
        QCOMPARE(mapedit::skewPixels(answer), pixels);
    }

private:
    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString appsDir() { return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications"); }
    static QString mimeList() { return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list"); }
    void installEditor(const QString& id, const QByteArray& execLine) {
        QVERIFY(writeFile(appsDir() + QLatin1Char('/') + id,
                          "[Desktop Entry]\nType=Application\nName=Stand-in\n" + execLine + "MimeType=image/png;\n"));
        QVERIFY(writeFile(mimeList(), "[Default Applications]\nimage/png=" + id.toUtf8() + "\n"));
    }
    static void removeEditor() {
        QFile::remove(mimeList());
        QDir(appsDir()).removeRecursively();
    }
};
VEX_TEST(MapEditTest);
#include "MapEditTest.moc"
