// Program entry: one instance per user and display; a second start there
// brings the first window forward and ends.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "platform/SingleInstance.h"
#include "platform/Sound.h"

#include <QApplication>
#include <QImageReader>

int main(int argc, char** argv) {
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexolan"));
    QApplication::setOrganizationName(QStringLiteral("Ferno"));
    // Scanned maps are large; let the decoders take them, and report what is
    // still too large as a load error.
    QImageReader::setAllocationLimit(2048);

    SingleInstance instance;
    if (instance.activatePrevious(QStringLiteral("Vexolan"))) {
        sound::PlaySystemSound(QStringLiteral("RestoreUp"), false);
        return 0;
    }

    MainWindow w;
    instance.onActivateRequest = [&w] { SingleInstance::bringToFront(&w); };
    w.FormLoad();
    w.show();
    return app.exec();
}
