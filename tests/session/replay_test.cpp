#include <gtest/gtest.h>

#include <queue>

#include "session/device_session.h"
#include "session/replay_verify.h"
#include "tests/engine/game_fixture.h"
#include "tests/session/replay_games.h"

namespace qm::testing {
namespace {

// Timers that run late, as on a loaded machine: each expiry comes up to 250 ms after its time, so
// that timers due close together expire in another order than their periods would give.
class LateClock final : public TimerHost {
 public:
  void start(Timer& timer) override { book(timer, now_ + timer.interval()); }
  void stop(Timer& timer) override { timer.host_tag = ++tags_; }
  std::int64_t now() const { return now_; }

  void advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    while (true) {
      while (!queue_.empty() && queue_.top().tag != queue_.top().timer->host_tag) queue_.pop();
      if (queue_.empty() || queue_.top().late > end) break;
      const Entry e = queue_.top();
      queue_.pop();
      now_ = e.late;
      book(*e.timer, e.due + e.timer->interval());
      e.timer->fire();
    }
    now_ = end;
  }

 private:
  struct Entry {
    std::int64_t late, due;
    std::uint64_t tag;
    Timer* timer;
    bool operator>(const Entry& o) const { return late > o.late; }
  };
  void book(Timer& timer, std::int64_t due) {
    lateness_ = lateness_ * 1103515245u + 12345u;
    timer.host_tag = ++tags_;
    queue_.push({std::max(now_, due) + (lateness_ >> 16) % 250, due, timer.host_tag, &timer});
  }

  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue_;
  std::int64_t now_ = 0;
  std::uint64_t tags_ = 0;
  std::uint32_t lateness_ = 7;
};

class Kept final : public ReplaySink {
 public:
  void keep(const Replay& replay) override { games.push_back(replay); }
  std::vector<Replay> games;
};

// Games recorded under a clock whose timers run late replay to the very same end, the second game
// of a run included (nothing of the first may leak into it): score, stage and every LCD segment.
TEST(Replay, GamesWhoseTimersRanLateReplayExactly) {
  LateClock clock;
  SimClock unused;
  Recorder rec{unused};
  Kept kept;
  DeviceSession live{SessionPorts{clock, rec, rec, rec, &rec, &kept}};
  live.create(20240501);
  live.switch_on();
  live.press(Button::Mode);
  for (Button level : {Button::Ama, Button::Pro}) {
    play_until_over(live, level, [&](std::int64_t ms) { clock.advance(ms); });
    ASSERT_EQ(live.game().state().gam_mode, mode_game_over);
  }
  ASSERT_EQ(kept.games.size(), 2u);
  for (const Replay& game : kept.games) {
    const ReplayOutcome outcome = verify_replay(game);
    EXPECT_TRUE(outcome.ok) << outcome.error;
    EXPECT_GT(outcome.score, 0);
  }
  EXPECT_EQ(kept.games[1].score, live.game().state().score);
  EXPECT_EQ(kept.games[1].level, 2);

  // Watched on a session of its own, the second game leaves every segment as the live one did.
  Kept none;
  DeviceSession watcher{SessionPorts{unused, rec, rec, rec, &rec, &none}};
  watcher.create(1);
  watcher.watch(kept.games[1]);
  while (watcher.watch_step() == DeviceSession::Step::Played) {
  }
  for (BoxId id : Scene::stacking_order())
    EXPECT_EQ(watcher.scene().box(id).visible, live.scene().box(id).visible) << id;
  EXPECT_TRUE(none.games.empty()) << "a replay watched is no game played";
}

// A device on the simulated clock that has played and recorded one Amateur game.
class RecordedGame : public ::testing::Test {
 protected:
  void SetUp() override {
    session.create(99);
    session.switch_on();
    session.press(Button::Mode);
    play_until_over(session, Button::Ama, [&](std::int64_t ms) { clock.advance(ms); });
    ASSERT_EQ(kept.games.size(), 1u);
  }
  SimClock clock;
  Recorder rec{clock};
  Kept kept;
  DeviceSession session{SessionPorts{clock, rec, rec, rec, &rec, &kept}};
};

// Watching writes nothing to the settings, even when the replay beats the stored high score, and
// any button gives the device back in time mode; the next game shows the stored high score.
TEST_F(RecordedGame, WatchingWritesNoSettingsAndAButtonStopsIt) {
  rec.values["HiScore1"] = 0;
  rec.writes.clear();

  session.watch(kept.games[0]);
  while (session.watch_step() == DeviceSession::Step::Played) {
  }
  EXPECT_EQ(session.game().state().gam_mode, mode_game_over);
  EXPECT_TRUE(rec.writes.empty()) << rec.writes.front();
  session.press(Button::Left);
  EXPECT_FALSE(session.watching());
  EXPECT_EQ(session.game().state().gam_mode, mode_time);
  EXPECT_TRUE(session.game().Timer_Clock.enabled());
  session.press(Button::Mode);
  session.press(Button::Ama);
  EXPECT_EQ(session.game().state().hiscore1, 0);
}

// Anything but a whole replay of ours is refused with its reason; so is one whose events do not
// play to the score it claims.
TEST_F(RecordedGame, DamagedReplaysAreRefused) {
  const Replay game = kept.games[0];
  const std::vector<std::uint8_t> good = encode_replay(game);
  ASSERT_TRUE(decode_replay(good).replay) << decode_replay(good).error;

  using Bytes = std::vector<std::uint8_t>;
  auto changed = [&](std::size_t at, std::uint8_t value) {
    Bytes b = good;
    b[at] = value;
    return b;
  };
  auto reencoded = [&](auto change) {
    Replay r = game;
    change(r);
    return encode_replay(r);
  };
  const struct {
    const char* what;
    Bytes bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "no Quib Man replay"},
      {"foreign", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0}, "no Quib Man replay"},
      {"newer format", changed(8, 2), "newer program (replay format 2"},
      {"header cut", Bytes(good.begin(), good.begin() + 30), "cut short (in its header)"},
      {"last event cut", Bytes(good.begin(), good.end() - 1), "cut short"},
      {"byte added",
       [&] {
         Bytes b = good;
         b.push_back(0);
         return b;
       }(),
       "after its last event"},
      {"event changed", changed(good.size() - 1, good.back() ^ 1), "checksum"},
      {"seed changed", changed(16, good[16] ^ 0x10), "checksum"},
      {"no event", reencoded([](Replay& r) { r.events[3] = 0xff; }), "event 4 is no event"},
      {"timer 9", reencoded([](Replay& r) { r.events[3] = 9; }), "event 4 is no event"},
      {"level 3", reencoded([](Replay& r) { r.level = 3; }), "no skill level"},
      {"hour 24", reencoded([](Replay& r) { r.hour = 24; }), "no time"},
  };
  for (const auto& c : cases) {
    const ReplayRead read = decode_replay(c.bytes);
    EXPECT_FALSE(read.replay) << c.what;
    EXPECT_NE(read.error.find(c.reason), std::string::npos) << c.what << ": " << read.error;
  }

  const struct {
    const char* what;
    Replay replay;
    const char* reason;
  } false_claims[] = {
      {"score raised",
       [&] {
         Replay r = game;
         r.score += 10;
         return r;
       }(),
       "not to the recorded"},
      {"expiry of a stopped timer",
       [&] {
         Replay r = game;
         r.events.insert(r.events.begin() + 2, Replay::event(Replay::kTimer, 2));
         return r;
       }(),
       "event 3 is the expiry of a timer that is not running"},
  };
  for (const auto& c : false_claims) {
    const ReplayRead read = decode_replay(encode_replay(c.replay));
    ASSERT_TRUE(read.replay) << c.what << ": " << read.error;
    const ReplayOutcome outcome = verify_replay(*read.replay);
    EXPECT_FALSE(outcome.ok) << c.what;
    EXPECT_NE(outcome.error.find(c.reason), std::string::npos) << c.what << ": " << outcome.error;
  }
}

}  // namespace
}  // namespace qm::testing
