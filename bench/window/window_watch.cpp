// Times what a person sees of the program on an X server: from starting it, or from a key press,
// until a window with the given title stands on the screen and has been painted: half its area
// repainted since it came there (a shaped window reports only what lies inside its shape). A
// window the program makes anew is followed to the new one.
//   window_watch start TITLE PROGRAM [ARG...]  starts PROGRAM, measures, then ends it (SIGTERM)
//   window_watch key TITLE KEYSYM              presses KEYSYM with the pointer over that window,
//                                              once it has been at rest for 300 ms
//   window_watch damage TITLE SECONDS          counts what the window repaints meanwhile
//   window_watch lit TITLE KEYSYM PRESSES [X Y W H]
//                                              presses KEYSYM that many times, timing each press
//                                              until the window first repaints anything (within
//                                              the rectangle of window pixels, when given)
// Prints "shown_ms=... painted_ms=...", both counted from the start or the key press,
// "damage_events=... damaged_px_per_s=...", or "presses=... median_ms=... worst_ms=...".
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUp = std::chrono::seconds(20);

double ms_since(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

bool touches(const XRectangle& a, const XRectangle& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

bool has_title(Display* d, Window w, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(d, w, &name) == 0 || name == nullptr) return false;
  const bool match = std::strstr(name, title.c_str()) != nullptr;
  XFree(name);
  return match;
}

// The viewable top-level window whose title holds the text.
std::optional<Window> find_window(Display* d, const std::string& title) {
  Window root_return = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root_return, &parent, &children, &count) == 0) {
    return std::nullopt;
  }
  std::optional<Window> found;
  for (unsigned i = 0; i < count && !found; ++i) {
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) != 0 && a.map_state == IsViewable &&
        has_title(d, children[i], title)) {
      found = children[i];
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

class Watch {
 public:
  Watch(Display* d, std::string title) : d_(d), title_(std::move(title)) {
    int error_base = 0;
    if (XDamageQueryExtension(d_, &damage_event_, &error_base) == 0) {
      std::fprintf(stderr, "window_watch: the X server has no DAMAGE extension\n");
      std::exit(2);
    }
    XSelectInput(d_, DefaultRootWindow(d_), SubstructureNotifyMask);
  }

  // Follows the window given, or the first one with the title to be mapped.
  void follow(Window w) {
    window_ = w;
    XDamageCreate(d_, w, XDamageReportRawRectangles);
    // A new damage object first reports the whole window, which nothing has painted yet.
    XSync(d_, False);
    XEvent initial;
    while (XCheckTypedEvent(d_, damage_event_ + XDamageNotify, &initial)) {
    }
    XWindowAttributes a;
    if (XGetWindowAttributes(d_, w, &a) != 0) {
      area_ = static_cast<long>(a.width) * a.height;
      note_place(a.x, a.y, a.map_state == IsViewable);
    }
  }

  // A window already on the screen counts as shown from now; painting must follow.
  void start_clock() {
    t0_ = Clock::now();
    if (on_screen_) came_on_screen(t0_);
  }

  // Waits until the window is on the screen and painted; false on giving up.
  bool wait() {
    return pump([this](Clock::time_point now) { return now - t0_ < kGiveUp && !painted_; });
  }

  // Takes in the window's damage for the given time without a word.
  void settle(std::chrono::milliseconds length) {
    const auto from = Clock::now();
    pump([&](Clock::time_point now) { return now - from < length; });
  }

  // Waits for the window's next repaint of anything from now on; its time, or none on giving up.
  std::optional<Clock::time_point> wait_first_damage(std::chrono::milliseconds give_up) {
    first_damage_.reset();
    const auto from = Clock::now();
    pump([&](Clock::time_point now) { return now - from < give_up && !first_damage_; });
    return first_damage_;
  }

  // Only repaints that touch this rectangle count as the first one.
  void watch_only(XRectangle place) { place_ = place; }

  // Takes in the window's damage for the given time and reports it.
  void count_damage(std::chrono::seconds length) {
    pump([&](Clock::time_point now) { return now - t0_ < length; });
    std::printf("damage_events=%ld damaged_px_per_s=%.0f\n", damage_events_,
                static_cast<double>(damaged_px_) / static_cast<double>(length.count()));
  }

  // Handles the X events while going_on(now) holds; true when the window has been painted.
  template <typename GoingOn>
  bool pump(GoingOn going_on) {
    const int fd = ConnectionNumber(d_);
    while (true) {
      while (XPending(d_) > 0) {
        XEvent e;
        XNextEvent(d_, &e);
        handle(e);
      }
      const auto now = Clock::now();
      if (!going_on(now)) return painted_.has_value();
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 10);
    }
  }

  void print() const {
    std::printf("shown_ms=%.1f painted_ms=%.1f\n", ms_since(t0_, *shown_),
                ms_since(t0_, *painted_));
  }

 private:
  void note_place(int x, int y, bool viewable) {
    // The program parks its window out of sight while it lays it out; shown means back on screen.
    if (viewable && x >= 0 && y >= 0) {
      if (!on_screen_) came_on_screen(Clock::now());
      on_screen_ = true;
    } else {
      on_screen_ = false;
    }
  }

  void came_on_screen(Clock::time_point when) {
    shown_ = when;
    painted_.reset();
    painted_px_ = 0;
  }

  void handle(const XEvent& e) {
    if (e.type == MapNotify && window_ == 0 && has_title(d_, e.xmap.window, title_)) {
      follow(e.xmap.window);
    } else if (e.type == ConfigureNotify && e.xconfigure.window == window_) {
      area_ = static_cast<long>(e.xconfigure.width) * e.xconfigure.height;
      note_place(e.xconfigure.x, e.xconfigure.y, true);
    } else if (e.type == UnmapNotify && e.xunmap.window == window_) {
      on_screen_ = false;
    } else if (e.type == DestroyNotify && e.xdestroywindow.window == window_) {
      // A window made anew (another surface for another layout): the next one mapped is followed.
      window_ = 0;
      on_screen_ = false;
    } else if (e.type == damage_event_ + XDamageNotify) {
      const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(e);
      if (on_screen_ && damage.drawable == window_) {
        const long px = static_cast<long>(damage.area.width) * damage.area.height;
        if (!first_damage_ && (!place_ || touches(damage.area, *place_)))
          first_damage_ = Clock::now();
        ++damage_events_;
        damaged_px_ += px;
        painted_px_ += px;
        if (!painted_ && 2 * painted_px_ >= area_) painted_ = Clock::now();
      }
    }
  }

  Display* d_;
  std::string title_;
  int damage_event_ = 0;
  Window window_ = 0;
  bool on_screen_ = false;
  Clock::time_point t0_ = Clock::now();
  std::optional<Clock::time_point> shown_, painted_, first_damage_;
  std::optional<XRectangle> place_;
  long area_ = 0;        // the window's width times height
  long painted_px_ = 0;  // repainted since it came on the screen
  long damage_events_ = 0;
  long damaged_px_ = 0;
};

int start(Display* d, const std::string& title, char** program) {
  Watch watch(d, title);
  XSync(d, False);
  watch.start_clock();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("window_watch: fork");
    return 2;
  }
  if (child == 0) {
    execv(program[0], program);
    std::perror("window_watch: exec");
    _exit(127);
  }
  const bool ok = watch.wait();
  if (ok) watch.print();
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  if (!ok) std::fprintf(stderr, "window_watch: no window \"%s\" painted\n", title.c_str());
  return ok ? 0 : 1;
}

int count_damage(Display* d, const std::string& title, const char* seconds) {
  const auto window = find_window(d, title);
  if (!window) {
    std::fprintf(stderr, "window_watch: no window \"%s\"\n", title.c_str());
    return 2;
  }
  Watch watch(d, title);
  watch.follow(*window);
  XSync(d, False);
  watch.start_clock();
  watch.count_damage(std::chrono::seconds(std::atoi(seconds)));
  return 0;
}

// The window with the title and the key's code, the pointer moved over the window: keys go where
// the pointer is when no window manager gives out the focus. None when either is missing.
std::optional<std::pair<Window, KeyCode>> aim_key(Display* d, const std::string& title,
                                                  const char* key_name) {
  const auto window = find_window(d, title);
  const KeySym sym = XStringToKeysym(key_name);
  const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
  if (!window || code == 0) {
    std::fprintf(stderr, "window_watch: no window \"%s\" or no key %s\n", title.c_str(), key_name);
    return std::nullopt;
  }
  XWindowAttributes a;
  XGetWindowAttributes(d, *window, &a);
  XTestFakeMotionEvent(d, -1, a.x + a.width / 2, a.y + a.height / 2, CurrentTime);
  return std::make_pair(*window, code);
}

int press_key(Display* d, const std::string& title, const char* key_name) {
  const auto aimed = aim_key(d, title, key_name);
  if (!aimed) return 2;
  const auto [window, code] = *aimed;
  Watch watch(d, title);
  watch.follow(window);
  // The rest of an earlier change's repaint is not this key's.
  watch.settle(std::chrono::milliseconds(300));
  watch.start_clock();
  XTestFakeKeyEvent(d, code, True, CurrentTime);
  XTestFakeKeyEvent(d, code, False, CurrentTime);
  XFlush(d);
  if (!watch.wait()) {
    std::fprintf(stderr, "window_watch: \"%s\" did not settle after %s\n", title.c_str(), key_name);
    return 1;
  }
  watch.print();
  return 0;
}

// Each press stands alone: the key goes down, the first repaint after it is timed, the key goes
// up and the window is left to settle before the next one.
int time_presses(Display* d, const std::string& title, const char* key_name, int presses,
                 std::optional<XRectangle> place) {
  const auto aimed = aim_key(d, title, key_name);
  if (!aimed || presses < 1) return 2;
  const auto [window, code] = *aimed;
  Watch watch(d, title);
  watch.follow(window);
  if (place) watch.watch_only(*place);
  std::vector<double> times;
  for (int i = 0; i < presses; ++i) {
    watch.settle(std::chrono::milliseconds(300));
    const auto pressed = Clock::now();
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XFlush(d);
    const auto lit = watch.wait_first_damage(std::chrono::seconds(2));
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
    if (!lit) {
      std::fprintf(stderr, "window_watch: \"%s\" did not repaint after %s\n", title.c_str(),
                   key_name);
      return 1;
    }
    times.push_back(ms_since(pressed, *lit));
  }
  std::sort(times.begin(), times.end());
  std::printf("presses=%zu median_ms=%.1f worst_ms=%.1f\n", times.size(), times[times.size() / 2],
              times.back());
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool is_start = argc >= 4 && std::strcmp(argv[1], "start") == 0;
  const bool is_key = argc == 4 && std::strcmp(argv[1], "key") == 0;
  const bool is_damage = argc == 4 && std::strcmp(argv[1], "damage") == 0;
  const bool is_lit = (argc == 5 || argc == 9) && std::strcmp(argv[1], "lit") == 0;
  if (!is_start && !is_key && !is_damage && !is_lit) {
    std::fprintf(stderr,
                 "usage: window_watch start TITLE PROGRAM [ARG...]\n"
                 "       window_watch key TITLE KEYSYM\n"
                 "       window_watch damage TITLE SECONDS\n"
                 "       window_watch lit TITLE KEYSYM PRESSES [X Y W H]\n");
    return 2;
  }
  DisplayPtr display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "window_watch: cannot open the display\n");
    return 2;
  }
  if (is_start) return start(display.get(), argv[2], argv + 3);
  if (is_key) return press_key(display.get(), argv[2], argv[3]);
  if (is_lit) {
    std::optional<XRectangle> place;
    if (argc == 9)
      place =
          XRectangle{static_cast<short>(std::atoi(argv[5])), static_cast<short>(std::atoi(argv[6])),
                     static_cast<unsigned short>(std::atoi(argv[7])),
                     static_cast<unsigned short>(std::atoi(argv[8]))};
    return time_presses(display.get(), argv[2], argv[3], std::atoi(argv[4]), place);
  }
  return count_damage(display.get(), argv[2], argv[3]);
}
