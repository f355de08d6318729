// Keeps one running copy of the program per user and desktop session: a
// later start on the same display finds the running one through a local
// socket in the user's private runtime folder, asks it to bring its main
// window forward, and ends.
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

    // True when another copy runs for this user on this display and was
    // asked to come forward: the caller then ends.  False when this is the
    // first copy: it now listens for later starts (a socket left behind by a
    // copy that crashed is cleared first).  Without a private folder for the
    // socket it is also false, and nothing listens: the program runs rather
    // than trust a place others can write to.
    bool activatePrevious(const QString& key);

    bool isListening() const;
    // The socket's full path for a key: in the private folder, named after
    // the key, the user's id and the display, so that every desktop session
    // of every user has its own first copy.  Empty without a private folder.
    static QString serverNameFor(const QString& key);
    // The user's runtime folder (XDG_RUNTIME_DIR) when it is a folder of
    // this user closed to everyone else; otherwise a folder of that kind
    // named after the key and the user in the temporary folder, made when
    // missing.  Empty when neither can be had.
    static QString privateFolder(const QString& key);
    // The display the windows go to (DISPLAY, else WAYLAND_DISPLAY), without
    // a screen number, in characters fit for a file name; "none" without one.
    static QString displayId();

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
