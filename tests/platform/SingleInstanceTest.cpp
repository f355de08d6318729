// One running copy per user and display: a later start on the same display
// reaches the first one, which is asked to come forward; another display has
// its own first copy; the socket lives only in a folder closed to others; a
// copy gone, even without clearing its socket, does not block the next.
#include "common/PlatformSupport.h"
#include "platform/SingleInstance.h"

#include <QSignalSpy>
#include <QWidget>
#include <unistd.h>

using testsupport::EnvOverride;

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime; // made 0700 by QTemporaryDir
    EnvOverride m_runtimeEnv{"XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())}, m_display{"DISPLAY", ":91"};
    static QString uniqueKey(const QString& tag) { return "VexolanTest-" + QString::number(::getpid()) + '-' + tag; }

private slots:
    // Later starts on the first copy's display (any of its screens) reach
    // it, and its window comes forward; a start on another display, X or
    // Wayland, is a first copy there.
    void oneFirstCopyPerDisplay() {
        const QString key = uniqueKey("displays");
        SingleInstance first;
        QWidget window; // brought forward from minimized
        window.showMinimized();
        int calls = 0;
        first.onActivateRequest = [&] { ++calls; SingleInstance::bringToFront(&window); };
        QSignalSpy spy(&first, &SingleInstance::activateRequested);
        QVERIFY(!first.activatePrevious(key) && first.isListening());
        for (const char* display : {":91", ":91.1"}) {
            EnvOverride same("DISPLAY", display);
            SingleInstance later;
            QVERIFY2(later.activatePrevious(key) && !later.isListening(), display);
        }
        QTRY_COMPARE(calls, 2);
        QCOMPARE(spy.count(), 2);
        QVERIFY(!window.windowState().testFlag(Qt::WindowMinimized) && window.isVisible());
        SingleInstance::bringToFront(nullptr); // no window yet: nothing to do
        EnvOverride other("DISPLAY", ":92");
        SingleInstance onOther;
        QVERIFY(!onOther.activatePrevious(key) && onOther.isListening());
        EnvOverride noX("DISPLAY", QByteArray());
        EnvOverride wayland("WAYLAND_DISPLAY", "wayland-1");
        QCOMPARE(SingleInstance::displayId(), QStringLiteral("wayland-1"));
        SingleInstance onWayland;
        QVERIFY(!onWayland.activatePrevious(key));
        QCOMPARE(calls, 2);
    }

    // A copy gone, cleanly or by a crash that left its socket with nobody
    // listening on it (as a link to another copy's socket once it is gone).
    void goneCopyDoesNotBlock() {
        for (bool crashed : {false, true}) {
            const QString key = uniqueKey(crashed ? "stale" : "gone"), other = key + "-other";
            {
                SingleInstance first;
                QVERIFY(!first.activatePrevious(crashed ? other : key));
                QVERIFY(!crashed || ::link(QFile::encodeName(SingleInstance::serverNameFor(other)),
                                           QFile::encodeName(SingleInstance::serverNameFor(key))) == 0);
            }
            SingleInstance next, later;
            QVERIFY(!next.activatePrevious(key) && next.isListening());
            QVERIFY(later.activatePrevious(key));
        }
    }

    // The socket is named after the user and the display, in the runtime
    // folder; when that is missing or open to others, in a 0700 folder of the
    // user's own in the temporary folder; when someone else got that name
    // first (here a link), nothing listens but the program still starts.
    void socketLivesInAPrivateFolder() {
        const QString key = uniqueKey("folder");
        QCOMPARE(SingleInstance::serverNameFor(key),
                 m_runtime.path() + u'/' + key + QStringLiteral("-uid%1-_91").arg(::getuid()));
        QTemporaryDir tmp;
        EnvOverride tmpdir("TMPDIR", QFile::encodeName(tmp.path()));
        const QString own = tmp.path() + u'/' + key + QStringLiteral("-runtime-%1").arg(::getuid());
        QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7755));
        const QString name = SingleInstance::serverNameFor(key);
        QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7700));
        QCOMPARE(QFileInfo(name).absolutePath(), own);
        QCOMPARE(QFileInfo(own).permissions() & QFile::Permissions(0x0077), QFile::Permissions());
        EnvOverride none("XDG_RUNTIME_DIR", QByteArray());
        QCOMPARE(SingleInstance::serverNameFor(key), name);
        QVERIFY(QDir(own).removeRecursively());
        QVERIFY(QFile::link(tmp.path(), own));
        QCOMPARE(SingleInstance::serverNameFor(key), QString());
        SingleInstance first;
        QVERIFY(!first.activatePrevious(key) && !first.isListening());
    }
};
VEX_TEST(SingleInstanceTest);
#include "SingleInstanceTest.moc"
