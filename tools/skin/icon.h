#pragma once

#include <QByteArray>
#include <QImage>
#include <array>

namespace qm::skin {

// The program's icon in the desktop's menus: Quibman in LCD ink on the glass of the handheld's
// screen, framed by its dark bezel. The sizes are those of the hicolor theme's folders; the SVG
// is the same drawing at any size.
inline constexpr std::array kIconSizes{16, 22, 24, 32, 48, 64, 128, 256, 512};
QImage draw_icon(int size);
QByteArray icon_svg();

}  // namespace qm::skin
