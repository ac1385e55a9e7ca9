#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "input/key_dispatch.h"

struct _SDL_GameController;
union SDL_Event;

namespace qm {

// Game controllers as one more way to work the device's buttons: the D-pad and the left stick
// steer, A is AMA, B is PRO, Y is TIME, Back (Select) is MODE; other buttons do nothing. Every
// connected controller counts: a device button is held while any of them holds it.
//
// A controller works the buttons only while `accepting` says so (the main window has the
// keyboard), as keys do; a press made while it does not never counts, even once it does again.
//
// Runs on the user-interface thread, one per program (SDL has one event queue). With no
// controller open it sleeps until a device node comes or goes in `device_dir` or its input
// folder, then looks for controllers for a few seconds while udev settles the new node; with one
// open it polls every 20 ms. When SDL's game controller layer cannot start it does nothing.
class GamepadSource final : public QObject {
 public:
  GamepadSource(ButtonSink& buttons, std::function<bool()> accepting,
                const std::filesystem::path& device_dir = "/dev");
  GamepadSource(const GamepadSource&) = delete;
  GamepadSource& operator=(const GamepadSource&) = delete;
  ~GamepadSource() override;

  bool running() const { return started_; }
  int connected() const { return static_cast<int>(pads_.size()); }
  // True while it wakes up by itself: a controller is open, or device nodes have just changed.
  bool polling() const { return poll_timer_.isActive(); }

  // Takes in what the controllers did since the last call: plugs, unplugs, buttons, sticks.
  void poll();
  // Lets go of every device button a controller holds; they stay let go until pressed again.
  void release_held();

 private:
  struct Pad {
    _SDL_GameController* handle;
    std::int32_t id;
    std::uint16_t live = 0;     // the inputs that hold a device button, by input bit
    std::uint16_t engaged = 0;  // stick directions out of the dead zone, counted or not
  };
  class FileHandle {
   public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();
    int get() const { return fd_; }

   private:
    int fd_;
  };

  void open_new();
  void close(std::size_t index);
  Pad* pad_of(std::int32_t id);
  void take(const SDL_Event& event);
  void move_stick(Pad& pad, int axis, int value);
  void set_input(Pad& pad, int input, bool down);
  void report();
  void watch_devices(const std::filesystem::path& device_dir);
  void device_nodes_changed();
  void schedule();

  ButtonSink& buttons_;
  std::function<bool()> accepting_;
  bool started_ = false;
  std::vector<Pad> pads_;
  std::uint16_t held_ = 0;  // device buttons pressed, by binding bit

  std::filesystem::path input_dir_;
  std::unique_ptr<FileHandle> inotify_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer poll_timer_;
  std::chrono::steady_clock::time_point settle_until_{};
};

}  // namespace qm
