// Fuzz target for reading a project file as the second data set.  The first
// byte picks the open map's coordinate system, the rest is the file.  The
// set read must hold its declared counts when whole, never more rows than
// declared when cut short, and only finite, uncombined points.
#include "document/Legacy.h"
#include "exchange/SecondDataSet.h"

#include "FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    Document doc = fuzzsupport::mapDocument(data[0]);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    bool whole = true;
    try {
        seconddata::readSecondDataSet(bytes, doc);
    } catch (const legacy::Error&) {
        whole = false;
    }
    require(doc.OtherDatCount >= 0 && doc.OtherConCount >= 0);
    if (whole) {
        require(doc.OtherCount == doc.OtherDatCount + doc.OtherConCount);
        require(doc.OtherCount <= 32767);
        require(doc.OtherPoints.size() == size_t(doc.OtherCount) + 1);
    } else if (!doc.OtherPoints.empty()) {
        require(doc.OtherPoints.size() <= size_t(doc.OtherCount) + 1);
    }
    for (size_t i = 1; i < doc.OtherPoints.size(); ++i) {
        require(fuzzsupport::finite(doc.OtherPoints[i]));
        require(!doc.OtherPoints[i].Combined);
    }
    return 0;
}
