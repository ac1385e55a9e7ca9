#include "engine/game.h"

#include "engine/maze.h"

namespace qm {

namespace {

constexpr int kScoreLimit = 999999;

// A counter that cycles 1..n.
void advance(std::int32_t& counter, int n) {
  if (++counter == n + 1) counter = 1;
}

// Passage flag of a ghost direction: 1 left, 2 right, 3 up, 4 down.
constexpr int kDirectionFlag[5] = {0, maze_left, maze_right, maze_up, maze_down};

}  // namespace

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
  state_.hiscore1 = ports_.settings.read_integer("HiScore1", 0);
  state_.hiscore2 = ports_.settings.read_integer("HiScore2", 0);
  state_.play_enabled = false;
  state_.inp_down = state_.inp_left = state_.inp_right = state_.inp_up = false;
  random_.set_seed(seed);
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

void Game::Gam_Add_Bonus_Life() {
  if (state_.lives < 3) ++state_.lives;
  state_.bonus_life_score += 20000;
}

// ---- Game tick ----

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

// ---- Ghosts ----

void Game::Gam_Ghosts_Move() {
  GameState& s = state_;
  for (int g = 1; g <= 3; ++g) {
    GhostRecord& gh = s.ghost[g];
    if (gh.state <= 3) continue;
    const bool hunting = gh.state == ghost_hunting;
    // A hunting ghost takes the preferred way; a frightened one draws until it avoids it.
    auto prefer = [&](int& d, int way) {
      if (hunting)
        d = way;
      else
        while (d == way) d = draw_direction();
    };
    for (;;) {
      int d = draw_direction();
      const auto& open = s.maze[cell_index(gh.row, gh.col)];
      if (gh.row == s.quibman_row) {
        if (gh.col > s.quibman_col && open[maze_left]) prefer(d, 1);
        if (gh.col < s.quibman_col && open[maze_right]) prefer(d, 2);
        if (gh.row == 2 || gh.row == 4) {
          if (gh.col == 1 && s.quibman_col == kCols) prefer(d, 1);
          if (gh.col == kCols && s.quibman_col == 1) prefer(d, 2);
        }
      }
      if (!open[kDirectionFlag[d]]) continue;
      lcd_.Vid_Show_Ghost(g, false);
      switch (d) {
        case 1:
          if (--gh.col < 1) gh.col = kCols;
          break;
        case 2:
          if (++gh.col > kCols) gh.col = 1;
          break;
        case 3:
          --gh.row;
          break;
        default:
          ++gh.row;
          break;
      }
      lcd_.Vid_Show_Ghost(g, true);
      break;
    }
  }
}

void Game::Gam_Ghosts_Pit_Move() {
  GameState& s = state_;
  int in_slot[4] = {0, 0, 0, 0};
  for (int g = 1; g <= 3; ++g)
    if (s.ghost[g].state >= 1 && s.ghost[g].state <= 3) in_slot[s.ghost[g].state] = g;
  if (in_slot[3] != 0) {
    GhostRecord& gh = s.ghost[in_slot[3]];
    gh.state = ghost_hunting;
    gh.col = 3;
    gh.row = 3;
    lcd_.Vid_Show_Ghost(in_slot[3], true);
  } else if (in_slot[2] != 0) {
    s.ghost[in_slot[2]].state = 3;
  } else if (in_slot[1] != 0) {
    s.ghost[in_slot[1]].state = 2;
  }
  bool occupied[4] = {false, false, false, false};
  for (int g = 1; g <= 3; ++g)
    if (s.ghost[g].state >= 1 && s.ghost[g].state <= 3) occupied[s.ghost[g].state] = true;
  for (int slot = 1; slot <= 3; ++slot) lcd_.Vid_Show_Ghost_Pit(slot, occupied[slot]);
}

void Game::Gam_Set_New_Maze_Ghosts() {
  GameState& s = state_;
  s.ghost[1].state = 1;
  s.ghost[2].state = 2;
  const bool professional = s.gam_mode == mode_pro_hiscore || s.gam_mode == mode_pro_play;
  s.ghost[3].state = professional ? 3 : ghost_absent;
  for (int slot = 1; slot <= 3; ++slot) {
    const int st = s.ghost[slot].state;
    lcd_.Vid_Show_Ghost_Pit(slot, st >= 1 && st <= 3);
  }
}

// ---- Eating, scoring and bonuses ----

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

// ---- Game phases ----

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
  if (s.gam_mode == mode_ama_play && s.score > s.hiscore1) {
    s.hiscore1 = s.score;
    ports_.settings.write_integer("HiScore1", s.hiscore1);
  }
  if (s.gam_mode == mode_pro_play && s.score > s.hiscore2) {
    s.hiscore2 = s.score;
    ports_.settings.write_integer("HiScore2", s.hiscore2);
  }
  lcd_.show(box::im_panel_over, true);
  s.gam_mode = mode_game_over;
  Gam_Set_Mode();
}

// ---- Device modes, buttons and clock ----

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
