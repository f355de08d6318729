// A device-independent bitmap held as the Windows bitmap format lays it out:
// reads a .bmp file, builds one from a packed bitmap in memory (information
// header directly followed by the pixels), writes it back as a file, and
// exposes its header fields and byte buffers.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class cDIB {
public:
    // Reads a bitmap file.  False (after a message box) when the file is
    // missing, locked, unreadable or not a bitmap.  A file that ends before
    // the header's pixel data raises legacy::Error ("Input past end of file").
    bool CreateFromFile(const QString& FileName);
    // Takes a packed bitmap of 16 bits per pixel or more, without colour
    // table or colour masks; False for anything else.
    bool CreateFromPackedDIBPointer(const void* Pointer);
    // Writes the file header, the bitmap information and the pixels.  The
    // file is replaced only once completely written; False when it could not be.
    bool WriteToFile(const QString& FileName) const;

    int16_t BitCount() const { return m_info.biBitCount; }
    int32_t Height() const { return m_info.biHeight; }
    int32_t Width() const { return m_info.biWidth; }
    int32_t Compression() const { return m_info.biCompression; }
    int32_t SizeInfoHeader() const { return m_info.biSize; }
    int32_t SizeImage() const { return m_info.biSizeImage; }
    int16_t Planes() const { return m_info.biPlanes; }
    int32_t ClrImportant() const { return m_info.biClrImportant; }
    int32_t ClrUsed() const { return m_info.biClrUsed; }
    int32_t XPPM() const { return m_info.biXPelsPerMeter; }
    int32_t YPPM() const { return m_info.biYPelsPerMeter; }
    int16_t FileType() const { return m_file.bfType; }
    int32_t SizeFileHeader() const { return m_file.bfSize; }
    int32_t BitOffset() const { return m_file.bfOffBits; }
    // Null until a create succeeded.
    const unsigned char* PointerToBits() const;
    const unsigned char* PointerToBitmapInfo() const;
    int32_t SizeBitmapInfo() const { return int32_t(m_bitmapInfo.size()); }

    static constexpr int FileHeaderSize = 14;
    static constexpr int InfoHeaderSize = 40;
    static constexpr int16_t BitmapType = 19778; // "BM"

private:
    struct FileHeader {
        int16_t bfType = 0;
        int32_t bfSize = 0;
        int16_t bfReserved1 = 0, bfReserved2 = 0;
        int32_t bfOffBits = 0;
    };
    struct InfoHeader {
        int32_t biSize = 0, biWidth = 0, biHeight = 0;
        int16_t biPlanes = 0, biBitCount = 0;
        int32_t biCompression = 0, biSizeImage = 0, biXPelsPerMeter = 0, biYPelsPerMeter = 0, biClrUsed = 0,
                biClrImportant = 0;
    };
    static bool FileIsAccessible(const QString& FileName);
    static InfoHeader parseInfo(const unsigned char* p);
    QByteArray fileHeaderBytes() const;

    FileHeader m_file;
    InfoHeader m_info;
    QByteArray m_bits;
    QByteArray m_bitmapInfo;
    bool m_created = false;
};
