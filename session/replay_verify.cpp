#include "session/replay_verify.h"

#include "session/device_session.h"

namespace qm {

namespace {

// A device without a world: no sound, no store, no hints, and no timer that runs by itself.
class Nothing final : public TimerHost, public SoundPort, public SettingsPort, public ModeHintPort {
 public:
  void start(Timer&) override {}
  void stop(Timer&) override {}
  void Snd_Play(Sample) override {}
  void Snd_Silence() override {}
  int read_integer(const std::string&, int default_value) override { return default_value; }
  void write_integer(const std::string&, int) override {}
  void rebuild_mode_hint(int) override {}
};

}  // namespace

ReplayOutcome verify_replay(const Replay& replay) {
  Nothing nothing;
  DeviceSession session{SessionPorts{nothing, nothing, nothing, nothing}};
  session.create(replay.seed);
  session.watch(replay);
  DeviceSession::Step step;
  while ((step = session.watch_step()) == DeviceSession::Step::Played) {
  }
  ReplayOutcome out;
  out.score = session.game().state().score;
  out.stage = session.game().state().stage;
  if (step == DeviceSession::Step::Refused) {
    out.error = "it does not play: " + session.watch_error();
  } else if (out.score != replay.score || out.stage != replay.stage) {
    out.error = "it plays to score " + std::to_string(out.score) + " at stage " +
                std::to_string(out.stage) + ", not to the recorded score " +
                std::to_string(replay.score) + " at stage " + std::to_string(replay.stage);
  } else {
    out.ok = true;
  }
  return out;
}

std::string describe_outcome(const Replay& replay, const ReplayOutcome& outcome) {
  return "score " + std::to_string(outcome.score) + ", " +
         (replay.level == 1 ? "Amateur" : "Professional") + ", stage " +
         std::to_string(outcome.stage) + ", " + std::to_string(replay.events.size()) + " events";
}

}  // namespace qm
