#include "settings/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "skin/file_descriptor.h"

namespace qm {
namespace {

// Larger than any settings file; a bigger one is not ours to read into memory.
constexpr off_t kLargestFile = off_t{16} << 20;

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t wrote = ::write(fd, text.data(), text.size());
    if (wrote < 0 && errno == EINTR) continue;
    // A write of nothing would loop for ever; the disk gives no more room.
    if (wrote == 0) errno = ENOSPC;
    if (wrote <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(wrote));
  }
  return true;
}

// The new file's content, before it takes the old one's place; removed unless it was renamed.
std::string fill_new_file(const std::string& path, std::string& temporary, std::string_view text) {
  temporary = path + ".XXXXXX";
  FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
  if (file.get() < 0) {
    const int error = errno;
    temporary.clear();
    return failure("cannot create a file in " + folder_of(path), error);
  }
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && ::fchmod(file.get(), old.st_mode & 07777) != 0)
    return failure("cannot set the permissions of " + temporary, errno);
  if (!write_all(file.get(), text)) return failure("cannot write " + temporary, errno);
  if (::fsync(file.get()) != 0) return failure("cannot write " + temporary + " to disk", errno);
  if (!file.close()) return failure("cannot write " + temporary, errno);
  return {};
}

}  // namespace

std::string failure(std::string_view what, int error_number) {
  return std::string(what) + ": " + std::strerror(error_number);
}

std::string replace_file(const std::string& path, std::string_view text) {
  std::string temporary;
  std::string error = fill_new_file(path, temporary, text);
  if (error.empty() && ::rename(temporary.c_str(), path.c_str()) != 0)
    error = failure("cannot put the new file in place of " + path, errno);
  if (!error.empty()) {
    if (!temporary.empty()) ::unlink(temporary.c_str());
    return error;
  }
  // The rename itself reaches the disk only with its folder.
  FileDescriptor folder(::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0 || ::fsync(folder.get()) != 0)
    return failure("cannot write the folder of " + path + " to disk", errno);
  return {};
}

FileText read_whole_file(const std::string& path) {
  FileText result;
  // O_NONBLOCK: a named pipe in the file's place must not stop the program.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) {
    result.missing = errno == ENOENT;
    if (!result.missing) result.error = failure("cannot read " + path, errno);
    return result;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    result.error = failure("cannot read " + path, errno);
  } else if (!S_ISREG(info.st_mode)) {
    result.error = "cannot read " + path + ": it is no regular file";
  } else if (info.st_size > kLargestFile) {
    result.error = "cannot read " + path + ": it is larger than any settings file";
  }
  if (!result.error.empty()) return result;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = failure("cannot read " + path, errno);
      return result;
    }
    if (got == 0) break;
    result.text.append(buffer, static_cast<std::size_t>(got));
    if (result.text.size() > static_cast<std::size_t>(kLargestFile)) {
      result.error = "cannot read " + path + ": it is larger than any settings file";
      return result;
    }
  }
  return result;
}

}  // namespace qm
