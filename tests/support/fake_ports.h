#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/ports.h"

namespace qm {

// The ports that tests give the device and its dialogs.

// A settings store in memory that remembers every write in order.
class FakeSettings : public SettingsPort {
 public:
  int read_integer(const std::string& name, int default_value) override {
    auto it = values.find(name);
    return it == values.end() ? default_value : it->second;
  }
  void write_integer(const std::string& name, int value) override {
    values[name] = value;
    writes.push_back(name + "=" + std::to_string(value));
  }

  std::map<std::string, int> values;
  std::vector<std::string> writes;
};

}  // namespace qm
