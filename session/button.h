#pragma once

#include <cstdint>

namespace qm {

// The handheld's buttons and directions, numbered as their key bindings Key1..Key8.
enum class Button : std::uint8_t { Ama = 1, Pro, Time, Mode, Up, Left, Right, Down };
inline constexpr int kButtonCount = 8;

// Whatever takes the handheld's button presses: the device session, or a test's recorder.
class ButtonSink {
 public:
  virtual ~ButtonSink() = default;
  virtual void press(Button button) = 0;
  virtual void release(Button button) = 0;
};

}  // namespace qm
