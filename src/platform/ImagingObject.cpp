// ImagingObject: loading, saving and the geometric edits of one held image.
#include "platform/ImagingObject.h"

#include "document/Legacy.h"
#include "platform/ColorNumber.h"
#include "platform/ImagingDecoders.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTransform>
#include <QtEndian>
#include <climits>
#include <cmath>

using legacy::ErrorCode;

namespace imaging {

Kind sniff(const QByteArray& head) {
    const auto* b = reinterpret_cast<const uchar*>(head.constData());
    const qsizetype n = head.size();
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(b + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(b + at); };

    if (n >= 6 && head.startsWith("8BPS") && (b[4] == 0 && (b[5] == 1 || b[5] == 2))) return Kind::Psd;
    if (n >= 44 && u32(0) == 1 && u32(40) == 0x464D4520) return Kind::Emf;
    if (n >= 4 && u32(0) == 0x9AC6CDD7) return Kind::Wmf; // placeable metafile
    if (n >= 6 && (u16(0) == 1 || u16(0) == 2) && u16(2) == 9 && (u16(4) == 0x0100 || u16(4) == 0x0300))
        return Kind::Wmf;
    if (n >= 4 && b[0] == 0x0A && (b[1] == 0 || (b[1] >= 2 && b[1] <= 5)) && b[2] <= 1 &&
        (b[3] == 1 || b[3] == 2 || b[3] == 4 || b[3] == 8))
        return Kind::Pcx;
    return Kind::Unknown;
}

QString sizeProblem(qint64 width, qint64 height) {
    if (width <= 0 || height <= 0)
        return QStringLiteral("the image size %1 x %2 is not valid").arg(width).arg(height);
    const QString tooLarge = QStringLiteral("the image of %1 x %2 pixels is too large").arg(width).arg(height);
    // QImage keeps a row's byte count in an int.
    if (width > (INT_MAX - 3) / 4 || height > INT_MAX) return tooLarge;
    const qint64 bytes = width * 4 * height;
    const int limitMb = QImageReader::allocationLimit();
    if (limitMb > 0 && bytes > qint64(limitMb) * 1024 * 1024)
        return QStringLiteral("the image of %1 x %2 pixels is larger than the %3 MB allowed")
            .arg(width)
            .arg(height)
            .arg(limitMb);
    return {};
}

QString noMemoryFor(qint64 width, qint64 height) {
    return QStringLiteral("not enough memory for an image of %1 x %2 pixels").arg(width).arg(height);
}

} // namespace imaging

namespace {

[[noreturn]] void loadFailure(const QString& path, const QString& reason,
                              ErrorCode code = ErrorCode::Custom) {
    throw legacy::Error(code, QStringLiteral("Cannot read the image \"%1\": %2")
                                  .arg(QDir::toNativeSeparators(path), reason));
}

// A reason raised as an error message of its own.
[[noreturn]] void raiseReason(const QString& reason) { legacy::raise(reason.left(1).toUpper() + reason.mid(1)); }

[[noreturn]] void outOfMemory(qint64 w, qint64 h) { raiseReason(imaging::noMemoryFor(w, h)); }

void checkSize(qint64 w, qint64 h) {
    const QString problem = imaging::sizeProblem(w, h);
    if (!problem.isEmpty()) raiseReason(problem);
}

// The Magick++ coder for a file extension among the kinds the program offers.
// TIFF is left to Qt's reader alone: Magick's TIFF coder, once loaded, puts
// its own error handler into the TIFF library for the whole process, and that
// handler aborts the program when Qt's reader meets a damaged file later.
const char* coderForSuffix(const QString& suffix) {
    static const struct {
        const char* suffix;
        const char* coder;
    } table[] = {{"jpg", "JPEG"}, {"jpeg", "JPEG"}, {"gif", "GIF"}, {"bmp", "BMP"},  {"png", "PNG"},
                 {"psd", "PSD"},  {"pcx", "PCX"},   {"tga", "TGA"}, {"wbmp", "WBMP"}, {"wmf", "WMF"},
                 {"ico", "ICO"}};
    for (const auto& e : table)
        if (suffix.compare(QLatin1String(e.suffix), Qt::CaseInsensitive) == 0) return e.coder;
    return nullptr;
}

} // namespace

namespace imaging {

QImage decodePicture(QIODevice& device, const QString& suffix, QString& error) {
    auto wholeFile = [&](QByteArray& bytes) {
        device.seek(0);
        bytes = device.readAll();
        const auto* file = qobject_cast<QFileDevice*>(&device);
        if (file && file->error() != QFileDevice::NoError) {
            error = file->errorString();
            return false;
        }
        return true;
    };
    auto decode = [&](Kind kind, const char* coder) {
        QByteArray bytes;
        if (!wholeFile(bytes)) return QImage();
        QImage image = kind == Kind::Emf ? decodeEmf(bytes, error) : decodeWithMagick(bytes, coder, error);
        if (image.isNull() && error.isEmpty()) error = QStringLiteral("the file could not be decoded");
        return image;
    };

    // Kinds Qt has no reader for are told by their first bytes.
    switch (sniff(device.peek(64))) {
    case Kind::Psd: return decode(Kind::Psd, "PSD");
    case Kind::Pcx: return decode(Kind::Pcx, "PCX");
    case Kind::Wmf: return decode(Kind::Wmf, "WMF");
    case Kind::Emf: return decode(Kind::Emf, nullptr);
    case Kind::Unknown: break;
    }

    QString qtError;
    {
        QImageReader reader(&device);
        reader.setDecideFormatFromContent(true);
        if (reader.canRead()) {
            const QSize size = reader.size();
            if (size.isValid()) {
                error = sizeProblem(size.width(), size.height());
                if (!error.isEmpty()) return {};
            }
            QImage image;
            if (reader.read(&image) && !image.isNull()) return image;
            qtError = reader.errorString();
        }
    }

    // Fall back on the extension: a variant Qt's reader does not handle, or
    // a file whose first bytes do not tell its kind.
    if (suffix.compare(QLatin1String("emf"), Qt::CaseInsensitive) == 0) return decode(Kind::Emf, nullptr);
    if (const char* coder = coderForSuffix(suffix)) {
        QImage image = decode(Kind::Unknown, coder);
        if (image.isNull())
            error = QStringLiteral("not a readable %1 picture (%2)").arg(suffix.toUpper(), !qtError.isEmpty() ? qtError : error);
        return image;
    }
    error = !qtError.isEmpty() ? qtError : QStringLiteral("not a picture of a kind that can be read");
    return {};
}

} // namespace imaging

void ImagingObject::load(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) loadFailure(path, QStringLiteral("file not found"), ErrorCode::FileNotFound);
    if (info.isDir()) loadFailure(path, QStringLiteral("this is a folder, not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) loadFailure(path, file.errorString());
    QString error;
    const QImage image = imaging::decodePicture(file, info.suffix(), error);
    if (image.isNull()) loadFailure(path, error);
    m_image = image;
}

void ImagingObject::takePicture(const QImage& picture) {
    if (picture.isNull()) legacy::raise(QStringLiteral("There is no picture to take"));
    m_image = picture;
}

void ImagingObject::requireImage() const {
    if (m_image.isNull()) legacy::raise(QStringLiteral("No image is loaded"));
}

void ImagingObject::save(const QString& path, int formatCode, int bits) const {
    requireImage();
    const char* format = formatCode == FormatJpeg ? "jpg" : formatCode == FormatBmp ? "bmp" : nullptr;
    if (format == nullptr || bits != 24) legacy::raise(ErrorCode::InvalidCall);

    // Both kinds are opaque: a see-through part is saved as shown on white.
    QImage out;
    if (m_image.hasAlphaChannel()) {
        out = QImage(m_image.size(), QImage::Format_RGB888);
        if (out.isNull()) outOfMemory(m_image.width(), m_image.height());
        out.fill(Qt::white);
        QPainter p(&out);
        p.drawImage(0, 0, m_image);
    } else {
        out = m_image.convertToFormat(QImage::Format_RGB888);
        if (out.isNull()) outOfMemory(m_image.width(), m_image.height());
    }

    // Made whole in memory first, so that the file is written in one go and
    // replaced only once complete: a failed save leaves the old file whole
    // and gives the system's reason.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (formatCode == FormatJpeg) writer.setQuality(90);
    QString reason;
    if (!writer.write(out)) reason = writer.errorString();
    else reason = legacy::replaceFile(path, bytes);
    if (!reason.isEmpty())
        legacy::raise(QStringLiteral("Cannot save the image \"%1\": %2").arg(QDir::toNativeSeparators(path), reason));
}

void ImagingObject::resize(int newWidth) {
    requireImage();
    if (newWidth <= 0) legacy::raise(ErrorCode::InvalidCall);
    const qint64 newHeight =
        std::max<qint64>(1, std::llround(double(m_image.height()) * double(newWidth) / double(m_image.width())));
    checkSize(newWidth, newHeight);
    if (newWidth == m_image.width() && newHeight == m_image.height()) return;
    QImage scaled = m_image.scaled(newWidth, int(newHeight), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) outOfMemory(newWidth, newHeight);
    m_image = scaled;
}

void ImagingObject::rotate(float degrees, long fillColor) {
    requireImage();
    if (!std::isfinite(degrees)) legacy::raise(ErrorCode::InvalidCall);
    double angle = std::fmod(double(degrees), 360.0);
    if (angle < 0) angle += 360.0;
    if (angle == 0.0) return;

    // Quarter turns move pixels exactly, with nothing left uncovered.
    if (angle == 90.0 || angle == 180.0 || angle == 270.0) {
        QImage turned = m_image.transformed(QTransform().rotate(angle));
        if (turned.isNull()) outOfMemory(m_image.height(), m_image.width());
        m_image = turned;
        return;
    }

    // In image coordinates (y down) a positive angle turns clockwise.
    const double w = m_image.width(), h = m_image.height();
    const QRectF bounds = QTransform().rotate(angle).mapRect(QRectF(0, 0, w, h));
    // A hair's tolerance keeps rounding noise from adding a whole pixel.
    const qint64 newW = std::max<qint64>(1, qint64(std::ceil(bounds.width() - 1e-6)));
    const qint64 newH = std::max<qint64>(1, qint64(std::ceil(bounds.height() - 1e-6)));
    checkSize(newW, newH);

    QImage out(int(newW), int(newH), QImage::Format_RGB32);
    if (out.isNull()) outOfMemory(newW, newH);
    out.fill(colorFromNumber(fillColor));
    QPainter p(&out);
    p.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
    p.translate(double(newW) / 2.0, double(newH) / 2.0);
    p.rotate(angle);
    p.drawImage(QPointF(-w / 2.0, -h / 2.0), m_image);
    p.end();
    m_image = out;
}

void ImagingObject::skew(int direction, int pixels, long fillColor) {
    requireImage();
    if (direction != SkewHorizontal && direction != SkewVertical) legacy::raise(ErrorCode::InvalidCall);
    if (pixels == 0) return;

    const qint64 amount = std::llabs(qint64(pixels));
    const qint64 w = m_image.width(), h = m_image.height();
    const bool horizontal = direction == SkewHorizontal;
    const qint64 newW = horizontal ? w + amount : w;
    const qint64 newH = horizontal ? h : h + amount;
    checkSize(newW, newH);

    // Horizontal: x' = x + p (1 - y/h) for p > 0, so the top edge moves p to
    // the right of the bottom edge; for p < 0 the bottom edge moves |p| to
    // the right instead, which leaves the top edge |p| to its left.  The
    // vertical case is the same with x and y exchanged, the left edge
    // moving against the right one.
    const double p = pixels;
    QTransform shear;
    if (horizontal)
        shear = QTransform(1, 0, -p / double(h), 1, pixels > 0 ? p : 0.0, 0);
    else
        shear = QTransform(1, -p / double(w), 0, 1, 0, pixels > 0 ? p : 0.0);

    QImage out(int(newW), int(newH), QImage::Format_RGB32);
    if (out.isNull()) outOfMemory(newW, newH);
    out.fill(colorFromNumber(fillColor));
    QPainter painter(&out);
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
    painter.setTransform(shear);
    painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = out;
}

void ImagingObject::setOption(int code, int value) {
    // The old component took a setting here; nothing in this program depends
    // on it.
    Q_UNUSED(code);
    Q_UNUSED(value);
}
