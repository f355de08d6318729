// The scanner layer: when scanning counts as set up, SANE's frame layouts
// made into images, and whole scans from SANE's test scanner in every mode
// it offers (line art, gray, 16 bits, colour, three passes, a hand scanner
// of unknown page length).
#include "common/PlatformSupport.h"
#include "platform/Scanner.h"

using Settings = QList<std::pair<QString, QString>>;

namespace {

QImage assemble(const std::vector<std::pair<scanner::FrameParameters, QByteArray>>& frames) {
    scanner::FrameAssembler a;
    for (const auto& [p, bytes] : frames) {
        a.beginFrame(p);
        a.append(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()));
        a.endFrame();
    }
    return a.image();
}

// Opens test:0 with the given options (by name) and scans a page.
QImage scanWith(const Settings& settings) {
    scanner::Session s;
    s.open(QStringLiteral("test:0"));
    for (const auto& [name, value] : settings)
        for (const scanner::Option& o : s.options())
            if (o.name == name) s.setOption(o.index, value);
    return s.acquire();
}

} // namespace

class ScannerTest : public QObject {
    Q_OBJECT
    QTemporaryDir sane;

private slots:
    void initTestCase() {
        QVERIFY(testsupport::writeFile(sane.filePath("dll.conf"), "test\n"));
        QVERIFY(testsupport::writeFile(sane.filePath("test.conf"),
                                       "resolution 50\ntest-picture \"Color pattern\"\nbr_x 80.0\nbr_y 100.0\n"));
        qputenv("SANE_CONFIG_DIR", sane.path().toLocal8Bit());
    }

    // Set up when dll.conf, or a file in dll.d, names a backend.
    void availableWhenABackendIsNamed() {
        const QList<std::tuple<QByteArray, QByteArray, bool>> cases = {
            {"test\n", {}, true}, {"# net\n  # test\n\n", {}, false}, {"# list\nnet # the network\n", {}, true},
            {"#\n", "hpaio\n", true}, {{}, {}, false}};
        for (const auto& [dllConf, dllD, available] : cases) {
            QTemporaryDir dir;
            if (!dllConf.isNull()) QVERIFY(testsupport::writeFile(dir.filePath("dll.conf"), dllConf));
            if (!dllD.isNull()) QVERIFY(testsupport::writeFile(dir.filePath("dll.d/extra"), dllD));
            testsupport::EnvOverride env("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
            QVERIFY2(scanner::Available() == available, dllConf.constData());
        }
    }

    // One frame: format (0 gray, 1 colour, 9 unknown), bits, pixels and
    // bytes a line, lines (-1: a hand scanner's unknown length); the image's
    // width, height and one pixel, or nothing when the frame is refused.
    // Three passes come in any order of the colours.
    void framesToImage() {
        using L = QList<int>;
        const QList<std::tuple<L, QByteArray, L>> frames = {
            {{0, 8, 3, 5, 2}, QByteArray("\x00\x80\xff..\x10\x20\x30..", 10), {3, 2, 2, 1, 0x303030}}, // padded
            {{0, 1, 10, 2, 1}, "\xa0\x40", {10, 1, 9, 0, 0}},                // line art: a set bit is black
            {{0, 1, 10, 2, 1}, "\xa0\x40", {10, 1, 8, 0, 0xffffff}},
            {{0, 16, 2, 4, 1}, "\x34\x12\x01\xfe", {2, 1, 1, 0, 0xfefefe}},  // 16 bits: the high byte
            {{1, 8, 2, 6, 1}, "\x01\x02\x03\x04\x05\x06", {2, 1, 1, 0, 0x040506}},
            {{0, 8, 2, 2, -1}, "\x01\x02\x03\x04\x05", {2, 2, 1, 1, 0x040404}}, // whole lines only
            {{0, 4, 2, 1, 1}, QByteArray(1, 0), {}},  {{9, 8, 1, 1, 1}, QByteArray(1, 0), {}},
            {{1, 8, 4, 6, 1}, QByteArray(6, 0), {}},  {{0, 8, 2, 2, 5}, QByteArray(), {}}, // line too short, no data
            {{0, 8, 2000000000, 2000000000, 2000000000}, QByteArray(), {}}};
        for (const auto& [layout, bytes, image] : frames) {
            const scanner::FrameParameters p{layout[0], true, layout[3], layout[2], layout[4], layout[1]};
            if (image.isEmpty()) {
                QVERIFY_THROWS_EXCEPTION(legacy::Error, assemble({{p, bytes}}));
                continue;
            }
            const QImage img = assemble({{p, bytes}});
            QCOMPARE(img.size(), QSize(image[0], image[1]));
            QCOMPARE(img.pixel(image[2], image[3]), 0xff000000u | uint(image[4]));
        }
        const QImage three = assemble({{{4, false, 2, 2, 1, 8}, "\x30\x31"},
                                       {{2, false, 2, 2, 1, 8}, "\x10\x11"},
                                       {{3, true, 2, 2, 1, 8}, "\x20\x21"}});
        QCOMPARE(three.pixel(1, 0), qRgb(0x11, 0x21, 0x31));
    }

    void scannerErrorsEndTheScan() {
        scanner::Session s;
        QCOMPARE(s.devices().value(0).label(), QStringLiteral("Noname frontend-tester (test:0)"));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, s.open(QStringLiteral("test:99")));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, scanWith({{"mode", "Sepia"}})); // refused, not silently changed
        // A scanner error ends the scan with its text; the scanner can be used again at once.
        for (const auto& [status, text] : Settings{{"SANE_STATUS_JAMMED", "Document feeder jammed"},
                                                   {"SANE_STATUS_IO_ERROR", "Error during device I/O"}}) {
            try {
                scanWith({{"read-return-value", status}});
                QFAIL("the scan went on");
            } catch (const legacy::Error& e) {
                QCOMPARE(e.description(), text);
            }
            QCOMPARE(scanWith({}).width(), 157);
        }
    }

    void scansInEveryMode_data() {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<bool>("gray");
        QTest::newRow("colour") << Settings{{"mode", "Color"}} << false;
        QTest::newRow("gray") << Settings{{"mode", "Gray"}} << true;
        QTest::newRow("gray 16") << Settings{{"mode", "Gray"}, {"depth", "16"}} << true;
        QTest::newRow("colour 16") << Settings{{"mode", "Color"}, {"depth", "16"}} << false;
        QTest::newRow("line art") << Settings{{"mode", "Gray"}, {"depth", "1"}} << true;
        QTest::newRow("three passes") << Settings{{"mode", "Color"}, {"three-pass", "1"}} << false;
        QTest::newRow("hand scanner") << Settings{{"mode", "Gray"}, {"hand-scanner", "1"}} << true;
    }
    void scansInEveryMode() {
        QFETCH(Settings, settings);
        QFETCH(bool, gray);
        const QImage page = scanWith(settings);
        // A hand scanner has its own width and finds its length as it goes.
        if (settings.contains({"hand-scanner", "1"})) QVERIFY(page.width() > 0 && page.height() > 0);
        else QCOMPARE(page.size(), QSize(157, 196));
        bool coloured = false, varied = false;
        // An odd step, so as not to land on the pattern's grid lines only.
        for (int y = 0; y < page.height(); y += 3)
            for (int x = 0; x < page.width(); x += 3) {
                const QRgb c = page.pixel(x, y);
                coloured |= qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
                varied |= c != page.pixel(0, 0);
            }
        QCOMPARE(coloured, !gray);
        QVERIFY(varied);
    }

};
VEX_TEST(ScannerTest);
#include "ScannerTest.moc"
