// Fuzz target for the label file reader: any bytes must read without a
// crash, and the labels read must write and read back the same.
#include "document/LabelFile.h"
#include "document/Legacy.h"

#include "FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const LabelReadResult r = readLabelFile(bytes);
    require(r.labels.size() <= 32767);
    require(r.failed == !r.errorDescription.isEmpty());

    Document doc;
    doc.clearData();
    appendLabels(doc, r.labels);
    require(doc.LabelCount == int(r.labels.size()));
    require(doc.MapLabels.size() == (r.labels.empty() ? 0 : r.labels.size() + 1));

    QByteArray written;
    try {
        written = writeLabelFile(doc);
    } catch (const legacy::Error&) {
        return 0;   // a colour beyond a whole 32-bit number cannot be written
    }
    const LabelReadResult again = readLabelFile(written);
    require(!again.failed);
    require(again.labels.size() == r.labels.size());
    for (size_t i = 0; i < r.labels.size(); ++i) {
        const MapLabel& a = r.labels[i];
        const MapLabel& b = again.labels[i];
        require(a.X == b.X && a.Y == b.Y);
        require(a.FontSize == b.FontSize);
        require(a.FontBold == b.FontBold && a.FontItalic == b.FontItalic);
        require(a.FontStrikethru == b.FontStrikethru && a.FontUnderline == b.FontUnderline);
    }
    return 0;
}
