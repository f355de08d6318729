#include "exchange/ImportParser.h"

#include "document/Document.h"
#include "map/LatLongPlacement.h"
#include "map/Projections.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

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

int lineCount(const QString& txtLine, int headerLines) {
    const int32_t n = legacy::CLng(double(legacy::NumVal(txtLine)) - headerLines);
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

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The value of a number column's field read on line `line`: empty is 0;
// any other field must be a number from its first character to its last,
// within what a single holds, or the reading fails naming the line.  Text
// taken for 0 would put a point far off the map without a word.
float numberField(const QString& field, int line) {
    if (field.isEmpty()) return 0;
    double value = 0;
    if (!legacy::parseNumber(field, value)) legacy::raiseAt(legacy::ErrorCode::TypeMismatch, line, field);
    if (!(std::fabs(value) <= double(FLT_MAX))) legacy::raiseAt(legacy::ErrorCode::Overflow, line, field);
    return float(value);
}

// The number text of a comma-mode field: blanks around it dropped, a number
// in double quotes (as spreadsheets write it) without its quotes.  The last
// column's field runs to the end of the line; of it only the text before
// the next comma is the column's, as the old reader took it.
QString commaFieldText(QStringView field) {
    field = field.trimmed();
    if (field.startsWith(u'"')) {
        const qsizetype close = field.indexOf(u'"', 1);
        if (close < 0) return field.mid(1).trimmed().toString();
        const QStringView after = field.mid(close + 1).trimmed();
        if (after.isEmpty() || after.startsWith(u',')) return field.mid(1, close - 1).trimmed().toString();
        return field.toString(); // text after the quotes: no number
    }
    const qsizetype comma = field.indexOf(u',');
    return (comma < 0 ? field : field.left(comma)).trimmed().toString();
}

} // namespace

Record parseCommaLine(const QString& line, const QString& code, int lineNumber) {
    Record r;
    const int columns = columnsOf(code);
    const qsizetype len = line.size();
    qsizetype start = 0;
    for (int k = 0; k < columns; ++k) {
        if (start > len) break; // the line has no field for this column
        QStringView field;
        // A comma directly after the previous one ends nothing.
        if (k > 0)
            while (start < len && line[start] == u',') ++start;
        if (k == columns - 1) {
            field = QStringView(line).mid(start);
            start = len + 1;
        } else if (k == 0 && len > 0 && line[0] == u',') {
            start = 1; // an empty first field
        } else {
            const qsizetype comma = line.indexOf(u',', start + 1);
            if (comma < 0) {
                field = QStringView(line).mid(start);
                start = len + 1;
            } else {
                field = QStringView(line).mid(start, comma - start);
                start = comma + 1;
            }
        }
        if (code[k] != u'-') assign(r, code[k], numberField(commaFieldText(field), lineNumber));
    }
    return r;
}

RecordReader::RecordReader(const TextLines& lines, const QString& code, Mode mode)
    : m_lines(lines), m_code(code), m_mode(mode) {}

void RecordReader::skipLines(int lines) {
    if (lines > m_lines.count() - m_line) {
        m_line = m_lines.count();
        legacy::raise(legacy::ErrorCode::InputPastEnd);
    }
    m_line += lines;
}

int RecordReader::dataLinesAhead(int lines) const {
    const int available = std::min(lines, m_lines.count() - m_line);
    int data = std::max(0, lines - available);
    for (int i = m_line; i < m_line + available; ++i)
        if (!m_lines.isBlank(i)) ++data;
    return data;
}

bool RecordReader::toContent() {
    for (;;) {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
        if (m_pos < m_text.size()) return true;
        if (m_line >= m_lines.count()) return false;
        m_text = m_lines.line(m_line++);
        m_pos = 0;
    }
}

bool RecordReader::atEnd() {
    if (m_mode == Mode::Stream) return !toContent();
    for (int i = m_line; i < m_lines.count(); ++i)
        if (!m_lines.isBlank(i)) return false;
    return true;
}

QString RecordReader::nextField() {
    // Blanks and blank lines before a field are passed over (the caller
    // found one).
    toContent();
    QString item;
    if (m_text[m_pos] == u'"') {
        // A quoted text is one field, quotes removed; it ends with its line.
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        item = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? m_text.size() : close + 1;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !isBlank(m_text[m_pos]) && m_text[m_pos] != u',') ++m_pos;
        item = m_text.mid(start, m_pos - start);
    }
    // A comma after the field, past any blanks, goes with it (a line end
    // does by itself).
    while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == u',') ++m_pos;
    return item;
}

Record RecordReader::read(int& missingFields) {
    missingFields = 0;
    if (m_mode == Mode::Comma) {
        while (m_line < m_lines.count() && m_lines.isBlank(m_line)) ++m_line;
        if (m_line >= m_lines.count()) legacy::raise(legacy::ErrorCode::InputPastEnd);
        ++m_line;
        return parseCommaLine(m_lines.line(m_line - 1), m_code, m_line);
    }
    Record r;
    const int columns = columnsOf(m_code);
    for (int k = 0; k < columns; ++k) {
        const QChar role = m_code[k];
        if (role == u'0') continue; // no column here
        if (!toContent()) {
            ++missingFields;
            continue;
        }
        // A skipped column takes the next field whatever it holds.
        const QString field = nextField();
        if (role != u'-') assign(r, role, numberField(field, m_line));
    }
    return r;
}

std::optional<QString> toMapUnits(Document& doc, float& X, float& Y) {
    // Longitudes are taken as read, west negative, as the registration and
    // digitized points hold them: shifting them into 0..360 would move
    // western points away from the digitized ones on the conic projections.
    // The pole itself has no place on most projections.
    const float lat = placement::mapInDegrees(doc) && Y == 90.0f ? 89.99999f : Y;
    float x = 0, y = 0;
    if (auto why = placement::placeLatLong(doc, X, lat, x, y)) return why;
    X = x;
    Y = y;
    return std::nullopt;
}

} // namespace importer
