// Helpers shared by the tests: the scripted dialog responder and fixtures.
#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QString>
#include <memory>

class MainWindow;

namespace testsupport {

// Installs a fresh scripted responder as the dialog provider and returns it.
dlg::ScriptedProvider& installScriptedDialogs();
// The responder currently installed.
dlg::ScriptedProvider& dialogs();

// A started main window as the user sees it after the splash: loaded,
// shown, the splash closed, no prompt recorded yet.
std::unique_ptr<MainWindow> startMainWindow();

// The whole content of a file ("" when it cannot be read).
QByteArray fileBytes(const QString& path);

// Sets an environment variable for the life of the object (a null value
// removes it), then puts back what was there.
class EnvOverride {
public:
    EnvOverride(const char* name, const QByteArray& value);
    ~EnvOverride();
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

// While alive, no file this process writes can grow beyond `bytes` bytes: a
// write past it fails with "File too large" instead of stopping the process,
// for the superuser as for anyone, as on a disk that fills up under a save.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long long m_soft = 0;
    void (*m_handler)(int) = nullptr;
};

} // namespace testsupport
