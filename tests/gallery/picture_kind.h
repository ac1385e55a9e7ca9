#pragma once

#include <string>

#include "lcd/image.h"

namespace qm::testing {

// How a gallery expectation names a picture: "none", "marker" for the 10 x 10 red square with a
// black outline that stands in for a missing file, or its size as "WxH".
std::string picture_kind(const Picture& picture);

}  // namespace qm::testing
