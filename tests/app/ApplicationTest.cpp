// The application: its last safety net for errors no command caught, and
// the program started for real, one running copy per user and display.
#include "app/Application.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>
#include <unistd.h>

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void uncaughtErrorsAreReportedNotFatal() {
        auto& d = testsupport::dialogs();
        d.clear();
        QVERIFY(Application::deliverReporting([] { return true; }));
        QVERIFY(!Application::deliverReporting([]() -> bool { legacy::raise(legacy::ErrorCode::DivisionByZero); }));
        QVERIFY(!Application::deliverReporting([]() -> bool { throw std::runtime_error("disk full"); }));
        QCOMPARE(d.prompts.size(), size_t(2));
        QCOMPARE(d.prompts[0].text, QStringLiteral("Vexolan error: \n\nDivision by zero"));
        QCOMPARE(d.prompts[0].icon, dlg::Icon::Exclamation);
        QCOMPARE(d.prompts[1].text, QStringLiteral("Vexolan error: \n\ndisk full"));
    }

    // Started on a second display the program runs a copy of its own; a
    // later start on a display that has one hands over and ends at once.
    void oneRunningCopyPerDisplay() {
        QTemporaryDir runtime;
        std::vector<std::unique_ptr<QProcess>> running;
        auto start = [&](const char* display) {
            auto p = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
            env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            p->setProcessEnvironment(env);
            p->start(QStringLiteral(VEXOLAN_PROGRAM), {});
            return p;
        };
        for (const char* display : {":91", ":92"}) {
            running.push_back(start(display));
            // A copy that got past the check listens beside its window.
            const QString socket = QStringLiteral("/Vexolan-uid%1-_%2").arg(::getuid()).arg(display + 1);
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(runtime.path() + socket), 60000);
        }
        auto later = start(":91");
        QVERIFY(later->waitForFinished(60000) && later->exitStatus() == QProcess::NormalExit);
        QCOMPARE(later->exitCode(), 0);
        for (auto& p : running) {
            QCOMPARE(p->state(), QProcess::Running);
            p->kill();
            p->waitForFinished(10000);
        }
    }
};
VEX_TEST(ApplicationTest);
#include "ApplicationTest.moc"
