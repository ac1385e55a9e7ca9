#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qm {

// Software channels that play samples into one output: each play takes a free channel without
// stopping the others, and the output is their sum, clipped to 16 bits. Holds only views of the
// samples, which must outlive their plays. Not locked: the owner serialises the calls.
class Mixer {
 public:
  static constexpr int kChannels = 64;

  // Starts a sample of interleaved values in the output's layout on a free channel; with every
  // channel busy the play is dropped.
  void play(std::span<const std::int16_t> sample);
  void silence();
  int playing() const;
  // Overwrites the output with the next stretch of every playing channel; a channel that runs
  // out frees itself.
  void mix(std::span<std::int16_t> output);

 private:
  std::array<std::span<const std::int16_t>, kChannels> channels_{};
};

}  // namespace qm
