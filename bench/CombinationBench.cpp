// Speed of the data combination: 32767 plotted points (datum and contour
// points together) combined with second data sets of growing size, each
// point taking the weighted mean of its six nearest second-set points by a
// plain scan.  Also the second data set's file reading at full size.
#include "document/Document.h"
#include "document/ProjectFile.h"
#include "exchange/Combination.h"
#include "exchange/SecondDataSet.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

std::vector<DataPoint> scatter(int count, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> pos(0.0f, 10000.0f);
    std::uniform_real_distribution<float> val(0.0f, 500.0f);
    std::vector<DataPoint> v(size_t(count) + 1);
    for (int i = 1; i <= count; ++i) v[size_t(i)] = {int16_t(i % 30000), pos(gen), pos(gen), val(gen), false};
    return v;
}

Document plotted(int otherCount) {
    Document d;
    d.MapSpanX = 10000;
    d.MapSpanY = 10000;
    d.DatumPoints = scatter(16384, 1);
    d.DatCount = 16384;
    d.ContourPoints = scatter(16383, 2);
    d.ConCount = 16383;
    d.OtherPoints = scatter(otherCount, 3);
    d.OtherCount = otherCount;
    return d;
}

void BM_Combine32767(benchmark::State& state) {
    const Document base = plotted(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Document d = base;
        state.ResumeTiming();
        combination::combinePoints(d, false, 0);
        benchmark::DoNotOptimize(d.DatumPoints[1].Z);
    }
    state.SetItemsProcessed(state.iterations() * 32767);
}
BENCHMARK(BM_Combine32767)->Arg(100)->Arg(2000)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadSecondDataSet32767(benchmark::State& state) {
    Document f;
    f.ProjectionName = QStringLiteral("Linear Coordinates");
    f.CoordUnits = QStringLiteral("Meters");
    f.DatumPoints = scatter(16384, 4);
    f.DatCount = 16384;
    f.ContourPoints = scatter(16383, 5);
    f.ConCount = 16383;
    ProjectControls c;
    c.kind = DataKind::Structural;
    const QByteArray bytes = writeProjectFile(f, c);
    Document d;
    d.ProjectionName = QStringLiteral("Linear Coordinates");
    for (auto _ : state) {
        seconddata::readSecondDataSet(bytes, d);
        benchmark::DoNotOptimize(d.OtherCount);
    }
}
BENCHMARK(BM_ReadSecondDataSet32767)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
