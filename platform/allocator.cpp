#include "allocator.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void limitAllocatorArenas() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 2);
    // Fixed thresholds instead of glibc's moving ones, which follow the largest block freed so
    // far and let resident memory drift over a long book. Large blocks are mapped when the heap
    // has no room for them; the heap keeps up to 32 MB free at its top, so a decoder's working
    // image of one photo after another reuses pages already there instead of faulting in fresh
    // ones each time.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 32 * 1024 * 1024);
#endif
}

}  // namespace platform
