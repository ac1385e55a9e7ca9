#include "tools/skin/tones.h"

#include <algorithm>
#include <cmath>

namespace qm::skin {

namespace {

// Equal-tempered pitch from a MIDI note number (69 is A4, 440 Hz).
double pitch(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

constexpr int C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83;
constexpr int C6 = 84, D6 = 86, E6 = 88, G6 = 91, C7 = 96;

Note n(int midi, int ms) {
  return {pitch(midi), ms};
}
Note rest(int ms) {
  return {0.0, ms};
}

void put_le(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::int16_t> render_tune(const std::vector<Note>& notes) {
  constexpr double kLevel = 9000.0;
  constexpr double kRampMs = 3.0;
  std::vector<std::int16_t> out;
  double phase = 0.0;
  for (const Note& note : notes) {
    const int count = note.ms * kSampleRate / 1000;
    const int ramp = std::max(1, static_cast<int>(kRampMs * kSampleRate / 1000));
    for (int i = 0; i < count; ++i) {
      double value = 0.0;
      if (note.hz > 0) {
        phase += note.hz / kSampleRate;
        phase -= std::floor(phase);
        // A piezo disc rounds the square's corners a little; a touch of the fundamental does it.
        const double square = phase < 0.5 ? 1.0 : -1.0;
        const double round = std::sin(2.0 * M_PI * phase);
        const double envelope = std::min(
            {1.0, static_cast<double>(i) / ramp, static_cast<double>(count - 1 - i) / ramp});
        // A slight fall over a long note, as a buzzer's drive sags.
        const double sag = 1.0 - 0.25 * static_cast<double>(i) / std::max(count, 1);
        value = (0.8 * square + 0.2 * round) * envelope * sag;
      }
      out.push_back(static_cast<std::int16_t>(std::lround(value * kLevel)));
    }
  }
  return out;
}

std::vector<std::uint8_t> wav_file(const std::vector<std::int16_t>& samples) {
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + data_bytes);
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
  };
  tag("RIFF");
  put_le(out, 36 + data_bytes, 4);
  tag("WAVE");
  tag("fmt ");
  put_le(out, 16, 4);
  put_le(out, 1, 2);  // PCM
  put_le(out, 1, 2);  // mono
  put_le(out, kSampleRate, 4);
  put_le(out, kSampleRate * 2, 4);
  put_le(out, 2, 2);
  put_le(out, 16, 2);
  tag("data");
  put_le(out, data_bytes, 4);
  for (std::int16_t s : samples) put_le(out, static_cast<std::uint16_t>(s), 2);
  return out;
}

std::vector<Sound> handheld_sounds() {
  return {
      // The ghosts' footstep: one short low pip, far shorter than the 180 ms siren period.
      {"Beep.wav", {n(C5, 70)}},
      // A ghost or the cherry eaten: a bright run up and a trill on top.
      {"Bonus.wav",
       {n(C6, 55), rest(10), n(E6, 55), rest(10), n(G6, 55), rest(10), n(C7, 110), rest(20),
        n(G6, 55), n(C7, 55), n(G6, 55), n(C7, 160)}},
      // Caught: a stumbling fall down the scale to a low thud.
      {"Miss.wav",
       {n(B5, 130), n(A5, 130), n(G5, 130), rest(30), n(F5, 130), n(E5, 130), n(D5, 130), rest(40),
        n(D5 - 5, 160), n(C5 - 12, 420)}},
      // A pill: a tiny rising chirp.
      {"Point.wav", {n(G6, 18), n(C7, 22)}},
      // The game's fanfare.
      {"Start.wav",
       {n(G5 - 12, 110), n(C5, 110), n(E5, 110), n(G5, 220), n(E5, 110), n(G5, 220), rest(30),
        n(A5, 110),      n(G5, 110), n(F5, 110), n(E5, 110), n(D5, 220), rest(30),   n(E5, 110),
        n(F5, 110),      n(G5, 110), n(C6, 220), n(B5, 110), n(D6, 110), n(C6, 420)}},
  };
}

}  // namespace qm::skin
