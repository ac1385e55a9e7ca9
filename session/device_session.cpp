#include "session/device_session.h"

#include <algorithm>

#ifndef QM_VERSION
#define QM_VERSION "unknown"
#endif

namespace qm {

namespace {

constexpr std::uint16_t kDirections = 1u << int(Button::Up) | 1u << int(Button::Left) |
                                      1u << int(Button::Right) | 1u << int(Button::Down);

}  // namespace

DeviceSession::DeviceSession(SessionPorts ports)
    : ports_(ports), game_(scene_, *this, Ports{ports.sound, *this, *this, ports.hint}) {}

DeviceSession::~DeviceSession() {
  // A running timer stops on the clock it runs on, the replay clock while watching: stop every
  // one now, while that clock is still there, not as the game goes after it.
  for (Timer* timer : timers()) timer->set_enabled(false);
}

std::array<Timer*, 9> DeviceSession::timers() {
  Game& g = game_;
  return {&g.Timer_Game,           &g.Timer_Game_Start,       &g.Timer_Miss,
          &g.Timer_Stage_Complete, &g.Timer_Intermission,     &g.Timer_Ghost_Bonus,
          &g.Timer_Cherry_Bonus,   &g.Timer_Power_Pill_Sound, &g.Timer_Clock};
}

void DeviceSession::create(std::uint32_t seed) {
  game_.lcd().fill_tables();
  game_.form_create(seed);
}

void DeviceSession::switch_on() {
  game_.state().gam_mode = mode_time;
  game_.Gam_Set_Mode();
}

void DeviceSession::start(Timer& timer) {
  if (watch_)
    watch_->clock.start(timer);
  else
    ports_.timers.start(timer);
}

void DeviceSession::stop(Timer& timer) {
  if (watch_)
    watch_->clock.stop(timer);
  else
    ports_.timers.stop(timer);
}

void DeviceSession::run_expired(Timer& timer) {
  if (recording_) {
    const auto all = timers();
    record(Replay::event(Replay::kTimer,
                         int(std::find(all.begin(), all.end(), &timer) - all.begin())));
  }
  timer.run();
  settle_recording(false);
}

int DeviceSession::read_integer(const std::string& name, int default_value) {
  if (watch_ && name == "HiScore1") return watch_->replay.hiscore1;
  if (watch_ && name == "HiScore2") return watch_->replay.hiscore2;
  return ports_.settings.read_integer(name, default_value);
}

void DeviceSession::write_integer(const std::string& name, int value) {
  if (!watch_) ports_.settings.write_integer(name, value);
}

void DeviceSession::write_integers(std::span<const Value> values) {
  if (!watch_) ports_.settings.write_integers(values);
}

int DeviceSession::write_higher(const std::string& name, int value, Range valid) {
  if (watch_) return std::max(value, read_valid(name, valid.lowest, valid));
  return ports_.settings.write_higher(name, value, valid);
}

TimeOfDay DeviceSession::local_time() {
  if (watch_) return {watch_->replay.hour, watch_->replay.minute, watch_->replay.second};
  return (ports_.time ? *ports_.time : system_time_).local_time();
}

void DeviceSession::record(std::uint8_t event) {
  recording_->events.push_back(event);
}

void DeviceSession::settle_recording(bool now) {
  if (!recording_) return;
  const int mode = game_.state().gam_mode;
  if (mode == mode_ama_play || mode == mode_pro_play) recorded_play_ = true;
  if (!now && mode != mode_time && mode != mode_game_over) return;
  if (recorded_play_ && ports_.replays) {
    recording_->score = game_.state().score;
    recording_->stage = game_.state().stage;
    ports_.replays->keep(*recording_);
  }
  recording_.reset();
}

void DeviceSession::press(Button button) {
  if (watch_) return stop_watching();
  const int mode = game_.state().gam_mode;
  // A game begins when AMA or PRO brings up its high score; the recording starts there.
  const bool starts = (button == Button::Ama || button == Button::Pro) &&
                      (mode == mode_game || mode == mode_game_time || mode == mode_game_over);
  if (starts && ports_.replays && !recording_) {
    const TimeOfDay now = local_time();
    Replay& r = recording_.emplace();
    r.version = QM_VERSION;
    r.level = button == Button::Ama ? 1 : 2;
    r.start_mode = static_cast<std::uint8_t>(mode);
    r.held = held_ & kDirections;
    r.hour = static_cast<std::uint8_t>(now.hour);
    r.minute = static_cast<std::uint8_t>(now.minute);
    r.second = static_cast<std::uint8_t>(now.second);
    r.seed = game_.random().seed();
    // A game is minutes of ticks: room for a few thousand events saves growing it while playing.
    r.events.reserve(4096);
    recorded_play_ = false;
  }
  if (recording_) record(Replay::event(Replay::kPress, int(button)));
  button_down(button);
  if (starts && recording_) {
    // The high scores as the game's own display read them from the store.
    recording_->hiscore1 = game_.state().hiscore1;
    recording_->hiscore2 = game_.state().hiscore2;
  }
  settle_recording(false);
}

void DeviceSession::release(Button button) {
  if (watch_) return;
  if (recording_) record(Replay::event(Replay::kRelease, int(button)));
  button_up(button);
  settle_recording(false);
}

void DeviceSession::end_game() {
  settle_recording(true);
}

void DeviceSession::button_down(Button button) {
  held_ |= bit(button);
  Game& g = game_;
  switch (button) {
    case Button::Ama:
      return g.Inp_ama_down();
    case Button::Pro:
      return g.Inp_pro_down();
    case Button::Time:
      return g.Inp_time_down();
    case Button::Mode:
      return g.Inp_mode_down();
    case Button::Up:
      return g.Inp_up_down();
    case Button::Left:
      return g.Inp_left_down();
    case Button::Right:
      return g.Inp_right_down();
    case Button::Down:
      return g.Inp_down_down();
  }
}

void DeviceSession::button_up(Button button) {
  held_ &= std::uint16_t(~bit(button));
  Game& g = game_;
  switch (button) {
    case Button::Ama:
      return g.Inp_ama_up();
    case Button::Pro:
      return g.Inp_pro_up();
    case Button::Time:
      return g.Inp_time_up();
    case Button::Mode:
      return;  // MODE acts on press only
    case Button::Up:
      return g.Inp_up_up();
    case Button::Left:
      return g.Inp_left_up();
    case Button::Right:
      return g.Inp_right_up();
    case Button::Down:
      return g.Inp_down_up();
  }
}

void DeviceSession::watch(const Replay& replay) {
  settle_recording(true);
  game_.Gam_Stop_All_Timers();
  ports_.sound.Snd_Silence();
  watch_ = std::make_unique<Watch>(Watch{replay, 0, {}});
  watch_error_.clear();
  GameState& s = game_.state();
  // The device as the recorded game found it: switch at game, nothing held, nothing lit.
  s.gam_mode = mode_game;
  game_.Gam_Set_Mode();
  for (int b = 1; b <= kButtonCount; ++b) button_up(static_cast<Button>(b));
  s.gam_mode = replay.start_mode;
  s.play_enabled = false;
  game_.random().set_seed(replay.seed);
  for (int b = 1; b <= kButtonCount; ++b)
    if (replay.held & bit(static_cast<Button>(b))) button_down(static_cast<Button>(b));
}

std::int64_t DeviceSession::watch_wait() {
  if (!watch_ || watch_->next >= watch_->replay.events.size()) return -1;
  const std::uint8_t e = watch_->replay.events[watch_->next];
  if (Replay::kind_of(e) != Replay::kTimer) return 0;
  const Timer& timer = *timers()[Replay::index_of(e)];
  return timer.enabled() ? watch_->clock.wait(timer) : 0;
}

DeviceSession::Step DeviceSession::watch_step() {
  if (!watch_ || !watch_error_.empty()) return Step::Refused;
  if (watch_->next >= watch_->replay.events.size()) return Step::Done;
  const std::size_t n = watch_->next++;
  const std::uint8_t e = watch_->replay.events[n];
  const int index = Replay::index_of(e);
  switch (Replay::kind_of(e)) {
    case Replay::kTimer: {
      Timer& timer = *timers()[index];
      // Only a running timer expires: a recording that says otherwise was not made by this game.
      if (!timer.enabled()) {
        watch_error_ =
            "event " + std::to_string(n + 1) + " is the expiry of a timer that is not running";
        return Step::Refused;
      }
      watch_->clock.fire(timer);
      break;
    }
    case Replay::kPress:
      button_down(static_cast<Button>(index));
      break;
    case Replay::kRelease:
      button_up(static_cast<Button>(index));
      break;
  }
  return Step::Played;
}

void DeviceSession::stop_watching() {
  if (!watch_) return;
  game_.Gam_Stop_All_Timers();
  GameState& s = game_.state();
  // In time mode letting the buttons go starts nothing.
  s.gam_mode = mode_time;
  for (int b = 1; b <= kButtonCount; ++b) button_up(static_cast<Button>(b));
  // The high scores are read from the store again as the next game shows them.
  watch_.reset();
  game_.Gam_Set_Mode();
  ports_.hint.rebuild_mode_hint(mode_time);
}

}  // namespace qm
