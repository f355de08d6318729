#include "exchange/ImportParser.h"

#include "document/Document.h"
#include "map/Projections.h"

namespace importer {

const QStringList& acceptedCodes() {
    static const QStringList codes = {
        QStringLiteral("xyz0"), QStringLiteral("yxz0"), QStringLiteral("zxy0"), QStringLiteral("zyx0"),
        QStringLiteral("-xyz"), QStringLiteral("-yxz"), QStringLiteral("-zxy"), QStringLiteral("-zyx"),
        QStringLiteral("xyz-"), QStringLiteral("yxz-"), QStringLiteral("zxy-"), QStringLiteral("zyx-"),
        QStringLiteral("--xy"), QStringLiteral("--yx"), QStringLiteral("-xy-"), QStringLiteral("-yx-"),
        QStringLiteral("xy--"), QStringLiteral("yx--"), QStringLiteral("-xy0"), QStringLiteral("-yx0"),
        QStringLiteral("xy-0"), QStringLiteral("yx-0"), QStringLiteral("xy00"), QStringLiteral("yx00"),
    };
    return codes;
}

bool isAcceptedCode(const QString& code) { return acceptedCodes().contains(code); }

int16_t headerLines(const QString& txtHead) { return legacy::CInt(legacy::NumVal(txtHead)); }

int recordCount(const QString& txtLine, int headerLines) {
    const int32_t n = legacy::CLng(double(legacy::NumVal(txtLine)) - headerLines);
    if (n > MaxRecords) return MaxRecords;
    return n < 0 ? 0 : n;
}

namespace {

// The number of columns the code reads: up to its last letter that is not "0".
int columnsOf(const QString& code) {
    int n = int(code.size());
    while (n > 0 && code[n - 1] == u'0') --n;
    return n;
}

void assign(Record& r, QChar role, float value) {
    if (role == u'x') r.X = value;
    else if (role == u'y') r.Y = value;
    else if (role == u'z') r.Z = value;
}

} // namespace

Record parseCommaLine(const QString& line, const QString& code) {
    Record r;
    const int columns = columnsOf(code);
    const qsizetype len = line.size();
    qsizetype start = 0;
    for (int k = 0; k < columns; ++k) {
        if (start > len) break; // the line has no field for this column
        QString field;
        // A comma directly after the previous one ends nothing.
        if (k > 0)
            while (start < len && line[start] == u',') ++start;
        if (k == columns - 1) {
            field = line.mid(start);
            start = len + 1;
        } else if (k == 0 && len > 0 && line[0] == u',') {
            start = 1; // an empty first field
        } else {
            const qsizetype comma = line.indexOf(u',', start + 1);
            if (comma < 0) {
                field = line.mid(start);
                start = len + 1;
            } else {
                field = line.mid(start, comma - start);
                start = comma + 1;
            }
        }
        assign(r, code[k], legacy::NumVal(field));
    }
    return r;
}

RecordReader::RecordReader(const QString& text, const QString& code, Mode mode)
    : m_reader(text), m_code(code), m_mode(mode) {}

void RecordReader::skipLines(int lines) {
    for (int i = 0; i < lines; ++i) m_reader.readLine();
}

bool RecordReader::atEnd() const { return m_reader.atEnd(); }

Record RecordReader::read(int& missingFields) {
    missingFields = 0;
    if (m_mode == Mode::Comma) return parseCommaLine(m_reader.readLine(), m_code);
    Record r;
    const int columns = columnsOf(m_code);
    for (int k = 0; k < columns; ++k) {
        const QChar role = m_code[k];
        if (role == u'0') continue; // no column here
        if (m_reader.atEnd()) {
            ++missingFields;
            continue;
        }
        // A skipped column takes the next field whatever it holds.
        const double v = m_reader.readNumber();
        if (role != u'-') assign(r, role, legacy::ToSingle(v));
    }
    return r;
}

void toMapUnits(Document& doc, bool degrees, float& X, float& Y) {
    namespace pn = projection_names;
    // The pole itself has no place on most projections.
    if (degrees && Y >= 90.0f) Y = 89.99999f;
    const QString& p = doc.ProjectionName;
    const double lon = X;
    const double lat = Y;
    if (p == pn::StandardMercator) {
        Y = ProjectMercator(doc, lat, true);
        return;
    }
    float (*project)(Document&, double, double, bool, bool) = nullptr;
    if (p == pn::TransverseMercator) project = ProjectTransverseMercator;
    else if (p == pn::Orthographic) project = ProjectOrthographic;
    else if (p == pn::LambertAzimuthal) project = ProjectLambertAzimuthal;
    else if (p == pn::AlbersEqualArea) project = ProjectAlbersEqualArea;
    else if (p == pn::LambertConformal) project = ProjectLambertConformal;
    if (!project) return;
    const float y = project(doc, lon, lat, true, false);
    const float x = project(doc, lon, lat, true, true);
    X = x;
    Y = y;
}

} // namespace importer
