// Fuzz target for the column import.  The first byte picks the column order
// (every accepted code) and the reading mode (comma lines or a stream of
// fields); the second the map's coordinate system, whether its units are
// degrees, and the header lines to skip; the rest is the file.  Reading must
// end after at most one record a line (comma mode) or a character (stream
// mode), and every value read, also once converted to map units, must be a
// finite number.
#include "document/Legacy.h"
#include "exchange/ImportParser.h"

#include "FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    using importer::RecordReader;
    const QStringList& codes = importer::acceptedCodes();
    const QString code = codes[data[0] % codes.size()];
    const bool stream = (data[0] / codes.size()) % 2 != 0;
    Document doc = fuzzsupport::mapDocument(data[1] & 0x0F);
    const bool degrees = (data[1] & 0x10) != 0;
    const int header = data[1] >> 5;
    const QString text = legacy::decodeLatin1(QByteArray(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)));

    RecordReader reader(text, code, stream ? RecordReader::Mode::Stream : RecordReader::Mode::Comma);
    try {
        reader.skipLines(header);
    } catch (const legacy::Error&) {
        return 0; // fewer lines than the header: reported as the file's end
    }
    const qsizetype lineEnds = text.count(u'\n') + text.count(u'\r');
    int records = 0;
    while (records < importer::MaxRecords && !reader.atEnd()) {
        int missing = 0;
        const importer::Record r = reader.read(missing);
        ++records;
        require(stream ? records <= text.size() : records <= lineEnds + 1);
        require(missing >= 0 && missing <= 4);
        require(std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Z));
        float X = r.X, Y = r.Y;
        try {
            importer::toMapUnits(doc, degrees, X, Y);
        } catch (const legacy::Error&) {
            continue; // the import reports it and takes the points back
        }
        require(std::isfinite(X) && std::isfinite(Y));
    }
    return 0;
}
