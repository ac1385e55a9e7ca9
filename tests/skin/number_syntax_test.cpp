#include <climits>

#include <gtest/gtest.h>

#include "skin/ini_file.h"

namespace qm {
namespace {

TEST(NumberSyntax, DecimalAndEveryHexadecimalPrefixConvert) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"0", 0},
      {"007", 7},
      {"  42", 42},
      {"\t+7", 7},
      {"-7", -7},
      {"$20", 32},
      {"x1f", 31},
      {"X1F", 31},
      {"0x20", 32},
      {"0XfF", 255},
      {"-$10", -16},
      {"+0x10", 16},
      {"$00ff00ff", 0xFF00FF},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"$7FFFFFFF", INT_MAX},
      {"$80000000", INT_MIN},
      {"$FFFFFFFF", -1},
      {"0x0000000000FF", 255},
      {"-$FFFFFFFF", 1},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(str_to_int(text), value) << text;
  }
}

TEST(NumberSyntax, AnythingElseDoesNotConvert) {
  const char* const cases[] = {
      "",           " ",           "abc",        "red",         "12a",
      "12 ",        "$",           "0x",         "x",           "-",
      "$100000000", "0x1FFFFFFFF", "2147483648", "-2147483649", "99999999999999999999",
      "1.5",        "--1",         "+-1",        "0x-1",        "$ 1",
      "$-1",        "#10",         "1e3",        "0b101",       "١٢",
  };
  for (const char* text : cases) {
    EXPECT_FALSE(str_to_int(text).has_value()) << text;
  }
}

TEST(NumberSyntax, ColourConversionMessage) {
  EXPECT_EQ(invalid_integer_message("red"), "'red' is not a valid integer value");
  EXPECT_EQ(invalid_integer_message(""), "'' is not a valid integer value");
}

}  // namespace
}  // namespace qm
