// The file service: documents folder, existence, path splitting, system
// name, the keep-on-top window state and NUL-terminated buffers.
#include "common/TestRegistry.h"
#include "platform/FileService.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class FileServiceTest : public QObject {
    Q_OBJECT
private slots:
    void documentsFolderEndsInSeparatorAndExists() {
        const QString docs = FileService::SpecialFolderPath(FileService::DocumentsFolder);
        QCOMPARE(docs, QDir::homePath() + QStringLiteral("/Documents/"));
        QVERIFY(QDir(docs).exists());
        // The data folder is built by appending names to it.
        QCOMPARE(FileService::SplitPath(docs + QStringLiteral("Ferno/"), true), docs + QStringLiteral("Ferno/"));
    }
    void otherFolderNumbersAreUnknown() {
        QCOMPARE(FileService::SpecialFolderPath(0), QString());
        QCOMPARE(FileService::SpecialFolderPath(26), QString());
    }

    // The folder and file parts, and the path with a ".jpg" added where the
    // name has no extension.
    void splitPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("withJpg");
        QTest::newRow("unix") << "/home/u/maps/quad.vlm" << "/home/u/maps/" << "quad.vlm" << "/home/u/maps/quad.vlm";
        QTest::newRow("windows") << "C:\\Maps\\Quad 7.5.jpg" << "C:\\Maps\\" << "Quad 7.5.jpg" << "C:\\Maps\\Quad 7.5.jpg";
        QTest::newRow("mixed") << "/data/old\\map.bmp" << "/data/old\\" << "map.bmp" << "/data/old\\map.bmp";
        QTest::newRow("no folder") << "quad.vlm" << "" << "quad.vlm" << "quad.vlm";
        QTest::newRow("folder only") << "/home/u/maps/" << "/home/u/maps/" << "" << "/home/u/maps/.jpg";
        QTest::newRow("root file") << "/x.lab" << "/" << "x.lab" << "/x.lab";
        QTest::newRow("empty") << "" << "" << "" << ".jpg";
        QTest::newRow("dots in folder") << "/a.b/c" << "/a.b/" << "c" << "/a.b/c.jpg";
        QTest::newRow("trailing point") << "/m/scan." << "/m/" << "scan." << "/m/scan.jpg";
        QTest::newRow("hidden name") << "/m/.scan" << "/m/" << ".scan" << "/m/.scan.jpg";
    }
    void splitPath() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, withJpg);
        QCOMPARE(FileService::SplitPath(path, true), folder);
        QCOMPARE(FileService::SplitPath(path, false), file);
        QCOMPARE(FileService::SplitPath(path, true) + FileService::SplitPath(path, false), path);
        QCOMPARE(FileService::WithExtension(path, QStringLiteral("jpg")), withJpg);
    }

    void fileExistsForFilesAndFolders() {
        QTemporaryDir tmp;
        const QString file = tmp.filePath(QStringLiteral("a map.jpg"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(FileService::FileExists(file));
        QVERIFY(FileService::FileExists(tmp.path()));
        QVERIFY(FileService::FileExists(tmp.path() + QStringLiteral("/")));
        QVERIFY(!FileService::FileExists(tmp.filePath(QStringLiteral("missing.lab"))));
        QVERIFY(!FileService::FileExists(QString()));
    }

    void systemNameIsNeverTheOldSystem() {
        const QString name = FileService::SystemName();
        QVERIFY(!name.isEmpty());
        QVERIFY(name != QLatin1String("WinXP"));
    }

    void stripNulls_data() {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<QString>("text");
        QTest::newRow("path then nul and spaces")
            << QByteArray("/usr/bin/gimp\0   ", 17) << QStringLiteral("/usr/bin/gimp");
        QTest::newRow("no nul: nothing was written") << QByteArray(260, ' ') << QString();
        QTest::newRow("nul first") << QByteArray("\0abc", 4) << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("utf8") << QByteArray("/opt/\xc3\xa9" "diteur\0", 14) << QStringLiteral("/opt/\u00e9diteur");
    }
    void stripNulls() {
        QFETCH(QByteArray, buffer);
        QFETCH(QString, text);
        QCOMPARE(FileService::StripNulls(buffer), text);
    }

    void setWindowStateKeepsAVisibleWindowShown() {
        QDialog splash;
        splash.show();
        QVERIFY(FileService::SetWindowState(&splash, true));
        QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(splash.isVisible());
        QVERIFY(FileService::SetWindowState(&splash, false));
        QVERIFY(!splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(splash.isVisible());

        QDialog hidden;
        QVERIFY(FileService::SetWindowState(&hidden, true));
        QVERIFY(!hidden.isVisible());
        QVERIFY(!FileService::SetWindowState(nullptr, true));
    }
};
VEX_TEST(FileServiceTest);
#include "FileServiceTest.moc"
