// Speed and memory of the data import at full scale.  A column text file of
// 31000 data lines (one header line) is read by the parser alone in both
// modes, by the whole command on the real main window offscreen (the column
// dialog's listing, 31000 records appended with their markers, the
// completion and the redraw), and, in the same run, by a plain Python csv
// read of the same file (rows only, and rows turned into numbers): the
// reference the import is held to.  The listing of a 1 000 000-line file
// reports how much the process grows while the column dialog shows it, and
// what is left once the dialog is closed.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "document/Document.h"
#include "exchange/ColumnDialog.h"
#include "exchange/ImportCommands.h"
#include "exchange/ImportParser.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>
#include "BenchWindow.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int DataLines = 31000;
constexpr int BigLines = 1000000;
MainWindow* g_window = nullptr;
QString g_commaFile;
QString g_streamFile;
QString g_bigFile;

QByteArray fileText(bool comma, int lines) {
    QByteArray out = comma ? "East,North,Value\r\n" : "East North Value\r\n";
    for (long long i = 1; i <= lines; ++i) {
        const QByteArray x = QByteArray::number((i * 7919) % 10000 + 0.25);
        const QByteArray y = QByteArray::number((i * 104729) % 10000 + 0.5);
        const QByteArray z = QByteArray::number(i % 40);
        out += comma ? x + "," + y + "," + z + "\r\n" : x + "\t" + y + "  " + z + "\r\n";
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
}

dlg::ScriptedProvider& script() { return *static_cast<dlg::ScriptedProvider*>(&dlg::provider()); }

// The parser alone: the file read from disk, decoded and split into records.
void BM_ReadComma(benchmark::State& state) {
    for (auto _ : state) {
        const importer::TextLines lines = importer::TextLines::fromFile(g_commaFile);
        importer::RecordReader r(lines, QStringLiteral("xyz0"), importer::RecordReader::Mode::Comma);
        r.skipLines(1);
        int missing = 0;
        float sum = 0;
        while (!r.atEnd()) sum += r.read(missing).Z;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadComma)->Unit(benchmark::kMillisecond);

void BM_ReadStream(benchmark::State& state) {
    for (auto _ : state) {
        const importer::TextLines lines = importer::TextLines::fromFile(g_streamFile);
        importer::RecordReader r(lines, QStringLiteral("xyz0"), importer::RecordReader::Mode::Stream);
        r.skipLines(1);
        int missing = 0;
        float sum = 0;
        while (!r.atEnd()) sum += r.read(missing).Z;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadStream)->Unit(benchmark::kMillisecond);

// Python's csv module on the same comma file, timed inside Python so that
// the interpreter's start is not counted.  Arg 0: the rows as read; arg 1:
// the three fields of each row turned into numbers, as the import does.
void BM_PythonCsv(benchmark::State& state) {
    const QString program = QStringLiteral(
        "import csv, sys, time\n"
        "t = time.perf_counter()\n"
        "with open(sys.argv[1], newline='') as f:\n"
        "    rows = list(csv.reader(f))\n"
        "if sys.argv[2] == '1':\n"
        "    rows = [(float(a), float(b), float(c)) for a, b, c in rows[1:]]\n"
        "print(time.perf_counter() - t)\n");
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral("python3"), {QStringLiteral("-c"), program, g_commaFile, QString::number(state.range(0))});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            state.SkipWithError("python3 is not available");
            return;
        }
        state.SetIterationTime(p.readAllStandardOutput().trimmed().toDouble());
    }
}
BENCHMARK(BM_PythonCsv)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ListFile(benchmark::State& state) {
    MainWindow& w = *g_window;
    w.doc.ImportFile = g_commaFile;
    ColumnDialog& d = ColumnDialog::frmImEx(w);
    for (auto _ : state) d.ShowFile();
    state.counters["lines"] = double(d.LineNumber);
    d.cmdCancel_Click();
}
BENCHMARK(BM_ListFile)->Unit(benchmark::kMillisecond);

// The resident size of the process in MB.
double residentMB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / 1e6 : 0;
}

// The column dialog listing a 1 000 000-line file, shown and scrolled to
// its end, then cancelled; the figures are those of the last run, after the
// first has loaded what any showing of the dialog loads.
void BM_ListBigFileMemory(benchmark::State& state) {
    MainWindow& w = *g_window;
    w.doc.ImportFile = g_bigFile;
    ColumnDialog& d = ColumnDialog::frmImEx(w);
    double grown = 0, left = 0;
    for (auto _ : state) {
        const double before = residentMB();
        d.ShowFile();
        d.show();
        d.List1->scrollToBottom();
        QCoreApplication::processEvents();
        grown = residentMB() - before;
        d.cmdCancel_Click();
        QCoreApplication::processEvents();
        left = residentMB() - before;
    }
    state.counters["file_MB"] = double(QFile(g_bigFile).size()) / 1e6;
    state.counters["grown_MB"] = grown;
    state.counters["left_after_close_MB"] = left;
}
BENCHMARK(BM_ListBigFileMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

void importOnce(MainWindow& w, bool contact) {
    script().clear();
    script().queue(g_commaFile);
    script().queue(dlg::WindowScript([contact](QDialog* dialog) {
        auto* d = static_cast<ColumnDialog*>(dialog);
        (contact ? d->optRock : d->optStruc)->setValue(true);
        d->optComma->setValue(true);
        d->optData[2]->setValue(true);
        d->txtHead->setText(QStringLiteral("1"));
        d->cmdOK_Click();
        return int(QDialog::Accepted);
    }));
    w.optRock->setEnabled(true);
    w.optStruc->setEnabled(true);
    w.importCommands->mnuFileImportData_Click();
}

// The whole command, from the open dialog to the map painted with the new
// markers.
void BM_ImportCommand(benchmark::State& state) {
    MainWindow& w = *g_window;
    const bool contact = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.doc.DatumPoints.clear();
        w.doc.DatCount = 0;
        w.markers->labDat.unloadAll();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        importOnce(w, contact);
        QCoreApplication::processEvents();
    }
    state.counters["points"] = w.doc.DatCount;
}
BENCHMARK(BM_ImportCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    OffscreenApp app(argc, argv);
    const QTemporaryDir& home = app.home();

    g_commaFile = home.filePath(QStringLiteral("points.csv"));
    g_streamFile = home.filePath(QStringLiteral("points.txt"));
    g_bigFile = home.filePath(QStringLiteral("big.csv"));
    writeFile(g_commaFile, fileText(true, DataLines));
    writeFile(g_streamFile, fileText(false, DataLines));
    writeFile(g_bigFile, fileText(true, BigLines));
    auto w = registeredWindow(app);
    g_window = w.get();
    const int rc = runBenchmarks(argc, argv);
    g_window = nullptr;
    return rc;
}
