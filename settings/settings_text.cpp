#include "settings/settings_text.h"

#include <algorithm>
#include <charconv>

namespace qm {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Names as QSettings writes them: letters, digits and the characters of its %-escapes.
bool good_name(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           c == '%' || c == '.' || c == '-';
  });
}

// A spelling that reads back the same: QSettings joins a line ending in a backslash with the
// next one and reads an open quote on into the lines after it, so either would cost other values
// when written back. Control bytes are a sign of a damaged file.
bool good_spelling(std::string_view value) {
  if (std::any_of(value.begin(), value.end(), [](unsigned char c) { return c < 0x20; }))
    return false;
  if (!value.empty() && value.back() == '\\') return false;
  const auto quotes = std::count(value.begin(), value.end(), '"');
  if (quotes == 0) return true;
  return quotes == 2 && value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

}  // namespace

const std::string* SettingsText::find(std::string_view name) const {
  for (const auto& [n, v] : values)
    if (n == name) return &v;
  return nullptr;
}

bool SettingsText::set(std::string_view name, std::string value) {
  for (auto& [n, v] : values) {
    if (n != name) continue;
    if (v == value) return false;
    v = std::move(value);
    return true;
  }
  values.emplace_back(std::string(name), std::move(value));
  return true;
}

SettingsText parse_settings(std::string_view text) {
  SettingsText settings;
  // Lines before any header belong to [General], as QSettings reads them.
  bool general = true;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.size() < 2 || line.back() != ']') {
        settings.clean = false;
        continue;
      }
      const std::string_view section = line.substr(1, line.size() - 2);
      general = section == "General" || section == "%General";
      if (!general) settings.clean = false;
      continue;
    }
    const std::size_t equals = line.find('=');
    const std::string_view name =
        equals == std::string_view::npos ? line : trimmed(line.substr(0, equals));
    const std::string_view value =
        equals == std::string_view::npos ? "" : trimmed(line.substr(equals + 1));
    if (!general || equals == std::string_view::npos || !good_name(name) || !good_spelling(value) ||
        settings.find(name) != nullptr) {
      settings.clean = false;
      continue;
    }
    settings.values.emplace_back(std::string(name), std::string(value));
  }
  return settings;
}

std::string format_settings(const SettingsText& settings) {
  std::string text = "[General]\n";
  for (const auto& [name, value] : settings.values) text += name + "=" + value + "\n";
  return text;
}

std::string_view unquoted(std::string_view spelling) {
  if (spelling.size() >= 2 && spelling.front() == '"' && spelling.back() == '"')
    return spelling.substr(1, spelling.size() - 2);
  return spelling;
}

std::optional<int> parse_decimal(std::string_view text) {
  const char* first = text.data();
  const char* last = first + text.size();
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value, 10);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

}  // namespace qm
