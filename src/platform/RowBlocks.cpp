#include "RowBlocks.h"

#include <new>

#include <sys/mman.h>

namespace {
constexpr size_t HugePage = size_t(2) << 20;
}

namespace RowMemory {

void* Allocate(size_t bytes)
{
    if (bytes < LargestBlock)
        return ::operator new(bytes);
    void* data = ::operator new(bytes, std::align_val_t(HugePage));
    madvise(data, bytes / HugePage * HugePage, MADV_HUGEPAGE);
    return data;
}

void Free(void* data, size_t bytes)
{
    if (bytes < LargestBlock)
        ::operator delete(data);
    else
        ::operator delete(data, std::align_val_t(HugePage));
}

}  // namespace RowMemory
