#pragma once

#include <cstdint>

#include "engine/ports.h"
#include "engine/random.h"
#include "engine/timer.h"
#include "lcd/game_state.h"
#include "lcd/scene.h"
#include "lcd/vid_show.h"

namespace qm {

// The simulated handheld: its game rules, timed phases, device modes and clock. Everything runs
// on one thread, driven by the nine timers and by the button operations.
class Game {
 public:
  Game(Scene& scene, TimerHost& host, Ports ports);
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The engine's share of the main window's creation: fills the passage table, reads the high
  // scores, clears play_enabled and the held-button flags and seeds the generator. Lights
  // nothing and starts no timer; the lookup tables of lcd() are filled by the window itself.
  void form_create(std::uint32_t seed);

  GameState& state() { return state_; }
  const GameState& state() const { return state_; }
  Lcd& lcd() { return lcd_; }
  Random& random() { return random_; }

  // Device modes and buttons.
  void Gam_Set_Mode();
  void Inp_mode_down();
  void Inp_ama_down();
  void Inp_ama_up();
  void Inp_pro_down();
  void Inp_pro_up();
  void Inp_time_down();
  void Inp_time_up();
  void Inp_up_down();
  void Inp_up_up();
  void Inp_down_down();
  void Inp_down_up();
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();

  // Timer event handlers.
  void Timer_GameTimer();
  void Timer_Game_StartTimer();
  void Timer_MissTimer();
  void Timer_Stage_CompleteTimer();
  void Timer_IntermissionTimer();
  void Timer_Ghost_BonusTimer();
  void Timer_Cherry_BonusTimer();
  void Timer_Power_Pill_SoundTimer();
  void Timer_ClockTimer();

  // Game operations.
  void Gam_Ghosts_Move();
  void Gam_Ghosts_Pit_Move();
  void Gam_Set_New_Maze_Ghosts();
  void Gam_Set_New_Maze_Pills();
  void Gam_Quibman_Eats();
  void Gam_Calculate_Cherry_Value();
  void Gam_Game_Over();
  void Gam_Stop_All_Timers();
  void Gam_Add_Bonus_Life();

 private:
  // The highest score the six score digits hold; a score beyond it ends the game.
  static constexpr std::int32_t kScoreLimit = 999999;
  // The high scores the panel can show; a stored one outside counts as missing.
  static constexpr SettingsPort::Range kHiscoreRange{0, kScoreLimit};

  // Takes the stored high scores as they are now.
  void read_hiscores();
  void start_timer(Timer& timer, int ms);
  void show_play_panel(int lives_shown);
  void start_stage(Timer& own);
  void resume_play(Timer& own);
  void end_by_overflow();
  void check_meetings(bool& caught, bool& ghost_eaten) const;
  bool award_bonus(int value, std::int32_t& step, Timer& timer);
  void step_quibman(bool& cherry_eaten, bool& point);
  int draw_direction() { return static_cast<int>(random_.below(4)) + 1; }

  Scene& scene_;
  Ports ports_;
  GameState state_;
  Lcd lcd_;
  Random random_;

 public:
  Timer Timer_Game;
  Timer Timer_Game_Start;
  Timer Timer_Miss;
  Timer Timer_Stage_Complete;
  Timer Timer_Intermission;
  Timer Timer_Ghost_Bonus;
  Timer Timer_Cherry_Bonus;
  Timer Timer_Power_Pill_Sound;
  Timer Timer_Clock;
};

}  // namespace qm
