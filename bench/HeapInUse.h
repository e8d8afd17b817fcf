#pragma once

// Heap in use, counted by the allocator (freed memory that the process keeps does
// not count); 0 where the C library does not tell.

#include <cstddef>  // names the C library

#ifdef __GLIBC__
#include <malloc.h>
#endif

inline double heapMegabytes()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
#else
    return 0;
#endif
}
