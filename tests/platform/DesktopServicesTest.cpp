// The desktop's services: the file service (documents folder, existence,
// path splitting, system name, the keep-on-top window state, NUL-terminated
// buffers), the settings store (defaults, round trips of awkward texts,
// persistence to the INI file, write failures), sounds, the default
// application lookup, the system information program and the printer test:
// each works, or stays quiet, on a machine without sound, desktop or printers.
#include "app/MainWindow.h"
#include "common/PlatformSupport.h"
#include "platform/FileService.h"
#include "platform/Printers.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

#include <QDialog>
#include <QPrinterInfo>
#include <QSettings>

using testsupport::writeFile;

class DesktopServicesTest : public QObject {
    Q_OBJECT
private slots:
    // The documents folder, existence, the system name, NUL-terminated
    // buffers, and the keep-on-top state, which leaves a shown window shown.
    void fileService() {
        QCOMPARE(FileService::SpecialFolderPath(FileService::DocumentsFolder), QDir::homePath() + "/Documents/");
        QVERIFY(QDir(QDir::homePath() + "/Documents/").exists());
        QCOMPARE(FileService::SpecialFolderPath(26), QString());
        QVERIFY(FileService::FileExists(QDir::homePath() + '/') && !FileService::FileExists(QDir::homePath() + "/x.lab"));
        QVERIFY(FileService::SystemName() != "WinXP" && !FileService::SystemName().isEmpty());
        QCOMPARE(FileService::StripNulls(QByteArray("/opt/\xc3\xa9" "diteur\0  ", 16)), QStringLiteral("/opt/\u00e9diteur"));
        QCOMPARE(FileService::StripNulls(QByteArray(260, ' ')), QString()); // no NUL: nothing was written
        QDialog splash, hidden;
        splash.show();
        for (bool onTop : {true, false})
            QVERIFY(FileService::SetWindowState(&splash, onTop) && splash.isVisible() &&
                    splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop);
        QVERIFY(FileService::SetWindowState(&hidden, true) && !hidden.isVisible());
        QVERIFY(!FileService::SetWindowState(nullptr, true));
    }

    void splitPath_data() { testsupport::addFileRows("platform/split-path.txt"); }
    void splitPath() {
        const QString path = QString::fromUtf8(QTest::currentDataTag());
        QCOMPARE(QStringList({FileService::SplitPath(path, true), FileService::SplitPath(path, false),
                              FileService::WithExtension(path, "jpg")}), testsupport::rowFields().f);
    }

    // Defaults and written values come back as the text the old program
    // wrote; written text reads back unchanged in a store made later (as the
    // next run does), and is in the file at once; a failed write is an error.
    void settings() {
        const QList<std::pair<QVariant, QString>> values = {
            {"&H000000FF&", "&H000000FF&"}, {11715, "11715"}, {1897.5f, "1897.5"}, {1234567.8f, "1234568"},
            {true, "True"}, {"  padded  ", "  padded  "}, {"12, 34", "12, 34"}, {"C:\\Maps\\", "C:\\Maps\\"},
            {"@Variant(junk)", "@Variant(junk)"}, {"a=b;c", "a=b;c"}, {"one\ntwo", "one\ntwo"}, {"Zürich", "Zürich"}};
        for (const auto& [value, text] : values) {
            QCOMPARE(SettingsStore().ReadSetting("Vexolan", "NeverWritten", value), text);
            SettingsStore().WriteSetting("Vexolan", "Typed", value);
            QCOMPARE(SettingsStore().ReadSetting("Vexolan", "Typed", "x"), text);
        }
        SettingsStore s;
        QCOMPARE(s.fileName(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/Ferno/Vexolan.ini");
        s.WriteSetting("Other", "Typed", "1");
        QVERIFY(testsupport::fileBytes(s.fileName()).contains("[Other]\nTyped=1\n"));
        QCOMPARE(s.ReadSetting("Vexolan", "Typed", "x") + s.ReadSetting("Other", "Typed", "x"), QStringLiteral("Zürich1"));
        // A folder below a plain file: nothing can be made there, whoever runs the test.
        QTemporaryDir tmp;
        QVERIFY(writeFile(tmp.filePath("file"), ""));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, tmp.filePath("file/sub"));
        const QString error = testsupport::errorOf([] { SettingsStore().WriteSetting("Vexolan", "MainTop", "10"); });
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, qEnvironmentVariable("XDG_CONFIG_HOME"));
        QCOMPARE(error, QStringLiteral("Path/File access error"));
    }

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

    // A link counts as opened only when the desktop's opener says so: its
    // exit status, which comes after it has looked for a program ("no method
    // available" is 3), not its start.  Without an opener nothing opens.
    void linkOpener() {
        QTemporaryDir bin;
        testsupport::EnvOverride path("PATH", bin.path().toLocal8Bit());
        const QUrl link(QStringLiteral("mailto:support@ferno.example?subject=Ferno Vexolan Help"));
        QVERIFY(!shell::OpenUrl(link));
        const QString got = bin.filePath("link");
        for (const auto& [status, opened] : {std::pair{3, false}, {0, true}}) {
            QFile::remove(got);
            QVERIFY(writeFile(bin.filePath("xdg-open"),
                              "#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(got) + "'\nsleep 0.2\nexit " +
                                  QByteArray::number(status) + "\n",
                              true));
            QCOMPARE(shell::OpenUrl(link), opened);
            QCOMPARE(testsupport::fileBytes(got), "mailto:support@ferno.example?subject=Ferno%20Vexolan%20Help");
        }
        // Help > Send Email with an opener that finds no mail program.
        QVERIFY(writeFile(bin.filePath("xdg-open"), "#!/bin/sh\nexit 3\n", true));
        auto w = testsupport::startMainWindow();
        testsupport::dialogs().clear();
        w->mnuHelpFerno->trigger();
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1));
        QCOMPARE(testsupport::dialogs().prompts[0].text, "Email program not available");
    }
};
VEX_TEST(DesktopServicesTest);
#include "DesktopServicesTest.moc"
