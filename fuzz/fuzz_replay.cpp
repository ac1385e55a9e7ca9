#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "session/replay_file.h"

// Whatever the bytes, the reader refuses them with a reason or takes them; what it takes must be
// exactly what writing the replay again gives back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const qm::ReplayRead read = qm::decode_replay(bytes);
  if (read.replay.has_value() == !read.error.empty()) std::abort();
  if (read.replay) {
    const auto again = qm::encode_replay(*read.replay);
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) std::abort();
  }
  return 0;
}
