// The application a window benchmark runs in: offscreen, with the user's
// settings and documents kept out of it and every dialog answered by script.
#pragma once

#include "platform/Dialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

class OffscreenApp {
public:
    OffscreenApp(int& argc, char** argv) : m_env(prepare()), m_app(argc, argv) {
        dlg::setProvider(std::make_unique<dlg::ScriptedProvider>());
    }
    // A scratch folder for the benchmark's own files.
    const QTemporaryDir& home() const { return *m_env; }

private:
    static std::unique_ptr<QTemporaryDir> prepare() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        auto home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home->path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home->path() + "/data").toLocal8Bit());
        return home;
    }
    std::unique_ptr<QTemporaryDir> m_env;
    QApplication m_app;
};
