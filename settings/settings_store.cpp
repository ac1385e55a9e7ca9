#include "settings/settings_store.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include <QFile>
#include <QSettings>
#include <QString>

#include "settings/atomic_file.h"
#include "settings/file_lock.h"

namespace qm {

namespace {

// How long a write waits for another writer before it counts as failed: a copy of the program
// holds the lock for a few milliseconds, so only a hung one, or a lock in the way, takes longer.
constexpr std::chrono::milliseconds kLockPatience{1000};

// Where QSettings keeps the user's own file. Only that file counts: the organisation's file and
// the system's are not read.
std::string user_file() {
  return QFile::encodeName(
             QSettings(QSettings::NativeFormat, QSettings::UserScope, "Tarvelle", "QuibMan50")
                 .fileName())
      .toStdString();
}

std::optional<int> integer_of(const SettingsText& settings, const std::string& name) {
  const std::string* spelling = settings.find(name);
  if (spelling == nullptr) return std::nullopt;
  return parse_decimal(unquoted(*spelling));
}

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool SettingsStore::FileStamp::operator==(const FileStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         same_time(modified, other.modified) && same_time(changed, other.changed);
}

// The stamp differs from any file's, so the first read reads the file.
SettingsStore::SettingsStore() : path_(user_file()) {
  seen_.size = -1;
}

SettingsStore::FileStamp SettingsStore::stamp() const {
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) return {};
  return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Another copy of the program, or a hand edit, may have changed the file since it was last read.
// One stat tells whether it has; only then is it read again. Writers replace the file whole, so
// a read never sees half of a write. A file that cannot be read gives the defaults.
void SettingsStore::catch_up() {
  const FileStamp now = stamp();
  if (now == seen_) return;
  seen_ = now;
  settings_ = parse_settings(read_whole_file(path_).text);
}

bool SettingsStore::update(const std::function<bool(SettingsText&)>& change) {
  std::string error;
  std::error_code folder_error;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), folder_error);
  if (folder_error) error = "cannot create the folder of " + path_ + ": " + folder_error.message();
  std::optional<FileLock> lock;
  if (error.empty()) {
    lock.emplace(path_, kLockPatience);
    error = lock->error();
  }
  // Read again under the lock: what others wrote since is kept, and a file that cannot be read
  // is not written over.
  const FileStamp before = stamp();
  FileText file;
  if (error.empty()) {
    file = read_whole_file(path_);
    error = file.error;
  }
  const auto failed = [&] {
    tell(told_failure_, "The settings could not be saved to " + path_ + " (" + error +
                            "). The game goes on, but this change will be lost when it ends.");
    return false;
  };
  if (!error.empty()) return failed();
  SettingsText settings = parse_settings(file.text);
  seen_ = before;
  if (!change(settings)) {
    settings_ = std::move(settings);
    return true;
  }
  if (!settings.clean) error = keep_damaged(file.text);
  if (error.empty()) error = replace_file(path_, format_settings(settings));
  if (!error.empty()) {
    settings_ = parse_settings(file.text);
    return failed();
  }
  settings_ = std::move(settings);
  seen_ = stamp();
  return true;
}

std::string SettingsStore::keep_damaged(const std::string& text) {
  const std::string copy = path_ + ".damaged";
  std::string error = replace_file(copy, text);
  if (error.empty()) {
    tell(told_damage_, "Some lines of the settings file " + path_ +
                           " could not be read and were left out. The file as it was is kept as " +
                           copy + ".");
  }
  return error;
}

void SettingsStore::tell(bool& told, const std::string& message) {
  if (told) return;
  told = true;
  std::fprintf(stderr, "quibman: %s\n", message.c_str());
  if (reporter_) {
    reporter_(message);
  } else {
    untold_.push_back(message);
  }
}

void SettingsStore::set_reporter(Reporter reporter) {
  reporter_ = std::move(reporter);
  if (!reporter_) return;
  for (const std::string& message : untold_) reporter_(message);
  untold_.clear();
}

int SettingsStore::read_integer(const std::string& name, int default_value) {
  catch_up();
  return integer_of(settings_, name).value_or(default_value);
}

void SettingsStore::write_integer(const std::string& name, int value) {
  const Value one[] = {{name, value}};
  write_integers(one);
}

void SettingsStore::write_integers(std::span<const Value> values) {
  // A value the file already holds as this very text is on disk: writing it again would only
  // cost a flush to disk (the start-up writes every key binding back).
  catch_up();
  bool changed = false;
  for (const Value& v : values) {
    const std::string* stored = settings_.find(v.name);
    changed = changed || stored == nullptr || *stored != std::to_string(v.value);
  }
  if (!changed) return;
  update([&](SettingsText& settings) {
    bool any = false;
    for (const Value& v : values) any = settings.set(v.name, std::to_string(v.value)) || any;
    return any;
  });
}

int SettingsStore::write_higher(const std::string& name, int value, Range valid) {
  int stored = valid.lowest;
  update([&](SettingsText& settings) {
    stored = valid.valid_or(integer_of(settings, name), valid.lowest);
    return value > stored && settings.set(name, std::to_string(value));
  });
  return std::max(value, stored);
}

bool SettingsStore::read_bool(const std::string& name, bool default_value) {
  return read_integer(name, default_value ? 1 : 0) != 0;
}

void SettingsStore::write_bool(const std::string& name, bool value) {
  write_integer(name, value ? 1 : 0);
}

}  // namespace qm
