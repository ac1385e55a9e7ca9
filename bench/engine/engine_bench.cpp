// Simulated game ticks per second: whole games on the simulated clock, the display operations
// working on a real scene, the four direction buttons pressed and released at random through the
// device session.
#include <benchmark/benchmark.h>

#include "engine/sim_clock.h"
#include "session/device_session.h"

namespace qm {
namespace {

class Silent : public SoundPort, public SettingsPort, public LocalTimePort, public ModeHintPort {
 public:
  void Snd_Play(Sample) override {}
  void Snd_Silence() override {}
  int read_integer(const std::string&, int default_value) override { return default_value; }
  void write_integer(const std::string&, int) override {}
  TimeOfDay local_time() override { return {}; }
  void rebuild_mode_hint(int) override {}
};

void GameTicks(benchmark::State& bench) {
  SimClock clock;
  Silent ports;
  DeviceSession device(SessionPorts{clock, ports, ports, ports, &ports});
  device.create(0xBE7C4u);
  Game& game = device.game();
  GameState& s = game.state();
  s.gam_mode = mode_game;
  game.Gam_Set_Mode();
  constexpr Button kDirections[4] = {Button::Left, Button::Right, Button::Up, Button::Down};
  std::uint32_t r = 1;
  std::int64_t ticks = 0;
  for (auto _ : bench) {
    if (s.gam_mode != mode_ama_play && s.gam_mode != mode_pro_play) {
      device.press(Button::Pro);
      device.release(Button::Pro);
    }
    const bool tick_due = game.Timer_Game.enabled();
    const std::int32_t before = s.ghost_step;
    clock.step();
    if (tick_due && s.ghost_step != before) {
      ++ticks;
      r = r * 1664525u + 1013904223u;
      if ((r >> 28) < 3) {
        const unsigned pick = (r >> 20) % 8;
        const Button direction = kDirections[pick / 2];
        pick % 2 ? device.release(direction) : device.press(direction);
      }
    }
  }
  bench.counters["ticks"] = benchmark::Counter(static_cast<double>(ticks));
  bench.counters["ticks_per_s"] =
      benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(GameTicks)->Iterations(20'000'000);

// Counts what a session hands over as each game ends, and keeps nothing.
class Tally final : public ReplaySink {
 public:
  void keep(const Replay& replay) override {
    ++games;
    bytes += static_cast<double>(replay.events.capacity());
  }
  double games = 0, bytes = 0;
};

// Whole games through the device session, everything that reaches the engine recorded (argument
// 1) or not (0): the recording's cost is the difference per timer event.
void SessionEvents(benchmark::State& bench) {
  SimClock clock;
  Silent ports;
  Tally tally;
  DeviceSession session{
      SessionPorts{clock, ports, ports, ports, &ports, bench.range(0) ? &tally : nullptr}};
  session.create(0xBE7C4u);
  session.switch_on();
  session.press(Button::Mode);
  const Button arrows[] = {Button::Left, Button::Right, Button::Up, Button::Down};
  std::uint32_t r = 1;
  for (auto _ : bench) {
    const int mode = session.game().state().gam_mode;
    if (mode != mode_ama_play && mode != mode_pro_play) {
      session.press(Button::Pro);
      session.release(Button::Pro);
    }
    clock.step();
    r = r * 1664525u + 1013904223u;
    if ((r >> 28) == 0) {
      const Button arrow = arrows[(r >> 20) % 4];
      session.held(arrow) ? session.release(arrow) : session.press(arrow);
    }
  }
  // Every run has the counter, as the CSV report takes it: nought when nothing is recorded.
  bench.counters["bytes_per_game"] = tally.games > 0 ? tally.bytes / tally.games : 0;
}
BENCHMARK(SessionEvents)->Arg(0)->Arg(1)->Iterations(5'000'000);

}  // namespace
}  // namespace qm

BENCHMARK_MAIN();
