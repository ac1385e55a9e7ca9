#include <cstddef>
#include <cstdint>

#include "fuzz/picture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qm::PictureResult result = qm::decode_bmp({data, size});
  qm::check_picture(result, qm::PictureFormat::Bmp);
  if (result.ok()) {
    const qm::Picture keyed = qm::with_bmp_transparency(*result.picture);
    if (keyed->rgba.size() != result.picture->rgba.size()) std::abort();
  }
  return 0;
}
