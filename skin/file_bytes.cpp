#include "skin/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "skin/file_descriptor.h"

namespace qm {
namespace {

// No skin file comes near this; it keeps a stray huge file from taking all memory.
constexpr off_t kMaxFileBytes = off_t{1} << 30;

}  // namespace

std::optional<std::vector<std::uint8_t>> read_file_bytes(const std::filesystem::path& path) {
  // O_NONBLOCK: opening a named pipe that nothing writes to would otherwise wait forever, before
  // fstat could tell that it is no regular file. Reads of a regular file never block anyway.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return std::nullopt;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  if (status.st_size > kMaxFileBytes) return std::nullopt;

  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<std::size_t>(status.st_size));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  std::size_t filled = 0;
  // The file may shrink or grow while it is read; what is there up to its first size counts.
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace qm
