#pragma once

#include <cstdint>

namespace qm {

// The program's one generator: a 32-bit linear congruential sequence.
class Random {
 public:
  explicit Random(std::uint32_t seed = 0) : seed_(seed) {}

  void set_seed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t seed() const { return seed_; }

  // A number in 0..n-1: the upper half of the 64-bit product of the advanced seed and n.
  std::uint32_t below(std::uint32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed_) * n) >> 32);
  }

 private:
  std::uint32_t seed_;
};

}  // namespace qm
