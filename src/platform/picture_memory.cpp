#include "platform/picture_memory.h"

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

void make_rows_present(QImage& image, int first, int count) {
#ifdef MADV_POPULATE_WRITE
    if (image.isNull() || count <= 0 || first >= image.height()) return;
    count = qMin(count, image.height() - first);
    static const quintptr page = quintptr(::sysconf(_SC_PAGESIZE));
    // Rows are written through scanLine(), which also detaches a shared image.
    const auto begin = reinterpret_cast<quintptr>(image.scanLine(first));
    const auto end = begin + quintptr(image.bytesPerLine()) * quintptr(count);
    const quintptr from = begin & ~(page - 1);
    ::madvise(reinterpret_cast<void*>(from), end - from, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(image);
    Q_UNUSED(first);
    Q_UNUSED(count);
#endif
}
