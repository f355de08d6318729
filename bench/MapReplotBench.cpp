// Speed of the map redraw with a full map (2 x 32767 points) in the real
// main window, offscreen: the redraw after a zoom or scroll (texts
// unchanged), the redraw that rebuilds every tool tip, and one paint of the
// marker layer.  The goal is one frame, 16 ms.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "document/Document.h"
#include "app/Twips.h"
#include "map/MapLayer.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include "BenchWindow.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

MainWindow* g_window = nullptr;

// A registered linear map holding 32767 datum and 32767 contour points
// spread over the picture.
void fillMap(MainWindow& w) {
    Document& d = w.doc;
    const int n = 32767;
    d.DatumPoints.resize(n + 1);
    d.ContourPoints.resize(n + 1);
    for (int i = 1; i <= n; ++i) {
        // A scatter that covers the map without a regular pattern.
        const long long k = i;
        const float x1 = float((k * 7919) % 10000), y1 = float((k * 104729) % 10000);
        const float x2 = float((k * 1237) % 10000), y2 = float((k * 4099) % 10000);
        d.DatumPoints[size_t(i)] = DataPoint{int16_t(i), x1, y1, float(i % 500) + 0.4f, false};
        d.ContourPoints[size_t(i)] = DataPoint{int16_t(i), x2, y2, float(i % 300), false};
        w.markers->labDat.load(i);
        w.markers->labCon.load(i);
    }
    d.DatCount = d.ConCount = n;
    w.optStruc->setValue(true);
    w.mapView->MapReplot();
}

void BM_MapReplot(benchmark::State& state) {
    MainWindow& w = *g_window;
    for (auto _ : state) w.mapView->MapReplot();
    state.counters["markers"] = w.doc.DatCount + w.doc.ConCount;
}
BENCHMARK(BM_MapReplot)->Unit(benchmark::kMillisecond);

// The redraw's own work, without the repaint its event pumps let happen.
void BM_MapReplotWithoutPaint(benchmark::State& state) {
    MainWindow& w = *g_window;
    const auto pump = MainWindow::DoEvents;
    MainWindow::DoEvents = [] {};
    for (auto _ : state) w.mapView->MapReplot();
    MainWindow::DoEvents = pump;
    QCoreApplication::processEvents();
}
BENCHMARK(BM_MapReplotWithoutPaint)->Unit(benchmark::kMillisecond);

void BM_MapReplotNewTexts(benchmark::State& state) {
    MainWindow& w = *g_window;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 1; i <= w.doc.DatCount; ++i) w.markers->labDat[i].ToolTipText = QString();
        for (int i = 1; i <= w.doc.ConCount; ++i) w.markers->labCon[i].ToolTipText = QString();
        state.ResumeTiming();
        w.mapView->MapReplot();
    }
}
BENCHMARK(BM_MapReplotNewTexts)->Unit(benchmark::kMillisecond);

void BM_MarkerLayerPaint(benchmark::State& state) {
    MainWindow& w = *g_window;
    QImage img(w.markers->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(Qt::transparent);
        w.markers->render(&img, QPoint(), QRegion(), QWidget::RenderFlags());
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["width_px"] = img.width();
    state.counters["height_px"] = img.height();
}
BENCHMARK(BM_MarkerLayerPaint)->Unit(benchmark::kMillisecond);

void BM_ZoomInAndBack(benchmark::State& state) {
    MainWindow& w = *g_window;
    for (auto _ : state) {
        w.mapView->cmdZoomIn_Click();
        w.mapView->cmdZoomPage_Click();
    }
}
BENCHMARK(BM_ZoomInAndBack)->Unit(benchmark::kMillisecond);

// One paint of a contact map of 32767 short segments: the whole layer
// (range 0) and a 100-pixel square of it (range 1), as a tool tip or a
// scroll repaints.
void BM_ContactLinesPaint(benchmark::State& state) {
    MainWindow& w = *g_window;
    MarkerOverlay& mk = *w.markers;
    const double W = twips::fromPx(mk.width()), H = twips::fromPx(mk.height());
    for (int i = 1; i <= 32767; ++i) {
        LineSegment& s = mk.LineCon.load(i);
        const long long k = i;
        s.X1 = double((k * 7919) % 1000) / 1000.0 * W;
        s.Y1 = double((k * 104729) % 1000) / 1000.0 * H;
        s.X2 = s.X1 + 300;
        s.Y2 = s.Y1 + 150;
        s.BorderColor = long(i % 7) * 0x202020;
        s.Visible = true;
    }
    const QRegion region = state.range(0) ? QRegion(200, 200, 100, 100) : QRegion();
    QImage img(mk.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(Qt::transparent);
        mk.render(&img, QPoint(), region, QWidget::RenderFlags());
        benchmark::DoNotOptimize(img.constBits());
    }
    mk.LineCon.unloadAll();
}
BENCHMARK(BM_ContactLinesPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    OffscreenApp app(argc, argv);
    auto w = registeredWindow(app);
    fillMap(*w);
    g_window = w.get();
    const int rc = runBenchmarks(argc, argv);
    g_window = nullptr;
    return rc;
}
