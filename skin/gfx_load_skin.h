#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lcd/lcd_look.h"
#include "lcd/scene.h"
#include "skin/background_jobs.h"
#include "skin/picture_file.h"

namespace qm {

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// How a layout run ended. Anything but Done comes with the text of the message box to show.
struct SkinLayoutResult {
  enum class Status {
    Done,
    ConfigMissing,     // no Config.ini beside the program: the program must end
    ConfigUnreadable,  // a Config.ini that is there but cannot be read: the program must end
    Stopped,           // a colour that is no number or a picture that cannot be decoded
    Unshowable,        // a window size or offset no screen can show: the program must end
    NothingToSee,      // not one skin picture found: the program must end
  };
  Status status = Status::Done;
  std::string message;
  // The skin's own look of the crystal, from its [LCD] section; all 0 where it gives none.
  LcdLook lcd;
};

inline constexpr const char* kConfigMissingMessage =
    "Configuration file (Config.ini) not found. Please reinstall the game.";

// The skin's pictures read ahead, each by its file's path: what a layout run takes instead of
// reading the file itself.
using PicturesAhead = BackgroundJobs<PictureResult>;

// Reads Config.ini from the program's folder afresh and lays out the main window's scene: window
// size, colours and colour key, backdrop and logo (fullscreen layout), then the 135 skin boxes at
// the game offset, then the game-menu boxes; the result carries the skin's [LCD] look. Relative
// folders in the file resolve against the current directory. On a stop the scene keeps everything
// done before the failing step. A picture `ahead` holds is taken from there.
SkinLayoutResult Gfx_Load_Skin(Scene& scene, const std::filesystem::path& program_dir,
                               bool fullscreen_mode, ScreenSize screen,
                               PicturesAhead* ahead = nullptr);

// The picture files a layout run in this mode would read, each once, in the order it reads them.
std::vector<std::filesystem::path> skin_files(const std::filesystem::path& program_dir,
                                              bool fullscreen_mode);

// Starts reading those files on a thread of its own, as the layout run reads them, so that a
// start spends the time the window system takes to answer on decoding.
std::unique_ptr<PicturesAhead> read_skin_ahead(const std::filesystem::path& program_dir,
                                               bool fullscreen_mode);

struct WindowPosition {
  int left = 0;
  int top = 0;
};

// The window in the middle of the screen, or at its top and left edges when larger than it.
WindowPosition centre_on_screen(int window_width, int window_height, ScreenSize screen);

}  // namespace qm
