#include "platform/Shell.h"

#include <QEventLoop>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace shell {

namespace {

// xdg-mime answers at once; a longer wait means something is wrong with it.
constexpr int kToolWaitMs = 5000;
// xdg-open hands a link to a program and ends, or fails, within moments;
// one still running after this runs the program it found in the foreground.
constexpr int kOpenerWaitMs = 5000;

// Runs a short query program and returns its first output line, "" on any failure.
QString queryLine(const QString& program, const QStringList& args) {
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) return {};
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(exe, args, QIODevice::ReadOnly);
    if (!p.waitForStarted(kToolWaitMs)) return {};
    p.closeWriteChannel();
    if (!p.waitForFinished(kToolWaitMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return {};
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    return out.section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

bool OpenUrl(const QUrl& url) {
    if (!url.isValid() || url.isEmpty()) return false;
    // The desktop's opener looks for a browser or mail program only after it
    // has started, and says by its exit status whether it found one (3: no
    // method available); its start alone says nothing.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return false;
    auto* p = new QProcess;
    p->setProgram(opener);
    p->setArguments({QString::fromUtf8(url.toEncoded())});
    // No pipes: a program it starts may keep them open and write to them.
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    p->start();
    if (!p->waitForStarted(kToolWaitMs)) {
        delete p;
        return false;
    }
    // Waited for in a local loop that keeps the windows painted but takes no
    // input, so that no other command starts meanwhile.
    QEventLoop loop;
    QObject::connect(p, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kOpenerWaitMs, &loop, &QEventLoop::quit);
    if (p->state() != QProcess::NotRunning) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (p->state() != QProcess::NotRunning) {
        // Still running: it has found a program and runs it in the
        // foreground.  It is left to end in its own time.
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        return true;
    }
    const bool opened = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    delete p;
    return opened;
}

QString DefaultEditorFor(const QString& file) {
    // The file's kind from the same shared MIME database xdg-mime consults;
    // it does not depend on which helper tools happen to be installed.
    const QString mime = QMimeDatabase().mimeTypeForFile(file).name();
    if (mime.isEmpty() || mime == QLatin1String("application/octet-stream")) return {};
    const QString id = queryLine(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mime});
    return id.endsWith(QLatin1String(".desktop")) ? id : QString();
}

QStringList SystemInfoPrograms() {
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor")};
}

bool StartSysInfo() {
    for (const QString& name : SystemInfoPrograms()) {
        const QString exe = QStandardPaths::findExecutable(name);
        if (exe.isEmpty()) continue;
        if (QProcess::startDetached(exe, {})) return true;
    }
    return false;
}

} // namespace shell
