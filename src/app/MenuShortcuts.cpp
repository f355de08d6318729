#include "app/MenuShortcuts.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <set>

MenuShortcuts::MenuShortcuts(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

void MenuShortcuts::watch(QMenu* menu, std::function<void()> dropDown) {
    m_dropDowns.push_back(std::make_unique<std::function<void()>>(std::move(dropDown)));
    collect(menu, {}, m_dropDowns.back().get());
}

void MenuShortcuts::collect(QMenu* menu, std::vector<QMenu*> chain, const std::function<void()>* dropDown) {
    chain.push_back(menu);
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (QMenu* sub = a->menu()) collect(sub, chain, dropDown);
        else m_ways[a] = Way{chain, dropDown};
    }
}

// A key that may be a shortcut is first offered to the focused widget and
// its parents as a ShortcutOverride, before the shortcuts are looked up:
// the items it belongs to are settled then, since a disabled item is not
// even looked at afterwards.
bool MenuShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
    std::set<const std::function<void()>*> settled;
    bool blocked = false;
    for (const auto& [item, way] : m_ways) {
        if (!item->shortcuts().contains(key)) continue;
        if (*way.dropDown && settled.insert(way.dropDown).second) (*way.dropDown)();
        for (QMenu* m : way.menus)
            if (!m->menuAction()->isEnabled()) blocked = true;
    }
    if (!blocked) return QObject::eventFilter(watched, event);
    // A menu on the item's way is disabled: the key is kept from the
    // shortcut, as the item could not be reached in the menus.
    event->accept();
    return true;
}
