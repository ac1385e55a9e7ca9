// Preloaded into a writer to make the system calls of a settings write fail as a full disk, a
// failing disk or a read-only folder would. QM_FAIL names the call: "write" (the first write
// takes half its bytes, every later one finds no space), "fsync" or "rename". Only calls on the
// settings file and its companions fail; everything else goes to the C library.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool failing(const char* call) {
  const char* chosen = std::getenv("QM_FAIL");
  return chosen != nullptr && std::strcmp(chosen, call) == 0;
}

bool settings_path(const char* path) {
  return path != nullptr && std::strstr(path, "QuibMan50.conf") != nullptr;
}

bool settings_fd(int fd) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char target[4096];
  const ssize_t length = readlink(link, target, sizeof target - 1);
  if (length < 0) return false;
  target[length] = '\0';
  return settings_path(target);
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool disk_full = false;

}  // namespace

extern "C" ssize_t write(int fd, const void* data, size_t count) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  if (!failing("write") || !settings_fd(fd)) return real(fd, data, count);
  if (disk_full || count < 2) {
    errno = ENOSPC;
    return -1;
  }
  disk_full = true;
  return real(fd, data, count / 2);
}

extern "C" int fsync(int fd) {
  static const auto real = next<int (*)(int)>("fsync");
  if (!failing("fsync") || !settings_fd(fd)) return real(fd);
  errno = EIO;
  return -1;
}

extern "C" int fdatasync(int fd) {
  static const auto real = next<int (*)(int)>("fdatasync");
  if (!failing("fsync") || !settings_fd(fd)) return real(fd);
  errno = EIO;
  return -1;
}

extern "C" int rename(const char* from, const char* to) {
  static const auto real = next<int (*)(const char*, const char*)>("rename");
  if (!failing("rename") || !settings_path(to)) return real(from, to);
  errno = EROFS;
  return -1;
}
