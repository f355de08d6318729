// The whole Show with "Show Lines" ticked, in the real main window offscreen,
// on the program's own grid export read back as points: the nodes of a grid
// at detail 250 (a regular lattice; the nodes outside the first document's
// data window hold 0, a cliff the lines all cross), kept up to the import's
// 31000 or the largest point count as structural datum points, then shown at
// detail 50.  The goal is under a second from the click to the plot.
#include "contour/ContourCommands.h"
#include "contour/ContourLineCommands.h"
#include "document/Document.h"
#include "map/MapLayer.h"

#include "BenchWindow.h"

#include <cmath>

namespace {

MainWindow* g_window = nullptr;

// Shows the contour map, computing it afresh.
void show(MainWindow& w) {
    w.doc.ContoursCurrent = false;
    w.cmdShow_Click();
}

// The same button goes back to the map view.
void backToMap(MainWindow& w) { w.cmdShow_Click(); }

// A first document of 39 points in the middle of the map gridded at detail
// 250; its nodes,
// column by column as the grid export writes them (values to 0.1), become
// the points of the document that is then shown with lines at detail 50.
void fillFromGridExport(MainWindow& w, int keep) {
    Document& d = w.doc;
    const int seed = 39;
    d.DatumPoints.assign(size_t(seed) + 1, DataPoint{});
    w.markers->labDat.unloadAll();
    for (int i = 1; i <= seed; ++i) w.markers->labDat.load(i);
    for (int i = 1; i <= seed; ++i) {
        const long long k = i;
        const float x = 3000 + float((k * 7919) % 4000), y = 2500 + float((k * 104729) % 5000);
        const float z = float(7000 + 2000 * std::sin(x / 1500.0) * std::cos(y / 2100.0));
        d.DatumPoints[size_t(i)] = DataPoint{int16_t(i), x, y, z, false};
    }
    d.DatCount = seed;
    d.ContourDetail = 250;
    w.chkLines->setChecked(false);
    show(w);
    backToMap(w);

    std::vector<DataPoint> nodes(1);
    for (int i = 1; i <= d.GridCols; ++i)
        for (int j = 1; j <= d.GridRows && int(nodes.size()) <= keep; ++j) {
            DataPoint n = d.ContourGrid.at(i, j);
            n.Z = float(std::round(n.Z * 10.0) / 10.0);
            n.Number = int16_t(nodes.size());
            nodes.push_back(n);
            w.markers->labDat.load(int(nodes.size()) - 1);
        }
    d.DatumPoints = nodes;
    d.DatCount = int(nodes.size()) - 1;
    d.ContourDetail = 50;
    w.txtConDet->setText(QStringLiteral("50"));
    w.chkLines->setChecked(true);
}

void BM_ShowWithLines(benchmark::State& state) {
    MainWindow& w = *g_window;
    fillFromGridExport(w, int(state.range(0)));
    for (auto _ : state) {
        show(w);
        state.PauseTiming();
        backToMap(w);
        state.ResumeTiming();
    }
    state.counters["points"] = w.doc.DatCount;
    state.counters["triangles"] = double(w.contourLineCommands->Triangles.size());
}
BENCHMARK(BM_ShowWithLines)->Arg(31000)->Arg(32767)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    OffscreenApp app(argc, argv);
    auto w = registeredWindow(app);
    w->optStruc->setValue(true);
    w->optDat->setValue(true);
    g_window = w.get();
    const int rc = runBenchmarks(argc, argv);
    g_window = nullptr;
    return rc;
}
