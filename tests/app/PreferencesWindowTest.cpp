// The preferences window, the splash with its update reminder and the
// about box, on the real main window.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/PreferencesWindow.h"
#include "common/AppSupport.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "common/TestTable.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace appsupport;
using testsupport::columns;
using testsupport::dialogs;

class PreferencesWindowTest : public QObject {
    Q_OBJECT
    QStringList sounds;
    std::function<void(const QString&, bool)> realSound = PreferencesWindow::playSound;
    std::function<QDate()> realToday = AboutBox::today;

private slots:
    void init() {
        SettingsStore().ClearSection(Sec);
        dialogs().clear();
        sounds.clear();
        PreferencesWindow::playSound = [this](const QString& name, bool async) {
            sounds << name + (async ? QStringLiteral(" async") : QStringLiteral(" wait"));
        };
        AboutBox::today = [] { return QDate(2026, 3, 9); };
    }
    void cleanup() {
        PreferencesWindow::playSound = realSound;
        AboutBox::today = realToday;
    }

    // State: chkUp, UpdateClicked, chkScanShow, chkFastPrint, scanning usable; the size.
    void load_data() {
        columns<QStringList, bool, QString>("stored", "scanner", "state");
        QTest::newRow("stored") << QStringList{"PrintPreviewSize=7000x", "Update=True", "ShowScan=1", "FastPrint=0"}
                                << true << "11101 7000x";
        QTest::newRow("defaults, odd reminder, no scanner") << QStringList{"Update=7"} << false << "00010 6060";
    }
    void load() {
        QFETCH(bool, scanner);
        auto w = testsupport::startMainWindow();
        w->scannerAvailable = [scanner] { return scanner; };
        store(col<QStringList>("stored"));
        PreferencesWindow p(*w);
        QTEST(bits({p.chkUp->isChecked(), p.UpdateClicked, p.chkScanShow->isChecked(), p.chkFastPrint->isChecked(),
                    p.chkScanShow->isEnabled() && p.Frame3->isEnabled()}) + ' ' + p.txtPrevSize->text(),
              "state");
        QCOMPARE(p.Dir1->path() + QLatin1Char('/'), w->app.DataFolder);
        QCOMPARE(sounds, QStringList{QStringLiteral("RestoreUp async")});
    }

    // File > Preferences, left by OK, Cancel or the window's close button.
    // Changed: the folder, the reminder on and off, the size, fast printing.
    // Written: Update, UpdateDate, ShowScan, FastPrint, PrintPreviewSize.
    void leaving_data() {
        columns<QStringList, bool, QString, QString>("stored", "changed", "button", "written");
        QTest::newRow("OK after changes") << QStringList{} << true << "OK" << "0 03-09-2026 0 0 abc";
        QTest::newRow("OK, untouched") << QStringList{} << false << "OK" << "0 <none> 0 1 6060";
        QTest::newRow("OK, reminder on at load") << QStringList{"Update=1"} << false << "OK" << "1 03-09-2026 0 1 6060";
        QTest::newRow("Cancel") << QStringList{} << true << "Cancel" << "<none> <none> <none> <none> <none>";
        QTest::newRow("closed") << QStringList{} << true << "close" << "<none> <none> <none> <none> <none>";
    }
    void leaving() {
        QFETCH(bool, changed);
        QFETCH(QString, button);
        auto w = testsupport::startMainWindow();
        w->scannerAvailable = [] { return false; };
        SettingsStore().ClearSection(Sec); // the start-up's own writes
        store(col<QStringList>("stored"));
        QTemporaryDir other;
        const QString folder = changed && button == QLatin1String("OK") ? other.path() + QLatin1Char('/') : w->app.DataFolder;
        w->DialogInitDir.clear();
        dialogs().queue(dlg::WindowScript([&](QDialog* d) {
            auto* p = qobject_cast<PreferencesWindow*>(d);
            if (changed) {
                p->Dir1->setPath(other.path());
                p->chkUp->setChecked(true);
                p->chkUp->setChecked(false);
                p->txtPrevSize->setText(QStringLiteral("abc"));
                p->chkFastPrint->setChecked(false);
            }
            if (button == QLatin1String("close")) p->reject();
            else QTest::mouseClick(button == QLatin1String("OK") ? p->cmdOK : p->cmdCancel, Qt::LeftButton);
            return p->result();
        }));
        w->mnuFilePreferences->trigger();
        QCOMPARE(dialogs().unanswered, 0);
        QStringList written;
        for (const char* key : {"Update", "UpdateDate", "ShowScan", "FastPrint", "PrintPreviewSize"})
            written << setting(QLatin1String(key));
        QTEST(written.join(QLatin1Char(' ')), "written");
        QCOMPARE(w->app.DataFolder, folder);
        QCOMPARE(setting(QStringLiteral("DataPath")), folder);
        QCOMPARE(w->DialogInitDir, folder);
        QCOMPARE(sounds, (QStringList{QStringLiteral("RestoreUp async"), QStringLiteral("RestoreDown wait")}));
    }

    // New Folder makes a folder inside the one shown and moves into it; an
    // existing name or one leading elsewhere is refused with a message.  The
    // folder list around it: no trailing separator, a missing folder refused,
    // the subfolders after the folder's own line, a double click going in.
    void newFolder_data() {
        columns<QString, bool>("answer", "made"); // "<cancel>" cancels
        QTest::newRow("new") << "Maps 2026" << true;
        QTest::newRow("cancelled") << "<cancel>" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("existing") << "old" << false;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("nested") << "a/b" << false;
        QTest::newRow("outside") << "../escape" << false;
    }
    void newFolder() {
        QFETCH(QString, answer);
        QFETCH(bool, made);
        QTemporaryDir base;
        QDir(base.path()).mkdir(QStringLiteral("old"));
        auto w = testsupport::startMainWindow();
        PreferencesWindow p(*w);
        p.Dir1->setPath(base.path() + QLatin1Char('/'));
        sounds.clear();
        const bool refused = answer.size() > 0 && answer != QLatin1String("<cancel>") && !made;
        if (answer == QLatin1String("<cancel>")) dialogs().queue(dlg::Cancel{});
        else dialogs().queue(answer);
        if (refused) dialogs().queue(dlg::Answer::OK);
        p.cmdCreate_Click();
        QCOMPARE(sounds, QStringList{QStringLiteral("SystemQuestion async")});
        const auto& asked = dialogs().prompts;
        QCOMPARE(asked[0].title + QLatin1Char('|') + asked[0].text,
                 QStringLiteral("Create Folder|Type the name of the new folder to create in <%1>:").arg(base.path()));
        QCOMPARE(asked.size(), size_t(refused ? 2 : 1));
        if (refused) QCOMPARE(asked[1].icon, dlg::Icon::Exclamation);
        QVERIFY_THROWS_EXCEPTION(std::exception, p.Dir1->setPath(base.path() + QStringLiteral("/missing")));
        QCOMPARE(p.Dir1->path(), made ? base.path() + QLatin1Char('/') + answer : base.path());
        QCOMPARE(QDir(base.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (made ? QStringList{answer, QStringLiteral("old")} : QStringList{QStringLiteral("old")}));
        QVERIFY(!QFileInfo::exists(base.path() + QStringLiteral("/../escape")));
        emit p.Dir1->itemDoubleClicked(p.Dir1->item(p.Dir1->count() - 1));
        QCOMPARE(p.Dir1->path(), base.path() + QLatin1Char('/') + (made ? answer : QStringLiteral("old")));
    }
};
VEX_TEST(PreferencesWindowTest);

class AboutBoxTest : public QObject {
    Q_OBJECT
    std::function<QDate()> realToday = AboutBox::today;

private slots:
    void init() {
        SettingsStore().ClearSection(Sec);
        AboutBox::today = [] { return QDate(2026, 3, 31); };
        AboutBox::updateWaitMs = 0;
        dialogs().clear();
    }
    void cleanup() { AboutBox::today = realToday; }

    void texts() {
        QCOMPARE(AboutBox::versionText(2, 5, 12), QStringLiteral("Version: 2.05.0012*"));
        for (const char* date : {"3/5/2024", "3/15/2024", "12/5/2024", "12/15/2024"})
            QCOMPARE(AboutBox::cutDateText(QLatin1String(date) + QStringLiteral(" 10:00:00 AM")), QLatin1String(date));
        QCOMPARE(AboutBox::dateText(QDate(2026, 1, 2)), QStringLiteral("01-02-2026"));
        QVERIFY(!AboutBox::reminderDue(QStringLiteral("garbage"), QDate(2026, 3, 31)));
    }

    // The splash hides after eleven ticks or a click.  With the reminder on
    // it then asks once the last check is over 30 days old; off, the unload
    // writes today's date.
    void splash_data() {
        columns<QStringList, QString, bool, QString>("stored", "click", "asked", "written");
        const auto stored = [](const char* update, const char* date) {
            return QStringList{QStringLiteral("Update=") + update, QStringLiteral("UpdateDate=") + date};
        };
        QTest::newRow("reminder off writes today") << stored("0", "12-31-2025") << "" << false << "03-31-2026";
        QTest::newRow("31 days") << stored("1", "02-28-2026") << "" << true << "02-28-2026";
        QTest::newRow("30 days") << stored("1", "03-01-2026") << "" << false << "03-01-2026";
        QTest::newRow("first start writes today") << QStringList{"Update=1"} << "" << false << "03-31-2026";
        QTest::newRow("title click skips it") << stored("1", "12-31-2025") << "title" << false << "12-31-2025";
        QTest::newRow("background click hides only") << stored("1", "12-31-2025") << "background" << true << "12-31-2025";
    }
    void splash() {
        QFETCH(QString, click);
        QFETCH(bool, asked);
        store(col<QStringList>("stored"));
        MainWindow w;
        w.FormLoad();
        QPointer<AboutBox> s = w.splash();
        QVERIFY(s && s->isSplash() && s->height() < 4000 / 15 && s->Timer1->isActive());
        QCOMPARE(s->Timer1->interval(), 100);
        s->Timer1->stop(); // ticked by hand from here; on a busy machine it may have ticked already
        if (asked) dialogs().queue(dlg::Answer::No);
        if (click == QLatin1String("title")) {
            QTest::mouseClick(s->lblTitle, Qt::LeftButton);
            QCoreApplication::processEvents();
        } else if (click == QLatin1String("background")) {
            QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(2, 2));
            QVERIFY(s && !s->isVisible());
        } else {
            for (int i = s->SplashTicks; i < 10; ++i) s->Timer1_Timer();
            QVERIFY(s && s->isVisible());
        }
        if (s && click != QLatin1String("title")) s->Timer1_Timer(); // the eleventh tick, or the one after the click
        QVERIFY(!s || !s->isVisible());
        QCOMPARE(dialogs().prompts.size(), size_t(asked));
        if (asked) QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Its been over 30 days since you last checked "
                                                                      "for an update.\nDo you wish to do it now?"));
        if (asked) QCOMPARE(dialogs().prompts[0].buttons, dlg::Buttons::YesNo);
        QTEST(setting(QStringLiteral("UpdateDate")), "written");
        QVERIFY(w.app.AboutSound);
    }

    // Help > About clears the caption while it shows; a settings file that
    // cannot be written does not break it.
    void aboutBoxFromHelpMenu() {
        auto w = testsupport::startMainWindow();
        w->setDocumentCaption(QStringLiteral("survey"));
        const QString file = w->settings->fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file)); // a folder where the file should be: every write fails
        const auto removed = qScopeGuard([&] { QDir(file).removeRecursively(); });
        QString caption;
        bool tall = false;
        dialogs().queue(dlg::WindowScript([&](QDialog* d) {
            caption = w->windowTitle();
            tall = d->height() > 4000 / 15;
            auto* box = static_cast<AboutBox*>(d);
            box->chkUp->setChecked(true);
            box->chkUp->setChecked(false);
            box->cmdOK->click();
            return d->result();
        }));
        w->mnuHelpAbout->trigger(); // an error escaping here fails the test
        QVERIFY(tall);
        QCOMPARE(caption, QStringLiteral("Ferno Vexolan"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
        QCOMPARE(dialogs().unanswered, 0);
    }

    // The about box's Software Notice button opens the notice window, whose
    // name line says "release" once, before the number, its three labels
    // side by side without overlap.
    void noticeWindowFromAboutBox() {
        auto w = testsupport::startMainWindow();
        QString caption, line;
        QList<QRect> labels;
        dialogs().queue(dlg::WindowScript([&](QDialog* d) {
            static_cast<AboutBox*>(d)->cmdSoft->click();
            return int(QDialog::Accepted);
        }));
        dialogs().queue(dlg::WindowScript([&](QDialog* d) {
            auto* n = static_cast<NoticeWindow*>(d);
            caption = n->windowTitle();
            line = QStringList{n->labName->text(), n->Label3->text(), n->labCC->text()}.join(u' ');
            labels = {n->labName->geometry(), n->Label3->geometry(), n->labCC->geometry()};
            n->Command1->click();
            return n->result();
        }));
        w->mnuHelpAbout->trigger();
        QCOMPARE(dialogs().unanswered, 0);
        QCOMPARE(caption, QStringLiteral("Ferno Vexolan Software Notice"));
        QVERIFY2(QRegularExpression(QStringLiteral("^Vexolan release \\d+\\.\\d+$")).match(line).hasMatch(), qPrintable(line));
        QVERIFY(labels[0].right() < labels[1].left() && labels[1].right() < labels[2].left());
        QVERIFY(labels[0].top() == labels[1].top() && labels[1].top() == labels[2].top());
    }
};
VEX_TEST(AboutBoxTest);
#include "PreferencesWindowTest.moc"
