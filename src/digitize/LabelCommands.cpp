#include "digitize/LabelCommands.h"

#include "app/MainWindow.h"
#include "digitize/Digitizer.h"
#include "digitize/LabelLayout.h"
#include "document/LabelFile.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

#include <stdexcept>

LabelCommands::LabelCommands(MainWindow& main) : QObject(&main), w(main) {
    // The label template as designed: Arial, 12 point, bold, no other effect.
    // Its colour is the datum colour, which start-up gives it.
    w.markers->labMap.templ().Font = labelFont(QStringLiteral("Arial"), 12, true, false, false, false);

    // The map's mouse handlers place, move and open labels through these.
    w.digitizer->setLabelHooks([this] { guarded("LabelNew", &LabelCommands::LabelNew); },
                               [this] { guarded("LabelMoveTo", &LabelCommands::LabelMoveTo); },
                               [this](const QPoint& pos) { LabelPopup(pos); });
    // Every map redraw that finds the labels on screen lays them out again;
    // an error there is the redraw's to report.
    w.mapView->labelReplot = [this] { LabelReplot(); };

    connect(w.mnuFileOpenLab, &QAction::triggered, this, [this] { guarded("mnuFileOpenLab", &LabelCommands::mnuFileOpenLab_Click); });
    connect(w.mnuContactMove, &QAction::triggered, this, [this] { guarded("mnuContactMove", &LabelCommands::mnuContactMove_Click); });
    connect(w.mnuContactEdit, &QAction::triggered, this, [this] { guarded("mnuContactEdit", &LabelCommands::mnuContactEdit_Click); });
    connect(w.mnuContactFont, &QAction::triggered, this, [this] { guarded("mnuContactFont", &LabelCommands::mnuContactFont_Click); });
    connect(w.mnuContactDelete, &QAction::triggered, this, [this] { guarded("mnuContactDelete", &LabelCommands::mnuContactDelete_Click); });
}

void LabelCommands::guarded(const char* name, void (LabelCommands::*command)()) {
    // The label commands trap nothing themselves; an error that reaches the
    // event loop is reported here instead of ending the program.
    try {
        (this->*command)();
    } catch (const legacy::Error& e) {
        w.reportError(QString::fromLatin1(name) + QStringLiteral(" error: "), e.description());
    } catch (const std::out_of_range&) {
        // A marker missing for its record.
        w.reportError(QString::fromLatin1(name) + QStringLiteral(" error: "),
                      legacy::errorText(legacy::ErrorCode::SubscriptOutOfRange));
    }
}

OverlayBox LabelCommands::overlay() const {
    const MapPicture* c = w.imContacts;
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}

Marker& LabelCommands::currentMarker() {
    const int i = w.doc.CurLabel;
    if (i < 1 || i > w.doc.LabelCount || i > w.markers->labMap.count() ||
        i >= static_cast<int>(w.doc.MapLabels.size()))
        legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
    return w.markers->labMap[i];
}

// ---------------------------------------------------------------------------
void LabelCommands::LabelNew() {
    Document& d = w.doc;
    if (w.mnuViewShowContactShowSeq->isChecked()) LastLabelText = d.ContactShown;
    LastLabelText = dlg::inputBox(QStringLiteral("Enter a label"), QString(), LastLabelText);
    if (LastLabelText.isEmpty()) return;

    const int n = legacy::ToInteger(static_cast<long long>(d.LabelCount) + 1);
    d.MapLabels.resize(static_cast<size_t>(n) + 1);
    d.LabelCount = n;
    Marker& m = w.markers->labMap.load(n);

    MapLabel& rec = d.MapLabels[static_cast<size_t>(n)];
    rec.X = d.CursorMapX;
    rec.Y = d.CursorMapY;
    rec.Text = LastLabelText;
    const QString text = rec.Text;
    const float x = rec.X, y = rec.Y;
    if (n == 1) {
        takeTemplateStyle(rec, w.markers->labMap.templ());
    } else {
        // Style of the label listed last.
        rec = d.MapLabels[static_cast<size_t>(n) - 1];
        rec.Text = text;
        rec.X = x;
        rec.Y = y;
    }

    applyLabel(m, rec);
    m.Visible = true;
    w.markers->bringToFront(MarkerKind::Map);
    m.Left = w.imContacts->Left() + d.CursorX - m.Width / 2;
    m.Top = w.imContacts->Top() + d.CursorY - m.Height / 2;
    // The new label is on screen: the next map redraw must put it back
    // rather than drop it and uncheck View > Show > Labels.
    if (!w.imPoints->isHidden()) w.LabelsShown = true;
    d.DataChanged = true;
    w.markers->update();
}

void LabelCommands::LabelReplot() {
    Document& d = w.doc;
    if (d.LabelCount == 0) return;
    const OverlayBox box = overlay();
    for (int i = 1; i <= d.LabelCount; ++i) {
        if (i > w.markers->labMap.count() || i >= static_cast<int>(d.MapLabels.size()))
            legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        const MapLabel& rec = d.MapLabels[static_cast<size_t>(i)];
        Marker& m = w.markers->labMap[i];
        applyLabel(m, rec);
        const QPointF tl = labelTopLeft(d, rec.X, rec.Y, m.Width, m.Height, box);
        m.Left = tl.x();
        m.Top = tl.y();
        m.Visible = true;
    }
    w.markers->bringToFront(MarkerKind::Map);
    if (!w.imPoints->isHidden()) w.LabelsShown = true;
    w.mnuViewShowLabels->setChecked(true);
    w.markers->update();
}

void LabelCommands::OpenLabFile(const QString& path) {
    w.doc.LabFileName = path;
    OpenLabFile();
}

void LabelCommands::OpenLabFile() {
    Document& d = w.doc;
    const LabelReadResult read = readLabelFile(legacy::readFileBytes(d.LabFileName), d.LabelCount);
    appendLabels(d, read.labels);
    // One hidden marker for each label read.
    while (w.markers->labMap.count() < d.LabelCount) w.markers->labMap.load(w.markers->labMap.count() + 1).Visible = false;
    if (read.failed) legacy::raise(read.errorDescription);
}

void LabelCommands::LabelMoveTo() {
    Document& d = w.doc;
    d.MoveLabelMode = false;
    Marker& m = currentMarker();
    MapLabel& rec = d.MapLabels[static_cast<size_t>(d.CurLabel)];
    rec.X = d.CursorMapX;
    rec.Y = d.CursorMapY;
    m.Left = d.CursorX + w.imContacts->Left() - m.Width / 2;
    m.Top = d.CursorY + w.imContacts->Top() - m.Height / 2;
    m.Visible = true;
    w.markers->bringToFront(MarkerKind::Map);
    w.markers->update();
}

void LabelCommands::LabelPopup(const QPoint& globalPos) {
    if (w.digitizer->popupMenu) w.digitizer->popupMenu(w.mnuContact, globalPos);
    else w.mnuContact->popup(globalPos);
}

// ---------------------------------------------------------------------------
void LabelCommands::mnuFileOpenLab_Click() {
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Open Label File");
    cd.FileName.clear();
    cd.InitDir = w.DialogInitDir;
    cd.Flags = 4096;
    cd.Filter = QStringLiteral("Label Files (*.lab)|*.lab|");
    if (!dlg::showOpen(cd)) return;
    w.doc.LabFileName = cd.FileName;
    try {
        OpenLabFile();
    } catch (const legacy::Error&) {
        // A file that breaks off part-way still gives the labels before the break.
    }
    LabelReplot();
}

void LabelCommands::mnuContactMove_Click() {
    currentMarker().Visible = false;
    w.doc.MoveLabelMode = true;
    w.doc.DataChanged = true;
    w.markers->update();
}

void LabelCommands::mnuContactEdit_Click() {
    const double w0 = currentMarker().Width;
    const QString answer = dlg::inputBox(QStringLiteral("Enter a label"), QString(), currentMarker().Caption);
    if (answer.isEmpty()) return;
    w.doc.MapLabels[static_cast<size_t>(w.doc.CurLabel)].Text = answer;
    {
        Marker& m = currentMarker();
        m.Caption = answer;
        setMarkerFont(m, m.Font);
    }
    w.markers->update();
    MainWindow::DoEvents();
    // Keep the horizontal centre where it was.
    Marker& m = currentMarker();
    m.Left -= (m.Width - w0) / 2;
    w.doc.DataChanged = true;
    w.markers->update();
}

void LabelCommands::mnuContactFont_Click() {
    double w0 = 0, h0 = 0;
    dlg::CommonDialog cd;
    {
        const Marker& m = currentMarker();
        w0 = m.Width;
        h0 = m.Height;
        cd.CancelError = true;
        cd.Flags = 259;
        cd.FontBold = m.Font.bold();
        cd.Color = m.ForeColor;
        cd.FontItalic = m.Font.italic();
        cd.FontName = m.Font.family();
        cd.FontSize = m.Font.pointSizeF();
        cd.FontStrikethru = m.Font.strikeOut();
        cd.FontUnderline = m.Font.underline();
    }
    if (!dlg::showFont(cd)) return;

    MapLabel& rec = w.doc.MapLabels[static_cast<size_t>(w.doc.CurLabel)];
    rec.FontBold = cd.FontBold;
    rec.Color = legacy::ToSingle(double(cd.Color));
    rec.FontItalic = cd.FontItalic;
    rec.FontName = cd.FontName;
    rec.FontSize = legacy::CInt(cd.FontSize);
    rec.FontStrikethru = cd.FontStrikethru;
    rec.FontUnderline = cd.FontUnderline;
    {
        // The label shows the size as chosen, fractions included; the record
        // keeps the whole number, which the next layout shows.
        Marker& m = currentMarker();
        m.ForeColor = cd.Color;
        setMarkerFont(m, labelFont(cd.FontName, cd.FontSize, cd.FontBold, cd.FontItalic, cd.FontStrikethru,
                                   cd.FontUnderline));
    }
    w.markers->update();
    MainWindow::DoEvents();
    // Keep the centre where it was.
    Marker& m = currentMarker();
    m.Left -= (m.Width - w0) / 2;
    m.Top -= (m.Height - h0) / 2;
    w.doc.DataChanged = true;
    w.markers->update();
}

void LabelCommands::mnuContactDelete_Click() {
    Document& d = w.doc;
    currentMarker(); // the label must exist
    for (int i = 1; i <= d.LabelCount && i <= w.markers->labMap.count(); ++i) w.markers->labMap[i].Visible = false;
    for (int i = d.CurLabel; i <= d.LabelCount - 1; ++i)
        d.MapLabels[static_cast<size_t>(i)] = d.MapLabels[static_cast<size_t>(i) + 1];
    w.markers->labMap.unloadLast();
    d.LabelCount -= 1;
    d.MapLabels.resize(static_cast<size_t>(d.LabelCount) + 1);
    if (d.LabelCount == 0) d.MapLabels.clear();
    w.markers->update();
    LabelReplot();
    d.DataChanged = true;
}
