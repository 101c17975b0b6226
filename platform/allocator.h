#pragma once

namespace platform {

// Pictures are decoded on worker threads in blocks of megabytes. glibc gives each such thread an
// arena of its own, and freed blocks stranded in those arenas let resident memory creep up over
// a long book. A couple of shared arenas, with fixed thresholds for mapping and trimming, keep it
// flat at no measurable cost to decoding.
// Call once at start, before any worker thread runs; elsewhere than glibc it does nothing.
void limitAllocatorArenas();

}  // namespace platform
