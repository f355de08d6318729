// Speed of the shaded relief at the finest detail the plot offers: sampling
// the plan picture and shading every cell from each side.
#include "contour/Relief.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace relief;

namespace {

QImage plan() {
    static const QImage image = [] {
        QImage img(1200, 900, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const int v = 128 + static_cast<int>(100 * std::sin(x * 0.01) * std::cos(y * 0.013));
                img.setPixel(x, y, qRgb(v, v, v));
            }
        return img;
    }();
    return image;
}

constexpr double kUnits = 15.0;
const QTransform kToPixels = QTransform::fromScale(1 / kUnits, 1 / kUnits);

void BM_Sample(benchmark::State& state) {
    const int cols = static_cast<int>(state.range(0));
    const double w = 1200 * kUnits, h = 900 * kUnits;
    for (auto _ : state) benchmark::DoNotOptimize(sampleTopo(plan(), cols, topoRows(cols, w, h), w, h, kToPixels).cols());
}
BENCHMARK(BM_Sample)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_Shade(benchmark::State& state) {
    const int cols = static_cast<int>(state.range(0));
    const double w = 1200 * kUnits, h = 900 * kUnits;
    const TopoGrid grid = sampleTopo(plan(), cols, topoRows(cols, w, h), w, h, kToPixels);
    ReliefOptions o;
    o.direction = static_cast<int>(state.range(1));
    o.width = w;
    o.height = h;
    for (auto _ : state) benchmark::DoNotOptimize(shadeRelief(grid, o).dots.size());
}
BENCHMARK(BM_Shade)->Args({100, 1})->Args({400, 1})->Args({400, 4})->Unit(benchmark::kMillisecond);

void BM_ShadeAndPaint(benchmark::State& state) {
    const int cols = static_cast<int>(state.range(0));
    const double w = 1200 * kUnits, h = 900 * kUnits;
    const TopoGrid grid = sampleTopo(plan(), cols, topoRows(cols, w, h), w, h, kToPixels);
    ReliefOptions o;
    o.width = w;
    o.height = h;
    for (auto _ : state) {
        QImage picture = plan();
        paintRelief(picture, shadeRelief(grid, o), kToPixels);
        benchmark::DoNotOptimize(picture.bits());
    }
}
BENCHMARK(BM_ShadeAndPaint)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
