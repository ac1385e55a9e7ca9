#pragma once

#include <filesystem>
#include <string>

#include "session/replay_file.h"

namespace qm {

// Where finished games are kept: the last 50 games as game-<date>-<time>.qmr, and the best game
// of each level, best-amateur.qmr and best-professional.qmr, for good.
class ReplayFolder {
 public:
  static constexpr int kKeptGames = 50;

  // $XDG_DATA_HOME/Tarvelle/QuibMan50/replays (Qt's application data folder for the settings'
  // organisation and program names).
  static std::filesystem::path default_folder();

  explicit ReplayFolder(std::filesystem::path folder = default_folder())
      : folder_(std::move(folder)) {}
  const std::filesystem::path& folder() const { return folder_; }

  // Writes the game, each file whole or not at all, then lets the oldest games beyond the last
  // 50 go. `stamp` names the game's file (date and time, so that names sort by age). Returns what
  // failed, or nothing.
  std::string keep(const Replay& replay, const std::string& stamp);

 private:
  void prune();

  std::filesystem::path folder_;
};

}  // namespace qm
