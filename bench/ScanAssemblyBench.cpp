// Speed of turning a scanner's data into the map picture: an A4 page at
// 300 dpi (2480 x 3508 pixels) in colour, in 16-bit gray and in three passes,
// fed in the 64 KiB pieces the scanner is read in.
#include "platform/Scanner.h"

#include <QByteArray>
#include <algorithm>
#include <map>
#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 2480, kHeight = 3508;

const QByteArray& page(int bytesPerLine) {
    static std::map<int, QByteArray> pages;
    auto it = pages.find(bytesPerLine);
    if (it == pages.end()) {
        QByteArray b(qsizetype(bytesPerLine) * kHeight, 0);
        for (qsizetype i = 0; i < b.size(); ++i) b[i] = char(i * 31 % 251);
        it = pages.emplace(bytesPerLine, b).first;
    }
    return it->second;
}

void feed(scanner::FrameAssembler& a, const scanner::FrameParameters& p) {
    const QByteArray& bytes = page(p.bytesPerLine);
    a.beginFrame(p);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype off = 0; off < bytes.size(); off += 65536)
        a.append(data + off, size_t(std::min<qsizetype>(65536, bytes.size() - off)));
    a.endFrame();
}

scanner::FrameParameters params(int format, int depth, int channels, bool last = true) {
    scanner::FrameParameters p;
    p.format = format;
    p.depth = depth;
    p.pixelsPerLine = kWidth;
    p.bytesPerLine = kWidth * channels * (depth / 8);
    p.lines = kHeight;
    p.lastFrame = last;
    return p;
}

void BM_ColourPage(benchmark::State& state) {
    for (auto _ : state) {
        scanner::FrameAssembler a;
        feed(a, params(scanner::FrameParameters::RGB, 8, 3));
        benchmark::DoNotOptimize(a.image().width());
    }
}
BENCHMARK(BM_ColourPage)->Unit(benchmark::kMillisecond);

void BM_Gray16Page(benchmark::State& state) {
    for (auto _ : state) {
        scanner::FrameAssembler a;
        feed(a, params(scanner::FrameParameters::Gray, 16, 1));
        benchmark::DoNotOptimize(a.image().width());
    }
}
BENCHMARK(BM_Gray16Page)->Unit(benchmark::kMillisecond);

void BM_ThreePassPage(benchmark::State& state) {
    for (auto _ : state) {
        scanner::FrameAssembler a;
        feed(a, params(scanner::FrameParameters::Red, 8, 1, false));
        feed(a, params(scanner::FrameParameters::Green, 8, 1, false));
        feed(a, params(scanner::FrameParameters::Blue, 8, 1, true));
        benchmark::DoNotOptimize(a.image().width());
    }
}
BENCHMARK(BM_ThreePassPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
