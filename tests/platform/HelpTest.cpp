// The help collection is built with the program and found by it; help
// commands reach the viewer as the right pages, and quitting closes it.
#include "common/PlatformSupport.h"
#include "platform/Help.h"

using help::HelpResult;

class HelpTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_log = m_dir.filePath("viewer.log"), m_viewer = m_dir.filePath("viewer.sh");
    QString log() const { return QString::fromUtf8(testsupport::fileBytes(m_log)); }
    HelpResult::Status show(long command, long data = 0) {
        return help::ShowHelp(nullptr, command, data, help::HelpFilePath()).status;
    }

private slots:
    // A stand-in viewer: logs how it was started and every command line it
    // reads, until it is ended.
    void initTestCase() {
        const QByteArray log = QFile::encodeName(m_log);
        QVERIFY(testsupport::writeFile(m_viewer, "#!/bin/sh\necho \"start $*\" >> '" + log +
                "'\nwhile IFS= read -r line; do echo \"$line\" >> '" + log + "'; done\n", true));
        help::setViewerProgram(m_viewer);
    }
    void init() { QFile::remove(m_log); }
    void cleanup() { show(help::HelpQuit); }
    void cleanupTestCase() { help::setViewerProgram(QString()); }

    // The command that starts the viewer is given on its command line, so
    // that the viewer shows it once it is ready, also on the first use.
    void firstCommandStartsTheViewerOnIt_data() {
        testsupport::columns<long, QString>("command", "arguments");
        QTest::newRow("contents") << help::HelpContents
                                  << "-showUrl qthelp://com.ferno.vexolan/doc/html/index.html -show contents -activate contents";
        QTest::newRow("how to use") << help::HelpContext
                                    << "-showUrl qthelp://com.ferno.vexolan/doc/html/howto.html -show contents";
        QTest::newRow("search") << help::HelpPartialKey << "-show index -activate index";
    }
    void firstCommandStartsTheViewerOnIt() {
        QFETCH(long, command);
        QFETCH(QString, arguments);
        QCOMPARE(show(command, help::HowToUseTopic), HelpResult::Status::Shown);
        QTRY_COMPARE(log(), "start -collectionFile " + help::HelpFilePath() + " -enableRemoteControl " + arguments + '\n');
    }

    // Later commands go to the running viewer; quitting ends it (again:
    // harmless), and one that was closed is started again.
    void commandsReachOneViewerAndQuitEndsIt() {
        for (long command : {help::HelpContents, help::HelpContext, help::HelpPartialKey})
            QCOMPARE(show(command, help::HowToUseTopic), HelpResult::Status::Shown);
        QTRY_VERIFY(log().contains("\nsetSource qthelp://com.ferno.vexolan/doc/html/howto.html\n") &&
                    log().endsWith("\nshow index\n"));
        for (long command : {help::HelpQuit, help::HelpQuit, help::HelpContents})
            QCOMPARE(show(command), HelpResult::Status::Shown);
        QTRY_COMPARE(log().count("start "), 2);
        show(help::HelpQuit);
        QVERIFY(!help::ViewerRunning());
    }

    // No collection, or a viewer that cannot start: reported, nothing runs;
    // closing at shutdown never shows a message.
    void failuresAreReported() {
        for (const QString& file : {QString(), QStringLiteral("/nonexistent/help/vexolan.qhc")}) {
            const HelpResult r = help::ShowHelp(nullptr, help::HelpContext, help::HowToUseTopic, file);
            QCOMPARE(r.status, HelpResult::Status::NoHelpFile);
            QCOMPARE(r.message, "Unable to display Help Contents. There is no Help associated with this project.");
            QCOMPARE(help::ShowHelp(nullptr, help::HelpQuit, 0, file).status, HelpResult::Status::Shown);
        }
        help::setViewerProgram(m_dir.filePath("no-such-viewer"));
        const HelpResult r = help::ShowHelp(nullptr, help::HelpContents, 0, help::HelpFilePath());
        help::setViewerProgram(m_viewer);
        QCOMPARE(r.status, HelpResult::Status::ViewerError);
        QVERIFY2(r.message.startsWith("Unable to start the help viewer: "), qPrintable(r.message));
        QVERIFY(!help::ViewerRunning());
    }

    // The real viewer takes the arguments it is started with: it reads the
    // collection (and begins indexing it in the user's data folder) and keeps
    // running until it is told to quit.
    void realViewerStartsAndQuits() {
        help::setViewerProgram(QString());
        if (help::ViewerProgram().isEmpty()) {
            help::setViewerProgram(m_viewer);
            QSKIP("Qt Assistant is not installed");
        }
        const QString index = qEnvironmentVariable("XDG_DATA_HOME") + "/Ferno/Vexolan/.vexolan/fts";
        QDir(QFileInfo(index).absolutePath()).removeRecursively();
        QCOMPARE(show(help::HelpContext, help::HowToUseTopic), HelpResult::Status::Shown);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(index), 10000);
        QVERIFY2(help::ViewerRunning(), "the viewer ended by itself");
        show(help::HelpQuit);
        QVERIFY(!help::ViewerRunning());
    }
};
VEX_TEST(HelpTest);
#include "HelpTest.moc"
