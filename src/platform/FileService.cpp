#include "platform/FileService.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QWidget>
#include <algorithm>

QString FileService::SpecialFolderPath(int folder) {
    if (folder != DocumentsFolder) return {};
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) return {};
    // A fresh account often has no Documents folder yet; the program keeps
    // its data folder inside it, so make it rather than fall back elsewhere.
    if (!QDir().mkpath(docs)) return {};
    QString path = QDir::cleanPath(docs);
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

bool FileService::FileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString FileService::SplitPath(const QString& path, bool wantFolder) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (wantFolder) return cut < 0 ? QString() : path.left(cut + 1);
    return path.mid(cut + 1);
}

QString FileService::WithExtension(const QString& path, const QString& ext) {
    const QString name = SplitPath(path, false);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && dot < name.size() - 1) return path;
    return path + (name.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + ext;
}

QString FileService::SystemName() {
    const QString pretty = QSysInfo::prettyProductName();
    if (!pretty.isEmpty()) return pretty;
    return QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
}

bool FileService::SetWindowState(QWidget* window, bool onTop) {
    if (!window) return false;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return true;
    // Changing a window's flags hides it; show it again as it was.
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) window->show();
    return true;
}

QString FileService::StripNulls(const QByteArray& buffer) {
    const qsizetype nul = buffer.indexOf('\0');
    if (nul < 0) return {};
    return QString::fromUtf8(buffer.left(nul));
}
