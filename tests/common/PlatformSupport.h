// What the platform tests share: the headers every one of them uses, their
// data files, files written whole and the errors work raises.
#pragma once

#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "common/TestTable.h"
#include "document/Legacy.h"

namespace testsupport {

using maptest::writeFile;

// A file under the platform tests' data folder.
inline QString platformData(const QString& name) { return dataFile("platform/" + name); }

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
