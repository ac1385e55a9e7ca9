#pragma once

#include <cstdint>
#include <functional>

#include "session/device_session.h"

namespace qm::testing {

// Plays a game at the level given from idle game mode until game over, as a player would: a new
// direction held every 300 ms of the device's time, drawn from a fixed sequence. `advance` lets
// the device's clock run on. The last direction is left held, as a player's thumb stays on it.
inline void play_until_over(DeviceSession& session, Button level,
                            const std::function<void(std::int64_t)>& advance) {
  session.press(level);
  advance(200);
  session.release(level);
  const Button arrows[] = {Button::Left, Button::Up, Button::Right, Button::Down};
  std::uint32_t draw = 12345;
  Button held = Button::Left;
  session.press(held);
  for (int turn = 0; turn < 20000 && session.game().state().gam_mode != mode_game_over; ++turn) {
    advance(300);
    session.release(held);
    draw = draw * 1103515245u + 12345u;
    held = arrows[(draw >> 16) % 4];
    session.press(held);
  }
}

}  // namespace qm::testing
