// The splash, its 30-day update reminder and the about box texts.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>

namespace {
const QString sec = QStringLiteral("Vexolan");
const QDate kToday(2026, 3, 31);

struct Fixture {
    std::unique_ptr<MainWindow> w = std::make_unique<MainWindow>();
    Fixture() {
        SettingsStore().ClearSection(sec);
        AboutBox::today = [] { return kToday; };
        AboutBox::updateWaitMs = 0;
        testsupport::dialogs().clear();
    }
    QPointer<AboutBox> start() {
        w->FormLoad();
        return w->splash();
    }
    // Runs the splash timer's ticks by hand.
    static int ticksUntilGone(QPointer<AboutBox>& s) {
        int n = 0;
        while (s && s->isVisible() && n < 50) {
            s->Timer1_Timer();
            ++n;
        }
        return n;
    }
};
} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
private slots:
    void texts() {
        QCOMPARE(AboutBox::versionText(2, 5, 12), QStringLiteral("Version: 2.05.0012*"));
        QCOMPARE(AboutBox::cutDateText(QStringLiteral("3/5/2024 10:00:00 AM")), QStringLiteral("3/5/2024"));
        QCOMPARE(AboutBox::cutDateText(QStringLiteral("3/15/2024 10:00:00 AM")), QStringLiteral("3/15/2024"));
        QCOMPARE(AboutBox::cutDateText(QStringLiteral("12/5/2024 10:00:00 AM")), QStringLiteral("12/5/2024"));
        QCOMPARE(AboutBox::cutDateText(QStringLiteral("12/15/2024 10:00:00 AM")), QStringLiteral("12/15/2024"));
        QCOMPARE(AboutBox::dateText(QDate(2026, 1, 2)), QStringLiteral("01-02-2026"));
    }

    void reminderDecision() {
        QVERIFY(!AboutBox::reminderDue(AboutBox::dateText(kToday.addDays(-30)), kToday));
        QVERIFY(AboutBox::reminderDue(AboutBox::dateText(kToday.addDays(-31)), kToday));
        QVERIFY(!AboutBox::reminderDue(QStringLiteral("garbage"), kToday));
    }

    void splashHidesAfterElevenTicks() {
        Fixture f;
        QPointer<AboutBox> s = f.start();
        QVERIFY(s);
        QVERIFY(s->isSplash());
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
        SettingsStore st;
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("UpdateDate"), QString()), QStringLiteral("03-31-2026"));
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
        QVERIFY(f.w->app.AboutSound);
    }

    void reminderAfter31Days() {
        Fixture f;
        SettingsStore st;
        st.WriteSetting(sec, QStringLiteral("Update"), QStringLiteral("1"));
        st.WriteSetting(sec, QStringLiteral("UpdateDate"), AboutBox::dateText(kToday.addDays(-31)));
        QPointer<AboutBox> s = f.start();
        testsupport::dialogs().queue(dlg::Answer::No);
        Fixture::ticksUntilGone(s);
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].text, QStringLiteral("Its been over 30 days since you last checked for an update.\nDo you wish to do it now?"));
        QCOMPARE(p[0].buttons, dlg::Buttons::YesNo);
        QCOMPARE(p[0].icon, dlg::Icon::Question);
    }

    void noReminderAt30Days() {
        Fixture f;
        SettingsStore st;
        st.WriteSetting(sec, QStringLiteral("Update"), QStringLiteral("1"));
        st.WriteSetting(sec, QStringLiteral("UpdateDate"), AboutBox::dateText(kToday.addDays(-30)));
        QPointer<AboutBox> s = f.start();
        Fixture::ticksUntilGone(s);
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
    }

    void firstReminderStartWritesToday() {
        Fixture f;
        SettingsStore st;
        st.WriteSetting(sec, QStringLiteral("Update"), QStringLiteral("1"));
        QPointer<AboutBox> s = f.start();
        Fixture::ticksUntilGone(s);
        QCOMPARE(st.ReadSetting(sec, QStringLiteral("UpdateDate"), QString()), QStringLiteral("03-31-2026"));
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
    }

    void titleClickEndsSplashWithoutReminder() {
        Fixture f;
        SettingsStore st;
        st.WriteSetting(sec, QStringLiteral("Update"), QStringLiteral("1"));
        st.WriteSetting(sec, QStringLiteral("UpdateDate"), AboutBox::dateText(kToday.addDays(-90)));
        QPointer<AboutBox> s = f.start();
        QTest::mouseClick(s->lblTitle, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!s || !s->isVisible());
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
    }

    void backgroundClickHidesButReminderRuns() {
        Fixture f;
        SettingsStore st;
        st.WriteSetting(sec, QStringLiteral("Update"), QStringLiteral("1"));
        st.WriteSetting(sec, QStringLiteral("UpdateDate"), AboutBox::dateText(kToday.addDays(-90)));
        QPointer<AboutBox> s = f.start();
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(s && !s->isVisible());
        testsupport::dialogs().queue(dlg::Answer::No);
        s->Timer1_Timer();
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1));
    }

    void aboutBoxFromHelpMenu() {
        Fixture f;
        f.w->FormLoad();
        if (AboutBox* s = f.w->splash()) s->unload();
        f.w->setDocumentCaption(QStringLiteral("survey"));
        QString captionWhileOpen;
        bool tall = false;
        testsupport::dialogs().queue(dlg::WindowScript([&](QDialog* d) {
            captionWhileOpen = f.w->windowTitle();
            tall = d->height() > 4000 / 15;
            return int(QDialog::Accepted);
        }));
        f.w->mnuHelpAbout->trigger();
        QCOMPARE(captionWhileOpen, QStringLiteral("Ferno Vexolan"));
        QVERIFY(tall);
        QCOMPARE(f.w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
    }

    void settingsThatCannotBeWrittenKeepTheBoxWorking() {
        Fixture f;
        f.w->FormLoad();
        if (AboutBox* s = f.w->splash()) s->unload();
        f.w->setDocumentCaption(QStringLiteral("survey"));
        // A folder where the settings file should be: every write fails.
        const QString file = f.w->settings->fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        bool shown = false;
        testsupport::dialogs().queue(dlg::WindowScript([&](QDialog* d) {
            shown = true;
            auto* box = static_cast<AboutBox*>(d);
            box->chkUp->setChecked(true);
            box->chkUp->setChecked(false);
            box->cmdOK->click();
            return d->result();
        }));
        bool threw = false;
        try {
            f.w->showAboutModal();
        } catch (const std::exception&) {
            threw = true;
        }
        QDir(file).removeRecursively();
        QVERIFY(!threw);
        QVERIFY(shown);
        QCOMPARE(f.w->windowTitle(), QStringLiteral("Ferno Vexolan: survey"));
        QCOMPARE(testsupport::dialogs().unanswered, 0);
    }
};
VEX_TEST(AboutBoxTest);
#include "AboutBoxTest.moc"
