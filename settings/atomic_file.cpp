#include "settings/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qm {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { close(); }
  int get() const { return fd_; }
  // Closing reports the last write error on some file systems (NFS), so it is checked too.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string failed(const char* what, const std::filesystem::path& path) {
  return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

std::string write_file_atomically(const std::filesystem::path& file,
                                  std::span<const std::uint8_t> bytes) {
  std::string temp = file.string() + ".XXXXXX";
  Descriptor out(mkstemp(temp.data()));
  if (out.get() < 0) return failed("cannot create a file beside", file);
  std::string error;
  for (std::size_t done = 0; error.empty() && done < bytes.size();) {
    const ssize_t n = ::write(out.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) error = failed("cannot write", temp);
    else done += static_cast<std::size_t>(n);
  }
  if (error.empty() && ::fsync(out.get()) != 0) error = failed("cannot flush", temp);
  if (!out.close() && error.empty()) error = failed("cannot close", temp);
  if (error.empty() && std::rename(temp.c_str(), file.c_str()) != 0)
    error = failed("cannot rename to", file);
  if (!error.empty()) {
    ::unlink(temp.c_str());
    return error;
  }
  // The rename itself is on the disk only once the folder is.
  Descriptor folder(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0 || ::fsync(folder.get()) != 0) return failed("cannot flush", file.parent_path());
  return {};
}

}  // namespace qm
