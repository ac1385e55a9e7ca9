#include "engine/game.h"

namespace qm {

namespace {

// A counter that cycles 1..n.
void advance(std::int32_t& counter, int n) {
  if (++counter == n + 1) counter = 1;
}

}  // namespace

void Game::check_meetings(bool& caught, bool& ghost_eaten) const {
  for (int g = 1; g <= 3; ++g) {
    const GhostRecord& gh = state_.ghost[g];
    if (gh.col != state_.quibman_col || gh.row != state_.quibman_row) continue;
    if (gh.state == ghost_hunting) caught = true;
    if (gh.state == ghost_frightened) ghost_eaten = true;
  }
}

// One Quibman step: the first held direction that is open, left first; only a move to the left
// eats, and pushing left from (3,6) takes a shown cherry.
void Game::step_quibman(bool& cherry_eaten, bool& point) {
  GameState& s = state_;
  const bool left = s.inp_left && s.play_enabled;
  const bool right = s.inp_right && s.play_enabled;
  const bool up = s.inp_up && s.play_enabled;
  const bool down = s.inp_down && s.play_enabled;
  const auto& open = s.maze[cell_index(s.quibman_row, s.quibman_col)];
  if (left && open[maze_left]) {
    lcd_.Vid_Show_Quibman(false);
    if (--s.quibman_col < 1) s.quibman_col = kCols;
    lcd_.Vid_Show_Quibman(true);
    if (s.pill_value[cell_index(s.quibman_row, s.quibman_col)] != 0) {
      Gam_Quibman_Eats();
      point = true;
    }
  } else if (left && s.quibman_row == 3 && s.quibman_col == 6 && lcd_.shown(box::im_cherry)) {
    cherry_eaten = true;
  } else if (right && open[maze_right]) {
    lcd_.Vid_Show_Quibman(false);
    if (++s.quibman_col > kCols) s.quibman_col = 1;
    lcd_.Vid_Show_Quibman(true);
  } else if (up && open[maze_up]) {
    lcd_.Vid_Show_Quibman(false);
    --s.quibman_row;
    lcd_.Vid_Show_Quibman(true);
  } else if (down && open[maze_down]) {
    lcd_.Vid_Show_Quibman(false);
    ++s.quibman_row;
    lcd_.Vid_Show_Quibman(true);
  }
}

// Scores a ghost or the cherry and starts its bonus display; false when the score overflowed.
bool Game::award_bonus(int value, std::int32_t& step, Timer& timer) {
  Gam_Stop_All_Timers();
  ports_.sound.Snd_Silence();
  state_.play_enabled = false;
  state_.score += value;
  if (state_.score > kScoreLimit) return false;
  if (state_.score >= state_.bonus_life_score) Gam_Add_Bonus_Life();
  step = 1;
  start_timer(timer, 1);
  return true;
}

void Game::Timer_GameTimer() {
  GameState& s = state_;
  bool cleared = false, caught = false, ghost_eaten = false, cherry_eaten = false;
  bool overflow = false;
  bool beep = false, point = false;

  if (s.ghost_step == 7) {
    Gam_Ghosts_Move();
    if (s.power_time == 0) beep = true;
  }
  advance(s.ghost_step, 7);

  check_meetings(caught, ghost_eaten);

  if (!caught) {
    if (s.pit_step == 8 && s.power_time == 0) Gam_Ghosts_Pit_Move();
    advance(s.pit_step, 14);
  }

  if (!caught && !ghost_eaten) {
    if (s.quibman_step == 6) step_quibman(cherry_eaten, point);
    advance(s.quibman_step, 6);
  }

  if (s.pill_points_left == 0) {
    cleared = true;
    Gam_Stop_All_Timers();
    ports_.sound.Snd_Silence();
    s.play_enabled = false;
    if (++s.stage == 100) s.stage = 1;
    Gam_Calculate_Cherry_Value();
    if (s.stage % 5 == 1) {
      s.intermission_step = 1;
      start_timer(Timer_Intermission, 1);
    } else {
      s.stage_step = 1;
      start_timer(Timer_Stage_Complete, 1);
    }
  }

  check_meetings(caught, ghost_eaten);

  if (caught && !cleared) {
    Gam_Stop_All_Timers();
    ports_.sound.Snd_Silence();
    s.play_enabled = false;
    s.miss_step = 1;
    start_timer(Timer_Miss, 1);
  }

  if (ghost_eaten && !cleared && !caught && !cherry_eaten)
    overflow = !award_bonus(s.ghost_value, s.ghost_bonus_step, Timer_Ghost_Bonus);

  if (cherry_eaten && !cleared && !caught && !ghost_eaten && !overflow)
    overflow = !award_bonus(s.cherry_value, s.cherry_bonus_step, Timer_Cherry_Bonus);

  if (!cleared && !caught && !ghost_eaten && !cherry_eaten && !overflow &&
      s.cherry_countdown <= 0) {
    s.cherry_countdown += 8;
    s.cherry_time = 1;
  }

  lcd_.show(box::im_cherry, s.cherry_time != 0);

  if (s.cherry_time != 0 && ++s.cherry_time == 75) s.cherry_time = 0;

  if (s.power_time == 58) {
    for (int g = 1; g <= 3; ++g)
      if (s.ghost[g].state == ghost_frightened) {
        s.ghost[g].state = ghost_hunting;
        lcd_.Vid_Show_Ghost(g, true);
      }
    s.power_time = 0;
  }

  if (s.power_time != 0) ++s.power_time;

  // Point replaces Beep.
  if (!overflow && (point || beep)) ports_.sound.Snd_Play(point ? Sample::Point : Sample::Beep);

  if (overflow) {
    lcd_.Vid_Show_Panel_Score(s.score, true);
    end_by_overflow();
  }
}

void Game::end_by_overflow() {
  Gam_Stop_All_Timers();
  ports_.sound.Snd_Silence();
  state_.lives = 1;
  state_.miss_step = 1;
  start_timer(Timer_Miss, 1);
}

}  // namespace qm
