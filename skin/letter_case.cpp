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

}  // namespace

std::string ascii_lower_case(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), lower);
  return result;
}

FolderNames::FolderNames(const fs::path& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                                ::closedir);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) names_.emplace_back(entry->d_name);
}

std::string FolderNames::find(std::string_view name) const {
  std::string found;
  for (const std::string& candidate : names_) {
    if (candidate == name) return candidate;
    // std::string compares as unsigned bytes.
    if (same_but_case(candidate, name) && (found.empty() || candidate < found)) found = candidate;
  }
  return found;
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
    // Read with readdir: a skin may name all of its 135 files in another case.
    const std::string twin = FolderNames(found).find(name.native());
    if (twin.empty()) return path;
    found /= twin;
  }
  return found;
}

}  // namespace qm
