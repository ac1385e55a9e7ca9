#include "skin/picture_file.h"

#include <memory>

#include "skin/file_bytes.h"
#include "skin/letter_case.h"

namespace qm {
namespace {

// The text after the last dot of the file's name, as written; empty when the name has no dot.
std::string extension_of(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

}  // namespace

PictureResult load_picture_file(const std::filesystem::path& path, Holding holding) {
  const std::string extension = extension_of(path);
  const std::string kind = ascii_lower_case(extension);
  PictureResult (*decode)(std::span<const std::uint8_t>, Holding) = nullptr;
  if (kind == "png") {
    decode = decode_png;
  } else if (kind == "jpg" || kind == "jpeg") {
    decode = decode_jpeg;
  } else if (kind == "bmp") {
    decode = decode_bmp;
  } else {
    return {nullptr, "Unknown picture file extension (." + extension + ")"};
  }
  // A file that cannot be read is handed on as no bytes, so that its decoder reports it.
  const std::vector<std::uint8_t> bytes =
      read_file_bytes(path).value_or(std::vector<std::uint8_t>{});
  return decode(bytes, holding);
}

Picture missing_picture_marker() {
  constexpr int kSide = 10;
  auto marker = std::make_shared<Image>();
  marker->width = kSide;
  marker->height = kSide;
  marker->format = PictureFormat::Bmp;
  marker->pixels.resize(kSide * kSide * 4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const bool outline = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
      std::uint8_t* p = marker->pixel(x, y);
      p[0] = outline ? 0 : 0xFF;
      p[1] = 0;
      p[2] = 0;
      p[3] = 0xFF;
    }
  }
  return marker;
}

Picture with_bmp_transparency(const Image& bmp) {
  if (!bmp.complete()) return std::make_shared<Image>(bmp);
  auto result = std::make_shared<Image>();
  result->width = bmp.width;
  result->height = bmp.height;
  result->format = bmp.format;
  result->source = bmp.source;
  result->draw_at = bmp.draw_at;
  result->pixels.resize(static_cast<std::size_t>(bmp.width) * bmp.height * 4);
  const auto key = bmp.color(0, bmp.height - 1);
  std::uint8_t* out = result->pixels.data();
  for (int y = 0; y < bmp.height; ++y) {
    for (int x = 0; x < bmp.width; ++x, out += 4) {
      const auto c = bmp.color(x, y);
      const bool keyed = c[0] == key[0] && c[1] == key[1] && c[2] == key[2];
      out[0] = c[0];
      out[1] = c[1];
      out[2] = c[2];
      out[3] = keyed ? 0 : c[3];
    }
  }
  return result;
}

}  // namespace qm
