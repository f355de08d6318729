// Fuzz target for reading the outside converter's output file.  The first
// two bytes give the number of records asked for (up to a little beyond the
// result table's room), the rest is the file.  What is read must be the
// records asked for, and the result table written from it must hold its
// five heading lines and one line per record.
#include "document/Legacy.h"
#include "exchange/ConverterExchange.h"

#include "FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int count = (data[0] | data[1] << 8) % (converter::MaxRecords + 100);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    converter::Records records;
    try {
        records = converter::readOutput(bytes, count);
    } catch (const legacy::Error&) {
        return 0; // a short file or too many records is reported
    }
    require(count <= converter::MaxRecords);
    require(records.first.size() == count && records.second.size() == count && records.value.size() == count);
    for (const bool latLong : {false, true}) {
        const QByteArray table = converter::resultFileText(QStringLiteral("Converted"), records, latLong);
        require(table.startsWith("Converted\r\n"));
        require(table.count("\r\n") >= 5 + count);
    }
    return 0;
}
