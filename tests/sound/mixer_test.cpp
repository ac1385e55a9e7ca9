#include "sound/mixer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qm {
namespace {

using Values = std::vector<std::int16_t>;

// What the mixer writes over an output of the given length that holds noise beforehand, as the
// device's buffer does.
Values mix(Mixer& mixer, std::size_t length) {
  Values output(length, 12345);
  mixer.mix(output);
  return output;
}

TEST(MixerTest, OverlappingSamplesSumAndEachEndsOnItsOwn) {
  Mixer mixer;
  const Values first(3000, 1000);
  const Values second(1000, 200);
  mixer.play(first);
  // Longer than the mixer sums at a time, so the sum carries across its stretches.
  Values out = mix(mixer, 2500);
  EXPECT_EQ(out.front(), 1000);
  EXPECT_EQ(out.back(), 1000);

  mixer.play(second);
  EXPECT_EQ(mixer.playing(), 2);
  out = mix(mixer, 600);
  EXPECT_EQ(out[0], 1200);
  EXPECT_EQ(out[499], 1200);
  // The first ran out here.
  EXPECT_EQ(out[500], 200);
  EXPECT_EQ(mixer.playing(), 1);

  out = mix(mixer, 600);
  EXPECT_EQ(out[399], 200);
  EXPECT_EQ(out[400], 0);
  EXPECT_EQ(out.back(), 0);
  EXPECT_EQ(mixer.playing(), 0);
}

TEST(MixerTest, TheSumClipsToSixteenBits) {
  Mixer mixer;
  const Values loud = {30000, -30000, 20000, -20000};
  mixer.play(loud);
  mixer.play(loud);
  EXPECT_EQ(mix(mixer, 4), (Values{32767, -32768, 32767, -32768}));
}

TEST(MixerTest, SilenceStopsEveryChannelAtOnce) {
  Mixer mixer;
  const Values tune(10000, 3000);
  mixer.play(tune);
  mixer.play(tune);
  mix(mixer, 100);
  mixer.silence();
  EXPECT_EQ(mixer.playing(), 0);
  EXPECT_EQ(mix(mixer, 100), Values(100, 0));

  // Nothing to play is not a channel taken.
  mixer.play({});
  EXPECT_EQ(mixer.playing(), 0);
}

TEST(MixerTest, WithAllSixtyFourChannelsBusyAPlayIsDroppedUntilOneEnds) {
  Mixer mixer;
  const Values beep(10, 100);
  const Values longer(20, 1);
  for (int i = 0; i < Mixer::kChannels - 1; ++i) mixer.play(longer);
  mixer.play(beep);
  mixer.play(beep);
  EXPECT_EQ(mixer.playing(), 64);
  EXPECT_EQ(mix(mixer, 10).front(), 63 + 100);

  // The beep's channel freed itself and takes the next play.
  mixer.play(beep);
  EXPECT_EQ(mixer.playing(), 64);
  EXPECT_EQ(mix(mixer, 10).front(), 63 + 100);
  EXPECT_EQ(mixer.playing(), 0);
}

}  // namespace
}  // namespace qm
