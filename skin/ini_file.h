#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm {

// Config.ini, read whole once and closed, then looked up with the Windows profile rules:
// section and key names without regard to letter case, blanks around a value dropped, values cut
// at 2047 characters, a missing section or key giving the caller's default.
class IniFile {
 public:
  // nullopt when no regular file can be read at that path.
  static std::optional<IniFile> load(const std::filesystem::path& path);
  static IniFile parse(std::string_view text);

  std::string read_string(std::string_view section, std::string_view key,
                          std::string_view default_value) const;
  // The number syntax of the file; text that does not convert gives the default.
  int read_integer(std::string_view section, std::string_view key, int default_value) const;

 private:
  struct Entry {
    std::string section;  // lower case
    std::string key;      // lower case
    std::string value;
  };
  std::vector<Entry> entries_;
  // Each lower-case section name with the places of its entries in entries_, in file order.
  std::unordered_map<std::string, std::vector<std::size_t>> sections_;
};

// Config.ini as the program found it: in its folder, or the user's own copy of it (see
// user_config.h).
struct ConfigIni {
  std::optional<IniFile> ini;  // nullopt when it is missing or cannot be read
  std::filesystem::path path;  // where it was looked for
  int error = 0;               // why a file that is there cannot be read (an errno), else 0
};

// Config.ini in the program's folder, or the user's own copy standing in for it. Its name, like
// every file name the file gives, is matched without regard to letter case when not there exactly.
ConfigIni load_config_ini(const std::filesystem::path& program_dir);

// Optional leading blanks, an optional sign, then decimal digits or a "$", "x", "X", "0x", "0X"
// prefix with hexadecimal digits; the result must fit a signed 32-bit integer.
std::optional<std::int32_t> str_to_int(std::string_view text);

// The message for a colour value that does not convert: "'<text>' is not a valid integer value".
std::string invalid_integer_message(std::string_view text);

// A folder key's text with its trailing backslash ensured.
std::string with_trailing_backslash(std::string folder);

// A file's path as the file names it (folder text followed by a file name, backslashes as
// folder separators), turned into a path of this system.
std::filesystem::path native_path(std::string_view text);

// "nil" (lower case only) and an empty text name no picture.
bool names_picture(std::string_view file_name);

// True when a regular file exists at the path.
bool file_exists(const std::filesystem::path& path);

// The regular file that a text of Config.ini names (a folder text followed by a file name), its
// folder and file names matched without regard to letter case when not there exactly; nullopt
// when there is none.
std::optional<std::filesystem::path> named_file(std::string_view text);

}  // namespace qm
