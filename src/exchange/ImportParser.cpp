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
    : m_reader(text), m_text(text), m_code(code), m_mode(mode) {}

void RecordReader::skipLines(int lines) {
    for (int i = 0; i < lines; ++i) m_reader.readLine();
}

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
} // namespace

bool RecordReader::atEnd() const {
    if (m_pos < 0) return m_reader.atEnd();
    for (qsizetype i = m_pos; i < m_text.size(); ++i)
        if (!isBlank(m_text[i]) && !isLineEnd(m_text[i])) return false;
    return true;
}

QString RecordReader::nextField() {
    // Blanks and blank lines before a field are passed over.
    while (m_pos < m_text.size() && (isBlank(m_text[m_pos]) || isLineEnd(m_text[m_pos]))) ++m_pos;
    QString item;
    if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
        // A quoted text is one field, quotes removed.
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        item = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? int(m_text.size()) : int(close + 1);
    } else {
        const int start = m_pos;
        while (m_pos < m_text.size() && !isBlank(m_text[m_pos]) && m_text[m_pos] != u',' &&
               !isLineEnd(m_text[m_pos]))
            ++m_pos;
        item = m_text.mid(start, m_pos - start);
    }
    // A comma or line end after the field, past any blanks, goes with it.
    while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
    if (m_pos < m_text.size()) {
        if (m_text[m_pos] == u',' || m_text[m_pos] == u'\n') {
            ++m_pos;
        } else if (m_text[m_pos] == u'\r') {
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == u'\n') ++m_pos;
        }
    }
    return item;
}

Record RecordReader::read(int& missingFields) {
    missingFields = 0;
    if (m_mode == Mode::Comma) return parseCommaLine(m_reader.readLine(), m_code);
    if (m_pos < 0) m_pos = m_reader.position();
    Record r;
    const int columns = columnsOf(m_code);
    for (int k = 0; k < columns; ++k) {
        const QChar role = m_code[k];
        if (role == u'0') continue; // no column here
        if (atEnd()) {
            ++missingFields;
            continue;
        }
        // A skipped column takes the next field whatever it holds.
        const QString field = nextField();
        if (role != u'-') assign(r, role, legacy::NumVal(field));
    }
    return r;
}

void toMapUnits(Document& doc, bool degrees, float& X, float& Y) {
    namespace pn = projection_names;
    // The pole itself has no place on most projections.
    if (degrees && Y >= 90.0f) Y = 89.99999f;
    // Longitudes are taken as read, west negative, as the registration and
    // digitized points hold them: shifting them into 0..360 would move
    // western points away from the digitized ones on the conic projections.
    const QString& p = doc.ProjectionName;
    const double lon = X;
    const double lat = Y;
    if (p == pn::StandardMercator) {
        Y = ProjectMercator(doc, lat, true);
        return;
    }
    const TwoCoordProjection project = twoCoordProjection(p);
    if (!project) return;
    const float y = project(doc, lon, lat, true, false);
    const float x = project(doc, lon, lat, true, true);
    X = x;
    Y = y;
}

} // namespace importer
