#include "platform/Shell.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace shell {

namespace {

// xdg-mime answers at once; a longer wait means something is wrong with it.
constexpr int kToolWaitMs = 5000;

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
    return QDesktopServices::openUrl(url);
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
