#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "input/gamepad_source.h"
#include "input/key_dispatch.h"
#include "lcd/scene.h"
#include "session/device_session.h"
#include "settings/replay_folder.h"
#include "settings/settings_store.h"
#include "skin/gfx_load_skin.h"
#include "sound/sound_layer.h"
#include "ui/qt/picture_cache.h"
#include "ui/qt/qt_timer_host.h"
#include "ui/qt/window_drag.h"
#include "ui/segment_painter.h"

class QKeySequence;
class QMenu;
class QWindow;

namespace qm {

inline constexpr const char* kApplicationTitle = "Quib Man (unknown mfg, Hand & Play) Simulator";

// What the main window takes from its surroundings; tests give their own folder, screen and a
// message box that does not block.
struct WindowEnvironment {
  std::filesystem::path program_dir;  // where Config.ini lies
  std::function<ScreenSize()> screen_size;
  std::function<void(const QString&)> show_error;
  // A message that does not stop the program, shown beside the window.
  std::function<void(const QString&)> show_notice = {};
  bool gamepad = false;             // game controllers work the device's buttons too
  std::filesystem::path replays{};  // where finished games are kept; none are when empty
};
// The executable's folder, the primary screen, a message box with the error icon, a message box
// with the warning icon that waits for nobody, and game
// controllers unless QM_NO_GAMEPAD is set.
WindowEnvironment default_window_environment();

// The simulated handheld in its own borderless window. It shows the device session's scene and
// forwards keys, clicks on the drawn buttons and game controllers to the session; it holds the
// session's Qt timer host, settings store and sound layer, and the pop-up menu. Each game the
// session records is kept in the replays folder as it ends.
class MainWindow final : public QWidget,
                         public SceneListener,
                         private ModeHintPort,
                         private ReplaySink {
  Q_OBJECT

 public:
  // The first layout takes the pictures `ahead` has read.
  explicit MainWindow(WindowEnvironment env = default_window_environment(),
                      std::unique_ptr<PicturesAhead> ahead = nullptr);
  ~MainWindow() override;

  DeviceSession& session() { return session_; }
  Scene& scene() { return session_.scene(); }
  const Scene& scene() const { return session_.scene(); }
  Game& game() { return session_.game(); }
  SettingsStore& settings_store() { return *store_; }
  SettingsPort& settings() { return settings_; }
  SoundLayer& sound_layer() { return sound_; }
  QMenu* pm_0_menu() { return pm_0_menu_; }
  // Null when the environment leaves game controllers out.
  GamepadSource* gamepad() { return gamepad_.get(); }

  KeyBindings& key_bindings() { return key_bindings_; }
  const KeyNames& key_names() const { return key_names_; }
  // All ten button hints again, MODE's by the current mode.
  void rebuild_button_hints();

  bool fullscreen_mode() const { return fullscreen_mode_; }
  // Flips the layout, stores it and lays the skin out again; the menus keep their own check mark
  // and game menu state.
  void toggle_display_mode();
  // Places the window by the centring rule (covering the screen in fullscreen layout) and shows it.
  void centre_on_screen();
  // The splash screen's play action ends here: the device comes alive in time mode.
  void switch_on();

  // Plays a replay file in the window at the game's own pace, with its sounds, until it is done
  // and a button or Esc is pressed; a file that is refused is shown with the reason. False then.
  bool watch_replay(const QString& file);
  const std::filesystem::path& replays_folder() const { return replays_.folder(); }
  // Writes a PNG of the device as drawn (transparent where the colour key cuts the window out) to
  // $XDG_PICTURES_DIR/Quib Man/, else ~/Pictures/Quib Man/, and says where in a hint. Returns the
  // file written, or an empty string.
  QString save_screenshot();

  // True from program start until the splash screen has been shown or skipped.
  bool splash_pending = true;
  // Shows the splash screen; set by the program start.
  std::function<void()> show_splash;
  // The first activation's duty: show the splash screen once.
  void FormActivate();

  // Ends the program: at once when the event loop runs, else as soon as it would start.
  void request_quit();
  bool quit_requested() const { return quit_requested_; }

  void FormKeyDown(std::uint16_t key_code) { dispatch_.FormKeyDown(key_code); }
  void FormKeyUp(std::uint16_t key_code) { dispatch_.FormKeyUp(key_code); }

  // The part of the client area that is shown (and takes clicks): all of it unless the colour
  // key cuts pixels out.
  QRegion shown_region() const;
  // What the window shows, composed from the scene.
  QImage composed();

  // How the crystal is drawn: the user's choice, else the skin's. Setting it redraws the device
  // at once without storing it; keep_lcd_look stores what is set.
  const LcdLook& lcd_look() const { return segments_.look(); }
  void set_lcd_look(const LcdLook& look);
  void keep_lcd_look();

  // SceneListener
  void box_changed(BoxId id, const Rect& old_rect, const Rect& new_rect) override;
  void window_changed() override;

 signals:
  // A click (press and release) on the game menu's three-bar button.
  void gameMenuClicked();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Settings access that survives the store's release at close.
  class StoreForwarder final : public SettingsPort {
   public:
    explicit StoreForwarder(std::unique_ptr<SettingsStore>& store) : store_(store) {}
    int read_integer(const std::string& name, int default_value) override;
    void write_integer(const std::string& name, int value) override;
    void write_integers(std::span<const Value> values) override;
    int write_higher(const std::string& name, int value, Range valid) override;

   private:
    std::unique_ptr<SettingsStore>& store_;
  };

  void rebuild_mode_hint(int gam_mode) override;
  // ReplaySink
  void keep(const Replay& replay) override;
  void play_replay();
  void say(const QString& text);
  // The window lost the keyboard: every key and controller button still held is let go.
  void release_held_buttons();
  void start_gamepad();

  // Gfx_Load_Skin with its message shown. A layout that ends in a message ends the program, except
  // a stop during a display-mode toggle, which leaves the layout as far as it got: the window shows
  // the handheld of the earlier layout there.
  void run_layout(bool starting);
  void move_out_of_sight();
  BoxId box_at(QPoint pos) const;
  // Ends the left button's press: the box's button goes up; returns the box.
  BoxId release_pressed_box();
  QRect client_rect() const;
  void update_cursor(BoxId id);
  void schedule_flush();
  void flush();
  // Lets go of the plain pictures that have finer versions for the ratio.
  void let_go_of_plain(qreal ratio);
  // On a screen of more than one device pixel per logical pixel, the finer pictures the window
  // is about to draw are read on threads of their own while it is made and shown.
  void read_pictures_ahead();
  // A logical area to compose and repaint.
  void damage(const QRect& area);
  // One frame of the segments' fades: their areas repainted, the frames stopped once all are done.
  void fade_frame();
  // Draws the scene's logical rectangle into a picture of `ratio` device pixels per logical one.
  void compose(QImage& target, const QRect& rect, qreal ratio);
  // An uncomposed picture of the window's device pixels.
  QImage new_frame() const;
  void update_cut_out(const QRect& rect);
  void apply_mask();

  WindowEnvironment env_;
  // The first layout's pictures, read ahead; let go once that layout has taken them.
  std::unique_ptr<PicturesAhead> ahead_;
  QtTimerHost timer_host_;
  std::unique_ptr<SettingsStore> store_;
  StoreForwarder settings_{store_};
  SoundLayer sound_;
  ReplayFolder replays_{env_.replays};
  bool replay_failure_said_ = false;
  DeviceSession session_{SessionPorts{timer_host_, sound_, settings_, *this, nullptr,
                                      env_.replays.empty() ? nullptr : this}};
  QTimer watch_timer_;
  KeyNames key_names_;
  KeyBindings key_bindings_{};
  KeyDispatch dispatch_{session_, key_bindings_};
  QMenu* pm_0_menu_ = nullptr;

  bool fullscreen_mode_ = true;
  bool quit_requested_ = false;
  // The native window's surface has an alpha channel where the layout needs none, or the reverse.
  bool surface_outdated_ = false;

  // A click here asks for the keyboard; where the window system keeps it on another window of the
  // program (weston gives it to the manual, a transient child, whatever is clicked), the keys that
  // window gets are taken as this window's until that window is clicked or loses the keyboard.
  void claim_keyboard();
  bool keyboard_claimed() const;
  // Works this window's shortcut for `keys`; false when it has none.
  bool trigger_shortcut(const QKeySequence& keys);
  QPointer<QWindow> keyboard_held_by_;

  // Mouse: the box that took the left press, and the drag anchor inside it.
  BoxId pressed_box_ = 0;
  WindowDrag drag_{*this};

  // Painting: the composed picture in device pixels at the ratio of its screen (held only while
  // the colour key cuts the window: without it the paint composes into the backing store), what
  // still needs composing, and the colour key's cut-out with, on a screen of another ratio than
  // one, the picture composed in logical pixels that it is taken from.
  PictureCache pictures_;
  qreal ratio_ = 1;
  QImage buffer_;
  QImage shape_;
  QRegion dirty_;
  bool flush_pending_ = false;
  QRegion cut_;
  bool mask_dirty_ = false;
  // The ratio for which the plain pictures that have finer versions were let go; 0 for none.
  qreal plain_let_go_for_ = 0;
  SegmentPainter segments_{pictures_};
  // The skin's look of the crystal, for what the user has not chosen.
  LcdLook skin_lcd_;
  QElapsedTimer clock_;
  QTimer fade_frames_;

  std::unique_ptr<GamepadSource> gamepad_;
  bool gamepad_pending_ = false;  // started after the first paint
};

}  // namespace qm
