#include "sound/sound_layer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <atomic>
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

// A mono 16-bit PCM file holding a constant level, so that the mix shows exactly how many frames
// of it were played and how many copies overlapped.
void write_wav(const fs::path& path, int frames, std::int16_t level) {
  std::ofstream out(path, std::ios::binary);
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(frames) * 2;
  out.write("RIFF", 4);
  put_le(out, 36 + data_bytes, 4);
  out.write("WAVEfmt ", 8);
  put_le(out, 16, 4);
  put_le(out, 1, 2);  // PCM
  put_le(out, 1, 2);  // mono
  put_le(out, kRate, 4);
  put_le(out, kRate * 2, 4);
  put_le(out, 2, 2);
  put_le(out, 16, 2);
  out.write("data", 4);
  put_le(out, data_bytes, 4);
  for (int i = 0; i < frames; ++i) put_le(out, static_cast<std::uint16_t>(level), 2);
}

// Watches the finished mix of every buffer the device plays.
struct MixWatch {
  std::atomic<long> buffers{0};
  std::atomic<long> loud_frames{0};
  std::atomic<int> peak{0};

  static void post_mix(void* self, Uint8* stream, int length) {
    auto& watch = *static_cast<MixWatch*>(self);
    const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
    const int count = length / 2;
    long loud = 0;
    int peak = watch.peak.load();
    for (int i = 0; i + 1 < count; i += 2) {
      const int level = std::max(std::abs(samples[i]), std::abs(samples[i + 1]));
      if (level != 0) ++loud;
      peak = std::max(peak, level);
    }
    watch.peak = peak;
    watch.loud_frames += loud;
    ++watch.buffers;
  }
};

bool wait_until(const std::function<bool()>& done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    SDL_Delay(5);
  }
  return done();
}

class SoundLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm_sound_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    old_cwd_ = fs::current_path();
    fs::current_path(dir_);
    fs::create_directory("Sound");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }

  void TearDown() override {
    layer_.Snd_Shutdown();
    unsetenv("SDL_AUDIODRIVER");
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }

  void write_all(int frames, std::int16_t level) {
    for (const char* name : {"Beep", "Bonus", "Miss", "Point", "Start"})
      write_wav(fs::path("Sound") / (std::string(name) + ".wav"), frames, level);
  }

  void start_watched(int output_type = 2) {
    ASSERT_TRUE(layer_.Snd_Start(output_type));
    layer_.sound_enabled = true;
    Mix_SetPostMix(&MixWatch::post_mix, &watch_);
  }

  fs::path dir_;
  fs::path old_cwd_;
  MixWatch watch_;
  SoundLayer layer_;
};

// Waits for the device to mix a few more buffers, so that what was asked of the mixer before
// has reached the output.
void let_mix(const MixWatch& watch, long buffers = 3) {
  const long until = watch.buffers + buffers;
  ASSERT_TRUE(wait_until([&] { return watch.buffers >= until; }));
}

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
}

TEST_F(SoundLayerTest, SamplesThatCannotLoadPlayNothingAndTheRestStillPlay) {
  write_all(22050, 1000);
  fs::remove("Sound/Bonus.wav");
  std::ofstream("Sound/Miss.wav", std::ios::binary) << std::string(64, '\xff');
  fs::remove("Sound/Start.wav");
  ASSERT_EQ(mkfifo("Sound/Start.wav", 0644), 0);
  ASSERT_NO_FATAL_FAILURE(start_watched());

  layer_.Snd_Play(Sample::Bonus);
  layer_.Snd_Play(Sample::Miss);
  layer_.Snd_Play(Sample::Start);
  EXPECT_EQ(Mix_Playing(-1), 0);
  let_mix(watch_);
  EXPECT_EQ(watch_.loud_frames, 0);

  layer_.Snd_Play(Sample::Point);
  EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(SoundLayerTest, OverlappingPlaysBothReachTheOutput) {
  write_all(11025, 6000);
  ASSERT_NO_FATAL_FAILURE(start_watched());
  layer_.Snd_Play(Sample::Beep);
  ASSERT_TRUE(wait_until([&] { return watch_.loud_frames > 0; }));
  EXPECT_EQ(watch_.peak, 6000);

  layer_.Snd_Play(Sample::Beep);
  EXPECT_EQ(Mix_Playing(-1), 2);
  let_mix(watch_);
  EXPECT_EQ(watch_.peak, 12000);
}

TEST_F(SoundLayerTest, SilenceCutsALongSampleInTheMiddle) {
  constexpr int kTenSeconds = 10 * kRate;
  write_all(kTenSeconds, 3000);
  ASSERT_NO_FATAL_FAILURE(start_watched());
  layer_.Snd_Play(Sample::Start);
  layer_.Snd_Play(Sample::Miss);
  ASSERT_TRUE(wait_until([&] { return watch_.loud_frames > 0; }));

  layer_.Snd_Silence();
  EXPECT_EQ(Mix_Playing(-1), 0);
  const long heard = watch_.loud_frames;
  let_mix(watch_);
  EXPECT_EQ(watch_.loud_frames, heard);
  EXPECT_LT(heard, kTenSeconds);
}

TEST_F(SoundLayerTest, PlaysUseAnyOfSixtyFourChannels) {
  write_all(kRate, 1000);
  ASSERT_NO_FATAL_FAILURE(start_watched());
  EXPECT_EQ(Mix_AllocateChannels(-1), 64);
  for (int i = 0; i < 70; ++i) layer_.Snd_Play(Sample::Point);
  EXPECT_EQ(Mix_Playing(-1), 64);
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
  EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(SoundLayerTest, AfterShutdownRequestsAreIgnoredAndAStartLoadsAfresh) {
  write_all(kRate, 1000);
  ASSERT_NO_FATAL_FAILURE(start_watched());
  layer_.Snd_Play(Sample::Beep);
  layer_.Snd_Shutdown();
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  layer_.Snd_Play(Sample::Beep);
  layer_.Snd_Silence();
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
  ASSERT_NO_FATAL_FAILURE(start_watched(1));
  EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
  layer_.Snd_Play(Sample::Beep);
  EXPECT_EQ(Mix_Playing(-1), 1);
}

// The disk driver writes the mix to a file; its size says nothing (silence is written too), so
// the test counts the frames that carry sound.
long loud_frames_in(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::int16_t> frame(2);
  long loud = 0;
  while (in.read(reinterpret_cast<char*>(frame.data()), 4))
    if (frame[0] != 0 || frame[1] != 0) ++loud;
  return loud;
}

TEST_F(SoundLayerTest, TheEnvironmentsDriverWinsOverTheOutputType) {
  constexpr int kFrames = 2205;
  write_all(kFrames, 2000);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "mix.raw", 1);
  for (int output_type : {1, 2}) {
    SCOPED_TRACE(output_type);
    fs::remove("mix.raw");
    ASSERT_NO_FATAL_FAILURE(start_watched(output_type));
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    ASSERT_EQ(format, AUDIO_S16SYS);
    ASSERT_EQ(channels, 2);
    EXPECT_EQ(frequency, kRate);

    layer_.Snd_Play(Sample::Point);
    ASSERT_TRUE(wait_until([] { return Mix_Playing(-1) == 0; }));
    let_mix(watch_);
    layer_.Snd_Shutdown();
    EXPECT_EQ(loud_frames_in("mix.raw"), kFrames);
  }
  unsetenv("SDL_DISKAUDIOFILE");
}

}  // namespace
}  // namespace qm
