// What a window's controls show the user -- enabled or not, shown or hidden,
// chosen or not, their captions and tool tips, and the window's caption --
// recorded so that a command which fails can leave the window as it was.
#pragma once

#include <QPointer>
#include <QString>
#include <vector>

class QWidget;

class WindowStates {
public:
    // Records the controls of `window` and the items of its menus; its own
    // dialogs keep their states, which are theirs between uses.
    explicit WindowStates(QWidget& window);

    // Puts back every state that differs from the record.  No handler of the
    // controls runs meanwhile: what those handlers set is in the record too.
    void restore() const;

private:
    struct Control {
        QPointer<QObject> object;
        bool enabled = true;
        bool hidden = false;
        bool checked = false;
        QString caption;
        QString toolTip;
    };
    static Control read(QObject* object);

    QPointer<QWidget> m_window;
    QString m_title;
    std::vector<Control> m_controls;
};
