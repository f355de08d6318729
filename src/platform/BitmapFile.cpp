#include "platform/BitmapFile.h"

#include "document/Legacy.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

int16_t le16(const unsigned char* p) { return qFromLittleEndian<qint16>(p); }
int32_t le32(const unsigned char* p) { return qFromLittleEndian<qint32>(p); }

void put16(QByteArray& b, int16_t v) {
    unsigned char c[2];
    qToLittleEndian<qint16>(v, c);
    b.append(reinterpret_cast<const char*>(c), 2);
}
void put32(QByteArray& b, int32_t v) {
    unsigned char c[4];
    qToLittleEndian<qint32>(v, c);
    b.append(reinterpret_cast<const char*>(c), 4);
}

void say(const QString& text, dlg::Icon icon) { dlg::msgBox(text, {dlg::Buttons::OK, icon}); }

// Reads exactly `length` bytes at `offset`; a short file is the old
// runtime's "Input past end of file".
QByteArray readAt(QFile& f, qint64 offset, qint64 length) {
    if (offset < 0 || length < 0 || offset + length > f.size()) legacy::raise(legacy::ErrorCode::InputPastEnd);
    if (!f.seek(offset)) legacy::raise(legacy::ErrorCode::InputPastEnd);
    QByteArray b = f.read(length);
    if (b.size() != length) legacy::raise(legacy::ErrorCode::InputPastEnd);
    return b;
}

} // namespace

bool cDIB::FileIsAccessible(const QString& FileName) {
    const QFileInfo fi(FileName);
    return !FileName.isEmpty() && fi.exists() && fi.isFile();
}

cDIB::InfoHeader cDIB::parseInfo(const unsigned char* p) {
    InfoHeader h;
    h.biSize = le32(p);
    h.biWidth = le32(p + 4);
    h.biHeight = le32(p + 8);
    h.biPlanes = le16(p + 12);
    h.biBitCount = le16(p + 14);
    h.biCompression = le32(p + 16);
    h.biSizeImage = le32(p + 20);
    h.biXPelsPerMeter = le32(p + 24);
    h.biYPelsPerMeter = le32(p + 28);
    h.biClrUsed = le32(p + 32);
    h.biClrImportant = le32(p + 36);
    return h;
}

bool cDIB::CreateFromFile(const QString& FileName) {
    if (!FileIsAccessible(FileName)) {
        say(QStringLiteral("File does not exist:") + QLatin1Char('\n') + FileName, dlg::Icon::Critical);
        return false;
    }
    // Opened here rather than by QFile, which reports every refusal as the
    // same OpenError: the system's own reason tells a file the user may not
    // read (what the old program called locked) from any other failure.
    const int fd = ::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        if (reason == EACCES || reason == EPERM)
            say(QStringLiteral("File is locked - cannot access:") + QLatin1Char('\n') + FileName, dlg::Icon::Critical);
        else
            say(qt_error_string(reason), dlg::Icon::Information);
        return false;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        say(f.errorString(), dlg::Icon::Information);
        return false;
    }
    const QByteArray fh = readAt(f, 0, FileHeaderSize);
    const auto* p = reinterpret_cast<const unsigned char*>(fh.constData());
    FileHeader file;
    file.bfType = le16(p);
    file.bfSize = le32(p + 2);
    file.bfReserved1 = le16(p + 6);
    file.bfReserved2 = le16(p + 8);
    file.bfOffBits = le32(p + 10);
    // The pixel data cannot start inside the headers.
    if (file.bfType != BitmapType || file.bfOffBits < FileHeaderSize + InfoHeaderSize) {
        say(QStringLiteral("File is not a supported bitmap format:") + QLatin1Char('\n') + FileName,
            dlg::Icon::Information);
        return false;
    }
    const QByteArray ih = readAt(f, FileHeaderSize, InfoHeaderSize);
    const InfoHeader info = parseInfo(reinterpret_cast<const unsigned char*>(ih.constData()));
    // An uncompressed bitmap may leave its image size 0; its rows then say
    // how many pixel bytes there are.
    qint64 pixelBytes = info.biSizeImage;
    if (pixelBytes == 0 && info.biCompression == 0 && info.biWidth > 0 && info.biBitCount > 0) {
        const qint64 row = (qint64(info.biWidth) * info.biBitCount + 31) / 32 * 4;
        const qint64 rows = std::abs(qint64(info.biHeight));
        // More rows than the file could hold: it ends before them.
        if (rows > f.size() / row) legacy::raise(legacy::ErrorCode::InputPastEnd);
        pixelBytes = row * rows;
    }
    const QByteArray bits = readAt(f, file.bfOffBits, pixelBytes);
    const QByteArray bitmapInfo = readAt(f, FileHeaderSize, qint64(file.bfOffBits) - FileHeaderSize);
    m_file = file;
    m_info = info;
    m_bits = bits;
    m_bitmapInfo = bitmapInfo;
    m_created = true;
    return true;
}

bool cDIB::CreateFromPackedDIBPointer(const void* Pointer) {
    if (!Pointer) return false;
    const auto* p = static_cast<const unsigned char*>(Pointer);
    const InfoHeader info = parseInfo(p);
    // Only the plain 40-byte header without colour table or colour masks:
    // anything longer would put the pixels elsewhere than right after it.
    if (info.biBitCount < 16 || info.biSizeImage < 1) return false;
    if (info.biSize != InfoHeaderSize || info.biCompression != 0) return false;
    m_info = info;
    m_bits = QByteArray(reinterpret_cast<const char*>(p + InfoHeaderSize), info.biSizeImage);
    m_bitmapInfo = QByteArray(reinterpret_cast<const char*>(p), InfoHeaderSize);
    m_file = FileHeader{};
    m_file.bfType = BitmapType;
    m_file.bfSize = info.biSizeImage + FileHeaderSize + InfoHeaderSize;
    m_file.bfOffBits = FileHeaderSize + InfoHeaderSize;
    m_created = true;
    return true;
}

QByteArray cDIB::fileHeaderBytes() const {
    QByteArray b;
    put16(b, m_file.bfType);
    put32(b, m_file.bfSize);
    put16(b, m_file.bfReserved1);
    put16(b, m_file.bfReserved2);
    put32(b, m_file.bfOffBits);
    return b;
}

bool cDIB::WriteToFile(const QString& FileName) const {
    return legacy::replaceFile(FileName, fileHeaderBytes() + m_bitmapInfo + m_bits).isEmpty();
}

const unsigned char* cDIB::PointerToBits() const {
    return m_created ? reinterpret_cast<const unsigned char*>(m_bits.constData()) : nullptr;
}

const unsigned char* cDIB::PointerToBitmapInfo() const {
    return m_created ? reinterpret_cast<const unsigned char*>(m_bitmapInfo.constData()) : nullptr;
}
