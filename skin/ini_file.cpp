#include "skin/ini_file.h"

#include <algorithm>
#include <system_error>

#include "skin/file_bytes.h"
#include "skin/letter_case.h"
#include "skin/user_config.h"

// The reading rules, as the Windows profile reader has them, with the cases it leaves open
// settled so:
// - Lines end with LF or CR LF; a UTF-8 byte order mark at the very start is skipped.
// - A NUL byte ends its line's text (the rest of that line is not read), as a C string would.
// - Blanks (space, tab, CR, VT, FF) around section names, key names and values are dropped.
// - A line starting with ';' is a comment; a line without '=' and a line with an empty key name
//   are ignored, and so are keys before the first section.
// - A "[name" line without its ']' is no section header: it is ignored, and the keys after it
//   belong to no section until the next good header (they are not added to the section before).
// - One matching pair of double or single quotes around a value is removed.
// - A value is cut after 2047 characters (bytes).
// - When a section or a key within it occurs again, the first occurrence wins; the keys of a
//   repeated section join the keys of its first occurrence.
// - Letter case of section and key names is ignored for ASCII letters.

namespace qm {
namespace {

constexpr std::size_t kMaxValueLength = 2047;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

IniFile parsed(const std::vector<std::uint8_t>& bytes) {
  return IniFile::parse(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

ConfigIni load_config_ini(const std::filesystem::path& program_dir) {
  // The user's own copy stands in for an installed Config.ini that the user cannot write.
  ConfigIni config{std::nullopt, config_ini_in_use(program_dir)};
  FileContent content = read_file(config.path);
  if (content.bytes) config.ini = parsed(*content.bytes);
  config.error = content.error;
  return config;
}

std::optional<IniFile> IniFile::load(const std::filesystem::path& path) {
  const auto bytes = read_file_bytes(path);
  if (!bytes) return std::nullopt;
  return parsed(*bytes);
}

IniFile IniFile::parse(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  IniFile ini;
  ini.entries_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  // The section the lines belong to; none before the first good header or after a broken one.
  std::vector<std::size_t>* section = nullptr;
  std::string section_name;
  while (!text.empty()) {
    const std::size_t line_end = text.find('\n');
    std::string_view line = text.substr(0, line_end);
    text.remove_prefix(line_end == std::string_view::npos ? text.size() : line_end + 1);

    line = trimmed(line.substr(0, line.find('\0')));
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      section = nullptr;
      if (close != std::string_view::npos) {
        section_name = ascii_lower_case(trimmed(line.substr(1, close - 1)));
        section = &ini.sections_[section_name];
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (section == nullptr || equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(line.substr(0, equals));
    if (key.empty()) continue;
    const std::string_view value = unquoted(trimmed(line.substr(equals + 1)));
    section->push_back(ini.entries_.size());
    ini.entries_.push_back(
        {section_name, ascii_lower_case(key), std::string(value.substr(0, kMaxValueLength))});
  }
  return ini;
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  const auto found = sections_.find(ascii_lower_case(section));
  if (found == sections_.end()) return std::string(default_value);
  const std::string wanted_key = ascii_lower_case(key);
  // The first occurrence of a key wins, also over a repeat in a later part of its section.
  for (const std::size_t place : found->second) {
    if (entries_[place].key == wanted_key) return entries_[place].value;
  }
  return std::string(default_value);
}

int IniFile::read_integer(std::string_view section, std::string_view key, int default_value) const {
  return str_to_int(read_string(section, key, "")).value_or(default_value);
}

std::string with_trailing_backslash(std::string folder) {
  if (!folder.ends_with('\\')) folder.push_back('\\');
  return folder;
}

std::filesystem::path native_path(std::string_view text) {
  std::string path(text);
  std::replace(path.begin(), path.end(), '\\', '/');
  return std::filesystem::path(path);
}

bool names_picture(std::string_view file_name) {
  return !file_name.empty() && file_name != "nil";
}

bool file_exists(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::optional<std::filesystem::path> named_file(std::string_view text) {
  std::filesystem::path path = native_path(text);
  if (file_exists(path)) return path;
  path = with_letter_case_found(path);
  if (file_exists(path)) return path;
  return std::nullopt;
}

}  // namespace qm
