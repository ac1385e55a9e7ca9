#pragma once

#include <string>

#include "session/replay_file.h"

namespace qm {

struct ReplayOutcome {
  bool ok = false;
  std::string error;  // why the replay does not hold, when it does not
  int score = 0;
  int stage = 0;
};

// Plays the replay on a device of its own, as fast as it goes, and checks that it ends with the
// score and stage recorded: a replay holds only when the game it claims is the game it plays.
ReplayOutcome verify_replay(const Replay& replay);

// The one line a verified replay is reported with.
std::string describe_outcome(const Replay& replay, const ReplayOutcome& outcome);

}  // namespace qm
