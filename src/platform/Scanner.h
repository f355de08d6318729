// The scanner interface over SANE: whether scanning is set up at all, the
// list of scanners, opening one, its options, acquiring one page into an
// image, and closing it again.  Also the pure assembly of SANE's frames
// into an image, kept apart so that every frame layout is tested directly.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace scanner {

// Whether a scanner source manager is set up: SANE's configuration names at
// least one backend.  Cheap: no scanner is probed.
bool Available();

struct Device {
    QString name;   // the name SANE opens it by, e.g. "test:0"
    QString vendor;
    QString model;
    QString type;
    // "vendor model (name)", as the source list shows it.
    QString label() const;
};

// One option of an open scanner, as the options dialog shows it.
struct Option {
    enum class Type { Bool, Int, Fixed, String, Button, Group };
    int index = 0;
    QString name;
    QString title;
    QString description;
    Type type = Type::Group;
    bool settable = false;   // active and selectable by software
    bool single = true;      // one value (not an array)
    QString value;           // current value as text (C locale numbers)
    QStringList choices;     // string or word list constraints
    bool hasRange = false;
    double min = 0, max = 0, quant = 0;
};

// SANE's frame layout of one frame, as sane_get_parameters reports it.
struct FrameParameters {
    enum Format { Gray = 0, RGB = 1, Red = 2, Green = 3, Blue = 4 };
    int format = Gray;
    bool lastFrame = true;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    int lines = -1;          // -1: not known before the end of the frame
    int depth = 8;           // 1, 8 or 16
};

// Builds one image from the frames of a scan: a gray or RGB frame, or the
// three single-colour frames of a three-pass scanner.  Depth 1 is line art
// (a set bit is black), 16-bit samples (host byte order) keep their high
// byte.  Throws legacy::Error for a layout it cannot use.
class FrameAssembler {
public:
    void beginFrame(const FrameParameters& p);
    void append(const unsigned char* data, std::size_t length);
    void endFrame();
    // The image after the last frame; null when nothing was scanned.
    QImage image() const { return m_image; }

private:
    void storeLines(const QByteArray& bytes);

    FrameParameters m_p;
    QByteArray m_bytes;
    QImage m_image;
};

// One use of SANE, from its start to its end: enumerates scanners, opens
// one, reads and sets its options, and acquires a page.  Failures throw
// legacy::Error with SANE's status text.
class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    QList<Device> devices();
    void open(const QString& deviceName);
    bool isOpen() const { return m_handle != nullptr; }
    void close();

    QList<Option> options();
    // Sets an option from its text (C locale numbers, "1"/"0" for a switch).
    void setOption(int index, const QString& value);
    // Starts the open scanner and reads one page.
    QImage acquire();

private:
    void* m_handle = nullptr;
    bool m_initialised = false;
};

// The scanner the user chose with Select Source, for the rest of the run;
// "" until then (the first scanner found is used).
QString SelectedSource();
void SetSelectedSource(const QString& name);

} // namespace scanner
