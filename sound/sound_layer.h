#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/ports.h"
#include "sound/mixer.h"

namespace qm {

// The sound layer over SDL2's audio device: five samples loaded once from "Sound/<name>.wav"
// (relative to the current directory) and converted to the device's format, each play on any
// free channel of 64, silence stopping them all.
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
  // Frees the five samples and closes the device; harmless when never started.
  void Snd_Shutdown();
  // The channels sounding now; 0 when not started.
  int playing() const;

  bool sound_enabled = false;

 private:
  // Empty when not loaded.
  std::array<std::vector<std::int16_t>, 5> samples_;
  // Touched by SDL's audio thread while the device is open: only with the device locked.
  Mixer mixer_;
  std::uint32_t device_ = 0;
};

}  // namespace qm
