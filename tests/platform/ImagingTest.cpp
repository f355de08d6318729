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
    // The file of a data file's row: the first word of its name.
    static QString rowFile() { return QString::fromLatin1(QTest::currentDataTag()).section(u' ', 0, 0); }

private slots:
    void loadsEveryOfferedKind_data() { testsupport::addFileRows("platform/loads.txt"); }
    void loadsEveryOfferedKind() {
        const testsupport::Fields row = testsupport::rowFields();
        ImagingObject img;
        img.load(platformData(rowFile()));
        QCOMPARE(QSize(img.width(), img.height()), QSize(row.whole(0), row.whole(1)));
        if (row.str(2) == "same") QCOMPARE(img.picture().convertToFormat(QImage::Format_RGB32), m_base);
        else {
            const QColor got = img.picture().pixelColor(row.whole(2), row.whole(3)), want(row.str(4));
            QVERIFY2(std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                             std::abs(got.blue() - want.blue()) <= 64, qPrintable(got.name()));
        }
    }

    void unreadableFilesThrowAndKeepTheImage_data() { testsupport::addFileRows("platform/unreadable.txt"); }
    void unreadableFilesThrowAndKeepTheImage() {
        const QString file = rowFile(), reason = testsupport::rowFields().str(0);
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

    // A save makes a real JPEG, or an uncompressed 24-bit bitmap (54 header
    // bytes and 40 rows of 120: 4854 = 0x12F6 bytes), in place of the earlier
    // file, the see-through top-left block shown on white.  A save that
    // fails, at the last flush (a small picture still in the write buffer),
    // while writing, or at once, leaves the earlier file byte for byte, no
    // temporary beside it, and names the system's reason.
    void saves_data() {
        testsupport::columns<int, int, QByteArray, QString>("format", "side", "bytes", "reason");
        const QByteArray old = "old contents";
        const QString full = QStringLiteral("File too large");
        QTest::newRow("jpeg") << ImagingObject::FormatJpeg << 40 << QByteArray("\xFF\xD8\xFF") << "";
        QTest::newRow("bitmap") << ImagingObject::FormatBmp << 40 << QByteArray("BM\xF6\x12\0\0", 6) << "";
        QTest::newRow("jpeg at the last flush") << ImagingObject::FormatJpeg << 40 << old << full;
        QTest::newRow("bitmap at the last flush") << ImagingObject::FormatBmp << 40 << old << full;
        QTest::newRow("jpeg while writing") << ImagingObject::FormatJpeg << 600 << old << full;
        QTest::newRow("bitmap while writing") << ImagingObject::FormatBmp << 600 << old << full;
        QTest::newRow("folder missing") << ImagingObject::FormatJpeg << 40 << QByteArray()
                                        << "No such file or directory";
    }
    void saves() {
        QFETCH(int, format);
        QFETCH(int, side); // of a picture of noise
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir keep;
        const bool missing = reason.startsWith("No such");
        const QString target = keep.filePath(missing ? "missing/map.pic" : "map.pic");
        QVERIFY(missing || testsupport::writeFile(target, "old contents"));
        QImage noise(side, side, QImage::Format_ARGB32);
        for (int i = 0; i < side * side; ++i)
            noise.setPixel(i % side, i / side, qRgb(i * 37 % 256, i * 91 % 251, i % 13));
        for (int i = 0; i < 16 * 16; ++i) noise.setPixel(i % 16, i / 16, 0); // the top-left block see-through
        ImagingObject img;
        img.takePicture(noise);
        const QString error = testsupport::errorOf([&] {
            testsupport::FileSizeLimit full(reason == "File too large" ? 1024 : RLIM_INFINITY);
            img.save(target, format);
        });
        QCOMPARE(error, reason.isEmpty() ? reason
                                         : QStringLiteral("Cannot save the image \"%1\": %2").arg(target, reason));
        QCOMPARE(QDir(keep.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 missing ? QStringList() : QStringList{"map.pic"});
        const QByteArray written = testsupport::fileBytes(target);
        QCOMPARE(reason.isEmpty() ? written.left(bytes.size()) : written, bytes);
        if (reason.isEmpty()) QVERIFY(qGray(QImage(target).pixel(8, 8)) > 250);
    }

    void geometry_data() { testsupport::addFileRows("platform/geometry.txt"); }
    void geometry() {
        const testsupport::Fields row = testsupport::rowFields();
        QImage src(row.whole(0), row.whole(1), QImage::Format_RGB32);
        src.fill(Qt::black);
        src.setPixelColor(0, 0, QColor(1, 2, 3));
        ImagingObject img;
        img.takePicture(src);
        const QString op = row.str(2);
        const int amount = op.mid(1).toInt();
        if (op[0] == 'r') img.rotate(float(amount), 0x000000FF);
        else if (op[0] == 's') img.resize(amount);
        else img.skew(op[0] == 'h' ? ImagingObject::SkewHorizontal : ImagingObject::SkewVertical, amount, 0x000000FF);
        QCOMPARE(QSize(img.width(), img.height()), QSize(row.whole(3), row.whole(4)));
        QCOMPARE(img.picture().pixelColor(row.whole(5), row.whole(6)), QColor(row.str(7)));
    }

    // Nothing to work on, an unknown direction or depth, or a picture beyond
    // the allocation limit, loaded or made: an error, and neither the
    // picture nor any file changes.
    void misuseThrowsAndChangesNothing() {
        ImagingObject img;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.rotate(45, 0x8000000F));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.takePicture(QImage()));
        const int before = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(2); // megabytes; the 1200 x 1000 pictures need 4.6
        for (const char* name : {"big.png", "big.pcx"})
            QVERIFY_THROWS_EXCEPTION(legacy::Error, img.load(platformData(name)));
        QVERIFY(img.isEmpty());
        img.takePicture(m_base);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.resize(2000));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.skew(ImagingObject::SkewHorizontal, 50000, 0));
        QImageReader::setAllocationLimit(before);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.resize(0));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.skew(2, 5, 0));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, img.save(m_dir.filePath("x.bmp"), ImagingObject::FormatBmp, 8));
        QVERIFY(!QFile::exists(m_dir.filePath("x.bmp")));
        QCOMPARE(img.picture(), m_base);
        // System colour numbers, also as 32-bit negatives, are the palette's.
        QCOMPARE(colorFromNumber(long(qint32(0x8000000F))), QGuiApplication::palette().color(QPalette::Button));
        QCOMPARE(numberFromColor(QColor(1, 2, 3)), 0x00030201L);
    }
};
VEX_TEST(ImagingTest);
#include "ImagingTest.moc"
