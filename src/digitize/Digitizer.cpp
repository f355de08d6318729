#include "digitize/Digitizer.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "digitize/Contacts.h"
#include "digitize/MapClicks.h"
#include "digitize/PointRecords.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "map/LatLongPlacement.h"
#include "map/Projections.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QMenu>
#include <algorithm>

namespace {

using legacy::NumVal;

QString fmt0(double v) { return legacy::Format(v, QStringLiteral("0")); }


// Runs a menu command, reporting what it could not do the way every command
// reports a trapped error.
template <typename F>
void guarded(MainWindow& w, const char* name, F&& f) {
    try {
        f();
    } catch (const legacy::Error& e) {
        w.reportError(QString::fromLatin1(name) + QStringLiteral(" error: "), e.description());
    }
}

} // namespace

Digitizer::Digitizer(MainWindow& main) : QObject(&main), w(main) {
    popupMenu = [](QMenu* menu, const QPoint& pos) { menu->popup(pos); };

    connect(w.markers, &MarkerOverlay::pictureMouseUp, this, [this](MapPicture* pic, int button, double x, double y) {
        if (pic == w.imPoints) imPoints_MouseUp(button, x, y);
        else if (pic == w.imContacts) imContacts_MouseUp(button, x, y);
    });
    connect(w.markers, &MarkerOverlay::markerMouseUp, this,
            [this](MarkerKind kind, int index, int button, double x, double y) {
                switch (kind) {
                case MarkerKind::Dat: labDat_MouseUp(index, button, x, y); break;
                case MarkerKind::Con: labCon_MouseUp(index, button, x, y); break;
                case MarkerKind::Map: labMap_MouseUp(index, button, x, y); break;
                case MarkerKind::Ref: labRef_MouseUp(index, button, x, y); break;
                case MarkerKind::None: break;
                }
            });
    connect(w.labDatCol, &ColorSwatch::doubleClicked, this, &Digitizer::labDatCol_DblClick);
    connect(w.labConCol, &ColorSwatch::doubleClicked, this, &Digitizer::labConCol_DblClick);
    connect(w.mnuPointMove, &QAction::triggered, this, &Digitizer::mnuPointMove_Click);
    connect(w.mnuPointEditXY, &QAction::triggered, this, &Digitizer::mnuPointEditXY_Click);
    connect(w.mnuPointEditZ, &QAction::triggered, this, &Digitizer::mnuPointEditZ_Click);
    connect(w.mnuPointNum, &QAction::triggered, this, &Digitizer::mnuPointNum_Click);
    connect(w.mnuPointDelete, &QAction::triggered, this, &Digitizer::mnuPointDelete_Click);
    connect(w.mnuOptOrder, &QAction::triggered, this, &Digitizer::mnuOptOrder_Click);

    // A redraw of contact data rebuilds the contact list.
    w.mapView->contactEnum = [this] { ContactEnum(); };

    // Labels cannot be placed until the label commands provide them.
    w.mnuViewShowLabels->setEnabled(false);
}

void Digitizer::setLabelHooks(std::function<void()> newLabel, std::function<void()> moveLabel,
                              std::function<void(const QPoint&)> popup) {
    labelNew = std::move(newLabel);
    labelMoveTo = std::move(moveLabel);
    labelPopup = std::move(popup);
    w.mnuViewShowLabels->setEnabled(labelsAvailable());
}

std::optional<DataKind> Digitizer::dataKind() const {
    if (w.optRock->isChecked()) return DataKind::Contacts;
    if (w.optStruc->isChecked()) return DataKind::Structural;
    if (w.optIso->isChecked()) return DataKind::Isopach;
    return std::nullopt;
}

bool Digitizer::feet() const { return w.mnuCoordFeet->isChecked(); }

// ---------------------------------------------------------------------------
// Recording a point

void Digitizer::MapPoint() {
    try {
        if (w.doc.MovePointMode) movePoint();
        else if (!recordPoint()) return;
        commonTail();
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("MapPoint error: "), e.description());
    }
}

void Digitizer::movePoint() {
    Document& doc = w.doc;
    points::PointKey key;
    bool valid = true;
    try {
        key = points::ParsePointKey(doc.SelectedPoint);
    } catch (const legacy::Error&) {
        valid = false;
    }
    // The mode ends here whatever the selection: a stale or empty one must
    // not leave every later click failing, nor move anything.
    doc.SelectedPoint.clear();
    doc.MovePointMode = false;
    auto& records = key.datum ? doc.DatumPoints : doc.ContourPoints;
    auto& marks = key.datum ? w.markers->labDat : w.markers->labCon;
    const int count = key.datum ? doc.DatCount : doc.ConCount;
    if (!valid || key.index < 1 || key.index > count || size_t(key.index) >= records.size() ||
        key.index > marks.count())
        legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
    DataPoint& p = records[size_t(key.index)];
    p.X = doc.CursorMapX;
    p.Y = doc.CursorMapY;
    Marker& m = marks[key.index];
    m.Left = legacy::ToSingle(doc.MarkerLeft + w.imPoints->Left());
    m.Top = legacy::ToSingle(doc.MarkerTop + w.imPoints->Top());
    m.Visible = true;
    w.markers->bringToFront(key.datum ? MarkerKind::Dat : MarkerKind::Con);
    w.markers->update();
}

bool Digitizer::recordPoint() {
    Document& doc = w.doc;
    const std::optional<DataKind> chosen = dataKind();
    const dlg::MsgStyle info{dlg::Buttons::OK, dlg::Icon::Information};
    if (!chosen) {
        dlg::msgBox(QStringLiteral("Please select Contact, Structure, or Isopach Points option."), info);
        return false;
    }
    const DataKind kind = *chosen;
    if (!w.optDat->isChecked() && !w.optCon->isChecked()) {
        dlg::msgBox(QStringLiteral("Please select Datum or Contour Points option."), info);
        return false;
    }
    const bool datum = w.optDat->isChecked();
    QString title = QStringLiteral("Map Z Data");
    QString prompt;
    if (datum) {
        if (kind == DataKind::Contacts) {
            title = QStringLiteral("Map Data");
            prompt = QStringLiteral("Enter a contact designator number for the datum");
        } else if (kind == DataKind::Structural) {
            prompt = QStringLiteral("Enter the datum elevation");
        } else {
            prompt = QStringLiteral("Enter the datum isopach");
        }
    } else {
        // Contact data has no contour points: asking for one fixes the kind.
        w.optRock->setEnabled(false);
        prompt = kind == DataKind::Structural ? QStringLiteral("Enter the contour elevation")
                                              : QStringLiteral("Enter the contour isopach");
    }
    doc.LastZEntry = dlg::inputBox(prompt, title, doc.LastZEntry);
    if (doc.LastZEntry.isEmpty()) return false;

    auto& records = datum ? doc.DatumPoints : doc.ContourPoints;
    int& count = datum ? doc.DatCount : doc.ConCount;
    auto& marks = datum ? w.markers->labDat : w.markers->labCon;
    // Everything that can fail is worked out before the document changes, so
    // an overflow adds no half-made point: the new count, the total the map
    // can hold, and the number within a contact.
    const int n = legacy::ToInteger(static_cast<long long>(count) + 1);
    legacy::ToInteger(static_cast<long long>(doc.ConCount) + doc.DatCount + 1);
    const float z = NumVal(doc.LastZEntry);
    const int16_t number = datum && kind == DataKind::Contacts
                               ? legacy::ToInteger(contacts::MapDatNum(records, n, z))
                               : int16_t(n);
    const float left = legacy::ToSingle(doc.MarkerLeft + w.imPoints->Left());
    const float top = legacy::ToSingle(doc.MarkerTop + w.imPoints->Top());

    points::AppendPoint(records, count);
    Marker& m = marks.load(n);
    (datum ? w.labDatNum : w.labConNum)->setText(fmt0(n));
    DataPoint& p = records[size_t(n)];
    p.X = doc.CursorMapX;
    p.Y = doc.CursorMapY;
    m.Left = left;
    m.Top = top;
    m.ForeColor = (datum ? w.labDatCol : w.labConCol)->ForeColor();
    m.Visible = true;
    w.markers->bringToFront(datum ? MarkerKind::Dat : MarkerKind::Con);
    p.Number = number;
    p.Z = z;
    m.ToolTipText = tooltips::recordedPointTip(kind, datum, p.Number, doc.LastZEntry, feet());
    // The kind stays fixed once points exist.
    if (kind != DataKind::Contacts) {
        if (datum) w.optRock->setEnabled(false);
        (kind == DataKind::Structural ? w.optIso : w.optStruc)->setEnabled(false);
    } else {
        w.optStruc->setEnabled(false);
        w.optIso->setEnabled(false);
    }
    w.markers->update();
    return true;
}

void Digitizer::commonTail() {
    Document& doc = w.doc;
    // The point is in: whatever fails below, the document is changed.
    doc.ContoursCurrent = false;
    doc.DataChanged = true;
    // The contour panel comes alive with the first point.  The Show button
    // alone cannot tell: the contour kinds enable it before any point exists.
    // The colour schemes come with it, as when a project is opened: left off,
    // the user could choose one only after a first plot in the old scheme.
    if (!w.cmdShow->isEnabled() || !w.txtConDet->isEnabled()) {
        w.cmdShow->setEnabled(true);
        w.mnuViewShow->menuAction()->setEnabled(true);
        for (QWidget* c : std::initializer_list<QWidget*>{w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines,
                                                          w.optLo, w.optMed, w.optHi})
            c->setEnabled(true);
        w.txtConDet->setText(QString::number(doc.ContourDetail));
        const bool manual = w.chkMan->isChecked();
        for (QWidget* c : std::initializer_list<QWidget*>{w.txtMax, w.txtMin, w.labMax, w.labMin})
            c->setEnabled(manual);
    }
    // The range boxes widen to the value typed.
    const float z = NumVal(doc.LastZEntry);
    const float lo = NumVal(w.txtMin->text());
    if (lo > z || lo == 0) w.txtMin->setText(doc.LastZEntry);
    if (NumVal(w.txtMax->text()) < z) w.txtMax->setText(doc.LastZEntry);

    if (doc.OtherDataOpen) {
        w.cmdConDat[0]->setEnabled(true);
        w.cmdConDat[1]->setEnabled(true);
    } else if (dataKind() != DataKind::Contacts) {
        w.mnuFileOpenDat->setEnabled(true);
    }
    w.showProjectCaption();
    w.labText->setText(QString::number(legacy::ToInteger(static_cast<long long>(doc.ConCount) + doc.DatCount)) +
                       QStringLiteral(" Contour and Datum Points"));
    w.cmdConRun->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Contacts

int32_t Digitizer::MapDatNum(float z) const { return contacts::MapDatNum(w.doc.DatumPoints, w.doc.DatCount, z); }

void Digitizer::ContactEnum() {
    Document& doc = w.doc;
    doc.ContactList.clear();
    doc.ContactCount = 0;
    try {
        const std::vector<int16_t> list = contacts::ContactDesignators(doc.DatumPoints, doc.DatCount);
        if (!list.empty()) {
            doc.ContactList.assign(1, 0);
            doc.ContactList.insert(doc.ContactList.end(), list.begin(), list.end());
        }
        doc.ContactCount = int(list.size());
        w.cmbShow->clear();
        w.cmbShow->addItem(QStringLiteral("All"));
        for (int16_t k : list) w.cmbShow->addItem(QString::number(k));
        w.cmbShow->setCurrentIndex(0);
        const int shown = w.cmbShow->findText(doc.ContactShown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (shown >= 0) w.cmbShow->setCurrentIndex(shown);
    } catch (const legacy::Error& e) {
        w.reportError(QStringLiteral("ContactEnum error: "), e.description(), 0, 48);
    }
}

void Digitizer::MapOrder() {
    Document& doc = w.doc;
    ContactEnum();
    std::vector<int16_t> list;
    if (doc.ContactList.size() > 1) list.assign(doc.ContactList.begin() + 1, doc.ContactList.end());
    contacts::OrderPoints(doc.DatumPoints, doc.DatCount, list);
    doc.DataChanged = true;
}

void Digitizer::mnuOptOrder_Click() { MapOrder(); }

// ---------------------------------------------------------------------------
// Mouse on the map

namespace {
MapClickState clickState(const MainWindow& w, int button, bool labelsOn) {
    MapClickState s;
    s.mapBusy = w.doc.MapBusy;
    s.busyLoading = w.BusyLoading;
    s.mapRegistered = w.doc.MapRegistered;
    s.button = button;
    s.labelsOn = labelsOn;
    s.moveLabelMode = w.doc.MoveLabelMode;
    return s;
}
} // namespace

void Digitizer::imPoints_MouseUp(int button, double x, double y) {
    const bool labelsOn = labelsAvailable() && w.mnuViewShowLabels->isChecked();
    switch (decideMapPictureClick(clickState(w, button, labelsOn))) {
    case MapClickAction::Register: w.mapView->MapRegister(x, y); break;
    case MapClickAction::NewLabel: labelNew(); break;
    case MapClickAction::MoveLabel:
        w.doc.MoveLabelMode = false;
        if (labelMoveTo) labelMoveTo();
        break;
    case MapClickAction::RecordPoint: MapPoint(); break;
    case MapClickAction::Nothing: break;
    }
}

void Digitizer::imContacts_MouseUp(int button, double, double) {
    const bool labelsOn = labelsAvailable() && w.mnuViewShowLabels->isChecked();
    switch (decideContactOverlayClick(clickState(w, button, labelsOn))) {
    case MapClickAction::NewLabel: labelNew(); break;
    case MapClickAction::MoveLabel:
        w.doc.MoveLabelMode = false;
        if (labelMoveTo) labelMoveTo();
        break;
    default: break;
    }
}

QPoint Digitizer::globalPos(const Marker& m, double x, double y) const {
    return w.markers->mapToGlobal(QPoint(twips::toPx(m.Left + x), twips::toPx(m.Top + y)));
}

void Digitizer::snapTo(bool datum, int index) {
    Document& doc = w.doc;
    const auto& records = datum ? doc.DatumPoints : doc.ContourPoints;
    const Marker& m = (datum ? w.markers->labDat : w.markers->labCon)[index];
    doc.CursorMapX = records[size_t(index)].X;
    doc.CursorMapY = records[size_t(index)].Y;
    doc.MarkerLeft = float(m.Left - w.imPoints->Left());
    doc.MarkerTop = float(m.Top - w.imPoints->Top());
    MapPoint();
}

void Digitizer::pointPopup(bool datum, int index, double x, double y) {
    w.doc.SelectedPoint = points::PointKeyText(datum, index);
    // Only datum points of contact data carry a number within a contact.
    w.mnuPointNum->setEnabled(datum && w.optRock->isChecked());
    mnuPoint_Click();
    popupMenu(w.mnuPoint, globalPos((datum ? w.markers->labDat : w.markers->labCon)[index], x, y));
}

void Digitizer::labDat_MouseUp(int index, int button, double x, double y) {
    if (index < 1 || index > w.doc.DatCount || index > w.markers->labDat.count() ||
        size_t(index) >= w.doc.DatumPoints.size())
        return;
    if (button == 1) snapTo(true, index);
    else pointPopup(true, index, x, y);
}

void Digitizer::labCon_MouseUp(int index, int button, double x, double y) {
    if (index < 1 || index > w.doc.ConCount || index > w.markers->labCon.count() ||
        size_t(index) >= w.doc.ContourPoints.size())
        return;
    if (button == 1) snapTo(false, index);
    else pointPopup(false, index, x, y);
}

void Digitizer::labMap_MouseUp(int index, int, double x, double y) {
    if (index < 1 || index > w.markers->labMap.count()) return;
    w.doc.CurLabel = index;
    if (labelPopup) labelPopup(globalPos(w.markers->labMap[index], x, y));
}

void Digitizer::labRef_MouseUp(int index, int, double, double) {
    Document& doc = w.doc;
    using Clear = RefMarkerDecision::Clear;
    const RefMarkerDecision d = decideRefMarkerClick(index, doc.MapRegistered, doc.DatCount, doc.ConCount);
    if (d.clear == Clear::Nothing) return;
    const QString question = d.askMap ? QStringLiteral("Do you wish to re-register the map?")
                                      : QStringLiteral("Do you wish to re-register this point?");
    if (dlg::msgBox(question, {dlg::Buttons::YesNo, dlg::Icon::Question}) != dlg::Answer::Yes) return;
    if (d.clear == Clear::BothPoints) {
        doc.RefPixelX1 = doc.RefPixelY1 = 0;
        w.markers->labRef[1].Visible = false;
    }
    doc.RefPixelX2 = doc.RefPixelY2 = 0;
    w.markers->labRef[2].Visible = false;
    doc.MapRegistered = false;
    w.markers->update();
}

void Digitizer::recolor(ColorSwatch* swatch, bool datum) {
    // A cancelled or failed dialog changes nothing.
    try {
        dlg::CommonDialog cd;
        cd.CancelError = true;
        cd.Color = swatch->ForeColor();
        if (!dlg::showColor(cd)) return;
        swatch->setForeColor(cd.Color);
        auto& marks = datum ? w.markers->labDat : w.markers->labCon;
        const int count = std::min(datum ? w.doc.DatCount : w.doc.ConCount, marks.count());
        // Member 0 too, so that markers loaded later take the colour.
        for (int i = 0; i <= count; ++i) marks[i].ForeColor = cd.Color;
        w.markers->update();
    } catch (...) {
    }
}

void Digitizer::labDatCol_DblClick() { recolor(w.labDatCol, true); }
void Digitizer::labConCol_DblClick() { recolor(w.labConCol, false); }

// ---------------------------------------------------------------------------
// Point pop-up menu

void Digitizer::mnuPoint_Click() {
    w.mnuPointEditZ->setText(w.optRock->isChecked() ? QStringLiteral("&Edit Contact Number")
                                                    : QStringLiteral("&Edit 'Z' Coord"));
}

Digitizer::Selected Digitizer::selectedPoint() const {
    const points::PointKey key = points::ParsePointKey(w.doc.SelectedPoint);
    const int count = key.datum ? w.doc.DatCount : w.doc.ConCount;
    const auto& records = key.datum ? w.doc.DatumPoints : w.doc.ContourPoints;
    const auto& marks = key.datum ? w.markers->labDat : w.markers->labCon;
    if (key.index < 1 || key.index > count || size_t(key.index) >= records.size() || key.index > marks.count())
        legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
    return {key.datum, key.index};
}

void Digitizer::placeMarker(bool datum, int n) {
    const Document& doc = w.doc;
    const DataPoint& p = (datum ? doc.DatumPoints : doc.ContourPoints)[size_t(n)];
    Marker& m = (datum ? w.markers->labDat : w.markers->labCon)[n];
    m.Visible = false;
    // The redraw's own placement, so an edited point sits where the next
    // redraw puts it.
    const MarkerTransform t(doc, w.imPoints->Left(), w.imPoints->Top(), w.imPoints->Width(), w.imPoints->Height());
    m.Left = t.left(p.X, doc.MarkOffsetX);
    m.Top = t.top(p.Y, doc.MarkOffsetY);
    m.Visible = true;
    w.markers->bringToFront(datum ? MarkerKind::Dat : MarkerKind::Con);
    w.markers->update();
}

void Digitizer::mnuPointMove_Click() {
    guarded(w, "mnuPointMove", [&] {
        Document& doc = w.doc;
        const Selected s = selectedPoint();
        if (!m_moveExplained) {
            const QString text = QStringLiteral("Place the cross hair to the point where you wish to move ") +
                                 (s.datum ? QStringLiteral("datum point: ") : QStringLiteral("contour point: ")) +
                                 QString::number(s.n) + QStringLiteral(".");
            if (dlg::msgBox(text, {dlg::Buttons::OKCancel, dlg::Icon::Information}) == dlg::Answer::OK) {
                m_moveExplained = true;
            } else {
                doc.MovePointMode = false;
                doc.SelectedPoint.clear();
                doc.DataChanged = true;
                doc.ContoursCurrent = false;
                return;
            }
        }
        doc.MovePointMode = true;
        (s.datum ? w.markers->labDat : w.markers->labCon)[s.n].Visible = false;
        w.markers->update();
        MainWindow::DoEvents();
        doc.DataChanged = true;
        doc.ContoursCurrent = false;
    });
}

namespace {
// The kind of a point as the prompts name it.
QString promptKind(const MainWindow& w, bool datum) {
    if (datum && w.optRock->isChecked()) return QStringLiteral("Contact");
    if (w.optStruc->isChecked()) return QStringLiteral("Structure");
    return QStringLiteral("Isopach");
}
} // namespace

void Digitizer::mnuPointEditXY_Click() {
    guarded(w, "mnuPointEditXY", [&] {
        Document& doc = w.doc;
        const Selected s = selectedPoint();
        doc.SelectedPoint.clear();
        DataPoint& p = (s.datum ? doc.DatumPoints : doc.ContourPoints)[size_t(s.n)];
        namespace pn = projection_names;
        const QString& proj = doc.ProjectionName;
        const bool plain = proj == pn::Linear || proj == pn::CylindricalEquidistant;
        const bool mercator = proj == pn::StandardMercator;
        const TwoCoordProjection both = twoCoordProjection(proj);
        double lon = 0, lat = 0;
        if (plain) {
            lon = p.X;
            lat = p.Y;
        } else if (mercator) {
            lon = p.X;
            lat = ProjectMercator(doc, p.Y, false);
        } else if (both) {
            lon = both(doc, p.X, p.Y, false, true);
            lat = both(doc, p.X, p.Y, false, false);
        }
        const QString pattern = doc.CoordUnits == QLatin1String("Degrees") ? QStringLiteral("0.00000")
                                                                            : QStringLiteral("0.0");
        const QString what = promptKind(w, s.datum) +
                             (s.datum ? QStringLiteral(" Datum Point ") : QStringLiteral(" Contour Point ")) +
                             QString::number(s.n);
        const QString first = dlg::inputBox(QStringLiteral("Edit the longitude for ") + what,
                                            QStringLiteral("Map X Data"), legacy::Format(lon, pattern));
        if (first.isEmpty()) return;
        const QString second = dlg::inputBox(QStringLiteral("Edit the latitude for ") + what,
                                             QStringLiteral("Map Y Data"), legacy::Format(lat, pattern));
        if (second.isEmpty()) return;
        // A text that is no number, or a position the map cannot hold, is
        // refused: storing it would put the point somewhere the user never
        // meant, without a word.
        const bool degrees = placement::mapInDegrees(doc);
        double a = 0, b = 0;
        std::optional<QString> why =
            placement::numberRefusal(degrees ? QStringLiteral("Longitude") : QStringLiteral("Easting"), first, a);
        if (!why)
            why = placement::numberRefusal(degrees ? QStringLiteral("Latitude") : QStringLiteral("Northing"),
                                           second, b);
        // The values as a Single, as they were always taken.
        a = float(a);
        b = float(b);
        float x = p.X, y = p.Y;
        if (!why && (plain || mercator || both)) why = placement::placeLatLong(doc, a, b, x, y);
        if (why) {
            dlg::msgBox(*why + QStringLiteral(".\n\nThe point was not moved."),
                        {dlg::Buttons::OK, dlg::Icon::Exclamation});
            return;
        }
        p.Y = y;
        p.X = x;
        placeMarker(s.datum, s.n);
        doc.DataChanged = true;
        doc.ContoursCurrent = false;
    });
}

void Digitizer::mnuPointEditZ_Click() {
    guarded(w, "mnuPointEditZ", [&] {
        Document& doc = w.doc;
        const Selected s = selectedPoint();
        doc.SelectedPoint.clear();
        DataPoint& p = (s.datum ? doc.DatumPoints : doc.ContourPoints)[size_t(s.n)];
        const bool contact = s.datum && w.optRock->isChecked();
        QString title = QStringLiteral("Map Z Data");
        QString prompt;
        const QString point = s.datum ? QStringLiteral(" Datum Point ") : QStringLiteral(" Contour Point ");
        if (contact) {
            title = QStringLiteral("Map Data");
            prompt = QStringLiteral("Edit the contact designator number for Contact Datum Point ");
        } else if (w.optStruc->isChecked()) {
            prompt = QStringLiteral("Edit the elevation for Structure") + point;
        } else {
            prompt = QStringLiteral("Edit the thickness for Isopach") + point;
        }
        doc.LastZEntry = dlg::inputBox(prompt + QString::number(s.n), title, legacy::GeneralText(p.Z));
        if (doc.LastZEntry.isEmpty()) return;
        const float z = NumVal(doc.LastZEntry);
        const DataKind kind = dataKind().value_or(DataKind::Isopach);
        auto& marks = s.datum ? w.markers->labDat : w.markers->labCon;
        if (contact) {
            const float old = p.Z;
            const dlg::Answer all =
                dlg::msgBox(QStringLiteral("Would you like to change all points with this contact designator number?"),
                            {dlg::Buttons::YesNo, dlg::Icon::Question});
            if (all != dlg::Answer::Yes) {
                p.Z = z;
                marks[s.n].ToolTipText = tooltips::pointTip(kind, true, p.Number, p.Z, feet());
            } else {
                // A single contact on display follows its points to the new designator.
                if (doc.ContactShown != QLatin1String("All")) {
                    doc.ContactShown = doc.LastZEntry;
                    w.mnuViewShowContactShow->setText(QStringLiteral("Show (") + doc.ContactShown +
                                                      QStringLiteral(")..."));
                }
                const int last = std::min(doc.DatCount, marks.count());
                for (int i = 1; i <= last; ++i) {
                    DataPoint& q = doc.DatumPoints[size_t(i)];
                    if (q.Z != old) continue;
                    q.Z = z;
                    marks[i].ToolTipText = tooltips::pointTip(kind, true, q.Number, q.Z, feet());
                }
            }
        } else {
            p.Z = z;
            marks[s.n].ToolTipText = tooltips::pointTip(kind, s.datum, p.Number, p.Z, feet());
        }
        doc.DataChanged = true;
        doc.ContoursCurrent = false;
    });
}

void Digitizer::mnuPointNum_Click() {
    guarded(w, "mnuPointNum", [&] {
        Document& doc = w.doc;
        // Only datum points are renumbered, whatever the key's letter says.
        const int n = legacy::CInt(NumVal(doc.SelectedPoint.mid(1)));
        if (n < 1 || n > doc.DatCount || size_t(n) >= doc.DatumPoints.size() || n > w.markers->labDat.count())
            legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        const DataPoint& p = doc.DatumPoints[size_t(n)];
        const QString answer = dlg::inputBox(QStringLiteral("Edit the point number for Contact ") + fmt0(p.Z) +
                                                 QStringLiteral(" Datum Point: ") + QString::number(p.Number),
                                             QStringLiteral("Map Data"), QString::number(p.Number));
        if (answer.isEmpty()) return;
        const int16_t number = points::ClampPointNumber(NumVal(answer), doc.DatCount);
        for (int i : points::RenumberPoint(doc.DatumPoints, doc.DatCount, n, number)) {
            const DataPoint& q = doc.DatumPoints[size_t(i)];
            w.markers->labDat[i].ToolTipText = tooltips::pointTip(DataKind::Contacts, true, q.Number, q.Z, feet());
        }
        doc.DataChanged = true;
        doc.ContoursCurrent = false;
    });
}

void Digitizer::mnuPointDelete_Click() {
    guarded(w, "mnuPointDelete", [&] {
        Document& doc = w.doc;
        const Selected s = selectedPoint();
        doc.SelectedPoint.clear();
        w.setBusyPointers(true);
        auto& marks = s.datum ? w.markers->labDat : w.markers->labCon;
        if (!s.datum) MainWindow::DoEvents();
        for (int i = 1; i <= marks.count(); ++i) marks[i].Visible = false;
        w.markers->update();
        MainWindow::DoEvents();
        int& count = s.datum ? doc.DatCount : doc.ConCount;
        // Whole records move down, so every field (the combination flag
        // included) stays with its point, and marker i stays with record i.
        points::DeletePoint(s.datum ? doc.DatumPoints : doc.ContourPoints, count, s.n);
        marks.erase(s.n);
        (s.datum ? w.labDatNum : w.labConNum)->setText(fmt0(count));
        if (doc.DatCount + doc.ConCount == 0) w.cmdConRun->setEnabled(false);
        w.mapView->MapReplot();
        w.setBusyPointers(false);
        doc.DataChanged = true;
        doc.ContoursCurrent = false;
    });
}
