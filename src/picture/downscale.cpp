// SPDX-License-Identifier: MIT
#include "picture/downscale.h"

#include "picture/picture_memory.h"
#include "picture/shrink_plan.h"

#include <cstring>

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
    const ShrinkPlan plan(from, to);
    uchar* bits = image.bits(); // unshares the memory before it is written
    const qsizetype source_line = image.bytesPerLine();
    const qsizetype result_line = qsizetype(w) * 4;
    // Bands of output rows are shrunk (by two threads, for a large picture)
    // into a scratch band, then copied into place: within a band one thread's
    // rows may lie over source rows the other still reads, but no later band
    // reads them (see above).
    const int band = std::clamp(int((qsizetype(4) << 20) / result_line), 2, 256);
    std::vector<uint32_t> scratch(size_t(std::min(band, h)) * size_t(w));
    const bool two_threads = plan.worth_two_threads(QRect(QPoint(0, 0), to));
    for (int y = 0; y < h; y += band) {
        const int end = std::min(h, y + band);
        share_rows(y, end, two_threads, [&](int first, int last) {
            plan.shrink_here(bits, source_line, QRect(0, first, w, last - first),
                             scratch.data() + size_t(first - y) * size_t(w), size_t(w));
        });
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
    const ShrinkPlan plan(from, to);
    const uchar* bits = picture.constBits();
    const qsizetype source_line = picture.bytesPerLine();
    uchar* out_bits = out.bits();
    const qsizetype out_line = out.bytesPerLine(); // w * 4: 32-bit rows are packed
    // Each band's rows are made resident in one call before they are written,
    // by the thread that writes them.
    share_rows(0, h, plan.worth_two_threads(QRect(QPoint(0, 0), to)), [&](int first, int last) {
        uchar* rows = out_bits + first * out_line;
        make_bytes_present(rows, size_t(last - first) * size_t(out_line), out_bits + h * out_line);
        plan.shrink_here(bits, source_line, QRect(0, first, w, last - first),
                         reinterpret_cast<uint32_t*>(rows), size_t(w));
    });
    return out;
}
