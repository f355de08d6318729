// Speed of the point filters over a full set of 32767 points: the keep test
// by a stored coordinate, by an inverse-projected longitude, and by the
// contact designator text.
#include "map/Projections.h"
#include "removal/Filters.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int N = 32767;

std::vector<DataPoint> scatter(Document& d) {
    std::vector<DataPoint> pts(N + 1);
    for (int i = 1; i <= N; ++i) {
        const long long k = i;
        const double lon = 10 + double((k * 7919) % 2000) / 100.0;  // 10..30 degrees
        const double lat = 35 + double((k * 104729) % 1000) / 100.0; // 35..45 degrees
        DataPoint& p = pts[size_t(i)];
        p.Number = int16_t(i);
        p.X = ProjectTransverseMercator(d, lon, lat, true, true);
        p.Y = ProjectTransverseMercator(d, lon, lat, true, false);
        p.Z = float(i % 40);
    }
    return pts;
}

Document transverse() {
    Document d;
    d.ProjectionName = projection_names::TransverseMercator;
    d.ProjScaleX = d.ProjScaleY = 1;
    d.CentralMeridian = float(DegRad(20, true));
    return d;
}

void BM_FilterStoredX(benchmark::State& state) {
    Document d = transverse();
    const auto pts = scatter(d);
    d.ProjectionName = projection_names::Linear;
    for (auto _ : state) {
        auto kept = removal::keptIndexes(d, pts, N, {removal::Quantity::Longitude, removal::Removed::Greater},
                                         QStringLiteral("0.05"));
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * N);
}
BENCHMARK(BM_FilterStoredX)->Unit(benchmark::kMillisecond);

void BM_FilterProjectedLongitude(benchmark::State& state) {
    Document d = transverse();
    const auto pts = scatter(d);
    for (auto _ : state) {
        auto kept = removal::keptIndexes(d, pts, N, {removal::Quantity::Longitude, removal::Removed::Greater},
                                         QStringLiteral("25"));
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * N);
}
BENCHMARK(BM_FilterProjectedLongitude)->Unit(benchmark::kMillisecond);

void BM_FilterContactText(benchmark::State& state) {
    Document d = transverse();
    const auto pts = scatter(d);
    for (auto _ : state) {
        auto kept = removal::keptIndexes(d, pts, N, {removal::Quantity::ContactText, removal::Removed::TextDiffers},
                                         QStringLiteral("12"));
        benchmark::DoNotOptimize(kept.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * N);
}
BENCHMARK(BM_FilterContactText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
