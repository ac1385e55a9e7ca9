#pragma once

#include <array>

#include "engine/ports.h"

struct Mix_Chunk;

namespace qm {

// The sound layer over SDL2_mixer: five samples loaded once from "Sound/<name>.wav" (relative to
// the current directory), each play on any free channel of 64, silence stopping them all.
class SoundLayer final : public SoundPort {
 public:
  SoundLayer() = default;
  SoundLayer(const SoundLayer&) = delete;
  SoundLayer& operator=(const SoundLayer&) = delete;
  ~SoundLayer() override;

  // Output type 1 or 2 (the splash screen's two drivers). True when the Beep sample loaded.
  bool Snd_Start(int output_type);
  void Snd_Play(Sample sample) override;
  void Snd_Silence() override;
  // Frees the five samples and closes the library; harmless when never started.
  void Snd_Shutdown();

  bool sound_enabled = false;

 private:
  std::array<Mix_Chunk*, 5> samples_{};
  bool open_ = false;
};

}  // namespace qm
