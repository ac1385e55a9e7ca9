#pragma once

#include "engine/ports.h"

class QString;
class QWidget;

namespace qm {

class Scene;

// What the pop-up menu and the game menu need of the program around them. The program's wiring
// (shell/main.cpp) implements it over the main window and the dialogs; the menus and their tests
// talk only to this.
class MenuHost {
 public:
  virtual ~MenuHost() = default;

  // The main window itself: the game-menu rows are its children and the menu shortcuts (F1, F2,
  // F3, F4, F9, F12, Esc) work while it has the keyboard focus.
  virtual QWidget& main_window() = 0;
  // The main window's picture boxes; the game menu sizes btn_game_menu_background and gives it
  // its picture.
  virtual Scene& scene() = 0;
  // The settings store; booleans are kept as the integers 1 and 0.
  virtual SettingsPort& settings() = 0;

  virtual bool fullscreen_mode() const = 0;
  // The splash screen's check box "Display this splash screen at startup".
  virtual bool splash_screen_checked() const = 0;

  // Each returns at once: the about box and the manual are shown without waiting for them; the
  // key settings dialog is centred, shown, and disables the main window until it closes.
  virtual void show_about() = 0;
  virtual void show_manual() = 0;
  virtual void show_key_settings() = 0;
  // The LCD look dialog, shown without waiting for it.
  virtual void show_lcd_look() = 0;

  // Sets hiscore1 (level 1) or hiscore2 (level 2) in the game state; nothing is redrawn or
  // stored here.
  virtual void set_hiscore(int level, int value) = 0;

  // Flips fullscreen_mode, stores "FullscreenMode", moves the window out of sight, lays the skin
  // out again and centres the window. The menus set their own check mark and collapse the game
  // menu themselves.
  virtual void toggle_display_mode() = 0;

  // Offers the replays folder's games and plays the one chosen in the window.
  virtual void watch_replay() = 0;
  // Saves a picture of the device as drawn and says where.
  virtual void save_screenshot() = 0;

  // The desktop. open_document hands a file name (relative to the current directory) to the
  // desktop's default program and ignores the outcome; beep is the system beep; quit ends the
  // application at once, without closing the windows first.
  virtual void open_document(const QString& file_name);
  // Opens Config.ini as open_document does, or, where the installed one cannot be written, the
  // user's own copy, made first when needed (skin/user_config.h).
  void edit_configuration();
  virtual void beep();
  virtual void quit();
};

}  // namespace qm
