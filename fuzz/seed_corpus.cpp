// Writes the seed corpus of the fuzz targets: small pictures of every kind the decoders take and
// a few Config.ini texts and replays, one folder per target under the folder given.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "session/replay_file.h"
#include "tests/skin/picture_writers.h"

namespace {

namespace fs = std::filesystem;
using qm::testing::BmpSpec;
using qm::testing::pack_bmp_rows;

void write(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void write(const fs::path& file, const std::string& text) {
  write(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint16_t> pattern(int count, int depth) {
  std::vector<std::uint16_t> samples;
  for (int i = 0; i < count; ++i)
    samples.push_back(static_cast<std::uint16_t>((i * 4099) % (1 << depth)));
  return samples;
}

void write_png_seeds(const fs::path& dir) {
  struct Kind {
    int color_type, channels, depth;
  };
  const Kind kinds[] = {{0, 1, 1},  {0, 1, 4}, {0, 1, 16}, {3, 1, 2}, {3, 1, 8}, {4, 2, 8},
                        {4, 2, 16}, {2, 3, 8}, {2, 3, 16}, {6, 4, 8}, {6, 4, 16}};
  int n = 0;
  for (const Kind& kind : kinds) {
    for (const bool interlaced : {false, true}) {
      qm::testing::PngSpec spec{.width = 9,
                                .height = 5,
                                .color_type = kind.color_type,
                                .bit_depth = kind.depth,
                                .interlaced = interlaced};
      spec.samples = pattern(9 * 5 * kind.channels, kind.depth);
      if (kind.color_type == 3) {
        for (int i = 0; i < (1 << kind.depth); ++i) {
          spec.palette.push_back(
              {static_cast<std::uint8_t>(i * 5), 0, static_cast<std::uint8_t>(i)});
        }
        spec.palette_alpha = {0, 128};
      }
      if (kind.color_type == 2 && kind.depth == 8) spec.transparent_color = {{0, 3, 6}};
      write(dir / ("png_" + std::to_string(n++) + ".png"), qm::testing::write_png(spec));
    }
  }
}

void write_jpeg_seeds(const fs::path& dir) {
  int n = 0;
  for (const int components : {1, 3}) {
    for (const bool progressive : {false, true}) {
      qm::testing::JpegSpec spec{.width = 19,
                                 .height = 11,
                                 .components = components,
                                 .progressive = progressive,
                                 .quality = 50};
      for (int i = 0; i < 19 * 11 * components; ++i) {
        spec.samples.push_back(static_cast<std::uint8_t>(i * 7));
      }
      write(dir / ("jpeg_" + std::to_string(n++) + ".jpg"), qm::testing::write_jpeg(spec));
    }
  }
}

void write_bmp_seeds(const fs::path& dir) {
  const std::vector<std::array<std::uint8_t, 3>> palette = {
      {0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::vector<BmpSpec> specs;
  for (const std::uint16_t bits : {1, 4, 8}) {
    BmpSpec spec{.width = 5, .height = 3, .bits = bits, .colors_used = 4, .palette = palette};
    spec.pixels = pack_bmp_rows(bits, {{0, 1, 1, 0, 1}, {1, 0, 1, 0, 1}, {0, 0, 1, 1, 0}});
    specs.push_back(spec);
  }
  BmpSpec core{
      .header_size = 12, .width = 3, .height = 2, .bits = 1, .palette = {{0, 0, 0}, {9, 9, 9}}};
  core.pixels = pack_bmp_rows(1, {{1, 0, 1}, {0, 1, 0}});
  specs.push_back(core);
  specs.push_back({.header_size = 12,
                   .width = 2,
                   .height = 2,
                   .bits = 24,
                   .pixels = pack_bmp_rows(24, {{0x102030, 0x405060}, {0x708090, 0xA0B0C0}})});
  specs.push_back({.width = 2,
                   .height = -2,
                   .bits = 24,
                   .pixels = pack_bmp_rows(24, {{0x102030, 0x405060}, {0x708090, 0xA0B0C0}})});
  specs.push_back(
      {.width = 3, .height = 1, .bits = 16, .pixels = pack_bmp_rows(16, {{0x7C00, 1, 2}})});
  specs.push_back({.width = 3, .height = 1, .bits = 32, .pixels = pack_bmp_rows(32, {{1, 2, 3}})});
  specs.push_back({.width = 2,
                   .height = 1,
                   .bits = 16,
                   .compression = 3,
                   .masks = {0xF800, 0x07E0, 0x001F, 0},
                   .pixels = pack_bmp_rows(16, {{0xF800, 0x07E0}})});
  for (const std::uint32_t header : {52u, 56u, 108u, 124u}) {
    specs.push_back({.header_size = header,
                     .width = 2,
                     .height = 1,
                     .bits = 32,
                     .compression = 3,
                     .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                     .pixels = pack_bmp_rows(32, {{0x80102030, 0x00FFFFFF}})});
  }
  specs.push_back({.width = 6,
                   .height = 3,
                   .bits = 8,
                   .compression = 1,
                   .colors_used = 4,
                   .palette = palette,
                   .pixels = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 1, 2, 0, 0, 0, 1}});
  specs.push_back({.width = 7,
                   .height = 2,
                   .bits = 4,
                   .compression = 2,
                   .colors_used = 4,
                   .palette = palette,
                   .pixels = {4, 0x12, 0, 3, 0x31, 0x20, 0, 0, 7, 0x33, 0, 1}});
  int n = 0;
  for (const BmpSpec& spec : specs) {
    write(dir / ("bmp_" + std::to_string(n++) + ".bmp"), qm::testing::write_bmp(spec));
  }
}

void write_ini_seeds(const fs::path& dir) {
  const std::string texts[] = {
      "[Common]\r\nSkinDir=Graphics\\Skin\r\nGameHeight=777\r\nGameWidth=479\r\n"
      "[Image1]\r\nFilename=body.png\r\nLeft=0x20\r\nTop=$20\r\nWidth=479\r\nHeight=777\r\n",
      "\xEF\xBB\xBF[Fullscreen]\nBackdropDir=Graphics\\Backdrop\\\nBackdropFile=nil\nBgColor=$"
      "00000000\n"
      "GameOffsetX=Center\nGameOffsetY=-20\nLogoPosition=7\n[VideoMode]\nTranspColor=$00ff00ff\n",
      "[Manual]\nManualDir=\"Graphics\\Manual\"\nManualHeight=+535\nManualWidth= X154 \n"
      "[manual]\nmanualwidth=1\n; comment\nno equals\n[Broken\nkey=value\n",
      "[A]\nk=-2147483648\na=$FFFFFFFF\n[a]\nk=2147483648\n=\n[]\n=x\n",
  };
  int n = 0;
  for (const std::string& text : texts) write(dir / ("ini_" + std::to_string(n++) + ".ini"), text);
}

}  // namespace

// Replays of both levels: a game's start, its tick, and a direction pressed and let go.
void write_replay_seeds(const fs::path& dir) {
  for (std::uint8_t level : {1, 2}) {
    qm::Replay r;
    r.version = "5.0";
    r.level = level;
    r.start_mode = level == 1 ? 2 : 8;
    r.held = level == 1 ? 0 : 1u << 6;
    r.hour = 13;
    r.seed = 0x12345678u * level;
    r.hiscore1 = 1230;
    r.stage = 1;
    r.events = {qm::Replay::event(qm::Replay::kPress, level),
                qm::Replay::event(qm::Replay::kRelease, level)};
    for (int i = 0; i < 4; ++i) r.events.push_back(qm::Replay::event(qm::Replay::kTimer, 1));
    for (int i = 0; i < 30; ++i) r.events.push_back(qm::Replay::event(qm::Replay::kTimer, i % 9));
    r.events.push_back(qm::Replay::event(qm::Replay::kPress, 7));
    r.events.push_back(qm::Replay::event(qm::Replay::kRelease, 7));
    const std::vector<std::uint8_t> bytes = qm::encode_replay(r);
    write(dir / ("replay_" + std::to_string(level) + ".qmr"), bytes);
    // The same cut short in its events, for the reader's refusals.
    write(dir / ("replay_" + std::to_string(level) + "_cut.qmr"),
          std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 5));
  }
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  for (const char* name : {"ini", "bmp", "png", "jpeg", "replay"})
    fs::create_directories(root / name);
  write_ini_seeds(root / "ini");
  write_bmp_seeds(root / "bmp");
  write_png_seeds(root / "png");
  write_jpeg_seeds(root / "jpeg");
  write_replay_seeds(root / "replay");
  return 0;
}
