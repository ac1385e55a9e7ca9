#include <cstddef>
#include <cstdint>

#include "fuzz/picture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::check_picture(qm::decode_png({data, size}), qm::PictureFormat::Png);
  return 0;
}
