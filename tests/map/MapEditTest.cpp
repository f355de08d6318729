// Straightening the map before registration: rotate and skew through their
// input boxes, their undo and remembered answers, the edited picture offered
// at the save, and Edit Map with a stand-in editor known to the desktop as
// the default for the map's kind.  Also the rules that turn the editor's
// Exec line into a command line.  Tables under tests/data/map.
#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "map/MapEditCommands.h"
#include "platform/ImagingObject.h"

#include <QImageReader>
#include <QScopeGuard>

using namespace maptest;
using testsupport::dialogs;

namespace {

const QString kPrompts[] = {
    QStringLiteral("Enter the number of degrees to rotate the map\nclockwise (+) or counterclockwise (-)"),
    QStringLiteral("Enter the nuber of pixels to skew the upper left corner to the right or left (-)\n"
                   "(relative to lower left corner)"),
    QStringLiteral("Enter the nuber of pixels to skew the upper left corner downward or upward(-)\n"
                   "(relative to upper right corner)")};

QSize shownSize(const MainWindow& w) { return w.imPoints->picture().size(); }

} // namespace

class MapEditTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString mapPath = writeMap(dir, QStringLiteral("tilted.png"), 200, 100);

private slots:
    void editCommands_data() { testsupport::addFileRows(QStringLiteral("map/edit-commands.txt")); }
    void editCommands() {
        const auto r = testsupport::rowFields();
        auto w = windowWithMap(mapPath);
        auto& dl = dialogs();
        const QImage original = w->imPoints->picture();
        const int which = QStringList{"rotate", "skewH", "skewV"}.indexOf(r.str(0));
        dl.queue(r.str(1));
        QList<QAction*>{w->mnuOptRotDo, w->mnuOptSkewHoriz, w->mnuOptSkewVert}[which]->trigger();
        QVERIFY(dl.prompts[0].kind == dlg::Prompt::Kind::Input && dl.prompts[0].text == kPrompts[which]);
        QVERIFY(dl.prompts[0].title == QLatin1String("Ferno Vexolan") && dl.prompts[0].defaultText.isEmpty());
        const QString message = r.str(3).replace(QLatin1String("\\n"), QLatin1String("\n"));
        QCOMPARE(dl.prompts.size(), size_t(message == u'-' ? 1 : 2));
        if (message != u'-') QVERIFY(dl.prompts[1].text == message && dl.prompts[1].icon == dlg::Icon::Exclamation);
        const QSize size = shownSize(*w);
        QCOMPARE(QStringLiteral("%1x%2 %3x%4").arg(size.width()).arg(size.height()).arg(w->doc.ImageWidthPx)
                     .arg(w->doc.ImageHeightPx), r.str(2) == u'-' ? "200x100 200x100" : r.str(2) + u' ' + r.str(2));
        QVERIFY(r.str(2) != u'-' || w->imPoints->picture() == original);
        // A skew leaves the corner it uncovers in the button face colour.
        if (which > 0 && r.str(2) != u'-')
            QCOMPARE(w->imPoints->picture().pixelColor(0, r.str(1).startsWith(u'-') ? 99 : 0).rgb(),
                     QApplication::palette().color(QPalette::Button).rgb());
        // The file, its name and the contact layer keep the load's picture.
        QVERIFY(w->doc.MapFileName == mapPath && QImage(mapPath).size() == QSize(200, 100) && !w->doc.DataChanged);
        QVERIFY(w->imContacts->picture().size() == QSize(200, 100) && w->Frame8->title() == "Zoom = 1 (Page)");
        (which == 0 ? w->mnuOptRotUndo : w->mnuOptSkewUndo)->trigger();
        QVERIFY(w->imPoints->picture() == original && w->picImgX->picture() == original && w->doc.ImageWidthPx == 200);
    }

    // The last answer is offered next time, each command its own; a cancel
    // replaces it.  Without a map the commands report an error.
    void rememberedAnswers() {
        auto w = windowWithMap(mapPath);
        auto& dl = dialogs();
        queueAll({"45", "45", "12"});
        for (int i = 0; i < 3; ++i) dl.queue(dlg::Cancel{});
        for (QAction* a : {w->mnuOptRotDo, w->mnuOptRotDo, w->mnuOptSkewHoriz, w->mnuOptSkewHoriz, w->mnuOptSkewHoriz,
                           w->mnuOptSkewVert})
            a->trigger();
        QStringList defaults;
        for (const dlg::Prompt& p : dl.prompts) defaults << p.defaultText;
        QCOMPARE(defaults, (QStringList{"", "45", "", "12", "", ""}));
        auto empty = startWindow(); // without a map the command reports and goes on
        dl.queue(QStringLiteral("10"));
        empty->mapEditCommands->mnuOptRotDo_Click();
        QVERIFY(dl.prompts.back().text.startsWith(QStringLiteral("Rotate error: ")) && empty->imPoints->isHidden());
    }

    // Rotate, skew and Edit Map are offered only before registration.  A map
    // straightened before registration is kept with the project: the save
    // offers the edited picture as a JPEG file, which the project then names,
    // so that the points sit on it when the project is opened again.
    // Declined, the user is told that the project keeps the original.
    void editedMapIsOfferedWhenTheProjectIsSaved() {
        for (bool keep : {true, false}) {
            auto w = windowWithMap(mapPath);
            auto& dl = dialogs();
            for (bool before : {true, false}) {
                emit w->mnuOpt->aboutToShow();
                QVERIFY(w->mnuOptRot->menuAction()->isEnabled() == before && w->mnuOptEdit->isEnabled() == before);
                QCOMPARE(w->mnuOptSkew->menuAction()->isEnabled(), before);
                dl.queue(QStringLiteral("90"));
                if (before) w->mnuOptRotDo->trigger();
                if (before) registerLinear(*w);
            }
            dl.clear();
            QTemporaryDir project;
            const QString vlm = project.filePath(QStringLiteral("sheet.vlm"));
            dl.queue(vlm);
            keep ? dl.queue(project.filePath(QStringLiteral("straight"))) : dl.queue(dlg::Cancel{});
            w->cmdSave->click();
            QCOMPARE(dl.prompts.size(), size_t(keep ? 2 : 3));
            QCOMPARE(dl.prompts[1].title + dl.prompts[1].filter,
                     QStringLiteral("Save Map Image File As...JPEG Image File (*.jpg)|*.jpg"));
            QCOMPARE(dl.prompts[1].defaultText, dir.filePath(QStringLiteral("tilted.jpg")));
            if (!keep)
                QCOMPARE(dl.prompts[2].text, "The rotated or skewed map picture was not saved: the project keeps "
                                             "the original picture " + mapPath + u'.');
            const QString named = project.filePath(QLatin1String(keep ? "straight.jpg" : "tilted.png"));
            QVERIFY(w->doc.MapFileName == named && (!keep || QImageReader(named).format() == "jpeg"));
            dl.clear(); // asked once: the next save writes the project alone
            emit w->mnuFile->aboutToShow();
            w->mnuFileSave->trigger();
            QVERIFY(dl.prompts.empty());
            dl.queue(vlm);
            w->cmdDig->click();
            QVERIFY(w->doc.MapFileName == named && shownSize(*w) == (keep ? QSize(100, 200) : QSize(200, 100)));
        }
    }

    // Edit Map with the desktop's default editor for PNG: a stand-in that
    // logs its arguments and paints a 120 x 90 picture over the file.  The
    // window waits for it disabled, refuses to close meanwhile, and reloads
    // the map; an entry without a place for the file, an editor that cannot
    // start, no editor known and a map file that has gone are reported, and
    // then nothing was waited on.  Only the Desktop Entry group's first Exec
    // counts, unescaped (\s is a blank).
    void editMap_data() {
        for (const char* c : {"exec", "message"}) QTest::addColumn<QString>(c);
        QTest::newRow("waits and reloads") << "Exec=\"SCRIPT\"\\s%f" << "";
        QTest::newRow("no place for the file") << "Exec=SCRIPT" << "Unable to open file for edit";
        QTest::newRow("cannot start") << "Exec=MISSING %U" << "Unable to start editor.";
        QTest::newRow("no editor known") << "" << "Default editor not found!";
        QTest::newRow("map file gone") << "Exec=SCRIPT %f" << "Default editor not found!";
    }
    void editMap() {
        QFETCH(QString, exec);
        QFETCH(QString, message);
        QTemporaryDir work, noSystemData;
        const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
        if (exec.isEmpty()) qputenv("XDG_DATA_DIRS", noSystemData.path().toLocal8Bit()); // nor does the system know one
        const QString apps = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
        const QString mimeList = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list");
        const std::function<void()> pump = MainWindow::DoEvents;
        auto restore = qScopeGuard([&] {
            qputenv("XDG_DATA_DIRS", dataDirs);
            QFile::remove(mimeList), QDir(apps).removeRecursively(), MainWindow::DoEvents = pump;
        });
        const QString map = writeMap(work, QStringLiteral("field.png"), 200, 100);
        const QString edited = writeMap(work, QStringLiteral("edited.png"), 120, 90);
        const QString log = work.filePath(QStringLiteral("args.txt")), script = work.filePath(QStringLiteral("e.sh"));
        QVERIFY(writeFile(script, "#!/bin/sh\necho \"$@\" > '" + log.toLocal8Bit() + "'\ncp '" + edited.toLocal8Bit() +
                                      "' \"$1\"\n", true));
        exec.replace(QLatin1String("SCRIPT"), script).replace(QLatin1String("MISSING"), work.filePath("none"));
        if (!exec.isEmpty())
            QVERIFY(writeFile(apps + QStringLiteral("/vexedit.desktop"),
                              "# stand-in\n[Desktop Action new]\nExec=wrong\n[Desktop Entry]\nName=Stand-in\nIcon=a\n" +
                                  exec.toLocal8Bit() + "\nExec=second\nIcon=b\nMimeType=image/png;\n"));
        QVERIFY(writeFile(mimeList, "[Default Applications]\nimage/png=vexedit.desktop\n"));
        auto w = windowWithMap(map);
        auto& dl = dialogs();
        if (QTest::currentDataTag() == QLatin1String("map file gone")) w->doc.MapFileName = work.filePath("gone.png");
        int waits = 0, closedWhileWaiting = false;
        MainWindow::DoEvents = [&] {
            if (!w->isEnabled() && waits++ == 0) closedWhileWaiting = w->close();
            QCoreApplication::processEvents();
        };
        w->mnuOptEdit->trigger();
        const bool edits = message.isEmpty();
        QCOMPARE(waits > 0, edits);
        QVERIFY(!closedWhileWaiting && w->isEnabled() && w->cursor().shape() == Qt::ArrowCursor);
        QCOMPARE(dl.prompts.size(), size_t(!edits));
        QVERIFY(edits || (dl.prompts[0].text == message && (dl.prompts[0].icon == dlg::Icon::Exclamation) ==
                                                                message.startsWith(u'D')));
        // The stand-in ran with the map file only when it was waited on.
        QCOMPARE(QString::fromLocal8Bit(testsupport::fileBytes(log)).trimmed(), edits ? map : QString());
        QCOMPARE(shownSize(*w), edits ? QSize(120, 90) : QSize(200, 100));
        QVERIFY(!edits || w->doc.MapFileName == map); // the document keeps its name
    }

    void execLines_data() { testsupport::addFileRows(QStringLiteral("map/edit-exec.txt")); }
    void execLines() {
        const auto r = testsupport::rowFields();
        const QString file = QStringLiteral("/maps/my map.png");
        const mapedit::EditorCommand c =
            mapedit::expandExec(r.str(0), file, QStringLiteral("Paint"), QStringLiteral("paint"));
        QVERIFY(c.valid == r.flag(1) && c.takesFile == r.flag(2));
        if (c.valid) QCOMPARE(c.argv.join(QLatin1String(" ; ")), r.str(3).replace(QLatin1String("FILE"), file));
    }
};
VEX_TEST(MapEditTest);
#include "MapEditTest.moc"
