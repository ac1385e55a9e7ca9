#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/skin/tones.h"

namespace qm::skin {
namespace {

int largest_step(const std::vector<std::int16_t>& s, size_t from, size_t to) {
  int step = 0;
  for (size_t i = from + 1; i < to && i < s.size(); ++i)
    step = std::max(step, std::abs(s[i] - s[i - 1]));
  return step;
}

TEST(Tones, NotesAndRestsLastTheirTimeAndRestsAreSilent) {
  const auto samples = render_tune({{880.0, 100}, {0.0, 50}, {440.0, 20}});
  EXPECT_EQ(samples.size(), static_cast<size_t>(kSampleRate * 170 / 1000));
  const size_t rest_from = kSampleRate / 10, rest_to = rest_from + kSampleRate / 20;
  for (size_t i = rest_from; i < rest_to; ++i) ASSERT_EQ(samples[i], 0) << i;
}

// The square's own edges jump by the full swing; at a note's start and end the envelope must
// keep the first and last samples close to silence, so that joins do not click.
TEST(Tones, NoteJoinsRiseAndFallSmoothly) {
  const auto samples = render_tune({{523.25, 80}, {1046.5, 80}});
  const size_t join = kSampleRate * 80 / 1000;
  const int swing = largest_step(samples, 0, samples.size());
  EXPECT_GT(swing, 8000);
  EXPECT_LT(largest_step(samples, join - 3, join + 3), swing / 4);
  EXPECT_LT(std::abs(samples.front()), 1000);
  EXPECT_LT(std::abs(samples.back()), 1000);
}

TEST(Tones, WavHeaderDescribesTheSamples) {
  const std::vector<std::int16_t> samples = {0, 1000, -1000, 32767, -32768};
  const auto file = wav_file(samples);
  ASSERT_EQ(file.size(), 44u + 10u);
  auto u32 = [&](size_t at) {
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
           static_cast<std::uint32_t>(file[at + 3]) << 24;
  };
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
  EXPECT_EQ(u32(4), file.size() - 8);
  EXPECT_EQ(u32(24), static_cast<std::uint32_t>(kSampleRate));
  EXPECT_EQ(u32(28), static_cast<std::uint32_t>(kSampleRate * 2));  // bytes a second
  EXPECT_EQ(u32(40), 10u);
  // Little-endian signed samples.
  EXPECT_EQ(file[46], 0xe8);
  EXPECT_EQ(file[47], 0x03);
  EXPECT_EQ(file[52], 0x00);
  EXPECT_EQ(file[53], 0x80);
}

}  // namespace
}  // namespace qm::skin
