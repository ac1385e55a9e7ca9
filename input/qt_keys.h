#pragma once

#include <cstdint>

class QKeyEvent;

namespace qm {

// Windows virtual-key codes of the keys the program reacts to that are not selectable keys.
constexpr std::uint16_t kVkReturn = 0x0D;
constexpr std::uint16_t kVkEscape = 0x1B;

// The Windows virtual-key code of a key event: the 44 selectable keys, the digits and letters by
// their physical key whatever the layout (so Shift+1, or the 1 key of a French keyboard, gives the
// 1 key's code), Enter and Esc; 0 for any other key.
std::uint16_t windows_key_code(const QKeyEvent& event);

// The same from the parts of an event: Qt's key, whether it came from the keypad, and the key
// code of the physical key as X11 and Wayland give it (0 where the platform gives none).
std::uint16_t windows_key_code(int qt_key, bool keypad, std::uint32_t key_code);

}  // namespace qm
