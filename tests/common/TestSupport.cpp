#include "common/TestSupport.h"

#include "app/AboutBox.h"
#include "app/MainWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <sys/resource.h>

namespace testsupport {

namespace {
dlg::ScriptedProvider* g_current = nullptr;
}

dlg::ScriptedProvider& installScriptedDialogs() {
    auto p = std::make_unique<dlg::ScriptedProvider>();
    g_current = p.get();
    dlg::setProvider(std::move(p));
    return *g_current;
}

dlg::ScriptedProvider& dialogs() {
    if (!g_current) return installScriptedDialogs();
    return *g_current;
}

std::unique_ptr<MainWindow> startMainWindow() {
    auto w = std::make_unique<MainWindow>();
    w->FormLoad();
    w->show();
    if (AboutBox* s = w->splash()) s->unload();
    QCoreApplication::processEvents();
    dialogs().clear();
    return w;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

EnvOverride::EnvOverride(const char* name, const QByteArray& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    if (value.isNull()) qunsetenv(name);
    else qputenv(name, value);
}

EnvOverride::~EnvOverride() {
    if (m_wasSet) qputenv(m_name, m_old);
    else qunsetenv(m_name);
}

FileSizeLimit::FileSizeLimit(unsigned long long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_soft = limit.rlim_cur;
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_soft;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_handler);
}

} // namespace testsupport
