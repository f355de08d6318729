// Fuzz target for the map image loader: any bytes must decode or be refused
// with a reason, without a crash and without reading outside their data.
// The input is a whole image file.  It is named, as a user's file would be,
// after the kind its first bytes show, so that every one of the twelve kinds
// the open dialog offers is reached, including the decoding by extension
// that follows when the content's own reader refuses it; bytes of no known
// kind are named as Targa pictures, the one kind without a signature.
#include "platform/ImagingDecoders.h"

#include "FuzzSupport.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdint>

namespace {

QString suffixFor(const QByteArray& b) {
    const auto starts = [&b](const char* magic, qsizetype length) { return b.startsWith(QByteArray(magic, length)); };
    if (starts("\xFF\xD8", 2)) return QStringLiteral("jpg");
    if (starts("GIF8", 4)) return QStringLiteral("gif");
    if (starts("BM", 2)) return QStringLiteral("bmp");
    if (starts("\x89PNG", 4)) return QStringLiteral("png");
    if (starts("8BPS", 4)) return QStringLiteral("psd");
    if (starts("II*\0", 4) || starts("MM\0*", 4)) return QStringLiteral("tif");
    if (starts("\x0A", 1)) return QStringLiteral("pcx");
    if (starts("\xD7\xCD\xC6\x9A", 4) || starts("\x01\x00\x09\x00", 4) || starts("\x02\x00\x09\x00", 4))
        return QStringLiteral("wmf");
    if (starts("\x01\x00\x00\x00", 4)) return QStringLiteral("emf");
    if (starts("\x00\x00\x01\x00", 4)) return QStringLiteral("ico");
    if (starts("\x00\x00", 2)) return QStringLiteral("wbmp");
    return QStringLiteral("tga");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Metafiles are drawn with QPainter and QtSvg, which need the GUI
    // application; no window is ever shown.  The application lives until the
    // process ends and is never destroyed: destroyed among the statics at
    // exit it would drop the thread storage holding the main thread's font
    // cache before the cache, and the fonts a metafile's text loaded would
    // then be reported as leaked when the run ends.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    [[maybe_unused]] static const QGuiApplication* const app = new QGuiApplication(*argc, *argv);
    // Pictures the size guard lets through are decoded in full: keep them
    // within the fuzzer's memory.
    QImageReader::setAllocationLimit(64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QString error;
    const QImage image = imaging::decodePicture(device, suffixFor(bytes), error);
    require(image.isNull() != error.isEmpty());
    if (!image.isNull()) require(imaging::sizeProblem(image.width(), image.height()).isEmpty());
    return 0;
}
