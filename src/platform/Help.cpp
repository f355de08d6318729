#include "platform/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

namespace help {

namespace {

const char kCollectionName[] = "vexolan.qhc";
// Pages of the compiled help, as the viewer addresses them.
const char kPageBase[] = "qthelp://com.ferno.vexolan/doc/html/";

// Start and stop of the viewer are waited on for at most this long.
constexpr int kStartWaitMs = 5000;
constexpr int kQuitWaitMs = 3000;

QString& viewerOverride() {
    static QString program;
    return program;
}

struct Viewer {
    QPointer<QProcess> process;
    QString collection;
};

Viewer& viewer() {
    static Viewer v;
    return v;
}

QString pageUrl(const char* page) {
    return QLatin1String(kPageBase) + QLatin1String(page);
}

// The page of a context number; unknown numbers open the contents page.
QString topicUrl(long context) {
    if (context == HowToUseTopic) return pageUrl("howto.html");
    return pageUrl("index.html");
}

// The remote-control lines the viewer reads on its standard input.
QByteArray remoteCommands(long command, long data) {
    QStringList lines;
    switch (command) {
    case HelpContents:
        lines << QStringLiteral("show contents") << QStringLiteral("expandToc 1")
              << QStringLiteral("setSource ") + pageUrl("index.html");
        break;
    case HelpContext:
        lines << QStringLiteral("show contents") << QStringLiteral("setSource ") + topicUrl(data)
              << QStringLiteral("syncContents");
        break;
    case HelpPartialKey:
        // The keyword index with its look-up field: type the first letters
        // of a subject to find it.
        lines << QStringLiteral("show index");
        break;
    default:
        lines << QStringLiteral("setSource ") + pageUrl("index.html");
        break;
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

// The same command given on the viewer's command line, for the start that
// opens it.  Remote commands that arrive while the viewer is still setting
// itself up are overtaken by its own first page, so the first command goes
// this way and is shown once the viewer is ready.
QStringList startArguments(long command, long data) {
    switch (command) {
    case HelpContents:
        return {QStringLiteral("-showUrl"), pageUrl("index.html"), QStringLiteral("-show"), QStringLiteral("contents"),
                QStringLiteral("-activate"), QStringLiteral("contents")};
    case HelpContext:
        return {QStringLiteral("-showUrl"), topicUrl(data), QStringLiteral("-show"), QStringLiteral("contents")};
    case HelpPartialKey:
        return {QStringLiteral("-show"), QStringLiteral("index"), QStringLiteral("-activate"), QStringLiteral("index")};
    default:
        return {QStringLiteral("-showUrl"), pageUrl("index.html")};
    }
}

void quitViewer() {
    Viewer& v = viewer();
    QProcess* p = v.process;
    if (!p) return;
    if (p->state() != QProcess::NotRunning) {
        p->terminate();
        if (!p->waitForFinished(kQuitWaitMs)) {
            p->kill();
            p->waitForFinished(kQuitWaitMs);
        }
    }
    delete p;
    v.collection.clear();
}

QString existingFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

} // namespace

QString noHelpText() {
    return QStringLiteral("Unable to display Help Contents. There is no Help associated with this project.");
}

QString HelpFilePath() {
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        candidates << exeDir + QStringLiteral("/help/") + QLatin1String(kCollectionName)
                   << exeDir + QStringLiteral("/../share/vexolan/help/") + QLatin1String(kCollectionName);
    }
#ifdef VEXOLAN_BUILD_HELP_DIR
    candidates << QStringLiteral(VEXOLAN_BUILD_HELP_DIR "/") + QLatin1String(kCollectionName);
#endif
#ifdef VEXOLAN_INSTALL_HELP_DIR
    candidates << QStringLiteral(VEXOLAN_INSTALL_HELP_DIR "/") + QLatin1String(kCollectionName);
#endif
    for (const QString& c : candidates) {
        const QString found = existingFile(c);
        if (!found.isEmpty()) return found;
    }
    return {};
}

QString ViewerProgram() {
    if (!viewerOverride().isEmpty()) return viewerOverride();
    const QString qtBins = QLibraryInfo::path(QLibraryInfo::BinariesPath);
    const QFileInfo bundled(qtBins + QStringLiteral("/assistant"));
    if (bundled.isFile() && bundled.isExecutable()) return bundled.absoluteFilePath();
    for (const char* name : {"assistant-qt6", "assistant"}) {
        const QString exe = QStandardPaths::findExecutable(QLatin1String(name));
        if (!exe.isEmpty()) return exe;
    }
    return {};
}

void setViewerProgram(const QString& program) {
    quitViewer();
    viewerOverride() = program;
}

bool ViewerRunning() {
    const QProcess* p = viewer().process;
    return p && p->state() == QProcess::Running;
}

HelpResult ShowHelp(QWidget* owner, long command, long data, const QString& helpFile) {
    Q_UNUSED(owner);
    if (command == HelpQuit) {
        quitViewer();
        return {};
    }
    if (helpFile.isEmpty() || !QFileInfo(helpFile).isFile())
        return {HelpResult::Status::NoHelpFile, noHelpText()};

    Viewer& v = viewer();
    const QString collection = QFileInfo(helpFile).absoluteFilePath();
    if (!ViewerRunning() || v.collection != collection) {
        quitViewer();
        const QString program = ViewerProgram();
        if (program.isEmpty())
            return {HelpResult::Status::ViewerError,
                    QStringLiteral("The help viewer (Qt Assistant) is not installed.")};
        auto* p = new QProcess(QCoreApplication::instance());
        // The viewer's own chatter is of no use to the user.
        p->setStandardOutputFile(QProcess::nullDevice());
        p->setStandardErrorFile(QProcess::nullDevice());
        p->start(program, QStringList{QStringLiteral("-collectionFile"), collection,
                                      QStringLiteral("-enableRemoteControl")} +
                              startArguments(command, data));
        if (!p->waitForStarted(kStartWaitMs)) {
            const QString why = p->errorString();
            p->kill();
            p->waitForFinished(kQuitWaitMs);
            delete p;
            return {HelpResult::Status::ViewerError, QStringLiteral("Unable to start the help viewer: ") + why};
        }
        v.process = p;
        v.collection = collection;
        return {};
    }
    const QByteArray commands = remoteCommands(command, data);
    if (v.process->write(commands) != commands.size())
        return {HelpResult::Status::ViewerError, v.process->errorString()};
    return {};
}

} // namespace help
