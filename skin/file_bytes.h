#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// A file's whole content, or why there is none.
struct FileContent {
  std::optional<std::vector<std::uint8_t>> bytes;
  // When there are no bytes: 0 when the path is no regular file (nothing there, a folder, a named
  // pipe), else the errno of what failed (EFBIG for a file larger than any this program takes).
  int error = 0;
};

// Reads a regular file whole, at once, and closes it again.
FileContent read_file(const std::filesystem::path& path);

// The content of read_file; nullopt when the path is no regular file or cannot be read.
std::optional<std::vector<std::uint8_t>> read_file_bytes(const std::filesystem::path& path);

// A message about a file with the file's full path added on a line of its own, so that the player
// knows which file to mend.
std::string naming_file(const std::string& message, const std::filesystem::path& path);

}  // namespace qm
