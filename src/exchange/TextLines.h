// The lines of a text file of points, kept as the file's bytes and the offset
// of each line, so that a file of a million lines is listed and read without
// a string per line.  The text is told by its byte-order mark: UTF-8, UTF-16
// little- or big-endian; a file without one is read as every text file of the
// program is (legacy::decodeText): UTF-8 when it is valid UTF-8 with a
// multi-byte sequence, else the 8-bit code page.  No widget is touched here.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace importer {

class TextLines {
public:
    enum class Encoding { CodePage, Utf8, Utf16LE, Utf16BE };

    TextLines() = default;
    // Throws legacy::Error when the file is too large to index (4 GiB).
    explicit TextLines(QByteArray bytes);
    // Reads the whole file; throws legacy::Error ("File not found", ...).
    static TextLines fromFile(const QString& path);

    // Lines end at CR, LF or CR LF; a final line end makes no empty line.
    int count() const { return m_starts.empty() ? 0 : int(m_starts.size()) - 1; }
    // Line i (from 0) without its line end.
    QString line(int i) const;
    // Whether line i holds nothing but blanks (spaces and tabs).
    bool isBlank(int i) const;
    Encoding encoding() const { return m_encoding; }
    // The memory held for the file: its bytes and the line offsets.
    qsizetype heldBytes() const { return m_bytes.size() + qsizetype(m_starts.capacity() * sizeof(uint32_t)); }

private:
    int unitSize() const { return m_encoding == Encoding::Utf16LE || m_encoding == Encoding::Utf16BE ? 2 : 1; }
    char16_t unitAt(qsizetype offset) const;
    // The bytes of line i without its line end: [first, last).
    void span(int i, qsizetype& first, qsizetype& last) const;

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::CodePage;
    // Where each line starts, then where the text ends.
    std::vector<uint32_t> m_starts;
};

} // namespace importer
