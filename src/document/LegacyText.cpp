// Text lines and files in the old runtime's layout: print-zone lines,
// quoted-field lines, the item reader, the text of files and whole-file I/O.
#include "document/Legacy.h"
#include "document/LegacyDetail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cfloat>
#include <memory>
#include <unistd.h>

namespace legacy {

namespace {

constexpr int kZoneWidth = 14;

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Drops the sign of a number's text; the sign goes into its own column.
QString unsignedDigits(const QString& text) {
    return text.startsWith(u'-') ? text.mid(1) : text;
}

// Reads a quoted item from the opening quote at `pos`: the text up to the
// closing quote (line ends included) or, without one, to the end.  Leaves
// `pos` after the closing quote.
QString readQuoted(const QString& text, int& pos) {
    const int start = pos + 1;
    const int close = int(text.indexOf(u'"', start));
    if (close < 0) {
        pos = int(text.size());
        return text.mid(start);
    }
    pos = close + 1;
    return text.mid(start, close - start);
}

// Moves `pos` to the comma or line end after an item, or to the end.
void skipToSeparator(const QString& text, int& pos) {
    while (pos < text.size() && text[pos] != u',' && !isLineEnd(text[pos])) ++pos;
}

} // namespace

// ---------------------------------------------------------------------------
// Print-zone lines.  An item after the first starts at the next zone start at
// or after the end of the line so far, but never directly against a
// non-blank character: a text item that fills its zone to the last column is
// followed by one more zone, so the reader always finds a blank between two
// items.  A number item ends with its own blank and needs no extra zone.
void PrintZoneLine::startItem() {
    if (!m_any) {
        m_any = true;
        return;
    }
    const int len = int(m_line.size());
    int start = (len + kZoneWidth - 1) / kZoneWidth * kZoneWidth;
    if (start == len && (len == 0 || m_line.back() != u' ')) start += kZoneWidth;
    m_line += QString(start - len, u' ');
}

PrintZoneLine& PrintZoneLine::text(const QString& item) {
    startItem();
    m_line += item;
    return *this;
}

PrintZoneLine& PrintZoneLine::number(float value) {
    const QString digits = NumberItem(value);
    startItem();
    m_line += value < 0 ? u'-' : u' ';
    m_line += unsignedDigits(digits);
    m_line += u' ';
    return *this;
}

PrintZoneLine& PrintZoneLine::integer(long long value) {
    startItem();
    m_line += value < 0 ? u'-' : u' ';
    m_line += unsignedDigits(IntegerText(value));
    m_line += u' ';
    return *this;
}

// ---------------------------------------------------------------------------
// Quoted-field lines.  A text is written between quotes as held; a quote
// inside it is not doubled (the old runtime did not either), so such a text
// reads back cut at that quote, and the reader stays whole.
void QuotedFieldLine::sep() {
    if (m_any) m_line += u',';
    m_any = true;
}

QuotedFieldLine& QuotedFieldLine::text(const QString& item) {
    sep();
    m_line += u'"';
    m_line += item;
    m_line += u'"';
    return *this;
}

QuotedFieldLine& QuotedFieldLine::number(float value) {
    const QString digits = NumberItem(value);
    sep();
    m_line += digits;
    return *this;
}

QuotedFieldLine& QuotedFieldLine::decimal(float value) {
    const QString digits = DecimalItem(value);
    sep();
    m_line += digits;
    return *this;
}

QuotedFieldLine& QuotedFieldLine::integer(long long value) {
    sep();
    m_line += IntegerText(value);
    return *this;
}

QuotedFieldLine& QuotedFieldLine::boolean(bool value) {
    sep();
    m_line += value ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
    return *this;
}

// ---------------------------------------------------------------------------
// Item reader.
FieldReader::FieldReader(const QString& text) : m_text(text) {}

bool FieldReader::atEnd() const {
    for (qsizetype i = m_pos; i < m_text.size(); ++i)
        if (!isBlank(m_text[i]) && !isLineEnd(m_text[i])) return false;
    return true;
}

void FieldReader::skipBlanks() {
    while (m_pos < m_text.size() && isBlank(m_text[m_pos])) ++m_pos;
}

// Passes over the separator after an item: blanks, then one comma or one
// line end (CR LF counts as one).  Anything else starts the next item.
void FieldReader::endItem() {
    skipBlanks();
    if (m_pos >= m_text.size()) return;
    const QChar c = m_text[m_pos];
    if (c == u',') {
        ++m_pos;
    } else if (c == u'\r') {
        ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n') ++m_pos;
    } else if (c == u'\n') {
        ++m_pos;
    }
}

QString FieldReader::readText() {
    if (m_pos >= m_text.size()) raise(ErrorCode::InputPastEnd);
    skipBlanks();
    if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
        const QString item = readQuoted(m_text, m_pos);
        skipToSeparator(m_text, m_pos);
        endItem();
        return item;
    }
    const int start = m_pos;
    skipToSeparator(m_text, m_pos);
    const QString item = m_text.mid(start, m_pos - start);
    endItem();
    return item;
}

namespace {

// The text of one number or Boolean item: after blanks and line ends, up to
// the next blank, comma or line end; a quoted item as readText() takes it.
// Returns false at the end of the text.
bool readBareItem(const QString& text, int& pos, QString& item, bool& quoted) {
    while (pos < text.size() && (isBlank(text[pos]) || isLineEnd(text[pos]))) ++pos;
    if (pos >= text.size()) return false;
    quoted = text[pos] == u'"';
    if (quoted) {
        item = readQuoted(text, pos);
        skipToSeparator(text, pos);
        return true;
    }
    const int start = pos;
    while (pos < text.size() && !isBlank(text[pos]) && text[pos] != u',' && !isLineEnd(text[pos])) ++pos;
    item = text.mid(start, pos - start);
    return true;
}

} // namespace

double FieldReader::readNumber() {
    QString item;
    bool quoted = false;
    if (!readBareItem(m_text, m_pos, item, quoted)) raise(ErrorCode::InputPastEnd);
    if (m_strict) {
        double value = 0;
        if (!parseNumber(item, value)) raiseAt(ErrorCode::TypeMismatch, lineNumber(), item);
        endItem();
        return value;
    }
    endItem();
    return detail::lenientValue(item, DBL_MAX);
}

int FieldReader::lineNumber() const {
    int line = 1;
    for (int i = 0; i < m_pos && i < m_text.size(); ++i) {
        if (m_text[i] == u'\n') ++line;
        else if (m_text[i] == u'\r' && !(i + 1 < m_text.size() && m_text[i + 1] == u'\n')) ++line;
    }
    return line;
}

bool FieldReader::readBoolean() {
    QString item;
    bool quoted = false;
    if (!readBareItem(m_text, m_pos, item, quoted)) raise(ErrorCode::InputPastEnd);
    endItem();
    if (item.compare(u"#TRUE#", Qt::CaseInsensitive) == 0) return true;
    if (item.compare(u"#FALSE#", Qt::CaseInsensitive) == 0) return false;
    return detail::lenientValue(item, DBL_MAX) != 0.0;
}

QString FieldReader::readLine() {
    if (m_pos >= m_text.size()) raise(ErrorCode::InputPastEnd);
    const int start = m_pos;
    while (m_pos < m_text.size() && !isLineEnd(m_text[m_pos])) ++m_pos;
    const QString line = m_text.mid(start, m_pos - start);
    if (m_pos < m_text.size()) {
        if (m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\n') ++m_pos;
        ++m_pos;
    }
    return line;
}

// ---------------------------------------------------------------------------
// Text and files.
namespace {

// The characters of the code page's bytes 0x80 to 0x9F; the five bytes it
// leaves undefined stand for their own code, as in Latin-1.
constexpr char16_t kCodePageHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code-page byte of `c`, or -1 when the code page has none.
int codePageByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kCodePageHigh[i] == c) return 0x80 + i;
    return -1;
}

// The length of the well-formed UTF-8 sequence at `at`, or 0: no overlong
// form, no surrogate, nothing past U+10FFFF.
qsizetype utf8Sequence(const unsigned char* at, qsizetype left) {
    const unsigned char b = at[0];
    qsizetype n = 0;
    unsigned char lo = 0x80, hi = 0xBF;   // the bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) n = 2;
    else if (b >= 0xE0 && b <= 0xEF) n = 3, lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    else if (b >= 0xF0 && b <= 0xF4) n = 4, lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (left < n || at[1] < lo || at[1] > hi) return 0;
    for (qsizetype k = 2; k < n; ++k)
        if ((at[k] & 0xC0) != 0x80) return 0;
    return n;
}

} // namespace

bool isUtf8Text(QByteArrayView bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    bool multiByte = false;
    for (qsizetype i = 0; i < n;) {
        if (b[i] < 0x80) {
            ++i;
            continue;
        }
        const qsizetype len = utf8Sequence(b + i, n - i);
        if (len == 0) return false;
        multiByte = true;
        i += len;
    }
    return multiByte;
}

QString decodeCodePage(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *to++ = b >= 0x80 && b < 0xA0 ? kCodePageHigh[b - 0x80] : char16_t(b);
    }
    return out;
}

QString decodeText(QByteArrayView bytes) {
    if (!isUtf8Text(bytes)) return decodeCodePage(bytes);
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

QByteArray encodeText(QStringView text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    bool high = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = codePageByte(text[i].unicode());
        if (b < 0) return text.toUtf8();
        out[i] = char(b);
        high = high || b >= 0x80;
    }
    // Code-page bytes that happen to form UTF-8 ("É’" is C9 92, the UTF-8 of
    // "ɒ") would read back as UTF-8: such a text goes in UTF-8 as well, so
    // that every file reads back as it was written.
    if (high && isUtf8Text(out)) return text.toUtf8();
    return out;
}

QByteArray joinLinesCrLf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return encodeText(text);
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (!isLineEnd(c)) continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

namespace {

// Writes all of `bytes` to the file and makes sure they are on the disk.
// Written here rather than through QSaveFile's own buffer, whose last flush
// goes unchecked in commit() on Qt 6.4 (so a full disk could rename a short
// temporary over the old file) and whose messages lose the system's reason.
// Returns "" or that reason ("No space left on device").
QString writeThrough(int fd, const QByteArray& bytes) {
    const char* at = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return qt_error_string(n < 0 ? errno : ENOSPC);
        at += n;
        left -= n;
    }
    // A full disk may show only now, when the data leave the cache.
    if (::fsync(fd) != 0 && errno != EINVAL) return qt_error_string(errno);
    return {};
}

// Writes every file of the set to a temporary beside it, and renames them
// into place once all of them are complete.  Returns "" or the reason, with
// `failed` the file it concerns; the temporaries not renamed are removed.
QString writeSet(const std::vector<FileWrite>& files, QString& failed) {
    std::vector<std::unique_ptr<QSaveFile>> open;
    for (const FileWrite& f : files) {
        failed = f.path;
        auto file = std::make_unique<QSaveFile>(f.path);
        if (!file->open(QIODevice::WriteOnly)) return file->errorString();
        const QString reason = writeThrough(file->handle(), f.bytes);
        if (!reason.isEmpty()) return reason;
        open.push_back(std::move(file));
    }
    for (size_t i = 0; i < open.size(); ++i) {
        failed = files[i].path;
        if (!open[i]->commit()) return open[i]->errorString();
    }
    return {};
}

} // namespace

void writeFilesAtomically(const std::vector<FileWrite>& files) {
    for (const FileWrite& f : files) {
        if (f.path.isEmpty()) raise(QStringLiteral("Cannot write a file without a name"));
        if (!QFileInfo(f.path).absoluteDir().exists()) raise(ErrorCode::PathNotFound);
    }
    QString failed;
    const QString reason = writeSet(files, failed);
    if (!reason.isEmpty()) raise(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(failed), reason));
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) { writeFilesAtomically({{path, bytes}}); }

QString replaceFile(const QString& path, const QByteArray& bytes) {
    QString failed;
    return writeSet({{path, bytes}}, failed);
}

QByteArray readFileBytes(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) raise(ErrorCode::FileNotFound);
    if (info.isDir()) raise(QStringLiteral("Cannot read %1: it is a folder").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raise(QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return file.readAll();
}

} // namespace legacy
