// The imaging object: every offered map kind loads, saves are real JPEG and
// 24-bit bitmap files written whole or not at all, and resize, rotate and
// skew give the sizes and fills the map editing relies on.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"

#include "document/Legacy.h"
#include "platform/ColorNumber.h"
#include "platform/ImagingObject.h"

#include <Magick++.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <functional>
#include <sys/resource.h>

namespace {

// Little-endian record writer for the hand-made metafiles.
struct Bytes {
    QByteArray data;
    Bytes& u16(quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        data.append(b, 2);
        return *this;
    }
    Bytes& i16(qint16 v) { return u16(static_cast<quint16>(v)); }
    Bytes& u32(quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
        return *this;
    }
    Bytes& i32(qint32 v) { return u32(static_cast<quint32>(v)); }
};

// A placeable Windows metafile of 200 x 100 units at 96 units per inch: a
// white background and a blue rectangle from (50, 25) to (150, 75), both
// drawn with no outline.  (The metafile reader fits the drawing's extent to
// the frame, so the background makes the whole frame part of the drawing.)
QByteArray makeWmf() {
    // Each record: function number and parameters; the size in 16-bit words
    // is put in front when writing.
    std::vector<std::pair<quint16, std::vector<quint16>>> records = {
        {0x020B, {0, 0}},                 // SETWINDOWORG y, x
        {0x020C, {100, 200}},             // SETWINDOWEXT height, width
        {0x02FA, {5, 0, 0, 0, 0}},        // CREATEPENINDIRECT PS_NULL -> object 0
        {0x012D, {0}},                    // SELECTOBJECT 0
        {0x02FC, {0, 0xFFFF, 0x00FF, 0}}, // CREATEBRUSHINDIRECT solid white -> object 1
        {0x012D, {1}},                    // SELECTOBJECT 1
        {0x041B, {100, 200, 0, 0}},       // RECTANGLE bottom, right, top, left
        {0x02FC, {0, 0x0000, 0x00FF, 0}}, // CREATEBRUSHINDIRECT solid 0x00FF0000 (blue) -> object 2
        {0x012D, {2}},                    // SELECTOBJECT 2
        {0x041B, {75, 150, 25, 50}},      // RECTANGLE
        {0x0000, {}},                     // EOF
    };
    quint32 words = 9, largest = 0;
    for (const auto& r : records) {
        const quint32 size = 3 + quint32(r.second.size());
        words += size;
        largest = std::max(largest, size);
    }
    Bytes b;
    b.u32(0x9AC6CDD7).u16(0).i16(0).i16(0).i16(200).i16(100).u16(96).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2) checksum ^= qFromLittleEndian<quint16>(b.data.constData() + i);
    b.u16(checksum);
    b.u16(1).u16(9).u16(0x0300).u32(words).u16(3).u32(largest).u16(0);
    for (const auto& r : records) {
        b.u32(3 + quint32(r.second.size())).u16(r.first);
        for (quint16 p : r.second) b.u16(p);
    }
    return b.data;
}

// An enhanced metafile with a 200 x 100 pixel frame on a 96 dpi reference
// device: a red rectangle from (50, 25) to (150, 75) with no outline, then
// the `extra` records, then (unless left out) the end record.
QByteArray makeEmf(const QByteArray& extra = {}, bool end = true) {
    Bytes rec;
    rec.u32(39).u32(24).u32(1).u32(0).u32(0x000000FF).u32(0); // EMR_CREATEBRUSHINDIRECT #1, solid red
    rec.u32(37).u32(12).u32(1);                               // EMR_SELECTOBJECT #1
    rec.u32(37).u32(12).u32(0x80000008);                      // EMR_SELECTOBJECT stock NULL_PEN
    rec.u32(43).u32(24).i32(50).i32(25).i32(150).i32(75);     // EMR_RECTANGLE
    rec.data += extra;
    if (end) rec.u32(14).u32(20).u32(0).u32(16).u32(20);      // EMR_EOF
    const quint32 total = 88 + quint32(rec.data.size());
    Bytes b;
    b.u32(1).u32(88);                             // EMR_HEADER, its size
    b.i32(0).i32(0).i32(199).i32(99);             // bounds, device pixels inclusive
    b.i32(0).i32(0).i32(5292).i32(2646);          // frame, hundredths of a millimetre
    b.u32(0x464D4520).u32(0x00010000).u32(total); // signature, version, file size
    b.u32(6).u16(2).u16(0);                       // records, handles, reserved
    b.u32(0).u32(0).u32(0);                       // no description, no palette
    b.i32(1920).i32(1080).i32(508).i32(286);      // reference device: pixels, millimetres
    b.data += rec.data;
    return b.data;
}

// EMR_STRETCHDIBITS drawing a 24-bit bitmap of `width` x `height` blue
// pixels over the whole frame, with `pixelBytes` bytes of pixels given.
QByteArray stretchDiBits(int width, int height, int pixelBytes) {
    Bytes r;
    r.u32(81).u32(quint32(80 + 40 + pixelBytes));
    r.i32(0).i32(0).i32(199).i32(99);                              // bounds
    r.i32(0).i32(0).i32(0).i32(0).i32(width).i32(height);          // destination, source corner and size
    r.u32(80).u32(40).u32(120).u32(quint32(pixelBytes));           // header and pixels: offsets, sizes
    r.u32(0).u32(0x00CC0020).i32(200).i32(100);                    // colours in the bitmap, copy, destination size
    r.u32(40).i32(width).i32(height).u16(1).u16(24).u32(0).u32(0); // bitmap header
    r.u32(0).u32(0).u32(0).u32(0);
    const qint64 row = (qint64(width) * 24 + 31) / 32 * 4;
    for (int i = 0; i < pixelBytes; ++i) r.data.append(i % row < 3 * qint64(width) && i % row % 3 == 0 ? '\xff' : '\0');
    return r.data;
}

// The picture most kinds are made from: white, a red block at (5..14, 5..14)
// and a blue block at (25..34, 15..24).
QImage basePicture() {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(5, 5, 10, 10, Qt::red);
    p.fillRect(25, 15, 10, 10, Qt::blue);
    return img;
}

void writeWithMagick(const QImage& picture, const QString& path, const char* coder,
                     const std::function<void(Magick::Image&)>& tune = {}) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    Magick::Image img(size_t(argb.width()), size_t(argb.height()), "BGRA", Magick::CharPixel, argb.constBits());
    img.matte(false);
    if (tune) tune(img);
    img.write(std::string(coder) + ":" + QFile::encodeName(path).toStdString());
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

bool near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QString describe(QColor c) { return QStringLiteral("(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

QString loadError(ImagingObject& img, const QString& path) {
    try {
        img.load(path);
    } catch (const legacy::Error& e) {
        return e.description();
    }
    return {};
}

} // namespace

class ImagingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        Magick::InitializeMagick(nullptr);
        const QImage base = basePicture();
        QVERIFY(base.save(path("map.png"), "png"));
        QVERIFY(base.save(path("map.jpg"), "jpg", 95));
        QVERIFY(base.save(path("map.bmp"), "bmp"));
        writeWithMagick(base, path("map.gif"), "GIF");
        writeWithMagick(base, path("map.psd"), "PSD");
        QVERIFY(base.save(path("map.tif"), "tif"));
        writeWithMagick(base, path("map.pcx"), "PCX");
        writeWithMagick(base, path("map.tga"), "TGA");
        writeWithMagick(base, path("map.wbmp"), "WBMP");
        writeWithMagick(base, path("map.ico"), "ICO");
        writeBytes(path("map.wmf"), makeWmf());
        writeBytes(path("map.emf"), makeEmf());
        writeBytes(path("bitmap.emf"), makeEmf(stretchDiBits(2, 2, 16)));
    }

    void loadsEveryOfferedKind_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("tolerance");
        const QSize base(40, 30), meta(200, 100);
        QTest::newRow("jpg") << "map.jpg" << base << QPoint(10, 10) << QColor(Qt::red) << 48;
        QTest::newRow("gif") << "map.gif" << base << QPoint(30, 20) << QColor(Qt::blue) << 0;
        QTest::newRow("bmp") << "map.bmp" << base << QPoint(10, 10) << QColor(Qt::red) << 0;
        QTest::newRow("png") << "map.png" << base << QPoint(30, 20) << QColor(Qt::blue) << 0;
        QTest::newRow("psd") << "map.psd" << base << QPoint(10, 10) << QColor(Qt::red) << 0;
        QTest::newRow("tif") << "map.tif" << base << QPoint(30, 20) << QColor(Qt::blue) << 0;
        QTest::newRow("pcx") << "map.pcx" << base << QPoint(10, 10) << QColor(Qt::red) << 0;
        QTest::newRow("tga") << "map.tga" << base << QPoint(30, 20) << QColor(Qt::blue) << 0;
        // A wireless bitmap has one bit per pixel: the colours become black.
        QTest::newRow("wbmp") << "map.wbmp" << base << QPoint(10, 10) << QColor(Qt::black) << 0;
        QTest::newRow("wbmp paper") << "map.wbmp" << base << QPoint(2, 2) << QColor(Qt::white) << 0;
        QTest::newRow("ico") << "map.ico" << base << QPoint(10, 10) << QColor(Qt::red) << 0;
        QTest::newRow("wmf") << "map.wmf" << meta << QPoint(100, 50) << QColor(Qt::blue) << 0;
        QTest::newRow("wmf paper") << "map.wmf" << meta << QPoint(45, 50) << QColor(Qt::white) << 0;
        QTest::newRow("emf") << "map.emf" << meta << QPoint(100, 50) << QColor(Qt::red) << 0;
        QTest::newRow("emf paper") << "map.emf" << meta << QPoint(45, 50) << QColor(Qt::white) << 0;
        QTest::newRow("emf bitmap") << "bitmap.emf" << meta << QPoint(20, 10) << QColor(Qt::blue) << 0;
    }
    void loadsEveryOfferedKind() {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(QPoint, at);
        QFETCH(QColor, color);
        QFETCH(int, tolerance);
        ImagingObject img;
        img.load(path(file));
        QCOMPARE(img.width(), size.width());
        QCOMPARE(img.height(), size.height());
        const QColor got = img.picture().pixelColor(at);
        QVERIFY2(near(got, color, tolerance), qPrintable(describe(got)));
    }

    // The kind is told by content; the extension only decides when the
    // content does not, and in any letter case.
    void kindComesFromContentThenExtension() {
        QFile::copy(path("map.png"), path("png-named.jpg"));
        QFile::copy(path("map.pcx"), path("pcx-named.gif"));
        QFile::copy(path("map.psd"), path("noextension"));
        QFile::copy(path("map.emf"), path("UPPER.EMF"));
        for (const char* name : {"png-named.jpg", "pcx-named.gif", "noextension", "UPPER.EMF"}) {
            ImagingObject img;
            const QString error = loadError(img, path(QString::fromLatin1(name)));
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY(img.width() > 0);
        }
    }

    // Qt's Targa reader takes only uncompressed files; compressed ones are
    // decoded by the fallback.
    void compressedTargaFallsBack() {
        writeWithMagick(basePicture(), path("rle.TGA"), "TGA",
                        [](Magick::Image& i) { i.compressType(Magick::RLECompression); });
        ImagingObject img;
        img.load(path("rle.TGA"));
        QCOMPARE(img.picture().size(), QSize(40, 30));
        QCOMPARE(img.picture().pixelColor(30, 20), QColor(Qt::blue));
    }

    void unreadableFilesThrowAndKeepTheImage_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes"); // empty: the file is not made
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.jpg" << QByteArray() << "file not found";
        QTest::newRow("text named jpg") << "junk.jpg" << QByteArray("this is no picture\r\n") << "";
        QTest::newRow("text named txt") << "junk.txt" << QByteArray("this is no picture\r\n") << "";
        QTest::newRow("empty") << "empty.png" << QByteArray("") << "";
        QTest::newRow("cut png") << "cut.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "";
        QTest::newRow("cut emf") << "cut.emf" << makeEmf().left(120) << "truncated";
        // Metafiles the converter would read past its data with.
        QTest::newRow("emf description past header")
            << "description.emf"
            << QByteArray::fromHex("010000006c000000000000000000000063000000630000000000000000000000d0070000d007"
                                   "000020454d460000010080000000020000000100000000000000800000000000000000040000"
                                   "0003000040010000f000000000000000000000000000000000e2040080a903000e0000001400"
                                   "0000000000001000000014000000")
            << "description lies outside its header";
        QTest::newRow("emf short records")
            << "short.emf"
            << QByteArray::fromHex("010000006c000000000000000000000063000000630000000000000000000000d0070000d007"
                                   "000020454d4600000100a0000000040000000000000000000000000000000000000000040000"
                                   "0003000040010000f000000000000000000000000000000000e2040080a90300090000000800"
                                   "00004d00000018000000000002020000000000000200004f00000e0000001400000000000000"
                                   "1000000014000000")
            << "record at byte 108 is too short";
        QTest::newRow("emf without end") << "noend.emf" << makeEmf({}, false) << "has no end record";
        const QByteArray rectangle = Bytes().u32(43).u32(24).i32(0).i32(0).i32(9).i32(9).data;
        QByteArray past = rectangle, odd = rectangle;
        qToLittleEndian<quint32>(0x1000, past.data() + 4);
        qToLittleEndian<quint32>(22, odd.data() + 4);
        QTest::newRow("emf record past end") << "pastend.emf" << makeEmf(past) << "byte 160 runs past the end";
        QTest::newRow("emf odd record size") << "odd.emf" << makeEmf(odd) << "byte 160 has an impossible size";
        QTest::newRow("emf short bitmap record")
            << "stretch.emf" << makeEmf(Bytes().u32(77).u32(24).data + QByteArray(16, 0)) << "byte 160 is too short";
        QTest::newRow("emf points beyond")
            << "points.emf" << makeEmf(Bytes().u32(4).u32(44).data + QByteArray(16, 0) + Bytes().u32(1000).data +
                                       QByteArray(16, 0))
            << "byte 160 points outside itself";
        QTest::newRow("emf pixels beyond") << "pixels.emf" << makeEmf(stretchDiBits(100, 100, 12))
                                           << "byte 160 points outside itself";
        QTest::newRow("emf pixels beyond counting") << "huge.emf" << makeEmf(stretchDiBits(0x7fffffff, -0x7fffffff, 12))
                                                    << "byte 160 points outside itself";
        QTest::newRow("junk pcx") << "junk.pcx" << QByteArray("\x0a\x05\x01\x08garbage", 11) << "";
        QTest::newRow("junk wmf") << "junk.wmf" << QByteArray(64, 'x') << "";
        // One directory entry, the image width, whose value lies far outside.
        const QByteArray tiff = Bytes().u32(0x002A4949).u32(8).u16(1).u16(256).u16(4).u32(1).u32(0xFFFFFFFF).u32(0).data;
        QTest::newRow("damaged tif") << "damaged.tif" << tiff << "";
        QTest::newRow("damaged tif again") << "again.tif" << tiff << "";
    }
    void unreadableFilesThrowAndKeepTheImage() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        if (file != QLatin1String("missing.jpg")) writeBytes(path(file), bytes);
        ImagingObject img;
        img.takePicture(basePicture());
        try {
            img.load(path(file));
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QVERIFY2(e.description().contains(file), qPrintable(e.description()));
            QVERIFY2(e.description().contains(reason), qPrintable(e.description()));
            if (file == QLatin1String("missing.jpg")) QCOMPARE(e.code(), legacy::ErrorCode::FileNotFound);
        }
        QCOMPARE(img.picture(), basePicture());
    }

    void tooLargeImagesAreRefused() {
        const int before = QImageReader::allocationLimit();
        QImage big(1200, 1000, QImage::Format_RGB32);
        big.fill(Qt::gray);
        QVERIFY(big.save(path("big.png")));
        writeWithMagick(big, path("big.pcx"), "PCX");
        QImageReader::setAllocationLimit(2); // megabytes; the picture needs 4.6
        for (const char* name : {"big.png", "big.pcx"}) {
            ImagingObject img;
            const QString error = loadError(img, path(QString::fromLatin1(name)));
            QVERIFY2(error.contains(QLatin1String("1200 x 1000")), qPrintable(error));
            QVERIFY(img.isEmpty());
        }
        ImagingObject small;
        small.takePicture(basePicture());
        QVERIFY_THROWS_EXCEPTION(legacy::Error, small.resize(2000));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, small.skew(ImagingObject::SkewHorizontal, 50000, 0));
        QCOMPARE(small.width(), 40);
        QImageReader::setAllocationLimit(before);
    }

    void savesJpegAndTrueBitmap() {
        ImagingObject img;
        img.load(path("map.png"));
        img.save(path("out.jpg"), ImagingObject::FormatJpeg, 24);
        img.save(path("out.bmp"), ImagingObject::FormatBmp, 24);

        QFile bmp(path("out.bmp"));
        QVERIFY(bmp.open(QIODevice::ReadOnly));
        const QByteArray head = bmp.read(54);
        QVERIFY(head.startsWith("BM"));
        QCOMPARE(qFromLittleEndian<quint16>(head.constData() + 28), quint16(24)); // bits per pixel
        QCOMPARE(qFromLittleEndian<quint32>(head.constData() + 30), quint32(0));  // not compressed
        QCOMPARE(bmp.size(), qint64(54 + 30 * 120));                             // 40 * 3 bytes a row

        QFile jpg(path("out.jpg"));
        QVERIFY(jpg.open(QIODevice::ReadOnly));
        QVERIFY(jpg.read(3) == QByteArray("\xFF\xD8\xFF"));

        for (const char* name : {"out.jpg", "out.bmp"}) {
            ImagingObject back;
            back.load(path(QString::fromLatin1(name)));
            QCOMPARE(back.picture().size(), QSize(40, 30));
            QVERIFY(near(back.picture().pixelColor(30, 20), Qt::blue, 48));
        }
        // Saving again replaces the file.
        img.resize(20);
        img.save(path("out.bmp"), ImagingObject::FormatBmp);
        ImagingObject back;
        back.load(path("out.bmp"));
        QCOMPARE(back.width(), 20);
        QVERIFY(QDir(m_dir.path()).entryList({"out.bmp*", "*.tmp"}, QDir::Files).size() == 1);

        // See-through parts are saved as shown on white.
        QImage clear(10, 10, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        img.takePicture(clear);
        img.save(path("clear.bmp"), ImagingObject::FormatBmp);
        img.load(path("clear.bmp"));
        QCOMPARE(img.picture().pixelColor(5, 5), QColor(Qt::white));
    }

    // A save that fails, at the last flush (a small picture still in the
    // write buffer), while writing, or at once, leaves the earlier file byte
    // for byte, no temporary beside it, and names the system's reason.
    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("side");
        QTest::addColumn<QString>("folder");   // where the file goes, made unless "missing"
        QTest::addColumn<QString>("reason");
        const QString full = QStringLiteral("File too large");
        QTest::newRow("jpeg at the last flush") << ImagingObject::FormatJpeg << 40 << "full" << full;
        QTest::newRow("bitmap at the last flush") << ImagingObject::FormatBmp << 40 << "full" << full;
        QTest::newRow("jpeg while writing") << ImagingObject::FormatJpeg << 600 << "full" << full;
        QTest::newRow("bitmap while writing") << ImagingObject::FormatBmp << 600 << "full" << full;
        QTest::newRow("folder missing") << ImagingObject::FormatJpeg << 40 << "missing" << "No such file or directory";
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(int, format);
        QFETCH(int, side);
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QTemporaryDir keep;
        const QString target = keep.filePath(folder + QStringLiteral("/map.pic"));
        const bool missing = folder == QLatin1String("missing");
        if (!missing) {
            QDir(keep.path()).mkdir(folder);
            writeBytes(target, QByteArray("old contents"));
        }
        QImage noise(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) noise.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x ^ y) * 13 % 256));
        ImagingObject img;
        img.takePicture(noise);
        QString error;
        {
            testsupport::FileSizeLimit full(missing ? RLIM_INFINITY : 1024);
            try {
                img.save(target, format);
            } catch (const legacy::Error& e) {
                error = e.description();
            }
        }
        QCOMPARE(error, QStringLiteral("Cannot save the image \"%1\": %2").arg(target, reason));
        if (missing) {
            QVERIFY(!QFileInfo::exists(keep.filePath(folder)));
        } else {
            QCOMPARE(testsupport::fileBytes(target), QByteArray("old contents"));
            QCOMPARE(QDir(keep.filePath(folder)).entryList(QDir::Files | QDir::Hidden), QStringList{"map.pic"});
        }
    }

    void quarterTurnsMovePixelsExactly_data() {
        QTest::addColumn<float>("degrees");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("marked");
        QTest::newRow("90") << 90.0f << QSize(30, 40) << QPoint(29, 0);
        QTest::newRow("-90") << -90.0f << QSize(30, 40) << QPoint(0, 39);
        QTest::newRow("180") << 180.0f << QSize(40, 30) << QPoint(39, 29);
        QTest::newRow("450") << 450.0f << QSize(30, 40) << QPoint(29, 0);
        QTest::newRow("360") << 360.0f << QSize(40, 30) << QPoint(0, 0);
    }
    void quarterTurnsMovePixelsExactly() {
        QFETCH(float, degrees);
        QFETCH(QSize, size);
        QFETCH(QPoint, marked);
        QImage src = basePicture();
        src.setPixelColor(0, 0, QColor(1, 2, 3));
        ImagingObject img;
        img.takePicture(src);
        img.rotate(degrees, 0x8000000F);
        QCOMPARE(QSize(img.width(), img.height()), size);
        QCOMPARE(img.picture().pixelColor(marked), QColor(1, 2, 3));
    }

    void rotationGrowsAndFillsCorners() {
        QImage src(100, 50, QImage::Format_RGB32);
        src.fill(Qt::black);
        ImagingObject img;
        img.takePicture(src);
        img.rotate(30.0f, 0x8000000F);
        // 100 cos 30 + 50 sin 30 = 111.6; 100 sin 30 + 50 cos 30 = 93.3
        QCOMPARE(img.width(), 112);
        QCOMPARE(img.height(), 94);
        const QColor face = QGuiApplication::palette().color(QPalette::Button);
        const QImage out = img.picture();
        for (QPoint corner : {QPoint(0, 0), QPoint(111, 0), QPoint(0, 93), QPoint(111, 93)})
            QCOMPARE(out.pixelColor(corner), face);
        QCOMPARE(out.pixelColor(56, 47), QColor(Qt::black));
        // Clockwise: the old top-left corner is now the highest point, at
        // (25.2, 0.4); a little below it the picture is solid.
        QCOMPARE(out.pixelColor(26, 4), QColor(Qt::black));
        QCOMPARE(out.pixelColor(110, 25), face);

        img.takePicture(src);
        img.rotate(-30.0f, 0x0000FF00);
        QCOMPARE(img.picture().pixelColor(0, 0), QColor(Qt::green));
        QCOMPARE(img.picture().pixelColor(86, 4), QColor(Qt::black)); // top: the old top-right corner
    }

    void skewGrowsAndFills_data() {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("filled");
        QTest::addColumn<QPoint>("covered");
        // 40 x 30 picture; horizontal moves the top edge against the bottom,
        // vertical the left edge against the right.
        QTest::newRow("right") << 0 << 10 << QSize(50, 30) << QPoint(0, 0) << QPoint(45, 1);
        QTest::newRow("right, bottom corner") << 0 << 10 << QSize(50, 30) << QPoint(49, 29) << QPoint(2, 28);
        QTest::newRow("left") << 0 << -10 << QSize(50, 30) << QPoint(0, 29) << QPoint(2, 1);
        QTest::newRow("left, top corner") << 0 << -10 << QSize(50, 30) << QPoint(49, 0) << QPoint(45, 28);
        QTest::newRow("down") << 1 << 10 << QSize(40, 40) << QPoint(0, 0) << QPoint(1, 36);
        QTest::newRow("down, right corner") << 1 << 10 << QSize(40, 40) << QPoint(39, 39) << QPoint(38, 2);
        QTest::newRow("up") << 1 << -10 << QSize(40, 40) << QPoint(0, 39) << QPoint(1, 2);
        QTest::newRow("up, right corner") << 1 << -10 << QSize(40, 40) << QPoint(39, 0) << QPoint(38, 36);
    }
    void skewGrowsAndFills() {
        QFETCH(int, direction);
        QFETCH(int, pixels);
        QFETCH(QSize, size);
        QFETCH(QPoint, filled);
        QFETCH(QPoint, covered);
        QImage src(40, 30, QImage::Format_RGB32);
        src.fill(Qt::black);
        ImagingObject img;
        img.takePicture(src);
        img.skew(direction, pixels, 0x000000FF);
        QCOMPARE(QSize(img.width(), img.height()), size);
        QCOMPARE(img.picture().pixelColor(filled), QColor(Qt::red));
        QCOMPARE(img.picture().pixelColor(covered), QColor(Qt::black));
    }

    void resizeKeepsProportion_data() {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("75 %") << QSize(1000, 600) << 750 << 450;
        QTest::newRow("200 %") << QSize(1000, 600) << 2000 << 1200;
        QTest::newRow("rounds") << QSize(300, 100) << 100 << 33;
        QTest::newRow("rounds up") << QSize(300, 200) << 100 << 67;
        QTest::newRow("never below one") << QSize(300, 1) << 100 << 1;
        QTest::newRow("same") << QSize(40, 30) << 40 << 30;
    }
    void resizeKeepsProportion() {
        QFETCH(QSize, from);
        QFETCH(int, width);
        QFETCH(int, height);
        QImage src(from, QImage::Format_RGB32);
        src.fill(Qt::blue);
        ImagingObject img;
        img.takePicture(src);
        img.resize(width);
        QCOMPARE(img.width(), width);
        QCOMPARE(img.height(), height);
        QCOMPARE(img.picture().pixelColor(width / 2, height / 2), QColor(Qt::blue));
    }

    void misuseThrowsAndChangesNothing() {
        ImagingObject empty;
        QVERIFY(empty.isEmpty());
        QCOMPARE(empty.width(), 0);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, empty.resize(10));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, empty.rotate(45, 0x8000000F));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, empty.skew(0, 5, 0x8000000F));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, empty.save(path("nothing.jpg"), 1));
        QVERIFY(!QFileInfo::exists(path("nothing.jpg")));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, empty.takePicture(QImage()));

        ImagingObject img;
        img.takePicture(basePicture());
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.resize(0));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.skew(2, 5, 0));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.save(path("x.bmp"), 6, 8));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.save(path("x.png"), 2));
        QVERIFY(!QFileInfo::exists(path("x.bmp")) && !QFileInfo::exists(path("x.png")));
        img.skew(0, 0, 0);
        img.setOption(13, 90);
        QCOMPARE(img.picture(), basePicture());
    }

    void colorNumbers_data() {
        QTest::addColumn<qlonglong>("number");
        QTest::addColumn<QColor>("color");
        const QColor face = QGuiApplication::palette().color(QPalette::Button);
        QTest::newRow("red") << qlonglong(0x000000FF) << QColor(255, 0, 0);
        QTest::newRow("green") << qlonglong(0x0000FF00) << QColor(0, 255, 0);
        QTest::newRow("blue") << qlonglong(0x00FF0000) << QColor(0, 0, 255);
        QTest::newRow("mixed") << qlonglong(0x00030201) << QColor(1, 2, 3);
        QTest::newRow("button face") << qlonglong(0x8000000F) << face;
        QTest::newRow("button face, 32-bit negative") << qlonglong(qint32(0x8000000F)) << face;
        QTest::newRow("window text")
            << qlonglong(0x80000008) << QGuiApplication::palette().color(QPalette::Text);
    }
    void colorNumbers() {
        QFETCH(qlonglong, number);
        QFETCH(QColor, color);
        QCOMPARE(colorFromNumber(long(number)), color);
        if (!colornumber::isSystemColor(long(number))) QCOMPARE(numberFromColor(color), long(number));
    }
};
VEX_TEST(ImagingTest);
#include "ImagingTest.moc"
