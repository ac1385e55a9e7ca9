#include "sound/mixer.h"

#include <algorithm>
#include <cstddef>

namespace qm {

namespace {

// The sum is taken in 32 bits over stretches of this many values (one 512-frame stereo buffer).
constexpr std::size_t kStretch = 1024;

bool is_free(std::span<const std::int16_t> channel) {
  return channel.empty();
}

}  // namespace

void Mixer::play(std::span<const std::int16_t> sample) {
  const auto free = std::find_if(channels_.begin(), channels_.end(), is_free);
  if (free != channels_.end()) *free = sample;
}

void Mixer::silence() {
  channels_.fill({});
}

int Mixer::playing() const {
  return static_cast<int>(kChannels - std::count_if(channels_.begin(), channels_.end(), is_free));
}

void Mixer::mix(std::span<std::int16_t> output) {
  std::array<std::int32_t, kStretch> sum;
  while (!output.empty()) {
    const std::size_t length = std::min(output.size(), kStretch);
    std::fill_n(sum.begin(), length, 0);
    for (std::span<const std::int16_t>& channel : channels_) {
      const std::size_t taken = std::min(length, channel.size());
      for (std::size_t i = 0; i < taken; ++i) sum[i] += channel[i];
      channel = channel.subspan(taken);
    }
    for (std::size_t i = 0; i < length; ++i)
      output[i] = static_cast<std::int16_t>(std::clamp(sum[i], -32768, 32767));
    output = output.subspan(length);
  }
}

}  // namespace qm
