#include "engine/sim_clock.h"

namespace qm {

// Each start gives the timer a new tag; queue entries with an older tag are stale and skipped.
void SimClock::start(Timer& timer) {
  timer.host_tag = ++tags_;
  queue_.push({now_ + timer.interval(), ++order_, &timer, timer.host_tag});
}

void SimClock::stop(Timer& timer) { timer.host_tag = ++tags_; }

void SimClock::drop_stale() {
  while (!queue_.empty() && queue_.top().tag != queue_.top().timer->host_tag) queue_.pop();
}

std::int64_t SimClock::next_due() {
  drop_stale();
  return queue_.empty() ? -1 : queue_.top().due;
}

bool SimClock::step() {
  drop_stale();
  if (queue_.empty()) return false;
  Entry e = queue_.top();
  queue_.pop();
  now_ = e.due;
  // The next period is booked before the handler runs, so that a handler which sets a new
  // period or stops its own timer replaces this booking.
  e.timer->host_tag = ++tags_;
  queue_.push({e.due + e.timer->interval(), ++order_, e.timer, e.timer->host_tag});
  e.timer->fire();
  return true;
}

void SimClock::advance(std::int64_t ms) {
  const std::int64_t end = now_ + ms;
  for (std::int64_t due = next_due(); due >= 0 && due <= end; due = next_due()) step();
  now_ = end;
}

}  // namespace qm
