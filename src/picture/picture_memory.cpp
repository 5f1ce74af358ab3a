// SPDX-License-Identifier: MIT
#include "picture/picture_memory.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

struct Mapping {
    void* address;
    size_t length;
};

void unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

} // namespace

QImage unpopulated_rgb32(QSize size) {
    constexpr qint64 worth_mapping = qint64(8) << 20;
    if (size.isEmpty()) return QImage();
    const qsizetype row = qsizetype(size.width()) * 4;
    const size_t length = size_t(row) * size_t(size.height());
    if (qint64(length) < worth_mapping) return QImage();
    void* address =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) return QImage();
#ifdef MADV_HUGEPAGE
    ::madvise(address, length, MADV_HUGEPAGE);
#endif
    QImage image(static_cast<uchar*>(address), size.width(), size.height(), row,
                 QImage::Format_RGB32, unmap, new Mapping{address, length});
    if (image.isNull()) ::munmap(address, length);
    return image;
}

namespace {
void release_image(void* image) {
    delete static_cast<QImage*>(image);
}
} // namespace

QImage reuse_rgb32(QSize size, QImage& memory) {
    const qsizetype row = qsizetype(size.width()) * 4;
    const bool fits = !size.isEmpty() && memory.format() == QImage::Format_RGB32 &&
                      memory.isDetached() && memory.sizeInBytes() / row >= size.height();
    if (!fits) {
        memory = QImage(); // let the unfit memory go before mapping new
        return unpopulated_rgb32(size);
    }
    if (memory.size() == size) return std::move(memory);
    uchar* bits = memory.bits();
    static const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    const quintptr used =
        (quintptr(bits) + quintptr(row) * quintptr(size.height()) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(bits) + quintptr(memory.sizeInBytes())) & ~(page - 1);
    if (end > used) ::madvise(reinterpret_cast<void*>(used), end - used, MADV_DONTNEED);
    auto* owner = new QImage(std::move(memory));
    memory = QImage();
    return QImage(bits, size.width(), size.height(), row, QImage::Format_RGB32, release_image,
                  owner);
}

void make_bytes_present(uchar* begin, size_t length, const uchar* end) {
#ifdef MADV_POPULATE_WRITE
    static const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    const auto from = reinterpret_cast<quintptr>(begin) & ~(page - 1);
    const auto to =
        qMin(reinterpret_cast<quintptr>(begin) + length, reinterpret_cast<quintptr>(end));
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(begin);
    Q_UNUSED(length);
    Q_UNUSED(end);
#endif
}

void mark_pixels_unwanted(QImage& image) {
#ifdef MADV_FREE
    if (image.isNull() || !image.isDetached()) return;
    static const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    // Whole pages inside the pixels only: the page around their first and
    // last bytes may hold another allocation.
    const auto start = reinterpret_cast<quintptr>(image.constBits());
    const quintptr from = (start + page - 1) & ~(page - 1);
    const quintptr to = (start + quintptr(image.sizeInBytes())) & ~(page - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_FREE);
#else
    Q_UNUSED(image);
#endif
}

void make_rows_present(QImage& image, int first, int count) {
    if (image.isNull() || count <= 0 || first >= image.height()) return;
    count = qMin(count, image.height() - first);
    // Rows are written through scanLine(), which also detaches a shared image.
    uchar* begin = image.scanLine(first);
    const size_t length = size_t(image.bytesPerLine()) * size_t(count);
    make_bytes_present(begin, length, begin + length);
}

RowsAhead::RowsAhead(QImage& image, int band_rows)
    : bits_(image.bits()), line_(image.bytesPerLine()), rows_(image.height()),
      band_rows_(qMax(1, band_rows)) {
    thread_.start([this] { work(); });
}

RowsAhead::~RowsAhead() {
    thread_.stop();
}

void RowsAhead::reached(int row) {
    thread_.post([&] { reached_ = row; });
}

void RowsAhead::work() {
    uchar* const end = bits_ + line_ * rows_;
    for (int next = 0; next < rows_; next += band_rows_) {
        if (!thread_.wait_until([&] { return next < reached_ + 2 * band_rows_; })) return;
        make_bytes_present(bits_ + next * line_, size_t(band_rows_) * size_t(line_), end);
    }
}
