#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ports.h"
#include "input/key_table.h"
#include "lcd/scene.h"

namespace qm {

// key_bindings[1..8] in binding-number order (AMA, PRO, TIME, MODE, UP, LEFT, RIGHT, DOWN).
using KeyBindings = std::array<KeyBinding, 9>;

// Reads "Key1".."Key8" with their defaults, writes every one back so the store always holds all
// eight, and sets each binding's key code.
void load_key_bindings(SettingsPort& store, KeyBindings& bindings);
// Writes the eight key numbers as one change and sets each binding's key code.
void store_key_bindings(SettingsPort& store, KeyBindings& bindings);

// The binding whose key-down (or key-up) operation a key code calls, 0 for none. The first match
// in dispatch order wins; MODE is not looked at on release.
int key_down_binding(const KeyBindings& bindings, std::uint16_t key_code);
int key_up_binding(const KeyBindings& bindings, std::uint16_t key_code);

inline constexpr const char* kModeToGame = "to switch to game mode";
inline constexpr const char* kModeToTime = "to switch to time mode";

// The hints of the ten button pictures; MODE's with the given action text.
void build_button_hints(Scene& scene, const KeyNames& names, const KeyBindings& bindings,
                        const std::string& mode_action);
// MODE's hint alone, naming the mode a press switches to from gam_mode.
void build_mode_hint(Scene& scene, const KeyNames& names, const KeyBindings& bindings,
                     int gam_mode);

// The main window's key-down and key-up handlers. It remembers the keys that are down so that
// they can all be let go when the window loses the keyboard with a key still held.
class KeyDispatch {
 public:
  KeyDispatch(ButtonSink& buttons, const KeyBindings& bindings)
      : buttons_(buttons), bindings_(bindings) {}

  void FormKeyDown(std::uint16_t key_code);
  void FormKeyUp(std::uint16_t key_code);
  // Runs the key-up handler of every key still down.
  void release_held_keys();

 private:
  ButtonSink& buttons_;
  const KeyBindings& bindings_;
  std::vector<std::uint16_t> held_;
};

}  // namespace qm
