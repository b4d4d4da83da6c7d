#include "analysis/HugePageImage.h"

#include <sys/mman.h>

namespace HugePageImage {

namespace {

constexpr size_t kHugePage = 2 * 1024 * 1024;

struct Mapping {
    void *address;
    size_t length;
};

void unmap(void *info)
{
    const auto *mapping = static_cast<Mapping *>(info);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

}  // namespace

QImage allocate(QSize size, QImage::Format format)
{
    if (!size.isValid() || format == QImage::Format_Invalid || format == QImage::Format_Indexed8
        || format == QImage::Format_Mono || format == QImage::Format_MonoLSB)
        return QImage(size, format);
    const int depth = QImage(1, 1, format).depth();
    const qsizetype bytesPerLine = (qsizetype(size.width()) * depth + 31) / 32 * 4;
    const size_t bytes = size_t(bytesPerLine) * size_t(size.height());
    if (bytes < 2 * kHugePage)
        return QImage(size, format);
    const size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void *address = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return QImage(size, format);
    madvise(address, length, MADV_HUGEPAGE);  // advice only: plain pages when refused
    return QImage(static_cast<uchar *>(address), size.width(), size.height(), bytesPerLine, format, unmap,
                  new Mapping{address, length});
}

}  // namespace HugePageImage
