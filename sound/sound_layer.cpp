#include "sound/sound_layer.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <memory>

#include <SDL.h>

namespace qm {

namespace {

// In the order of Sample, which is also the loading order.
constexpr std::array<const char*, 5> kSampleFiles = {
    "Sound/Beep.wav", "Sound/Bonus.wav", "Sound/Miss.wav", "Sound/Point.wav", "Sound/Start.wav",
};

constexpr int kMixRate = 22050;
constexpr int kOutputChannels = 2;
// 512 frames at 22050 Hz is about 23 ms per buffer, so a sample starts well within 50 ms.
constexpr int kBufferFrames = 512;
// A damaged header can claim a rate that would blow a small file up to gigabytes in the
// conversion; this much room takes over a minute of any real sound.
constexpr std::size_t kMostConversionBytes = 32 << 20;

// Runs on SDL's audio thread, which holds the device lock.
void SDLCALL fill_buffer(void* mixer, Uint8* stream, int length) {
  static_cast<Mixer*>(mixer)->mix(
      {reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / 2});
}

SDL_AudioDeviceID init_and_open(Mixer& mixer) {
  // SDL's audio brings up its event queue, which would catch SIGINT and SIGTERM into quit events
  // that this program never reads; they must keep ending it.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec wanted{};
  wanted.freq = kMixRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kOutputChannels;
  wanted.samples = kBufferFrames;
  wanted.callback = fill_buffer;
  wanted.userdata = &mixer;
  // No changes allowed: SDL converts to whatever the hardware takes, so the samples and the mix
  // stay in this one format.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (device != 0) {
    SDL_PauseAudioDevice(device, 0);
    return device;
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return 0;
}

// Output type 1 goes to ALSA directly; type 2 (and anything else) leaves the choice to SDL,
// which picks the sound server. A normal-priority hint yields to SDL_AUDIODRIVER.
SDL_AudioDeviceID open_output(int output_type, Mixer& mixer) {
  if (output_type == 1) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "alsa", SDL_HINT_NORMAL);
  SDL_AudioDeviceID device = init_and_open(mixer);
  if (device == 0) {
    // No usable output: mix into the silent dummy driver, so that the samples still load and
    // the program runs without sound instead of failing as if the sound files were missing.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    device = init_and_open(mixer);
  }
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return device;
}

// Holds the device's lock, which the audio thread holds while it mixes, for a scope.
class DeviceLock {
 public:
  explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device); }
  ~DeviceLock() { SDL_UnlockAudioDevice(device_); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

struct WavFree {
  void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};

// The file's sound in the device's format; empty when the file is missing, damaged or not
// convertible. SDL opens the file with a blocking fopen, so a named pipe that nothing writes to
// would hold the start forever: only a regular file is opened.
std::vector<std::int16_t> load_sample(const char* file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return {};
  SDL_RWops* stream = SDL_RWFromFile(file, "rb");
  if (!stream) return {};
  SDL_AudioSpec spec{};
  Uint8* loaded = nullptr;
  Uint32 length = 0;
  // Closes the stream whatever the outcome.
  if (!SDL_LoadWAV_RW(stream, 1, &spec, &loaded, &length)) return {};
  const std::unique_ptr<Uint8, WavFree> wav(loaded);

  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, kOutputChannels,
                        kMixRate) < 0)
    return {};
  // The conversion works in place and needs len_mult times the input's room.
  const std::size_t room = std::size_t{length} * static_cast<std::size_t>(cvt.len_mult);
  if (length == 0 || room > kMostConversionBytes) return {};
  cvt.len = static_cast<int>(length);
  std::vector<std::int16_t> sample((room + 1) / 2);
  std::memcpy(sample.data(), wav.get(), length);
  cvt.buf = reinterpret_cast<Uint8*>(sample.data());
  // Without filters to run this only sets len_cvt.
  if (SDL_ConvertAudio(&cvt) != 0) return {};
  sample.resize(static_cast<std::size_t>(cvt.len_cvt) / 2);
  sample.shrink_to_fit();
  return sample;
}

}  // namespace

SoundLayer::~SoundLayer() {
  Snd_Shutdown();
}

bool SoundLayer::Snd_Start(int output_type) {
  if (device_ == 0) {
    device_ = open_output(output_type, mixer_);
    if (device_ == 0) return false;
    // The callback already runs, but the mixer plays nothing until asked, so the samples can
    // load without the lock.
    for (std::size_t i = 0; i < samples_.size(); ++i) samples_[i] = load_sample(kSampleFiles[i]);
  }
  return !samples_[static_cast<std::size_t>(Sample::Beep)].empty();
}

void SoundLayer::Snd_Play(Sample sample) {
  if (!sound_enabled || device_ == 0) return;
  const std::vector<std::int16_t>& data = samples_[static_cast<std::size_t>(sample)];
  if (data.empty()) return;
  const DeviceLock lock(device_);
  mixer_.play(data);
}

void SoundLayer::Snd_Silence() {
  if (!sound_enabled || device_ == 0) return;
  const DeviceLock lock(device_);
  mixer_.silence();
}

int SoundLayer::playing() const {
  if (device_ == 0) return 0;
  const DeviceLock lock(device_);
  return mixer_.playing();
}

void SoundLayer::Snd_Shutdown() {
  if (device_ == 0) return;
  // Closing waits for the audio thread to end; only then may the channels and the samples they
  // point into go.
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  mixer_.silence();
  for (std::vector<std::int16_t>& sample : samples_) sample = {};
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace qm
