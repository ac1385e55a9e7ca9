#pragma once

#include <memory>
#include <string>

#include "engine/ports.h"

class QSettings;

namespace qm {

// The one per-user store of everything the program remembers between runs. Every value is text:
// integers in decimal, booleans "1" and "0". Each write reaches the disk at once, since the
// program may end at any moment without a shutdown step.
class SettingsStore final : public SettingsPort {
 public:
  // Opens QSettings(NativeFormat, UserScope, "Tarvelle", "QuibMan50").
  SettingsStore();
  ~SettingsStore() override;

  int read_integer(const std::string& name, int default_value) override;
  void write_integer(const std::string& name, int value) override;
  // Reaches the disk once for all the values that differ from what is stored.
  void write_integers(std::span<const Value> values) override;
  bool read_bool(const std::string& name, bool default_value);
  void write_bool(const std::string& name, bool value);

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace qm
