#pragma once

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
