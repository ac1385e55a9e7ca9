#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "settings/replay_folder.h"
#include "tests/support/temp_folder.h"

namespace qm::testing {
namespace {

std::vector<std::string> names_in(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

int score_of(const std::filesystem::path& file) {
  const ReplayRead read = read_replay_file(file);
  return read.replay ? read.replay->score : -1;
}

// Of 55 games the folder keeps the last 50, and the best game of each level even when it is
// older than those; a higher score replaces a best game, a lower one never does.
TEST(ReplayFolder, KeepsTheLastFiftyAndTheBestOfEachLevelForGood) {
  TempFolder home;
  ReplayFolder folder(home.path() / "replays");
  Replay game;
  game.stage = 1;
  for (int i = 0; i < 55; ++i) {
    game.level = i % 5 == 0 ? 2 : 1;
    game.score = i == 1 ? 9000 : i == 5 ? 7000 : 10 * i;
    game.events = {Replay::event(Replay::kPress, game.level)};
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "20260101-1200%02d-000", i);
    ASSERT_EQ(folder.keep(game, stamp), "");
  }
  const std::vector<std::string> names = names_in(folder.folder());
  ASSERT_EQ(names.size(), 52u);
  EXPECT_EQ(names[0], "best-amateur.qmr");
  EXPECT_EQ(names[1], "best-professional.qmr");
  EXPECT_EQ(names[2], "game-20260101-120005-000.qmr") << "the five oldest games are gone";
  EXPECT_EQ(score_of(folder.folder() / names[0]), 9000);
  EXPECT_EQ(score_of(folder.folder() / names[1]), 7000);
}

// A folder that cannot be made (a file stands in its way) fails the write with the reason, and
// what was kept before stays as it was.
TEST(ReplayFolder, AFailedWriteSaysWhyAndLosesNothing) {
  TempFolder home;
  ReplayFolder kept(home.path() / "replays");
  Replay game;
  game.stage = 1;
  game.score = 300;
  game.events = {Replay::event(Replay::kPress, 1)};
  ASSERT_EQ(kept.keep(game, "20260101-120000-000"), "");
  home.write("blocked", "a file, not a folder");
  ReplayFolder blocked(home.path() / "blocked" / "replays");
  EXPECT_NE(blocked.keep(game, "20260101-120001-000"), "");
  EXPECT_EQ(names_in(kept.folder()).size(), 2u);
  EXPECT_EQ(score_of(kept.folder() / "best-amateur.qmr"), 300);
}

}  // namespace
}  // namespace qm::testing
