#include "engine/game.h"

namespace qm {

void Game::Gam_Set_Mode() {
  GameState& s = state_;
  switch (s.gam_mode) {
    case mode_time:
      scene_.set_visible(box::btn_mode_time, true);
      Gam_Stop_All_Timers();
      ports_.sound.Snd_Silence();
      s.play_enabled = false;
      lcd_.Vid_Show_All(false);
      start_timer(Timer_Clock, 1);
      break;
    case mode_game:
      scene_.set_visible(box::btn_mode_time, false);
      Timer_Clock.set_enabled(false);
      lcd_.show(box::im_panel_time_pm, false);
      lcd_.Vid_Show_Panel_Score_Bonus(0, true);
      break;
    case mode_ama_hiscore:
    case mode_pro_hiscore: {
      const bool amateur = s.gam_mode == mode_ama_hiscore;
      // Another copy of the program may have stored a higher score since.
      read_hiscores();
      Timer_Clock.set_enabled(false);
      lcd_.Vid_Show_All(false);
      lcd_.show_glyph(1, amateur ? box::im_panel_letter_a : box::im_panel_letter_p);
      lcd_.show_blank(2);
      lcd_.Vid_Show_Panel_Score(amateur ? s.hiscore1 : s.hiscore2, true);
      Gam_Set_New_Maze_Pills();
      Gam_Set_New_Maze_Ghosts();
      break;
    }
    case mode_ama_play:
    case mode_pro_play:
      s.lives = 3;
      s.score = 0;
      s.bonus_life_score = 5000;
      s.stage = 1;
      Gam_Calculate_Cherry_Value();
      s.start_step = 1;
      start_timer(Timer_Game_Start, 1);
      break;
    case mode_game_time:
      lcd_.Vid_Show_All(false);
      start_timer(Timer_Clock, 1);
      break;
    default:
      break;
  }
}

void Game::Timer_ClockTimer() {
  const TimeOfDay now = ports_.time.local_time();
  int hour = now.hour;
  lcd_.show(box::im_panel_time_pm, hour >= 12);
  if (hour >= 12) hour -= 12;
  if (hour == 0) hour = 12;
  if (hour >= 10)
    lcd_.show_digit(1, hour / 10);
  else
    lcd_.show_blank(1);
  lcd_.show_digit(2, hour % 10);
  lcd_.show_glyph(3, lcd_.panel_lives[1]);
  lcd_.show_digit(4, now.minute / 10 % 10);
  lcd_.show_digit(5, now.minute % 10);
  lcd_.show_blank(6);
  lcd_.show_digit(7, now.second / 10 % 10);
  lcd_.show_digit(8, now.second % 10);
  Timer_Clock.set_interval(1000);
}

void Game::Inp_mode_down() {
  state_.gam_mode = state_.gam_mode == mode_time ? mode_game : mode_time;
  Gam_Set_Mode();
  ports_.hint.rebuild_mode_hint(state_.gam_mode);
}

void Game::Inp_ama_down() {
  scene_.set_visible(box::btn_ama_down, true);
  const int m = state_.gam_mode;
  if (m == mode_game || m == mode_game_time || m == mode_game_over) {
    state_.gam_mode = mode_ama_hiscore;
    Gam_Set_Mode();
  }
}

void Game::Inp_ama_up() {
  scene_.set_visible(box::btn_ama_down, false);
  if (state_.gam_mode == mode_ama_hiscore) {
    state_.gam_mode = mode_ama_play;
    Gam_Set_Mode();
  }
}

void Game::Inp_pro_down() {
  scene_.set_visible(box::btn_pro_down, true);
  const int m = state_.gam_mode;
  if (m == mode_game || m == mode_game_time || m == mode_game_over) {
    state_.gam_mode = mode_pro_hiscore;
    Gam_Set_Mode();
  }
}

void Game::Inp_pro_up() {
  scene_.set_visible(box::btn_pro_down, false);
  if (state_.gam_mode == mode_pro_hiscore) {
    state_.gam_mode = mode_pro_play;
    Gam_Set_Mode();
  }
}

void Game::Inp_time_down() {
  scene_.set_visible(box::btn_time_down, true);
  if (state_.gam_mode == mode_game || state_.gam_mode == mode_game_over) {
    state_.gam_mode = mode_game_time;
    Gam_Set_Mode();
  }
}

void Game::Inp_time_up() {
  scene_.set_visible(box::btn_time_down, false);
}

void Game::Inp_up_down() {
  scene_.set_visible(box::btn_up_down, true);
  state_.inp_up = true;
}

void Game::Inp_up_up() {
  scene_.set_visible(box::btn_up_down, false);
  state_.inp_up = false;
}

void Game::Inp_down_down() {
  scene_.set_visible(box::btn_down_down, true);
  state_.inp_down = true;
}

void Game::Inp_down_up() {
  scene_.set_visible(box::btn_down_down, false);
  state_.inp_down = false;
}

void Game::Inp_left_down() {
  scene_.set_visible(box::btn_left_down, true);
  state_.inp_left = true;
}

void Game::Inp_left_up() {
  scene_.set_visible(box::btn_left_down, false);
  state_.inp_left = false;
}

void Game::Inp_right_down() {
  scene_.set_visible(box::btn_right_down, true);
  state_.inp_right = true;
}

void Game::Inp_right_up() {
  scene_.set_visible(box::btn_right_down, false);
  state_.inp_right = false;
}

}  // namespace qm
