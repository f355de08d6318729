// Gridding of a full document: 32767 points over the map at the start-up
// detail and at the highest detail.
#include "contour/Gridding.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kPoints = 32767;
constexpr float kOriginX = 500000, kOriginY = 4200000, kSpanX = 20000, kSpanY = 15000;

std::vector<DataPoint> randomPoints() {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> ux(kOriginX, kOriginX + kSpanX), uy(kOriginY - kSpanY, kOriginY),
        uz(0, 3000);
    std::vector<DataPoint> list(kPoints + 1);
    for (int p = 1; p <= kPoints; ++p) {
        list[p].X = ux(rng);
        list[p].Y = uy(rng);
        list[p].Z = uz(rng);
    }
    return list;
}

void BM_GridPoints(benchmark::State& state) {
    const std::vector<DataPoint> list = randomPoints();
    const int detail = int(state.range(0));
    for (auto _ : state) {
        PointGrid grid;
        const GridGeometry g = gridGeometry(detail, kSpanX, kSpanY);
        layGrid(grid, g, kOriginX, kOriginY);
        const DataWindow w = dataWindow(list, kPoints, kOriginX, kSpanX, kOriginY);
        GridRun run;
        // The window's pump check runs after every node; here it only counts.
        long nodes = 0;
        computeGrid(grid, list, kPoints, w, double(kSpanX + kSpanY), run, [&](int, int) {
            ++nodes;
            return false;
        });
        benchmark::DoNotOptimize(run.zMax);
        state.counters["nodes"] = double(nodes);
    }
}

} // namespace

BENCHMARK(BM_GridPoints)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
