// Helpers shared by the tests: the scripted dialog responder and fixtures.
#pragma once

#include "platform/Dialogs.h"

#include <QString>

namespace testsupport {

// Installs a fresh scripted responder as the dialog provider and returns it.
dlg::ScriptedProvider& installScriptedDialogs();
// The responder currently installed.
dlg::ScriptedProvider& dialogs();

} // namespace testsupport
