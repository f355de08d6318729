// The imaging object: every offered map kind loads (the kind told by content
// first), unreadable files are refused with their reason and leave the
// picture as it was, saves are real JPEG and 24-bit bitmap files written
// whole or not at all, and rotate, skew and resize give the sizes and fills
// the map editing relies on.
#include "common/PlatformSupport.h"
#include "platform/ColorNumber.h"
#include "platform/ImagingObject.h"

#include <QGuiApplication>
#include <QImageReader>
#include <sys/resource.h>

using testsupport::platformData;

class ImagingTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QImage m_base = QImage(platformData("map.png")).convertToFormat(QImage::Format_RGB32);

private slots:
    // The pictures are 40 x 30: white, a red block at (5..14, 5..14) and a
    // blue one at (25..34, 15..24); lossless kinds give it back exactly,
    // whatever their name says.  The metafiles are 200 x 100, a block in the
    // middle on white paper.
    void loadsEveryOfferedKind() {
        for (const char* name : {"map.bmp", "map.psd", "map.pcx", "map.ico", "map.gif", "map.tif", "map.tga", "rle.TGA",
                                 "pcx-named.gif", "noextension", "png-named.jpg"}) {
            ImagingObject img;
            img.load(platformData(name));
            QVERIFY2(img.picture().convertToFormat(QImage::Format_RGB32) == m_base, name);
        }
        const QColor red(Qt::red), blue(Qt::blue), white(Qt::white);
        const QList<std::tuple<const char*, QPoint, QColor>> samples = {
            {"map.jpg", {10, 10}, red},      {"map.wbmp", {10, 10}, Qt::black}, {"map.wbmp", {2, 2}, white},
            {"map.wmf", {100, 50}, blue},    {"map.wmf", {45, 50}, white},      {"map.emf", {100, 50}, red},
            {"UPPER.EMF", {45, 50}, white}, {"bitmap.emf", {20, 10}, blue}};
        for (const auto& [name, at, color] : samples) {
            ImagingObject img;
            img.load(platformData(name));
            QCOMPARE(QSize(img.width(), img.height()), QString(name).endsWith("mf", Qt::CaseInsensitive) ? QSize(200, 100) : QSize(40, 30));
            const QColor got = img.picture().pixelColor(at);
            QVERIFY2(std::abs(got.red() - color.red()) + std::abs(got.green() - color.green()) +
                             std::abs(got.blue() - color.blue()) <= 64, name);
        }
    }

    // Among them metafiles the converter would read past its data with, and
    // a damaged TIFF read twice (the second read must not find the decoder
    // left in a bad state).
    void unreadableFilesThrowAndKeepTheImage_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        const char* const rows[][2] = {
            {"missing.jpg", "file not found"}, {"junk.jpg", ""}, {"junk.txt", ""}, {"empty.png", ""}, {"cut.png", ""},
            {"junk.pcx", ""}, {"junk.wmf", ""}, {"damaged.tif", ""}, {"cut.emf", "truncated"},
            {"description.emf", "description lies outside its header"}, {"short.emf", "record at byte 108 is too short"},
            {"noend.emf", "has no end record"}, {"pastend.emf", "byte 160 runs past the end"},
            {"odd.emf", "byte 160 has an impossible size"}, {"stretch.emf", "byte 160 is too short"},
            {"points.emf", "byte 160 points outside itself"}, {"pixels.emf", "byte 160 points outside itself"},
            {"huge.emf", "byte 160 points outside itself"}};
        for (const auto& row : rows) QTest::newRow(row[0]) << row[0] << row[1];
        QTest::newRow("damaged.tif again") << "damaged.tif" << "";
    }
    void unreadableFilesThrowAndKeepTheImage() {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        ImagingObject img;
        img.takePicture(m_base);
        try {
            img.load(platformData("bad/" + file));
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QVERIFY2(e.description().contains(file) && e.description().contains(reason), qPrintable(e.description()));
            QCOMPARE(e.code() == legacy::ErrorCode::FileNotFound, file == "missing.jpg");
        }
        QCOMPARE(img.picture(), m_base);
    }

    // Pictures beyond the allocation limit, loaded or made, are refused.
    void tooLargeImagesAreRefused() {
        const int before = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(2); // megabytes; the 1200 x 1000 pictures need 4.6
        ImagingObject img;
        for (const char* name : {"big.png", "big.pcx"})
            QVERIFY_THROWS_EXCEPTION(legacy::Error, img.load(platformData(name)));
        QVERIFY(img.isEmpty());
        img.takePicture(m_base);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.resize(2000));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.skew(ImagingObject::SkewHorizontal, 50000, 0));
        QImageReader::setAllocationLimit(before);
        QCOMPARE(img.picture(), m_base);
    }

    void savesJpegAndTrueBitmap() {
        ImagingObject img;
        img.takePicture(m_base);
        const QString jpg = m_dir.filePath("out.jpg"), bmp = m_dir.filePath("out.bmp");
        img.save(jpg, ImagingObject::FormatJpeg, 24);
        QVERIFY(testsupport::fileBytes(jpg).startsWith("\xFF\xD8\xFF"));
        img.save(bmp, ImagingObject::FormatBmp, 24);
        QCOMPARE(testsupport::fileBytes(bmp).size(), 54 + 30 * 120); // 24 bits uncompressed: 40 * 3 bytes a row
        // Saving again replaces the file; see-through parts are saved as shown on white.
        QImage clear(10, 10, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        img.takePicture(clear);
        img.save(bmp, ImagingObject::FormatBmp);
        img.load(bmp);
        QCOMPARE(img.picture().pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"out.bmp", "out.jpg"}));
    }

    // A save that fails, at the last flush (a small picture still in the
    // write buffer), while writing, or at once, leaves the earlier file byte
    // for byte, no temporary beside it, and names the system's reason.
    void failedSaveKeepsTheOldFile_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("side"); // of a picture of noise
        QTest::addColumn<QString>("reason");
        const QString full = QStringLiteral("File too large");
        QTest::newRow("jpeg at the last flush") << ImagingObject::FormatJpeg << 40 << full;
        QTest::newRow("bitmap at the last flush") << ImagingObject::FormatBmp << 40 << full;
        QTest::newRow("jpeg while writing") << ImagingObject::FormatJpeg << 600 << full;
        QTest::newRow("bitmap while writing") << ImagingObject::FormatBmp << 600 << full;
        QTest::newRow("folder missing") << ImagingObject::FormatJpeg << 40 << "No such file or directory";
    }
    void failedSaveKeepsTheOldFile() {
        QFETCH(int, format);
        QFETCH(int, side);
        QFETCH(QString, reason);
        QTemporaryDir keep;
        const bool missing = reason.startsWith("No such");
        const QString target = keep.filePath(missing ? "missing/map.pic" : "map.pic");
        QVERIFY(missing || testsupport::writeFile(target, "old contents"));
        QImage noise(side, side, QImage::Format_RGB32);
        for (int i = 0; i < side * side; ++i) noise.setPixel(i % side, i / side, qRgb(i * 37 % 256, i * 91 % 251, i % 13));
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
        QCOMPARE(QDir(keep.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 missing ? QStringList() : QStringList{"map.pic"});
        QCOMPARE(testsupport::fileBytes(target), missing ? QByteArray() : QByteArray("old contents"));
    }

    // A black picture (its top-left pixel marked) turned, skewed or resized;
    // what it no longer covers takes the red fill.
    void geometry_data() {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QString>("op"); // rotate, skew horizontally or vertically, or resize, and by how much
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("color");
        const QColor mark(1, 2, 3), fill(Qt::red), black(Qt::black);
        const QSize s(40, 30), t(30, 40), w(100, 50), turned(112, 94); // 100 cos 30 + 50 sin 30 = 111.6 ...
        QTest::newRow("turn 90") << s << "r90" << t << QPoint(29, 0) << mark;
        QTest::newRow("rotate 30, corner") << w << "r30" << turned << QPoint(111, 93) << fill;
        // Clockwise: the old top-left corner is now the highest, at (25.2, 0.4), and solid a little below.
        QTest::newRow("rotate 30, below top") << w << "r30" << turned << QPoint(26, 4) << black;
        // Horizontal skew moves the top edge against the bottom, vertical the left edge against the right.
        QTest::newRow("skew right") << s << "h10" << QSize(50, 30) << QPoint(0, 0) << fill;
        QTest::newRow("skew left") << s << "h-10" << QSize(50, 30) << QPoint(45, 28) << black;
        QTest::newRow("skew up") << s << "v-10" << QSize(40, 40) << QPoint(38, 36) << black;
        QTest::newRow("resize rounds") << QSize(300, 100) << "s100" << QSize(100, 33) << QPoint(50, 16) << black;
    }
    void geometry() {
        QFETCH(QSize, from);
        QFETCH(QString, op);
        QFETCH(QSize, size);
        QFETCH(QPoint, at);
        QFETCH(QColor, color);
        QImage src(from, QImage::Format_RGB32);
        src.fill(Qt::black);
        src.setPixelColor(0, 0, QColor(1, 2, 3));
        ImagingObject img;
        img.takePicture(src);
        const int amount = op.mid(1).toInt();
        if (op[0] == 'r') img.rotate(float(amount), 0x000000FF);
        else if (op[0] == 's') img.resize(amount);
        else img.skew(op[0] == 'h' ? ImagingObject::SkewHorizontal : ImagingObject::SkewVertical, amount, 0x000000FF);
        QCOMPARE(QSize(img.width(), img.height()), size);
        QCOMPARE(img.picture().pixelColor(at), color);
    }

    // Nothing to work on, or an unknown direction, format or depth: an
    // error, and neither the picture nor any file changes.
    void misuseThrowsAndChangesNothing() {
        ImagingObject img;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.rotate(45, 0x8000000F));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.takePicture(QImage()));
        img.takePicture(m_base);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.resize(0));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.skew(2, 5, 0));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.save(m_dir.filePath("x.bmp"), 6, 8));
        QVERIFY(!QFile::exists(m_dir.filePath("x.bmp")));
        QCOMPARE(img.picture(), m_base);
        // System colour numbers, also as 32-bit negatives, are the palette's.
        QCOMPARE(colorFromNumber(long(qint32(0x8000000F))), QGuiApplication::palette().color(QPalette::Button));
        QCOMPARE(numberFromColor(QColor(1, 2, 3)), 0x00030201L);
    }
};
VEX_TEST(ImagingTest);
#include "ImagingTest.moc"
