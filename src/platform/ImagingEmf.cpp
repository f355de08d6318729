// Enhanced metafiles: libemf2svg turns the records into SVG, QtSvg draws it
// on white at the picture frame's size at 96 dots per inch.
//
// libemf2svg is opened privately at run time rather than linked: the libuemf
// it depends on exports a wmf_free of its own, and once in the global symbol
// scope that one takes the place of libwmf's wmf_free, so that Magick++'s
// Windows metafile reader would crash.
#include "platform/EmfRecords.h"
#include "platform/ImagingDecoders.h"

#include <emf2svg.h>

#include <dlfcn.h>
#include <mutex>

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace imaging {

namespace {

constexpr qsizetype EmfHeaderSize = 88;
constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr qsizetype TrailingZeros = 4096;

// The fixed part of the header, copied out of the file once it is known to
// be there.
using Header = std::array<uchar, EmfHeaderSize>;
qint32 i32(const Header& h, qsizetype at) { return qFromLittleEndian<qint32>(h.data() + at); }
quint32 u32(const Header& h, qsizetype at) { return qFromLittleEndian<quint32>(h.data() + at); }

// The SVG text, freed with free() as the library allocates it with malloc().
struct SvgText {
    char* data = nullptr;
    size_t size = 0;
    ~SvgText() { std::free(data); }
};

using Emf2SvgFn = decltype(&::emf2svg);

// The converter, or null with `why` set when the library cannot be opened.
Emf2SvgFn converter(QString& why) {
    static std::once_flag once;
    static Emf2SvgFn fn = nullptr;
    static QString failure;
    std::call_once(once, [] {
        void* lib = nullptr;
        for (const char* name : {"libemf2svg.so.1", "libemf2svg.so"}) {
            lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
            if (lib) break;
        }
        if (!lib) {
            failure = QStringLiteral("the enhanced metafile converter (libemf2svg) is not installed");
            return;
        }
        fn = reinterpret_cast<Emf2SvgFn>(dlsym(lib, "emf2svg"));
        if (!fn) failure = QStringLiteral("the enhanced metafile converter (libemf2svg) is not usable");
    });
    why = failure;
    return fn;
}

} // namespace

QImage decodeEmf(const QByteArray& bytes, QString& error) {
    Header head{};
    if (bytes.size() >= EmfHeaderSize) std::copy_n(bytes.cbegin(), head.size(), head.begin());
    if (bytes.size() < EmfHeaderSize || u32(head, 0) != 1 || u32(head, 40) != EmfSignature) {
        error = QStringLiteral("not an enhanced metafile");
        return {};
    }
    // The converter believes every size and offset it reads: a file it could
    // be led out of its data by is refused here.
    error = emfRecordProblem(bytes);
    if (!error.isEmpty()) return {};
    const quint32 declared = u32(head, 48);

    // The frame (hundredths of a millimetre) is the picture's intended size;
    // the bounds (device pixels, inclusive) stand in when it is empty.
    const double frameW = double(i32(head, 32)) - double(i32(head, 24));
    const double frameH = double(i32(head, 36)) - double(i32(head, 28));
    qint64 w = std::llround(frameW * 96.0 / 2540.0);
    qint64 h = std::llround(frameH * 96.0 / 2540.0);
    if (w <= 0 || h <= 0) {
        w = qint64(i32(head, 16)) - i32(head, 8) + 1;
        h = qint64(i32(head, 20)) - i32(head, 12) + 1;
    }
    error = sizeProblem(w, h);
    if (!error.isEmpty()) return {};

    const Emf2SvgFn convert = converter(error);
    if (!convert) return {};

    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    options.imgWidth = double(w);
    options.imgHeight = double(h);

    // The library only reads the records; it takes a non-const pointer.  It
    // gets them followed by zeros: where it still reads a little past what
    // it was given (a text it scans for its end, a colour number beyond a
    // short colour table), it finds zeros rather than whatever lies next.
    QByteArray records = bytes.left(declared);
    records.append(QByteArray(TrailingZeros, '\0'));
    SvgText svg;
    const int ok = convert(records.data(), static_cast<size_t>(declared), &svg.data, &svg.size, &options);
    if (!ok || svg.data == nullptr || svg.size == 0) {
        error = QStringLiteral("the metafile's records could not be read");
        return {};
    }

    QSvgRenderer renderer(QByteArray(svg.data, static_cast<qsizetype>(svg.size)));
    if (!renderer.isValid()) {
        error = QStringLiteral("the metafile's drawing could not be rendered");
        return {};
    }
    QImage out(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (out.isNull()) {
        error = noMemoryFor(w, h);
        return {};
    }
    out.fill(Qt::white);
    QPainter painter(&out);
    renderer.render(&painter, QRectF(0, 0, double(w), double(h)));
    painter.end();
    return out;
}

} // namespace imaging
