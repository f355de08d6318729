// Straightening the map before registration: rotate and skew through their
// input boxes, their undo and remembered answers, the edited picture offered
// at the save, and Edit Map with a stand-in editor known to the desktop as
// the default for the map's kind.  Also the rules that turn the editor's
// Exec line into a command line.  Tables under tests/data/map.
#include "common/MapSupport.h"
#include "map/MapEditCommands.h"
#include "platform/ImagingObject.h"

#include <QImageReader>
#include <QScopeGuard>

using namespace maptest;

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
        const QList<QAction*> commands{w->mnuOptRotDo, w->mnuOptSkewHoriz, w->mnuOptSkewVert};
        dl.queue(r.str(1));
        commands[which]->trigger();
        const QStringList prompts = // the input boxes' texts, blank-line separated
            QString::fromUtf8(testsupport::fileBytes(testsupport::dataFile("map/edit-prompts.txt"))).split("\n\n");
        QVERIFY(dl.prompts[0].kind == dlg::Prompt::Kind::Input && dl.prompts[0].text == prompts[which].trimmed());
        QVERIFY(dl.prompts[0].title == QLatin1String("Ferno Vexolan") && dl.prompts[0].defaultText.isEmpty());
        const QString message = r.str(3).replace(QLatin1String("\\n"), QLatin1String("\n"));
        QCOMPARE(dl.prompts.size(), size_t(message == u'-' ? 1 : 2));
        if (message != u'-') QVERIFY(dl.prompts[1].text == message && dl.prompts[1].icon == dlg::Icon::Exclamation);
        const QSize size = w->imPoints->picture().size();
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
        // The answer is offered next time, each command its own; a cancel replaces it.
        dl.clear();
        for (QAction* a : {commands[(which + 1) % 3], commands[which], commands[which]})
            dl.queue(dlg::Cancel{}), a->trigger();
        QCOMPARE(dl.prompts[0].defaultText + u'|' + dl.prompts[1].defaultText + u'|' + dl.prompts[2].defaultText,
                 u'|' + r.str(1) + u'|');
    }

    // Without a map the command reports and goes on.
    void rotateWithoutAMap() {
        auto w = startWindow();
        dialogs().queue(QStringLiteral("10"));
        w->mapEditCommands->mnuOptRotDo_Click();
        QVERIFY(dialogs().prompts.back().text.startsWith(QStringLiteral("Rotate error: ")) && w->imPoints->isHidden());
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
                QCOMPARE((QList<bool>{w->mnuOptRot->menuAction()->isEnabled(), w->mnuOptSkew->menuAction()->isEnabled(),
                                      w->mnuOptEdit->isEnabled()}), QList<bool>(3, before));
                if (before) dl.queue(QStringLiteral("90")), w->mnuOptRotDo->trigger(), registerLinear(*w);
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
            QVERIFY(w->doc.MapFileName == named);
            QCOMPARE(w->imPoints->picture().size(), keep ? QSize(100, 200) : QSize(200, 100));
        }
    }

    // Edit Map with the desktop's default editor for PNG: a stand-in that
    // logs its arguments and paints a 120 x 90 picture over the file.  The
    // window waits for it disabled, refuses to close meanwhile, and reloads
    // the map; an entry without a place for the file, an editor that cannot
    // start, no editor known and a map file that has gone are reported, and
    // then nothing was waited on.  Only the Desktop Entry group's first Exec
    // counts, unescaped (\s is a blank).
    void editMap_data() { testsupport::addFileRows(QStringLiteral("map/edit-map.txt")); }
    void editMap() {
        const auto r = testsupport::rowFields();
        QTemporaryDir work; // the desktop's entries and defaults of this case alone
        testsupport::EnvOverride data("XDG_DATA_HOME", work.filePath(QStringLiteral("data")).toLocal8Bit()),
            config("XDG_CONFIG_HOME", work.filePath(QStringLiteral("config")).toLocal8Bit()),
            system("XDG_DATA_DIRS", r.str(0).isEmpty() ? work.path().toLocal8Bit() : qgetenv("XDG_DATA_DIRS"));
        auto restore = qScopeGuard([pump = MainWindow::DoEvents] { MainWindow::DoEvents = pump; });
        const QString map = writeMap(work, QStringLiteral("field.png"), 200, 100);
        const QString edited = writeMap(work, QStringLiteral("edited.png"), 120, 90);
        const QString log = work.filePath(QStringLiteral("args.txt")), script = work.filePath(QStringLiteral("e.sh"));
        QVERIFY(writeFile(script, "#!/bin/sh\necho \"$@\" > '" + log.toLocal8Bit() + "'\ncp '" + edited.toLocal8Bit() +
                                      "' \"$1\"\n", true));
        QString exec = r.str(0);
        exec.replace(QLatin1String("SCRIPT"), script).replace(QLatin1String("MISSING"), work.filePath("none"));
        if (!exec.isEmpty())
            QVERIFY(writeFile(work.filePath(QStringLiteral("data/applications/vexedit.desktop")),
                              "# stand-in\n[Desktop Action new]\nExec=wrong\n[Desktop Entry]\nName=Stand-in\nIcon=a\n" +
                                  exec.toLocal8Bit() + "\nExec=second\nIcon=b\nMimeType=image/png;\n"));
        QVERIFY(writeFile(work.filePath(QStringLiteral("config/mimeapps.list")),
                          "[Default Applications]\nimage/png=vexedit.desktop\n"));
        auto w = windowWithMap(map);
        auto& dl = dialogs();
        if (QTest::currentDataTag() == QLatin1String("map file gone")) w->doc.MapFileName = work.filePath("gone.png");
        int waits = 0, closedWhileWaiting = false;
        MainWindow::DoEvents = [&] {
            if (!w->isEnabled() && waits++ == 0) closedWhileWaiting = w->close();
            QCoreApplication::processEvents();
        };
        w->mnuOptEdit->trigger();
        const QString& message = r.str(1);
        const bool edits = message == u'-';
        QCOMPARE(waits > 0, edits);
        QVERIFY(!closedWhileWaiting && w->isEnabled() && w->cursor().shape() == Qt::ArrowCursor);
        QCOMPARE(dl.prompts.size(), size_t(!edits));
        QVERIFY(edits || (dl.prompts[0].text == message && (dl.prompts[0].icon == dlg::Icon::Exclamation) ==
                                                                message.startsWith(u'D')));
        // The stand-in ran with the map file only when it was waited on.
        QCOMPARE(QString::fromLocal8Bit(testsupport::fileBytes(log)).trimmed(), edits ? map : QString());
        QCOMPARE(w->imPoints->picture().size(), edits ? QSize(120, 90) : QSize(200, 100));
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
