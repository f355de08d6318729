// Text lines and files in the old runtime's layout: print-zone lines,
// quoted-field lines, the item reader, Latin-1 text and whole-file I/O.
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
QString decodeLatin1(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

QByteArray encodeLatin1(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x100) {
            out += char(c.unicode());
        } else {
            out += '?';
            // A character outside the basic plane is one character, not two.
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        }
    }
    return out;
}

QByteArray joinLinesCrLf(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += encodeLatin1(line);
        out += "\r\n";
    }
    return out;
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
