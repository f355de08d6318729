// The preferences window, the splash with its update reminder and the
// about box, on the real main window.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/PreferencesWindow.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/SettingsStore.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

namespace {
using testsupport::dialogs;
const QString Sec = QStringLiteral("Vexolan");

QString setting(const QString& key) { return SettingsStore().ReadSetting(Sec, key, QStringLiteral("<none>")); }
void store(const QStringList& pairs) {
    for (const QString& kv : pairs) SettingsStore().WriteSetting(Sec, kv.section('=', 0, 0), kv.section('=', 1));
}
QString bits(std::initializer_list<bool> v) {
    QString s;
    for (bool b : v) s += b ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}
} // namespace

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

    void load_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("scanner");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("state"); // chkUp, UpdateClicked, chkScanShow, chkFastPrint, scanning usable
        QTest::newRow("stored") << QStringList{"PrintPreviewSize=7000x", "Update=True", "ShowScan=1", "FastPrint=0"}
                                << true << "7000x" << "11101";
        QTest::newRow("defaults, odd reminder, no scanner") << QStringList{"Update=7"} << false << "6060" << "00010";
    }
    void load() {
        QFETCH(QStringList, stored);
        QFETCH(bool, scanner);
        auto w = testsupport::startMainWindow();
        w->scannerAvailable = [scanner] { return scanner; };
        store(stored);
        PreferencesWindow p(*w);
        QTEST(p.txtPrevSize->text(), "size");
        QTEST(bits({p.chkUp->isChecked(), p.UpdateClicked, p.chkScanShow->isChecked(), p.chkFastPrint->isChecked(),
                    p.chkScanShow->isEnabled() && p.Frame3->isEnabled()}),
              "state");
        QCOMPARE(p.Dir1->path() + QLatin1Char('/'), w->app.DataFolder);
        QCOMPARE(sounds, QStringList{QStringLiteral("RestoreUp async")});
    }

    // File > Preferences, left by OK, Cancel or the window's close button.
    void leaving_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("changed"); // folder, reminder on and off, size, fast printing
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("written"); // Update, UpdateDate, ShowScan, FastPrint, PrintPreviewSize
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
        QFETCH(QStringList, stored);
        store(stored);
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
    // existing name or one leading elsewhere is refused with a message.
    void newFolder_data() {
        QTest::addColumn<QString>("answer"); // "<cancel>" cancels
        QTest::addColumn<bool>("made");
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
        p.Dir1->setPath(base.path());
        sounds.clear();
        const bool refused = answer.size() > 0 && answer != QLatin1String("<cancel>") && !made;
        if (answer == QLatin1String("<cancel>")) dialogs().queue(dlg::Cancel{});
        else dialogs().queue(answer);
        if (refused) dialogs().queue(dlg::Answer::OK);
        p.cmdCreate_Click();
        QCOMPARE(sounds, QStringList{QStringLiteral("SystemQuestion async")});
        const auto& asked = dialogs().prompts;
        QCOMPARE(asked[0].text, QStringLiteral("Type the name of the new folder to create in <%1>:").arg(base.path()));
        QCOMPARE(asked[0].title, QStringLiteral("Create Folder"));
        QCOMPARE(asked.size(), size_t(refused ? 2 : 1));
        if (refused) QCOMPARE(asked[1].icon, dlg::Icon::Exclamation);
        QCOMPARE(p.Dir1->path(), made ? base.path() + QLatin1Char('/') + answer : base.path());
        QCOMPARE(QDir(base.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 (made ? QStringList{answer, QStringLiteral("old")} : QStringList{QStringLiteral("old")}));
        QVERIFY(!QFileInfo::exists(base.path() + QStringLiteral("/../escape")));
    }

    void folderListNavigates() {
        QTemporaryDir base;
        QDir(base.path()).mkpath(QStringLiteral("one/two"));
        FolderList list;
        list.setPath(base.path() + QStringLiteral("/one/"));
        QCOMPARE(list.path(), base.path() + QStringLiteral("/one"));
        QCOMPARE(list.item(0)->data(Qt::UserRole).toString(), QStringLiteral("/"));
        // The last line is the subfolder; double-clicking it chooses it.
        QListWidgetItem* sub = list.item(list.count() - 1);
        QCOMPARE(sub->text().trimmed(), QStringLiteral("two"));
        emit list.itemDoubleClicked(sub);
        QCOMPARE(list.path(), base.path() + QStringLiteral("/one/two"));
        QVERIFY_THROWS_EXCEPTION(std::exception, list.setPath(base.path() + QStringLiteral("/missing")));
        QCOMPARE(list.path(), base.path() + QStringLiteral("/one/two"));
    }
};
VEX_TEST(PreferencesWindowTest);

class AboutBoxTest : public QObject {
    Q_OBJECT
    std::function<QDate()> realToday = AboutBox::today;

    static QPointer<AboutBox> startSplash(MainWindow& w) {
        w.FormLoad();
        QPointer<AboutBox> s = w.splash();
        // Ticked by hand from here; on a busy machine the timer may have ticked already.
        s->Timer1->stop();
        return s;
    }

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

    void splashHidesAfterElevenTicks() {
        MainWindow w;
        w.FormLoad();
        QPointer<AboutBox> s = w.splash();
        QVERIFY(s && s->isSplash());
        QVERIFY(s->height() < 4000 / 15);
        QVERIFY(s->Timer1->isActive());
        QCOMPARE(s->Timer1->interval(), 100);
        // Ticked by hand from here; on a busy machine the timer may have ticked already.
        s->Timer1->stop();
        for (int i = s->SplashTicks; i < 10; ++i) s->Timer1_Timer();
        QVERIFY(s && s->isVisible());
        s->Timer1_Timer();
        QVERIFY(!s || !s->isVisible());
        // Reminder off: the unload writes today's date.
        QCOMPARE(setting(QStringLiteral("UpdateDate")), QStringLiteral("03-31-2026"));
        QCOMPARE(dialogs().prompts.size(), size_t(0));
        QVERIFY(w.app.AboutSound);
    }

    // With the reminder on, the splash asks once the last check is over 30 days old.
    void reminder_data() {
        QTest::addColumn<QString>("last"); // the last check's date
        QTest::addColumn<QString>("click"); // on the splash, else it runs out
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("written");
        QTest::newRow("31 days") << "02-28-2026" << "" << true << "02-28-2026";
        QTest::newRow("30 days") << "03-01-2026" << "" << false << "03-01-2026";
        QTest::newRow("first start writes today") << "<none>" << "" << false << "03-31-2026";
        QTest::newRow("title click skips it") << "12-31-2025" << "title" << false << "12-31-2025";
        QTest::newRow("background click hides only") << "12-31-2025" << "background" << true << "12-31-2025";
    }
    void reminder() {
        QFETCH(QString, last);
        QFETCH(QString, click);
        QFETCH(bool, asked);
        store({QStringLiteral("Update=1")});
        if (last != QLatin1String("<none>")) store({QStringLiteral("UpdateDate=") + last});
        MainWindow w;
        QPointer<AboutBox> s = startSplash(w);
        if (asked) dialogs().queue(dlg::Answer::No);
        if (click == QLatin1String("title")) {
            QTest::mouseClick(s->lblTitle, Qt::LeftButton);
            QCoreApplication::processEvents();
        } else if (click == QLatin1String("background")) {
            QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(2, 2));
            QVERIFY(s && !s->isVisible());
            s->Timer1_Timer();
        }
        for (int n = 0; s && s->isVisible() && n < 50; ++n) s->Timer1_Timer();
        QVERIFY(!s || !s->isVisible());
        QCOMPARE(dialogs().prompts.size(), size_t(asked));
        if (asked) {
            QCOMPARE(dialogs().prompts[0].text, QStringLiteral("Its been over 30 days since you last checked for an "
                                                               "update.\nDo you wish to do it now?"));
            QCOMPARE(dialogs().prompts[0].buttons, dlg::Buttons::YesNo);
        }
        QTEST(setting(QStringLiteral("UpdateDate")), "written");
    }

    // Help > About clears the caption while it shows; a settings file that
    // cannot be written does not break it.
    void aboutBoxFromHelpMenu() {
        auto w = testsupport::startMainWindow();
        w->setDocumentCaption(QStringLiteral("survey"));
        const QString file = w->settings->fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file)); // a folder where the file should be: every write fails
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
        bool threw = false;
        try {
            w->mnuHelpAbout->trigger();
        } catch (const std::exception&) {
            threw = true;
        }
        QDir(file).removeRecursively();
        QVERIFY(!threw && tall);
        QCOMPARE(caption, QStringLiteral("Ferno Vexolan"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
        QCOMPARE(dialogs().unanswered, 0);
    }
};
VEX_TEST(AboutBoxTest);
#include "PreferencesWindowTest.moc"
