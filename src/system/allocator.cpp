#include "system/allocator.h"

#include <cstdlib>   // defines __GLIBC__ on glibc systems

#ifdef __GLIBC__
#include <malloc.h>
#endif

void tuneAllocator()
{
#ifdef __GLIBC__
    // glibc keeps freed small blocks in "fast bins" and merges them all again
    // whenever a larger block is asked for. After a large sheet is discarded
    // that merging runs over and over while the next sheet is built, and a
    // 10,000-barette rebuild took about 1.6 times as long as with fast bins off.
    mallopt(M_MXFAST, 0);
#endif
}

void keepFreedMemory()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

void releaseFreeMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
