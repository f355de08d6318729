// Commands of the main window for scanning a map and straightening or editing
// the map image: rotate, skew and their undo, Edit Map in the user's image
// editor, and File > Scan with its source choice.  The desktop-entry rules
// that turn the user's default editor into a command line are plain
// functions below, tested without a window.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class MainWindow;
namespace scanner {
class Session;
}

namespace mapedit {

// The keys of a desktop entry's [Desktop Entry] group that starting it needs.
struct DesktopEntry {
    bool valid = false;     // the group was found
    QString exec;
    QString name;
    QString icon;
};
DesktopEntry parseDesktopEntry(const QString& text);

// A desktop entry's Exec line made into the program and its arguments, the
// file handed over through %f, %F, %u or %U.
struct EditorCommand {
    bool valid = false;      // the line could be read and names a program
    bool takesFile = false;  // the line has a place for the file
    QStringList argv;        // program first
};
EditorCommand expandExec(const QString& exec, const QString& file, const QString& name = {},
                         const QString& icon = {}, const QString& entryPath = {});

// The file of a desktop entry id in the applications folders of the XDG data
// folders; "" when there is none.
QString locateDesktopEntry(const QString& id);

// The whole number of pixels a skew answer asks for: NumVal rounded down.
// Throws legacy::Error ("Overflow") beyond 32-bit.
int skewPixels(const QString& answer);

} // namespace mapedit

class MapEditCommands : public QObject {
    Q_OBJECT
public:
    explicit MapEditCommands(MainWindow& w);

    // Edit menu.
    void mnuOptRotDo_Click();
    void mnuOptRotUndo_Click();
    void mnuOptSkewHoriz_Click();
    void mnuOptSkewVert_Click();
    void mnuOptSkewUndo_Click();
    void mnuOptEdit_Click() { MapEdit(); }
    // Opens the map image file in the user's default editor for its kind,
    // waits for the editor to end and reloads the map.
    void MapEdit();

    // Scanning.
    void cmdScan_Click();
    void mnuFileScanAcquire_Click() { cmdScan_Click(); }
    void mnuFileScanSelect_Click();

    // The temporary file of the last scan ("" before any).
    QString lastScanTempFile() const { return m_lastTempFile; }

private:
    enum class EditKind { Rotate, SkewHorizontal, SkewVertical };
    void editImage(EditKind kind);
    void undoEdit();
    // Acquires one page into a bitmap file; 0 when it was written.
    int acquireToFilename(const QString& path, bool showUI);
    // The scanner's own settings, shown before the page is read; false when
    // the user cancelled.
    bool showScanOptions(scanner::Session& session);

    MainWindow& w;
    QString m_rotText, m_skewHText, m_skewVText;
    QString m_lastTempFile;
};
