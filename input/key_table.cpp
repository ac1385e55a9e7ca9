#include "input/key_table.h"

namespace qm {

namespace {

struct SpecialKey {
  std::uint16_t code;
  const char* item;
  const char* hint;
};

// Key numbers 37..44; the arrows go up, down, left, right, which is not their codes' order.
constexpr SpecialKey kSpecial[] = {
    {0x26, "<UP ARROW>", "'up arrow' key"},
    {0x28, "<DOWN ARROW>", "'down arrow' key"},
    {0x25, "<LEFT ARROW>", "'left arrow' key"},
    {0x27, "<RIGHT ARROW>", "'right arrow' key"},
    {0x12, "<ALT>", "'alt' key"},
    {0x11, "<CTRL>", "'ctrl' key"},
    {0x10, "<SHIFT>", "'shift' key"},
    {0x20, "<SPACEBAR>", "'spacebar'"},
};

bool valid(int key_number) { return key_number >= 1 && key_number <= kKeyCount; }

}  // namespace

std::uint16_t key_code(int key_number) {
  if (key_number >= 1 && key_number <= 10) return static_cast<std::uint16_t>(key_number + 47);
  if (key_number >= 11 && key_number <= 36) return static_cast<std::uint16_t>(key_number + 54);
  if (key_number >= 37 && key_number <= 44) return kSpecial[key_number - 37].code;
  return 0;
}

std::string key_item_text(int key_number) {
  if (!valid(key_number)) return {};
  if (key_number <= 36) return std::string(1, static_cast<char>(key_code(key_number)));
  return kSpecial[key_number - 37].item;
}

std::string key_hint_name(int key_number) {
  if (!valid(key_number)) return {};
  if (key_number <= 36) return "'" + key_item_text(key_number) + "'";
  return kSpecial[key_number - 37].hint;
}

KeyNames build_key_names() {
  KeyNames names;
  for (int n = 1; n <= kKeyCount; ++n) names[n] = key_hint_name(n);
  return names;
}

void AssignWord(int /*binding_number*/, KeyBinding& binding) {
  if (valid(binding.key_number)) binding.key_code = key_code(binding.key_number);
}

std::string button_hint(const KeyNames& names, int key_number, const std::string& action) {
  std::string hint = "click or press ";
  if (valid(key_number)) hint += names[key_number];
  if (!action.empty()) hint += " " + action;
  return hint;
}

}  // namespace qm
