#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <cstdio>
#include <memory>

#include "input/key_repeat.h"
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
  Program() : env_(default_window_environment()), form_(env_) {
    // No Config.ini: the message has been shown and nothing else is created.
    if (form_.quit_requested()) return;
    popup_ = std::make_unique<PopupMenu>(*this, *form_.pm_0_menu());
    QObject::connect(&form_, &MainWindow::gameMenuClicked,
                     [this] { popup_->game_menu().btn_game_menu_topClick(); });
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
};

}  // namespace

int main(int argc, char* argv[]) {
  // Qt would abort, with a core dump, on finding no window system to talk to.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fputs(
        "quibman: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
        stderr);
    return 1;
  }
  // Refused, glibc keeps its sliding threshold: the program runs the same, only heavier.
  qm::map_large_blocks();
  QApplication app(argc, argv);
  qm::keep_held_keys_down();
  // Closing the main window ends the program by itself; hiding the splash screen must not.
  QApplication::setQuitOnLastWindowClosed(false);
  Program program;
  return program.run();
}
