// The bitmap file object: reading a bitmap file and writing it back byte for
// byte, packed bitmaps from memory, the files it refuses with its messages
// (missing, locked, not a bitmap, cut short) and the writes it reports.
#include "common/PlatformSupport.h"
#include "platform/BitmapFile.h"

#include <QBuffer>
#include <QtEndian>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// While alive, this thread is held to the files' permission bits even as
// the superuser: the capabilities that pass over them leave its effective
// set (they stay permitted and come back at the end).
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
    // table, colour masks, a longer header or no image size is refused.
    void packedBitmaps() {
        const QByteArray mem = packed(100, 100, 24, 30000);
        cDIB dib;
        const QString out = dir.filePath("packed.bmp");
        QVERIFY(dib.CreateFromPackedDIBPointer(mem.constData()) && dib.WriteToFile(out));
        QCOMPARE(testsupport::fileBytes(out).mid(14), mem);
        QCOMPARE(QImage(out).size(), QSize(100, 100)); // any bitmap reader takes it
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
        QTest::addColumn<QString>("name"); // a copy of this data file, if there is one
        QTest::addColumn<QString>("text");
        QTest::addColumn<dlg::Icon>("icon");
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
        cDIB dib;
        bool created = true;
        {
            PermissionBitsBind bind;
            created = dib.CreateFromFile(path);
        }
        QVERIFY(!created && !dib.PointerToBits());
        auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(prompts.size(), size_t(1));
        QCOMPARE(prompts[0].text, text + '\n' + path);
        QCOMPARE(prompts[0].icon, icon);
        QCOMPARE(prompts[0].title, QStringLiteral("Ferno Vexolan"));
        QVERIFY(QFile::remove(path) == (name != "missing.bmp")); // let go of
    }

    // A write refused at once, or failing at the last flush, is reported and
    // leaves the earlier file byte for byte.
    void writeFailureIsReported() {
        cDIB dib;
        const QByteArray mem = packed(40, 40, 24, 4800);
        QVERIFY(dib.CreateFromPackedDIBPointer(mem.constData()));
        QVERIFY(!dib.WriteToFile(dir.filePath("no-such-folder/x.bmp")));
        QTemporaryDir keep;
        const QString target = keep.filePath("kept.bmp");
        QVERIFY(writeFile(target, "old contents"));
        bool written = true;
        {
            testsupport::FileSizeLimit full(1024);
            written = dib.WriteToFile(target);
        }
        QVERIFY(!written);
        QCOMPARE(testsupport::fileBytes(target), QByteArray("old contents"));
        QCOMPARE(QDir(keep.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.bmp"});
    }
};
VEX_TEST(BitmapFileTest);
#include "BitmapFileTest.moc"
