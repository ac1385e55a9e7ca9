// Decoding a whole skin from disk (a 479 x 777 body, 134 small segments and a full HD backdrop),
// and reading a 10 MB Config.ini.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "skin/ini_file.h"
#include "skin/picture_file.h"
#include "tests/skin/picture_writers.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::uint16_t> rgba_samples(int width, int height, int seed) {
  std::vector<std::uint16_t> samples;
  samples.reserve(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool inside = (x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2) <
                          width * height / 4;
      samples.insert(samples.end(), {static_cast<std::uint16_t>((x + seed) % 256),
                                     static_cast<std::uint16_t>((y * 3) % 256),
                                     static_cast<std::uint16_t>((x ^ y) % 256),
                                     static_cast<std::uint16_t>(inside ? 255 : 0)});
    }
  }
  return samples;
}

class Skin {
 public:
  Skin() {
    files_.push_back(folder_.write(
        "body.png",
        qm::testing::write_png(
            {.width = 479, .height = 777, .color_type = 6, .samples = rgba_samples(479, 777, 0)})));
    for (int n = 0; n < 134; ++n) {
      const int w = 20 + n % 30, h = 15 + n % 25;
      files_.push_back(folder_.write(
          "segment" + std::to_string(n) + ".png",
          qm::testing::write_png(
              {.width = w, .height = h, .color_type = 6, .samples = rgba_samples(w, h, n)})));
    }
    qm::testing::JpegSpec backdrop{.width = 1920, .height = 1080, .quality = 85};
    backdrop.samples.reserve(1920 * 1080 * 3);
    for (int y = 0; y < 1080; ++y) {
      for (int x = 0; x < 1920; ++x) {
        backdrop.samples.insert(backdrop.samples.end(),
                                {static_cast<std::uint8_t>(x / 8), static_cast<std::uint8_t>(y / 5),
                                 static_cast<std::uint8_t>((x + y) / 12)});
      }
    }
    files_.push_back(folder_.write("backdrop.jpg", qm::testing::write_jpeg(backdrop)));
  }
  const std::vector<std::filesystem::path>& files() const { return files_; }

 private:
  qm::testing::TempFolder folder_;
  std::vector<std::filesystem::path> files_;
};

void BM_DecodeWholeSkin(benchmark::State& state) {
  const Skin skin;
  for (auto _ : state) {
    for (const auto& file : skin.files()) {
      const qm::PictureResult result = qm::load_picture_file(file);
      if (!result.ok()) state.SkipWithError(result.error.c_str());
      benchmark::DoNotOptimize(result.picture);
    }
  }
}
BENCHMARK(BM_DecodeWholeSkin)->Unit(benchmark::kMillisecond);

void BM_ParseTenMegabyteConfig(benchmark::State& state) {
  std::string text;
  for (int n = 0; text.size() < 10'000'000; ++n) {
    text += "[Image" + std::to_string(n) + "]\nFilename=segment.png\nLeft=" + std::to_string(n) +
            "\nTop=$10\nWidth=20\nHeight=30\n";
  }
  for (auto _ : state) {
    const qm::IniFile ini = qm::IniFile::parse(text);
    benchmark::DoNotOptimize(ini.read_integer("Image5", "Left", 0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseTenMegabyteConfig)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
