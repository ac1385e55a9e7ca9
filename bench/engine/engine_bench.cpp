// Simulated game ticks per second: whole games on the simulated clock, the display operations
// working on a real scene, the four direction buttons pressed and released at random.
#include <benchmark/benchmark.h>

#include "engine/game.h"
#include "engine/sim_clock.h"

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
  Scene scene;
  Silent ports;
  Game game(scene, clock, Ports{ports, ports, ports, ports});
  game.lcd().fill_tables();
  game.form_create(0xBE7C4u);
  GameState& s = game.state();
  s.gam_mode = mode_game;
  game.Gam_Set_Mode();
  void (Game::*const presses[8])() = {
      &Game::Inp_left_down, &Game::Inp_left_up, &Game::Inp_right_down, &Game::Inp_right_up,
      &Game::Inp_up_down,   &Game::Inp_up_up,   &Game::Inp_down_down,  &Game::Inp_down_up};
  std::uint32_t r = 1;
  std::int64_t ticks = 0;
  for (auto _ : bench) {
    if (s.gam_mode != mode_ama_play && s.gam_mode != mode_pro_play) {
      game.Inp_pro_down();
      game.Inp_pro_up();
    }
    const bool tick_due = game.Timer_Game.enabled();
    const std::int32_t before = s.ghost_step;
    clock.step();
    if (tick_due && s.ghost_step != before) {
      ++ticks;
      r = r * 1664525u + 1013904223u;
      if ((r >> 28) < 3) (game.*presses[(r >> 20) % 8])();
    }
  }
  bench.counters["ticks"] = benchmark::Counter(static_cast<double>(ticks));
  bench.counters["ticks_per_s"] =
      benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(GameTicks)->Iterations(20'000'000);

}  // namespace
}  // namespace qm

BENCHMARK_MAIN();
