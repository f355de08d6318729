#include "platform/Sound.h"

#include <QDir>
#include <QFileInfo>
#include <canberra.h>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace sound {

namespace {

// A synchronous sound never holds the program up longer than this.
constexpr auto kMaxWait = std::chrono::seconds(4);

bool alsaPlaybackDevice() {
    const QDir snd(QStringLiteral("/dev/snd"));
    if (!snd.exists()) return false;
    // Playback PCM nodes are named pcmC<card>D<device>p.
    return !snd.entryList({QStringLiteral("pcmC*D*p")}, QDir::System | QDir::Files).isEmpty();
}

bool soundServer() {
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return false;
    return QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
           QFileInfo::exists(runtime + QStringLiteral("/pipewire-0"));
}

// One context for the whole run; sounds played without waiting need it to
// stay alive after the call returns.
ca_context* context() {
    static ca_context* ctx = [] {
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
        ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Vexolan", CA_PROP_APPLICATION_ID,
                                "com.ferno.vexolan", nullptr);
        return c;
    }();
    return ctx;
}

struct Finished {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
};

void onFinished(ca_context*, uint32_t, int, void* userdata) {
    auto* f = static_cast<Finished*>(userdata);
    std::lock_guard lock(f->mutex);
    f->done = true;
    f->cv.notify_all();
}

} // namespace

bool WaveDeviceAvailable() {
    return alsaPlaybackDevice() || soundServer();
}

QStringList EventIds(const QString& name) {
    if (name == QLatin1String("RestoreUp")) return {QStringLiteral("window-unminimized")};
    if (name == QLatin1String("RestoreDown")) return {QStringLiteral("window-unmaximized")};
    if (name == QLatin1String("Maximize")) return {QStringLiteral("window-maximized")};
    if (name == QLatin1String("Minimize")) return {QStringLiteral("window-minimized")};
    if (name == QLatin1String("SystemQuestion"))
        return {QStringLiteral("dialog-question"), QStringLiteral("window-question")};
    return {};
}

bool PlaySystemSound(const QString& name, bool async) {
    const QStringList ids = EventIds(name);
    if (ids.isEmpty() || !WaveDeviceAvailable()) return false;
    ca_context* ctx = context();
    if (!ctx) return false;

    // The waiting state outlives a timed-out wait: the callback may still come
    // later from libcanberra's thread, so it is released only after it came,
    // or never when it does not.
    auto* finished = async ? nullptr : new Finished;
    static uint32_t nextId = 1;
    for (const QString& id : ids) {
        const QByteArray event = id.toUtf8();
        const QByteArray description = name.toUtf8();
        ca_proplist* props = nullptr;
        if (ca_proplist_create(&props) != CA_SUCCESS) break;
        ca_proplist_sets(props, CA_PROP_EVENT_ID, event.constData());
        ca_proplist_sets(props, CA_PROP_EVENT_DESCRIPTION, description.constData());
        const uint32_t playId = nextId++;
        const int rc = ca_context_play_full(ctx, playId, props, async ? nullptr : onFinished, finished);
        ca_proplist_destroy(props);
        if (rc == CA_ERROR_NOTFOUND) continue; // the theme lacks this one: try the next id
        if (rc != CA_SUCCESS) break;
        if (finished) {
            std::unique_lock lock(finished->mutex);
            const bool done = finished->cv.wait_for(lock, kMaxWait, [&] { return finished->done; });
            lock.unlock();
            if (done) delete finished;
            else ca_context_cancel(ctx, playId); // the callback still comes, with CA_ERROR_CANCELED
        }
        return true;
    }
    delete finished;
    return false;
}

} // namespace sound
