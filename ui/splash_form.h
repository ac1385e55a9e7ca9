#pragma once

#include <QWidget>
#include <filesystem>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;

namespace qm {

class SettingsStore;

inline constexpr const char* kSoundFailedMessage =
    "Sound folder unproperly installed. Please reinstall the game.";

// What the splash screen needs of the rest of the program.
class SplashHost {
 public:
  virtual ~SplashHost() = default;
  virtual SettingsStore& store() = 0;
  // Starts the sound layer with output type 1 or 2; false when the Beep sample did not load.
  virtual bool Snd_Start(int output_type) = 0;
  virtual void set_sound_enabled(bool enabled) = 0;
  // The pop-up menu's check mark "Display splash screen at startup".
  virtual void set_splash_screen_check(bool checked) = 0;
  virtual void clear_splash_pending() = 0;
  // Centres the main window and switches the device on in time mode.
  virtual void start_device() = 0;
  virtual void show_error(const QString& text) = 0;
  // Ends the program at once, without closing the main window first.
  virtual void terminate() = 0;
};

// Starts the device at once when the settings skip the splash screen (a sound driver chosen and
// the screen turned off), without building any of it; false when the splash screen is to show.
bool start_without_splash(SplashHost& host);

// The splash screen "About this game...": title, version and release line, the sound driver
// choice, the play button and the choice to show it again at the next start.
class TSplashForm final : public QWidget {
 public:
  // Pictures come from Graphics/Splash/ in the program's folder; a missing one leaves its place
  // plain. Creation may skip the splash screen and run the play action at once.
  TSplashForm(SplashHost& host, const std::filesystem::path& program_dir);

  // Shown by the main window's first activation, in front and with the keyboard.
  void present();

  void btn_playClick();
  bool play_enabled() const;

  QComboBox* cb_sound = nullptr;
  QCheckBox* chb_splashscreen = nullptr;
  QAbstractButton* btn_play = nullptr;
  QLabel* btn_play_disabled = nullptr;
  QLabel* la_website_2 = nullptr;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void update_play_button();
  // True when the key was the form's own (Enter, the 1 key, Esc).
  bool FormKeyDown(const QKeyEvent& event);

  SplashHost& host_;
};

}  // namespace qm
