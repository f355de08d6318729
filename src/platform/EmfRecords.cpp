// The record walk of an enhanced metafile.  Sizes, counts and offsets follow
// the published layout of each record kind; every test is made in 64-bit
// arithmetic, so no count can wrap a bound.
#include "platform/EmfRecords.h"

#include <QtEndian>
#include <array>
#include <initializer_list>
#include <utility>

namespace imaging {

namespace {

constexpr qint64 HeaderFixedSize = 88;

enum RecordKind : quint32 {
    EmrHeader = 1,
    EmrPolyBezier = 2,
    EmrPolygon = 3,
    EmrPolyline = 4,
    EmrPolyBezierTo = 5,
    EmrPolyLineTo = 6,
    EmrPolyPolyline = 7,
    EmrPolyPolygon = 8,
    EmrEof = 14,
    EmrCreatePalette = 49,
    EmrSetPaletteEntries = 50,
    EmrPolyDraw = 56,
    EmrComment = 70,
    EmrFillRgn = 71,
    EmrFrameRgn = 72,
    EmrInvertRgn = 73,
    EmrPaintRgn = 74,
    EmrExtSelectClipRgn = 75,
    EmrBitBlt = 76,
    EmrStretchBlt = 77,
    EmrMaskBlt = 78,
    EmrPlgBlt = 79,
    EmrSetDiBitsToDevice = 80,
    EmrStretchDiBits = 81,
    EmrExtTextOutA = 83,
    EmrExtTextOutW = 84,
    EmrPolyBezier16 = 85,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyBezierTo16 = 88,
    EmrPolyLineTo16 = 89,
    EmrPolyPolyline16 = 90,
    EmrPolyPolygon16 = 91,
    EmrPolyDraw16 = 92,
    EmrCreateMonoBrush = 93,
    EmrCreateDibPatternBrushPt = 94,
    EmrExtCreatePen = 95,
    EmrSmallTextOut = 108,
    EmrAlphaBlend = 114,
    EmrTransparentBlt = 116,
    EmrGradientFill = 118,
    LastKnownKind = 122,
};

// The fixed part of every record kind, in bytes, its type and size fields
// included.  Kinds without an entry need only those 8 bytes.
constexpr std::array<quint16, LastKnownKind + 1> makeMinimumSizes() {
    std::array<quint16, LastKnownKind + 1> m{};
    for (quint16& v : m) v = 8;
    const std::initializer_list<std::pair<int, quint16>> sizes = {
        {1, 88},   {2, 28},   {3, 28},   {4, 28},   {5, 28},   {6, 28},   {7, 32},   {8, 32},   {9, 16},
        {10, 16},  {11, 16},  {12, 16},  {13, 16},  {14, 20},  {15, 20},  {16, 12},  {17, 12},  {18, 12},
        {19, 12},  {20, 12},  {21, 12},  {22, 12},  {23, 32},  {24, 12},  {25, 12},  {26, 16},  {27, 16},
        {29, 24},  {30, 24},  {31, 24},  {32, 24},  {34, 12},  {35, 32},  {36, 36},  {37, 12},  {38, 28},
        {39, 24},  {40, 12},  {41, 28},  {42, 24},  {43, 24},  {44, 32},  {45, 40},  {46, 40},  {47, 40},
        {48, 12},  {49, 16},  {50, 20},  {51, 16},  {53, 24},  {54, 16},  {55, 40},  {56, 28},  {57, 12},
        {58, 12},  {62, 24},  {63, 24},  {64, 24},  {67, 12},  {70, 12},  {71, 32},  {72, 40},  {73, 28},
        {74, 28},  {75, 16},  {76, 100}, {77, 108}, {78, 128}, {79, 140}, {80, 76},  {81, 80},  {82, 104},
        {83, 76},  {84, 76},  {85, 28},  {86, 28},  {87, 28},  {88, 28},  {89, 28},  {90, 32},  {91, 32},
        {92, 28},  {93, 32},  {94, 32},  {95, 52},  {96, 40},  {97, 40},  {98, 12},  {99, 340}, {100, 12},
        {101, 12}, {102, 12}, {103, 28}, {104, 48}, {105, 16}, {106, 16}, {108, 36}, {109, 16}, {110, 20},
        {111, 24}, {112, 20}, {113, 20}, {114, 108}, {115, 12}, {116, 108}, {118, 36}, {119, 20}, {120, 16},
        {121, 24}, {122, 608},
    };
    for (const auto& [kind, size] : sizes) m[size_t(kind)] = size;
    return m;
}
constexpr std::array<quint16, LastKnownKind + 1> MinimumSize = makeMinimumSizes();

// One record of the file, read only where its length allows.
class Record {
public:
    Record(const uchar* data, qint64 size) : m_data(data), m_size(size) {}
    qint64 size() const { return m_size; }
    // The caller has made sure that the field lies inside the record.
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(m_data + at); }
    qint32 i32(qint64 at) const { return qFromLittleEndian<qint32>(m_data + at); }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(m_data + at); }
    // Whether `length` bytes from `offset` lie inside the record.
    bool holds(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }

private:
    const uchar* m_data;
    qint64 m_size;
};

// Points of the lines and curves: the count, then the points.
bool polyOk(const Record& r, qint64 pointSize) { return r.holds(28, pointSize * r.u32(24)); }

// Several lines: their number, the number of all points, the points of each
// line, then the points, which the lines must not claim more of than there are.
bool polyPolyOk(const Record& r, qint64 pointSize) {
    const qint64 lines = r.u32(24), points = r.u32(28);
    if (!r.holds(32, 4 * lines + pointSize * points)) return false;
    qint64 claimed = 0;
    for (qint64 i = 0; i < lines; ++i) claimed += r.u32(32 + 4 * i);
    return claimed <= points;
}

// A device-independent bitmap inside a record: its header and colours
// (offBmi, cbBmi) and its pixels (offBits, cbBits).  Pixels that are not a
// JPEG or PNG stream are read row by row as the header describes them, so
// all of those rows must be there.
bool bitmapOk(const Record& r, qint64 offBmi, qint64 offBits) {
    const qint64 at = r.u32(offBmi), length = r.u32(offBmi + 4);
    const qint64 bitsAt = r.u32(offBits), bitsLength = r.u32(offBits + 4);
    if (length == 0) return true;   // the record carries no bitmap
    if (length < 40 || !r.holds(at, length) || !r.holds(bitsAt, bitsLength)) return false;
    const qint64 headerSize = r.u32(at), width = r.i32(at + 4), height = r.i32(at + 8);
    const qint64 bits = r.u16(at + 14), compression = r.u32(at + 16), colorsUsed = r.u32(at + 32);
    if (headerSize < 40 || headerSize > length) return false;
    constexpr qint64 Jpeg = 4, Png = 5, BitFields = 3;
    if (compression == Jpeg || compression == Png) return true;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (width <= 0 || height == 0) return false;
    const qint64 colors = colorsUsed != 0 ? colorsUsed : bits <= 8 ? (qint64(1) << bits) : 0;
    const qint64 masks = compression == BitFields && headerSize == 40 ? 12 : 0;
    if (headerSize + masks + 4 * colors > length) return false;
    const qint64 row = (width * bits + 31) / 32 * 4;
    const qint64 rows = height < 0 ? -height : height;
    return row <= bitsLength / rows;   // row * rows <= bitsLength, without overflow
}

// A region: its 32-byte header, then its rectangles of 16 bytes each.
bool regionOk(const Record& r, qint64 lengthAt, qint64 dataAt, bool mayBeEmpty) {
    const qint64 length = r.u32(lengthAt);
    if (length == 0 && mayBeEmpty) return true;
    if (length < 32 || !r.holds(dataAt, length)) return false;
    return 32 + 16 * qint64(r.u32(dataAt + 8)) <= length;
}

// Text of one or two bytes a character, and its spacing of one or two
// 32-bit values a character.
bool extTextOk(const Record& r, qint64 charSize) {
    const qint64 chars = r.u32(44), textAt = r.u32(48), options = r.u32(52);
    constexpr qint64 NoRectangle = 0x100, VerticalSpacing = 0x2000;
    const qint64 spacingAt = r.u32(options & NoRectangle ? 56 : 72);
    const qint64 spacingSize = options & VerticalSpacing ? 8 : 4;
    return chars == 0 || (r.holds(textAt, chars * charSize) && r.holds(spacingAt, chars * spacingSize));
}

bool smallTextOk(const Record& r) {
    const qint64 chars = r.u32(16), options = r.u32(20);
    constexpr qint64 NoRectangle = 0x100, SmallChars = 0x200;
    return r.holds(options & NoRectangle ? 36 : 52, chars * (options & SmallChars ? 1 : 2));
}

// Vertices, then triangles of three or rectangles of two vertex numbers,
// each naming a vertex there is.
bool gradientOk(const Record& r) {
    const qint64 vertices = r.u32(24), shapes = r.u32(28);
    constexpr quint32 Triangles = 2;
    const qint64 corners = r.u32(32) == Triangles ? 3 : 2;
    const qint64 shapesAt = 36 + 16 * vertices;
    if (!r.holds(36, 16 * vertices + 4 * corners * shapes)) return false;
    for (qint64 i = 0; i < corners * shapes; ++i)
        if (r.u32(shapesAt + 4 * i) >= vertices) return false;
    return true;
}

// A comment carrying drawing records of the extended format ("EMF+"): they
// must fill its data exactly, each at least its 12-byte head long.
bool commentOk(const Record& r) {
    const qint64 length = r.u32(8);
    if (!r.holds(12, length)) return false;
    constexpr quint32 ExtendedRecords = 0x2B464D45;
    if (length < 4 || r.u32(12) != ExtendedRecords) return true;
    const qint64 end = 12 + length;
    qint64 at = 16;
    while (at < end) {
        if (end - at < 12) return false;
        const qint64 size = r.u32(at + 4), dataSize = r.u32(at + 8);
        if (size < 12 || size % 4 != 0 || size > end - at || dataSize > size - 12) return false;
        at += size;
    }
    return true;
}

// The counts and offsets each kind the converter draws carries.
bool contentOk(quint32 kind, const Record& r) {
    switch (kind) {
    case EmrPolyBezier:
    case EmrPolygon:
    case EmrPolyline:
    case EmrPolyBezierTo:
    case EmrPolyLineTo: return polyOk(r, 8);
    case EmrPolyBezier16:
    case EmrPolygon16:
    case EmrPolyline16:
    case EmrPolyBezierTo16:
    case EmrPolyLineTo16: return polyOk(r, 4);
    case EmrPolyPolyline:
    case EmrPolyPolygon: return polyPolyOk(r, 8);
    case EmrPolyPolyline16:
    case EmrPolyPolygon16: return polyPolyOk(r, 4);
    case EmrPolyDraw: return polyOk(r, 9);     // a point and a type byte each
    case EmrPolyDraw16: return polyOk(r, 5);
    case EmrCreatePalette: return r.holds(16, 4 * qint64(r.u16(14)));
    case EmrSetPaletteEntries: return r.holds(20, 4 * qint64(r.u32(16)));
    case EmrComment: return commentOk(r);
    case EmrFillRgn: return regionOk(r, 24, 32, false);
    case EmrFrameRgn: return regionOk(r, 24, 40, false);
    case EmrInvertRgn:
    case EmrPaintRgn: return regionOk(r, 24, 28, false);
    case EmrExtSelectClipRgn: return regionOk(r, 8, 16, true);
    case EmrBitBlt:
    case EmrStretchBlt:
    case EmrAlphaBlend:
    case EmrTransparentBlt: return bitmapOk(r, 84, 92);
    case EmrMaskBlt: return bitmapOk(r, 84, 92) && bitmapOk(r, 112, 120);
    case EmrPlgBlt: return bitmapOk(r, 96, 104) && bitmapOk(r, 124, 132);
    case EmrSetDiBitsToDevice:
    case EmrStretchDiBits: return bitmapOk(r, 48, 56);
    case EmrCreateMonoBrush:
    case EmrCreateDibPatternBrushPt: return bitmapOk(r, 16, 24);
    case EmrExtCreatePen: return r.holds(52, 4 * qint64(r.u32(48))) && bitmapOk(r, 12, 20);
    case EmrExtTextOutA: return extTextOk(r, 1);
    case EmrExtTextOutW: return extTextOk(r, 2);
    case EmrSmallTextOut: return smallTextOk(r);
    case EmrGradientFill: return gradientOk(r);
    default: return true;
    }
}

// The header's description (two strings of 16-bit characters) lies inside
// the header record, after its fixed part.
bool descriptionOk(const Record& header) {
    const qint64 chars = header.u32(64), at = header.u32(68);
    if (chars == 0 && at == 0) return true;
    return at >= HeaderFixedSize && at < header.size() && header.holds(at, 2 * chars);
}

} // namespace

QString emfRecordProblem(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 available = bytes.size();
    if (available < HeaderFixedSize) return QStringLiteral("the metafile is truncated");
    const qint64 declared = qFromLittleEndian<quint32>(data + 48);
    if (declared > available) return QStringLiteral("the metafile is truncated");

    qint64 at = 0;
    while (true) {
        if (declared - at < 8) return QStringLiteral("the metafile has no end record");
        const quint32 kind = qFromLittleEndian<quint32>(data + at);
        const qint64 size = qFromLittleEndian<quint32>(data + at + 4);
        const QString where = QStringLiteral("the record at byte %1 ").arg(at);
        if (size < 8 || size % 4 != 0) return where + QStringLiteral("has an impossible size");
        if (size > declared - at) return where + QStringLiteral("runs past the end of the metafile");
        if ((kind == EmrHeader) != (at == 0)) return where + QStringLiteral("is out of place");
        const Record record(data + at, size);
        if (kind <= LastKnownKind && size < MinimumSize[kind]) return where + QStringLiteral("is too short");
        if (kind == EmrHeader && !descriptionOk(record))
            return QStringLiteral("the metafile's description lies outside its header");
        if (!contentOk(kind, record)) return where + QStringLiteral("points outside itself");
        if (kind == EmrEof) return {};
        at += size;
    }
}

} // namespace imaging
