#include "document/ProjectCommands.h"

#include "app/MainWindow.h"
#include "digitize/LabelCommands.h"
#include "digitize/Digitizer.h"
#include "document/LabelFile.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/ImagingObject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <initializer_list>
#include <optional>

using legacy::Error;

namespace {

// The path without its last four characters (the extension and its point).
QString withoutExtension(const QString& path) { return path.left(path.size() - 4); }

// The contour picture's name taken from a file name: the last four
// characters give way to ".vlp".  "" when nothing is left of the name, so
// that no nameless (hidden) ".vlp" is ever offered or written.
QString pictureNameFrom(const QString& fileTitle) {
    const QString base = fileTitle.left(std::max<qsizetype>(0, fileTitle.size() - 4));
    return base.isEmpty() ? QString() : base + QStringLiteral(".vlp");
}

void enableAll(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* c : widgets) c->setEnabled(on);
}

// The save dialog of every save that asks for a name.  The chosen file
// becomes the window's dialog file; nothing when the dialog is cancelled.
std::optional<QString> askSaveName(MainWindow& w, const QString& title, const QString& fileName,
                                   const QString& filter, const QString& ext) {
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.Flags = 2;
    cd.DialogTitle = title;
    cd.FileName = fileName;
    cd.Filter = filter;
    cd.DefaultExt = ext;
    cd.InitDir = w.DialogInitDir;
    if (!dlg::showSave(cd)) return std::nullopt;
    // A name typed without an extension gets the dialog's own.
    cd.FileName = FileService::WithExtension(cd.FileName, ext);
    cd.FileTitle = FileService::SplitPath(cd.FileName, false);
    w.DialogFileName = cd.FileName;
    w.DialogFileTitle = cd.FileTitle;
    return cd.FileName;
}

} // namespace

ProjectCommands::ProjectCommands(MainWindow& main) : QObject(&main), w(main) {
    w.cmdSave_Click = [this] { cmdSave_Click(); };
    w.saveForPrompt = [this](bool keepName) { return saveForPrompt(keepName); };
    connect(w.cmdDig, &QPushButton::clicked, this, [this] { cmdDig_Click(); });
    connect(w.mnuFileOpenDig, &QAction::triggered, this, [this] { mnuFileOpenDig_Click(); });
    connect(w.mnuFileClose, &QAction::triggered, this, [this] { mnuFileClose_Click(); });
    // Save As must be able to put the changed state back when its dialog is
    // cancelled, so it is handled here rather than by the window's default.
    disconnect(w.mnuFileSaveAs, &QAction::triggered, &w, nullptr);
    connect(w.mnuFileSaveAs, &QAction::triggered, this, [this] { mnuFileSaveAs_Click(); });
}

ProjectControls ProjectCommands::controls() const {
    ProjectControls c;
    c.txtMin = w.txtMin->text();
    c.txtMax = w.txtMax->text();
    if (w.optRock->isChecked()) c.kind = DataKind::Contacts;
    else if (w.optStruc->isChecked()) c.kind = DataKind::Structural;
    else if (w.optIso->isChecked()) c.kind = DataKind::Isopach;
    return c;
}

// ===========================================================================
// Forwarders of the File menu.
void ProjectCommands::mnuFileOpenDig_Click() { cmdDig_Click(); }

void ProjectCommands::mnuFileSaveAs_Click() {
    const bool before = w.doc.DataChanged;
    w.doc.DataChanged = false;
    cmdSave_Click();
    // A cancelled dialog, or a contour picture (which is not the project),
    // leaves the document as changed as it was; a failure marks it changed.
    if (!w.saveSucceeded && !w.doc.DataChanged) w.doc.DataChanged = before;
}

// ===========================================================================
// Saving.
void ProjectCommands::cmdSave_Click() {
    Document& d = w.doc;
    SaveState s;
    s.DataChanged = d.DataChanged;
    s.plotShown = !w.picMap->isHidden();
    s.MapRegistered = d.MapRegistered;
    s.projectNamed = !d.DataFileName.isEmpty() && !d.AskProjectName;
    s.pictureNamed = !QFileInfo(w.DialogFileName).isRelative() &&
                     !pictureNameFrom(FileService::SplitPath(w.DialogFileName, false)).isEmpty();
    const SaveWay way = chooseSaveWay(s);
    const bool before = d.DataChanged;
    finishSave(way, runSave(way), before);
}

bool ProjectCommands::saveForPrompt(bool keepName) {
    Document& d = w.doc;
    SaveState s;
    s.DataChanged = keepName;
    s.MapRegistered = d.MapRegistered;
    s.projectNamed = !d.DataFileName.isEmpty() && !d.AskProjectName;
    s.projectOnly = true;
    const SaveWay way = chooseSaveWay(s);
    d.DataChanged = keepName;
    finishSave(way, runSave(way), true);
    return w.saveSucceeded;
}

// The end of every save that was not cancelled: pointers back, the changed
// state, and the report of a failure not yet reported.
void ProjectCommands::finishSave(SaveWay way, Outcome outcome, bool changedBefore) {
    Document& d = w.doc;
    const bool picture = way == SaveWay::ContourPicture || way == SaveWay::ContourPictureDialog;
    w.saveSucceeded = outcome == Outcome::Saved && !picture;
    if (outcome == Outcome::Cancelled) {
        d.DataChanged = changedBefore;
        return;
    }
    w.setBusyPointers(false);
    if (outcome == Outcome::Saved) {
        // A contour picture is not the document: the points and labels
        // still need saving when they had changed.
        d.DataChanged = picture ? changedBefore : false;
        return;
    }
    // A failed save leaves the document marked as changed, so that its work
    // is not lost at the next prompt.
    d.DataChanged = true;
    if (outcome == Outcome::Failed)
        dlg::msgBox(QStringLiteral("Error in saving file <") + d.DataFileName + QStringLiteral(">!"),
                    {dlg::Buttons::OK, dlg::Icon::Exclamation}, w.app.AppName);
}

ProjectCommands::Outcome ProjectCommands::runSave(SaveWay way) {
    switch (way) {
    case SaveWay::ContourPictureDialog: return saveContourPicture(true);
    case SaveWay::MapImageDialog: return saveMapImage();
    case SaveWay::ProjectDialog: return saveProject(true);
    case SaveWay::Project: return saveProject(false);
    case SaveWay::ContourPicture: return saveContourPicture(false);
    }
    return Outcome::Cancelled;
}

ProjectCommands::Outcome ProjectCommands::saveContourPicture(bool withDialog) {
    Document& d = w.doc;
    QString path;
    if (withDialog) {
        const QString named = pictureNameFrom(w.DialogFileTitle);
        QString proposed = w.app.DataFolder + (named.isEmpty() ? QStringLiteral("Untitled.vlp") : named);
        for (;;) {
            const QString lastName = w.DialogFileName, lastTitle = w.DialogFileTitle;
            const std::optional<QString> chosen =
                askSaveName(w, QStringLiteral("Save Contour Image File"), proposed,
                            QStringLiteral("Contour Image File (*.vlp)|*.vlp"), QStringLiteral("vlp"));
            if (!chosen) return Outcome::Cancelled;
            const QFileInfo info(*chosen);
            if (info.suffix().compare(QLatin1String("vlp"), Qt::CaseInsensitive) == 0) {
                path = *chosen;
                break;
            }
            // The picture under another extension would pass for another
            // kind of file (or replace a project of that name).
            w.DialogFileName = lastName;
            w.DialogFileTitle = lastTitle;
            dlg::msgBox(QStringLiteral("A contour image file must have the extension \".vlp\": ") + info.fileName() +
                            QStringLiteral(" cannot be used."),
                        {dlg::Buttons::OK, dlg::Icon::Exclamation});
            proposed = FileService::SplitPath(*chosen, true) + info.completeBaseName() + QStringLiteral(".vlp");
        }
    } else {
        path = FileService::SplitPath(w.DialogFileName, true) +
               pictureNameFrom(FileService::SplitPath(w.DialogFileName, false));
    }
    Outcome outcome = Outcome::Saved;
    try {
        w.picExImgX->takePicture(w.picMap->picture());
        w.picExImgX->save(path, ImagingObject::FormatJpeg, 24);
    } catch (const Error&) {
        outcome = Outcome::Failed;
    }
    w.DialogFileName = d.DataFileName;
    return outcome;
}

ProjectCommands::Outcome ProjectCommands::saveMapImage() {
    Document& d = w.doc;
    const std::optional<QString> chosen =
        askSaveName(w, QStringLiteral("Save Map Image File As..."), d.MapFileName,
                    QStringLiteral("JPEG Image File (*.jpg)|*.jpg"), QStringLiteral("jpg"));
    if (!chosen) return Outcome::Cancelled;
    MainWindow::DoEvents();

    const QString oldMap = d.MapFileName, oldData = d.DataFileName;
    try {
        d.MapFileName = *chosen;
        w.picImgX->save(d.MapFileName, ImagingObject::FormatJpeg, 24);
        d.MapPictureEdited = d.MapPictureInMemory = false;
        d.proposeProjectName(w.app.DataFolder + withoutExtension(FileService::SplitPath(d.MapFileName, false)) +
                             QStringLiteral(".vlm"));
    } catch (const Error&) {
        // The map was not written: keep naming the image that exists.
        d.MapFileName = oldMap;
        d.DataFileName = oldData;
        return Outcome::Failed;
    }
    w.setDocumentCaption(withoutExtension(FileService::SplitPath(d.DataFileName, false)));
    w.setPanel(2, QStringLiteral("Map:  ") + d.DataTitle +
                      QStringLiteral(" (register map by clicking on locations of known coordinates)"));
    return Outcome::Saved;
}

ProjectCommands::Outcome ProjectCommands::saveProject(bool withDialog) {
    Document& d = w.doc;
    if (withDialog) {
        const std::optional<QString> chosen = askSaveName(
            w, QStringLiteral("Save Data File As..."),
            !d.DataFileName.isEmpty() ? d.DataFileName : withoutExtension(d.MapFileName) + QStringLiteral(".vlm"),
            QStringLiteral("Map Data Files (*.vlm)|*.vlm"), QStringLiteral("vlm"));
        if (!chosen) return Outcome::Cancelled;
        MainWindow::DoEvents();
        const QString oldName = d.DataFileName;
        d.DataFileName = *chosen;
        offerEditedMap();
        if (!SaveData()) {
            // Nothing was written under the new name: the window goes on
            // naming the project that exists.
            d.DataFileName = oldName;
            return Outcome::FailedReported;
        }
        d.AskProjectName = false;
        w.app.DataFolder = FileService::SplitPath(d.DataFileName, true);
        w.setDocumentCaption(withoutExtension(FileService::SplitPath(d.DataFileName, false)));
        w.showDataStatus();
        if (!m_mapNote.isEmpty()) w.setPanel(2, m_mapNote);
        return Outcome::Saved;
    }
    offerEditedMap();
    w.setBusyPointers(true);
    const bool ok = SaveData();
    w.setBusyPointers(false);
    w.DialogFileName = d.DataFileName;
    return ok ? Outcome::Saved : Outcome::FailedReported;
}

// A map picture rotated or skewed since it was loaded is only in memory:
// the project would name the unedited file, and on opening every point would
// sit on that picture.  The user is offered to save the edited picture, which
// the project then names; declined, the project keeps the original picture.
void ProjectCommands::offerEditedMap() {
    Document& d = w.doc;
    if (!d.MapPictureEdited) return;
    d.MapPictureEdited = false; // asked once for each edit
    const QFileInfo original(d.MapFileName);
    const QString lastName = w.DialogFileName, lastTitle = w.DialogFileTitle;
    const std::optional<QString> chosen = askSaveName(
        w, QStringLiteral("Save Map Image File As..."),
        FileService::SplitPath(d.MapFileName, true) + original.completeBaseName() + QStringLiteral(".jpg"),
        QStringLiteral("JPEG Image File (*.jpg)|*.jpg"), QStringLiteral("jpg"));
    w.DialogFileName = lastName;
    w.DialogFileTitle = lastTitle;
    QString problem;
    if (chosen) {
        try {
            w.picImgX->save(*chosen, ImagingObject::FormatJpeg, 24);
            d.MapFileName = *chosen;
            d.MapPictureInMemory = false;
            return;
        } catch (const Error& e) {
            problem = e.description() + QStringLiteral("\n\n");
        }
    }
    dlg::msgBox(problem + QStringLiteral("The rotated or skewed map picture was not saved: the project keeps the "
                                         "original picture ") +
                    QDir::toNativeSeparators(d.MapFileName) + QLatin1Char('.'),
                {dlg::Buttons::OK, dlg::Icon::Information});
}

bool ProjectCommands::SaveData() {
    Document& d = w.doc;
    const QString oldMap = d.MapFileName;
    const bool oldInMemory = d.MapPictureInMemory;
    QString copyMade;
    m_mapNote.clear();
    try {
        if (d.DataFileName.isEmpty()) legacy::raise(QStringLiteral("Bad file name or number"));
        const QString folder = FileService::SplitPath(d.DataFileName, true);
        // The map image goes beside the project, once: an image of that name
        // already there (the map itself, or an earlier copy) is kept.
        const QString copy = folder + FileService::SplitPath(d.MapFileName, false);
        bool fromMemory = d.MapPictureInMemory || !QFileInfo(d.MapFileName).isFile();
        if (!fromMemory && !FileService::FileExists(copy)) {
            QByteArray bytes;
            try {
                bytes = legacy::readFileBytes(d.MapFileName);
            } catch (const Error&) {
                fromMemory = true;   // the map's file cannot be read
            }
            if (!fromMemory) {
                legacy::writeFileAtomically(copy, bytes);
                copyMade = copy;
                d.MapFileName = copy;   // the project names the copy
            }
        }
        // The picture shown is the map: without a file to copy it is written
        // beside the project, so that the points are never left unsaved and
        // the project opens again with its map.
        if (fromMemory) m_mapNote = saveMapFromMemory(folder, copyMade);
        if (w.txtMin->text().isEmpty()) w.txtMin->setText(QStringLiteral("0"));
        if (w.txtMax->text().isEmpty()) w.txtMax->setText(QStringLiteral("0"));
        // The project and its labels are replaced together, once both are
        // complete, so that the pair on disk never comes from two saves.
        const QString labels = labelFilePath(d.DataFileName);
        std::vector<legacy::FileWrite> files{{d.DataFileName, writeProjectFile(d, controls())}};
        if (d.LabelCount != 0) files.push_back({labels, writeLabelFile(d)});
        legacy::writeFilesAtomically(files);
        copyMade.clear();   // the project written names it now
        if (!m_mapNote.isEmpty()) w.setPanel(2, m_mapNote);
        d.LabFileName = labels;
        if (d.LabelCount == 0 && FileService::FileExists(d.LabFileName)) {
            QFile lab(d.LabFileName);
            if (!lab.remove())
                legacy::raise(QStringLiteral("Cannot delete %1: %2").arg(d.LabFileName, lab.errorString()));
        }
        return true;
    } catch (const Error& e) {
        // A map copy made for a project that was not written goes again.
        if (!copyMade.isEmpty()) {
            QFile::remove(copyMade);
            d.MapFileName = oldMap;
            d.MapPictureInMemory = oldInMemory;
        }
        w.reportError(QStringLiteral("SaveDAta error: "), e.description(), 2, 64);
        return false;
    }
}

// Writes the map picture held in memory beside the project as a JPEG file
// (as the map image is saved), named as the map with ".jpg" unless another
// file has that name, and lets the project name it.  A picture that cannot
// be written leaves the map's name as it was: the points are saved all the
// same.  Returns what the status bar is to say.
QString ProjectCommands::saveMapFromMemory(const QString& folder, QString& copyMade) {
    Document& d = w.doc;
    const QString old = FileService::SplitPath(d.MapFileName, false);
    QString base = QFileInfo(old).completeBaseName();
    if (base.isEmpty()) base = QStringLiteral("Map");
    QString path = folder + base + QStringLiteral(".jpg");
    for (int n = 2; QFileInfo::exists(path); ++n) path = folder + QStringLiteral("%1 (%2).jpg").arg(base).arg(n);
    // A file that is there but cannot be read (no permission, a folder of
    // that name) is not called missing: the user would look for it in vain.
    // Asked before the picture is written, which may take the map's place.
    const QString why = QFileInfo::exists(d.MapFileName) ? QStringLiteral(" could not be read")
                                                         : QStringLiteral(" not found");
    try {
        if (!w.picImgX || w.picImgX->isEmpty()) legacy::raise(QStringLiteral("No map picture is held"));
        w.picImgX->save(path, ImagingObject::FormatJpeg, 24);
    } catch (const Error& e) {
        return QStringLiteral("Map picture not saved (") + e.description() + QStringLiteral("): the project names ") +
               old;
    }
    const QString saved = FileService::SplitPath(path, false);
    const QString note = d.MapPictureInMemory
                             ? QStringLiteral("Map picture saved as ") + saved
                             : QStringLiteral("Map picture ") + old + why +
                                   QStringLiteral(": the picture shown is saved as ") + saved;
    copyMade = path;
    d.MapFileName = path;
    d.MapPictureInMemory = false;
    return note;
}

// ===========================================================================
// File > Close.
void ProjectCommands::mnuFileClose_Click() {
    // Yes saves the project itself under its name, also while a plot is
    // shown; Cancel, and a save that did not happen, keep the document.
    if (!w.offerToSave(true)) return;
    w.ClearAll();
}

// ===========================================================================
// Open.
void ProjectCommands::cmdDig_Click() {
    Document& d = w.doc;
    // Yes asks for a name, as Save As does; when that save does not happen
    // the document stays and nothing is opened.
    if (!w.offerToSave(false)) return;

    w.BusyLoading = true;
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Open Vexolan File");
    cd.FileName = d.DataFileName;
    cd.Flags = 4096;
    cd.Filter = QStringLiteral("Map Data Files (*.vlm)|*.vlm|");
    cd.InitDir = w.DialogInitDir;
    if (!dlg::showOpen(cd)) {
        w.BusyLoading = false;
        return;
    }
    w.DialogFileName = cd.FileName;
    w.DialogFileTitle = cd.FileTitle;
    MainWindow::DoEvents();

    w.setBusyPointers(true);
    QString error;
    bool failed = false;
    try {
        openProject(cd.FileName);
    } catch (const Error& e) {
        failed = true;
        error = e.description();
    }
    // A project that could not be opened leaves nothing half shown: the
    // window goes back to its empty state before the report.
    if (failed) w.ClearAll();
    w.setBusyPointers(false);
    d.DataChanged = false;
    w.BusyLoading = false;
    if (failed) w.reportError(QStringLiteral("Open vexolan file error: "), error, 0, 16);
}

void ProjectCommands::openProject(const QString& path) {
    Document& d = w.doc;
    w.ClearAll();
    d.DataFileName = path;
    w.app.DataFolder = FileService::SplitPath(d.DataFileName, true);
    w.DialogInitDir = w.app.DataFolder;
    w.setPanel(2, QStringLiteral("Loading ") + d.DataFileName + QStringLiteral("..."));
    MainWindow::DoEvents();

    ProjectReadState st;
    try {
        readProjectFile(legacy::readFileBytes(d.DataFileName), d, st);
    } catch (const Error&) {
        applyRead(st);
        throw;
    }
    applyRead(st);
    // Without spans the map cannot place a point: earlier versions could
    // write such a project from a contour picture never registered.
    if (!(d.MapSpanX != 0 && d.MapSpanY != 0))
        legacy::raise(QStringLiteral("The project holds no registration of its map"));

    d.DataChanged = false;
    w.setDocumentCaption(withoutExtension(FileService::SplitPath(d.DataFileName, false)));
    d.LabFileName = labelFilePath(d.DataFileName);
    if (FileService::FileExists(d.LabFileName)) {
        w.labelCommands->OpenLabFile();
        for (int i = 1; i <= d.LabelCount; ++i) {
            MapLabel& label = d.MapLabels[size_t(i)];
            label.X = legacy::ToSingle(label.X * st.unitFactors.x);
            label.Y = legacy::ToSingle(label.Y * st.unitFactors.y);
        }
    }

    if (!FileService::FileExists(d.MapFileName)) {
        // A project written on another system may name its map by a path
        // that does not exist here; the image beside the project is the one
        // its save copied there.
        const QString name = FileService::SplitPath(d.MapFileName, false);
        const QString beside = FileService::SplitPath(d.DataFileName, true) + name;
        if (!name.isEmpty() && QFileInfo(beside).isFile()) d.MapFileName = beside;
        else w.mapView->MapFind();
        if (d.MapFileName.isEmpty()) {
            w.ClearAll();
            dlg::msgBox(QStringLiteral("File error: no map associated"), {dlg::Buttons::OK, dlg::Icon::Exclamation},
                        w.app.AppName);
            return;
        }
    }

    w.enableSaving();
    w.enablePrinting();
    if (d.DatCount + d.ConCount >= 1) prepareControlsForPoints();

    w.mapView->MapLoad();
    // A map that did not load has been reported and the document cleared.
    if (!w.mapView->mapLoadSucceeded()) return;
    if (w.optRock->isChecked()) {
        w.digitizer->ContactEnum();
        w.labShow->show();
        w.UpDown1->hide();
        w.cmbShow->show();
        w.cmdShowContact->show();
    }
}

// Applies to the window what the reader got, as far as it got.
void ProjectCommands::applyRead(const ProjectReadState& st) {
    Document& d = w.doc;
    if (st.limitsRead) {
        w.txtMin->setText(st.controls.txtMin);
        w.txtMax->setText(st.controls.txtMax);
        restoreCoordinateSystem(st.coordClicks);
    }
    if (st.registrationRead) {
        d.MapRegistered = true;
        w.mnuCoord->menuAction()->setEnabled(false);
    }
    if (st.kindRead) applyDataKind(st.controls.kind);
    if (st.countsRead) loadPointMarkers();
}

// The Coordinates menu clicks that restore the stored system.  The reader
// has set the names as these clicks do; the clicks set the menu to match.
void ProjectCommands::restoreCoordinateSystem(const std::vector<CoordItem>& clicks) {
    for (const CoordItem c : clicks) w.mapView->coordClick(c);
}

// The data kind fixes which kind and point options stay available.
// Selecting an option runs its click handler.
void ProjectCommands::applyDataKind(std::optional<DataKind> kind) {
    OptionButton* kinds[] = {w.optRock, w.optStruc, w.optIso};
    if (!kind) {
        for (OptionButton* o : kinds) o->setEnabled(true);
        enableAll({w.optDat, w.optCon, w.labDatCol, w.labConCol}, true);
        return;
    }
    switch (*kind) {
    case DataKind::Contacts:
        enableAll({w.optRock, w.optDat, w.labDatCol}, true);
        enableAll({w.optStruc, w.optIso, w.optCon, w.labConCol}, false);
        w.optRock->setValue(true);
        w.optDat->setValue(true);
        break;
    case DataKind::Structural:
    case DataKind::Isopach: {
        OptionButton* own = kind == DataKind::Structural ? w.optStruc : w.optIso;
        enableAll({own, w.optDat, w.optCon, w.labDatCol, w.labConCol}, true);
        for (OptionButton* o : kinds)
            if (o != own) o->setEnabled(false);
        own->setValue(true);
        break;
    }
    }
}

// One hidden marker per point read, in its swatch's colour; the map load
// places them.
void ProjectCommands::loadPointMarkers() {
    Document& d = w.doc;
    for (int i = 1; i <= d.DatCount; ++i) w.markers->labDat.load(i).ForeColor = w.labDatCol->ForeColor();
    for (int i = 1; i <= d.ConCount; ++i) w.markers->labCon.load(i).ForeColor = w.labConCol->ForeColor();
}

void ProjectCommands::prepareControlsForPoints() {
    Document& d = w.doc;
    w.mnuFileOpenDat->setEnabled(true);
    w.cmdConRun->setEnabled(true);
    w.cmdShow->setEnabled(true);
    w.mnuViewShow->menuAction()->setEnabled(true);
    for (OptionButton* o : {w.optLo, w.optMed, w.optHi}) o->setEnabled(true);

    // Contact data, and limits that cannot make a colour scale, take the
    // range of the points.
    const float top = legacy::NumVal(w.txtMax->text());
    const float bottom = legacy::NumVal(w.txtMin->text());
    if (w.optRock->isChecked() || top == 0 || bottom == 0 || top == bottom) {
        d.ZMin = 32000;
        d.ZMax = 0;
        auto widen = [&d](const DataPoint& p) {
            if (p.Z < d.ZMin) d.ZMin = p.Z;
            if (p.Z > d.ZMax) d.ZMax = p.Z;
        };
        for (int i = 1; i <= d.DatCount; ++i) widen(d.DatumPoints[size_t(i)]);
        for (int i = 1; i <= d.ConCount; ++i) widen(d.ContourPoints[size_t(i)]);
        w.txtMax->setText(legacy::GeneralText(d.ZMax));
        w.txtMin->setText(legacy::GeneralText(d.ZMin));
    }

    if (!w.optRock->isChecked()) {
        enableAll({w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines}, true);
        w.txtConDet->setText(legacy::IntegerText(d.ContourDetail));
        if (w.chkMan->isChecked())
            enableAll({w.txtMax, w.txtMin, w.labMax, w.labMin}, true);
    }
}

// Appends the labels of the label file beside the project, each with a
// hidden marker; a damaged file keeps the labels before the damage and
// passes its error on.
