// Sounds, the default application lookup, the system information program
// and the printer test: each works, or stays quiet, on a machine without
// sound, desktop or printers.
#include "common/PlatformSupport.h"
#include "platform/Printers.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QPrinterInfo>

using testsupport::writeFile;

class DesktopServicesTest : public QObject {
    Q_OBJECT
private slots:
    // The first sound event of a name (names are exact); an unknown name,
    // or any without a sound output, plays nothing.
    void sounds() {
        for (const auto& [name, event] : QList<std::pair<QString, QString>>{
                 {"RestoreUp", "window-unminimized"}, {"SystemQuestion", "dialog-question"}, {"restoreup", ""}}) {
            QCOMPARE(sound::EventIds(name).value(0), event);
            if (event.isEmpty() || !sound::WaveDeviceAvailable()) QVERIFY(!sound::PlaySystemSound(name, true));
        }
    }

    // The desktop's default application for a file's kind; the system
    // information program when it is on the path.
    void programsOfTheDesktop() {
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME"), data = qEnvironmentVariable("XDG_DATA_HOME");
        QVERIFY(writeFile(data + "/applications/vexpaint.desktop",
                          "[Desktop Entry]\nType=Application\nName=Vex Paint\nExec=true %f\nMimeType=image/png;\n"));
        QVERIFY(writeFile(config + "/mimeapps.list", "[Default Applications]\nimage/png=vexpaint.desktop\n"));
        QTemporaryDir bin;
        QVERIFY(writeFile(bin.filePath("map.png"), QByteArray::fromHex("89504e470d0a1a0a")));
        QCOMPARE(shell::DefaultEditorFor(bin.filePath("map.png")), QStringLiteral("vexpaint.desktop"));
        QVERIFY(writeFile(bin.filePath("map.vlp-unknown"), "\x01\x02\x03"));
        QCOMPARE(shell::DefaultEditorFor(bin.filePath("map.vlp-unknown")), QString());
        QVERIFY(QFile::remove(config + "/mimeapps.list"));
        const QString marker = bin.filePath("started");
        {
            testsupport::EnvOverride path("PATH", bin.path().toLocal8Bit()); // no xdg-mime, no hardinfo
            QCOMPARE(shell::DefaultEditorFor(bin.filePath("map.png")), QString());
            QVERIFY(!shell::StartSysInfo());
            QVERIFY(writeFile(bin.filePath("hardinfo"), "#!/bin/sh\n: > '" + QFile::encodeName(marker) + "'\n", true));
            QVERIFY(shell::StartSysInfo());
        }
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(!shell::OpenUrl(QUrl()));
        // Without a print system the printer test answers False rather than failing.
        QVERIFY(PrinterAvailable() || QPrinterInfo::defaultPrinterName().isEmpty());
    }
};
VEX_TEST(DesktopServicesTest);
#include "DesktopServicesTest.moc"
