#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <QtCore/qnamespace.h>

#include "input/key_dispatch.h"
#include "input/qt_keys.h"
#include "tests/support/fake_ports.h"

namespace qm {
namespace {

class Recorder final : public ButtonSink {
 public:
  void press(Button b) override { calls.push_back("down " + std::to_string(int(b))); }
  void release(Button b) override { calls.push_back("up " + std::to_string(int(b))); }
  std::vector<std::string> calls;
};

TEST(KeyBindings, DefaultsAreUsedAndWrittenBackAndStoredOnesKept) {
  FakeSettings store;
  store.values["Key3"] = 23;  // M
  store.values["Key5"] = 99;  // outside the table: counts as missing
  KeyBindings bindings{};
  load_key_bindings(store, bindings);
  const std::map<std::string, int> expected = {{"Key1", 2},  {"Key2", 3},  {"Key3", 23},
                                               {"Key4", 6},  {"Key5", 37}, {"Key6", 39},
                                               {"Key7", 40}, {"Key8", 38}};
  EXPECT_EQ(store.values, expected);
  EXPECT_EQ(bindings[kAma].key_code, 0x31);
  EXPECT_EQ(bindings[kTime].key_code, 'M');
  EXPECT_EQ(bindings[kMode].key_code, 0x35);
  EXPECT_EQ(bindings[kUp].key_code, 0x26);
  EXPECT_EQ(bindings[kDown].key_code, 0x28);
}

TEST(KeyDispatch, FirstBindingInOrderWinsAndModeHasNoRelease) {
  KeyBindings b{};
  for (int n = kAma; n <= kDown; ++n) b[n].key_code = static_cast<std::uint16_t>(0x41 + n);
  b[kLeft].key_code = b[kPro].key_code;  // the same key twice, as an edited store allows
  Recorder rec;
  KeyDispatch dispatch(rec, b);
  dispatch.FormKeyDown(b[kPro].key_code);
  dispatch.FormKeyUp(b[kPro].key_code);
  dispatch.FormKeyDown(b[kMode].key_code);
  dispatch.FormKeyUp(b[kMode].key_code);
  dispatch.FormKeyDown(0x74);  // F5: bound to nothing
  dispatch.FormKeyUp(0x74);
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"down 2", "up 2", "down 4"}));
  // A binding without a key code never matches a code 0.
  b[kAma].key_code = 0;
  EXPECT_EQ(key_down_binding(b, 0), 0);
}

TEST(KeyDispatch, KeysStillDownAreLetGoOnce) {
  KeyBindings b{};
  b[kUp].key_code = 0x26;
  b[kLeft].key_code = 0x25;
  Recorder rec;
  KeyDispatch dispatch(rec, b);
  dispatch.FormKeyDown(0x26);
  dispatch.FormKeyDown(0x26);  // a repeat
  dispatch.FormKeyDown(0x25);
  dispatch.FormKeyUp(0x25);
  dispatch.release_held_keys();
  dispatch.release_held_keys();
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"down 5", "down 5", "down 6", "up 6", "up 5"}));
}

TEST(ButtonHints, TextsNameTheBoundKeys) {
  Scene scene;
  KeyBindings b{};
  for (int n = kAma; n <= kDown; ++n) b[n].key_number = kDefaultKeyNumber[n];
  b[kRight].key_number = 0;
  const KeyNames names = build_key_names();
  build_button_hints(scene, names, b, kModeToGame);
  EXPECT_EQ(scene.box(box::btn_ama_top).hint, "click or press '1' to start Amateur game");
  EXPECT_EQ(scene.box(box::btn_mode_top).hint, "click or press '5' to switch to game mode");
  EXPECT_EQ(scene.box(box::btn_up_top).hint, "click or press 'up arrow' key");
  EXPECT_EQ(scene.box(box::btn_right_top).hint, "click or press ");
  EXPECT_EQ(scene.box(box::btn_halt_top).hint, "button disabled");
  build_mode_hint(scene, names, b, 2);
  EXPECT_EQ(scene.box(box::btn_mode_top).hint, "click or press '5' to switch to time mode");
}

TEST(QtKeys, PhysicalDigitRowLettersAndSpecialKeys) {
  // Shift+1 by its shifted symbol, and by the key code of the 1 key whatever the symbol.
  EXPECT_EQ(windows_key_code(Qt::Key_Exclam, false, 0), 0x31);
  EXPECT_EQ(windows_key_code(Qt::Key_QuoteDbl, false, 11), 0x32);
  EXPECT_EQ(windows_key_code(Qt::Key_ParenRight, false, 0), 0x30);
  EXPECT_EQ(windows_key_code(Qt::Key_7, false, 0), 0x37);
  EXPECT_EQ(windows_key_code(Qt::Key_7, true, 0), 0);  // keypad digits are other keys
  EXPECT_EQ(windows_key_code(Qt::Key_Q, false, 24), 'Q');
  // French and Russian layouts: the key in the US 5, Q or M place is that key, whatever it prints;
  // the keys just past each row's end are none of the selectable keys.
  EXPECT_EQ(windows_key_code(Qt::Key_ParenLeft, false, 14), 0x35);
  EXPECT_EQ(windows_key_code(Qt::Key_A, false, 24), 'Q');
  EXPECT_EQ(windows_key_code(Qt::Key_Comma, false, 58), 'M');
  EXPECT_EQ(windows_key_code(0x042C, false, 58), 'M');  // Qt's key for a Cyrillic soft sign
  EXPECT_EQ(windows_key_code(Qt::Key_P, false, 33), 'P');
  EXPECT_EQ(windows_key_code(Qt::Key_L, false, 46), 'L');
  EXPECT_EQ(windows_key_code(Qt::Key_Minus, false, 20), 0);
  EXPECT_EQ(windows_key_code(Qt::Key_Semicolon, false, 47), 0);
  EXPECT_EQ(windows_key_code(Qt::Key_Comma, false, 59), 0);
  EXPECT_EQ(windows_key_code(Qt::Key_Up, true, 0), 0x26);
  EXPECT_EQ(windows_key_code(Qt::Key_Alt, false, 0), 0x12);
  EXPECT_EQ(windows_key_code(Qt::Key_Return, false, 0), 0x0D);
  EXPECT_EQ(windows_key_code(Qt::Key_F5, false, 0), 0);
}

}  // namespace
}  // namespace qm
