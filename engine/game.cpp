#include "engine/game.h"

#include "engine/maze.h"

namespace qm {

Game::Game(Scene& scene, TimerHost& host, Ports ports)
    : scene_(scene),
      ports_(ports),
      lcd_(scene, state_),
      Timer_Game(host, [this] { Timer_GameTimer(); }),
      Timer_Game_Start(host, [this] { Timer_Game_StartTimer(); }),
      Timer_Miss(host, [this] { Timer_MissTimer(); }),
      Timer_Stage_Complete(host, [this] { Timer_Stage_CompleteTimer(); }),
      Timer_Intermission(host, [this] { Timer_IntermissionTimer(); }),
      Timer_Ghost_Bonus(host, [this] { Timer_Ghost_BonusTimer(); }),
      Timer_Cherry_Bonus(host, [this] { Timer_Cherry_BonusTimer(); }),
      Timer_Power_Pill_Sound(host, [this] { Timer_Power_Pill_SoundTimer(); }),
      Timer_Clock(host, [this] { Timer_ClockTimer(); }) {}

void Game::form_create(std::uint32_t seed) {
  fill_maze(state_.maze);
  read_hiscores();
  state_.play_enabled = false;
  state_.inp_down = state_.inp_left = state_.inp_right = state_.inp_up = false;
  random_.set_seed(seed);
}

void Game::read_hiscores() {
  state_.hiscore1 = ports_.settings.read_valid("HiScore1", 0, kHiscoreRange);
  state_.hiscore2 = ports_.settings.read_valid("HiScore2", 0, kHiscoreRange);
}

void Game::start_timer(Timer& timer, int ms) {
  timer.set_interval(ms);
  timer.set_enabled(true);
}

void Game::Gam_Stop_All_Timers() {
  for (Timer* t :
       {&Timer_Cherry_Bonus, &Timer_Clock, &Timer_Game, &Timer_Game_Start, &Timer_Ghost_Bonus,
        &Timer_Intermission, &Timer_Miss, &Timer_Power_Pill_Sound, &Timer_Stage_Complete})
    t->set_enabled(false);
}

}  // namespace qm
