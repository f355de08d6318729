// The bitmap file object: reading a bitmap file and writing it back byte for
// byte, packed bitmaps from memory, the files it refuses with its messages
// (missing, locked, not a bitmap, cut short) and the writes it reports.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"
#include "platform/BitmapFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

// A 40-byte information header followed by the pixels.
QByteArray packed(int width, int height, int bits, int sizeImage, int headerSize = 40, int compression = 0) {
    QByteArray b(40, 0);
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<qint32>(headerSize, p);
    qToLittleEndian<qint32>(width, p + 4);
    qToLittleEndian<qint32>(height, p + 8);
    qToLittleEndian<qint16>(1, p + 12);
    qToLittleEndian<qint16>(qint16(bits), p + 14);
    qToLittleEndian<qint32>(compression, p + 16);
    qToLittleEndian<qint32>(sizeImage, p + 20);
    qToLittleEndian<qint32>(2835, p + 24);
    qToLittleEndian<qint32>(2835, p + 28);
    QByteArray pixels(sizeImage > 0 ? sizeImage : 0, 0);
    for (int i = 0; i < pixels.size(); ++i) pixels[i] = char(i * 7);
    return b + pixels;
}

// While alive, this thread is held to the files' permission bits even as
// the superuser: the capabilities that pass over them leave its effective
// set (they stay permitted and come back at the end).  Nothing changes for
// an ordinary user.
class PermissionBitsBind {
public:
    PermissionBitsBind() {
        if (syscall(SYS_capget, &m_header, m_saved) != 0) return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~PermissionBitsBind() {
        if (m_active) syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_active = false;
};

} // namespace

class BitmapFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void init() { testsupport::dialogs().clear(); }

    void readsAndWritesTheSameBytes() {
        QImage img(37, 11, QImage::Format_RGB888); // odd width: rows are padded
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(x * 6, y * 20, (x + y) * 3));
        const QString in = dir.filePath(QStringLiteral("in.bmp"));
        QVERIFY(img.save(in, "BMP"));
        cDIB dib;
        QVERIFY(dib.CreateFromFile(in));
        QCOMPARE(dib.FileType(), int16_t(19778));
        QCOMPARE(dib.Width(), 37);
        QCOMPARE(dib.Height(), 11);
        QCOMPARE(dib.Planes(), int16_t(1));
        QCOMPARE(dib.BitCount(), int16_t(24));
        QCOMPARE(dib.SizeInfoHeader(), 40);
        QCOMPARE(dib.SizeBitmapInfo(), dib.BitOffset() - 14);
        const QByteArray original = testsupport::fileBytes(in);
        QCOMPARE(dib.SizeFileHeader(), int32_t(original.size()));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(dib.PointerToBitmapInfo()), 40), original.mid(14, 40));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(dib.PointerToBits()), 10), original.mid(dib.BitOffset(), 10));

        const QString out = dir.filePath(QStringLiteral("out.bmp"));
        QVERIFY(dib.WriteToFile(out));
        const qint64 end = dib.BitOffset() + qint64(dib.SizeImage());
        QCOMPARE(testsupport::fileBytes(out), original.left(end));
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
    }

    void packedBitmapGetsAFileHeader() {
        const QByteArray mem = packed(100, 100, 24, 30000);
        cDIB dib;
        QVERIFY(!dib.PointerToBits()); // nothing yet
        QVERIFY(dib.CreateFromPackedDIBPointer(mem.constData()));
        QCOMPARE(dib.SizeFileHeader(), 30054);
        QCOMPARE(dib.BitOffset(), 54);
        QCOMPARE(dib.SizeBitmapInfo(), 40);
        QCOMPARE(dib.FileType(), int16_t(19778));
        QCOMPARE(dib.XPPM(), 2835);
        const QString out = dir.filePath(QStringLiteral("packed.bmp"));
        QVERIFY(dib.WriteToFile(out));
        const QByteArray file = testsupport::fileBytes(out);
        QCOMPARE(file.size(), 30054);
        QCOMPARE(file.mid(14), mem);
        // Any bitmap reader takes it.
        QCOMPARE(QImage(out).size(), QSize(100, 100));
    }

    void packedBitmapsItCannotPlace_data() {
        QTest::addColumn<QByteArray>("mem");
        QTest::newRow("8 bits with a colour table") << packed(10, 10, 8, 100);
        QTest::newRow("no image size") << packed(10, 10, 24, 0);
        QTest::newRow("longer header") << packed(10, 10, 32, 400, 124);
        QTest::newRow("colour masks") << packed(10, 10, 16, 200, 40, 3);
    }
    void packedBitmapsItCannotPlace() {
        QFETCH(QByteArray, mem);
        cDIB dib;
        QVERIFY(!dib.CreateFromPackedDIBPointer(mem.constData()));
        QVERIFY(!dib.PointerToBits());
        QVERIFY(!dib.CreateFromPackedDIBPointer(nullptr));
    }

    // Files it refuses, each with its message, the file's name on a line of
    // its own, and its icon; a refused file is let go at once.
    void refusedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");   // null: no file
        QTest::addColumn<bool>("locked");        // made unreadable
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QByteArray bmp, png;
        QBuffer b(&bmp), p(&png);
        QImage(4, 4, QImage::Format_RGB888).save(&b, "BMP");
        QImage(4, 4, QImage::Format_RGB888).save(&p, "PNG");
        QByteArray early = bmp;   // pixels said to start inside the headers
        qToLittleEndian<qint32>(20, reinterpret_cast<uchar*>(early.data()) + 10);
        const int critical = int(dlg::Icon::Critical), information = int(dlg::Icon::Information);
        QTest::newRow("missing") << "missing.bmp" << QByteArray() << false << "File does not exist:" << critical;
        QTest::newRow("no bitmap") << "map.bmp" << png << false << "File is not a supported bitmap format:"
                                   << information;
        QTest::newRow("pixels inside the headers") << "early.bmp" << early << false
                                                   << "File is not a supported bitmap format:" << information;
        QTest::newRow("locked") << "locked.bmp" << bmp << true << "File is locked - cannot access:" << critical;
    }
    void refusedFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, locked);
        QFETCH(QString, text);
        QFETCH(int, icon);
        const QString path = dir.filePath(name);
        if (!bytes.isNull()) writeAll(path, bytes);
        if (locked) QFile::setPermissions(path, QFileDevice::Permissions());
        cDIB dib;
        bool created = true;
        {
            PermissionBitsBind bind;
            created = dib.CreateFromFile(path);
        }
        QVERIFY(!created);
        QVERIFY(!dib.PointerToBits());
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].text, text + QLatin1Char('\n') + path);
        QCOMPARE(int(p[0].icon), icon);
        QCOMPARE(p[0].title, QStringLiteral("Ferno Vexolan"));
        if (!bytes.isNull()) QVERIFY(QFile::remove(path));
    }

    void fileCutShortIsAnError() {
        const QString full = dir.filePath(QStringLiteral("full.bmp"));
        QImage(20, 20, QImage::Format_RGB888).save(full, "BMP");
        const QByteArray bytes = testsupport::fileBytes(full);
        const QString cut = dir.filePath(QStringLiteral("cut.bmp"));
        writeAll(cut, bytes.left(bytes.size() - 5));
        cDIB dib;
        try {
            dib.CreateFromFile(cut);
            QFAIL("a short file was read");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.code(), legacy::ErrorCode::InputPastEnd);
        }
        QVERIFY(!dib.PointerToBits());
        writeAll(cut, bytes.left(20));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, dib.CreateFromFile(cut));
    }

    void zeroImageSizeTakesTheRows() {
        // Uncompressed bitmaps may leave the image size 0.
        const QString full = dir.filePath(QStringLiteral("zero.bmp"));
        QImage(5, 3, QImage::Format_RGB888).save(full, "BMP");
        QByteArray bytes = testsupport::fileBytes(full);
        qToLittleEndian<qint32>(0, reinterpret_cast<uchar*>(bytes.data()) + 34);
        writeAll(full, bytes);
        cDIB dib;
        QVERIFY(dib.CreateFromFile(full));
        QCOMPARE(dib.SizeImage(), 0);
        const QString out = dir.filePath(QStringLiteral("zero-out.bmp"));
        QVERIFY(dib.WriteToFile(out));
        // 5 pixels of 3 bytes pad to 16 bytes a row.
        QCOMPARE(testsupport::fileBytes(out), bytes.left(dib.BitOffset() + 3 * 16));
        // Rows beyond what the file holds.
        qToLittleEndian<qint32>(0x7fffffff, reinterpret_cast<uchar*>(bytes.data()) + 18);
        qToLittleEndian<qint32>(-0x7fffffff - 1, reinterpret_cast<uchar*>(bytes.data()) + 22);
        writeAll(full, bytes);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, dib.CreateFromFile(full));
    }

    // A write refused at once, or failing at the last flush, is reported and
    // leaves the earlier file byte for byte.
    void writeFailureIsReported() {
        cDIB dib;
        const QByteArray mem = packed(40, 40, 24, 4800);
        QVERIFY(dib.CreateFromPackedDIBPointer(mem.constData()));
        QVERIFY(!dib.WriteToFile(dir.filePath(QStringLiteral("no-such-folder/x.bmp"))));
        const QString target = dir.filePath(QStringLiteral("kept.bmp"));
        writeAll(target, "old contents");
        bool written = true;
        {
            testsupport::FileSizeLimit full(1024);
            written = dib.WriteToFile(target);
        }
        QVERIFY(!written);
        QCOMPARE(testsupport::fileBytes(target), QByteArray("old contents"));
        QVERIFY(!QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(u' ').contains(QLatin1String("kept.bmp.")));
    }
};
VEX_TEST(BitmapFileTest);
#include "BitmapFileTest.moc"
