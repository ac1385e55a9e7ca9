#include "input/key_dispatch.h"

#include <algorithm>

namespace qm {

void load_key_bindings(SettingsPort& store, KeyBindings& bindings) {
  for (int n = kAma; n <= kDown; ++n)
    bindings[n].key_number =
        store.read_valid("Key" + std::to_string(n), kDefaultKeyNumber[n], {1, kKeyCount});
  store_key_bindings(store, bindings);
}

void store_key_bindings(SettingsPort& store, KeyBindings& bindings) {
  std::vector<SettingsPort::Value> values;
  for (int n = kAma; n <= kDown; ++n) {
    values.push_back({"Key" + std::to_string(n), bindings[n].key_number});
    AssignWord(n, bindings[n]);
  }
  store.write_integers(values);
}

namespace {

int first_match(const KeyBindings& bindings, std::uint16_t key_code, bool with_mode) {
  if (key_code == 0) return 0;
  for (int n = kAma; n <= kDown; ++n) {
    if (n == kMode && !with_mode) continue;
    if (bindings[n].key_code == key_code) return n;
  }
  return 0;
}

}  // namespace

int key_down_binding(const KeyBindings& bindings, std::uint16_t key_code) {
  return first_match(bindings, key_code, true);
}

int key_up_binding(const KeyBindings& bindings, std::uint16_t key_code) {
  return first_match(bindings, key_code, false);
}

void build_button_hints(Scene& scene, const KeyNames& names, const KeyBindings& bindings,
                        const std::string& mode_action) {
  auto hint = [&](BoxId id, int binding, const std::string& action) {
    scene.set_hint(id, button_hint(names, bindings[binding].key_number, action));
  };
  hint(box::btn_ama_top, kAma, "to start Amateur game");
  hint(box::btn_pro_top, kPro, "to start Professional game");
  hint(box::btn_time_top, kTime, "to view current time");
  hint(box::btn_mode_top, kMode, mode_action);
  hint(box::btn_up_top, kUp, "");
  hint(box::btn_left_top, kLeft, "");
  hint(box::btn_right_top, kRight, "");
  hint(box::btn_down_top, kDown, "");
  scene.set_hint(box::btn_set_top, "button disabled");
  scene.set_hint(box::btn_halt_top, "button disabled");
}

void build_mode_hint(Scene& scene, const KeyNames& names, const KeyBindings& bindings,
                     int gam_mode) {
  scene.set_hint(box::btn_mode_top, button_hint(names, bindings[kMode].key_number,
                                                gam_mode == 1 ? kModeToGame : kModeToTime));
}

void KeyDispatch::FormKeyDown(std::uint16_t key_code) {
  if (key_code != 0 && std::find(held_.begin(), held_.end(), key_code) == held_.end())
    held_.push_back(key_code);
  if (int n = key_down_binding(bindings_, key_code)) buttons_.press(button_of(n));
}

void KeyDispatch::FormKeyUp(std::uint16_t key_code) {
  std::erase(held_, key_code);
  if (int n = key_up_binding(bindings_, key_code)) buttons_.release(button_of(n));
}

void KeyDispatch::release_held_keys() {
  std::vector<std::uint16_t> held;
  held.swap(held_);
  for (std::uint16_t code : held) FormKeyUp(code);
}

}  // namespace qm
