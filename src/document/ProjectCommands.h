// Commands of the main window for opening and saving projects, the save
// prompts, File > Close and the File menu items that forward to other
// commands.  The file formats themselves are in ProjectFile and LabelFile.
#pragma once

#include "document/ProjectFile.h"
#include "document/SaveWays.h"

#include <QObject>
#include <QString>
#include <functional>

class MainWindow;

class ProjectCommands : public QObject {
    Q_OBJECT
public:
    explicit ProjectCommands(MainWindow& w);

    // Open (the Open button and File > Open > Vexolan File...).
    void cmdDig_Click();
    // The save command: the contour picture, the map image or the project,
    // as the document's state decides.  Sets the window's saveSucceeded.
    void cmdSave_Click();
    // Writes the project file and its label file beside the map image copy.
    // Reports its own errors; returns whether everything was written.
    bool SaveData();
    // File > Close: the save prompt, then the reset.
    void mnuFileClose_Click();
    // File > Save As: asks for a name; a cancelled or failed save keeps the
    // document's changed state as it was.
    void mnuFileSaveAs_Click();
    void mnuFileOpenDig_Click();

    // The "Yes" of a save prompt: saves the project (never the contour
    // picture), under its name when keepName, else asking for one.  Returns
    // whether it was saved; otherwise the document stays marked as changed
    // and the caller must not go on to discard it.
    bool saveForPrompt(bool keepName);

    // The window values stored in the project file.
    ProjectControls controls() const;

private:
    enum class Outcome { Saved, Cancelled, Failed, FailedReported };

    Outcome runSave(SaveWay way);
    Outcome saveContourPicture(bool withDialog);
    Outcome saveMapImage();
    Outcome saveProject(bool withDialog);
    void offerEditedMap();
    QString saveMapFromMemory(const QString& folder, QString& copyMade);
    void finishSave(SaveWay way, Outcome outcome, bool changedBefore);

    void openProject(const QString& path);   // steps after the dialog; throws legacy::Error
    void applyRead(const ProjectReadState& st);
    void restoreCoordinateSystem(const std::vector<CoordItem>& clicks);
    void applyDataKind(std::optional<DataKind> kind);
    void loadPointMarkers();
    void prepareControlsForPoints();


    MainWindow& w;
    // What the last SaveData says in the status bar about the map picture.
    QString m_mapNote;
};
