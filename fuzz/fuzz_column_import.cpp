// Fuzz target for the column import.  The first byte picks the column order
// (every accepted code) and the reading mode (comma lines or a stream of
// fields); the second the map's coordinate system, whether its units are
// degrees, and the header lines to skip; the rest is the file.  Reading must
// end after at most one record a line (comma mode) or a character (stream
// mode), or with a reported failure, and every value read, also once
// converted to map units, must be a finite number.
#include "document/Legacy.h"
#include "exchange/ImportParser.h"
#include "map/CoordinateMenu.h"

#include "FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    using importer::RecordReader;
    const QStringList& codes = importer::acceptedCodes();
    const QString code = codes[data[0] % codes.size()];
    const bool stream = (data[0] / codes.size()) % 2 != 0;
    Document doc = fuzzsupport::mapDocument(data[1] & 0x0F);
    doc.CoordUnits = (data[1] & 0x10) != 0 ? coord_units::Degrees : coord_units::Meters;
    const int header = data[1] >> 5;
    const importer::TextLines lines(QByteArray(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2)));
    qsizetype characters = 0;
    for (int i = 0; i < lines.count(); ++i) characters += lines.line(i).size() + 1;

    RecordReader reader(lines, code, stream ? RecordReader::Mode::Stream : RecordReader::Mode::Comma);
    try {
        reader.skipLines(header);
    } catch (const legacy::Error&) {
        return 0; // fewer lines than the header: reported as the file's end
    }
    int records = 0;
    while (records < importer::MaxRecords && !reader.atEnd()) {
        int missing = 0;
        importer::Record r;
        try {
            r = reader.read(missing);
        } catch (const legacy::Error& e) {
            require(!e.description().isEmpty());
            return 0; // a field that is not a number: the import is undone
        }
        ++records;
        require(stream ? records <= characters : records <= lines.count());
        require(missing >= 0 && missing <= 4);
        require(std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Z));
        float X = r.X, Y = r.Y;
        try {
            importer::toMapUnits(doc, X, Y);
        } catch (const legacy::Error&) {
            continue; // the import reports it and takes the points back
        }
        require(std::isfinite(X) && std::isfinite(Y));
    }
    return 0;
}
