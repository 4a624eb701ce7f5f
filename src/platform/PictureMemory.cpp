#include "platform/PictureMemory.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

QImage NewPicture(int width, int height, QImage::Format format)
{
    QImage picture(width, height, format);
    if (picture.isNull())
        throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t HugePage = uintptr_t(2) << 20;
    const qsizetype size = picture.sizeInBytes();
    if (size >= qsizetype(4 * HugePage)) {
        // constBits: no detach, no touch. Only whole 2 MiB pages inside the buffer
        // can be huge; the hint is harmless where the kernel cannot follow it.
        const auto begin = reinterpret_cast<uintptr_t>(picture.constBits());
        const uintptr_t first = (begin + HugePage - 1) & ~(HugePage - 1);
        const uintptr_t last = (begin + uintptr_t(size)) & ~(HugePage - 1);
        if (last > first)
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    return picture;
}

