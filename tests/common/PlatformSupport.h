// What the platform tests share: the headers every one of them uses, their
// data files, and files written whole.
#pragma once

#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

// A file under the platform tests' data folder.
inline QString platformData(const QString& name) {
    return qEnvironmentVariable("VEXOLAN_TEST_DATA") + QStringLiteral("/platform/") + name;
}

// Writes `bytes` as the whole of `path`, making its folder, runnable by its
// owner if asked; false when that fails.
inline bool writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return false;
    f.close();
    return !executable || f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

} // namespace testsupport
