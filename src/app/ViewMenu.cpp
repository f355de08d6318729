#include "app/ViewMenu.h"

#include "app/MainWindow.h"
#include "app/MenuShortcuts.h"
#include "digitize/LabelCommands.h"
#include "document/Legacy.h"

#include <QEvent>
#include <QTimer>
#include <vector>

ViewMenuEnabled viewMenuEnabled(const ViewMenuInputs& in) {
    ViewMenuEnabled e;
    e.pointsColor = in.datumOptionEnabled || in.contourOptionEnabled;
    e.pointsColorDatum = in.datumOptionEnabled;
    e.pointsColorContour = in.contourOptionEnabled;
    e.resolution = !in.contactOverlayVisible;
    e.selectContacts = in.contactData;
    e.degreeFormat = in.coordUnits == QLatin1String("Degrees");
    return e;
}

namespace {
// Every plain item under `menu`.
void collectItems(QMenu* menu, std::vector<QAction*>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (QMenu* sub = a->menu()) collectItems(sub, out);
        else out.push_back(a);
    }
}
} // namespace

ViewMenu::ViewMenu(MainWindow& main) : QObject(&main), w(main) {
    connect(w.mnuView, &QMenu::aboutToShow, this, &ViewMenu::mnuView_Click);
    connect(w.mnuViewPointsColor, &QMenu::aboutToShow, this, &ViewMenu::mnuViewPointsColor_Click);
    connect(w.mnuViewPointsColorDat, &QAction::triggered, this, &ViewMenu::mnuViewPointsColorDat_Click);
    connect(w.mnuViewPointsColorCon, &QAction::triggered, this, &ViewMenu::mnuViewPointsColorCon_Click);
    // "Check Contours" is a checkable item: a click toggles its check and
    // nothing else, which the item does by itself.
    w.mnuViewCheck->setCheckable(true);
    connect(w.mnuViewShowLabels, &QAction::triggered, this, &ViewMenu::mnuViewShowLabels_Click);
    connect(w.mnuViewShowMap, &QAction::triggered, this, &ViewMenu::mnuViewShowMap_Click);
    connect(w.mnuViewShowCon, &QAction::triggered, this, &ViewMenu::mnuViewShowCon_Click);

    // Keep the enabled states current as their inputs change, not only when
    // the menu opens: a keyboard shortcut reaches an item without opening it.
    for (QWidget* input : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.imContacts})
        input->installEventFilter(this);
    connect(w.optRock, &QAbstractButton::toggled, this, &ViewMenu::scheduleUpdate);
    std::vector<QAction*> coordItems;
    collectItems(w.mnuCoord, coordItems);
    for (QAction* a : coordItems) {
        connect(a, &QAction::toggled, this, &ViewMenu::scheduleUpdate);
        connect(a, &QAction::triggered, this, &ViewMenu::scheduleUpdate);
    }
    // And look at the rules once more as an item's shortcut arrives, in case
    // an input changed unannounced.
    w.menuShortcuts->watch(w.mnuView, [this] { updateEnabled(); });
    updateEnabled();
}

ViewMenuInputs ViewMenu::inputs() const {
    ViewMenuInputs in;
    in.datumOptionEnabled = w.optDat->isEnabled();
    in.contourOptionEnabled = w.optCon->isEnabled();
    in.contactData = w.optRock->isChecked();
    in.contactOverlayVisible = !w.imContacts->isHidden();
    in.coordUnits = w.doc.CoordUnits;
    return in;
}

void ViewMenu::setMenuEnabled(QMenu* menu, bool on) { menu->menuAction()->setEnabled(on); }

void ViewMenu::updateEnabled() {
    m_updateQueued = false;
    const ViewMenuEnabled e = viewMenuEnabled(inputs());
    setMenuEnabled(w.mnuViewPointsColor, e.pointsColor);
    w.mnuViewPointsColorDat->setEnabled(e.pointsColorDatum);
    w.mnuViewPointsColorCon->setEnabled(e.pointsColorContour);
    setMenuEnabled(w.mnuViewRes, e.resolution);
    setMenuEnabled(w.mnuViewShowContact, e.selectContacts);
    setMenuEnabled(w.mnuViewLatLong, e.degreeFormat);
}

void ViewMenu::scheduleUpdate() {
    updateEnabled();
    // Some inputs (the coordinate units) are stored just after the signal
    // that announces them; look again once the current command is done.
    if (m_updateQueued) return;
    m_updateQueued = true;
    QTimer::singleShot(0, this, [this] {
        if (m_updateQueued) updateEnabled();
    });
}

bool ViewMenu::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (watched->isWidgetType()) scheduleUpdate();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
void ViewMenu::mnuView_Click() { updateEnabled(); }

void ViewMenu::mnuViewPointsColor_Click() {
    w.mnuViewPointsColorDat->setEnabled(w.optDat->isEnabled());
    w.mnuViewPointsColorCon->setEnabled(w.optCon->isEnabled());
}

void ViewMenu::mnuViewPointsColorDat_Click() { emit w.labDatCol->doubleClicked(); }

void ViewMenu::mnuViewPointsColorCon_Click() { emit w.labConCol->doubleClicked(); }

void ViewMenu::mnuViewCheck_Click() { w.mnuViewCheck->setChecked(!w.mnuViewCheck->isChecked()); }

void ViewMenu::mnuViewShowLabels_Click(bool nowChecked) {
    if (nowChecked) {
        // It was unchecked: check it and lay the labels out.
        w.mnuViewShowLabels->setChecked(true);
        try {
            w.labelCommands->LabelReplot();
        } catch (const legacy::Error& e) {
            w.reportError(QStringLiteral("LabelReplot error: "), e.description());
        }
        return;
    }
    w.mnuViewShowLabels->setChecked(false);
    for (int i = 1; i <= w.doc.LabelCount && i <= w.markers->labMap.count(); ++i) w.markers->labMap[i].Visible = false;
    w.markers->update();
    if (!w.imPoints->isHidden()) w.LabelsShown = false;
    else w.LabelsSuppressed = true;
}

void ViewMenu::mnuViewShowMap_Click() {
    if (w.cmdShow_Click) w.cmdShow_Click();
}

void ViewMenu::mnuViewShowCon_Click() {
    if (w.cmdShow_Click) w.cmdShow_Click();
}
