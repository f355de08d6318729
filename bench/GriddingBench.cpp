// Gridding of a full document, 32767 points, spread evenly over the map or
// lying on a few north-south survey lines, beside gdal_grid's inverse
// distance to the six nearest points on the same points and nodes.
#include "ReferenceTool.h"
#include "contour/Gridding.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

constexpr int kPoints = 32767;
constexpr float kOriginX = 500000, kOriginY = 4200000, kSpanX = 20000, kSpanY = 15000;

enum Arrangement { Even = 0, Traverse = 1 };

float surface(float x, float y) {
    return 1500 + 600 * std::sin((x - kOriginX) / 3000) * std::cos((kOriginY - y) / 2500);
}

// Even: spread at random over the whole map.  Traverse: six lines from the
// map's top to its bottom, a point every 2.7 map units with a little
// sideways wander.
std::vector<DataPoint> points(int arrangement) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> ux(kOriginX, kOriginX + kSpanX), uy(kOriginY - kSpanY, kOriginY),
        wander(-15, 15);
    std::vector<DataPoint> list(kPoints + 1);
    constexpr int kLines = 6;
    for (int p = 1; p <= kPoints; ++p) {
        DataPoint& d = list[size_t(p)];
        if (arrangement == Even) {
            d.X = ux(rng);
            d.Y = uy(rng);
        } else {
            const int line = (p - 1) % kLines, along = (p - 1) / kLines;
            d.X = kOriginX + kSpanX * (line + 0.5f) / kLines + wander(rng);
            d.Y = kOriginY - kSpanY * (along + 0.5f) / (kPoints / kLines + 1);
        }
        d.Z = surface(d.X, d.Y);
    }
    return list;
}

const char* name(int arrangement) { return arrangement == Even ? "even" : "traverse"; }

void BM_Gridding(benchmark::State& state) {
    const int arrangement = int(state.range(0)), detail = int(state.range(1));
    const std::vector<DataPoint> list = points(arrangement);
    const GridGeometry g = gridGeometry(detail, kSpanX, kSpanY);
    for (auto _ : state) {
        PointGrid grid;
        layGrid(grid, g, kOriginX, kOriginY);
        const DataWindow w = dataWindow(list, kPoints, kOriginX, kSpanX, kOriginY);
        GridRun run;
        // The window's hook runs after every slice; here it only counts.
        int slices = 0;
        computeGrid(grid, list, kPoints, w, double(kSpanX + kSpanY), run, [&](int) {
            ++slices;
            return false;
        });
        benchmark::DoNotOptimize(run.zMax);
        state.counters["slices"] = slices;
    }
    state.SetLabel(name(arrangement));
    state.counters["nodes"] = double(g.cols) * g.rows;
}
BENCHMARK(BM_Gridding)
    ->Args({Even, 50})
    ->Args({Even, 500})
    ->Args({Traverse, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// gdal_grid on the same points and the same nodes (cell centres placed on
// the nodes), 8 threads, the six nearest points within 600 map units.
void BM_GdalGrid(benchmark::State& state) {
    const int arrangement = int(state.range(0)), detail = int(state.range(1));
    QTemporaryDir dir;
    const std::vector<DataPoint> list = points(arrangement);
    {
        QFile csv(dir.filePath(QStringLiteral("points.csv")));
        if (!csv.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the points");
            return;
        }
        QTextStream out(&csv);
        out << "x,y,z\n";
        for (int p = 1; p <= kPoints; ++p)
            out << QString::number(list[size_t(p)].X, 'g', 9) << ',' << QString::number(list[size_t(p)].Y, 'g', 9)
                << ',' << QString::number(list[size_t(p)].Z, 'g', 9) << '\n';
    }
    QFile vrt(dir.filePath(QStringLiteral("points.vrt")));
    if (!vrt.open(QIODevice::WriteOnly)) return state.SkipWithError("cannot write the layer");
    vrt.write("<OGRVRTDataSource><OGRVRTLayer name=\"points\"><SrcDataSource>" +
              dir.filePath(QStringLiteral("points.csv")).toUtf8() +
              "</SrcDataSource><GeometryType>wkbPoint</GeometryType>"
              "<GeometryField encoding=\"PointFromColumns\" x=\"x\" y=\"y\" z=\"z\"/></OGRVRTLayer></OGRVRTDataSource>");
    vrt.close();
    const GridGeometry g = gridGeometry(detail, kSpanX, kSpanY);
    const double x0 = kOriginX + 0.5 * g.cellWidth, x1 = kOriginX + (g.cols + 0.5) * g.cellWidth;
    const double y1 = kOriginY - 0.5 * g.cellHeight, y0 = kOriginY - (g.rows + 0.5) * g.cellHeight;
    const QString command =
        QStringLiteral("gdal_grid --config GDAL_NUM_THREADS 8 -q -l points -zfield z -ot Float32 -of GTiff "
                       "-a invdistnn:power=1:max_points=6:min_points=6:radius=600 -txe %1 %2 -tye %3 %4 "
                       "-outsize %5 %6 %7 %8")
            .arg(x0, 0, 'f', 4)
            .arg(x1, 0, 'f', 4)
            .arg(y0, 0, 'f', 4)
            .arg(y1, 0, 'f', 4)
            .arg(g.cols)
            .arg(g.rows)
            .arg(vrt.fileName(), dir.filePath(QStringLiteral("grid.tif")));
    reference_tool::timeCommand(state, "gdal_grid", command);
    state.SetLabel(name(arrangement));
}
BENCHMARK(BM_GdalGrid)
    ->Args({Even, 500})
    ->Args({Traverse, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace

BENCHMARK_MAIN();
