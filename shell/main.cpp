#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMenu>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>

#include "input/key_repeat.h"
#include "session/replay_verify.h"
#include "settings/settings_store.h"
#include "shell/display_connection.h"
#include "shell/heap_policy.h"
#include "ui/about_form.h"
#include "ui/game_menu.h"
#include "ui/keys_form.h"
#include "ui/lcd_look_dialog.h"
#include "ui/main_window.h"
#include "ui/manual_form.h"
#include "ui/menu_host.h"
#include "ui/popup_menu.h"
#include "ui/splash_form.h"

namespace {

using namespace qm;

// The program's windows, created in their fixed order, and what the menus and the splash screen
// need of them.
class Program final : public MenuHost, public SplashHost {
 public:
  Program(QString replay, std::unique_ptr<PicturesAhead> ahead)
      : env_(default_window_environment()),
        form_(env_, std::move(ahead)),
        replay_(std::move(replay)) {
    // No Config.ini: the message has been shown and nothing else is created.
    if (form_.quit_requested()) return;
    popup_ = std::make_unique<PopupMenu>(*this, *form_.pm_0_menu());
    QObject::connect(&form_, &MainWindow::gameMenuClicked,
                     [this] { popup_->game_menu().btn_game_menu_topClick(); });
    // A skipped splash screen is never built: its pictures, fonts and widgets would stand before
    // the device's first paint.
    if (start_without_splash(*this)) return;
    form_.show_splash = [this] { splash_->present(); };
    splash_ = std::make_unique<TSplashForm>(*this, env_.program_dir);
  }

  int run() {
    // The main window stays unmapped until play, so its first activation is played out here:
    // the splash screen shows at once, with or without a window manager.
    if (!form_.quit_requested()) form_.FormActivate();
    if (form_.quit_requested()) return 0;
    return QApplication::exec();
  }

  // MenuHost
  QWidget& main_window() override { return form_; }
  Scene& scene() override { return form_.scene(); }
  SettingsPort& settings() override { return form_.settings(); }
  bool fullscreen_mode() const override { return form_.fullscreen_mode(); }
  bool splash_screen_checked() const override {
    return !splash_ || splash_->chb_splashscreen->isChecked();
  }
  // The dialogs are made when first asked for: a start that never opens them spends neither time
  // nor memory on them.
  void show_about() override {
    if (!about_)
      about_ = std::make_unique<TAboutForm>(env_.program_dir,
                                            [this](const QString& name) { open_document(name); });
    about_->show_about();
  }
  void show_manual() override {
    if (!manual_) manual_ = std::make_unique<TManualForm>(env_.program_dir, env_.show_error);
    manual_->show_manual(&form_);
  }
  void show_key_settings() override {
    if (!keys_)
      keys_ = std::make_unique<TKeysForm>(form_, form_.settings(), form_.key_bindings(),
                                          [this] { form_.rebuild_button_hints(); });
    keys_->open_dialog();
  }
  void show_lcd_look() override {
    auto* dialog = new LcdLookDialog(
        &form_, form_.lcd_look(), [this](const LcdLook& look) { form_.set_lcd_look(look); },
        [this] { form_.keep_lcd_look(); });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
  }
  void set_hiscore(int level, int value) override {
    (level == 1 ? form_.game().state().hiscore1 : form_.game().state().hiscore2) = value;
  }
  void toggle_display_mode() override { form_.toggle_display_mode(); }
  void watch_replay() override {
    const QString file = QFileDialog::getOpenFileName(
        &form_, "Watch replay", QString::fromStdString(form_.replays_folder().string()),
        "Quib Man replays (*.qmr)");
    if (!file.isEmpty()) form_.watch_replay(file);
  }
  void save_screenshot() override { form_.save_screenshot(); }

  // SplashHost
  SettingsStore& store() override { return form_.settings_store(); }
  bool Snd_Start(int output_type) override { return form_.sound_layer().Snd_Start(output_type); }
  void set_sound_enabled(bool enabled) override { form_.sound_layer().sound_enabled = enabled; }
  void set_splash_screen_check(bool checked) override {
    popup_->pm_11_splashscreen().setChecked(checked);
  }
  void clear_splash_pending() override { form_.splash_pending = false; }
  void start_device() override {
    form_.centre_on_screen();
    form_.switch_on();
    // A replay named on the command line plays as soon as the device is on.
    if (!replay_.isEmpty()) form_.watch_replay(std::exchange(replay_, QString()));
  }
  void show_error(const QString& text) override { env_.show_error(text); }
  void terminate() override { form_.request_quit(); }

 private:
  WindowEnvironment env_;
  MainWindow form_;
  std::unique_ptr<PopupMenu> popup_;
  std::unique_ptr<TAboutForm> about_;
  std::unique_ptr<TKeysForm> keys_;
  std::unique_ptr<TManualForm> manual_;
  std::unique_ptr<TSplashForm> splash_;
  QString replay_;
};

// quibman --verify-replay FILE: plays the replay without a window, as fast as it goes, and says
// how it ended on standard output, or why it is refused on standard error.
int verify(const char* file) {
  const ReplayRead read = read_replay_file(file);
  if (!read.replay) {
    std::fprintf(stderr, "quibman: %s is refused: %s\n", file, read.error.c_str());
    return 1;
  }
  const ReplayOutcome outcome = verify_replay(*read.replay);
  if (!outcome.ok) {
    std::fprintf(stderr, "quibman: %s is refused: %s\n", file, outcome.error.c_str());
    return 1;
  }
  std::printf("%s\n", describe_outcome(*read.replay, outcome).c_str());
  return 0;
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; null when it is absent.
const char* option(int argc, char* argv[], const char* name, bool& missing_value) {
  const std::size_t length = std::strlen(name);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) {
      if (i + 1 < argc) return argv[i + 1];
      missing_value = true;
      return nullptr;
    }
    if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=')
      return argv[i] + length + 1;
  }
  return nullptr;
}

// The executable's folder, where Config.ini lies, known before Qt is.
std::filesystem::path program_folder() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

}  // namespace

int main(int argc, char* argv[]) {
  bool missing = false;
  // Verifying needs no display: it runs before, and without, anything of Qt's.
  if (const char* file = option(argc, argv, "--verify-replay", missing)) return verify(file);
  const char* replay = option(argc, argv, "--replay", missing);
  if (missing) {
    std::fprintf(stderr, "quibman: --replay and --verify-replay take a file name\n");
    return 2;
  }
  // Refused, glibc keeps its sliding threshold: the program runs the same, only heavier.
  qm::map_large_blocks();
  // The skin's pictures are decoded on a second core while Qt starts and meets the window system.
  std::unique_ptr<qm::PicturesAhead> ahead = qm::read_skin_ahead(
      program_folder(), qm::SettingsStore().read_valid("FullscreenMode", 1, {0, 1}) != 0);
  auto connecting = std::make_unique<qm::DisplayConnection>();
  QApplication app(argc, argv);
  connecting.reset();
  qm::keep_held_keys_down();
  // Closing the main window ends the program by itself; hiding the splash screen must not.
  QApplication::setQuitOnLastWindowClosed(false);
  Program program(replay ? QString::fromLocal8Bit(replay) : QString(), std::move(ahead));
  return program.run();
}
