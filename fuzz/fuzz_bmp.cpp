#include <cstddef>
#include <cstdint>

#include "fuzz/picture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qm::Picture stored =
      qm::check_decoder(qm::decode_bmp, {data, size}, qm::PictureFormat::Bmp);
  if (stored) {
    const qm::Picture keyed = qm::with_bmp_transparency(*stored);
    if (keyed->layout != qm::PixelLayout::Rgba ||
        keyed->pixels.size() != static_cast<std::size_t>(stored->width) * stored->height * 4)
      std::abort();
  }
  return 0;
}
