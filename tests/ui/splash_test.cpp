#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>

#include "settings/settings_store.h"
#include "tests/support/temp_folder.h"
#include "ui/splash_form.h"

namespace qm {
namespace {

using testing::TempFolder;

class FakeHost final : public SplashHost {
 public:
  SettingsStore& store() override { return settings; }
  bool Snd_Start(int output_type) override {
    started_with = output_type;
    return sound_works;
  }
  void set_sound_enabled(bool enabled) override { sound_enabled = enabled; }
  void set_splash_screen_check(bool checked) override { check_mark = checked; }
  void clear_splash_pending() override { pending = false; }
  void start_device() override { ++device_started; }
  void show_error(const QString& text) override { errors.push_back(text.toStdString()); }
  void terminate() override { ++terminated; }

  SettingsStore settings;
  bool sound_works = true;
  int started_with = 0;
  bool sound_enabled = false;
  bool check_mark = false;
  bool pending = true;
  int device_started = 0;
  int terminated = 0;
  std::vector<std::string> errors;
};

class SplashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config.path().string()));
  }
  static void press(QWidget& target, int qt_key) {
    QKeyEvent event(QEvent::KeyPress, qt_key, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
  }
  int stored(const char* name) { return SettingsStore().read_integer(name, -99); }

  TempFolder config;
  TempFolder program;  // no pictures: their places stay plain
};

TEST_F(SplashTest, FirstStartWaitsForADriver) {
  FakeHost host;
  TSplashForm splash(host, program.path());
  EXPECT_EQ(splash.windowTitle().toStdString(), "About this game...");
  EXPECT_EQ(splash.cb_sound->currentIndex(), -1);
  EXPECT_TRUE(splash.chb_splashscreen->isChecked());
  EXPECT_TRUE(splash.btn_play->isHidden());
  EXPECT_FALSE(splash.btn_play_disabled->isHidden());
  EXPECT_EQ(splash.btn_play_disabled->toolTip().toStdString(), "please select sound driver first");
  // Enter and the 1 key do nothing while no driver is chosen, even from the driver list.
  press(*splash.cb_sound, Qt::Key_Return);
  press(splash, Qt::Key_1);
  EXPECT_EQ(host.device_started, 0);
  EXPECT_EQ(stored("SoundMode"), -99);

  splash.cb_sound->setCurrentIndex(2);
  EXPECT_FALSE(splash.btn_play->isHidden());
  EXPECT_TRUE(splash.btn_play_disabled->isHidden());
  splash.chb_splashscreen->setChecked(false);
  press(*splash.cb_sound, Qt::Key_1);
  EXPECT_EQ(host.device_started, 1);
  EXPECT_EQ(host.started_with, 0);  // no sound library for "(no sound)"
  EXPECT_FALSE(host.sound_enabled);
  EXPECT_FALSE(host.check_mark);
  EXPECT_EQ(stored("SoundMode"), 2);
  EXPECT_EQ(stored("SplashScreen"), 0);
}

TEST_F(SplashTest, SkippedWhenADriverIsKnownAndTheBoxUnticked) {
  SettingsStore().write_integer("SoundMode", 2);
  SettingsStore().write_bool("SplashScreen", false);
  FakeHost host;
  TSplashForm splash(host, program.path());
  EXPECT_FALSE(host.pending);
  EXPECT_EQ(host.device_started, 1);
  EXPECT_EQ(host.started_with, 0);
  EXPECT_EQ(splash.pos(), QPoint(-460, -420));
  // The program starts so without building the splash screen at all.
  FakeHost direct;
  EXPECT_TRUE(start_without_splash(direct));
  EXPECT_FALSE(direct.pending);
  EXPECT_EQ(direct.device_started, 1);
}

TEST_F(SplashTest, NotSkippedWithoutADriverWhateverTheBoxSays) {
  SettingsStore().write_integer("SoundMode", 7);
  SettingsStore().write_bool("SplashScreen", false);
  FakeHost host;
  TSplashForm splash(host, program.path());
  EXPECT_TRUE(host.pending);
  EXPECT_EQ(host.device_started, 0);
  EXPECT_EQ(splash.cb_sound->currentIndex(), -1);
  EXPECT_FALSE(start_without_splash(host));
  EXPECT_EQ(host.device_started, 0);
}

TEST_F(SplashTest, StoredDriverIsSelectedAndEnterStartsItsSound) {
  SettingsStore().write_integer("SoundMode", 0);
  FakeHost host;
  TSplashForm splash(host, program.path());
  EXPECT_EQ(splash.cb_sound->currentText().toStdString(), "Microsoft DirectSound");
  EXPECT_TRUE(splash.play_enabled());
  press(*splash.cb_sound, Qt::Key_Enter);
  EXPECT_EQ(host.started_with, 2);
  EXPECT_TRUE(host.sound_enabled);
  EXPECT_TRUE(host.check_mark);
  EXPECT_EQ(host.device_started, 1);
  EXPECT_EQ(stored("SoundMode"), 0);
  EXPECT_EQ(stored("SplashScreen"), 1);
}

TEST_F(SplashTest, EscOrTheWindowManagersCloseEndsAtOnceWritingNothing) {
  SettingsStore().write_integer("SoundMode", 1);
  FakeHost host;
  TSplashForm splash(host, program.path());
  press(*splash.cb_sound, Qt::Key_Escape);
  EXPECT_EQ(host.terminated, 1);
  splash.show();
  splash.close();
  EXPECT_EQ(host.terminated, 2);
  EXPECT_EQ(host.device_started, 0);
  EXPECT_EQ(stored("SoundMode"), 1);
  EXPECT_EQ(stored("SplashScreen"), -99);
}

TEST_F(SplashTest, FailedSoundStartResetsTheChoiceAndEnds) {
  SettingsStore().write_integer("SoundMode", 1);
  SettingsStore().write_bool("SplashScreen", true);
  FakeHost host;
  host.sound_works = false;
  TSplashForm splash(host, program.path());
  splash.chb_splashscreen->setChecked(false);
  splash.btn_playClick();
  EXPECT_EQ(host.started_with, 1);
  EXPECT_EQ(host.errors, std::vector<std::string>{
                             "Sound folder unproperly installed. Please reinstall the game."});
  EXPECT_EQ(host.terminated, 1);
  EXPECT_EQ(host.device_started, 0);
  EXPECT_EQ(stored("SoundMode"), -1);
  EXPECT_EQ(stored("SplashScreen"), 1);
}

}  // namespace
}  // namespace qm
