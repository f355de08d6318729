// Speed of the shaded relief at the finest detail (500: 1000 cells across a
// 900-pixel plot), beside gdaldem's hillshade of the same raster of heights.
#include "ReferenceTool.h"
#include "contour/Relief.h"

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace relief;

namespace {

constexpr int kPlotWidth = 900, kPlotHeight = 675, kCols = 1000;
constexpr double kUnits = 15.0; // drawing units a pixel
constexpr double kW = kPlotWidth * kUnits, kH = kPlotHeight * kUnits;
const QTransform kToPixels = QTransform::fromScale(1 / kUnits, 1 / kUnits);

// A grey plan picture as the contour map leaves it: greys 55..255.
const QImage& plan() {
    static const QImage image = [] {
        QImage img(kPlotWidth, kPlotHeight, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const int v = 155 + static_cast<int>(100 * std::sin(x * 0.01) * std::cos(y * 0.013));
                img.setPixel(x, y, qRgb(v, v, v));
            }
        return img;
    }();
    return image;
}

int rows() { return topoRows(kCols, kW, kH); }

ReliefOptions options(int direction) {
    ReliefOptions o;
    o.direction = direction;
    o.width = kW;
    o.height = kH;
    return o;
}

void BM_Sample(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(sampleTopo(plan(), kCols, rows(), kW, kH, kToPixels).cols());
}
BENCHMARK(BM_Sample)->Unit(benchmark::kMillisecond);

void BM_Shade(benchmark::State& state) {
    const TopoGrid grid = sampleTopo(plan(), kCols, rows(), kW, kH, kToPixels);
    for (auto _ : state) benchmark::DoNotOptimize(shadeRelief(grid, options(int(state.range(0)))).dots.size());
}
BENCHMARK(BM_Shade)->Arg(Top)->Arg(Right)->Unit(benchmark::kMillisecond);

void BM_Paint(benchmark::State& state) {
    const ReliefResult shaded = shadeRelief(sampleTopo(plan(), kCols, rows(), kW, kH, kToPixels), options(Top));
    QImage picture = plan();
    for (auto _ : state) {
        paintRelief(picture, shaded, kToPixels);
        benchmark::DoNotOptimize(picture.bits());
    }
    state.counters["dots"] = double(shaded.dots.size());
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMillisecond);

// The whole relief: sampling the plan, shading and painting every cell.
void BM_Relief(benchmark::State& state) {
    for (auto _ : state) {
        QImage picture = plan();
        const TopoGrid grid = sampleTopo(picture, kCols, rows(), kW, kH, kToPixels);
        paintRelief(picture, shadeRelief(grid, options(int(state.range(0)))), kToPixels);
        benchmark::DoNotOptimize(picture.bits());
    }
}
BENCHMARK(BM_Relief)->Arg(Top)->Arg(Left)->Unit(benchmark::kMillisecond)->UseRealTime();

// gdaldem's hillshade of the same 1000 x 750 heights, read from and written
// to files, process start included.
void BM_GdaldemHillshade(benchmark::State& state) {
    QTemporaryDir dir;
    const TopoGrid grid = sampleTopo(plan(), kCols, rows(), kW, kH, kToPixels);
    QImage heights(grid.cols(), grid.rows(), QImage::Format_Grayscale8);
    for (int r = 1; r <= grid.rows(); ++r)
        for (int c = 1; c <= grid.cols(); ++c) heights.scanLine(r - 1)[c - 1] = uchar(std::max(grid.at(c, r), 0));
    const QString in = dir.filePath(QStringLiteral("heights.pgm")), out = dir.filePath(QStringLiteral("shade.tif"));
    if (!heights.save(in, "PGM")) return state.SkipWithError("cannot write the heights");
    reference_tool::timeCommand(state, "gdaldem", QStringLiteral("gdaldem hillshade -q %1 %2").arg(in, out));
}
BENCHMARK(BM_GdaldemHillshade)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
