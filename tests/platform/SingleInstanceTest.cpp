// One running copy per user and display: a later start on the same display
// reaches the first one, which is asked to come forward; another display has
// its own first copy; the socket lives only in a folder closed to others; a
// socket left by a crashed copy does not block.
#include "common/TestRegistry.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString uniqueKey(const char* tag) {
    return QStringLiteral("VexolanTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(tag));
}

// Leaves a socket file behind with nobody listening, as a crashed copy would.
bool makeStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(path);
    if (size_t(p.size()) >= sizeof(addr.sun_path)) return false;
    std::memcpy(addr.sun_path, p.constData(), size_t(p.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    ::close(fd);
    return bound;
}

// Sets an environment variable for the scope, then puts it back.
class EnvValue {
public:
    EnvValue(const char* name, const QByteArray& value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)) {
        m_old = qgetenv(name);
        if (value.isNull()) qunsetenv(name);
        else qputenv(name, value);
    }
    ~EnvValue() {
        if (m_had) qputenv(m_name, m_old);
        else qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_runtime;   // made 0700 by QTemporaryDir
    std::unique_ptr<EnvValue> m_runtimeEnv, m_display;

private slots:
    void initTestCase() {
        m_runtimeEnv = std::make_unique<EnvValue>("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        m_display = std::make_unique<EnvValue>("DISPLAY", ":91");
    }
    void cleanupTestCase() {
        m_display.reset();
        m_runtimeEnv.reset();
    }

    void laterStartOnTheSameDisplayReachesTheFirst() {
        const QString key = uniqueKey("handshake");
        SingleInstance first;
        int calls = 0;
        first.onActivateRequest = [&calls] { ++calls; };
        QSignalSpy spy(&first, &SingleInstance::activateRequested);
        QVERIFY(!first.activatePrevious(key));
        QVERIFY(first.isListening());

        for (const char* display : {":91", ":91.0"}) {
            EnvValue same("DISPLAY", display);
            SingleInstance later;
            QVERIFY2(later.activatePrevious(key), display);
            QVERIFY(!later.isListening());
        }
        QTRY_COMPARE(calls, 2);
        QCOMPARE(spy.count(), 2);
    }

    // Another desktop session (another display) of the same user gets a
    // first copy of its own, which later starts there reach.
    void eachDisplayHasItsOwnFirstCopy() {
        const QString key = uniqueKey("displays");
        SingleInstance onFirst;
        QVERIFY(!onFirst.activatePrevious(key));
        EnvValue other("DISPLAY", ":92");
        SingleInstance onSecond;
        QVERIFY(!onSecond.activatePrevious(key));
        QVERIFY(onSecond.isListening());
        int calls = 0;
        onSecond.onActivateRequest = [&calls] { ++calls; };
        SingleInstance later;
        QVERIFY(later.activatePrevious(key));
        QTRY_COMPARE(calls, 1);
        EnvValue wayland("DISPLAY", QByteArray());
        EnvValue waylandName("WAYLAND_DISPLAY", "wayland-1");
        QCOMPARE(SingleInstance::displayId(), QStringLiteral("wayland-1"));
        SingleInstance onWayland;
        QVERIFY(!onWayland.activatePrevious(key));
    }

    void firstCopyGoneMeansNextStartIsFirst() {
        const QString key = uniqueKey("gone");
        {
            SingleInstance first;
            QVERIFY(!first.activatePrevious(key));
        }
        SingleInstance next;
        QVERIFY(!next.activatePrevious(key));
        QVERIFY(next.isListening());
    }

    void staleSocketIsCleared() {
        const QString key = uniqueKey("stale");
        const QString path = SingleInstance::serverNameFor(key);
        QVERIFY(makeStaleSocket(path));
        SingleInstance first;
        QVERIFY(!first.activatePrevious(key));
        QVERIFY(first.isListening());
        SingleInstance second;
        QVERIFY(second.activatePrevious(key));
    }

    // The socket is named after the user and the display, in the runtime
    // folder; without a private runtime folder, in a 0700 folder of the
    // user's own; a name in the temporary folder that someone else got
    // first (here a link) is not used and the program still starts.
    void socketLivesInAPrivateFolder() {
        const QString key = uniqueKey("folder");
        QCOMPARE(SingleInstance::serverNameFor(key),
                 m_runtime.path() + u'/' + key + QStringLiteral("-uid%1-_91").arg(::getuid()));

        QTemporaryDir tmp;
        EnvValue tmpdir("TMPDIR", QFile::encodeName(tmp.path()));
        const QString own = tmp.path() + u'/' + key + QStringLiteral("-runtime-%1").arg(::getuid());
        QVERIFY(QFile::setPermissions(m_runtime.path(), QFile::Permissions(0x7755)));
        const QString name = SingleInstance::serverNameFor(key);
        QVERIFY(QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(QFileInfo(name).absolutePath(), own);
        QCOMPARE(QFileInfo(own).permissions() & QFile::Permissions(0x0077), QFile::Permissions());
        {
            EnvValue none("XDG_RUNTIME_DIR", QByteArray());
            SingleInstance first;
            QVERIFY(!first.activatePrevious(key));
            QVERIFY(first.isListening());
            QVERIFY(QFileInfo::exists(name));
        }

        QVERIFY(QDir(own).removeRecursively());
        QVERIFY(QFile::link(tmp.path(), own));
        EnvValue none("XDG_RUNTIME_DIR", QByteArray());
        QCOMPARE(SingleInstance::serverNameFor(key), QString());
        SingleInstance first;
        QVERIFY(!first.activatePrevious(key));
        QVERIFY(!first.isListening());
    }

    void bringToFrontRestoresAMinimizedWindow() {
        QWidget w;
        w.showMinimized();
        QVERIFY(w.windowState().testFlag(Qt::WindowMinimized));
        SingleInstance::bringToFront(&w);
        QVERIFY(!w.windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(w.isVisible());
        SingleInstance::bringToFront(nullptr);
    }
};
VEX_TEST(SingleInstanceTest);
#include "SingleInstanceTest.moc"
