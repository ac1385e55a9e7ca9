#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/ini_file.h"

namespace {

// A converted number written in decimal must read back as itself.
void check_number(std::string_view text) {
  const auto value = qm::str_to_int(text);
  if (value && qm::str_to_int(std::to_string(*value)) != value) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qm::IniFile ini = qm::IniFile::parse(text);
  const char* const sections[] = {"Common", "Fullscreen", "VideoMode", "Manual", "Image1", "a", ""};
  const char* const keys[] = {"SkinDir", "BgColor", "Filename", "Left", "a", "k", ""};
  for (const char* section : sections) {
    for (const char* key : keys) {
      const std::string value = ini.read_string(section, key, "default");
      if (value.size() > 2047) std::abort();
      check_number(value);
      if (ini.read_integer(section, key, 12345) != qm::str_to_int(value).value_or(12345)) {
        std::abort();
      }
      if (!qm::with_trailing_backslash(value).ends_with('\\')) std::abort();
      if (qm::native_path(value).string().find('\\') != std::string::npos) std::abort();
    }
  }
  check_number(text);
  return 0;
}
