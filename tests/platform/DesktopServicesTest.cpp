// Sounds, the default application lookup, the system information program
// and the printer test: each works, or stays quiet, on a machine without
// sound, desktop or printers.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "platform/Printers.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(bytes);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return true;
}

} // namespace

class DesktopServicesTest : public QObject {
    Q_OBJECT
private slots:
    void soundNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("firstEvent");
        QTest::newRow("RestoreUp") << "RestoreUp" << "window-unminimized";
        QTest::newRow("RestoreDown") << "RestoreDown" << "window-unmaximized";
        QTest::newRow("Maximize") << "Maximize" << "window-maximized";
        QTest::newRow("Minimize") << "Minimize" << "window-minimized";
        QTest::newRow("SystemQuestion") << "SystemQuestion" << "dialog-question";
        QTest::newRow("unknown") << "SystemHand" << "";
        QTest::newRow("case matters") << "restoreup" << "";
    }
    void soundNames() {
        QFETCH(QString, name);
        QFETCH(QString, firstEvent);
        const QStringList ids = sound::EventIds(name);
        QCOMPARE(ids.value(0), firstEvent);
        if (firstEvent.isEmpty()) QVERIFY(!sound::PlaySystemSound(name, false));
    }

    void soundsAreSilentWithoutADevice() {
        if (sound::WaveDeviceAvailable()) QSKIP("this machine has a sound output");
        for (const char* name : {"RestoreUp", "RestoreDown", "Maximize", "Minimize", "SystemQuestion"}) {
            QVERIFY(!sound::PlaySystemSound(QLatin1String(name), false));
            QVERIFY(!sound::PlaySystemSound(QLatin1String(name), true));
        }
    }

    void defaultApplicationComesFromTheDesktop() {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) QSKIP("xdg-mime is not installed");
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        const QString data = qEnvironmentVariable("XDG_DATA_HOME");
        QVERIFY(!config.isEmpty() && !data.isEmpty());
        QVERIFY(writeFile(data + QStringLiteral("/applications/vexpaint.desktop"),
                          "[Desktop Entry]\nType=Application\nName=Vex Paint\nExec=true %f\nMimeType=image/png;\n"));
        QVERIFY(writeFile(config + QStringLiteral("/mimeapps.list"),
                          "[Default Applications]\nimage/png=vexpaint.desktop\n"));
        QTemporaryDir tmp;
        const QString png = tmp.filePath(QStringLiteral("map.png"));
        QVERIFY(writeFile(png, QByteArray::fromHex("89504e470d0a1a0a")));
        QCOMPARE(shell::DefaultEditorFor(png), QStringLiteral("vexpaint.desktop"));
        // A kind the desktop has no application for.
        const QString odd = tmp.filePath(QStringLiteral("map.vlp-unknown"));
        QVERIFY(writeFile(odd, QByteArray("\x01\x02\x03", 3)));
        QCOMPARE(shell::DefaultEditorFor(odd), QString());
        QFile::remove(config + QStringLiteral("/mimeapps.list"));
    }

    void defaultApplicationIsEmptyWithoutXdgMime() {
        QTemporaryDir empty;
        testsupport::EnvOverride path("PATH", empty.path().toLocal8Bit());
        QCOMPARE(shell::DefaultEditorFor(QStringLiteral("/tmp/map.png")), QString());
    }

    void systemInformationProgramIsStartedWhenInstalled() {
        QTemporaryDir bin;
        const QString marker = bin.filePath(QStringLiteral("started"));
        QVERIFY(writeFile(bin.filePath(QStringLiteral("hardinfo")),
                          "#!/bin/sh\n: > '" + QFile::encodeName(marker) + "'\n", true));
        {
            testsupport::EnvOverride path("PATH", bin.path().toLocal8Bit());
            QVERIFY(shell::StartSysInfo());
        }
        QTRY_VERIFY(QFile::exists(marker));
    }

    void systemInformationUnavailableWithoutAProgram() {
        QTemporaryDir empty;
        testsupport::EnvOverride path("PATH", empty.path().toLocal8Bit());
        QVERIFY(!shell::StartSysInfo());
    }

    void openUrlRefusesAnEmptyAddress() {
        QVERIFY(!shell::OpenUrl(QUrl()));
    }

    void printerTestAnswers() {
        // Without a print system it answers False rather than failing; with
        // a default printer set up it must see it.
        const bool available = PrinterAvailable();
        if (!QPrinterInfo::defaultPrinterName().isEmpty()) QVERIFY(available);
    }
};
VEX_TEST(DesktopServicesTest);
#include "DesktopServicesTest.moc"
