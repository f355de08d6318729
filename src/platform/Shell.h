// The desktop's shell services: opening web pages and mail links, finding
// the desktop's default application for a file, and starting a system
// information program.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace shell {

// Opens a web page or a mailto: link in the user's browser or mail program
// through the desktop's opener (xdg-open), waiting for its verdict (at most
// a few seconds, the windows painted meanwhile).  False when there is no
// opener or it found no program for the link.
bool OpenUrl(const QUrl& url);

// The desktop entry id (e.g. "org.gimp.GIMP.desktop") of the user's default
// application for the kind of this file, as xdg-mime reports it; "" when the
// desktop knows none or xdg-mime is missing.
QString DefaultEditorFor(const QString& file);

// The system information programs looked for, in order of preference.
QStringList SystemInfoPrograms();
// Starts the first system information program found on the PATH, without
// waiting for it.  False when none is installed or it cannot be started; the
// caller then reports that system information is unavailable.
bool StartSysInfo();

} // namespace shell
