#include "app/WindowStates.h"

#include "app/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>

namespace {

// A control of `window` itself: neither one of its dialogs nor a control in
// one.  Menus are windows of their own, but their items belong to the window.
bool ownControl(QObject* object, const QWidget& window) {
    for (QObject* o = object; o; o = o->parent()) {
        if (o == &window) return true;
        auto* widget = qobject_cast<QWidget*>(o);
        if (widget && widget->isWindow() && !qobject_cast<QMenu*>(widget)) return false;
    }
    return false;
}

QString captionOf(QObject* o) {
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
    if (auto* a = qobject_cast<QAction*>(o)) return a->text();
    return {};
}

void setCaption(QObject* o, const QString& caption) {
    if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(caption);
    else if (auto* l = qobject_cast<QLabel*>(o)) l->setText(caption);
    else if (auto* g = qobject_cast<QGroupBox*>(o)) g->setTitle(caption);
    else if (auto* a = qobject_cast<QAction*>(o)) a->setText(caption);
}

QString toolTipOf(QObject* o) {
    if (auto* w = qobject_cast<QWidget*>(o)) return w->toolTip();
    if (auto* a = qobject_cast<QAction*>(o)) return a->toolTip();
    return {};
}

void setToolTip(QObject* o, const QString& tip) {
    if (auto* w = qobject_cast<QWidget*>(o)) w->setToolTip(tip);
    else if (auto* a = qobject_cast<QAction*>(o)) a->setToolTip(tip);
}

void setChecked(QObject* o, bool on) {
    if (auto* option = qobject_cast<OptionButton*>(o)) option->setValue(on);
    else if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setChecked(on);
    else if (auto* a = qobject_cast<QAction*>(o)) a->setChecked(on);
}

} // namespace

WindowStates::Control WindowStates::read(QObject* object) {
    Control c;
    c.object = object;
    c.caption = captionOf(object);
    c.toolTip = toolTipOf(object);
    if (auto* w = qobject_cast<QWidget*>(object)) {
        // The control's own state: one disabled only with its frame is enabled.
        c.enabled = !w->testAttribute(Qt::WA_ForceDisabled);
        c.hidden = w->isHidden();
        auto* b = qobject_cast<QAbstractButton*>(w);
        c.checked = b && b->isChecked();
    } else if (auto* a = qobject_cast<QAction*>(object)) {
        c.enabled = a->isEnabled();
        c.hidden = !a->isVisible();
        c.checked = a->isChecked();
    }
    return c;
}

WindowStates::WindowStates(QWidget& window) : m_window(&window), m_title(window.windowTitle()) {
    for (QWidget* w : window.findChildren<QWidget*>())
        if (!qobject_cast<QMenu*>(w) && ownControl(w, window)) m_controls.push_back(read(w));
    // The menu items after the controls: putting a control back may run a
    // menu's enabling rules, whose items then take their recorded states.
    for (QAction* a : window.findChildren<QAction*>())
        if (ownControl(a, window)) m_controls.push_back(read(a));
}

void WindowStates::restore() const {
    if (!m_window) return;
    std::vector<QSignalBlocker> quiet;
    quiet.reserve(m_controls.size());
    for (const Control& c : m_controls)
        if (c.object) quiet.emplace_back(c.object.data());
    // The choices first, those to clear before those to make: choosing an
    // option clears the others of its group.
    for (const bool on : {false, true})
        for (const Control& c : m_controls)
            if (c.object && c.checked == on && read(c.object).checked != on) setChecked(c.object, on);
    for (const Control& c : m_controls) {
        if (!c.object) continue;
        if (captionOf(c.object) != c.caption) setCaption(c.object, c.caption);
        // After the caption: a menu item without a tip of its own shows its
        // caption, and must not be given one.
        if (toolTipOf(c.object) != c.toolTip) setToolTip(c.object, c.toolTip);
        const Control now = read(c.object);
        if (auto* w = qobject_cast<QWidget*>(c.object)) {
            if (now.enabled != c.enabled) w->setEnabled(c.enabled);
            if (now.hidden != c.hidden) w->setHidden(c.hidden);
        } else if (auto* a = qobject_cast<QAction*>(c.object)) {
            if (now.enabled != c.enabled) a->setEnabled(c.enabled);
            if (now.hidden != c.hidden) a->setVisible(!c.hidden);
        }
    }
    if (m_window->windowTitle() != m_title) m_window->setWindowTitle(m_title);
}
