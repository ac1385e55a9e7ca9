#include <cstddef>
#include <cstdint>

#include "fuzz/picture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::check_decoder(qm::decode_jpeg, {data, size}, qm::PictureFormat::Jpeg);
  return 0;
}
