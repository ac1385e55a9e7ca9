#include "shell/heap_policy.h"

#include <malloc.h>

namespace qm {

namespace {

// glibc's starting threshold, now fixed: pictures are far larger, small objects far smaller.
constexpr int kLargeBlock = 128 * 1024;

}  // namespace

bool map_large_blocks() {
  return mallopt(M_MMAP_THRESHOLD, kLargeBlock) == 1 && mallopt(M_ARENA_MAX, 1) == 1;
}

}  // namespace qm
