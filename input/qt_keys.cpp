#include "input/qt_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <string_view>

namespace qm {

namespace {

// The physical keys of the digit row and the three letter rows by their key codes (the kernel's
// code + 8, as X11 and Wayland both give them), named by what a US keyboard prints on them.
struct KeyRow {
  std::uint32_t first_code;
  const char* keys;
};
constexpr KeyRow kKeyRows[] = {
    {10, "1234567890"},
    {24, "QWERTYUIOP"},
    {38, "ASDFGHJKL"},
    {52, "ZXCVBNM"},
};

std::uint16_t code_of_position(std::uint32_t key_code) {
  for (const KeyRow& row : kKeyRows) {
    const std::string_view keys(row.keys);
    if (key_code >= row.first_code && key_code < row.first_code + keys.size())
      return static_cast<std::uint16_t>(keys[key_code - row.first_code]);
  }
  return 0;
}

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

std::uint16_t windows_key_code(int qt_key, bool keypad, std::uint32_t key_code) {
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
  if (std::uint16_t code = code_of_position(key_code)) return code;
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return static_cast<std::uint16_t>(qt_key);
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return static_cast<std::uint16_t>(qt_key);
  int digit = digit_of_shifted_symbol(qt_key);
  return digit < 0 ? 0 : static_cast<std::uint16_t>(0x30 + digit);
}

std::uint16_t windows_key_code(const QKeyEvent& event) {
  // Only on X11 and Wayland are the native scan codes the kernel's key codes + 8.
  static const bool linux_codes =
      QGuiApplication::platformName() == QLatin1String("xcb") ||
      QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
  return windows_key_code(event.key(), event.modifiers().testFlag(Qt::KeypadModifier),
                          linux_codes ? event.nativeScanCode() : 0);
}

}  // namespace qm
