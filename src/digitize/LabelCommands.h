// Commands of the main window for text labels: placing, moving, editing,
// restyling and deleting them, laying them out over the map, and reading a
// label file.  The labels are painted items of the map layer (labMap).
#pragma once

#include <QObject>
#include <QString>

class MainWindow;
class QPoint;
struct Marker;
struct OverlayBox;

class LabelCommands : public QObject {
    Q_OBJECT
public:
    explicit LabelCommands(MainWindow& w);

    // Asks for a text and adds a label centred on the cursor.
    void LabelNew();
    // Applies every label record to its marker and centres it on its anchor.
    void LabelReplot();
    // Appends the labels of the file LabFileName (hidden; the caller lays
    // them out).  The first item that cannot be read ends the reading with a
    // legacy::Error; the labels read before it stay.
    void OpenLabFile();
    // The same for `path`, which becomes LabFileName.
    void OpenLabFile(const QString& path);

    // Moves the label the pop-up menu was opened on (CurLabel) to the cursor
    // and shows it again; ends a pending label move.
    void LabelMoveTo();
    // Opens the label pop-up menu (for label CurLabel) at a screen position.
    void LabelPopup(const QPoint& globalPos);

    // Menu commands.
    void mnuFileOpenLab_Click();
    void mnuContactMove_Click();
    void mnuContactEdit_Click();
    void mnuContactFont_Click();
    void mnuContactDelete_Click();

    // The text last typed for a new label, offered as the next default.
    QString LastLabelText;

private:
    Marker& currentMarker();
    OverlayBox overlay() const;
    // Runs a command from an event and reports an error it raises.
    void guarded(const char* name, void (LabelCommands::*command)());

    MainWindow& w;
};
