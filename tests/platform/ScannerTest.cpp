// The scanner layer: when scanning counts as set up, SANE's frame layouts
// made into images, and whole scans from SANE's test scanner in every mode
// it offers (line art, gray, 16 bits, colour, three passes, a hand scanner
// of unknown page length).
#include "common/PlatformSupport.h"
#include "platform/Scanner.h"

#include <dlfcn.h>
#include <pthread.h>
#include <thread>

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
            {"# net\n  # test\n\n", {}, false}, {"# list\nnet # the network\n", {}, true}, {"#\n", "hpaio\n", true},
            {{}, {}, false}};
        for (const auto& [dllConf, dllD, available] : cases) {
            QTemporaryDir dir;
            if (!dllConf.isNull()) QVERIFY(testsupport::writeFile(dir.filePath("dll.conf"), dllConf));
            if (!dllD.isNull()) QVERIFY(testsupport::writeFile(dir.filePath("dll.d/extra"), dllD));
            testsupport::EnvOverride env("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
            QVERIFY2(scanner::Available() == available, dllConf.constData());
        }
    }

    void framesToImage_data() { testsupport::addFileRows("platform/frames.txt"); }
    void framesToImage() {
        const testsupport::Fields r = testsupport::rowFields();
        const scanner::FrameParameters p{r.whole(0), true, r.whole(3), r.whole(2), r.whole(4), r.whole(1)};
        const QByteArray bytes = QByteArray::fromHex(r.str(5).toLatin1());
        if (r.str(6).isEmpty()) QVERIFY_THROWS_EXCEPTION(legacy::Error, assemble({{p, bytes}}));
        else {
            const QImage img = assemble({{p, bytes}});
            QCOMPARE(img.size(), QSize(r.whole(6), r.whole(7)));
            QCOMPARE(img.pixel(r.whole(8), r.whole(9)), 0xff000000u | r.str(10).toUInt(nullptr, 16));
        }
    }

    void threePassesInAnyOrderOfTheColours() {
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
        // A scanner error ends the scan with its text; the scanner can be used again at once.  (One
        // error only: SANE's test scanner cancels its reader thread at any point, even in the middle of
        // its first allocation, which can leave the C library's lock taken and the scan's end hung.)
        QCOMPARE(testsupport::errorOf([] { scanWith({{"read-return-value", "SANE_STATUS_JAMMED"}}); }),
                 QStringLiteral("Document feeder jammed"));
        QCOMPARE(scanWith({}).width(), 157);
    }

    // A backend's reader thread asks for asynchronous cancellation through the
    // global name; the program's guard must be what that name finds (not a
    // library linked before it, such as a sanitizer's runtime), and keep the
    // thread's cancellation deferred.
    void readerThreadsKeepDeferredCancellation() {
        using SetType = int (*)(int, int*);
        const auto set = reinterpret_cast<SetType>(dlsym(RTLD_DEFAULT, "pthread_setcanceltype"));
        int asked = -1, kept = -1;
        std::thread([&] {
            set(PTHREAD_CANCEL_ASYNCHRONOUS, &asked);
            set(PTHREAD_CANCEL_DEFERRED, &kept);
        }).join();
        QCOMPARE(asked, int(PTHREAD_CANCEL_DEFERRED));
        QCOMPARE(kept, int(PTHREAD_CANCEL_DEFERRED));
    }

    // A page of 80 x 100 mm at 50 dpi is 157 x 196 pixels; a hand scanner's is 110 mm wide, and
    // finds its length, 170 mm, as it goes.
    void scansInEveryMode_data() {
        QTest::addColumn<Settings>("settings");
        QTest::newRow("colour") << Settings{{"mode", "Color"}};
        QTest::newRow("gray") << Settings{{"mode", "Gray"}};
        QTest::newRow("gray 16") << Settings{{"mode", "Gray"}, {"depth", "16"}};
        QTest::newRow("colour 16") << Settings{{"mode", "Color"}, {"depth", "16"}};
        QTest::newRow("line art") << Settings{{"mode", "Gray"}, {"depth", "1"}};
        QTest::newRow("three passes") << Settings{{"mode", "Color"}, {"three-pass", "1"}};
        QTest::newRow("hand scanner") << Settings{{"mode", "Gray"}, {"hand-scanner", "1"}};
    }
    void scansInEveryMode() {
        QFETCH(Settings, settings);
        const QImage page = scanWith(settings);
        QCOMPARE(page.size(), settings.contains({"hand-scanner", "1"}) ? QSize(216, 334) : QSize(157, 196));
        bool coloured = false, varied = false;
        // An odd step, so as not to land on the pattern's grid lines only.
        for (int y = 0; y < page.height(); y += 3)
            for (int x = 0; x < page.width(); x += 3) {
                const QRgb c = page.pixel(x, y);
                coloured |= qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
                varied |= c != page.pixel(0, 0);
            }
        QCOMPARE(coloured, settings.contains({"mode", "Color"}));
        QVERIFY(varied);
    }
};
VEX_TEST(ScannerTest);
#include "ScannerTest.moc"
