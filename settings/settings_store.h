#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <ctime>
#include <memory>
#include <string>

#include "engine/ports.h"

class QSettings;

namespace qm {

// The one per-user store of everything the program remembers between runs. Every value is text:
// integers in decimal, booleans "1" and "0". Each write reaches the disk at once, since the
// program may end at any moment without a shutdown step. Only the user's own file counts, and
// every read and every write sees what another copy of the program (or a hand edit) has put in
// it since.
class SettingsStore final : public SettingsPort {
 public:
  // Opens the file where QSettings(NativeFormat, UserScope, "Tarvelle", "QuibMan50") keeps it.
  SettingsStore();
  ~SettingsStore() override;

  int read_integer(const std::string& name, int default_value) override;
  void write_integer(const std::string& name, int value) override;
  // Reaches the disk once for all the values that differ from what is stored.
  void write_integers(std::span<const Value> values) override;
  bool read_bool(const std::string& name, bool default_value);
  void write_bool(const std::string& name, bool value);

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

  QByteArray path_;
  FileStamp seen_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace qm
