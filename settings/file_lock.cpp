#include "settings/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "settings/atomic_file.h"

namespace qm {

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience)
    : path_(path + ".lock") {
  const auto give_up = std::chrono::steady_clock::now() + patience;
  while (!try_once()) {
    if (std::chrono::steady_clock::now() >= give_up) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  error_.clear();
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  // Removed while still held, so that nobody takes the lock on a file about to vanish.
  ::unlink(path_.c_str());
  ::close(fd_);
}

bool FileLock::try_once() {
  // Read-only is enough for flock(), and opens a lock left behind by another user.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    error_ = failure("cannot take the lock " + path_, errno);
    // Something no writer of ours leaves there (a folder, a link, a file nobody may read) is
    // cleared away; failing that, it is tried again until patience runs out.
    if (errno == EISDIR) {
      ::rmdir(path_.c_str());
    } else if (errno == EACCES || errno == ELOOP || errno == EPERM) {
      ::unlink(path_.c_str());
    }
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error_ = errno == EWOULDBLOCK ? "the lock " + path_ + " is held by another program"
                                  : failure("cannot take the lock " + path_, errno);
    ::close(fd);
    return false;
  }
  // The holder before may have removed the file between the open and the flock: then this lock
  // is on a file nobody else sees, and it starts over.
  struct stat held {
  }, now{};
  if (::fstat(fd, &held) != 0 || ::stat(path_.c_str(), &now) != 0 || held.st_ino != now.st_ino ||
      held.st_dev != now.st_dev) {
    error_ = "the lock " + path_ + " changed while it was taken";
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

}  // namespace qm
