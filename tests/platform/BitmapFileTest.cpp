// The bitmap file object: reading a bitmap file and writing it back byte for
// byte, packed bitmaps from memory, the files it refuses with its messages
// (missing, locked, not a bitmap, cut short) and the writes it reports.
#include "common/PlatformSupport.h"
#include "platform/BitmapFile.h"

#include <QBuffer>
#include <QtEndian>
#include <sys/fsuid.h>

using testsupport::writeFile;

namespace {

// A 40-byte information header followed by the pixels.
QByteArray packed(int width, int height, int bits, int sizeImage, int headerSize = 40, int compression = 0) {
    QByteArray b(40 + std::max(sizeImage, 0), 0);
    auto* p = reinterpret_cast<uchar*>(b.data());
    const int fields[][2] = {{0, headerSize}, {4, width},       {8, height},  {12, 1 | bits << 16}, // one plane
                             {16, compression}, {20, sizeImage}, {24, 2835},   {28, 2835}};
    for (const auto& f : fields) qToLittleEndian<qint32>(f[1], p + f[0]);
    for (int i = 40; i < b.size(); ++i) b[i] = char(i * 7);
    return b;
}

} // namespace

class BitmapFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void init() { testsupport::dialogs().clear(); }

    // A file is read and written back byte for byte (5 pixels of 3 bytes pad
    // to 16 a row), also with an image size of 0, which uncompressed bitmaps
    // may give; cut short, or more rows than it holds, it is an error.
    void readsAndWritesTheSameBytes() {
        QByteArray file;
        QBuffer buffer(&file);
        QImage(5, 3, QImage::Format_RGB888).save(&buffer, "BMP");
        const QString in = dir.filePath("in.bmp"), out = dir.filePath("out.bmp");
        cDIB dib;
        for (int imageSize : {48, 0}) {
            qToLittleEndian<qint32>(imageSize, reinterpret_cast<uchar*>(file.data()) + 34);
            QVERIFY(writeFile(in, file));
            QVERIFY(dib.CreateFromFile(in) && dib.WriteToFile(out));
            QCOMPARE(testsupport::fileBytes(out), file);
            QCOMPARE(QList<int>({dib.FileType(), dib.Width(), dib.Height(), dib.BitCount(), dib.SizeFileHeader()}),
                     QList<int>({19778, 5, 3, 24, 54 + 48}));
        }
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
        qToLittleEndian<qint32>(0x7fffffff, reinterpret_cast<uchar*>(file.data()) + 18);
        qToLittleEndian<qint32>(-0x7fffffff - 1, reinterpret_cast<uchar*>(file.data()) + 22);
        for (const QByteArray& bad : {file.left(file.size() - 5), file.left(20), file}) {
            cDIB refused;
            QVERIFY(writeFile(in, bad));
            QVERIFY_THROWS_EXCEPTION(legacy::Error, refused.CreateFromFile(in));
            QVERIFY(!refused.PointerToBits());
        }
    }

    // A packed bitmap is written after a file header; one with a colour
    // table, colour masks, a longer header or no image size is refused.  A
    // write refused at once, or failing for a full disk, is reported and
    // leaves the earlier file byte for byte, no temporary beside it.
    void packedBitmapsAndWrites() {
        const QByteArray mem = packed(100, 100, 24, 30000);
        cDIB dib;
        QTemporaryDir keep;
        const QString out = keep.filePath("packed.bmp");
        QVERIFY(dib.CreateFromPackedDIBPointer(mem.constData()) && dib.WriteToFile(out));
        QCOMPARE(testsupport::fileBytes(out).mid(14), mem);
        QCOMPARE(QImage(out).size(), QSize(100, 100)); // any bitmap reader takes it
        QVERIFY(!dib.WriteToFile(keep.filePath("no-such-folder/x.bmp")));
        QVERIFY(writeFile(out, "old contents"));
        bool written = true;
        {
            testsupport::FileSizeLimit full(1024);
            written = dib.WriteToFile(out);
        }
        QVERIFY(!written);
        QCOMPARE(testsupport::fileBytes(out), QByteArray("old contents"));
        QCOMPARE(QDir(keep.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"packed.bmp"});
        for (const QByteArray& refused : {packed(10, 10, 8, 100), packed(10, 10, 24, 0), packed(10, 10, 32, 400, 124),
                                          packed(10, 10, 16, 200, 40, 3), QByteArray()}) {
            cDIB other;
            QVERIFY(!other.CreateFromPackedDIBPointer(refused.isNull() ? nullptr : refused.constData()));
            QVERIFY(!other.PointerToBits());
        }
    }

    // Files it refuses, each with its message, the file's name on a line of
    // its own, and its icon; a refused file is let go at once.
    void refusedFiles_data() {
        // A copy of the data file `name`, if there is one, refused with `text` and `icon`.
        testsupport::columns<QString, QString, dlg::Icon>("name", "text", "icon");
        const QString unsupported = QStringLiteral("File is not a supported bitmap format:");
        QTest::newRow("missing") << "missing.bmp" << "File does not exist:" << dlg::Icon::Critical;
        QTest::newRow("no bitmap") << "map.png" << unsupported << dlg::Icon::Information;
        QTest::newRow("pixels inside the headers") << "bad/early.bmp" << unsupported << dlg::Icon::Information;
        QTest::newRow("locked") << "map.bmp" << "File is locked - cannot access:" << dlg::Icon::Critical;
    }
    void refusedFiles() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(dlg::Icon, icon);
        const QString path = dir.filePath("refused.bmp");
        QFile::remove(path);
        QFile::copy(testsupport::platformData(name), path);
        if (QTest::currentDataTag() == QLatin1String("locked")) QFile::setPermissions(path, {});
        // Read as nobody, so that the superuser too is held to the file's permission bits.
        QFile::setPermissions(dir.path(), QFile::Permissions(0x7755));
        const uid_t was = setfsuid(65534);
        cDIB dib;
        const bool created = dib.CreateFromFile(path);
        setfsuid(was);
        QVERIFY(!created && !dib.PointerToBits());
        auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(prompts.size(), size_t(1));
        QCOMPARE(prompts[0].title + '|' + prompts[0].text, "Ferno Vexolan|" + text + '\n' + path);
        QCOMPARE(prompts[0].icon, icon);
        QVERIFY(QFile::remove(path) == (name != "missing.bmp")); // let go of
    }
};
VEX_TEST(BitmapFileTest);
#include "BitmapFileTest.moc"
