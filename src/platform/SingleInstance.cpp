#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a later start sends; one line.
constexpr char kActivate[] = "activate\n";
// Upper bound of each wait while talking to the running copy, so a hung copy
// cannot keep a new start waiting for long.
constexpr int kWaitMs = 1000;

// Whether the path is a real folder (not a link) of this user; `st` then
// holds its state.
bool isOwnFolder(const QByteArray& path, struct stat& st) {
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// A folder of this user that nobody else can enter.
bool isPrivateFolder(const QByteArray& path) {
    struct stat st {};
    return isOwnFolder(path, st) && (st.st_mode & 077) == 0;
}

QString fileNamePart(QString text) {
    for (QChar& c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'.' && c != u'-') c = u'_';
    return text;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

QString SingleInstance::displayId() {
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) return QStringLiteral("none");
    // ":0.1" is screen 1 of display ":0", the same desktop.
    const qsizetype colon = display.lastIndexOf(u':');
    const qsizetype dot = display.lastIndexOf(u'.');
    if (colon >= 0 && dot > colon) display.truncate(dot);
    return fileNamePart(display);
}

QString SingleInstance::privateFolder(const QString& key) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime)) return QFile::decodeName(runtime);
    const QString own =
        QDir::tempPath() + u'/' + fileNamePart(key) + QStringLiteral("-runtime-") + QString::number(::getuid());
    const QByteArray path = QFile::encodeName(own);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return {};
    // One of ours left open is closed; anything else there is not used.
    struct stat st {};
    if (isOwnFolder(path, st) && (st.st_mode & 077) != 0) ::chmod(path.constData(), 0700);
    return isPrivateFolder(path) ? own : QString();
}

QString SingleInstance::serverNameFor(const QString& key) {
    const QString folder = privateFolder(key);
    if (folder.isEmpty()) return {};
    return folder + u'/' + fileNamePart(key) + QStringLiteral("-uid") + QString::number(::getuid()) + u'-' +
           displayId();
}

bool SingleInstance::isListening() const {
    return m_server && m_server->isListening();
}

bool SingleInstance::activatePrevious(const QString& key) {
    const QString name = serverNameFor(key);
    if (name.isEmpty()) return false;
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
