// Speed of the map image edits on a large scan (4000 x 3000 pixels): the
// resolution resample, a small straightening turn and a skew.
#include "platform/ImagingObject.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

QImage scan() {
    static const QImage image = [] {
        QImage img(4000, 3000, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        for (int x = 0; x < 4000; x += 50) p.drawLine(x, 0, x, 2999);
        for (int y = 0; y < 3000; y += 50) p.drawLine(0, y, 3999, y);
        return img;
    }();
    return image;
}

void BM_Resize75(benchmark::State& state) {
    for (auto _ : state) {
        ImagingObject img;
        img.takePicture(scan());
        img.resize(3000);
        benchmark::DoNotOptimize(img.height());
    }
}
BENCHMARK(BM_Resize75)->Unit(benchmark::kMillisecond);

void BM_Rotate(benchmark::State& state) {
    for (auto _ : state) {
        ImagingObject img;
        img.takePicture(scan());
        img.rotate(1.5f, 0x8000000F);
        benchmark::DoNotOptimize(img.width());
    }
}
BENCHMARK(BM_Rotate)->Unit(benchmark::kMillisecond);

void BM_SkewHorizontal(benchmark::State& state) {
    for (auto _ : state) {
        ImagingObject img;
        img.takePicture(scan());
        img.skew(ImagingObject::SkewHorizontal, 40, 0x8000000F);
        benchmark::DoNotOptimize(img.width());
    }
}
BENCHMARK(BM_SkewHorizontal)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
