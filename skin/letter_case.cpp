#include "skin/letter_case.h"

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <system_error>

namespace qm {
namespace {

namespace fs = std::filesystem;

// Anything at all under that name counts: a name that exists exactly always wins.
bool entry_exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_but_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

// The name in the folder that equals `name` but for the case of ASCII letters, the first in byte
// order; empty when there is none or the folder cannot be read. Read with readdir: a skin may
// name all of its 135 files in another case, and each lookup reads the folder once.
std::string twin_in(const fs::path& folder, std::string_view name) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                                ::closedir);
  std::string found;
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view candidate(entry->d_name);
    // std::string_view compares as unsigned bytes.
    if (same_but_case(candidate, name) && (found.empty() || candidate < found)) found = candidate;
  }
  return found;
}

}  // namespace

std::string ascii_lower_case(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), lower);
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
    const std::string twin = twin_in(found, name.native());
    if (twin.empty()) return path;
    found /= twin;
  }
  return found;
}

}  // namespace qm
