#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The text with the ASCII letters A..Z made lower case; every other byte stays as it is.
std::string ascii_lower_case(std::string_view text);

// Skins are often made where file names ignore letter case. The path as given when something
// exists there; otherwise, folder by folder from the start of the path, each name that is not
// there is replaced by the name in its folder that differs from it only in the case of ASCII
// letters, the first such name in byte order. When some name has no such twin, the path as given
// (so the caller finds nothing there).
std::filesystem::path with_letter_case_found(const std::filesystem::path& path);

// The names in one folder, read once, to look several names up by the rule above without reading
// the folder for each: a picture's finer versions are eight names, most of them absent.
class FolderNames {
 public:
  // No names when the folder cannot be read; the empty path is the current folder.
  explicit FolderNames(const std::filesystem::path& folder);
  // The name itself when the folder holds it, else its twin but for letter case (the first in
  // byte order), else empty.
  std::string find(std::string_view name) const;

 private:
  std::vector<std::string> names_;
};

}  // namespace qm
