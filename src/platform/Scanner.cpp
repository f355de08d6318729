#include "platform/Scanner.h"

#include "document/Legacy.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QtEndian>
#include <sane/sane.h>
#include <sane/saneopts.h>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace scanner {

namespace {

// The largest picture a scan may produce: a full page at 1200 dpi in colour
// fits well below it, a backend reporting nonsense does not.
constexpr qint64 kMaxPixels = qint64(30000) * 30000;

QString statusText(SANE_Status s) { return QString::fromLocal8Bit(sane_strstatus(s)); }

[[noreturn]] void fail(SANE_Status s) { legacy::raise(statusText(s)); }

// The threads of this process, by the kernel's numbers.
QStringList threadIds() {
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// Whether a thread waits in a call where it holds no lock: reading, writing,
// polling or sleeping.  A file of /proc has no size, so it is read whole.
bool waitsInIo(const QString& tid) {
    QFile f(QStringLiteral("/proc/self/task/%1/syscall").arg(tid));
    if (!f.open(QIODevice::ReadOnly)) return true; // ended meanwhile
    bool ok = false;
    const int call = f.readAll().split(' ').value(0).toInt(&ok);
    // read, write, poll, ioctl, select, nanosleep, sendto, recvfrom, wait4,
    // clock_nanosleep, epoll_wait, pselect6, ppoll
    static const QList<int> io{0, 1, 7, 16, 23, 35, 44, 45, 61, 230, 232, 270, 271};
    return ok && io.contains(call);
}

// A scan stopped early cancels the thread the backend reads the device in
// (see platform/ScannerThreads.cpp).  Cancelled while it starts up, that
// thread can leave the allocator locked; so it is first given the time to
// end or to settle in its reading or writing.
void endScan(SANE_Handle h, const QStringList& threadsBefore) {
    using namespace std::chrono;
    const auto until = steady_clock::now() + seconds(2);
    auto settled = [&] {
        for (const QString& tid : threadIds())
            if (!threadsBefore.contains(tid) && !waitsInIo(tid)) return false;
        return true;
    };
    while (!settled() && steady_clock::now() < until) std::this_thread::sleep_for(milliseconds(1));
    sane_cancel(h);
}

// The folders SANE reads its configuration from, in its own order.
QStringList configDirs() {
    const QString defaults = QStringLiteral(".:/etc/sane.d");
    const QString env = qEnvironmentVariable("SANE_CONFIG_DIR");
    QString list = env.isEmpty() ? defaults : env;
    if (!env.isEmpty() && env.endsWith(QLatin1Char(':'))) list += defaults;
    return list.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

// Whether a dll.conf-style file names at least one backend.
bool namesBackend(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        const int hash = line.indexOf('#');
        if (hash >= 0) line.truncate(hash);
        if (!line.trimmed().isEmpty()) return true;
    }
    return false;
}

QString fixedText(SANE_Word w) { return QString::number(SANE_UNFIX(w), 'g', 10); }

QString selectedSource;

} // namespace

bool Available() {
    const QStringList dirs = configDirs();
    // The first dll.conf found is the one SANE reads; so is the first dll.d.
    bool confSeen = false, dSeen = false;
    for (const QString& dir : dirs) {
        const QString conf = dir + QStringLiteral("/dll.conf");
        if (!confSeen && QFile::exists(conf)) {
            confSeen = true;
            if (namesBackend(conf)) return true;
        }
        const QDir d(dir + QStringLiteral("/dll.d"));
        if (!dSeen && d.exists()) {
            dSeen = true;
            for (const QString& name : d.entryList(QDir::Files))
                if (!name.startsWith(QLatin1Char('.')) && !name.endsWith(QLatin1Char('~')) &&
                    namesBackend(d.filePath(name)))
                    return true;
        }
    }
    return false;
}

QString Device::label() const {
    QString s = (vendor + QLatin1Char(' ') + model).trimmed();
    return s.isEmpty() ? name : s + QStringLiteral(" (") + name + QLatin1Char(')');
}

QString SelectedSource() { return selectedSource; }
void SetSelectedSource(const QString& name) { selectedSource = name; }

// ---------------------------------------------------------------------------
// Frames to image.

void FrameAssembler::beginFrame(const FrameParameters& p) {
    if (p.depth != 1 && p.depth != 8 && p.depth != 16)
        legacy::raise(QStringLiteral("Unsupported scan depth: ") + QString::number(p.depth));
    if (p.format < FrameParameters::Gray || p.format > FrameParameters::Blue)
        legacy::raise(QStringLiteral("Unsupported scan format"));
    if (p.format == FrameParameters::RGB && p.depth == 1)
        legacy::raise(QStringLiteral("Unsupported scan depth: 1"));
    if (p.pixelsPerLine <= 0 || p.bytesPerLine <= 0) legacy::raise(QStringLiteral("The scanner sent an empty page"));
    const int channels = p.format == FrameParameters::RGB ? 3 : 1;
    const qint64 needed = p.depth == 1 ? (qint64(p.pixelsPerLine) + 7) / 8
                                       : qint64(p.pixelsPerLine) * channels * (p.depth / 8);
    if (p.bytesPerLine < needed) legacy::raise(QStringLiteral("The scanner sent a malformed page"));
    if (qint64(p.pixelsPerLine) * std::max(p.lines, 1) > kMaxPixels) legacy::raise(QStringLiteral("Out of memory"));
    // Later frames of a three-pass scan must match the first one.
    if (!m_image.isNull() && p.format >= FrameParameters::Red && p.pixelsPerLine != m_image.width())
        legacy::raise(QStringLiteral("The scanner sent a malformed page"));
    m_p = p;
    m_bytes.clear();
}

void FrameAssembler::append(const unsigned char* data, std::size_t length) {
    if (qint64(m_bytes.size()) + qint64(length) > kMaxPixels * 6) legacy::raise(QStringLiteral("Out of memory"));
    m_bytes.append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void FrameAssembler::endFrame() {
    storeLines(m_bytes);
    m_bytes.clear();
}

void FrameAssembler::storeLines(const QByteArray& bytes) {
    const FrameParameters& p = m_p;
    // Only whole lines count; a page of unknown length ends where the data does.
    int lines = int(bytes.size() / p.bytesPerLine);
    if (p.lines >= 0) lines = std::min(lines, p.lines);
    if (lines <= 0) legacy::raise(QStringLiteral("The scanner sent an empty page"));
    const int width = p.pixelsPerLine;
    const bool single = p.format >= FrameParameters::Red;
    if (!single || m_image.isNull()) {
        QImage img(width, lines, QImage::Format_RGB32);
        if (img.isNull()) legacy::raise(QStringLiteral("Out of memory"));
        img.fill(Qt::black);
        m_image = img;
    } else if (lines > m_image.height()) {
        lines = m_image.height();
    }
    auto sample = [&](const uchar* line, int i) -> int {
        if (p.depth == 8) return line[i];
        uint16_t v;
        std::memcpy(&v, line + 2 * i, 2);
        return v >> 8;
    };
    const int shift = p.format == FrameParameters::Red ? 16 : p.format == FrameParameters::Green ? 8 : 0;
    for (int y = 0; y < lines; ++y) {
        const uchar* line = reinterpret_cast<const uchar*>(bytes.constData()) + qsizetype(y) * p.bytesPerLine;
        QRgb* out = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (p.format == FrameParameters::RGB) {
                out[x] = qRgb(sample(line, 3 * x), sample(line, 3 * x + 1), sample(line, 3 * x + 2));
            } else if (p.format == FrameParameters::Gray) {
                int g;
                if (p.depth == 1) g = (line[x / 8] & (0x80 >> (x % 8))) ? 0 : 255;
                else g = sample(line, x);
                out[x] = qRgb(g, g, g);
            } else {
                const int v = p.depth == 1 ? ((line[x / 8] & (0x80 >> (x % 8))) ? 0 : 255) : sample(line, x);
                out[x] = (out[x] & ~(0xffu << shift)) | (QRgb(v) << shift) | 0xff000000u;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// SANE session.

Session::Session() {
    SANE_Int version = 0;
    const SANE_Status s = sane_init(&version, nullptr);
    if (s != SANE_STATUS_GOOD) fail(s);
    m_initialised = true;
}

Session::~Session() {
    close();
    if (m_initialised) sane_exit();
}

QList<Device> Session::devices() {
    const SANE_Device** list = nullptr;
    const SANE_Status s = sane_get_devices(&list, SANE_FALSE);
    if (s != SANE_STATUS_GOOD) fail(s);
    QList<Device> out;
    for (int i = 0; list && list[i]; ++i) {
        const SANE_Device* d = list[i];
        auto text = [](const char* c) { return c ? QString::fromLocal8Bit(c) : QString(); };
        out.append(Device{text(d->name), text(d->vendor), text(d->model), text(d->type)});
    }
    return out;
}

void Session::open(const QString& deviceName) {
    close();
    SANE_Handle h = nullptr;
    const SANE_Status s = sane_open(deviceName.toLocal8Bit().constData(), &h);
    if (s != SANE_STATUS_GOOD) fail(s);
    m_handle = h;
}

void Session::close() {
    if (!m_handle) return;
    sane_cancel(m_handle);
    sane_close(m_handle);
    m_handle = nullptr;
}

QList<Option> Session::options() {
    QList<Option> out;
    if (!m_handle) return out;
    SANE_Int count = 0;
    if (sane_control_option(m_handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD) return out;
    for (int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(m_handle, i);
        if (!d) continue;
        Option o;
        o.index = i;
        o.name = QString::fromLatin1(d->name ? d->name : "");
        o.title = QString::fromLocal8Bit(d->title ? d->title : "");
        o.description = QString::fromLocal8Bit(d->desc ? d->desc : "");
        switch (d->type) {
        case SANE_TYPE_BOOL: o.type = Option::Type::Bool; break;
        case SANE_TYPE_INT: o.type = Option::Type::Int; break;
        case SANE_TYPE_FIXED: o.type = Option::Type::Fixed; break;
        case SANE_TYPE_STRING: o.type = Option::Type::String; break;
        case SANE_TYPE_BUTTON: o.type = Option::Type::Button; break;
        default: o.type = Option::Type::Group; break;
        }
        o.settable = SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap);
        o.single = d->type == SANE_TYPE_STRING || d->size <= SANE_Int(sizeof(SANE_Word));
        if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
            const SANE_Range* r = d->constraint.range;
            o.hasRange = true;
            const bool fixed = d->type == SANE_TYPE_FIXED;
            o.min = fixed ? SANE_UNFIX(r->min) : r->min;
            o.max = fixed ? SANE_UNFIX(r->max) : r->max;
            o.quant = fixed ? SANE_UNFIX(r->quant) : r->quant;
        } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
            const SANE_Word* wl = d->constraint.word_list;
            for (int k = 1; k <= wl[0]; ++k)
                o.choices << (d->type == SANE_TYPE_FIXED ? fixedText(wl[k]) : QString::number(wl[k]));
        } else if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST && d->constraint.string_list) {
            for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s) o.choices << QString::fromLocal8Bit(*s);
        }
        if (SANE_OPTION_IS_ACTIVE(d->cap) && o.single && d->size > 0 &&
            (o.type == Option::Type::Bool || o.type == Option::Type::Int || o.type == Option::Type::Fixed ||
             o.type == Option::Type::String)) {
            std::vector<char> buf(size_t(d->size) + 1, 0);
            if (sane_control_option(m_handle, i, SANE_ACTION_GET_VALUE, buf.data(), nullptr) == SANE_STATUS_GOOD) {
                SANE_Word w = 0;
                if (o.type != Option::Type::String) std::memcpy(&w, buf.data(), sizeof w);
                switch (o.type) {
                case Option::Type::Bool: o.value = w ? QStringLiteral("1") : QStringLiteral("0"); break;
                case Option::Type::Int: o.value = QString::number(w); break;
                case Option::Type::Fixed: o.value = fixedText(w); break;
                default: o.value = QString::fromLocal8Bit(buf.data()); break;
                }
            }
        }
        out.append(o);
    }
    return out;
}

void Session::setOption(int index, const QString& value) {
    if (!m_handle) legacy::raise(QStringLiteral("No scanner is open"));
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(m_handle, index);
    if (!d) legacy::raise(legacy::ErrorCode::InvalidCall);
    SANE_Status s = SANE_STATUS_GOOD;
    if (d->type == SANE_TYPE_STRING) {
        QByteArray bytes = value.toLocal8Bit();
        std::vector<char> buf(size_t(std::max<SANE_Int>(d->size, SANE_Int(bytes.size()) + 1)), 0);
        std::memcpy(buf.data(), bytes.constData(), size_t(bytes.size()));
        s = sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, buf.data(), nullptr);
    } else if (d->type == SANE_TYPE_BUTTON) {
        s = sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, nullptr, nullptr);
    } else if (d->type == SANE_TYPE_BOOL || d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED) {
        bool ok = false;
        const double v = QLocale::c().toDouble(value.trimmed(), &ok);
        if (!ok) legacy::raise(legacy::ErrorCode::TypeMismatch);
        SANE_Word w;
        if (d->type == SANE_TYPE_FIXED) w = SANE_FIX(v);
        else if (d->type == SANE_TYPE_BOOL) w = v != 0 ? SANE_TRUE : SANE_FALSE;
        else w = SANE_Word(legacy::CLng(v));
        s = sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, &w, nullptr);
    } else {
        legacy::raise(legacy::ErrorCode::InvalidCall);
    }
    if (s != SANE_STATUS_GOOD) fail(s);
}

QImage Session::acquire() {
    if (!m_handle) legacy::raise(QStringLiteral("No scanner is open"));
    FrameAssembler assembler;
    std::vector<unsigned char> buf(64 * 1024);
    const QStringList threadsBefore = threadIds();
    for (;;) {
        SANE_Status s = sane_start(m_handle);
        if (s != SANE_STATUS_GOOD) {
            endScan(m_handle, threadsBefore);
            fail(s);
        }
        SANE_Parameters sp{};
        s = sane_get_parameters(m_handle, &sp);
        if (s != SANE_STATUS_GOOD) {
            endScan(m_handle, threadsBefore);
            fail(s);
        }
        FrameParameters p;
        p.format = int(sp.format);
        p.lastFrame = sp.last_frame != SANE_FALSE;
        p.bytesPerLine = sp.bytes_per_line;
        p.pixelsPerLine = sp.pixels_per_line;
        p.lines = sp.lines;
        p.depth = sp.depth;
        try {
            assembler.beginFrame(p);
            for (;;) {
                SANE_Int len = 0;
                s = sane_read(m_handle, buf.data(), SANE_Int(buf.size()), &len);
                if (s == SANE_STATUS_EOF) break;
                if (s != SANE_STATUS_GOOD) fail(s);
                if (len > 0) assembler.append(buf.data(), size_t(len));
            }
            assembler.endFrame();
        } catch (...) {
            endScan(m_handle, threadsBefore);
            throw;
        }
        if (p.lastFrame) break;
    }
    sane_cancel(m_handle);
    return assembler.image();
}

} // namespace scanner
