#pragma once

namespace qm {

// Qt ends a program that finds no window system to talk to (no DISPLAY, or one that does not
// answer) with an abort and a core dump, after several lines about its plugins. While one of these
// lives, that ending is one line on standard error and exit status 1 instead; Qt's other messages
// are held back and printed when it is done, the window system having answered.
class DisplayConnection {
 public:
  DisplayConnection();
  ~DisplayConnection();
  DisplayConnection(const DisplayConnection&) = delete;
  DisplayConnection& operator=(const DisplayConnection&) = delete;
};

}  // namespace qm
