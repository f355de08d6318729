// Keyboard shortcuts of menu items act as the items would in their menus
// opened now: the menu's drop-down rules run first, and the item runs only
// when it and every menu on its way are enabled.  Without this a shortcut
// would act on the enabled state the menu was last left in.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QWidget;

class MenuShortcuts : public QObject {
public:
    // Watches the keys that reach `window`.
    explicit MenuShortcuts(QWidget* window);

    // Watches every item under `menu`; `dropDown` applies the menu's
    // enabling rules as its drop-down does (nothing for a menu without
    // rules).
    void watch(QMenu* menu, std::function<void()> dropDown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Way {
        std::vector<QMenu*> menus; // the submenus leading to the item, outermost first
        const std::function<void()>* dropDown = nullptr;
    };
    void collect(QMenu* menu, std::vector<QMenu*> chain, const std::function<void()>* dropDown);

    QWidget* m_window;
    std::vector<std::unique_ptr<std::function<void()>>> m_dropDowns;
    std::map<QAction*, Way> m_ways;
};
