// Keeps one running copy of the program per user: a later start finds the
// running one through a local socket, asks it to bring its main window
// forward, and ends.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QLocalSocket;
class QWidget;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy is running for this user and was asked to come
    // forward: the caller then ends.  False when this is the first copy: it
    // now listens for later starts (a socket left behind by a copy that
    // crashed is cleared first).
    bool activatePrevious(const QString& key);

    bool isListening() const;
    // The local socket name used for a key: the key plus the user's id, so
    // that two users of one machine each run their own copy.
    static QString serverNameFor(const QString& key);

    // Restores a window from an icon, raises it and gives it the focus.
    static void bringToFront(QWidget* window);

    // Called in the first copy each time a later start asks it to come
    // forward (after activateRequested is emitted).
    std::function<void()> onActivateRequest;

signals:
    void activateRequested();

private:
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
};
