// The application object: a last safety net so that an error no command
// caught is reported, and the user's work kept, instead of ending the program.
#pragma once

#include <QApplication>
#include <functional>

class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs one delivery; an error escaping it is shown in a message box and
    // the delivery counts as not handled.
    static bool deliverReporting(const std::function<bool()>& deliver);
};
