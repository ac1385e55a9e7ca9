#pragma once

#include <cstdint>
#include <functional>

namespace qm {

class Timer;

// Whatever drives the timers: the window's event loop, or a simulated clock in tests.
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  // Begin counting the timer's period afresh from now; it then fires every period until stopped.
  virtual void start(Timer& timer) = 0;
  virtual void stop(Timer& timer) = 0;
  // Every expiry of the host's timers passes here; a host that keeps a record of them (a device
  // session's recorder) takes note before and after the handler runs.
  virtual void run_expired(Timer& timer);
};

// A periodic timer with the device's semantics: setting a different period of a running timer
// restarts its count; setting the period it already has, or enabling a timer that already runs,
// changes nothing. A period of 1 ms means as soon as possible.
class Timer {
 public:
  using Handler = std::function<void()>;

  Timer(TimerHost& host, Handler handler) : host_(host), handler_(std::move(handler)) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() {
    if (enabled_) host_.stop(*this);
  }

  void set_interval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) host_.start(*this);
  }
  void set_enabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_)
      host_.start(*this);
    else
      host_.stop(*this);
  }
  int interval() const { return interval_; }
  bool enabled() const { return enabled_; }

  // Called by the clock that drives the timer when its period has run out.
  void fire() { host_.run_expired(*this); }
  // The handler itself, run by the host.
  void run() { handler_(); }

  // Free for the host's own bookkeeping (a simulated clock's schedule generation).
  std::uint64_t host_tag = 0;

 private:
  TimerHost& host_;
  Handler handler_;
  int interval_ = 1000;  // a fresh timer's period, as on the original toolkit
  bool enabled_ = false;
};

inline void TimerHost::run_expired(Timer& timer) {
  timer.run();
}

}  // namespace qm
