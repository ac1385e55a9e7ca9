#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/picture_check.h"

namespace {

// libpng turns away a critical chunk whose CRC is wrong before looking inside it, so nearly every
// mutation would end there. A second decode of a copy whose CRCs are made right again lets the
// mutated headers, palettes and image data reach the decoding itself.
std::vector<std::uint8_t> with_correct_crcs(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> png(data, data + size);
  std::size_t at = 8;  // past the signature
  while (at + 12 <= png.size()) {
    const std::size_t length = (std::size_t{png[at]} << 24) | (std::size_t{png[at + 1]} << 16) |
                               (std::size_t{png[at + 2]} << 8) | png[at + 3];
    if (length > png.size() - at - 12) break;
    const std::uint8_t* typed = png.data() + at + 4;
    const uLong crc = crc32(crc32(0, nullptr, 0), typed, static_cast<uInt>(length + 4));
    std::uint8_t* out = png.data() + at + 8 + length;
    out[0] = static_cast<std::uint8_t>(crc >> 24);
    out[1] = static_cast<std::uint8_t>(crc >> 16);
    out[2] = static_cast<std::uint8_t>(crc >> 8);
    out[3] = static_cast<std::uint8_t>(crc);
    at += length + 12;
  }
  return png;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::check_decoder(qm::decode_png, {data, size}, qm::PictureFormat::Png);
  const std::vector<std::uint8_t> repaired = with_correct_crcs(data, size);
  qm::check_decoder(qm::decode_png, repaired, qm::PictureFormat::Png);
  return 0;
}
