#include "input/key_table.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(KeyTable, CodesTextsAndNamesOfEveryKind) {
  EXPECT_EQ(key_code(1), 0x30);
  EXPECT_EQ(key_code(10), 0x39);
  EXPECT_EQ(key_code(11), 0x41);
  EXPECT_EQ(key_code(36), 0x5A);
  // The arrows are numbered up, down, left, right, not in the order of their codes.
  EXPECT_EQ(key_code(37), 0x26);
  EXPECT_EQ(key_code(38), 0x28);
  EXPECT_EQ(key_code(39), 0x25);
  EXPECT_EQ(key_code(40), 0x27);
  EXPECT_EQ(key_code(44), 0x20);
  EXPECT_EQ(key_code(0), 0);
  EXPECT_EQ(key_code(45), 0);

  EXPECT_EQ(key_item_text(1), "0");
  EXPECT_EQ(key_item_text(23), "M");
  EXPECT_EQ(key_item_text(40), "<RIGHT ARROW>");
  EXPECT_EQ(key_item_text(44), "<SPACEBAR>");
  EXPECT_EQ(key_hint_name(2), "'1'");
  EXPECT_EQ(key_hint_name(37), "'up arrow' key");
  EXPECT_EQ(key_hint_name(41), "'alt' key");
  EXPECT_EQ(key_hint_name(44), "'spacebar'");
}

TEST(KeyTable, AssignWordLeavesTheCodeForNumbersOutsideTheTable) {
  KeyBinding b{23, 0};
  AssignWord(4, b);
  EXPECT_EQ(b.key_code, 'M');
  for (int bad : {0, -1, 45, 1000}) {
    KeyBinding kept{bad, 0x41};
    AssignWord(1, kept);
    EXPECT_EQ(kept.key_code, 0x41) << bad;
  }
}

TEST(KeyTable, HintsWithTheDefaultKeysAndAKeyOutsideTheTable) {
  const KeyNames names = build_key_names();
  EXPECT_EQ(button_hint(names, kDefaultKeyNumber[kAma], "to start Amateur game"),
            "click or press '1' to start Amateur game");
  EXPECT_EQ(button_hint(names, kDefaultKeyNumber[kMode], "to switch to game mode"),
            "click or press '5' to switch to game mode");
  EXPECT_EQ(button_hint(names, kDefaultKeyNumber[kUp], ""), "click or press 'up arrow' key");
  EXPECT_EQ(button_hint(names, 99, ""), "click or press ");
}

}  // namespace
}  // namespace qm
