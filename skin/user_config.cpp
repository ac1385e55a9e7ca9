#include "skin/user_config.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "skin/file_bytes.h"
#include "skin/ini_file.h"
#include "skin/letter_case.h"

namespace qm {
namespace fs = std::filesystem;

namespace {

struct FolderKey {
  std::string_view section;
  std::string_view key;
  std::string_view default_value;
};
// The keys that name folders, all relative to the current directory unless absolute.
constexpr std::array<FolderKey, 3> kFolderKeys = {
    {{"Common", "SkinDir", "Graphics\\Skin\\"},
     {"Fullscreen", "BackdropDir", "Graphics\\Backdrop\\"},
     {"Manual", "ManualDir", "Graphics\\Manual\\"}}};

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool regular_file(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The folder text made absolute against data_dir, with slashes, as the reader takes either.
std::string absolute_folder(std::string_view value, const fs::path& data_dir) {
  std::string folder = native_path(value).string();
  if (folder.empty() || folder.front() != '/')
    folder = (data_dir / folder).lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The installed text with every folder key's first occurrence in its section made absolute, and
// the keys the text lacks added at its end, so the copy shows where the pictures are.
std::string copy_text(std::string_view text, const fs::path& data_dir, const fs::path& skins) {
  std::ostringstream out;
  out << "; Your own copy of the simulator's Config.ini, read instead of the installed one.\n"
      << "; Put skins of your own in " << skins.string() << "/ and name one in SkinDir.\n";
  std::array<bool, kFolderKeys.size()> done{};
  std::string section;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const std::string_view bare = trimmed(line);
    if (bare.starts_with('[') && bare.find(']') != std::string_view::npos) {
      section = ascii_lower_case(trimmed(bare.substr(1, bare.find(']') - 1)));
    } else if (const auto eq = bare.find('=');
               eq != std::string_view::npos && !bare.starts_with(';')) {
      const std::string key = ascii_lower_case(trimmed(bare.substr(0, eq)));
      for (std::size_t i = 0; i < kFolderKeys.size(); ++i) {
        if (done[i] || section != ascii_lower_case(kFolderKeys[i].section) ||
            key != ascii_lower_case(kFolderKeys[i].key))
          continue;
        done[i] = true;
        std::string_view value = trimmed(bare.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
          value = value.substr(1, value.size() - 2);
        out << kFolderKeys[i].key << '=' << absolute_folder(value, data_dir) << "/\n";
        line = {};
        break;
      }
      if (line.empty()) continue;
    }
    out << line << '\n';
  }
  for (std::size_t i = 0; i < kFolderKeys.size(); ++i)
    if (!done[i])
      out << '[' << kFolderKeys[i].section << "]\n"
          << kFolderKeys[i].key << '=' << absolute_folder(kFolderKeys[i].default_value, data_dir)
          << "/\n";
  return out.str();
}

// Written beside its place and renamed into it, so a copy is either whole or not there.
bool write_whole(const fs::path& path, const std::string& text) {
  fs::path part = path;
  part += ".part";
  {
    std::ofstream file(part, std::ios::binary | std::ios::trunc);
    if (!file.write(text.data(), static_cast<std::streamsize>(text.size())).flush()) return false;
  }
  std::error_code error;
  fs::rename(part, path, error);
  if (error) fs::remove(part, error);
  return !error;
}

}  // namespace

fs::path user_data_folder() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return fs::path(data_home) / "quibman";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return fs::path(home) / ".local" / "share" / "quibman";
  return {};
}

fs::path user_skins_folder() {
  const fs::path data = user_data_folder();
  return data.empty() ? data : data / "Skins";
}

fs::path config_ini_in_use(const fs::path& program_dir) {
  const fs::path beside = with_letter_case_found(program_dir / "Config.ini");
  if (!regular_file(beside) || ::access(beside.c_str(), W_OK) == 0) return beside;
  const fs::path data = user_data_folder();
  if (!data.empty() && regular_file(data / "Config.ini")) return data / "Config.ini";
  return beside;
}

std::optional<fs::path> config_ini_to_edit(const fs::path& program_dir, const fs::path& data_dir) {
  const fs::path beside = with_letter_case_found(program_dir / "Config.ini");
  if (!regular_file(beside) || ::access(beside.c_str(), W_OK) == 0) return std::nullopt;
  const fs::path data = user_data_folder();
  if (data.empty()) return std::nullopt;
  const fs::path copy = data / "Config.ini";
  if (regular_file(copy)) return copy;
  const auto bytes = read_file_bytes(beside);
  std::error_code error;
  fs::create_directories(user_skins_folder(), error);
  if (!bytes || error) return std::nullopt;
  const std::string text(bytes->begin(), bytes->end());
  if (!write_whole(copy, copy_text(text, data_dir, user_skins_folder()))) return std::nullopt;
  return copy;
}

}  // namespace qm
