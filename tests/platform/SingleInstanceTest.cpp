// One running copy per user: a later start reaches the first one, which is
// asked to come forward; a socket left by a crashed copy does not block.
#include "common/TestRegistry.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
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

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void laterStartReachesTheFirst() {
        const QString key = uniqueKey("handshake");
        SingleInstance first;
        int calls = 0;
        first.onActivateRequest = [&calls] { ++calls; };
        QSignalSpy spy(&first, &SingleInstance::activateRequested);
        QVERIFY(!first.activatePrevious(key));
        QVERIFY(first.isListening());

        SingleInstance second;
        QVERIFY(second.activatePrevious(key));
        QVERIFY(!second.isListening());
        QTRY_COMPARE(calls, 1);
        QCOMPARE(spy.count(), 1);

        // A third start is handled the same way.
        SingleInstance third;
        QVERIFY(third.activatePrevious(key));
        QTRY_COMPARE(calls, 2);
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
        const QString path = QDir::tempPath() + QLatin1Char('/') + SingleInstance::serverNameFor(key);
        QVERIFY(makeStaleSocket(path));
        QVERIFY(QFile::exists(path));
        SingleInstance first;
        QVERIFY(!first.activatePrevious(key));
        QVERIFY(first.isListening());
        SingleInstance second;
        QVERIFY(second.activatePrevious(key));
    }

    void keysArePerUser() {
        const QString name = SingleInstance::serverNameFor(QStringLiteral("Vexolan"));
        QVERIFY(name.startsWith(QStringLiteral("Vexolan")));
        QVERIFY(name.endsWith(QString::number(::getuid())));
        QVERIFY(!SingleInstance::serverNameFor(QStringLiteral("a/b")).contains(QLatin1Char('/')));
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
