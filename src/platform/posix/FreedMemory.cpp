#include "platform/FreedMemory.h"

#include <cstdlib> // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    // glibc maps each block from 128 KB on afresh and unmaps it when freed,
    // and gives the top of the heap back from 128 KB free. The data files are
    // a few megabytes; far above that, memory stays in the heap for reuse.
    constexpr int kMapFrom = 32 << 20;
    constexpr int kGiveBackFrom = 64 << 20;
    ::mallopt(M_MMAP_THRESHOLD, kMapFrom);
    ::mallopt(M_TRIM_THRESHOLD, kGiveBackFrom);
#endif
}

} // namespace platform
