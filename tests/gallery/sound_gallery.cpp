#include <gtest/gtest.h>

#include <QComboBox>
#include <QSettings>
#include <map>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "sound/sound_layer.h"
#include "tests/gallery/gallery_runs.h"
#include "tests/support/temp_folder.h"
#include "ui/splash_form.h"

namespace qm::testing {
namespace {

// The splash screen over the real sound layer; what it does to the rest of the program is
// recorded.
class RecordingHost final : public SplashHost {
 public:
  SettingsStore& store() override { return settings; }
  bool Snd_Start(int output_type) override { return sound.Snd_Start(output_type); }
  void set_sound_enabled(bool enabled) override { sound.sound_enabled = enabled; }
  void set_splash_screen_check(bool) override {}
  void clear_splash_pending() override {}
  void start_device() override { ++device_started; }
  void show_error(const QString& text) override { errors.push_back(text.toStdString()); }
  void terminate() override { ++terminated; }

  SettingsStore settings;
  SoundLayer sound;
  int device_started = 0;
  int terminated = 0;
  std::vector<std::string> errors;
};

const std::map<std::string, Sample> kSamples = {
    {"Beep", Sample::Beep},   {"Bonus", Sample::Bonus}, {"Miss", Sample::Miss},
    {"Point", Sample::Point}, {"Start", Sample::Start},
};

}  // namespace

void run_sound_case(const GalleryCase& c) {
  const TempFolder config;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(config.path().string()));
  const InFolder here(c.folder);
  RecordingHost host;
  TSplashForm splash(host, c.folder);
  splash.cb_sound->setCurrentIndex(splash.cb_sound->findText("Microsoft DirectSound"));
  splash.btn_playClick();

  for (const auto& [word, values] : c.expect) {
    SCOPED_TRACE(word + " " + values);
    if (word == "start" && values == "fails") {
      EXPECT_EQ(host.terminated, 1);
      EXPECT_EQ(host.device_started, 0);
      // The next start asks for a driver again.
      EXPECT_EQ(host.settings.read_integer("SoundMode", 0), -1);
      EXPECT_TRUE(host.settings.read_bool("SplashScreen", false));
    } else if (word == "start" && values == "ok") {
      EXPECT_EQ(host.terminated, 0);
      EXPECT_EQ(host.device_started, 1);
      EXPECT_TRUE(host.errors.empty());
    } else if (word == "message") {
      EXPECT_EQ(host.errors, std::vector<std::string>{values});
    } else if (word == "silent" || word == "plays") {
      host.sound.Snd_Play(kSamples.at(values));
      EXPECT_EQ(host.sound.playing(), word == "plays" ? 1 : 0);
      host.sound.Snd_Silence();
    } else {
      ADD_FAILURE() << "unknown promise";
    }
  }
}

}  // namespace qm::testing
