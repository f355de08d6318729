// The file service: documents folder, existence, path splitting, system
// name, the keep-on-top window state and NUL-terminated buffers.
#include "common/PlatformSupport.h"
#include "platform/FileService.h"

#include <QDialog>

class FileServiceTest : public QObject {
    Q_OBJECT
private slots:
    void foldersFilesAndBuffers() {
        QCOMPARE(FileService::SpecialFolderPath(FileService::DocumentsFolder), QDir::homePath() + "/Documents/");
        QVERIFY(QDir(QDir::homePath() + "/Documents/").exists());
        QCOMPARE(FileService::SpecialFolderPath(26), QString());
        QVERIFY(FileService::FileExists(QDir::homePath() + '/') && !FileService::FileExists(QDir::homePath() + "/x.lab"));
        QVERIFY(FileService::SystemName() != "WinXP" && !FileService::SystemName().isEmpty());
        QCOMPARE(FileService::StripNulls(QByteArray("/opt/\xc3\xa9" "diteur\0  ", 16)), QStringLiteral("/opt/\u00e9diteur"));
        QCOMPARE(FileService::StripNulls(QByteArray(260, ' ')), QString()); // no NUL: nothing was written
    }

    // The folder and file parts, and the path with a ".jpg" added where the
    // name has no extension.
    void splitPath() {
        const QList<QStringList> cases = {
            {"C:\\Maps\\Quad 7.5.jpg", "C:\\Maps\\", "Quad 7.5.jpg", "C:\\Maps\\Quad 7.5.jpg"},
            {"/data/old\\map.bmp", "/data/old\\", "map.bmp", "/data/old\\map.bmp"},
            {"quad.vlm", "", "quad.vlm", "quad.vlm"}, {"/m/", "/m/", "", "/m/.jpg"}, {"/a.b/c", "/a.b/", "c", "/a.b/c.jpg"},
            {"/m/scan.", "/m/", "scan.", "/m/scan.jpg"}, {"/m/.scan", "/m/", ".scan", "/m/.scan.jpg"}};
        for (const QStringList& c : cases) {
            QCOMPARE(FileService::SplitPath(c[0], true), c[1]);
            QCOMPARE(FileService::SplitPath(c[0], false), c[2]);
            QCOMPARE(FileService::WithExtension(c[0], "jpg"), c[3]);
        }
    }

    void setWindowStateKeepsAVisibleWindowShown() {
        QDialog splash, hidden;
        splash.show();
        for (bool onTop : {true, false})
            QVERIFY(FileService::SetWindowState(&splash, onTop) && splash.isVisible() &&
                    splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop);
        QVERIFY(FileService::SetWindowState(&hidden, true) && !hidden.isVisible());
        QVERIFY(!FileService::SetWindowState(nullptr, true));
    }
};
VEX_TEST(FileServiceTest);
#include "FileServiceTest.moc"
