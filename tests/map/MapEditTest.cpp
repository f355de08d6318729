// Editing the map's picture.  Straightening it before registration: rotate
// and skew through their input boxes, their undo and remembered answers, the
// edited picture offered at the save, and Edit Map with a stand-in editor
// known to the desktop as the default for the map's kind; also the rules that
// turn the editor's Exec line into a command line.  Scanning a new map
// through SANE's test scanner: the page becomes a new, unregistered map and
// may be kept as a JPEG file, the scanner's own settings, failures that leave
// no temporary page behind, the save question first, the source choice, and
// the Scan menu with no scanner set up.  Tables under tests/data/map.
#include "common/MapSupport.h"
#include "map/MapEditCommands.h"
#include "platform/ImagingObject.h"
#include "platform/Scanner.h"

#include <QComboBox>
#include <QDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QListWidget>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

using namespace maptest;

namespace {

// SANE reads where its configuration lies once per process: one folder for
// every test, whose backend list is rewritten.  The test scanner gives a
// colour page of 157 x 196 pixels (80 x 100 mm at 50 dpi); its test options
// give its settings window more rows than the screen has room for.
void useBackends(const QByteArray& dllConf) {
    static QTemporaryDir dir;
    if (qEnvironmentVariable("SANE_CONFIG_DIR") != dir.path()) {
        writeFile(dir.filePath(QStringLiteral("test.conf")),
                  "mode Color\nresolution 50\ntest-picture \"Color pattern\"\nbr_x 80.0\nbr_y 100.0\n"
                  "enable-test-options true\n");
        qputenv("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
    }
    writeFile(dir.filePath(QStringLiteral("dll.conf")), dllConf);
}

// Answers the scanner's settings window: "name=value" pairs set the option
// widgets of those names, then OK; a name no widget has cancels it.  First
// the window is shown, and `fit` tells whether its option boxes are whole
// (no horizontal scroll bar) and the window within the screen.
dlg::WindowScript settings(const QString& pairs, QString* fit) {
    return dlg::WindowScript([pairs, fit](QDialog* d) {
        d->show();
        if (QTest::qWaitForWindowExposed(d))
            *fit = QStringLiteral("horizontal bar %1, on the screen %2")
                       .arg(d->findChild<QScrollArea*>()->horizontalScrollBar()->isVisible())
                       .arg(d->screen()->availableGeometry().contains(d->frameGeometry()));
        d->hide();
        for (const QString& pair : pairs.split(u' ')) {
            const QString name = pair.section(u'=', 0, 0), value = pair.section(u'=', 1);
            if (auto* box = d->findChild<QComboBox*>(name)) box->setCurrentText(value);
            else if (auto* edit = d->findChild<QLineEdit*>(name)) edit->setText(value);
            else return int(QDialog::Rejected);
        }
        return int(QDialog::Accepted);
    });
}

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
        const QList<QAction*> commands{w->mnuOptRotDo, w->mnuOptSkewHoriz, w->mnuOptSkewVert};
        dl.queue(r.str(1)), commands[which]->trigger();
        const QStringList prompts = // the input boxes' texts, blank-line separated
            QString::fromUtf8(testsupport::fileBytes(testsupport::dataFile("map/edit-prompts.txt"))).split("\n\n");
        QCOMPARE(dl.prompts[0].text + u'|' + dl.prompts[0].title, prompts[which].trimmed() + "|Ferno Vexolan");
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
        dialogs().queue(QStringLiteral("10")), w->mapEditCommands->mnuOptRotDo_Click();
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
            dl.queue(vlm), w->cmdDig->click();
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

class ScanTest : public QObject {
    Q_OBJECT
    QTemporaryDir work;

private slots:
    void scan_data() { testsupport::addFileRows(QStringLiteral("map/scan.txt")); }
    void scan() {
        const auto r = testsupport::rowFields();
        const QString settings = r.str(1), save = r.str(2), title = r.str(3), message = r.str(6);
        const bool shown = settings != u'-', asked = save != u'-', failed = title == u'-';
        useBackends(r.str(0).toLatin1() + '\n');
        auto w = startWindow();
        w->settings->WriteSetting(QStringLiteral("Vexolan"), QStringLiteral("ShowScan"), shown ? "1" : "0");
        auto& dl = dialogs();
        QString fit;
        if (shown) dl.queue(::settings(settings, &fit));
        QFile::remove(work.filePath(QStringLiteral("quarry.jpg")));
        if (asked) save == QLatin1String("cancel") ? dl.queue(dlg::Cancel{}) : dl.queue(work.filePath(save));
        std::unique_ptr<ImagingObject> imaging; // without it the window cannot show the page
        if (QTest::currentDataTag() == QLatin1String("page not shown")) imaging = std::move(w->picImgX);
        if (save == QLatin1String("cancel")) w->mnuFileScanAcquire->trigger();
        else QTest::mouseClick(w->cmdScan, Qt::LeftButton);
        if (imaging) w->picImgX = std::move(imaging);
        const Document& d = w->doc;
        const QString temp = w->mapEditCommands->lastScanTempFile();
        QVERIFY(temp.endsWith(QStringLiteral("/temp1.bmp")) && !QFileInfo::exists(QFileInfo(temp).absolutePath()));
        QVERIFY(w->cursor().shape() == Qt::ArrowCursor && dl.answers.empty());
        QCOMPARE(dl.prompts.size(), size_t(shown + asked + (message != u'-')));
        if (shown) QVERIFY(dl.prompts[0].kind == dlg::Prompt::Kind::Window && dl.prompts[0].title == "Scan");
        if (shown) QCOMPARE(fit, QStringLiteral("horizontal bar 0, on the screen 1"));
        const dlg::Prompt &p = dl.prompts[shown], &last = dl.prompts.back(); // a failed save also says why
        QVERIFY(message == u'-' || (last.text.startsWith(message) && last.icon == dlg::Icon::Exclamation &&
                                    (last.text.size() > message.size() || failed)));
        if (asked)
            QCOMPARE(p.title + u'|' + p.defaultText + u'|' + p.filter,
                     "Save Map Image File|" + w->app.DataFolder + "Untitled Scan.jpg|Map Image Files (*.jpg)|*.jpg");
        const QString file = r.str(4), // in the documents or the test's folder
            folder = file.startsWith(QLatin1String("docs/")) ? w->app.DataFolder : work.path() + u'/';
        QCOMPARE(d.MapFileName, file == QLatin1String("temp") ? temp : file == u'-' ? QString() : folder + file.mid(5));
        const bool kept = file.startsWith(QLatin1String("work/")) && message == u'-'; // as a JPEG file
        QCOMPARE(QImageReader(d.MapFileName).size(), kept ? QSize(157, 196) : QSize());
        QVERIFY(!kept || QImageReader(d.MapFileName).format() == "jpeg");
        QVERIFY(!failed || (!w->cmdSave->isEnabled() && (w->imPoints->picture().isNull() || w->imPoints->isHidden())));
        if (failed) return; // the empty document names the page file that never came
        const QImage page = w->imPoints->picture();
        QVERIFY(qAbs(page.width() - r.whole(5)) <= 2 && d.ImageWidthPx == page.width());
        QVERIFY(r.whole(5) == 157 || page.isGrayscale());
        QVERIFY(d.DataTitle == title && d.DataFileName == w->app.DataFolder + title + ".vlm");
        QVERIFY(!d.MapRegistered && !d.DataChanged && d.DatCount + d.ConCount + d.LabelCount == 0);
        QCOMPARE(w->windowTitle() + w->labText->text(), "Ferno Vexolan: " + title + "Unregistered Map");
        QCOMPARE(w->panel(2), "Map:  " + title + " (register map by clicking on locations of known coordinates)");
        QVERIFY(w->cmdSave->isEnabled() && !w->optDat->isEnabled() && w->Frame8->title() == "Zoom = 1 (Page)");
    }

    // A page whose name was not given is only in memory: the project's save
    // writes it beside the project under the name it is recorded by, or
    // beside that name when an older page has it (which is kept), says so,
    // and the project opens again on that page.
    void unnamedPageIsSavedWithTheProject() {
        useBackends("test\n");
        auto w = startWindow();
        w->app.DataFolder = work.path() + u'/';
        writeMap(work, QStringLiteral("Scanned map.jpg"), 40, 30); // an older page
        dialogs().queue(dlg::Cancel{});
        w->cmdScan->click();
        registerLinear(*w);
        addPoint(*w, true, 1, 2000, 3000, 5);
        w->doc.DataChanged = true;
        dialogs().clear();
        emit w->mnuFile->aboutToShow();
        w->mnuFileSave->trigger();
        const QString page = work.filePath(QStringLiteral("Scanned map (2).jpg"));
        QCOMPARE(w->panel(2), QString("Map picture saved as Scanned map (2).jpg"));
        QVERIFY(dialogs().prompts.empty() && !w->doc.DataChanged);
        QCOMPARE(QImageReader(work.filePath(QStringLiteral("Scanned map.jpg"))).size(), QSize(40, 30));
        QCOMPARE(QImageReader(page).size(), QSize(157, 196));

        auto again = startWindow();
        dialogs().queue(work.filePath(QStringLiteral("Scanned map.vlm")));
        again->cmdDig->click();
        QCOMPARE(again->doc.MapFileName, page);
        QVERIFY(again->doc.DatCount == 1 && again->imPoints->picture().width() == 157);
    }

    // Both test devices are listed; the choice is kept for the next scan and
    // the next list, also when that list is cancelled.  With no scanner set
    // up there is no Scan menu.
    void sourceChoiceIsKeptForTheNextScan() {
        useBackends("test\n");
        auto w = startWindow();
        QStringList listed;
        for (int i = 0; i < 2; ++i) // choose the second device, then cancel the next list
            dialogs().queue(dlg::WindowScript([&, i](QDialog* d) {
                auto* list = d->findChild<QListWidget*>(QStringLiteral("lstSources"));
                for (int k = 0; k < list->count(); ++k) listed << list->item(k)->text();
                listed << QString::number(list->currentRow());
                list->setCurrentRow(1);
                return int(i == 0 ? QDialog::Accepted : QDialog::Rejected);
            }));
        for (int i = 0; i < 2; ++i) w->mnuFileScanSelect->trigger();
        QVERIFY(listed.size() == 6 && listed[1].endsWith(u"(test:1)") && listed[5] == "1" && !qApp->overrideCursor());
        QVERIFY(scanner::SelectedSource() == QLatin1String("test:1") && w->cursor().shape() == Qt::ArrowCursor);
        dialogs().queue(dlg::Cancel{}), w->cmdScan->click();
        QCOMPARE(w->imPoints->picture().size(), QSize(157, 196));
        useBackends("# none\n"); // no scanner set up: no Scan menu
        QVERIFY(!startWindow()->mnuFileScan->menuAction()->isEnabled());
    }
};
VEX_TEST(ScanTest);
#include "MapEditTest.moc"
