// Shared main of the test executables: isolates the settings and the
// documents folder in a temporary home, then runs the registered classes.
// Arguments: "--list-classes" prints the class names, one a line (CTest
// registers one test per class from it); a class name runs only that class,
// the rest go to QTest.  Without a class name every class runs in a process
// of its own, as CTest runs them.
// Exit codes: 0 passed, 1 failed, SkippedExitCode when every case of the
// class skipped.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <sane/sane.h>

namespace {

constexpr int SkippedExitCode = 77;

// Options that choose QTest's own output; with any of them the caller reads
// the results and no skip summary is taken.
bool choosesOutput(const char* arg) {
    for (const char* o : {"-o", "-txt", "-csv", "-junitxml", "-xunitxml", "-xml", "-lightxml", "-teamcity", "-tap"})
        if (std::strcmp(arg, o) == 0) return true;
    return false;
}

// Counts the cases of a TAP log: run (passed, failed or expected to fail)
// and skipped.  The class's start and end functions count only when skipped.
void countCases(const QString& tapFile, int& run, int& skipped) {
    run = skipped = 0;
    QFile f(tapFile);
    if (!f.open(QIODevice::ReadOnly)) return;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine();
        qsizetype at = 0;
        if (line.startsWith("ok "))
            at = 3;
        else if (line.startsWith("not ok "))
            at = 7;
        else
            continue;
        const qsizetype dash = line.indexOf(" - ", at);
        if (dash < 0) continue;
        const QByteArray name = line.mid(dash + 3);
        if (line.contains(" # SKIP")) ++skipped; // a skipped initTestCase skips every case
        else if (!name.startsWith("initTestCase(") && !name.startsWith("cleanupTestCase(")) ++run;
    }
}

int runOne(const char* name, const testing_support::Factory& make, std::vector<char*> args) {
    QTemporaryDir logDir;
    const QByteArray tapFile = (logDir.path() + QStringLiteral("/cases.tap")).toLocal8Bit();
    const QByteArray tapSpec = tapFile + ",tap";
    bool summarise = logDir.isValid();
    for (size_t i = 1; i < args.size(); ++i) summarise = summarise && !choosesOutput(args[i]);
    char o[] = "-o", console[] = "-,txt";
    if (summarise) args.insert(args.end(), {o, const_cast<char*>(tapSpec.constData()), o, console});

    auto obj = make();
    const int failed = QTest::qExec(obj.get(), static_cast<int>(args.size()), args.data());
    if (failed != 0) return 1;
    if (!summarise) return 0;
    int run = 0, skipped = 0;
    countCases(QString::fromLocal8Bit(tapFile), run, skipped);
    if (run == 0 && skipped > 0) {
        std::printf("every case of %s skipped\n", name);
        return SkippedExitCode;
    }
    return 0;
}

// Runs each class in a child process: a class that skips in its
// initTestCase would otherwise leave QTest skipping every later class.
int runAll(const std::vector<char*>& args) {
    int failed = 0, skipped = 0, ran = 0;
    QStringList rest;
    for (size_t i = 1; i < args.size(); ++i) rest << QString::fromLocal8Bit(args[i]);
    for (const auto& entry : testing_support::registry()) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(entry.first)} + rest);
        p.waitForFinished(-1);
        ++ran;
        if (p.exitStatus() != QProcess::NormalExit || (p.exitCode() != 0 && p.exitCode() != SkippedExitCode))
            ++failed;
        else if (p.exitCode() == SkippedExitCode)
            ++skipped;
    }
    std::printf("%d classes run, %d failed, %d skipped\n", ran, failed, skipped);
    return failed == 0 && ran > 0 ? 0 : 1;
}

// SANE's test scanner leaks its picture buffer when a scan ends early, and
// SANE unloads it before the leak check at exit, which then cannot tell whose
// memory it is.  In a sanitizer build it is kept loaded, so that the check
// names it and scripts/lsan-suppressions.txt can let exactly that leak pass.
void keepSaneTestBackendLoaded() {
#ifdef __SANITIZE_ADDRESS__
    Dl_info sane{};
    if (!dladdr(reinterpret_cast<void*>(&sane_init), &sane) || !sane.dli_fname) return;
    const QString backend = QFileInfo(QString::fromLocal8Bit(sane.dli_fname)).path() + "/sane/libsane-test.so.1";
    dlopen(backend.toLocal8Bit().constData(), RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list-classes") == 0) {
        for (const auto& entry : testing_support::registry()) std::printf("%s\n", entry.first);
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", (home.path() + "/Documents").toLocal8Bit());
    // Classes run in parallel: each keeps its sockets in its own runtime folder.
    const QString runtime = home.path() + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("LC_ALL", "C");

    QApplication app(argc, argv);
    testsupport::installScriptedDialogs();
    keepSaneTestBackendLoaded();

    const char* only = nullptr;
    std::vector<char*> args{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!only && argv[i][0] != '-' && std::strchr(argv[i], ':') == nullptr && i == 1)
            only = argv[i];
        else
            args.push_back(argv[i]);
    }
    if (!only) return runAll(args);
    for (const auto& [name, make] : testing_support::registry())
        if (std::strcmp(only, name) == 0) return runOne(name, make, args);
    std::fprintf(stderr, "no test class named %s\n", only);
    return 1;
}
