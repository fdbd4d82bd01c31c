#include "platform/MemoryPolicy.h"

#include <malloc.h>

namespace tesk {

void returnLargeBlocksToTheSystem() {
    // Setting the threshold also stops the C library from adjusting it by itself.
    constexpr int kLargeBlockBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
}

void returnFreePagesToTheSystem() {
    malloc_trim(0);
}

}  // namespace tesk
