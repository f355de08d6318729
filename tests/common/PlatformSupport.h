// What the platform tests share: the headers every one of them uses, their
// data files, files written whole and the errors work raises.
#pragma once

#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "common/TestTable.h"
#include "document/Legacy.h"

#include <QDir>
#include <QTemporaryDir>

namespace testsupport {

// A file under the platform tests' data folder.
inline QString platformData(const QString& name) { return dataFile("platform/" + name); }

// Writes `bytes` as the whole of `path`, making its folder, runnable by its
// owner if asked; false when that fails.
inline bool writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return false;
    f.close();
    return !executable || f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// The description of the error `work` raises; "" when it raises none.
template <typename Work> QString errorOf(Work work) {
    try {
        work();
    } catch (const legacy::Error& e) {
        return e.description();
    }
    return {};
}

} // namespace testsupport
