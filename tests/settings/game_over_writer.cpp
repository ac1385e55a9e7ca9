// Plays Amateur games on a simulated clock, with the real settings store, until one ends with a
// new high score; prints that score and kills itself with SIGKILL the moment the store's write
// returns, as a crash or a power cut right after the game over would.
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "engine/game.h"
#include "engine/sim_clock.h"
#include "lcd/scene.h"
#include "settings/settings_store.h"

namespace {

using namespace qm;

class Silent final : public SoundPort, public LocalTimePort, public ModeHintPort {
 public:
  void Snd_Play(Sample) override {}
  void Snd_Silence() override {}
  TimeOfDay local_time() override { return {}; }
  void rebuild_mode_hint(int) override {}
};

class KillAfterHiscore final : public SettingsPort {
 public:
  int read_integer(const std::string& name, int default_value) override {
    return store_.read_integer(name, default_value);
  }
  void write_integer(const std::string& name, int value) override {
    store_.write_integer(name, value);
    if (name != "HiScore1") return;
    std::printf("%d\n", value);
    std::fflush(stdout);
    raise(SIGKILL);
  }

 private:
  SettingsStore store_;
};

}  // namespace

int main(int argc, char** argv) {
  SimClock clock;
  Scene scene;
  Silent silent;
  KillAfterHiscore settings;
  Game game(scene, clock, Ports{silent, settings, silent, silent});
  game.lcd().fill_tables();
  game.form_create(argc > 1 ? static_cast<std::uint32_t>(std::atoi(argv[1])) : 1);
  game.state().gam_mode = mode_time;
  game.Gam_Set_Mode();
  game.Inp_mode_down();

  using Press = void (Game::*)();
  const Press downs[] = {&Game::Inp_up_down, &Game::Inp_left_down, &Game::Inp_right_down,
                         &Game::Inp_down_down};
  const Press ups[] = {&Game::Inp_up_up, &Game::Inp_left_up, &Game::Inp_right_up,
                       &Game::Inp_down_up};
  std::uint32_t random = 2463534242u;
  // A bounded number of games; a writer that never gets a high score ends normally and fails the
  // test that expects the kill.
  for (int games = 0; games < 1000; ++games) {
    game.Inp_ama_down();
    game.Inp_ama_up();
    while (game.state().gam_mode != mode_game_over) {
      random ^= random << 13;
      random ^= random >> 17;
      random ^= random << 5;
      const int button = static_cast<int>(random % 4);
      (game.*downs[button])();
      clock.advance(300 + random % 900);
      (game.*ups[button])();
    }
  }
  return 1;
}
