#include "common/TestSupport.h"

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

} // namespace testsupport
