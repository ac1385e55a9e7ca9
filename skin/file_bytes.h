#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace qm {

// The whole content of a regular file, read at once and the file closed again; nullopt when the
// path is no regular file, cannot be read, or is larger than any file this program takes.
std::optional<std::vector<std::uint8_t>> read_file_bytes(const std::filesystem::path& path);

}  // namespace qm
