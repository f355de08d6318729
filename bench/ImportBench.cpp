// Speed of the data import at full scale, a column text file of 32767 lines:
// the reading alone in both modes, the listing of the file in the column
// dialog, and the whole command on the real main window offscreen (31000
// records appended with their markers, then the completion and the redraw),
// for structural and contact data.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "document/Document.h"
#include "document/Legacy.h"
#include "exchange/ColumnDialog.h"
#include "exchange/ImportCommands.h"
#include "exchange/ImportParser.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include "BenchWindow.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Lines = 32767;
MainWindow* g_window = nullptr;
QString g_commaFile;
QString g_streamFile;

QByteArray fileText(bool comma) {
    QByteArray out = "East North Value\r\n";
    for (long long i = 1; i < Lines; ++i) {
        const QByteArray x = QByteArray::number((i * 7919) % 10000 + 0.25);
        const QByteArray y = QByteArray::number((i * 104729) % 10000 + 0.5);
        const QByteArray z = QByteArray::number(i % 40);
        out += comma ? x + "," + y + "," + z + "\r\n" : x + "\t" + y + "  " + z + "\r\n";
    }
    return out;
}

dlg::ScriptedProvider& script() { return *static_cast<dlg::ScriptedProvider*>(&dlg::provider()); }

void BM_ReadComma(benchmark::State& state) {
    const QString text = legacy::decodeLatin1(legacy::readFileBytes(g_commaFile));
    for (auto _ : state) {
        importer::RecordReader r(text, QStringLiteral("xyz0"), importer::RecordReader::Mode::Comma);
        r.skipLines(1);
        int missing = 0;
        float sum = 0;
        while (!r.atEnd()) sum += r.read(missing).Z;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadComma)->Unit(benchmark::kMillisecond);

void BM_ReadStream(benchmark::State& state) {
    const QString text = legacy::decodeLatin1(legacy::readFileBytes(g_streamFile));
    for (auto _ : state) {
        importer::RecordReader r(text, QStringLiteral("xyz0"), importer::RecordReader::Mode::Stream);
        r.skipLines(1);
        int missing = 0;
        float sum = 0;
        while (!r.atEnd()) sum += r.read(missing).Z;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadStream)->Unit(benchmark::kMillisecond);

void BM_ListFile(benchmark::State& state) {
    MainWindow& w = *g_window;
    w.doc.ImportFile = g_commaFile;
    ColumnDialog& d = ColumnDialog::frmImEx(w);
    for (auto _ : state) d.ShowFile();
    state.counters["lines"] = double(d.LineNumber);
}
BENCHMARK(BM_ListFile)->Unit(benchmark::kMillisecond);

void importOnce(MainWindow& w, bool contact) {
    w.doc.DatumPoints.clear();
    w.doc.DatCount = 0;
    w.markers->labDat.unloadAll();
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

void BM_ImportCommand(benchmark::State& state) {
    MainWindow& w = *g_window;
    const bool contact = state.range(0) != 0;
    for (auto _ : state) importOnce(w, contact);
    state.counters["points"] = w.doc.DatCount;
}
BENCHMARK(BM_ImportCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    OffscreenApp app(argc, argv);
    const QTemporaryDir& home = app.home();

    g_commaFile = home.filePath(QStringLiteral("points.csv"));
    g_streamFile = home.filePath(QStringLiteral("points.txt"));
    for (const auto& [path, comma] : {std::pair{g_commaFile, true}, std::pair{g_streamFile, false}}) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(fileText(comma));
    }
    auto w = registeredWindow(app);
    g_window = w.get();
    const int rc = runBenchmarks(argc, argv);
    g_window = nullptr;
    return rc;
}
