#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm::skin {

constexpr int kSampleRate = 22050;

// One note of a tune: a pitch in hertz (0 for a rest) held for some milliseconds.
struct Note {
  double hz;
  int ms;
};

// The tune as a piezo buzzer plays it: a square wave with short rises and falls at each note so
// that nothing clicks. 16-bit mono samples.
std::vector<std::int16_t> render_tune(const std::vector<Note>& notes);

// A complete 16-bit mono PCM WAV file of the samples.
std::vector<std::uint8_t> wav_file(const std::vector<std::int16_t>& samples);

// The five sounds of the handheld, by file name (Beep.wav ...).
struct Sound {
  std::string file;
  std::vector<Note> tune;
};
std::vector<Sound> handheld_sounds();

}  // namespace qm::skin
