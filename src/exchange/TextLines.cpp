#include "exchange/TextLines.h"

#include "document/Legacy.h"

#include <QStringDecoder>
#include <limits>

namespace importer {

namespace {
// Offsets are 32-bit and lines counted in an int.
[[noreturn]] void tooLarge() { legacy::raise(QStringLiteral("The file is too large to import.")); }
} // namespace

TextLines::TextLines(QByteArray bytes) : m_bytes(std::move(bytes)) {
    if (m_bytes.size() >= qsizetype(std::numeric_limits<uint32_t>::max())) tooLarge();
    const auto* b = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    const qsizetype n = m_bytes.size();
    qsizetype start = 0;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        m_encoding = Encoding::Utf8;
        start = 3;
    } else if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        m_encoding = Encoding::Utf16LE;
        start = 2;
    } else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        m_encoding = Encoding::Utf16BE;
        start = 2;
    } else if (legacy::isUtf8Text(m_bytes)) {
        m_encoding = Encoding::Utf8;
    }
    const int unit = unitSize();
    // A stray last byte of a UTF-16 file is no character.
    const qsizetype end = n - (n - start) % unit;

    // Two passes, one counting the lines and one noting where each starts,
    // so that the offsets take one allocation of their final size.
    const auto scan = [&](auto&& lineStartsAt) {
        if (unit == 1) {
            for (qsizetype i = start; i < end; ++i) {
                const unsigned char c = b[i];
                if (c > '\r' || (c != '\r' && c != '\n')) continue;
                if (c == '\r' && i + 1 < end && b[i + 1] == '\n') ++i;
                lineStartsAt(i + 1);
            }
        } else {
            for (qsizetype i = start; i < end; i += 2) {
                const char16_t c = unitAt(i);
                if (c != u'\r' && c != u'\n') continue;
                if (c == u'\r' && i + 2 < end && unitAt(i + 2) == u'\n') i += 2;
                lineStartsAt(i + 2);
            }
        }
    };
    size_t ends = 0;
    qsizetype lastStart = start;
    scan([&](qsizetype at) {
        ++ends;
        lastStart = at;
    });
    if (ends >= size_t(std::numeric_limits<int>::max() - 1)) tooLarge();
    // The text after the last line end is a line of its own.
    const bool unended = lastStart != end;
    m_starts.reserve(1 + ends + (unended ? 1 : 0));
    m_starts.push_back(uint32_t(start));
    scan([&](qsizetype at) { m_starts.push_back(uint32_t(at)); });
    if (unended) m_starts.push_back(uint32_t(end));
}

TextLines TextLines::fromFile(const QString& path) { return TextLines(legacy::readFileBytes(path)); }

char16_t TextLines::unitAt(qsizetype offset) const {
    const auto* b = reinterpret_cast<const unsigned char*>(m_bytes.constData()) + offset;
    if (m_encoding == Encoding::Utf16LE) return char16_t(b[0] | (b[1] << 8));
    if (m_encoding == Encoding::Utf16BE) return char16_t((b[0] << 8) | b[1]);
    return char16_t(b[0]);
}

void TextLines::span(int i, qsizetype& first, qsizetype& last) const {
    first = m_starts[size_t(i)];
    last = m_starts[size_t(i) + 1];
    const int unit = unitSize();
    if (last > first && unitAt(last - unit) == u'\n') last -= unit;
    if (last > first && unitAt(last - unit) == u'\r') last -= unit;
}

QString TextLines::line(int i) const {
    qsizetype first = 0, last = 0;
    span(i, first, last);
    const char* p = m_bytes.constData() + first;
    const qsizetype len = last - first;
    switch (m_encoding) {
    case Encoding::CodePage: return legacy::decodeCodePage(QByteArrayView(p, len));
    case Encoding::Utf8: return QString::fromUtf8(p, len);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        QStringDecoder decode(m_encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                              QStringConverter::Flag::Stateless);
        return decode(QByteArrayView(p, len));
    }
    }
    return {};
}

bool TextLines::isBlank(int i) const {
    qsizetype first = 0, last = 0;
    span(i, first, last);
    for (qsizetype k = first; k < last; k += unitSize()) {
        const char16_t c = unitAt(k);
        if (c != u' ' && c != u'\t') return false;
    }
    return true;
}

} // namespace importer
