// The preferences window and File > Preferences, on the real main window.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/PreferencesCommands.h"
#include "app/PreferencesWindow.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

dlg::ScriptedProvider& dialogs() { return testsupport::dialogs(); }

std::unique_ptr<MainWindow> startWindow() {
    auto w = std::make_unique<MainWindow>();
    w->FormLoad();
    w->show();
    if (AboutBox* s = w->splash()) s->unload();
    QCoreApplication::processEvents();
    dialogs().clear();
    return w;
}

QString stored(MainWindow& w, const char* key) {
    return w.settings->ReadSetting(w.app.AppName, QString::fromLatin1(key), QStringLiteral("<none>"));
}

void store(MainWindow& w, const char* key, const QString& value) {
    w.settings->WriteSetting(w.app.AppName, QString::fromLatin1(key), value);
}

const char* const Keys[] = {"DataPath", "Update", "UpdateDate", "ShowScan", "FastPrint", "PrintPreviewSize"};

// Runs File > Preferences with a script for the window.
void runPreferences(MainWindow& w, std::function<void(PreferencesWindow&)> script) {
    dialogs().queue(dlg::WindowScript([script](QDialog* d) {
        auto* p = qobject_cast<PreferencesWindow*>(d);
        if (!p) return int(QDialog::Rejected);
        script(*p);
        return p->result();
    }));
    w.mnuFilePreferences->trigger();
}

} // namespace

class PreferencesWindowTest : public QObject {
    Q_OBJECT
private:
    QStringList sounds;
    QDate fixedToday{2026, 3, 9};
    std::function<void(const QString&, bool)> realSound = PreferencesWindow::playSound;
    std::function<QDate()> realToday = AboutBox::today;

private slots:
    void init() {
        SettingsStore st;
        st.ClearSection(QStringLiteral("Vexolan"));
        dialogs().clear();
        sounds.clear();
        PreferencesWindow::playSound = [this](const QString& name, bool async) {
            sounds << name + (async ? QStringLiteral(" async") : QStringLiteral(" wait"));
        };
        AboutBox::today = [this] { return fixedToday; };
    }

    void cleanup() {
        PreferencesWindow::playSound = realSound;
        AboutBox::today = realToday;
    }

    void loadShowsStoredValues() {
        auto w = startWindow();
        store(*w, "PrintPreviewSize", QStringLiteral("7000x"));
        store(*w, "Update", QStringLiteral("True"));
        store(*w, "ShowScan", QStringLiteral("1"));
        store(*w, "FastPrint", QStringLiteral("0"));
        PreferencesWindow p(*w);
        QCOMPARE(p.windowTitle(), QStringLiteral("Preferences"));
        QCOMPARE(p.txtPrevSize->text(), QStringLiteral("7000x"));
        QVERIFY(p.chkUp->isChecked());
        QVERIFY(p.UpdateClicked); // the load's setting counts as a click
        QVERIFY(p.chkScanShow->isChecked());
        QVERIFY(!p.chkFastPrint->isChecked());
        QCOMPARE(p.Dir1->path() + QLatin1Char('/'), w->app.DataFolder);
        QCOMPARE(p.Frame2->title(), QStringLiteral("Printing "));
        QCOMPARE(p.Frame3->title(), QStringLiteral("Scanning"));
        QCOMPARE(p.labPrintSize->text(), QStringLiteral("Preview size:  "));
        QCOMPARE(p.Label1->text(), QStringLiteral("Data Folder:"));
        QCOMPARE(p.cmdCreate->toolTip(), QStringLiteral("Create new folder in which to save layouts"));
        QCOMPARE(p.cmdOK->y(), p.cmdCancel->y());
        QCOMPARE(sounds, QStringList{QStringLiteral("RestoreUp async")});
    }

    void loadDefaultsAndBadValues() {
        auto w = startWindow();
        w->scannerAvailable = [] { return false; };
        store(*w, "Update", QStringLiteral("7"));
        PreferencesWindow p(*w);
        QCOMPARE(p.txtPrevSize->text(), QStringLiteral("6060"));
        QVERIFY(!p.chkUp->isChecked()); // not a check-box value: designed state
        QVERIFY(!p.UpdateClicked);
        QVERIFY(p.chkFastPrint->isChecked()); // default "1"
        QVERIFY(!p.chkScanShow->isChecked());
        QVERIFY(!p.chkScanShow->isEnabled());
        QVERIFY(!p.Frame3->isEnabled());
        w->scannerAvailable = [] { return true; };
        PreferencesWindow q(*w);
        QVERIFY(q.chkScanShow->isEnabled());
        QVERIFY(q.Frame3->isEnabled());
    }

    void okWritesTheListedSettings() {
        auto w = startWindow();
        QTemporaryDir other;
        const QString before = w->app.DataFolder;
        runPreferences(*w, [&](PreferencesWindow& p) {
            p.Dir1->setPath(other.path());
            p.chkUp->setChecked(true);
            p.chkUp->setChecked(false);
            p.txtPrevSize->setText(QStringLiteral("abc"));
            p.chkFastPrint->setChecked(false);
            QTest::mouseClick(p.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(w->app.DataFolder, other.path() + QLatin1Char('/'));
        QVERIFY(w->app.DataFolder != before);
        QCOMPARE(stored(*w, "DataPath"), other.path() + QLatin1Char('/'));
        QCOMPARE(w->DialogInitDir, w->app.DataFolder);
        QCOMPARE(stored(*w, "Update"), QStringLiteral("0"));
        QCOMPARE(stored(*w, "UpdateDate"), QStringLiteral("03-09-2026"));
        QCOMPARE(stored(*w, "ShowScan"), QStringLiteral("0"));
        QCOMPARE(stored(*w, "FastPrint"), QStringLiteral("0"));
        QCOMPARE(stored(*w, "PrintPreviewSize"), QStringLiteral("abc"));
        QCOMPARE(sounds, (QStringList{QStringLiteral("RestoreUp async"), QStringLiteral("RestoreDown wait")}));
        QCOMPARE(dialogs().unanswered, 0);
    }

    void okWithoutClickWritesNoDate() {
        auto w = startWindow();
        w->settings->ClearSection(w->app.AppName); // the start-up's own reminder writes
        runPreferences(*w, [](PreferencesWindow& p) { p.cmdOK_Click(); });
        QCOMPARE(stored(*w, "UpdateDate"), QStringLiteral("<none>"));
        QCOMPARE(stored(*w, "Update"), QStringLiteral("0"));
        QCOMPARE(stored(*w, "FastPrint"), QStringLiteral("1"));
        QCOMPARE(stored(*w, "PrintPreviewSize"), QStringLiteral("6060"));
        // The reminder on at load counts as a click.
        store(*w, "Update", QStringLiteral("1"));
        runPreferences(*w, [](PreferencesWindow& p) { p.cmdOK_Click(); });
        QCOMPARE(stored(*w, "UpdateDate"), QStringLiteral("03-09-2026"));
        QCOMPARE(stored(*w, "Update"), QStringLiteral("1"));
    }

    void cancelWritesOnlyDataPath() {
        auto w = startWindow();
        SettingsStore st;
        st.ClearSection(w->app.AppName);
        QTemporaryDir other;
        const QString folder = w->app.DataFolder;
        w->DialogInitDir.clear();
        runPreferences(*w, [&](PreferencesWindow& p) {
            p.Dir1->setPath(other.path());
            p.chkUp->setChecked(true);
            p.txtPrevSize->setText(QStringLiteral("1"));
            QTest::mouseClick(p.cmdCancel, Qt::LeftButton);
        });
        QCOMPARE(w->app.DataFolder, folder);
        for (const char* k : Keys)
            QCOMPARE(stored(*w, k), qstrcmp(k, "DataPath") == 0 ? folder : QStringLiteral("<none>"));
        QCOMPARE(w->DialogInitDir, folder);
        // Closing the window unloads it too.
        sounds.clear();
        runPreferences(*w, [](PreferencesWindow& p) { p.reject(); });
        QCOMPARE(sounds.last(), QStringLiteral("RestoreDown wait"));
        QCOMPARE(stored(*w, "Update"), QStringLiteral("<none>"));
    }

    void newFolder() {
        auto w = startWindow();
        QTemporaryDir base;
        PreferencesWindow p(*w);
        p.Dir1->setPath(base.path());
        sounds.clear();
        dialogs().queue(QStringLiteral("Maps 2026"));
        p.cmdCreate_Click();
        QCOMPARE(sounds, QStringList{QStringLiteral("SystemQuestion async")});
        QCOMPARE(dialogs().prompts[0].text,
                 QStringLiteral("Type the name of the new folder to create in <") + base.path() + QStringLiteral(">:"));
        QCOMPARE(dialogs().prompts[0].title, QStringLiteral("Create Folder"));
        QCOMPARE(dialogs().prompts[0].defaultText, QString());
        QVERIFY(QDir(base.path() + QStringLiteral("/Maps 2026")).exists());
        QCOMPARE(p.Dir1->path(), base.path() + QStringLiteral("/Maps 2026"));

        // Cancel or an empty answer creates nothing.
        const QStringList before = QDir(p.Dir1->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        dialogs().queue(dlg::Cancel{});
        p.cmdCreate_Click();
        QCOMPARE(QDir(p.Dir1->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), before);
        QCOMPARE(p.Dir1->path(), base.path() + QStringLiteral("/Maps 2026"));

        // An existing folder or a name leading out of the folder is refused
        // with a message, and the choice stays.
        p.Dir1->setPath(base.path());
        dialogs().clear();
        dialogs().queue(QStringLiteral("Maps 2026"));
        dialogs().queue(dlg::Answer::OK);
        p.cmdCreate_Click();
        QCOMPARE(int(dialogs().prompts.size()), 2);
        QCOMPARE(int(dialogs().prompts[1].icon), int(dlg::Icon::Exclamation));
        QCOMPARE(p.Dir1->path(), base.path());
        for (const char* bad : {"..", "a/b", "../escape"}) {
            dialogs().clear();
            dialogs().queue(QString::fromLatin1(bad));
            dialogs().queue(dlg::Answer::OK);
            p.cmdCreate_Click();
            QCOMPARE(int(dialogs().prompts.size()), 2);
            QCOMPARE(p.Dir1->path(), base.path());
        }
        QVERIFY(!QDir(base.path() + QStringLiteral("/a")).exists());
        QVERIFY(!QFileInfo::exists(base.path() + QStringLiteral("/../escape")));
        QCOMPARE(dialogs().unanswered, 0);
    }

    void folderListNavigates() {
        QTemporaryDir base;
        QDir(base.path()).mkpath(QStringLiteral("one/two"));
        FolderList list;
        list.setPath(base.path() + QStringLiteral("/one/"));
        QCOMPARE(list.path(), base.path() + QStringLiteral("/one"));
        // The last line is the subfolder; double-clicking it chooses it.
        QListWidgetItem* sub = list.item(list.count() - 1);
        QCOMPARE(sub->text().trimmed(), QStringLiteral("two"));
        emit list.itemDoubleClicked(sub);
        QCOMPARE(list.path(), base.path() + QStringLiteral("/one/two"));
        QVERIFY_THROWS_EXCEPTION(std::exception, list.setPath(base.path() + QStringLiteral("/missing")));
        QCOMPARE(list.path(), base.path() + QStringLiteral("/one/two"));
        QCOMPARE(list.item(0)->data(Qt::UserRole).toString(), QStringLiteral("/"));
    }
};

VEX_TEST(PreferencesWindowTest);
#include "PreferencesWindowTest.moc"
