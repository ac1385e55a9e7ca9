#include "shell/heap_policy.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAllocator = true;
#elif defined(__has_feature)
constexpr bool kOwnAllocator = __has_feature(address_sanitizer);
#else
constexpr bool kOwnAllocator = false;
#endif

// Bytes held in mappings of their own.
size_t mapped_bytes() {
  return mallinfo2().hblkhd;
}

// How many heaps (arenas) the allocator keeps.
int heaps() {
  char* text = nullptr;
  size_t length = 0;
  FILE* out = open_memstream(&text, &length);
  if (!out) return -1;
  malloc_info(0, out);
  std::fclose(out);
  int count = 0;
  for (const char* at = text; (at = std::strstr(at, "<heap nr=")); ++at) ++count;
  std::free(text);
  return count;
}

// Through a volatile pointer, so that the compiler cannot drop a block nobody reads.
void* volatile block;

void* touched(size_t size) {
  block = std::malloc(size);
  if (block) std::memset(block, 1, size);
  return block;
}

// A layout frees pictures of some MB and decodes others of about the same size. Once a mapped
// 4 MB block has been freed, glibc alone would serve the next 2 MB from the heap, which keeps
// those pages after they are freed.
TEST(HeapPolicy, BlockAfterAFreedLargerOneIsStillMapped) {
  if (kOwnAllocator) GTEST_SKIP() << "the sanitizer's allocator ignores glibc's settings";
  ASSERT_TRUE(qm::map_large_blocks());
  std::free(touched(4 << 20));
  const size_t before = mapped_bytes();
  void* picture = touched(2 << 20);
  ASSERT_NE(picture, nullptr);
  EXPECT_GE(mapped_bytes(), before + (2 << 20));
  std::free(picture);
  EXPECT_EQ(mapped_bytes(), before);
  // A small picture decoded on another thread comes from the one heap too.
  void* small = nullptr;
  std::thread([&] { small = touched(64 << 10); }).join();
  EXPECT_EQ(heaps(), 1);
  std::free(small);
}

}  // namespace
