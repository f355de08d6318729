// The scanner layer: when scanning counts as set up, SANE's frame layouts
// made into images, and whole scans from SANE's test scanner in every mode
// it offers (line art, gray, 16 bits, colour, three passes, a hand scanner
// of unknown page length).
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "document/Legacy.h"
#include "platform/Scanner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Settings = QList<std::pair<QString, QString>>;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

scanner::FrameParameters frame(int format, int depth, int ppl, int bpl, int lines, bool last = true) {
    scanner::FrameParameters p;
    p.format = format;
    p.depth = depth;
    p.pixelsPerLine = ppl;
    p.bytesPerLine = bpl;
    p.lines = lines;
    p.lastFrame = last;
    return p;
}

QImage assemble(const std::vector<std::pair<scanner::FrameParameters, QByteArray>>& frames) {
    scanner::FrameAssembler a;
    for (const auto& [p, bytes] : frames) {
        a.beginFrame(p);
        a.append(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()));
        a.endFrame();
    }
    return a.image();
}

QByteArray u16(std::initializer_list<uint16_t> values) {
    QByteArray b;
    for (uint16_t v : values) b.append(reinterpret_cast<const char*>(&v), 2);
    return b;
}

} // namespace

class ScannerTest : public QObject {
    Q_OBJECT
    QTemporaryDir sane;

    // Opens test:0 with the given options (by name) and scans a page.
    QImage scanWith(const Settings& settings) {
        scanner::Session s;
        s.open(QStringLiteral("test:0"));
        for (const auto& [name, value] : settings) {
            for (const scanner::Option& o : s.options())
                if (o.name == name) s.setOption(o.index, value);
        }
        return s.acquire();
    }

private slots:
    void initTestCase() {
        writeFile(sane.filePath(QStringLiteral("dll.conf")), "test\n");
        writeFile(sane.filePath(QStringLiteral("test.conf")),
                  "resolution 50\ntest-picture \"Color pattern\"\nbr_x 80.0\nbr_y 100.0\n");
        qputenv("SANE_CONFIG_DIR", sane.path().toLocal8Bit());
    }

    // ---- set up or not ----

    void availableWhenABackendIsNamed_data() {
        QTest::addColumn<QByteArray>("dllConf");
        QTest::addColumn<QByteArray>("dllD");
        QTest::addColumn<bool>("available");
        QTest::newRow("one backend") << QByteArray("test\n") << QByteArray() << true;
        QTest::newRow("comments only") << QByteArray("# net\n  # test\n\n") << QByteArray() << false;
        QTest::newRow("after a comment") << QByteArray("# list\nnet # the network\n") << QByteArray() << true;
        QTest::newRow("in dll.d") << QByteArray("#\n") << QByteArray("hpaio\n") << true;
        QTest::newRow("nothing") << QByteArray() << QByteArray() << false;
    }
    void availableWhenABackendIsNamed() {
        QFETCH(QByteArray, dllConf);
        QFETCH(QByteArray, dllD);
        QFETCH(bool, available);
        QTemporaryDir dir;
        if (!dllConf.isNull()) writeFile(dir.filePath(QStringLiteral("dll.conf")), dllConf);
        if (!dllD.isNull()) writeFile(dir.filePath(QStringLiteral("dll.d/extra")), dllD);
        testsupport::EnvOverride env("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
        QCOMPARE(scanner::Available(), available);
    }

    void missingConfigurationIsNotAvailable() {
        testsupport::EnvOverride env("SANE_CONFIG_DIR", sane.filePath(QStringLiteral("no-such-folder")).toLocal8Bit());
        QVERIFY(!scanner::Available());
    }

    // ---- frames to image ----

    void grayAndLineArt() {
        // 8-bit gray with two bytes of padding per line.
        QImage g = assemble({{frame(0, 8, 3, 5, 2), QByteArray("\x00\x80\xff..\x10\x20\x30..", 10)}});
        QCOMPARE(g.size(), QSize(3, 2));
        QCOMPARE(g.pixel(1, 0), qRgb(0x80, 0x80, 0x80));
        QCOMPARE(g.pixel(2, 1), qRgb(0x30, 0x30, 0x30));
        // Line art: a set bit is black.
        QImage l = assemble({{frame(0, 1, 10, 2, 1), QByteArray("\xa0\x40", 2)}});
        QCOMPARE(l.size(), QSize(10, 1));
        QCOMPARE(l.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(l.pixel(1, 0), qRgb(255, 255, 255));
        QCOMPARE(l.pixel(2, 0), qRgb(0, 0, 0));
        QCOMPARE(l.pixel(9, 0), qRgb(0, 0, 0));
        QCOMPARE(l.pixel(8, 0), qRgb(255, 255, 255));
        // 16-bit samples keep their high byte.
        QImage w = assemble({{frame(0, 16, 2, 4, 1), u16({0x1234, 0xfe01})}});
        QCOMPARE(w.pixel(0, 0), qRgb(0x12, 0x12, 0x12));
        QCOMPARE(w.pixel(1, 0), qRgb(0xfe, 0xfe, 0xfe));
    }

    void colourInOneOrThreePasses() {
        QImage rgb = assemble({{frame(1, 8, 2, 6, 1), QByteArray("\x01\x02\x03\x04\x05\x06", 6)}});
        QCOMPARE(rgb.pixel(0, 0), qRgb(1, 2, 3));
        QCOMPARE(rgb.pixel(1, 0), qRgb(4, 5, 6));
        QImage rgb16 = assemble({{frame(1, 16, 1, 6, 1), u16({0x1000, 0x2000, 0x3000})}});
        QCOMPARE(rgb16.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
        // Three passes, in any order of the colours.
        QImage three = assemble({{frame(4, 8, 2, 2, 1, false), QByteArray("\x30\x31", 2)},
                                 {frame(2, 8, 2, 2, 1, false), QByteArray("\x10\x11", 2)},
                                 {frame(3, 8, 2, 2, 1, true), QByteArray("\x20\x21", 2)}});
        QCOMPARE(three.pixel(0, 0), qRgb(0x10, 0x20, 0x30));
        QCOMPARE(three.pixel(1, 0), qRgb(0x11, 0x21, 0x31));
    }

    void unknownLengthEndsWithTheData() {
        // A hand scanner does not know its length: whole lines count, a
        // partial last line is dropped.
        QImage img = assemble({{frame(0, 8, 2, 2, -1), QByteArray("\x01\x02\x03\x04\x05", 5)}});
        QCOMPARE(img.size(), QSize(2, 2));
        // A known length is not exceeded by surplus data.
        QImage cut = assemble({{frame(0, 8, 2, 2, 1), QByteArray("\x01\x02\x03\x04", 4)}});
        QCOMPARE(cut.size(), QSize(2, 1));
    }

    void unusableLayoutsAreRefused_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("ppl");
        QTest::addColumn<int>("bpl");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("depth 4") << 0 << 4 << 2 << 1 << 1 << QByteArray("\x00", 1);
        QTest::newRow("colour line art") << 1 << 1 << 8 << 3 << 1 << QByteArray(3, 0);
        QTest::newRow("unknown format") << 9 << 8 << 1 << 1 << 1 << QByteArray(1, 0);
        QTest::newRow("line shorter than its pixels") << 1 << 8 << 4 << 6 << 1 << QByteArray(6, 0);
        QTest::newRow("no pixels") << 0 << 8 << 0 << 1 << 1 << QByteArray(1, 0);
        QTest::newRow("no data") << 0 << 8 << 2 << 2 << 5 << QByteArray();
        QTest::newRow("absurd size") << 0 << 8 << 2000000000 << 2000000000 << 2000000000 << QByteArray();
    }
    void unusableLayoutsAreRefused() {
        QFETCH(int, format);
        QFETCH(int, depth);
        QFETCH(int, ppl);
        QFETCH(int, bpl);
        QFETCH(int, lines);
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(legacy::Error, assemble({{frame(format, depth, ppl, bpl, lines), bytes}}));
    }

    // ---- the test scanner ----

    void listsAndDescribesTheTestScanners() {
        scanner::Session s;
        const QList<scanner::Device> devices = s.devices();
        QCOMPARE(devices.size(), 2);
        QCOMPARE(devices[0].name, QStringLiteral("test:0"));
        QCOMPARE(devices[0].label(), QStringLiteral("Noname frontend-tester (test:0)"));
        s.open(QStringLiteral("test:0"));
        QVERIFY(s.isOpen());
        const QList<scanner::Option> options = s.options();
        const auto find = [&](const char* name) {
            for (const scanner::Option& o : options)
                if (o.name == QLatin1String(name)) return o;
            return scanner::Option{};
        };
        const scanner::Option mode = find("mode");
        QCOMPARE(mode.type, scanner::Option::Type::String);
        QVERIFY(mode.settable);
        QVERIFY(mode.choices.contains(QStringLiteral("Color")));
        const scanner::Option res = find("resolution");
        QCOMPARE(res.type, scanner::Option::Type::Fixed);
        QCOMPARE(res.value, QStringLiteral("50"));
        QVERIFY(res.hasRange && res.max >= 1200);
        QCOMPARE(find("depth").type, scanner::Option::Type::Int);
        QCOMPARE(find("hand-scanner").type, scanner::Option::Type::Bool);
        QCOMPARE(find("hand-scanner").value, QStringLiteral("0"));
        // A value the option refuses is an error, not a silent change.
        QVERIFY_THROWS_EXCEPTION(legacy::Error, s.setOption(mode.index, QStringLiteral("Sepia")));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, s.setOption(res.index, QStringLiteral("fifty")));
        s.close();
        QVERIFY(!s.isOpen());
        QVERIFY_THROWS_EXCEPTION(legacy::Error, s.open(QStringLiteral("test:99")));
    }

    void scansInEveryMode_data() {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("gray");
        using S = Settings;
        QTest::newRow("colour") << S{{"mode", "Color"}} << false;
        QTest::newRow("gray") << S{{"mode", "Gray"}} << true;
        QTest::newRow("gray 16") << S{{"mode", "Gray"}, {"depth", "16"}} << true;
        QTest::newRow("colour 16") << S{{"mode", "Color"}, {"depth", "16"}} << false;
        QTest::newRow("line art") << S{{"mode", "Gray"}, {"depth", "1"}} << true;
        QTest::newRow("three passes") << S{{"mode", "Color"}, {"three-pass", "1"}} << false;
        QTest::newRow("hand scanner") << S{{"mode", "Gray"}, {"hand-scanner", "1"}} << true;
    }
    void scansInEveryMode() {
        QFETCH(Settings, settings);
        QFETCH(bool, gray);
        const QImage page = scanWith(settings);
        // A hand scanner has its own width and finds its length as it goes.
        if (settings.contains({QStringLiteral("hand-scanner"), QStringLiteral("1")})) QVERIFY(page.width() > 0);
        else QCOMPARE(page.width(), 157);
        QVERIFY(page.height() > 0);
        bool coloured = false, varied = false;
        const QRgb first = page.pixel(0, 0);
        // An odd step, so as not to land on the pattern's grid lines only.
        for (int y = 0; y < page.height(); y += 3)
            for (int x = 0; x < page.width(); x += 3) {
                const QRgb c = page.pixel(x, y);
                if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)) coloured = true;
                if (c != first) varied = true;
            }
        QCOMPARE(coloured, !gray);
        QVERIFY(varied);
    }

    void scannerErrorsEndTheScan_data() {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("jammed") << "SANE_STATUS_JAMMED" << "Document feeder jammed";
        QTest::newRow("input/output") << "SANE_STATUS_IO_ERROR" << "Error during device I/O";
    }
    void scannerErrorsEndTheScan() {
        QFETCH(QString, status);
        QFETCH(QString, text);
        try {
            scanWith({{QStringLiteral("read-return-value"), status}});
            QFAIL("the scan went on");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), text);
        }
        // The scanner can be used again at once.
        QCOMPARE(scanWith({}).width(), 157);
    }

    void colourPageHasItsFullSize() {
        const QImage page = scanWith({{QStringLiteral("mode"), QStringLiteral("Color")}});
        QCOMPARE(page.size(), QSize(157, 196));
    }

    void sourceChoiceIsRemembered() {
        scanner::SetSelectedSource(QStringLiteral("test:1"));
        QCOMPARE(scanner::SelectedSource(), QStringLiteral("test:1"));
        scanner::SetSelectedSource(QString());
        QCOMPARE(scanner::SelectedSource(), QString());
    }
};
VEX_TEST(ScannerTest);
#include "ScannerTest.moc"
