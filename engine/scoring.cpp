#include "engine/game.h"

#include "engine/maze.h"

namespace qm {

void Game::Gam_Set_New_Maze_Pills() {
  lay_pills(state_.pill_value);
  lcd_.Vid_Show_All_Pills(true);
  state_.pill_points_left = kFullMazePoints;
  state_.cherry_countdown = 8;
}

void Game::Gam_Quibman_Eats() {
  GameState& s = state_;
  const int index = cell_index(s.quibman_row, s.quibman_col);
  const std::int32_t v = s.pill_value[index];
  s.pill_value[index] = 0;
  if (lcd_.pill_cells[index] != 0) lcd_.show(lcd_.pill_cells[index], false);
  s.score += v;
  lcd_.Vid_Show_Panel_Score(s.score, true);
  if (s.score > kScoreLimit) {
    end_by_overflow();
    return;
  }
  if (s.score >= s.bonus_life_score) {
    Gam_Add_Bonus_Life();
    lcd_.Vid_Show_Panel_Lives(s.lives - 1);
  }
  s.pill_points_left -= v;
  s.cherry_countdown -= v == 10 ? 2 : 1;
  if (v == 100 && s.pill_points_left > 0) {
    s.ghost_value = 200;
    s.power_time = 1;
    for (int g = 1; g <= 3; ++g)
      if (s.ghost[g].state == ghost_hunting) s.ghost[g].state = ghost_frightened;
    start_timer(Timer_Power_Pill_Sound, 180);
  }
}

void Game::Gam_Calculate_Cherry_Value() {
  const int stage = state_.stage;
  if (stage >= 10)
    state_.cherry_value = 2000;
  else if (stage == 9)
    state_.cherry_value = 1000;
  else
    state_.cherry_value = (stage + 1) / 2 * 200;
}

void Game::Timer_Power_Pill_SoundTimer() {
  if (state_.power_time != 0)
    ports_.sound.Snd_Play(Sample::Beep);
  else
    Timer_Power_Pill_Sound.set_enabled(false);
}

void Game::resume_play(Timer& own) {
  show_play_panel(state_.lives - 1);
  start_timer(Timer_Game, 100);
  if (state_.power_time != 0) start_timer(Timer_Power_Pill_Sound, 180);
  state_.play_enabled = true;
  own.set_enabled(false);
}

void Game::Timer_Ghost_BonusTimer() {
  GameState& s = state_;
  switch (s.ghost_bonus_step++) {
    case 1:
      lcd_.Vid_Show_Panel_Score_Bonus(s.ghost_value, true);
      ports_.sound.Snd_Play(Sample::Bonus);
      Timer_Ghost_Bonus.set_interval(1200);
      break;
    case 2: {
      // The eaten ghost is the first frightened one on Quibman's cell. When the power ran out in
      // the very tick that found it, it has turned hunting since: it is still the one eaten, and
      // must not stay in the maze to catch Quibman while another ghost goes to the pit for it.
      int eaten = 0;
      for (int wanted : {ghost_frightened, ghost_hunting})
        for (int g = 1; g <= 3 && eaten == 0; ++g)
          if (s.ghost[g].state == wanted && s.ghost[g].col == s.quibman_col &&
              s.ghost[g].row == s.quibman_row)
            eaten = g;
      if (eaten == 0) eaten = 1;
      // Back to the lowest pit slot whose segment is dark.
      int slot = 1;
      while (slot < 3 && lcd_.shown(lcd_.ghost_pit_images[slot])) ++slot;
      s.ghost[eaten].state = slot;
      lcd_.Vid_Show_Ghost(eaten, false);
      for (int g = 1; g <= 3; ++g) {
        const int st = s.ghost[g].state;
        if (st >= 1 && st <= 3)
          lcd_.Vid_Show_Ghost_Pit(st, true);
        else if (st == ghost_hunting || st == ghost_frightened)
          lcd_.Vid_Show_Ghost(g, true);
      }
      s.ghost_value *= 2;
      resume_play(Timer_Ghost_Bonus);
      break;
    }
    default:
      break;
  }
}

void Game::Timer_Cherry_BonusTimer() {
  GameState& s = state_;
  switch (s.cherry_bonus_step++) {
    case 1:
      lcd_.Vid_Show_Panel_Score_Bonus(s.cherry_value, true);
      lcd_.show(box::im_cherry, false);
      ports_.sound.Snd_Play(Sample::Bonus);
      Timer_Cherry_Bonus.set_interval(1200);
      break;
    case 2:
      s.cherry_time = 0;
      resume_play(Timer_Cherry_Bonus);
      break;
    default:
      break;
  }
}

void Game::Gam_Add_Bonus_Life() {
  if (state_.lives < 3) ++state_.lives;
  state_.bonus_life_score += 20000;
}

}  // namespace qm
