// Plays the five samples through the splash screen's first driver, as the program does, while
// recording what reaches the sound server's sink through its monitor, and prints when each one
// started there. Started from the ready folder (the samples are Sound/<name>.wav) with a sound
// server whose default source is the monitor of its default sink. Argument: rounds of the five.
// Fails when the driver did not reach a sound server, or a sample did not arrive, in its order and
// length, within 50 ms of being asked for.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/sound_layer.h"

namespace {

using Clock = std::chrono::steady_clock;
using qm::Sample;

constexpr int kRate = 48000;
constexpr double kLimitMs = 50;
// Louder than any noise of a null sink, quieter than the start of every sample.
constexpr int kLoud = 300;
constexpr std::array<const char*, 5> kNames = {"Beep", "Bonus", "Miss", "Point", "Start"};

// The recording: each chunk's frames with the moment the chunk came in.
struct Chunk {
  Clock::time_point arrived;
  std::size_t first;  // index of its first frame in frames
};
struct Recording {
  std::mutex lock;
  std::vector<std::int16_t> frames;
  std::vector<Chunk> chunks;
};

void record(void* user, Uint8* data, int bytes) {
  auto& rec = *static_cast<Recording*>(user);
  const auto now = Clock::now();
  const auto* samples = reinterpret_cast<const std::int16_t*>(data);
  const std::lock_guard guard(rec.lock);
  rec.chunks.push_back({now, rec.frames.size()});
  rec.frames.insert(rec.frames.end(), samples, samples + bytes / 2);
}

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// When a frame was at the sink: the moment its chunk came in, less the frames after it. The
// recording's own delay only adds to this, so a sample found in time was in time.
Clock::time_point frame_time(const Recording& rec, std::size_t frame) {
  auto chunk = std::upper_bound(rec.chunks.begin(), rec.chunks.end(), frame,
                                [](std::size_t f, const Chunk& c) { return f < c.first; });
  --chunk;
  const std::size_t end =
      std::next(chunk) == rec.chunks.end() ? rec.frames.size() : std::next(chunk)->first;
  return chunk->arrived - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                              static_cast<double>(end - 1 - frame) / kRate));
}

struct Asked {
  Sample sample;
  Clock::time_point at;
  std::size_t from;  // the recording's length when asked
  std::size_t to;    // its length when the next one was asked
};

double sample_seconds(Sample sample) {
  SDL_AudioSpec spec{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  const std::string file = std::string("Sound/") + kNames[static_cast<int>(sample)] + ".wav";
  if (!SDL_LoadWAV(file.c_str(), &spec, &buffer, &length)) return 0;
  SDL_FreeWAV(buffer);
  return static_cast<double>(length) / (SDL_AUDIO_BITSIZE(spec.format) / 8) / spec.channels /
         spec.freq;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  qm::SoundLayer layer;
  layer.sound_enabled = true;
  if (!layer.Snd_Start(0)) {
    std::fprintf(stderr, "FAIL: the samples did not load\n");
    return 1;
  }
  const std::string driver = SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "";
  if (driver != "pulseaudio" && driver != "pipewire") {
    std::fprintf(stderr, "FAIL: the first driver opened '%s', no sound server\n", driver.c_str());
    return 1;
  }
  Recording rec;
  rec.frames.reserve(static_cast<std::size_t>(kRate) * 60 * rounds);
  rec.chunks.reserve(static_cast<std::size_t>(kRate) * 60 * rounds / 64);
  SDL_AudioSpec wanted{};
  wanted.freq = kRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 1;
  wanted.samples = 256;
  wanted.callback = record;
  wanted.userdata = &rec;
  const SDL_AudioDeviceID monitor = SDL_OpenAudioDevice(nullptr, 1, &wanted, nullptr, 0);
  if (monitor == 0) {
    std::fprintf(stderr, "FAIL: cannot record the sink's monitor: %s\n", SDL_GetError());
    return 1;
  }
  SDL_PauseAudioDevice(monitor, 0);
  // The recording settles on small chunks only after its first second or so.
  std::this_thread::sleep_for(std::chrono::seconds(2));

  std::vector<Asked> asked;
  const auto recorded = [&] {
    const std::lock_guard guard(rec.lock);
    return rec.frames.size();
  };
  for (int round = 0; round < rounds; ++round) {
    for (int s = 0; s < 5; ++s) {
      const auto sample = static_cast<Sample>(s);
      asked.push_back({sample, Clock::now(), recorded(), 0});
      layer.Snd_Play(sample);
      // Each sample alone, and silence after it, so every start is its own.
      const auto give_up = Clock::now() + std::chrono::seconds(10);
      while (layer.playing() > 0 && Clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
  }
  SDL_CloseAudioDevice(monitor);
  for (std::size_t i = 0; i < asked.size(); ++i)
    asked[i].to = i + 1 < asked.size() ? asked[i + 1].from : rec.frames.size();

  bool ok = true;
  std::vector<double> delays;
  for (const Asked& a : asked) {
    const char* name = kNames[static_cast<int>(a.sample)];
    // The recording's chunks came in after the request was made, give or take one chunk.
    const std::size_t from = a.from >= wanted.samples ? a.from - wanted.samples : 0;
    std::size_t onset = a.to, last = a.to;
    for (std::size_t f = from; f < a.to; ++f) {
      if (std::abs(rec.frames[f]) < kLoud) continue;
      if (onset == a.to) onset = f;
      last = f;
    }
    if (onset == a.to) {
      std::printf("%s: never arrived\n", name);
      ok = false;
      continue;
    }
    const double delay = ms(frame_time(rec, onset) - a.at);
    const double length = static_cast<double>(last - onset + 1) / kRate;
    const double expected = sample_seconds(a.sample);
    const bool in_time = delay <= kLimitMs;
    // Its length tells the samples apart: another one's, or none at all, is a fault.
    const bool itself = std::abs(length - expected) < 0.06;
    std::printf("%s: started %.1f ms after asked, %.3f s long (the file %.3f s)%s\n", name, delay,
                length, expected, in_time && itself ? "" : "  <- FAIL");
    ok = ok && in_time && itself;
    delays.push_back(delay);
  }
  if (!delays.empty()) {
    std::sort(delays.begin(), delays.end());
    std::printf("median=%.1f worst=%.1f plays=%zu driver=%s\n", delays[delays.size() / 2],
                delays.back(), delays.size(), driver.c_str());
  }
  return ok ? 0 : 1;
}
