// Plays the five samples through the splash screen's first driver, as the program does, while
// recording what reaches the sound server's sink through its monitor, and prints when each one
// started there. Started from the ready folder (the samples are Sound/<name>.wav) with a sound
// server whose default source is the monitor of its default sink. Argument: rounds of the five.
// Fails (1) when the driver did not reach a sound server, or a sample did not arrive, in its order
// and length, within 50 ms of being asked for, the recording's own delay not counted; answers 2
// when the recording itself lost frames, which says nothing about the player.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
// The recording is caught up when its newest frame is at most this much later than at its best.
constexpr auto kCaughtUp = std::chrono::milliseconds(10);
constexpr std::array<const char*, 5> kNames = {"Beep", "Bonus", "Miss", "Point", "Start"};

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

Clock::duration frames_time(std::size_t frames) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(frames) / kRate));
}

// The recording: each chunk's frames with the moment the chunk came in. The monitor passes on
// frames at the sink's steady rate, so frame f was at the sink no later than origin + (f + 1) /
// rate, origin taken from the chunk that came in with the least delay. A chunk's delay beyond that,
// its lag, is the recording's own (its thread or the server's late), not the player's.
struct Chunk {
  Clock::time_point arrived;
  std::size_t first;  // index of its first frame in frames
};
struct Recording {
  std::mutex lock;
  std::vector<std::int16_t> frames;
  std::vector<Chunk> chunks;
  Clock::time_point origin = Clock::time_point::max();

  std::size_t end(std::size_t c) const {
    return c + 1 < chunks.size() ? chunks[c + 1].first : frames.size();
  }
  std::size_t chunk_of(std::size_t frame) const {
    const auto after = std::upper_bound(chunks.begin(), chunks.end(), frame,
                                        [](std::size_t f, const Chunk& c) { return f < c.first; });
    return static_cast<std::size_t>(after - chunks.begin()) - 1;
  }
  Clock::duration lag(std::size_t c) const {
    return chunks[c].arrived - origin - frames_time(end(c));
  }
  Clock::time_point at_sink(std::size_t frame) const { return origin + frames_time(frame + 1); }
  std::size_t frame_at(Clock::time_point t) const {
    return std::min(frames.size(),
                    static_cast<std::size_t>(std::max(0.0, ms(t - origin)) * kRate / 1000));
  }
};

void record(void* user, Uint8* data, int bytes) {
  auto& rec = *static_cast<Recording*>(user);
  const auto now = Clock::now();
  const auto* samples = reinterpret_cast<const std::int16_t*>(data);
  const std::lock_guard guard(rec.lock);
  rec.chunks.push_back({now, rec.frames.size()});
  rec.frames.insert(rec.frames.end(), samples, samples + bytes / 2);
  rec.origin = std::min(rec.origin, now - frames_time(rec.frames.size()));
}

// How long the player's threads (SDL's playback thread and every thread of the sound server) stood
// ready to run but without a core: the machine's load, which delays any player, not this one's
// fault. Polled through the run.
class Starvation {
 public:
  explicit Starvation(const std::string& server_pid) {
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
      std::ifstream comm(task.path() / "comm");
      std::string name;
      if (std::getline(comm, name) && name.starts_with("SDLAudioP"))
        stats_.push_back(task.path() / "schedstat");
    }
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + server_pid + "/task", error))
      stats_.push_back(task.path() / "schedstat");
  }
  void poll() { polls_.push_back({Clock::now(), waited()}); }
  // The waiting from the first poll at or after `from` to the first at or after `to`.
  Clock::duration between(Clock::time_point from, Clock::time_point to) const {
    const auto at = [&](Clock::time_point t) {
      const auto p =
          std::lower_bound(polls_.begin(), polls_.end(), t,
                           [](const Poll& poll, Clock::time_point t) { return poll.at < t; });
      return p == polls_.end() ? polls_.back().waited : p->waited;
    };
    return polls_.empty() ? Clock::duration{} : at(to) - at(from);
  }
  std::size_t threads() const { return stats_.size(); }

 private:
  struct Poll {
    Clock::time_point at;
    Clock::duration waited;
  };
  Clock::duration waited() const {
    std::int64_t total = 0;
    for (const auto& file : stats_) {
      std::ifstream stat(file);
      std::int64_t running = 0, waiting = 0;
      if (stat >> running >> waiting) total += waiting;
    }
    return std::chrono::nanoseconds(total);
  }
  std::vector<std::filesystem::path> stats_;
  std::vector<Poll> polls_;
};

struct Asked {
  Sample sample;
  Clock::time_point at;
  std::size_t from;  // the recording's length when asked
};

double sample_seconds(int sample) {
  SDL_AudioSpec spec{};
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  const std::string file =
      std::string("Sound/") + kNames[static_cast<std::size_t>(sample)] + ".wav";
  if (!SDL_LoadWAV(file.c_str(), &spec, &buffer, &length)) return 0;
  SDL_FreeWAV(buffer);
  return static_cast<double>(length) / (SDL_AUDIO_BITSIZE(spec.format) / 8) / spec.channels /
         spec.freq;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: sound_server_probe ROUNDS SERVER_PID\n");
    return 1;
  }
  const int rounds = std::max(1, std::atoi(argv[1]));
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

  Starvation starvation(argv[2]);
  if (starvation.threads() < 2) {
    std::fprintf(stderr, "FAIL: no playback thread or no sound server %s to watch\n", argv[2]);
    return 1;
  }
  const auto pause = [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    starvation.poll();
  };
  std::vector<Asked> asked;
  const auto recorded = [&] {
    const std::lock_guard guard(rec.lock);
    return rec.frames.size();
  };
  // How far the recording is behind the sink now, beyond its least delay.
  const auto behind = [&] {
    const std::lock_guard guard(rec.lock);
    return Clock::now() - rec.origin - frames_time(rec.frames.size());
  };
  for (int round = 0; round < rounds; ++round) {
    for (int s = 0; s < 5; ++s) {
      const auto sample = static_cast<Sample>(s);
      asked.push_back({sample, Clock::now(), recorded()});
      starvation.poll();
      layer.Snd_Play(sample);
      // Each sample alone, and silence after it, so every start is its own.
      const auto give_up = Clock::now() + std::chrono::seconds(10);
      while (layer.playing() > 0 && Clock::now() < give_up) pause();
      for (int i = 0; i < 50; ++i) pause();
      // The whole sample recorded before the next one: a recording that lost frames never
      // catches up, and its clock would then place later sounds too early.
      const auto wait_for_recording = Clock::now() + std::chrono::seconds(5);
      while (behind() > kCaughtUp && Clock::now() < wait_for_recording) pause();
      if (behind() > kCaughtUp) {
        std::printf("the recording fell %.0f ms behind the sink for good: not a measure\n",
                    ms(behind()));
        return 2;
      }
    }
  }
  SDL_CloseAudioDevice(monitor);

  bool ok = true;
  std::vector<double> delays;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const Asked& a = asked[i];
    const char* name = kNames[static_cast<int>(a.sample)];
    // Up to the next request: the sounds at the sink before it are this one's.
    const std::size_t to = i + 1 < asked.size() ? rec.frame_at(asked[i + 1].at) : rec.frames.size();
    std::size_t onset = to, last = to;
    for (std::size_t f = a.from; f < to; ++f) {
      if (std::abs(rec.frames[f]) < kLoud) continue;
      if (onset == to) onset = f;
      last = f;
    }
    if (onset == to) {
      std::printf("%s: never arrived  <- FAIL\n", name);
      ok = false;
      continue;
    }
    const double delay = ms(rec.at_sink(onset) - a.at);
    const double lag = ms(rec.lag(rec.chunk_of(onset)));
    const double starved = ms(starvation.between(a.at, rec.at_sink(onset)));
    const double length = static_cast<double>(last - onset + 1) / kRate;
    const double expected = sample_seconds(static_cast<int>(a.sample));
    const bool in_time = delay - starved <= kLimitMs;
    // Its length tells the samples apart (a starved thread's gap only adds a little): the nearest
    // file's must be its own.
    int nearest = 0;
    for (int s = 1; s < 5; ++s)
      if (std::abs(length - sample_seconds(s)) < std::abs(length - sample_seconds(nearest)))
        nearest = s;
    const bool itself = nearest == static_cast<int>(a.sample);
    std::printf(
        "%s: at the sink %.1f ms after asked (recorded %.1f ms after, less the recording's own "
        "delay of %.1f ms; the player's threads waited %.1f ms for a core), %.3f s long (the "
        "file %.3f s)%s\n",
        name, delay, delay + lag, lag, starved, length, expected,
        in_time && itself ? "" : "  <- FAIL");
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
