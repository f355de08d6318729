// Fuzz target for the map image loader: the bytes are a file without an
// extension, so the kind is told by its first bytes alone (every kind the
// program reads: Qt's readers, Magick++ and the metafile decoder).  A load
// either gives a picture of a positive size or fails with its message and
// leaves the held image as it was.
#include "document/Legacy.h"
#include "platform/ImagingObject.h"

#include "FuzzSupport.h"

#include <QGuiApplication>
#include <QImageReader>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    // Large pictures are refused by size before they are decoded; a small
    // limit keeps each run short.
    QImageReader::setAllocationLimit(64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path =
        fuzzsupport::scratchFile(QStringLiteral("map"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    ImagingObject image;
    try {
        image.load(path);
    } catch (const legacy::Error& e) {
        require(!e.description().isEmpty());
        require(image.isEmpty());
        return 0;
    }
    require(!image.isEmpty() && image.width() > 0 && image.height() > 0);
    return 0;
}
