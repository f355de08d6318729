// Speed of the contour-line overlay: sampling a grid of 32761 nodes (the
// largest point count), growing the mesh over the sampled nodes, tracing every
// level and smoothing every line.
#include "contour/LevelTracing.h"
#include "contour/Splines.h"
#include "contour/Triangulation.h"
#include "document/Document.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

using namespace contourlines;

namespace {

PointGrid surface(int n) {
    PointGrid g;
    g.resize(n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            const double x = i * 100.0, y = 100000.0 - j * 100.0;
            const double z = 500 + 300 * std::sin(i * 0.07) * std::cos(j * 0.05) + j * 2.0;
            g.at(i, j) = DataPoint{0, float(x), float(y), float(z), false};
        }
    return g;
}

SamplingInput window(int n, double width = 9000) {
    SamplingInput in;
    in.cellWidth = in.cellHeight = 100.0 * n / (n + 1);
    in.minX = 100;
    in.maxX = n * 100.0;
    in.minY = 100000.0 - n * 100.0;
    in.maxY = 99900;
    in.mapOriginX = 0;
    in.mapOriginY = 100000;
    in.mapSpanX = in.mapSpanY = (n + 1) * 100.0;
    in.width = width;
    in.height = width;
    return in;
}

std::vector<TriPoint> sampled(int n, double width = 9000) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(0, 1);
    return sampleGrid(surface(n), window(n, width), [&] { return u(gen); });
}

void BM_Sample(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const PointGrid g = surface(n);
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(0, 1);
    for (auto _ : state) benchmark::DoNotOptimize(sampleGrid(g, window(n), [&] { return u(gen); }).size());
}
BENCHMARK(BM_Sample)->Arg(181)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_Triangulate(benchmark::State& state) {
    const auto pts = sampled(static_cast<int>(state.range(0)), static_cast<double>(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(ContourTriangulate(pts).size());
    state.counters["points"] = static_cast<double>(pts.size());
}
// A small plot (a narrow map, a small window) puts the whole mesh within the
// circle limit: every point then meets every triangle.
BENCHMARK(BM_Triangulate)->Args({50, 9000})->Args({181, 9000})->Args({500, 9000})->Args({181, 2000})->Unit(benchmark::kMillisecond);

// The second argument 1 rounds every value to a whole 10: terraces whose
// corners all lie on levels, so sides on a level are sorted out at every level.
void BM_TraceAndSmooth(benchmark::State& state) {
    auto pts = sampled(181);
    if (state.range(1))
        for (TriPoint& p : pts) p.Z = std::round(p.Z / 10) * 10;
    const auto tris = ContourTriangulate(pts);
    TraceOptions o;
    for (auto _ : state) {
        const auto plan = planLevels(valueRange(pts), static_cast<double>(state.range(0)));
        size_t drawn = 0;
        for (auto& line : traceLevels(pts, tris, plan, o)) drawn += splineCurve(line.points, line.level, line.labelFlag).points.size();
        benchmark::DoNotOptimize(drawn);
    }
}
BENCHMARK(BM_TraceAndSmooth)
    ->Args({100, 0})
    ->Args({10, 0})
    ->Args({2, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
