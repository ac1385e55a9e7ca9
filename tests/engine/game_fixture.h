#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/sim_clock.h"
#include "lcd/scene.h"
#include "tests/support/fake_ports.h"

namespace qm::testing {

// Gives every glyph a picture of its own, so that a digit place tells which glyph it shows.
inline void give_glyphs_pictures(Scene& scene) {
  auto mark = [&](BoxId id) {
    auto image = std::make_shared<Image>();
    image->width = id;
    scene.set_picture(id, image);
  };
  for (int d = 0; d <= 9; ++d) mark(box::im_panel_number(d));
  for (int n = 1; n <= 3; ++n) mark(box::im_panel_lives(n));
  for (BoxId id : {box::im_panel_letter_a, box::im_panel_letter_d, box::im_panel_letter_o,
                   box::im_panel_letter_p})
    mark(id);
}

// The eight places as text: digits, letters A D O P, '-' '=' '#' for lives marks 1..3, ' ' blank.
inline std::string panel_text(const Scene& scene) {
  std::string text;
  for (int place = 1; place <= 8; ++place) {
    const Picture& p = scene.box(box::im_panel_digit(place)).picture;
    char c = p ? '?' : ' ';
    for (int d = 0; d <= 9; ++d)
      if (p && p == scene.box(box::im_panel_number(d)).picture) c = static_cast<char>('0' + d);
    const char* lives = "-=#";
    for (int n = 1; n <= 3; ++n)
      if (p && p == scene.box(box::im_panel_lives(n)).picture) c = lives[n - 1];
    const std::pair<BoxId, char> letters[] = {{box::im_panel_letter_a, 'A'},
                                              {box::im_panel_letter_d, 'D'},
                                              {box::im_panel_letter_o, 'O'},
                                              {box::im_panel_letter_p, 'P'}};
    for (auto [id, letter] : letters)
      if (p && p == scene.box(id).picture) c = letter;
    text += c;
  }
  return text;
}

struct SoundEvent {
  std::int64_t at;
  bool silence;
  Sample sample;
};

class Recorder : public SoundPort, public FakeSettings, public LocalTimePort, public ModeHintPort {
 public:
  explicit Recorder(const SimClock& clock) : clock_(clock) {}

  void Snd_Play(Sample sample) override { sounds.push_back({clock_.now(), false, sample}); }
  void Snd_Silence() override { sounds.push_back({clock_.now(), true, Sample::Beep}); }
  TimeOfDay local_time() override { return time; }
  void rebuild_mode_hint(int gam_mode) override { hints.push_back(gam_mode); }

  int plays(Sample sample) const {
    int n = 0;
    for (const SoundEvent& e : sounds) n += !e.silence && e.sample == sample;
    return n;
  }

  std::vector<SoundEvent> sounds;
  TimeOfDay time;
  std::vector<int> hints;

 private:
  const SimClock& clock_;
};

// A device switched on into time mode, on a simulated clock.
class GameTest : public ::testing::Test {
 protected:
  explicit GameTest(std::uint32_t seed = 12345) {
    give_glyphs_pictures(scene);
    game.lcd().fill_tables();
    game.form_create(seed);
    s.gam_mode = mode_time;
    game.Gam_Set_Mode();
  }

  // From time mode through a held level button and its game start, to the first moment of play.
  void start_game(bool professional = false) {
    game.Inp_mode_down();
    if (professional) {
      game.Inp_pro_down();
      game.Inp_pro_up();
    } else {
      game.Inp_ama_down();
      game.Inp_ama_up();
    }
    clock.advance(7501);
  }

  // One game tick; the stage's ticks fall on whole hundreds of ms after its start.
  void tick(int n = 1) { clock.advance(100 * n); }

  bool lit(BoxId id) const { return scene.box(id).visible; }
  std::string panel() const { return panel_text(scene); }

  // Quibman placed by hand, drawn where he now stands.
  void put_quibman(int row, int col) {
    game.lcd().Vid_Show_Quibman(false);
    s.quibman_row = row;
    s.quibman_col = col;
    game.lcd().Vid_Show_Quibman(true);
  }
  void put_ghost(int g, int row, int col, int state) {
    game.lcd().Vid_Show_Ghost(g, false);
    s.ghost[g] = {col, row, state};
    if (state >= ghost_hunting) game.lcd().Vid_Show_Ghost(g, true);
  }

  bool any_timer_but_clock() const {
    for (const Timer* t :
         {&game.Timer_Game, &game.Timer_Game_Start, &game.Timer_Miss, &game.Timer_Stage_Complete,
          &game.Timer_Intermission, &game.Timer_Ghost_Bonus, &game.Timer_Cherry_Bonus,
          &game.Timer_Power_Pill_Sound})
      if (t->enabled()) return true;
    return false;
  }

  SimClock clock;
  Scene scene;
  Recorder rec{clock};
  Game game{scene, clock, Ports{rec, rec, rec, rec}};
  GameState& s = game.state();
};

}  // namespace qm::testing
