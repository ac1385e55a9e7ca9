#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

// The settings file's text as the program writes it: one [General] section of name=value lines,
// the form QSettings gives and earlier versions of the program read.
struct SettingsText {
  // In file order, each name once; a value as the file spells it (quotes and all), so that a
  // value this program does not understand is written back as it was.
  std::vector<std::pair<std::string, std::string>> values;
  // False when a line had to be left out: text no reader can make sense of, a line of another
  // section, a name given twice.
  bool clean = true;

  const std::string* find(std::string_view name) const;
  // Gives whether the file would change.
  bool set(std::string_view name, std::string value);
};

SettingsText parse_settings(std::string_view text);
std::string format_settings(const SettingsText& settings);

// The value a spelling stands for: one pair of double quotes around it removed.
std::string_view unquoted(std::string_view spelling);

// An optional minus and decimal digits that fit 32 bits; anything else (spaces, a plus sign,
// fractions, hex, a list) is no integer.
std::optional<int> parse_decimal(std::string_view text);

}  // namespace qm
