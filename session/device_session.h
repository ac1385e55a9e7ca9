#pragma once

#include <cstdint>

#include "engine/game.h"
#include "engine/ports.h"
#include "engine/timer.h"
#include "lcd/scene.h"
#include "session/button.h"
#include "session/system_time.h"

namespace qm {

// What the running device reaches outside itself. The timers are driven by the host (a window's
// event loop, or a simulated clock); a null time of day is the system's local clock.
struct SessionPorts {
  TimerHost& timers;
  SoundPort& sound;
  SettingsPort& settings;
  ModeHintPort& hint;
  LocalTimePort* time = nullptr;
};

// The running handheld: its screen, its game with the nine timers, the state of its buttons and
// its clock. Every input (keys, clicks on the drawn buttons, game controllers, menus) reaches the
// game through press and release; windows only show the scene and forward what they receive.
class DeviceSession final : public ButtonSink {
 public:
  explicit DeviceSession(SessionPorts ports);
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  Scene& scene() { return scene_; }
  const Scene& scene() const { return scene_; }
  Game& game() { return game_; }
  const Game& game() const { return game_; }

  // The device's creation: the LCD's lookup tables, the passage table, the high scores, and the
  // generator seeded. Lights nothing and starts no timer.
  void create(std::uint32_t seed);
  // The device comes alive in time mode.
  void switch_on();

  void press(Button button) override;
  void release(Button button) override;
  bool held(Button button) const { return held_ & bit(button); }

 private:
  static std::uint16_t bit(Button button) { return std::uint16_t(1u << static_cast<int>(button)); }

  SystemTime system_time_;
  Scene scene_;
  Game game_;
  std::uint16_t held_ = 0;
};

}  // namespace qm
