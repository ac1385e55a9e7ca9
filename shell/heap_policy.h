#pragma once

namespace qm {

// Keeps every large block (a decoded skin picture or backdrop, the composed window) in
// a mapping of its own that goes back to the system when the block is freed. Each layout decodes
// the whole skin afresh; with glibc's sliding threshold those buffers move into the heap after
// the first ones are freed, and the heap keeps their pages resident, some MB more with every few
// layout changes. Pictures are also decoded on short-lived threads and live on in the main one:
// every thread allocates from one heap, so that none leaves an arena of its own resident. An
// allocator without these settings (a sanitizer's) keeps its own policy. False when the allocator
// refused a setting.
bool map_large_blocks();

}  // namespace qm
