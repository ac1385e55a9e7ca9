#include "sound/sound_layer.h"

#include <array>
#include <filesystem>

#include <SDL.h>
#include <SDL_mixer.h>

namespace qm {

namespace {

// In the order of Sample, which is also the loading order.
constexpr std::array<const char*, 5> kSampleFiles = {
    "Sound/Beep.wav", "Sound/Bonus.wav", "Sound/Miss.wav", "Sound/Point.wav", "Sound/Start.wav",
};

constexpr int kMixRate = 22050;
constexpr int kChannels = 64;
// 512 frames at 22050 Hz is about 23 ms per buffer, so a sample starts well within 50 ms.
constexpr int kBufferFrames = 512;

bool init_and_open() {
  // SDL's audio brings up its event queue, which would catch SIGINT and SIGTERM into quit events
  // that this program never reads; they must keep ending it.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(kMixRate, MIX_DEFAULT_FORMAT, 2, kBufferFrames) == 0) return true;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return false;
}

// Output type 1 goes to ALSA directly; type 2 (and anything else) leaves the choice to SDL,
// which picks the sound server. A normal-priority hint yields to SDL_AUDIODRIVER.
bool open_output(int output_type) {
  if (output_type == 1) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "alsa", SDL_HINT_NORMAL);
  bool opened = init_and_open();
  if (!opened) {
    // No usable output: mix into the silent dummy driver, so that the samples still load and
    // the program runs without sound instead of failing as if the sound files were missing.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    opened = init_and_open();
  }
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return opened;
}

// SDL opens the file with a blocking fopen, so a named pipe that nothing writes to would hold
// the start forever: only a regular file is handed to the mixer, anything else stays unloaded.
Mix_Chunk* load_sample(const char* file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return nullptr;
  return Mix_LoadWAV(file);
}

}  // namespace

SoundLayer::~SoundLayer() {
  Snd_Shutdown();
}

bool SoundLayer::Snd_Start(int output_type) {
  if (!open_) {
    open_ = open_output(output_type);
    if (!open_) return false;
    // Opening resets the channel count to 8.
    Mix_AllocateChannels(kChannels);
    for (std::size_t i = 0; i < samples_.size(); ++i) samples_[i] = load_sample(kSampleFiles[i]);
  }
  return samples_[static_cast<std::size_t>(Sample::Beep)] != nullptr;
}

void SoundLayer::Snd_Play(Sample sample) {
  if (!sound_enabled || !open_) return;
  Mix_Chunk* chunk = samples_[static_cast<std::size_t>(sample)];
  if (chunk) Mix_PlayChannel(-1, chunk, 0);
}

void SoundLayer::Snd_Silence() {
  if (!sound_enabled || !open_) return;
  Mix_HaltChannel(-1);
}

void SoundLayer::Snd_Shutdown() {
  // Channel calls after Mix_CloseAudio crash, so nothing touches the mixer once it is closed;
  // the samples exist only while it is open.
  if (!open_) return;
  for (Mix_Chunk*& chunk : samples_) {
    if (chunk) Mix_FreeChunk(chunk);
    chunk = nullptr;
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open_ = false;
}

}  // namespace qm
