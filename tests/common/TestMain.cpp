// Shared main of the test executables: isolates the settings and the
// documents folder in a temporary home, then runs every registered class.
// Arguments: an optional class name runs only that class; the rest go to QTest.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", (home.path() + "/Documents").toLocal8Bit());
    qputenv("LC_ALL", "C");

    QApplication app(argc, argv);
    testsupport::installScriptedDialogs();

    const char* only = nullptr;
    std::vector<char*> args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!only && argv[i][0] != '-' && std::strchr(argv[i], ':') == nullptr && i == 1)
            only = argv[i];
        else
            args.push_back(argv[i]);
    }
    int failed = 0, ran = 0;
    for (auto& [name, make] : testing_support::registry()) {
        if (only && std::strcmp(only, name) != 0) continue;
        auto obj = make();
        ++ran;
        if (QTest::qExec(obj.get(), static_cast<int>(args.size()), args.data()) != 0) ++failed;
    }
    std::printf("%d classes run, %d failed\n", ran, failed);
    return failed == 0 && ran > 0 ? 0 : 1;
}
