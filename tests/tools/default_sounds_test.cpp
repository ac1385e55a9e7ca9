#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<std::int16_t> samples;
  double ms() const { return rate ? samples.size() * 1000.0 / rate : 0; }
};

std::uint32_t le(const std::vector<std::uint8_t>& b, size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
  return v;
}

// Walks the RIFF chunks as a sound library would: the format chunk, then the data chunk.
Wav read_wav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
  Wav wav;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return wav;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::string id(b.begin() + at, b.begin() + at + 4);
    const std::uint32_t size = le(b, at + 4, 4);
    const size_t body = at + 8;
    if (body + size > b.size()) break;
    if (id == "fmt ") {
      wav.format = le(b, body, 2);
      wav.channels = le(b, body + 2, 2);
      wav.rate = le(b, body + 4, 4);
      wav.bits = le(b, body + 14, 2);
    } else if (id == "data") {
      for (size_t i = body; i + 1 < body + size; i += 2)
        wav.samples.push_back(static_cast<std::int16_t>(le(b, i, 2)));
    }
    at = body + size + (size & 1);
  }
  return wav;
}

struct Limit {
  const char* file;
  double min_ms, max_ms;
};

TEST(DefaultSounds, EachIsMono16BitPcmWithinItsLengthAndStartsAndEndsQuietly) {
  const Limit limits[] = {{"Beep.wav", 60, 120},
                          {"Bonus.wav", 100, 1200},
                          {"Miss.wav", 300, 2000},
                          {"Point.wav", 10, 60},
                          {"Start.wav", 1000, 3400}};
  for (const Limit& limit : limits) {
    SCOPED_TRACE(limit.file);
    const Wav wav = read_wav(std::string(QM_DIST_DIR) + "/Sound/" + limit.file);
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.rate, 22050);
    EXPECT_EQ(wav.bits, 16);
    EXPECT_GE(wav.ms(), limit.min_ms);
    EXPECT_LT(wav.ms(), limit.max_ms);
    ASSERT_FALSE(wav.samples.empty());
    int loudest = 0;
    for (std::int16_t s : wav.samples) loudest = std::max(loudest, std::abs(int{s}));
    EXPECT_GT(loudest, 4000) << "audible";
    EXPECT_LT(loudest, 32767) << "not clipped";
    // A sound that starts or stops at full swing clicks.
    EXPECT_LT(std::abs(int{wav.samples.front()}), loudest / 8);
    EXPECT_LT(std::abs(int{wav.samples.back()}), loudest / 8);
  }
}

}  // namespace
