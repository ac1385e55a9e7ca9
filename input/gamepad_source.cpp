#include "input/gamepad_source.h"

#include <SDL.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace qm {

namespace {

// What a controller can hold, each holding one device button.
enum Input {
  kInA,
  kInB,
  kInY,
  kInBack,
  kInPadUp,
  kInPadLeft,
  kInPadRight,
  kInPadDown,
  kInStickUp,
  kInStickLeft,
  kInStickRight,
  kInStickDown,
  kInputCount
};
constexpr std::array<int, kInputCount> kBindingOf = {kAma,   kPro,  kTime, kMode, kUp,    kLeft,
                                                     kRight, kDown, kUp,   kLeft, kRight, kDown};

int input_of_button(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return kInA;
    case SDL_CONTROLLER_BUTTON_B:
      return kInB;
    case SDL_CONTROLLER_BUTTON_Y:
      return kInY;
    case SDL_CONTROLLER_BUTTON_BACK:
      return kInBack;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return kInPadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return kInPadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return kInPadRight;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return kInPadDown;
    default:
      return -1;
  }
}

// A stick direction engages beyond half of full scale and, once engaged, lets go only below 30%:
// a resting stick never presses, and one held near either edge does not chatter.
constexpr int kEngageAt = 16384;
constexpr int kLetGoBelow = 9830;

bool stick_engaged(int deflection, bool engaged) {
  return deflection >= (engaged ? kLetGoBelow : kEngageAt);
}

// Well within a game tick of 100 ms; SDL queues what happens between two polls, so a tap shorter
// than this still presses and releases.
constexpr std::chrono::milliseconds kPollInterval{20};
// Without a way to hear of new device nodes, a new controller is looked for this often.
constexpr std::chrono::milliseconds kRescanInterval{2000};
// After a device node comes or goes, udev takes a moment to finish it and tell SDL; without udev
// SDL may look at the input folder again only 3 s later.
constexpr std::chrono::seconds kSettleTime{4};

constexpr std::uint32_t kDeviceDirEvents = IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_ONLYDIR;
// Permissions that udev gives a new node after making it count as a change too.
constexpr std::uint32_t kInputDirEvents = kDeviceDirEvents | IN_ATTRIB;

}  // namespace

GamepadSource::FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

GamepadSource::GamepadSource(ButtonSink& buttons, std::function<bool()> accepting,
                             const std::filesystem::path& device_dir)
    : buttons_(buttons), accepting_(std::move(accepting)) {
  // The events subsystem would otherwise turn SIGINT and SIGTERM into quit events that nobody
  // reads. SDL's own HID drivers would write to the pads (lights, report modes) and compete with
  // other programs for them; the kernel's input devices are only read. The environment wins.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
  started_ = true;
  poll_timer_.callOnTimeout(this, &GamepadSource::poll);
  watch_devices(device_dir);
  open_new();
  poll();
}

GamepadSource::~GamepadSource() {
  if (!started_) return;
  for (const Pad& pad : pads_) SDL_GameControllerClose(pad.handle);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GamepadSource::poll() {
  if (!started_) return;
  SDL_GameControllerUpdate();
  // Every joystick and controller event, also those a newer SDL may add to that range: nothing
  // else reads them, and left in the queue they would pile up.
  std::array<SDL_Event, 16> events;
  int count;
  while ((count = SDL_PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT,
                                 SDL_JOYAXISMOTION, SDL_FINGERDOWN - 1)) > 0) {
    for (int i = 0; i < count; ++i) take(events[static_cast<std::size_t>(i)]);
  }
  schedule();
}

void GamepadSource::release_held() {
  for (Pad& pad : pads_) pad.live = 0;
  report();
}

void GamepadSource::open_new() {
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (!SDL_IsGameController(index)) continue;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    if (pad_of(id)) continue;
    // One that cannot be opened (no permission, gone again) is tried again at its next plug.
    SDL_GameController* handle = SDL_GameControllerOpen(index);
    if (!handle) continue;
    pads_.push_back(Pad{handle, id});
  }
}

void GamepadSource::close(std::size_t index) {
  SDL_GameControllerClose(pads_[index].handle);
  pads_.erase(pads_.begin() + static_cast<std::ptrdiff_t>(index));
  report();
}

GamepadSource::Pad* GamepadSource::pad_of(std::int32_t id) {
  for (Pad& pad : pads_)
    if (pad.id == id) return &pad;
  return nullptr;
}

void GamepadSource::take(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      open_new();
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      for (std::size_t i = 0; i < pads_.size(); ++i) {
        if (pads_[i].id != event.cdevice.which) continue;
        close(i);
        break;
      }
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      Pad* pad = pad_of(event.cbutton.which);
      const int input = input_of_button(event.cbutton.button);
      if (pad && input >= 0) set_input(*pad, input, event.type == SDL_CONTROLLERBUTTONDOWN);
      break;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (Pad* pad = pad_of(event.caxis.which))
        move_stick(*pad, event.caxis.axis, event.caxis.value);
      break;
    default:
      break;
  }
}

void GamepadSource::move_stick(Pad& pad, int axis, int value) {
  int negative, positive;
  if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
    negative = kInStickLeft;
    positive = kInStickRight;
  } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
    negative = kInStickUp;
    positive = kInStickDown;
  } else {
    return;
  }
  for (auto [input, deflection] : {std::pair{negative, -value}, std::pair{positive, value}}) {
    const std::uint16_t bit = 1u << input;
    const bool was = pad.engaged & bit;
    const bool now = stick_engaged(deflection, was);
    if (now == was) continue;
    pad.engaged ^= bit;
    set_input(pad, input, now);
  }
}

void GamepadSource::set_input(Pad& pad, int input, bool down) {
  const std::uint16_t bit = 1u << input;
  if (!down)
    pad.live &= ~bit;
  else if (accepting_())
    pad.live |= bit;
  report();
}

void GamepadSource::report() {
  std::uint16_t held = 0;
  for (const Pad& pad : pads_)
    for (int input = 0; input < kInputCount; ++input)
      if (pad.live & (1u << input)) held |= 1u << kBindingOf[input];
  const std::uint16_t changed = held ^ held_;
  held_ = held;
  for (int n = kAma; n <= kDown; ++n) {
    if (!(changed & (1u << n))) continue;
    if (held & (1u << n))
      buttons_.press(button_of(n));
    else
      buttons_.release(button_of(n));
  }
}

// A new controller shows as a new node in the input folder (also one that SDL reaches through
// hidraw, as the kernel makes an input device of every gamepad); the device folder itself is
// watched for the input folder coming later. inotify wakes nobody while nothing is plugged, unlike
// asking SDL every few seconds, which would wake the program more often than its clock does.
void GamepadSource::watch_devices(const std::filesystem::path& device_dir) {
  auto inotify = std::make_unique<FileHandle>(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (inotify->get() < 0 ||
      inotify_add_watch(inotify->get(), device_dir.c_str(), kDeviceDirEvents) < 0)
    return;
  inotify_ = std::move(inotify);
  input_dir_ = device_dir / "input";
  inotify_add_watch(inotify_->get(), input_dir_.c_str(), kInputDirEvents);
  notifier_ = std::make_unique<QSocketNotifier>(inotify_->get(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &GamepadSource::device_nodes_changed);
}

void GamepadSource::device_nodes_changed() {
  alignas(inotify_event) std::array<char, 4096> buffer;
  while (::read(inotify_->get(), buffer.data(), buffer.size()) > 0) {
  }
  // Watching a folder already watched changes nothing; it fails while the folder is missing.
  inotify_add_watch(inotify_->get(), input_dir_.c_str(), kInputDirEvents);
  settle_until_ = std::chrono::steady_clock::now() + kSettleTime;
  poll();
}

void GamepadSource::schedule() {
  std::chrono::milliseconds interval{0};
  if (!pads_.empty() || std::chrono::steady_clock::now() < settle_until_)
    interval = kPollInterval;
  else if (!notifier_)
    interval = kRescanInterval;
  if (interval.count() == 0)
    poll_timer_.stop();
  else if (!poll_timer_.isActive() || poll_timer_.intervalAsDuration() != interval)
    poll_timer_.start(interval);
}

}  // namespace qm
