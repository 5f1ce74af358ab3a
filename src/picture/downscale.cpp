// SPDX-License-Identifier: MIT
#include "picture/downscale.h"

#include "picture/area_average.h"
#include "picture/area_shrink.h"
#include "picture/picture_memory.h"

#include <atomic>
#include <cstring>
#include <thread>

#include <sys/mman.h>
#include <unistd.h>

// Why the rows can be written where they are read: output row y covers the
// source rows from floor(y * H / h) on, and as h <= H that is row y or later.
// Output rows are shrunk in bands [Y, E) into a scratch band, and the band is
// copied into place (packed, at byte Y * w * 4 up to E * w * 4, which lies in
// source rows before E since w * 4 <= the source's bytes per line) once all
// of its rows are done. Every later band reads source rows from
// floor(E * H / h) >= E on, all still untouched. The tests compare the result
// with a filter reading an untouched copy, on pictures of many shapes.

namespace {

using namespace area_average;

// Pixels of four 8-bit channels, in whatever order: each is averaged alone.
bool four_bytes(QImage::Format format) {
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return true;
    default:
        return false;
    }
}

void release_image(void* image) {
    delete static_cast<QImage*>(image);
}

} // namespace

void downscale_in_place(QImage& image, QSize to) {
    const QSize from = image.size();
    if (to == from) return;
    if (to.isEmpty() || to.width() > from.width() || to.height() > from.height() ||
        !four_bytes(image.format())) {
        image = image.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return;
    }
    const int w = to.width(), h = to.height();
    const Spans across(from.width(), w), down(from.height(), h);
    const Divider divide(uint64_t(across.total) * down.total);

    uchar* bits = image.bits(); // unshares the memory before it is written
    const qsizetype source_line = image.bytesPerLine();
    const qsizetype result_line = qsizetype(w) * 4;
    const bool sums32 = sums_fit_32_bits(across, down);
    // Bands of output rows are shrunk by two threads into a scratch band, then
    // copied into place: within a band one thread's rows may lie over source
    // rows the other still reads, but no later band reads them (see above).
    const int band = std::clamp(int((qsizetype(4) << 20) / result_line), 2, 256);
    std::vector<uint32_t> scratch(size_t(std::min(band, h)) * size_t(w));
    const auto shrink = [&](int first, int last, uint32_t* out) {
        shrink_rows(bits, source_line, across, down, divide, sums32, first, last, out);
    };
    const bool threaded = qint64(from.width()) * from.height() >= (1 << 20);
    for (int y = 0; y < h; y += band) {
        const int end = std::min(h, y + band), middle = threaded ? (y + end) / 2 : end;
        std::thread other;
        if (middle < end)
            other =
                std::thread(shrink, middle, end, scratch.data() + size_t(middle - y) * size_t(w));
        shrink(y, middle, scratch.data());
        if (other.joinable()) other.join();
        std::memcpy(bits + y * result_line, scratch.data(), size_t(end - y) * size_t(result_line));
    }
    // The pages past the shrunk picture go back to the system now, not when
    // the picture is let go: a view keeps a small picture across a step while
    // the next is decoded, and it must cost what it measures.
    const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    const quintptr used =
        (quintptr(bits) + quintptr(h) * quintptr(result_line) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(bits) + quintptr(image.sizeInBytes())) & ~(page - 1);
    if (end > used) ::madvise(reinterpret_cast<void*>(used), end - used, MADV_DONTNEED);
    const QImage::Format format = image.format();
    auto* owner = new QImage(std::move(image));
    image = QImage(bits, w, h, result_line, format, release_image, owner);
}

QImage downscaled_copy(const QImage& picture, QSize to, QImage memory) {
    const QSize from = picture.size();
    if (to == from) return picture;
    if (to.isEmpty() || to.width() > from.width() || to.height() > from.height() ||
        picture.format() != QImage::Format_RGB32) {
        QImage copy = picture.copy();
        downscale_in_place(copy, to);
        return copy;
    }
    QImage out = reuse_rgb32(to, memory);
    if (out.isNull()) out = QImage(to, QImage::Format_RGB32);
    if (out.isNull()) return out;
    const int w = to.width(), h = to.height();
    const Spans across(from.width(), w), down(from.height(), h);
    const Divider divide(uint64_t(across.total) * down.total);
    const uchar* bits = picture.constBits();
    const qsizetype source_line = picture.bytesPerLine();
    uchar* out_bits = out.bits();
    const qsizetype out_line = out.bytesPerLine(); // w * 4: 32-bit rows are packed
    const bool sums32 = sums_fit_32_bits(across, down);
    // Each band's rows are made resident in one call before they are written.
    const auto shrink = [&](int first, int last) {
        uchar* rows = out_bits + first * out_line;
        make_bytes_present(rows, size_t(last - first) * size_t(out_line), out_bits + h * out_line);
        shrink_rows(bits, source_line, across, down, divide, sums32, first, last,
                    reinterpret_cast<uint32_t*>(rows));
    };
    // Both threads take bands of about 1 MiB of output rows in turn until none
    // is left: on a busy machine the thread that has a core does the most.
    const int band = int(
        std::max<qsizetype>(1, std::min<qsizetype>((qsizetype(1) << 20) / out_line, (h + 1) / 2)));
    std::atomic<int> next_band{0};
    const auto take_bands = [&] {
        for (int first; (first = next_band.fetch_add(band)) < h;)
            shrink(first, std::min(h, first + band));
    };
    std::thread other;
    if (qint64(from.width()) * from.height() >= (1 << 20) && band < h)
        other = std::thread(take_bands);
    take_bands();
    if (other.joinable()) other.join();
    return out;
}
