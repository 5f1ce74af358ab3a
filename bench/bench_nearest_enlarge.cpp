// SPDX-License-Identifier: MIT
// The magnified paint path and the streamed bitmap export: an exposed
// 1600 x 900 rectangle of a 24-megapixel photo at 510% must paint in well under
// 2 ms, and the export must keep pace with the disk.

#include "picture/bmp_stream_writer.h"
#include "picture/nearest_enlarge.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QImage& photo() {
    static const QImage picture = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        QRandomGenerator random(1);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = 0xff000000u | random.generate();
        }
        return image;
    }();
    return picture;
}

const QSize shown_at_510(30600, 20400);
const QRect exposed(14000, 9000, 1600, 900);

void EnlargeExposedRegionAt510(benchmark::State& state) {
    const QImage& picture = photo();
    for (auto _ : state) {
        QImage out = enlarged_region(picture, shown_at_510, exposed);
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetItemsProcessed(state.iterations() * exposed.width() * exposed.height());
}
BENCHMARK(EnlargeExposedRegionAt510)->Unit(benchmark::kMicrosecond);

// Into a caller's buffer kept from one call to the next, as the export's
// bands are: no allocation per call.
void EnlargeExposedRegionAt510IntoCallersBuffer(benchmark::State& state) {
    const QImage& picture = photo();
    QImage out(exposed.size(), QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        enlarge_region_into(picture, shown_at_510, exposed.translated(step++ % 7, 0), out.bits(),
                            out.bytesPerLine());
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetItemsProcessed(state.iterations() * exposed.width() * exposed.height());
}
BENCHMARK(EnlargeExposedRegionAt510IntoCallersBuffer)->Unit(benchmark::kMicrosecond);

void WriteBmpIn256RowBands(benchmark::State& state) {
    const QImage& picture = photo();
    QTemporaryDir dir;
    const QString path = dir.filePath("export.bmp");
    for (auto _ : state) {
        BmpStreamWriter writer(path, picture.width(), picture.height());
        QString why = writer.open();
        for (int top = 0; why.isEmpty() && top < picture.height(); top += 256) {
            const int rows = std::min(256, picture.height() - top);
            why = writer.write_band(top, picture.copy(0, top, picture.width(), rows));
        }
        if (why.isEmpty()) why = writer.finish();
        if (!why.isEmpty()) {
            state.SkipWithError(why.toUtf8().constData());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            BmpStreamWriter::file_size(picture.width(), picture.height()));
}
// Real time: the file system, fsync included, is most of the cost.
BENCHMARK(WriteBmpIn256RowBands)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
