#include <cstdint>
#include <limits>

#include "skin/ini_file.h"

namespace qm {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hexadecimal goes through 32-bit unsigned, as the original toolkit converts it: $FFFFFFFF is
// -1, and a sign applies to that 32-bit value (-$1 is -1, -$FFFFFFFF is 1).
std::optional<std::int32_t> hex_value(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit = hex_digit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  auto bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

std::optional<std::int32_t> decimal_value(std::string_view digits, bool negative) {
  if (digits.empty()) return std::nullopt;
  constexpr std::int64_t kMagnitudeLimit = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kMagnitudeLimit) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> str_to_int(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.starts_with("0x") || text.starts_with("0X")) return hex_value(text.substr(2), negative);
  if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    return hex_value(text.substr(1), negative);
  }
  return decimal_value(text, negative);
}

std::string invalid_integer_message(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid integer value";
}

}  // namespace qm
