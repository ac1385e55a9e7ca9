#include "session/device_session.h"

namespace qm {

DeviceSession::DeviceSession(SessionPorts ports)
    : game_(
          scene_, ports.timers,
          Ports{ports.sound, ports.settings, ports.time ? *ports.time : system_time_, ports.hint}) {
}

void DeviceSession::create(std::uint32_t seed) {
  game_.lcd().fill_tables();
  game_.form_create(seed);
}

void DeviceSession::switch_on() {
  game_.state().gam_mode = mode_time;
  game_.Gam_Set_Mode();
}

void DeviceSession::press(Button button) {
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

void DeviceSession::release(Button button) {
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

}  // namespace qm
