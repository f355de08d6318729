// The decoding behind ImagingObject::load, the decoders for the kinds Qt's
// own readers do not cover (Photoshop, PaintBrush and Windows metafiles
// through Magick++, enhanced metafiles through libemf2svg and QtSvg), and the
// size guard every decoder and image operation applies before it allocates a
// picture.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QIODevice;

namespace imaging {

// Decodes a picture of any kind the program offers from a device open for
// reading at its start: the first bytes tell the kind, the suffix (the file's
// extension) decides only where they do not.  Returns an empty image with
// `error` set on failure.
QImage decodePicture(QIODevice& device, const QString& suffix, QString& error);

// Content kinds recognised from a file's first bytes.
enum class Kind { Unknown, Psd, Pcx, Wmf, Emf };
Kind sniff(const QByteArray& head);

// Empty when an image of this size can be held, otherwise the reason: not
// positive, beyond the image reader's allocation limit (QImageReader::
// allocationLimit, in megabytes, 0 for none) or beyond QImage's own bounds.
QString sizeProblem(qint64 width, qint64 height);
// The reason given when a picture of that size could not be allocated.
QString noMemoryFor(qint64 width, qint64 height);

// Magick++ decoding of a whole file held in memory; `coder` names the format
// ("PSD", "PCX", "WMF", "TGA", ...) so that the name of the file is never
// interpreted.  Returns an empty image with `error` set on failure.
QImage decodeWithMagick(const QByteArray& bytes, const char* coder, QString& error);

// An enhanced metafile drawn on white at its own size.  Returns an empty
// image with `error` set on failure.
QImage decodeEmf(const QByteArray& bytes, QString& error);

} // namespace imaging
