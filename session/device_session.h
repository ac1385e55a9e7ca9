#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/game.h"
#include "engine/ports.h"
#include "engine/timer.h"
#include "lcd/scene.h"
#include "session/button.h"
#include "session/replay_clock.h"
#include "session/replay_file.h"
#include "session/system_time.h"

namespace qm {

// Takes each game the session has recorded, as the game ends.
class ReplaySink {
 public:
  virtual ~ReplaySink() = default;
  virtual void keep(const Replay& replay) = 0;
};

// What the running device reaches outside itself. The timers are driven by the host (a window's
// event loop, or a simulated clock); a null time of day is the system's local clock; without a
// replay sink no game is recorded.
struct SessionPorts {
  TimerHost& timers;
  SoundPort& sound;
  SettingsPort& settings;
  ModeHintPort& hint;
  LocalTimePort* time = nullptr;
  ReplaySink* replays = nullptr;
};

// The running handheld: its screen, its game with the nine timers, the state of its buttons and
// its clock. Every input (keys, clicks on the drawn buttons, game controllers, menus) reaches the
// game through press and release; windows only show the scene and forward what they receive.
//
// Every game is recorded as it is played: from the AMA or PRO press that begins it to game over,
// to the MODE press that abandons it, or to end_game(); each press, release and timer expiry in
// the order they reached the engine. A recording plays back on the same session (watch), with
// its timers on a replay clock and nothing written to the settings.
class DeviceSession final : public ButtonSink,
                            private TimerHost,
                            private SettingsPort,
                            private LocalTimePort {
 public:
  explicit DeviceSession(SessionPorts ports);
  ~DeviceSession() override;
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  Scene& scene() { return scene_; }
  const Scene& scene() const { return scene_; }
  Game& game() { return game_; }
  const Game& game() const { return game_; }
  // The nine timers in the order a replay numbers them.
  std::array<Timer*, 9> timers();

  // The device's creation: the LCD's lookup tables, the passage table, the high scores, and the
  // generator seeded. Lights nothing and starts no timer.
  void create(std::uint32_t seed);
  // The device comes alive in time mode.
  void switch_on();

  // While watching, a press stops watching instead; a release does nothing.
  void press(Button button) override;
  void release(Button button) override;
  bool held(Button button) const { return held_ & bit(button); }

  // The program ends: a game in play is kept as far as it went.
  void end_game();

  // Watching a replay: the game in play, if any, is kept and ended; the device then stands as the
  // recorded game began. watch_step plays the next event; watch_wait is the device's time until
  // it is due (-1 when the events are done). stop_watching returns the device to time mode.
  void watch(const Replay& replay);
  enum class Step { Played, Done, Refused };
  Step watch_step();
  std::int64_t watch_wait();
  bool watching() const { return watch_ != nullptr; }
  // Why watch_step refused, naming the event.
  const std::string& watch_error() const { return watch_error_; }
  void stop_watching();

 private:
  static std::uint16_t bit(Button button) { return std::uint16_t(1u << static_cast<int>(button)); }

  // TimerHost: the game's timers run on the live host, or on the replay clock while watching.
  void start(Timer& timer) override;
  void stop(Timer& timer) override;
  void run_expired(Timer& timer) override;
  // SettingsPort: while watching, the high scores are the recorded ones and nothing is written.
  int read_integer(const std::string& name, int default_value) override;
  void write_integer(const std::string& name, int value) override;
  void write_integers(std::span<const Value> values) override;
  int write_higher(const std::string& name, int value, Range valid) override;
  // LocalTimePort: the recorded time of day while watching.
  TimeOfDay local_time() override;

  void button_down(Button button);
  void button_up(Button button);
  void record(std::uint8_t event);
  // Keeps the recording when the game it holds has ended (or when `now`), then drops it.
  void settle_recording(bool now);

  struct Watch {
    Replay replay;
    std::size_t next = 0;
    ReplayClock clock;
  };

  SessionPorts ports_;
  SystemTime system_time_;
  Scene scene_;
  Game game_;
  std::uint16_t held_ = 0;
  std::optional<Replay> recording_;
  bool recorded_play_ = false;  // the recorded game got past its high score display
  std::unique_ptr<Watch> watch_;
  std::string watch_error_;
};

}  // namespace qm
