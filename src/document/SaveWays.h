// The decisions of the save command and of the File menu, as plain functions
// of the document's state, so that the handlers only apply them.
#pragma once

#include <optional>

// The five ways of the save command.
enum class SaveWay {
    ContourPictureDialog, // A: the contour picture, with a dialog
    MapImageDialog,       // B: the map image of an unregistered map, with a dialog
    ProjectDialog,        // C: the project, with a dialog
    Project,              // D: the project under its current name
    ContourPicture,       // E: the contour picture under a name derived from the last one
};

struct SaveState {
    bool DataChanged = false;    // True: save under the current names; False: ask first
    bool plotShown = false;      // the contour or contact plot is shown instead of the map
    bool MapRegistered = false;
    // Whether there is a project name to save under without asking, and a
    // last file name to derive the contour picture's name from.  Without
    // one the way that would need it asks instead.
    bool projectNamed = true;
    bool pictureNamed = true;
    // A save prompt ("... has changed. Would you like to save it?") asks to
    // keep the project, whatever is shown: never the contour picture.
    bool projectOnly = false;
};

constexpr SaveWay chooseSaveWay(const SaveState& s) {
    if (s.projectOnly) return s.DataChanged && s.projectNamed ? SaveWay::Project : SaveWay::ProjectDialog;
    if (s.DataChanged) {
        if (s.plotShown) return s.pictureNamed ? SaveWay::ContourPicture : SaveWay::ContourPictureDialog;
        // A project of a map not registered (a contour picture just opened)
        // could not be opened again: only the picture is saved then.
        if (!s.MapRegistered) return SaveWay::MapImageDialog;
        return s.projectNamed ? SaveWay::Project : SaveWay::ProjectDialog;
    }
    if (s.plotShown) return SaveWay::ContourPictureDialog;
    return s.MapRegistered ? SaveWay::ProjectDialog : SaveWay::MapImageDialog;
}

// What the File menu's drop-down sets.  An item left empty is not touched.
struct FileMenuEnabling {
    bool mnuFileSave = false;
    std::optional<bool> mnuFileImportData;
    std::optional<bool> mnuFileExport;
    std::optional<bool> mnuFileClose;
    std::optional<bool> mnuFileOpenDat;
    std::optional<bool> mnuFileOpenCon;
    std::optional<bool> mnuFileOpenLab;
    std::optional<bool> mnuFileExportData;
};

// exportable: the map picture (points to export) or the contour plot (its
// grid to export) is on screen.  Export > Data also serves the grid export,
// which only runs while the plot is shown, so the plot keeps it enabled.
constexpr FileMenuEnabling fileMenuEnabling(bool DataChanged, bool MapRegistered, bool exportable) {
    FileMenuEnabling e;
    e.mnuFileSave = DataChanged;
    e.mnuFileImportData = e.mnuFileExport = e.mnuFileClose = MapRegistered;
    e.mnuFileOpenDat = e.mnuFileOpenCon = e.mnuFileOpenLab = MapRegistered;
    if (MapRegistered) e.mnuFileExportData = exportable;
    return e;
}
