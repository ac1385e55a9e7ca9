#include "settings/replay_folder.h"

#include <QStandardPaths>
#include <algorithm>
#include <system_error>
#include <vector>

#include "settings/atomic_file.h"

namespace qm {

std::filesystem::path ReplayFolder::default_folder() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return std::filesystem::path(data.toStdString()) / "Tarvelle" / "QuibMan50" / "replays";
}

std::string ReplayFolder::keep(const Replay& replay, const std::string& stamp) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  if (ec) return "cannot create " + folder_.string() + ": " + ec.message();
  const std::vector<std::uint8_t> encoded = encode_replay(replay);
  const std::string_view bytes(reinterpret_cast<const char*>(encoded.data()), encoded.size());
  std::string error = replace_file(folder_ / ("game-" + stamp + ".qmr"), bytes);
  if (!error.empty()) return error;
  prune();
  const auto best = folder_ / (replay.level == 1 ? "best-amateur.qmr" : "best-professional.qmr");
  const ReplayRead old = read_replay_file(best);
  if (!old.replay || old.replay->score < replay.score) error = replace_file(best, bytes);
  return error;
}

void ReplayFolder::prune() {
  std::vector<std::filesystem::path> games;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("game-") && name.ends_with(".qmr")) games.push_back(entry.path());
  }
  if (games.size() <= kKeptGames) return;
  std::sort(games.begin(), games.end());
  for (std::size_t i = 0; i + kKeptGames < games.size(); ++i) std::filesystem::remove(games[i], ec);
}

}  // namespace qm
