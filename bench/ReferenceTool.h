// Runs a reference tool of the GIS world (gdal_grid, gdaldem) as a benchmark
// step, so that its time stands beside ours in the same run.  The tools are
// for measurement only: a missing tool skips its benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <QStandardPaths>
#include <QString>
#include <chrono>
#include <cstdlib>

namespace reference_tool {

inline bool available(const char* name) { return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty(); }

// Times `command` (a shell command line) once per iteration, process start
// included, as manual time.
inline void timeCommand(benchmark::State& state, const char* tool, const QString& command) {
    if (!available(tool)) {
        state.SkipWithError((QStringLiteral("%1 is not installed (apt-get install gdal-bin)").arg(tool)).toUtf8().constData());
        return;
    }
    const QByteArray line = (command + QStringLiteral(" >/dev/null 2>&1")).toLocal8Bit();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int rc = std::system(line.constData());
        const auto end = std::chrono::steady_clock::now();
        if (rc != 0) {
            state.SkipWithError(("failed: " + line).constData());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

} // namespace reference_tool
