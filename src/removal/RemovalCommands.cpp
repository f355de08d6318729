#include "removal/RemovalCommands.h"

#include "app/MainWindow.h"
#include "digitize/Digitizer.h"
#include "document/Legacy.h"
#include "map/MapView.h"
#include "map/MarkerPlacement.h"
#include "platform/Dialogs.h"

#include <QTimer>
#include <new>

using removal::FilterRule;
using removal::Quantity;
using removal::Removed;

namespace {

const QString DatErrorPrefix = QStringLiteral("mnuOptClearDat error: ");
const QString ConErrorPrefix = QStringLiteral("mnuOptClearCon error: ");

QString describe(const std::exception& e) {
    if (auto* le = dynamic_cast<const legacy::Error*>(&e)) return le->description();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return QStringLiteral("Out of memory");
    return QString::fromLocal8Bit(e.what());
}

bool confirmed(const QString& question) {
    return dlg::msgBox(question, {dlg::Buttons::YesNo, dlg::Icon::Question}) == dlg::Answer::Yes;
}

QString count0(int n) { return legacy::Format(n, QStringLiteral("0")); }

// Keeps the records and markers at `kept` (ascending, 1-based), in order.
// Each point keeps its whole record and its marker keeps its own state
// (colour, font), so nothing about a remaining point changes but its index.
void keepOnly(std::vector<DataPoint>& points, int& count, MarkerArray<Marker>& marks, const std::vector<int>& kept) {
    std::vector<DataPoint> records(kept.size() + 1);
    MarkerArray<Marker> old = marks;
    marks.unloadAll();
    for (size_t k = 0; k < kept.size(); ++k) {
        records[k + 1] = points[size_t(kept[k])];
        marks.load(int(k) + 1) = old[kept[k]];
    }
    points.swap(records);
    count = int(kept.size());
}

} // namespace

RemovalCommands::RemovalCommands(MainWindow& main) : QObject(&main), w(main) {
    m_idle = new QTimer(this);
    m_idle->setInterval(50);
    connect(m_idle, &QTimer::timeout, this, &RemovalCommands::runDeferred);
    struct Filter {
        QAction* item;
        bool datum;
        const char* prompt;
        const char* confirm;
        FilterRule rule;
    };
    const char* const xBelow = "Enter the X value (longitude) below which to remove points";
    const char* const xAbove = "Enter the X value (longitude) above which to remove points";
    const char* const yBelow = "Enter the Y value (latitude) below which to remove points";
    const char* const yAbove = "Enter the Y value (latitude) above which to remove points";
    const char* const zBelow = "Enter the Z value below which to remove points";
    const char* const zAbove = "Enter the Z value above which to remove points";
    const Filter filters[] = {
        {w.mnuOptClearDatOne, true, "Enter the contact designator number to remove",
         "Do you wish to remove all datum points for contact: ", {Quantity::ContactText, Removed::TextEquals}},
        {w.mnuOptClearDatAllbutOne, true, "Enter the contact designator number to retain",
         "Do you wish to remove all datum points except those of contact: ",
         {Quantity::ContactText, Removed::TextDiffers}},
        {w.mnuOptClearDatXLess, true, xBelow, "Do you wish to remove all datum points with X < ",
         {Quantity::Longitude, Removed::Less}},
        {w.mnuOptClearDatXGreater, true, xAbove, "Do you wish to remove all datum points with X > ",
         {Quantity::Longitude, Removed::Greater}},
        {w.mnuOptClearDatYLess, true, yBelow, "Do you wish to remove all datum points with Y < ",
         {Quantity::Latitude, Removed::Less}},
        {w.mnuOptClearDatYGreater, true, yAbove, "Do you wish to remove all datum points with Y > ",
         {Quantity::Latitude, Removed::Greater}},
        {w.mnuOptClearDatZLess, true, zBelow, "Do you wish to remove all datum points with Z < ",
         {Quantity::Z, Removed::Less}},
        {w.mnuOptClearDatZGreater, true, zAbove, "Do you wish to remove all datum points with Z > ",
         {Quantity::Z, Removed::Greater}},
        {w.mnuOptClearConXLess, false, xBelow, "Do you wish to remove all contour points with X < ",
         {Quantity::Longitude, Removed::Less}},
        {w.mnuOptClearConXGreater, false, xAbove, "Do you wish to remove all contour points with X > ",
         {Quantity::Longitude, Removed::Greater}},
        {w.mnuOptClearConYLess, false, yBelow, "Do you wish to remove all contour points with Y < ",
         {Quantity::Latitude, Removed::Less}},
        {w.mnuOptClearConYGreater, false, yAbove, "Do you wish to remove all contour points with Y > ",
         {Quantity::Latitude, Removed::Greater}},
        {w.mnuOptClearConZLess, false, zBelow, "Do you wish to remove all contour points with Z < ",
         {Quantity::Z, Removed::Less}},
        {w.mnuOptClearConZGreater, false, zAbove, "Do you wish to remove all contour points with Z > ",
         {Quantity::Z, Removed::Greater}},
    };
    for (const Filter& f : filters) {
        connect(f.item, &QAction::triggered, this,
                [this, datum = f.datum, prompt = QString::fromLatin1(f.prompt),
                 confirm = QString::fromLatin1(f.confirm), rule = f.rule] { FilterPoints(datum, prompt, confirm, rule); });
    }
    connect(w.mnuOptClearDat, &QMenu::aboutToShow, this, &RemovalCommands::mnuOptClearDat_Click);
    connect(w.mnuOptClearDatAll, &QAction::triggered, this, &RemovalCommands::mnuOptClearDatAll_Click);
    connect(w.mnuOptClearConAll, &QAction::triggered, this, &RemovalCommands::mnuOptClearConAll_Click);
    connect(w.mnuOptClearAll, &QAction::triggered, this, &RemovalCommands::mnuOptClearAll_Click);
}

void RemovalCommands::mnuOptClearDat_Click() {
    const bool contacts = w.optRock->isChecked();
    w.mnuOptClearDatOne->setEnabled(contacts);
    w.mnuOptClearDatAllbutOne->setEnabled(contacts);
    w.mnuOptClearDatZGreater->setEnabled(!contacts);
    w.mnuOptClearDatZLess->setEnabled(!contacts);
}

bool RemovalCommands::deferWhileBusy(std::function<void()> command) {
    if (!w.doc.MapBusy) return false;
    m_deferred.push_back(std::move(command));
    m_idle->start();
    return true;
}

void RemovalCommands::runDeferred() {
    if (w.doc.MapBusy) return;
    if (m_deferred.empty()) {
        m_idle->stop();
        return;
    }
    const std::function<void()> command = std::move(m_deferred.front());
    m_deferred.pop_front();
    if (m_deferred.empty()) m_idle->stop();
    command();
}

void RemovalCommands::FilterPoints(bool datum, const QString& prompt, const QString& confirmPrefix, FilterRule rule) {
    Document& d = w.doc;
    // Put off, it still needs a point of its set when its turn comes, as the
    // Edit menu asked when it was chosen.
    if (deferWhileBusy([=, this] {
            if ((datum ? w.doc.DatCount : w.doc.ConCount) > 0) FilterPoints(datum, prompt, confirmPrefix, rule);
        }))
        return;
    try {
        const QString answer = dlg::inputBox(prompt, QString(), QString());
        if (answer.isEmpty()) return;
        if (!confirmed(confirmPrefix + answer + QStringLiteral(" ?"))) return;

        auto& points = datum ? d.DatumPoints : d.ContourPoints;
        int& count = datum ? d.DatCount : d.ConCount;
        auto& marks = datum ? w.markers->labDat : w.markers->labCon;
        if (count > 0 && (points.size() < size_t(count) + 1 || marks.count() < count))
            legacy::raise(legacy::ErrorCode::SubscriptOutOfRange);
        const std::vector<int> kept = removal::keptIndexes(d, points, count, rule, answer);
        // A filter never empties its set: the last points go only by the
        // commands that remove all of them.
        if (!kept.empty()) keepOnly(points, count, marks, kept);

        (datum ? w.labDatNum : w.labConNum)->setText(count0(count));
        w.mapView->MapReplot();
        if (d.DatCount == 0 && d.ConCount == 0) resetContourControls(true);
        afterRemoval();
    } catch (const std::exception& e) {
        w.reportError(datum ? DatErrorPrefix : ConErrorPrefix, describe(e));
    }
}

void RemovalCommands::mnuOptClearDatAll_Click() {
    Document& d = w.doc;
    if (deferWhileBusy([this] {
            if (w.doc.DatCount > 0) mnuOptClearDatAll_Click();
        }))
        return;
    try {
        if (!confirmed(QStringLiteral("Do you wish to remove all Datum points?"))) return;
        w.markers->labDat.unloadAll();
        d.DatumPoints.clear();
        d.DatCount = 0;
        w.mapView->MapReplot();
        w.labDatNum->setText(count0(d.DatCount));
        if (d.ConCount == 0) resetContourControls(true);
        afterRemoval();
    } catch (const std::exception& e) {
        w.reportError(DatErrorPrefix, describe(e));
    }
}

void RemovalCommands::mnuOptClearConAll_Click() {
    Document& d = w.doc;
    if (deferWhileBusy([this] {
            if (w.doc.ConCount > 0) mnuOptClearConAll_Click();
        }))
        return;
    try {
        if (!confirmed(QStringLiteral("Do you wish to remove all Contour points?"))) return;
        d.ContourPoints.clear();
        w.markers->labCon.unloadAll();
        d.ConCount = 0;
        w.mapView->MapReplot();
        w.labConNum->setText(count0(d.ConCount));
        if (d.DatCount == 0) resetContourControls(false);
        afterRemoval();
    } catch (const std::exception& e) {
        w.reportError(ConErrorPrefix, describe(e));
    }
}

void RemovalCommands::mnuOptClearAll_Click() {
    Document& d = w.doc;
    if (deferWhileBusy([this] {
            if (w.doc.DatCount > 0 || w.doc.ConCount > 0) mnuOptClearAll_Click();
        }))
        return;
    try {
        if (!confirmed(QStringLiteral("Do you wish to remove all (Datum and Contour) points?"))) return;
        d.ContourPoints.clear();
        d.DatumPoints.clear();
        w.markers->labDat.unloadAll();
        w.markers->labCon.unloadAll();
        d.DatCount = 0;
        d.ConCount = 0;
        w.mapView->MapReplot();
        w.labDatNum->setText(count0(d.DatCount));
        w.labConNum->setText(count0(d.ConCount));

        w.mnuViewShow->menuAction()->setEnabled(false);
        w.cmdShow->setEnabled(false);
        w.cmdShow->setText(QStringLiteral("Show Contours"));
        w.cmdShow->setToolTip(QStringLiteral("Click to show contour map"));
        w.Frame7->setTitle(QStringLiteral("Contours"));
        // Nothing of the old data's range stays for a Manual Scale of the next.
        w.resetRangeBoxes();
        w.txtConDet->setText(QString::number(d.ContourDetail));
        for (QWidget* c : std::initializer_list<QWidget*>{w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines,
                                                          w.optLo, w.optMed, w.optHi})
            c->setEnabled(false);
        for (OptionButton* o : {w.optRock, w.optStruc, w.optIso}) o->setEnabled(true);
        for (OptionButton* o : {w.optRock, w.optStruc, w.optIso}) o->setValue(false);
        rewritePointsLine();
        w.optDat->setEnabled(true);
        w.optCon->setEnabled(true);
        w.labDatCol->setEnabled(false);
        w.labConCol->setEnabled(false);
        w.optDat->setValue(false);
        w.optCon->setValue(false);
        for (QWidget* c : std::initializer_list<QWidget*>{w.labConDat, w.cmdConDat[0], w.cmdConDat[1], w.cmdConRun,
                                                          w.cmdConSave})
            c->setEnabled(false);
        afterRemoval();
    } catch (const std::exception& e) {
        w.reportError(QStringLiteral("mnuOptClearAll error: "), describe(e));
    }
}

void RemovalCommands::resetContourControls(bool kindCaptions) {
    w.mnuViewShow->menuAction()->setEnabled(false);
    w.cmdShow->setEnabled(false);
    const bool contacts = w.optRock->isChecked();
    if (!kindCaptions) {
        w.cmdShow->setText(QStringLiteral("Show Contours"));
    } else if (!contacts) {
        w.cmdShow->setText(QStringLiteral("Show Contours"));
        w.cmdShow->setToolTip(QStringLiteral("Click to show contour map"));
        w.Frame7->setTitle(QStringLiteral("Contours"));
    } else {
        w.cmdShow->setText(QStringLiteral("Show Contacts"));
        w.cmdShow->setToolTip(QStringLiteral("Click to show contact map"));
        w.Frame7->setTitle(QStringLiteral("Contacts"));
    }
    w.txtConDet->setText(QString::number(w.doc.ContourDetail));
    // No point is left: nothing of the old data's range stays either.
    w.resetRangeBoxes();
    for (QWidget* c : std::initializer_list<QWidget*>{w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines,
                                                      w.optLo, w.optMed, w.optHi})
        c->setEnabled(false);
    for (OptionButton* o : {w.optRock, w.optStruc, w.optIso}) {
        o->setEnabled(true);
        o->setValue(false);
    }
    rewritePointsLine();
    for (QWidget* c : std::initializer_list<QWidget*>{w.labConDat, w.cmdConDat[0], w.cmdConDat[1], w.cmdConRun,
                                                      w.cmdConSave})
        c->setEnabled(false);
    for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.labDatCol, w.labConCol}) c->setEnabled(true);
    w.optDat->setValue(false);
    w.optCon->setValue(false);
}

void RemovalCommands::afterRemoval() {
    w.doc.DataChanged = true;
    w.doc.ContoursCurrent = false;
    // Points recorded into an emptied document are a new data set: their
    // first save asks for a name rather than replacing the earlier project.
    if (w.doc.DatCount + w.doc.ConCount == 0) w.doc.AskProjectName = true;
}

void RemovalCommands::rewritePointsLine() {
    // The points line was drawn for the old kind ("All Contact Points"): with
    // no kind chosen it reads as on a newly registered map.
    const Document& d = w.doc;
    const DataKind kind = w.digitizer->dataKind().value_or(DataKind::Isopach);
    w.labText->setText(pointsLineText(kind, d.ContactShown, d.DatCount, d.ConCount));
}
