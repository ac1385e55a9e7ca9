#include "input/qt_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace qm {

namespace {

// X11 key codes of the digit row, 1 to 9 and then 0, on every PC keyboard (evdev + 8).
constexpr std::uint32_t kX11Digit1 = 10;
constexpr std::uint32_t kX11Digit0 = 19;

// What the digit row's keys give with Shift on a US keyboard, for events without a physical key
// code (synthetic events, other platforms).
int digit_of_shifted_symbol(int qt_key) {
  switch (qt_key) {
    case Qt::Key_ParenRight:
      return 0;
    case Qt::Key_Exclam:
      return 1;
    case Qt::Key_At:
      return 2;
    case Qt::Key_NumberSign:
      return 3;
    case Qt::Key_Dollar:
      return 4;
    case Qt::Key_Percent:
      return 5;
    case Qt::Key_AsciiCircum:
      return 6;
    case Qt::Key_Ampersand:
      return 7;
    case Qt::Key_Asterisk:
      return 8;
    case Qt::Key_ParenLeft:
      return 9;
    default:
      return -1;
  }
}

}  // namespace

std::uint16_t windows_key_code(int qt_key, bool keypad, std::uint32_t x11_keycode) {
  switch (qt_key) {
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkReturn;
    case Qt::Key_Escape:
      return kVkEscape;
    default:
      break;
  }
  // The keypad's digits have codes of their own, outside the selectable keys.
  if (keypad) return 0;
  if (x11_keycode >= kX11Digit1 && x11_keycode <= kX11Digit0)
    return static_cast<std::uint16_t>(
        x11_keycode == kX11Digit0 ? 0x30 : 0x31 + (x11_keycode - kX11Digit1));
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return static_cast<std::uint16_t>(qt_key);
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return static_cast<std::uint16_t>(qt_key);
  int digit = digit_of_shifted_symbol(qt_key);
  return digit < 0 ? 0 : static_cast<std::uint16_t>(0x30 + digit);
}

std::uint16_t windows_key_code(const QKeyEvent& event) {
  // Only the X11 platform's scan codes are X key codes.
  static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  return windows_key_code(event.key(), event.modifiers().testFlag(Qt::KeypadModifier),
                          x11 ? event.nativeScanCode() : 0);
}

}  // namespace qm
