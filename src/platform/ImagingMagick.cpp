// Magick++ decoding for the map kinds Qt has no reader for (Photoshop,
// PaintBrush, Windows metafiles) and for files Qt's readers refuse.
#include "platform/ImagingDecoders.h"

#include <Magick++.h>

#include <QPainter>
#include <mutex>

namespace imaging {

namespace {

void initMagick() {
    static std::once_flag once;
    std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
}

QString reasonOf(const std::exception& e) {
    QString text = QString::fromLocal8Bit(e.what()).trimmed();
    // Magick's texts start with the program name and end with the source
    // location of the failure in parentheses; keep only the reason.
    const int colon = text.indexOf(QStringLiteral(": "));
    if (colon > 0 && text.left(colon).indexOf(QLatin1Char(' ')) < 0) text = text.mid(colon + 2);
    const int paren = text.lastIndexOf(QStringLiteral(" @ "));
    if (paren > 0) text = text.left(paren);
    // The picture comes from memory, so the file name Magick quotes is empty.
    text.remove(QStringLiteral(" `'"));
    return text.isEmpty() ? QStringLiteral("the file could not be decoded") : text;
}

// An empty image set to read `coder` quietly.  Metafiles have no pixel size
// of their own: they are drawn at the screen's 96 dots per inch.
Magick::Image reader(const char* coder, bool metafile) {
    Magick::Image image;
    image.quiet(true);
    image.magick(coder);
    if (metafile) image.density(Magick::Geometry(96, 96));
    return image;
}

} // namespace

QImage decodeWithMagick(const QByteArray& bytes, const char* coder, QString& error) {
    initMagick();
    const bool metafile = qstrcmp(coder, "WMF") == 0;
    try {
        const Magick::Blob blob(bytes.constData(), static_cast<size_t>(bytes.size()));
        // Learn the size before decoding so that a huge picture is refused
        // without being decoded.
        Magick::Image probe = reader(coder, metafile);
        probe.ping(blob);
        error = sizeProblem(static_cast<qint64>(probe.columns()), static_cast<qint64>(probe.rows()));
        if (!error.isEmpty()) return {};

        Magick::Image image = reader(coder, metafile);
        image.read(blob);
        if (image.colorSpace() != Magick::sRGBColorspace && image.colorSpace() != Magick::RGBColorspace &&
            image.colorSpace() != Magick::GRAYColorspace)
            image.colorSpace(Magick::sRGBColorspace);

        const qint64 w = static_cast<qint64>(image.columns());
        const qint64 h = static_cast<qint64>(image.rows());
        error = sizeProblem(w, h);
        if (!error.isEmpty()) return {};

        QImage out(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32);
        if (out.isNull()) {
            error = noMemoryFor(w, h);
            return {};
        }
        // QImage rows of 32-bit pixels are packed, so the whole picture is one
        // run of bytes; ARGB32 is B, G, R, A in memory on little-endian hosts.
        static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixel order assumes a little-endian host");
        image.write(0, 0, static_cast<size_t>(w), static_cast<size_t>(h), "BGRA", Magick::CharPixel,
                    out.bits());

        if (metafile) {
            // A metafile's undrawn background is white paper.
            QImage paper(out.size(), QImage::Format_RGB32);
            if (paper.isNull()) {
                error = noMemoryFor(w, h);
                return {};
            }
            paper.fill(Qt::white);
            QPainter p(&paper);
            p.drawImage(0, 0, out);
            p.end();
            return paper;
        }
        // Without an alpha channel every pixel came out opaque.
        if (!image.matte()) out.reinterpretAsFormat(QImage::Format_RGB32);
        return out;
    } catch (const std::exception& e) {
        error = reasonOf(e);
        return {};
    }
}

} // namespace imaging
