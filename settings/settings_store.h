#pragma once

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "engine/ports.h"
#include "settings/settings_text.h"

namespace qm {

// The one per-user store of everything the program remembers between runs. Every value is text:
// integers in decimal, booleans "1" and "0". Each write reaches the disk at once, all or nothing,
// since the program may end at any moment without a shutdown step. Only the user's own file
// counts, and every read and every write sees what another copy of the program (or a hand edit)
// has put in it since. A write that cannot be done leaves the file as it was and is told once.
class SettingsStore final : public SettingsPort {
 public:
  // Told a sentence for the player: the first failed save of the run, and a damaged file kept.
  using Reporter = std::function<void(const std::string& message)>;

  // Opens the file where QSettings(NativeFormat, UserScope, "Tarvelle", "QuibMan50") keeps it.
  SettingsStore();

  int read_integer(const std::string& name, int default_value) override;
  void write_integer(const std::string& name, int value) override;
  // Reaches the disk once for all the values that differ from what is stored.
  void write_integers(std::span<const Value> values) override;
  // Looks at the file and writes it under the writers' lock, so that no other copy's higher
  // value is lost in between.
  int write_higher(const std::string& name, int value, Range valid) override;
  bool read_bool(const std::string& name, bool default_value);
  void write_bool(const std::string& name, bool value);

  // What was told before a reporter was set is told to it at once.
  void set_reporter(Reporter reporter);
  const std::string& path() const { return path_; }

 private:
  // What a stat of the file tells apart; all zero while there is no file.
  struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const FileStamp& other) const;
  };
  FileStamp stamp() const;
  void catch_up();
  // Reads the file afresh under the lock, lets change alter it and writes it back when change
  // says it did. Gives false when the file could not be read or written.
  bool update(const std::function<bool(SettingsText&)>& change);
  // Puts the damaged file's text beside it before it is rewritten.
  std::string keep_damaged(const std::string& text);
  void tell(bool& told, const std::string& message);

  std::string path_;
  FileStamp seen_;
  SettingsText settings_;
  Reporter reporter_;
  std::vector<std::string> untold_;
  bool told_failure_ = false;
  bool told_damage_ = false;
};

}  // namespace qm
