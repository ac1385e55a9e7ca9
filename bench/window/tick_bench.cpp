// Game tick accuracy of the real main window: plays games with random direction presses until the
// given number of tick intervals has been seen, noting when the event loop delivers each game tick.
// Arguments: the ready folder (Config.ini and the skin), the number of intervals to measure.
// Prints one line of key=value figures for bench/run.sh.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "input/key_table.h"
#include "ui/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTickMs = 100;
// The tick stops while a timed sequence runs; the shortest of them pauses it for over a second,
// while a late tick is late by milliseconds. A longer pause starts a new run of ticks.
constexpr double kRunBreakMs = 1000.0;

// Sees the game tick's timer events before the engine does. The game tick is the one engine
// timer with a 100 ms period.
class TickRecorder final : public QObject {
 public:
  std::vector<Clock::time_point> ticks;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Timer) {
      const auto* timer = qobject_cast<const QTimer*>(watched);
      if (timer != nullptr && timer->interval() == kTickMs) ticks.push_back(Clock::now());
    }
    return false;
  }
};

struct Figures {
  std::vector<double> intervals;  // between the ticks of one run, ms
  int runs = 0;
  long lost_or_gained = 0;  // ticks counted against each run's elapsed time
};

Figures analyse(const std::vector<Clock::time_point>& ticks) {
  Figures f;
  std::size_t run_start = 0;
  auto close_run = [&](std::size_t end) {
    if (end <= run_start) return;
    const double elapsed =
        std::chrono::duration<double, std::milli>(ticks[end - 1] - ticks[run_start]).count();
    const long expected = std::lround(elapsed / kTickMs) + 1;
    f.lost_or_gained += std::labs(expected - static_cast<long>(end - run_start));
    ++f.runs;
  };
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double ms = std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count();
    if (ms >= kRunBreakMs) {
      close_run(i);
      run_start = i;
    } else {
      f.intervals.push_back(ms);
    }
  }
  close_run(ticks.size());
  return f;
}

double quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tick_bench READY_FOLDER INTERVALS\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QString ready = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  const std::size_t wanted = std::strtoul(argv[2], nullptr, 10);
  if (!QDir::setCurrent(ready)) {
    std::fprintf(stderr, "tick_bench: no folder %s\n", argv[1]);
    return 2;
  }

  qm::WindowEnvironment env = qm::default_window_environment();
  env.program_dir = ready.toStdString();
  qm::MainWindow form(env);
  if (form.quit_requested()) return 1;
  TickRecorder recorder;
  app.installEventFilter(&recorder);
  form.centre_on_screen();
  form.switch_on();
  qm::DeviceSession& device = form.session();
  device.press(qm::Button::Mode);
  device.release(qm::Button::Mode);

  // A player: a new direction every 300 ms, a new Amateur game whenever one is over.
  std::mt19937 random(20261208);
  int held = 0;
  QTimer player;
  QObject::connect(&player, &QTimer::timeout, [&] {
    const int mode = device.game().state().gam_mode;
    if (mode == qm::mode_game || mode == qm::mode_game_over) {
      device.press(qm::Button::Ama);
      device.release(qm::Button::Ama);
    }
    if (held != 0) device.release(qm::Button(held));
    held = std::uniform_int_distribution<int>(int(qm::Button::Up), int(qm::Button::Down))(random);
    device.press(qm::Button(held));
    if (analyse(recorder.ticks).intervals.size() >= wanted) app.quit();
  });
  player.start(300);
  app.exec();

  const Figures f = analyse(recorder.ticks);
  std::vector<double> deviations;
  for (double ms : f.intervals) deviations.push_back(std::fabs(ms - kTickMs));
  std::printf(
      "ticks=%zu intervals=%zu runs=%d median_ms=%.3f p99_dev_ms=%.3f worst_dev_ms=%.3f "
      "lost_or_gained=%ld\n",
      recorder.ticks.size(), f.intervals.size(), f.runs, quantile(f.intervals, 0.5),
      quantile(deviations, 0.99), quantile(deviations, 1.0), f.lost_or_gained);
  return 0;
}
