#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace qm {

// Puts the whole of `bytes` in `file`, or leaves what was there: a temporary file beside it is
// written and flushed to the disk, renamed over the file, and the folder flushed, so that a full
// disk, a read-only folder or a crash never leaves half a file. Returns what failed, or nothing.
std::string write_file_atomically(const std::filesystem::path& file,
                                  std::span<const std::uint8_t> bytes);

}  // namespace qm
