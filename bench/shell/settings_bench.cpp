// The settings part of a start (the store opened, every value the main window and the splash
// screen read at creation, the key bindings written back unchanged), and a high score written.
// The file is a returning player's.
#include <benchmark/benchmark.h>

#include <QSettings>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kKeys[] = {2, 3, 4, 6, 37, 39, 40, 38};

class Home {
 public:
  Home() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder_.path().string()));
    folder_.write("Tarvelle/QuibMan50.conf",
                  "[General]\nKey1=2\nKey2=3\nKey3=4\nKey4=6\nKey5=37\nKey6=39\nKey7=40\n"
                  "Key8=38\nHiScore1=1234\nHiScore2=5678\nSoundMode=0\nSplashScreen=0\n");
  }

 private:
  qm::testing::TempFolder folder_;
};

void BM_StartUp(benchmark::State& state) {
  Home home;
  for (auto _ : state) {
    qm::SettingsStore store;
    benchmark::DoNotOptimize(store.read_bool("FullscreenMode", true));
    std::vector<qm::SettingsPort::Value> keys;
    for (int n = 1; n <= 8; ++n) {
      const std::string name = "Key" + std::to_string(n);
      keys.push_back({name, store.read_integer(name, kKeys[n - 1])});
    }
    store.write_integers(keys);
    benchmark::DoNotOptimize(store.read_integer("HiScore1", 0));
    benchmark::DoNotOptimize(store.read_integer("HiScore2", 0));
    benchmark::DoNotOptimize(store.read_integer("SoundMode", -1));
    benchmark::DoNotOptimize(store.read_bool("SplashScreen", true));
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMicrosecond);

void BM_HighScoreWrite(benchmark::State& state) {
  Home home;
  qm::SettingsStore store;
  int score = 2000;
  for (auto _ : state) store.write_integer("HiScore1", ++score);
}
BENCHMARK(BM_HighScoreWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
