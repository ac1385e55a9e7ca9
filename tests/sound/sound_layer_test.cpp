#include "sound/sound_layer.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr int kRate = 22050;

void put_le(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A PCM file holding a constant level, so that the mix shows exactly how many frames of it were
// played and how many copies overlapped. The header is as given, even when it lies.
struct Wav {
  int frames = 0;
  std::int16_t level = 0;
  int rate = kRate;
  int channels = 1;
  int bits = 16;
  // The data chunk's length as the header claims it; the true one when negative.
  std::int64_t claimed_bytes = -1;
};

void write_wav(const fs::path& path, const Wav& wav) {
  std::ofstream out(path, std::ios::binary);
  const int frame_bytes = wav.channels * wav.bits / 8;
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(wav.frames * frame_bytes);
  out.write("RIFF", 4);
  put_le(out, 36 + data_bytes, 4);
  out.write("WAVEfmt ", 8);
  put_le(out, 16, 4);
  put_le(out, 1, 2);  // PCM
  put_le(out, wav.channels, 2);
  put_le(out, wav.rate, 4);
  put_le(out, wav.rate * frame_bytes, 4);
  put_le(out, frame_bytes, 2);
  put_le(out, wav.bits, 2);
  out.write("data", 4);
  put_le(out, wav.claimed_bytes < 0 ? data_bytes : static_cast<std::uint32_t>(wav.claimed_bytes),
         4);
  // 8-bit PCM is unsigned around 128.
  const std::uint32_t value =
      wav.bits == 8 ? 128 + wav.level / 256 : static_cast<std::uint16_t>(wav.level);
  for (int i = 0; i < wav.frames * wav.channels; ++i) put_le(out, value, wav.bits / 8);
}

void write_wav(const fs::path& path, int frames, std::int16_t level) {
  write_wav(path, Wav{.frames = frames, .level = level});
}

// The left levels of what the disk driver wrote: the whole mix, silence included.
std::vector<std::int16_t> heard(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::int16_t> left;
  std::array<std::int16_t, 2> frame{};
  while (in.read(reinterpret_cast<char*>(frame.data()), 4)) {
    EXPECT_EQ(frame[0], frame[1]);
    left.push_back(frame[0]);
  }
  return left;
}

long loud_frames(const std::vector<std::int16_t>& mix) {
  return std::count_if(mix.begin(), mix.end(), [](std::int16_t level) { return level != 0; });
}

int peak(const std::vector<std::int16_t>& mix) {
  int peak = 0;
  for (std::int16_t level : mix) peak = std::max(peak, std::abs(level));
  return peak;
}

bool wait_until(const std::function<bool()>& done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    SDL_Delay(5);
  }
  return done();
}

// Every test plays into SDL's disk driver, which writes the mix to a file in real time.
class SoundLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm_sound_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    old_cwd_ = fs::current_path();
    fs::current_path(dir_);
    fs::create_directory("Sound");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir_ / "mix.raw").c_str(), 1);
  }

  void TearDown() override {
    layer_.Snd_Shutdown();
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }

  void write_all(int frames, std::int16_t level) {
    for (const char* name : {"Beep", "Bonus", "Miss", "Point", "Start"})
      write_wav(fs::path("Sound") / (std::string(name) + ".wav"), frames, level);
  }

  void start(int output_type = 2) {
    ASSERT_TRUE(layer_.Snd_Start(output_type));
    layer_.sound_enabled = true;
  }

  // Closes the device, which ends the file, and reads it.
  std::vector<std::int16_t> shut_and_hear() {
    layer_.Snd_Shutdown();
    return heard(dir_ / "mix.raw");
  }

  fs::path dir_;
  fs::path old_cwd_;
  SoundLayer layer_;
};

TEST_F(SoundLayerTest, BeepThatCannotLoadFailsTheStart) {
  write_all(100, 1000);
  fs::remove("Sound/Beep.wav");
  EXPECT_FALSE(layer_.Snd_Start(2));
  layer_.Snd_Shutdown();

  std::ofstream("Sound/Beep.wav", std::ios::binary) << "RIFF\x10\0\0\0WAVEfmt garbage";
  EXPECT_FALSE(layer_.Snd_Start(2));
  layer_.Snd_Shutdown();

  // A named pipe that nothing writes to is not waited on.
  fs::remove("Sound/Beep.wav");
  ASSERT_EQ(mkfifo("Sound/Beep.wav", 0644), 0);
  EXPECT_FALSE(layer_.Snd_Start(2));
  layer_.Snd_Shutdown();

  // A good header whose data chunk claims more than the file holds.
  fs::remove("Sound/Beep.wav");
  write_wav("Sound/Beep.wav", 100, 1000);
  fs::resize_file("Sound/Beep.wav", 30);
  EXPECT_FALSE(layer_.Snd_Start(1));
  layer_.Snd_Shutdown();

  // Headers that lie: more channels than can be mixed down, a rate that would stretch the file
  // to gigabytes.
  for (const Wav& wav : {Wav{.frames = 10, .channels = 200}, Wav{.frames = 22050, .rate = 1}}) {
    SCOPED_TRACE(testing::Message() << wav.channels << " channels at " << wav.rate << " Hz");
    write_wav("Sound/Beep.wav", wav);
    EXPECT_FALSE(layer_.Snd_Start(2));
    layer_.Snd_Shutdown();
  }
}

TEST_F(SoundLayerTest, SamplesThatCannotLoadPlayNothingAndTheRestStillPlay) {
  write_all(22050, 1000);
  fs::remove("Sound/Bonus.wav");
  std::ofstream("Sound/Miss.wav", std::ios::binary) << std::string(64, '\xff');
  fs::remove("Sound/Start.wav");
  ASSERT_EQ(mkfifo("Sound/Start.wav", 0644), 0);
  ASSERT_NO_FATAL_FAILURE(start());

  layer_.Snd_Play(Sample::Bonus);
  layer_.Snd_Play(Sample::Miss);
  layer_.Snd_Play(Sample::Start);
  EXPECT_EQ(layer_.playing(), 0);

  layer_.Snd_Play(Sample::Point);
  EXPECT_EQ(layer_.playing(), 1);
}

TEST_F(SoundLayerTest, OverlappingPlaysBothReachTheOutput) {
  constexpr int kHalfSecond = kRate / 2;
  write_all(kHalfSecond, 6000);
  ASSERT_NO_FATAL_FAILURE(start());
  layer_.Snd_Play(Sample::Beep);
  SDL_Delay(100);
  layer_.Snd_Play(Sample::Beep);
  EXPECT_EQ(layer_.playing(), 2);
  ASSERT_TRUE(wait_until([&] { return layer_.playing() == 0; }));

  const std::vector<std::int16_t> mix = shut_and_hear();
  // SDL's conversion may round a level down by one.
  EXPECT_NEAR(peak(mix), 12000, 2);
  const long overlapped = std::count_if(mix.begin(), mix.end(), [](int v) { return v > 9000; });
  EXPECT_GT(overlapped, 0);
  // Every frame of both plays sounded, the overlap once for two.
  EXPECT_EQ(loud_frames(mix), 2 * kHalfSecond - overlapped);
}

TEST_F(SoundLayerTest, SilenceCutsALongSampleInTheMiddle) {
  constexpr int kTenSeconds = 10 * kRate;
  write_all(kTenSeconds, 3000);
  ASSERT_NO_FATAL_FAILURE(start());
  layer_.Snd_Play(Sample::Start);
  layer_.Snd_Play(Sample::Miss);
  SDL_Delay(100);

  layer_.Snd_Silence();
  EXPECT_EQ(layer_.playing(), 0);
  SDL_Delay(100);
  const std::vector<std::int16_t> mix = shut_and_hear();
  EXPECT_NEAR(peak(mix), 6000, 2);
  EXPECT_GT(loud_frames(mix), 0);
  EXPECT_LT(loud_frames(mix), kTenSeconds);
  // Nothing sounds after the silence.
  EXPECT_EQ(mix.back(), 0);
}

TEST_F(SoundLayerTest, WithoutSoundNothingIsLoadedOrPlayedAndShutdownIsHarmless) {
  write_all(kRate, 1000);
  layer_.Snd_Play(Sample::Beep);
  layer_.Snd_Silence();
  layer_.Snd_Shutdown();
  layer_.Snd_Shutdown();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

  // Started but not enabled: the play requests are still ignored.
  ASSERT_TRUE(layer_.Snd_Start(2));
  layer_.Snd_Play(Sample::Beep);
  EXPECT_EQ(layer_.playing(), 0);
}

TEST_F(SoundLayerTest, AfterShutdownRequestsAreIgnoredAndAStartLoadsAfresh) {
  write_all(kRate, 1000);
  ASSERT_NO_FATAL_FAILURE(start());
  layer_.Snd_Play(Sample::Beep);
  layer_.Snd_Shutdown();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  layer_.Snd_Play(Sample::Beep);
  layer_.Snd_Silence();
  EXPECT_EQ(layer_.playing(), 0);
  layer_.Snd_Shutdown();

  fs::remove("Sound/Beep.wav");
  EXPECT_FALSE(layer_.Snd_Start(2));
}

TEST_F(SoundLayerTest, StartingLeavesTheTerminationSignalsAlone) {
  write_all(100, 1000);
  struct sigaction before_int {
  }, before_term{}, after{};
  sigaction(SIGINT, nullptr, &before_int);
  sigaction(SIGTERM, nullptr, &before_term);
  ASSERT_TRUE(layer_.Snd_Start(2));
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before_int.sa_handler);
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before_term.sa_handler);
}

TEST_F(SoundLayerTest, AnUnknownDriverFallsBackToSilentOutput) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  write_all(kRate, 1000);
  ASSERT_NO_FATAL_FAILURE(start(1));
  EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
  layer_.Snd_Play(Sample::Beep);
  EXPECT_EQ(layer_.playing(), 1);
}

TEST_F(SoundLayerTest, TheEnvironmentsDriverWinsOverTheOutputTypeAndSamplesPlayAtTheirOwnRate) {
  constexpr int kFrames = 2205;
  write_all(kFrames, 2000);
  // Half the rate, bytes instead of words, stereo: it must last as long as the others.
  write_wav(
      "Sound/Bonus.wav",
      Wav{.frames = kFrames / 2, .level = 16384, .rate = kRate / 2, .channels = 2, .bits = 8});
  for (int output_type : {1, 2}) {
    SCOPED_TRACE(output_type);
    ASSERT_NO_FATAL_FAILURE(start(output_type));
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
    layer_.Snd_Play(Sample::Point);
    ASSERT_TRUE(wait_until([&] { return layer_.playing() == 0; }));
    std::vector<std::int16_t> mix = shut_and_hear();
    EXPECT_EQ(loud_frames(mix), kFrames);
    EXPECT_NEAR(peak(mix), 2000, 1);
  }

  ASSERT_NO_FATAL_FAILURE(start());
  layer_.Snd_Play(Sample::Bonus);
  ASSERT_TRUE(wait_until([&] { return layer_.playing() == 0; }));
  const std::vector<std::int16_t> mix = shut_and_hear();
  // The resampler softens the edges by a few frames.
  EXPECT_NEAR(loud_frames(mix), kFrames, 16);
  const auto first = std::find_if(mix.begin(), mix.end(), [](std::int16_t v) { return v != 0; });
  ASSERT_GE(mix.end() - first, kFrames);
  EXPECT_NEAR(first[kFrames / 2], 16384, 100);
}

}  // namespace
}  // namespace qm
