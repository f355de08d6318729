// Fuzz target for the settings file: the bytes are the user's settings file
// as the program finds it at start-up.  Every value the program reads must
// read and go through the program's own interpretation without a crash, the
// main window must be placed on the screen, and a value written back must
// read back the same, in this run and from the file.
#include "app/AboutBox.h"
#include "app/WindowPlacement.h"
#include "document/Legacy.h"
#include "platform/SettingsStore.h"

#include "FuzzSupport.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdint>

namespace {

const char* const Keys[] = {"MainLeft", "MainTop",      "MainWidth",    "MainHeight", "DataPath",
                            "Contours", "ContourLine",  "Color",        "DatumColor", "ContourColor",
                            "DegreeFormat", "Update",   "UpdateDate",   "PrintPreviewSize", "ShowScan",
                            "FastPrint"};
const QString Section = QStringLiteral("Vexolan");

QString setting(const SettingsStore& st, const char* key) {
    return st.ReadSetting(Section, QString::fromLatin1(key), QString());
}

// The lenient number reading the program applies to a stored value; an
// overflow is the program's error, caught where it reads the value.
void interpretNumber(const QString& text) {
    try {
        legacy::CLng(legacy::NumVal(text));
        legacy::CInt(legacy::NumVal(text));
    } catch (const legacy::Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("XDG_CONFIG_HOME", fuzzsupport::scratch().path().toLocal8Bit());
    // The program reads its settings with its application running, and a
    // "@Variant(...)" value may hold a type only that application can make
    // (a picture, say).  As in the image loader, the application is never
    // destroyed, so nothing of it is torn down among the statics at exit.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    [[maybe_unused]] static const QApplication* const app = new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString file = SettingsStore().fileName();
    static qint64 stamp = 1'000'000'000'000;
    // A new time for every version of the file, so that the settings layer
    // reads it afresh rather than keeping what it read before.
    auto touch = [] {
        QFile f(file);
        require(f.open(QIODevice::ReadWrite));
        require(f.setFileTime(QDateTime::fromMSecsSinceEpoch(stamp += 1000), QFileDevice::FileModificationTime));
    };
    {
        QFile f(file);
        require(QDir().mkpath(QFileInfo(file).path()));
        require(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        require(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    touch();

    const char* const written[] = {"MainLeft", "DataPath", "UpdateDate"};
    QString values[3];
    {
        SettingsStore st;
        const double screenW = 1024 * 15, screenH = 768 * 15;
        const MainPlacement p = placeMainWindow(setting(st, "MainLeft"), setting(st, "MainTop"),
                                                setting(st, "MainWidth"), setting(st, "MainHeight"), screenW, screenH);
        require(p.left >= 0 && p.left <= screenW && p.top >= 0 && p.top <= screenH);
        require(p.width <= screenW && p.height <= screenH);
        for (const char* key : Keys) interpretNumber(setting(st, key));
        AboutBox::reminderDue(setting(st, "UpdateDate"), QDate(2026, 3, 31));

        // The program writes values back as it read them.
        for (int i = 0; i < 3; ++i) {
            values[i] = setting(st, written[i]);
            try {
                st.WriteSetting(Section, QString::fromLatin1(written[i]), values[i]);
            } catch (const legacy::Error&) {
                return 0; // reported to the user; the file is not changed
            }
            require(setting(st, written[i]) == values[i]);
        }
    }
    touch();
    const SettingsStore again;
    for (int i = 0; i < 3; ++i) require(setting(again, written[i]) == values[i]);
    return 0;
}
