#include "tools/skin/config_ini.h"

#include <QStringList>

#include "tools/skin/layout.h"

namespace qm::skin {

QString config_ini_text() {
  QStringList lines = {
      "; Quib Man Simulator: the default skin.",
      "; Folders are relative to the folder the simulator is started from. Numbers may be",
      "; decimal or hexadecimal ($1F, 0x1F). Colours are $00BBGGRR. A Filename of nil names no",
      "; picture. Left and Top count from the handheld's top-left corner.",
      "",
      "[Common]",
      "SkinDir=Graphics\\Skin\\",
      QString("GameWidth=%1").arg(kWidth),
      QString("GameHeight=%1").arg(kHeight),
      "",
      "; The fullscreen layout: the handheld on a backdrop, a logo in a corner",
      "; (LogoPosition 0 top left, 1 top right, 2 bottom left, 3 bottom right).",
      "[Fullscreen]",
      "BackdropDir=Graphics\\Backdrop\\",
      "BackdropFile=backdrop.jpg",
      "BackdropStretch=1",
      "BgColor=$00201810",
      "GameOffsetX=Center",
      "GameOffsetY=Center",
      "LogoFile=logo.png",
      "LogoPosition=1",
      "",
      "; The windowed layout: every pixel of this colour is cut out of the window.",
      "[VideoMode]",
      "TranspColor=$00ff00ff",
      "",
      "; The manual viewer: pages 1.bmp to 14.bmp and the window's size.",
      "[Manual]",
      "ManualDir=Graphics\\Manual\\",
      "ManualWidth=340",
      "ManualHeight=535",
      "",
      "; The crystal: unlit segments drawn at this percent of a lit one's strength, the segments'",
      "; shadow on the backplane in percent, and the milliseconds a segment takes to turn dark or",
      "; clear. The player's own choices in the LCD look dialog win over these.",
      "[LCD]",
      "UnlitSegments=3",
      "SegmentShadow=25",
      "LcdResponse=0",
  };
  const auto& entries = skin_entries();
  for (int n = 1; n <= box::kSkinCount; ++n) {
    const Entry& e = entries[n];
    lines << ""
          << "; " + e.comment << QString("[Image%1]").arg(n) << "Filename=" + e.file
          << QString("Left=%1").arg(e.rect.left()) << QString("Top=%1").arg(e.rect.top())
          << QString("Width=%1").arg(e.rect.width()) << QString("Height=%1").arg(e.rect.height());
  }
  return lines.join("\r\n") + "\r\n";
}

}  // namespace qm::skin
