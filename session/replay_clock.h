#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/timer.h"

namespace qm {

// The timers while a replay plays: each running timer's next expiry in the device's own
// milliseconds, so that watching keeps the game's pace. Which timer expires next is the
// recording's to say, never this clock's, so a game whose timers ran late replays as it went.
class ReplayClock final : public TimerHost {
 public:
  void start(Timer& timer) override { timer.host_tag = due(std::max(timer.interval(), 1)); }
  void stop(Timer&) override {}

  // Milliseconds until the running timer is due, 0 when it is overdue.
  std::int64_t wait(const Timer& timer) const {
    return std::max<std::int64_t>(0, static_cast<std::int64_t>(timer.host_tag) - now_);
  }
  // The timer expires: the clock moves on to its due time, and its next period is booked before
  // the handler runs, so that a handler which sets a new period replaces the booking.
  void fire(Timer& timer) {
    now_ += wait(timer);
    timer.host_tag = due(std::max(timer.interval(), 1));
    timer.fire();
  }

 private:
  std::uint64_t due(int ms) const { return static_cast<std::uint64_t>(now_ + ms); }

  std::int64_t now_ = 0;
};

}  // namespace qm
