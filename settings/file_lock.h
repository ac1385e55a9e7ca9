#pragma once

#include <chrono>
#include <string>

namespace qm {

// The writers' lock on a file: path + ".lock", flock()ed while held and removed on release. A
// writer that dies leaves at most a file that nobody holds, which the next writer takes over, so
// there is no stale lock to wait out. A lock that stays held, or a lock path that cannot be
// opened or cleared away (a folder, a file without read permission), fails after `patience`
// instead of blocking the program.
class FileLock {
 public:
  FileLock(const std::string& path, std::chrono::milliseconds patience);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }
  // Why the lock was not taken; empty while it is held.
  const std::string& error() const { return error_; }

 private:
  // One attempt: true when held, false to try again; error_ says why.
  bool try_once();

  std::string path_;
  int fd_ = -1;
  std::string error_;
};

}  // namespace qm
