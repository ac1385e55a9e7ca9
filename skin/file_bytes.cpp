#include "skin/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>
#include <utility>

#include "skin/file_descriptor.h"

namespace qm {
namespace {

// No skin file comes near this; it keeps a stray huge file from taking all memory.
constexpr off_t kMaxFileBytes = off_t{1} << 30;

}  // namespace

FileContent read_file(const std::filesystem::path& path) {
  const auto failed = [](int error) { return FileContent{std::nullopt, error}; };
  // O_NONBLOCK: opening a named pipe that nothing writes to would otherwise wait forever, before
  // fstat could tell that it is no regular file. Reads of a regular file never block anyway.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return failed(errno == ENOENT || errno == ENOTDIR ? 0 : errno);
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return failed(errno);
  if (!S_ISREG(status.st_mode)) return failed(0);
  if (status.st_size > kMaxFileBytes) return failed(EFBIG);

  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<std::size_t>(status.st_size));
  } catch (const std::bad_alloc&) {
    return failed(ENOMEM);
  }
  std::size_t filled = 0;
  // The file may shrink or grow while it is read; what is there up to its first size counts.
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failed(errno);
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return {std::move(bytes), 0};
}

std::optional<std::vector<std::uint8_t>> read_file_bytes(const std::filesystem::path& path) {
  return read_file(path).bytes;
}

std::string naming_file(const std::string& message, const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return message + "\n\nFile: " + (error ? path : full).string();
}

}  // namespace qm
