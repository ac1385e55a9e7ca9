#include "skin/letter_case.h"

#include <system_error>

namespace qm {
namespace {

namespace fs = std::filesystem;

// Anything at all under that name counts: a name that exists exactly always wins.
bool entry_exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The name in the folder that equals `name` but for the case of ASCII letters, the first in byte
// order; empty when there is none or the folder cannot be read.
std::string twin_in(const fs::path& folder, const std::string& name) {
  const std::string wanted = ascii_lower_case(name);
  std::string found;
  std::error_code error;
  for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end;
       !error && entry != end; entry.increment(error)) {
    std::string candidate = entry->path().filename().string();
    // std::string compares as unsigned bytes.
    if (ascii_lower_case(candidate) == wanted && (found.empty() || candidate < found))
      found = std::move(candidate);
  }
  return found;
}

}  // namespace

std::string ascii_lower_case(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

fs::path with_letter_case_found(const fs::path& path) {
  if (entry_exists(path)) return path;
  fs::path found;
  for (const fs::path& name : path) {
    fs::path exact = found / name;
    if (entry_exists(exact)) {
      found = std::move(exact);
      continue;
    }
    const std::string twin = twin_in(found, name.string());
    if (twin.empty()) return path;
    found /= twin;
  }
  return found;
}

}  // namespace qm
