#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qm {

// The text with the ASCII letters A..Z made lower case; every other byte stays as it is.
std::string ascii_lower_case(std::string_view text);

// Skins are often made where file names ignore letter case. The path as given when something
// exists there; otherwise, folder by folder from the start of the path, each name that is not
// there is replaced by the name in its folder that differs from it only in the case of ASCII
// letters, the first such name in byte order. When some name has no such twin, the path as given
// (so the caller finds nothing there).
std::filesystem::path with_letter_case_found(const std::filesystem::path& path);

}  // namespace qm
