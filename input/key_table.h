#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "session/button.h"

namespace qm {

// The 44 selectable keys, by key number 1..44 (the position in the key settings lists plus one,
// and what the settings store holds).
constexpr int kKeyCount = 44;

// Windows virtual-key code of a key number, or 0 for a number outside 1..44.
std::uint16_t key_code(int key_number);
// "0".."9", "A".."Z", "<UP ARROW>" ...: the text of a key in the key settings lists.
std::string key_item_text(int key_number);
// "'0'", "'A'", "'up arrow' key", "'spacebar'" ...: the key's name in button hints.
std::string key_hint_name(int key_number);

// The eight bindings in dispatch order, with their store names and default key numbers.
enum Binding { kAma = 1, kPro, kTime, kMode, kUp, kLeft, kRight, kDown };
// The device button a binding works: bindings are numbered as the buttons are.
inline Button button_of(int binding) {
  return static_cast<Button>(binding);
}
constexpr std::array<int, 9> kDefaultKeyNumber = {0, 2, 3, 4, 6, 37, 39, 40, 38};

struct KeyBinding {
  std::int32_t key_number = 0;
  std::uint16_t key_code = 0;  // 0 matches no key event
};

// key_names[1..44]: the hint names, built once when the main window is created.
using KeyNames = std::array<std::string, kKeyCount + 1>;
KeyNames build_key_names();

// Sets the binding's key code from its key number; a number outside 1..44 leaves it as it was.
void AssignWord(int binding_number, KeyBinding& binding);

// The hint of a button picture: "click or press " + key name (+ " " + action for AMA, PRO, TIME
// and MODE). A key number outside 1..44 gives an empty key name.
std::string button_hint(const KeyNames& names, int key_number, const std::string& action);

}  // namespace qm
