#include "session/replay_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <system_error>

namespace qm {

namespace {

// The header, little-endian:
//   0 "QuibRply"  8 format (u16)  10 level  11 start mode  12 held  13 hour, minute, second
//  16 seed (u32)  20 hiscore1  24 hiscore2  28 score  32 stage  36 event count (u32)
//  40 CRC-32 of the whole file, read with these four bytes as zero
//  44 program version, 16 bytes padded with NUL          60 the events, one byte each
constexpr char kMagic[8] = {'Q', 'u', 'i', 'b', 'R', 'p', 'l', 'y'};
constexpr std::size_t kChecksumAt = 40;
constexpr std::size_t kVersionAt = 44;
constexpr std::size_t kVersionSize = 16;
constexpr std::int32_t kScoreLimit = 999999;

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t c = 0xffffffffu;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint8_t b = i >= kChecksumAt && i < kChecksumAt + 4 ? 0 : bytes[i];
    c = kCrcTable[(c ^ b) & 0xff] ^ (c >> 8);
  }
  return c ^ 0xffffffffu;
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t get32(std::span<const std::uint8_t> in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(in[at + i]) << (8 * i);
  return v;
}

bool valid_event(std::uint8_t e) {
  const int index = Replay::index_of(e);
  switch (Replay::kind_of(e)) {
    case Replay::kTimer:
      return index < 9;
    case Replay::kPress:
    case Replay::kRelease:
      return index >= 1 && index <= 8;
  }
  return false;
}

// What the fields may hold; a checksum that matches does not make a foreign writer's values ours.
std::string check_fields(const Replay& r) {
  if (r.level != 1 && r.level != 2) return "it names no skill level";
  if (r.start_mode != 2 && r.start_mode != 7 && r.start_mode != 8)
    return "its starting mode is no game mode";
  if (r.hour > 23 || r.minute > 59 || r.second > 59) return "its time of day is no time";
  for (std::int32_t v : {r.hiscore1, r.hiscore2, r.score})
    if (v < 0 || v > kScoreLimit) return "a score in it is out of range";
  if (r.stage < 1) return "its stage is out of range";
  for (std::size_t i = 0; i < r.events.size(); ++i)
    if (!valid_event(r.events[i])) return "event " + std::to_string(i + 1) + " is no event";
  const std::uint8_t first = Replay::event(Replay::kPress, r.level == 1 ? 1 : 2);
  if (r.events.empty() || r.events[0] != first) return "it does not begin with its game's start";
  return {};
}

}  // namespace

std::vector<std::uint8_t> encode_replay(const Replay& r) {
  std::vector<std::uint8_t> out(kReplayHeaderSize + r.events.size());
  std::memcpy(out.data(), kMagic, sizeof kMagic);
  out[8] = kReplayFormat & 0xff;
  out[9] = kReplayFormat >> 8;
  out[10] = r.level;
  out[11] = r.start_mode;
  out[12] = static_cast<std::uint8_t>(r.held >> 5);
  out[13] = r.hour;
  out[14] = r.minute;
  out[15] = r.second;
  put32(out, 16, r.seed);
  put32(out, 20, static_cast<std::uint32_t>(r.hiscore1));
  put32(out, 24, static_cast<std::uint32_t>(r.hiscore2));
  put32(out, 28, static_cast<std::uint32_t>(r.score));
  put32(out, 32, static_cast<std::uint32_t>(r.stage));
  put32(out, 36, static_cast<std::uint32_t>(r.events.size()));
  std::memcpy(out.data() + kVersionAt, r.version.data(), std::min(r.version.size(), kVersionSize));
  std::copy(r.events.begin(), r.events.end(), out.begin() + kReplayHeaderSize);
  put32(out, kChecksumAt, crc32(out));
  return out;
}

ReplayRead decode_replay(std::span<const std::uint8_t> in) {
  auto refuse = [](std::string why) { return ReplayRead{std::nullopt, std::move(why)}; };
  if (in.size() < 10 || std::memcmp(in.data(), kMagic, sizeof kMagic) != 0)
    return refuse("it is no Quib Man replay");
  const unsigned format = in[8] | in[9] << 8;
  if (format > kReplayFormat)
    return refuse("it was made by a newer program (replay format " + std::to_string(format) +
                  "; this program reads format " + std::to_string(kReplayFormat) + ")");
  if (format == 0) return refuse("it is damaged (format 0)");
  if (in.size() < kReplayHeaderSize) return refuse("it is cut short (in its header)");
  if (in.size() > kReplayMaxBytes) return refuse("it is too large for a replay");
  const std::size_t count = get32(in, 36);
  const std::size_t have = in.size() - kReplayHeaderSize;
  if (have < count)
    return refuse("it is cut short (" + std::to_string(have) + " of " + std::to_string(count) +
                  " events)");
  if (have > count) return refuse("it is damaged (bytes after its last event)");
  if (crc32(in) != get32(in, kChecksumAt)) return refuse("it is damaged (checksum mismatch)");
  if (in[12] & ~0x0f) return refuse("it is damaged (it holds buttons other than the directions)");

  Replay r;
  r.level = in[10];
  r.start_mode = in[11];
  r.held = static_cast<std::uint16_t>(in[12] << 5);
  r.hour = in[13];
  r.minute = in[14];
  r.second = in[15];
  r.seed = get32(in, 16);
  r.hiscore1 = static_cast<std::int32_t>(get32(in, 20));
  r.hiscore2 = static_cast<std::int32_t>(get32(in, 24));
  r.score = static_cast<std::int32_t>(get32(in, 28));
  r.stage = static_cast<std::int32_t>(get32(in, 32));
  const auto* text = reinterpret_cast<const char*>(in.data() + kVersionAt);
  r.version.assign(text, strnlen(text, kVersionSize));
  r.events.assign(in.begin() + kReplayHeaderSize, in.end());
  if (std::string why = check_fields(r); !why.empty()) return refuse("it is damaged (" + why + ")");
  return {std::move(r), {}};
}

ReplayRead read_replay_file(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return {std::nullopt, "there is no such file"};
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return {std::nullopt, "it cannot be read"};
  if (size > kReplayMaxBytes) return {std::nullopt, "it is too large for a replay"};
  std::vector<std::uint8_t> bytes(size);
  std::ifstream in(file, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    return {std::nullopt, "it cannot be read"};
  return decode_replay(bytes);
}

}  // namespace qm
