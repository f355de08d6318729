// Fuzz target for the project file reader: any bytes must read without a
// crash, leave the counts and arrays in step, and whatever was read whole
// must write and read back with the same counts.
#include "document/Legacy.h"
#include "document/ProjectFile.h"

#include "FuzzSupport.h"

#include <cstdint>

namespace {

void checkArrays(const Document& d) {
    require(d.DatCount >= 0 && d.DatCount <= 32767);
    require(d.ConCount >= 0 && d.ConCount <= 32767);
    require(d.DatCount ? d.DatumPoints.size() == size_t(d.DatCount) + 1 : d.DatumPoints.empty());
    require(d.ConCount ? d.ContourPoints.size() == size_t(d.ConCount) + 1 : d.ContourPoints.empty());
}

Document fresh() {
    Document d;
    d.clearData();
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Document doc = fresh();
    ProjectReadState st;
    try {
        readProjectFile(bytes, doc, st);
    } catch (const legacy::Error&) {
        require(!st.countsRead);
    }
    checkArrays(doc);
    if (!st.countsRead) return 0;

    // A file that read through its counts line writes and reads again.
    const QByteArray written = writeProjectFile(doc, st.controls);
    Document again = fresh();
    ProjectReadState st2;
    readProjectFile(written, again, st2);
    checkArrays(again);
    require(again.DatCount == doc.DatCount);
    require(again.ConCount == doc.ConCount);
    require(again.DataTitle == doc.DataTitle);
    require(again.MapFileName == doc.MapFileName);
    // Names the menus know come back unchanged; junk names from a damaged
    // file are written so that the file stays readable.
    if (reselectProjectionItem(doc.ProjectionName)) {
        require(again.ProjectionName == doc.ProjectionName);
        require(again.CoordUnits == doc.CoordUnits);
    }
    require(again.ContourDetail == doc.ContourDetail);
    require(st2.controls.kind == st.controls.kind);
    require(!st2.olderLayout);
    return 0;
}
