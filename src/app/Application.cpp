#include "app/Application.h"

#include "document/Legacy.h"
#include "platform/Dialogs.h"

#include <exception>

bool Application::notify(QObject* receiver, QEvent* event) {
    return deliverReporting([&] { return QApplication::notify(receiver, event); });
}

bool Application::deliverReporting(const std::function<bool()>& deliver) {
    QString description;
    try {
        return deliver();
    } catch (const legacy::Error& e) {
        description = e.description();
    } catch (const std::exception& e) {
        description = QString::fromLocal8Bit(e.what());
    } catch (...) {
        description = legacy::errorText(legacy::ErrorCode::Custom);
    }
    dlg::msgBox(QStringLiteral("Vexolan error: ") + QStringLiteral("\n\n") + description,
                {dlg::Buttons::OK, dlg::Icon::Exclamation});
    return false;
}
