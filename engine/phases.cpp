#include "engine/game.h"

namespace qm {

void Game::show_play_panel(int lives_shown) {
  lcd_.show_level_letter();
  lcd_.Vid_Show_Panel_Lives(lives_shown);
  lcd_.Vid_Show_Panel_Score(state_.score, true);
}

void Game::start_stage(Timer& own) {
  GameState& s = state_;
  lcd_.Vid_Show_Panel_Lives(s.lives - 1);
  s.quibman_col = 8;
  s.quibman_row = 5;
  lcd_.Vid_Show_Quibman(true);
  s.quibman_step = s.ghost_step = s.pit_step = 1;
  s.power_time = 0;
  s.cherry_time = 0;
  start_timer(Timer_Game, 100);
  s.play_enabled = true;
  own.set_enabled(false);
}

void Game::Timer_Game_StartTimer() {
  switch (state_.start_step++) {
    case 1:
      ports_.sound.Snd_Play(Sample::Start);
      Timer_Game_Start.set_interval(3500);
      break;
    case 2:
      lcd_.Vid_Show_Panel_Stage();
      Timer_Game_Start.set_interval(2000);
      break;
    case 3:
      show_play_panel(state_.lives);
      Timer_Game_Start.set_interval(2000);
      break;
    case 4:
      start_stage(Timer_Game_Start);
      break;
    default:
      break;
  }
}

void Game::Timer_MissTimer() {
  switch (state_.miss_step++) {
    case 1:
      ports_.sound.Snd_Play(Sample::Miss);
      Timer_Miss.set_interval(2000);
      break;
    case 2:
      lcd_.Vid_Show_All_Ghosts(false);
      lcd_.Vid_Show_All_Ghosts_Pit(false);
      lcd_.Vid_Show_All_Quibman(false);
      lcd_.show(box::im_cherry, false);
      if (--state_.lives == 0) {
        Gam_Game_Over();
        Timer_Miss.set_enabled(false);
        break;
      }
      Timer_Miss.set_interval(1500);
      break;
    case 3:
      lcd_.Vid_Show_Panel_Stage();
      Gam_Set_New_Maze_Ghosts();
      Timer_Miss.set_interval(2000);
      break;
    case 4:
      show_play_panel(state_.lives);
      Timer_Miss.set_interval(2000);
      break;
    case 5:
      start_stage(Timer_Miss);
      break;
    default:
      break;
  }
}

void Game::Timer_Stage_CompleteTimer() {
  switch (state_.stage_step++) {
    case 1:
      Timer_Stage_Complete.set_interval(500);
      break;
    case 2:
      lcd_.Vid_Show_Quibman(false);
      lcd_.Vid_Show_All_Ghosts(false);
      lcd_.Vid_Show_All_Ghosts_Pit(false);
      lcd_.show(box::im_cherry, false);
      Timer_Stage_Complete.set_interval(1500);
      break;
    case 3:
      lcd_.Vid_Show_Panel_Stage();
      Gam_Set_New_Maze_Pills();
      Gam_Set_New_Maze_Ghosts();
      Timer_Stage_Complete.set_interval(1500);
      break;
    case 4:
      show_play_panel(state_.lives);
      Timer_Stage_Complete.set_interval(1500);
      break;
    case 5:
      start_stage(Timer_Stage_Complete);
      break;
    default:
      break;
  }
}

void Game::Timer_IntermissionTimer() {
  GameState& s = state_;
  const int step = s.intermission_step++;
  if (step == 1) {
    Timer_Intermission.set_interval(600);
  } else if (step == 2 || step == 4 || step == 6) {
    lcd_.show_blank(1);
    lcd_.show_blank(2);
    lcd_.show_digit(3, 9);
    lcd_.show_glyph(4, box::im_panel_letter_o);
    lcd_.show_glyph(5, box::im_panel_letter_o);
    lcd_.show_glyph(6, box::im_panel_letter_d);
    lcd_.show_blank(7);
    lcd_.show_blank(8);
  } else if (step == 3 || step == 5 || step == 7) {
    for (int place = 1; place <= 8; ++place) lcd_.show_blank(place);
  } else if (step >= 8 && step <= 11) {
    lcd_.Vid_Show_Panel_Score_Bonus((step - 7) * 200, true);
  } else if (step == 12) {
    lcd_.Vid_Show_Panel_Score_Bonus(1000, true);
    s.score += 1000;
    if (s.score > kScoreLimit) {
      end_by_overflow();
    } else {
      if (s.score >= s.bonus_life_score) Gam_Add_Bonus_Life();
      s.stage_step = 1;
      start_timer(Timer_Stage_Complete, 1);
    }
    Timer_Intermission.set_enabled(false);
  }
}

void Game::Gam_Game_Over() {
  GameState& s = state_;
  while (s.score >= 1000000) s.score -= 1000000;
  show_play_panel(s.lives);
  // Compared with the stored score as it is now, which another copy of the program may have
  // raised since this one last looked.
  if (s.gam_mode == mode_ama_play)
    s.hiscore1 = ports_.settings.write_higher("HiScore1", s.score, kHiscoreRange);
  if (s.gam_mode == mode_pro_play)
    s.hiscore2 = ports_.settings.write_higher("HiScore2", s.score, kHiscoreRange);
  lcd_.show(box::im_panel_over, true);
  s.gam_mode = mode_game_over;
  Gam_Set_Mode();
}

}  // namespace qm
