#pragma once

#include <optional>
#include <span>
#include <string>

namespace qm {

// The five samples of the handheld, in their loading order.
enum class Sample { Beep, Bonus, Miss, Point, Start };

class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual void Snd_Play(Sample sample) = 0;
  virtual void Snd_Silence() = 0;
};

// The per-user settings store as a table of named integers: the engine keeps its high scores
// there, the key bindings and the layout and LCD choices live there too.
class SettingsPort {
 public:
  virtual ~SettingsPort() = default;
  virtual int read_integer(const std::string& name, int default_value) = 0;
  virtual void write_integer(const std::string& name, int value) = 0;

  struct Value {
    std::string name;
    int value;
  };
  // Values that change together; a store may put them on disk in one go.
  virtual void write_integers(std::span<const Value> values) {
    for (const Value& v : values) write_integer(v.name, v.value);
  }

  // The values a caller takes; a stored value outside them counts as missing.
  struct Range {
    int lowest;
    int highest;
    int valid_or(std::optional<int> value, int default_value) const {
      return value && *value >= lowest && *value <= highest ? *value : default_value;
    }
  };
  int read_valid(const std::string& name, int default_value, Range valid) {
    const int value = read_integer(name, default_value);
    return valid.valid_or(value, default_value);
  }
  // Stores value unless the store holds a higher one (a missing or invalid one counts as
  // valid.lowest); gives the higher of the two. A store shared with other programs looks and
  // writes in one step.
  virtual int write_higher(const std::string& name, int value, Range valid) {
    const int stored = read_valid(name, valid.lowest, valid);
    if (value <= stored) return stored;
    write_integer(name, value);
    return value;
  }
};

struct TimeOfDay {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

class LocalTimePort {
 public:
  virtual ~LocalTimePort() = default;
  virtual TimeOfDay local_time() = 0;
};

// Rebuilds the MODE button's hint for the mode just entered.
class ModeHintPort {
 public:
  virtual ~ModeHintPort() = default;
  virtual void rebuild_mode_hint(int gam_mode) = 0;
};

struct Ports {
  SoundPort& sound;
  SettingsPort& settings;
  LocalTimePort& time;
  ModeHintPort& hint;
};

}  // namespace qm
