// System sounds played when windows open and close: the old system sound
// names are mapped to the desktop's sound theme events and played through
// libcanberra.  Without a sound output nothing is played and nothing waits.
#pragma once

#include <QString>
#include <QStringList>

namespace sound {

// Whether there is a sound output to play on: an ALSA playback device or a
// running PulseAudio/PipeWire server of this user.
bool WaveDeviceAvailable();

// The sound theme event ids tried, in order, for one of the names
// "RestoreUp", "RestoreDown", "Maximize", "Minimize", "SystemQuestion";
// empty for any other name.
QStringList EventIds(const QString& name);

// Plays the system sound of that name.  async False waits until the sound
// has finished (at most a few seconds).  Returns whether a sound was started;
// without a sound output, for an unknown name, or when the theme has no such
// sound, nothing is played and it returns False at once.
bool PlaySystemSound(const QString& name, bool async);

} // namespace sound
