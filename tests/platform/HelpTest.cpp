// The help collection is built with the program and found by it; help
// commands reach the viewer as the right pages, and quitting closes it.
#include "common/TestRegistry.h"
#include "platform/Help.h"

#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_log;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // A stand-in viewer: logs how it was started and every command line
        // it reads, until it is ended.
        m_log = m_dir.filePath(QStringLiteral("viewer.log"));
        const QString script = m_dir.filePath(QStringLiteral("viewer.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"start $*\" >> '" + QFile::encodeName(m_log) +
                "'\nwhile IFS= read -r line; do echo \"$line\" >> '" + QFile::encodeName(m_log) + "'; done\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        help::setViewerProgram(script);
    }
    void cleanupTestCase() {
        help::ShowHelp(nullptr, help::HelpQuit, 0, help::HelpFilePath());
        help::setViewerProgram(QString());
    }

    void collectionIsBuiltAndFound() {
        const QString qhc = help::HelpFilePath();
        QVERIFY2(!qhc.isEmpty(), "the help collection was not built");
        QVERIFY(qhc.endsWith(QStringLiteral("/vexolan.qhc")));
        QVERIFY(QFileInfo::exists(QFileInfo(qhc).absolutePath() + QStringLiteral("/vexolan.qch")));
    }

    void collectionHoldsThePagesTheCommandsOpen() {
        QTemporaryDir copy; // the engine may write to the collection
        const QString qhc = copy.filePath(QStringLiteral("vexolan.qhc"));
        const QString dir = QFileInfo(help::HelpFilePath()).absolutePath();
        QVERIFY(QFile::copy(dir + QStringLiteral("/vexolan.qhc"), qhc));
        QVERIFY(QFile::copy(dir + QStringLiteral("/vexolan.qch"), copy.filePath(QStringLiteral("vexolan.qch"))));
        QHelpEngineCore engine(qhc);
        QVERIFY(engine.setupData());
        QVERIFY(engine.registeredDocumentations().contains(QStringLiteral("com.ferno.vexolan")));
        const QByteArray index = engine.fileData(QUrl(QStringLiteral("qthelp://com.ferno.vexolan/doc/html/index.html")));
        QVERIFY(index.contains("Vexolan Help Contents"));
        const QByteArray howto = engine.fileData(QUrl(QStringLiteral("qthelp://com.ferno.vexolan/doc/html/howto.html")));
        QVERIFY(howto.contains("<title>How to Use Vexolan</title>"));
        // Every page the contents lead to is in the collection.
        for (const char* page : {"loading-map", "coordinates", "registering", "digitizing", "contacts-labels", "projects",
                                 "contours", "import-export", "combining", "removing-points", "printing",
                                 "scanning-editing"}) {
            const QUrl url(QStringLiteral("qthelp://com.ferno.vexolan/doc/html/%1.html").arg(QLatin1String(page)));
            QVERIFY2(!engine.fileData(url).isEmpty(), page);
            QVERIFY2(index.contains(QByteArray("href=\"") + page + ".html\""), page);
        }
        // Every page any page links to is in the collection too, so no link
        // of the contents, the table of contents or the text leads nowhere.
        const QList<QUrl> files = engine.files(QStringLiteral("com.ferno.vexolan"), QString(), QStringLiteral("html"));
        QVERIFY(files.size() >= 13);
        static const QRegularExpression link(QStringLiteral("href=\"([a-z0-9-]+\\.html)(#[a-z0-9-]+)?\""));
        for (const QUrl& file : files) {
            const QString text = QString::fromUtf8(engine.fileData(file));
            for (auto m = link.globalMatch(text); m.hasNext();) {
                const QString target = m.next().captured(1);
                const QUrl url(QStringLiteral("qthelp://com.ferno.vexolan/doc/html/") + target);
                QVERIFY2(!engine.fileData(url).isEmpty(), qPrintable(file.fileName() + QStringLiteral(" -> ") + target));
            }
        }
    }

    void missingCollectionIsReported_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("no name") << QString();
        QTest::newRow("not there") << QStringLiteral("/nonexistent/help/vexolan.qhc");
    }
    void missingCollectionIsReported() {
        QFETCH(QString, file);
        for (long command : {help::HelpContents, help::HelpContext, help::HelpPartialKey}) {
            const help::HelpResult r = help::ShowHelp(nullptr, command, help::HowToUseTopic, file);
            QCOMPARE(r.status, help::HelpResult::Status::NoHelpFile);
            QCOMPARE(r.message,
                     QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."));
        }
        // Closing at shutdown never shows a message.
        QCOMPARE(help::ShowHelp(nullptr, help::HelpQuit, 0, file).status, help::HelpResult::Status::Shown);
    }

    // The command that starts the viewer is given on its command line, so
    // that the viewer shows it once it is ready, also on the first use.
    void firstCommandStartsTheViewerOnIt_data() {
        QTest::addColumn<long>("command");
        QTest::addColumn<QString>("arguments");
        QTest::newRow("contents") << help::HelpContents
                                  << "-showUrl qthelp://com.ferno.vexolan/doc/html/index.html -show contents -activate contents";
        QTest::newRow("how to use") << help::HelpContext
                                    << "-showUrl qthelp://com.ferno.vexolan/doc/html/howto.html -show contents";
        QTest::newRow("search") << help::HelpPartialKey << "-show index -activate index";
    }
    void firstCommandStartsTheViewerOnIt() {
        QFETCH(long, command);
        QFETCH(QString, arguments);
        QFile::remove(m_log);
        const QString qhc = help::HelpFilePath();
        QCOMPARE(help::ShowHelp(nullptr, command, help::HowToUseTopic, qhc).status, help::HelpResult::Status::Shown);
        QTRY_COMPARE(readAll(m_log), QStringLiteral("start -collectionFile ") + qhc +
                                         QStringLiteral(" -enableRemoteControl ") + arguments + u'\n');
        help::ShowHelp(nullptr, help::HelpQuit, 0, qhc);
    }

    void commandsReachOneViewerAndQuitEndsIt() {
        QFile::remove(m_log);
        const QString qhc = help::HelpFilePath();
        QVERIFY(!qhc.isEmpty());
        QCOMPARE(help::ShowHelp(nullptr, help::HelpContents, 0, qhc).status, help::HelpResult::Status::Shown);
        QVERIFY(help::ViewerRunning());
        QTRY_VERIFY(readAll(m_log).startsWith(QStringLiteral("start -collectionFile ") + qhc + QStringLiteral(" -enableRemoteControl")));

        QCOMPARE(help::ShowHelp(nullptr, help::HelpContext, help::HowToUseTopic, qhc).status, help::HelpResult::Status::Shown);
        QTRY_VERIFY(readAll(m_log).contains(QStringLiteral("setSource qthelp://com.ferno.vexolan/doc/html/howto.html")));
        QCOMPARE(help::ShowHelp(nullptr, help::HelpPartialKey, 0, qhc).status, help::HelpResult::Status::Shown);
        QTRY_VERIFY(readAll(m_log).contains(QStringLiteral("show index")));
        // The same viewer took all three commands.
        QCOMPARE(readAll(m_log).count(QStringLiteral("start ")), 1);

        QCOMPARE(help::ShowHelp(nullptr, help::HelpQuit, 0, qhc).status, help::HelpResult::Status::Shown);
        QVERIFY(!help::ViewerRunning());
        // Quitting again with nothing open is harmless.
        QCOMPARE(help::ShowHelp(nullptr, help::HelpQuit, 0, qhc).status, help::HelpResult::Status::Shown);
        // A viewer that was closed is started again.
        QCOMPARE(help::ShowHelp(nullptr, help::HelpContents, 0, qhc).status, help::HelpResult::Status::Shown);
        QTRY_COMPARE(readAll(m_log).count(QStringLiteral("start ")), 2);
        help::ShowHelp(nullptr, help::HelpQuit, 0, qhc);
    }

    void viewerThatCannotStartIsReported() {
        help::setViewerProgram(m_dir.filePath(QStringLiteral("no-such-viewer")));
        const help::HelpResult r = help::ShowHelp(nullptr, help::HelpContents, 0, help::HelpFilePath());
        QCOMPARE(r.status, help::HelpResult::Status::ViewerError);
        QVERIFY(!r.message.isEmpty());
        QVERIFY(!help::ViewerRunning());
        help::setViewerProgram(m_dir.filePath(QStringLiteral("viewer.sh")));
    }

    void realViewerStartsAndQuits() {
        help::setViewerProgram(QString());
        if (help::ViewerProgram().isEmpty()) {
            help::setViewerProgram(m_dir.filePath(QStringLiteral("viewer.sh")));
            QSKIP("Qt Assistant is not installed");
        }
        const QString qhc = help::HelpFilePath();
        QCOMPARE(help::ShowHelp(nullptr, help::HelpContext, help::HowToUseTopic, qhc).status,
                 help::HelpResult::Status::Shown);
        QTest::qWait(1500);
        QVERIFY2(help::ViewerRunning(), "the viewer ended by itself");
        help::ShowHelp(nullptr, help::HelpQuit, 0, qhc);
        QVERIFY(!help::ViewerRunning());
        help::setViewerProgram(m_dir.filePath(QStringLiteral("viewer.sh")));
    }
};
VEX_TEST(HelpTest);
#include "HelpTest.moc"
