#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qm {

// One recorded game: the device's state as the game began and, in order, everything that reached
// the engine until it ended. Times are not kept: the order alone replays the game exactly.
struct Replay {
  // One byte per event: the kind in the top two bits, the timer (0..8, in the order of
  // DeviceSession::timers()) or the button (1..8) in the low six.
  enum Kind : std::uint8_t { kTimer = 0, kPress = 1, kRelease = 2 };
  static std::uint8_t event(Kind kind, int index) {
    return static_cast<std::uint8_t>(kind << 6 | index);
  }
  static Kind kind_of(std::uint8_t event) { return static_cast<Kind>(event >> 6); }
  static int index_of(std::uint8_t event) { return event & 0x3f; }

  std::string version;          // the program's version, at most 16 characters
  std::uint8_t level = 1;       // 1 Amateur, 2 Professional
  std::uint8_t start_mode = 2;  // gam_mode before the first event: 2, 7 or 8
  std::uint16_t held = 0;       // direction buttons held as the game began: bit 1 << Button
  std::uint8_t hour = 0, minute = 0, second = 0;
  std::uint32_t seed = 0;
  std::int32_t hiscore1 = 0, hiscore2 = 0;
  std::int32_t score = 0, stage = 0;  // as the game ended
  std::vector<std::uint8_t> events;
};

inline constexpr std::uint16_t kReplayFormat = 1;
inline constexpr std::size_t kReplayHeaderSize = 60;
// A game of an hour is some 40 000 events; anything far beyond is no replay of ours.
inline constexpr std::size_t kReplayMaxBytes = 16u << 20;

std::vector<std::uint8_t> encode_replay(const Replay& replay);

struct ReplayRead {
  std::optional<Replay> replay;
  std::string error;  // why the bytes were refused, when they were
};
// Refuses, with a reason, anything that is not a whole, undamaged replay of a format this program
// knows; never trusts a count or a field before checking it against the bytes there are.
ReplayRead decode_replay(std::span<const std::uint8_t> bytes);

}  // namespace qm

namespace qm {

// Reads and decodes a replay file; a file that is missing, no regular file (a folder, a named
// pipe) or unreadable is refused as well.
ReplayRead read_replay_file(const std::filesystem::path& file);

}  // namespace qm
