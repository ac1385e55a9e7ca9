#pragma once

#include <cstdint>
#include <queue>
#include <vector>

#include "engine/timer.h"

namespace qm {

// Virtual milliseconds for tests and benchmarks: timers fire when the clock is advanced, one
// event at a time in order of due time (and of starting, for equal times).
class SimClock final : public TimerHost {
 public:
  void start(Timer& timer) override;
  void stop(Timer& timer) override;

  std::int64_t now() const { return now_; }

  // Fires every event due up to now + ms, then sets the clock to now + ms.
  void advance(std::int64_t ms);
  // Fires the next due event, moving the clock to its time; false when no timer runs.
  bool step();
  // Time of the next due event, or -1 when no timer runs.
  std::int64_t next_due();

 private:
  struct Entry {
    std::int64_t due;
    std::uint64_t order;
    Timer* timer;
    std::uint64_t tag;
    bool operator>(const Entry& o) const { return due != o.due ? due > o.due : order > o.order; }
  };
  void drop_stale();

  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue_;
  std::int64_t now_ = 0;
  std::uint64_t order_ = 0;
  std::uint64_t tags_ = 0;
};

}  // namespace qm
