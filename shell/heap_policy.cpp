#include "shell/heap_policy.h"

#include <malloc.h>

namespace qm {

namespace {

// glibc's starting threshold, now fixed: pictures are far larger, small objects far smaller.
constexpr int kLargeBlock = 128 * 1024;

}  // namespace

void map_large_blocks() {
  mallopt(M_MMAP_THRESHOLD, kLargeBlock);
}

}  // namespace qm
