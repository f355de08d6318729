#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {

// What a later start sends; one line.
constexpr char kActivate[] = "activate\n";
// Upper bound of each wait while talking to the running copy, so a hung copy
// cannot keep a new start waiting for long.
constexpr int kWaitMs = 1000;

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

QString SingleInstance::serverNameFor(const QString& key) {
    QString safe = key;
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    return safe + QStringLiteral("-uid") + QString::number(::getuid());
}

bool SingleInstance::isListening() const {
    return m_server && m_server->isListening();
}

bool SingleInstance::activatePrevious(const QString& key) {
    const QString name = serverNameFor(key);
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    }
    // Two rounds: when another start begins listening between our look and
    // our listen(), the second look finds it.
    for (int round = 0; round < 2; ++round) {
        QLocalSocket socket;
        socket.connectToServer(name, QIODevice::WriteOnly);
        if (socket.waitForConnected(kWaitMs)) {
            socket.write(kActivate);
            socket.flush();
            socket.waitForBytesWritten(kWaitMs);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
            return true;
        }
        // A socket file that nobody listens on is left over from a copy that
        // did not end cleanly; it would keep listen() from working.
        if (socket.error() == QLocalSocket::ConnectionRefusedError) QLocalServer::removeServer(name);
        if (m_server->listen(name)) return false;
    }
    // The socket folder is unusable: run as the only copy, without listening,
    // rather than refuse to start.
    return false;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The later start may have written and gone before we got here.
        if (socket->bytesAvailable() > 0) readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        if (line != kActivate) continue;
        emit activateRequested();
        if (onActivateRequest) onActivateRequest();
    }
}

void SingleInstance::bringToFront(QWidget* window) {
    if (!window) return;
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
