#include "shell/display_connection.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qm {
namespace {

QtMessageHandler g_earlier = nullptr;
std::vector<QString> g_held;

std::string variable(const char* name) {
  const QByteArray value = qgetenv(name);
  return std::string(name) + (value.isEmpty() ? " unset" : "=" + value.toStdString());
}

// The one line told when no window system answers, naming the displays that were asked.
std::string no_display_line() {
  return "quibman: no display to show the game on (" + variable("DISPLAY") + ", " +
         variable("WAYLAND_DISPLAY") + ")\n";
}

void while_connecting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    g_held.push_back(qFormatLogMessage(type, context, text));
    return;
  }
  std::fputs(no_display_line().c_str(), stderr);
  std::fflush(stderr);
  // Qt is half set up: nothing of it may run again, not even the destructors of exit().
  std::_Exit(1);
}

}  // namespace

DisplayConnection::DisplayConnection() {
  g_earlier = qInstallMessageHandler(while_connecting);
}

DisplayConnection::~DisplayConnection() {
  qInstallMessageHandler(g_earlier);
  for (const QString& line : g_held) std::fprintf(stderr, "%s\n", qPrintable(line));
  g_held.clear();
}

}  // namespace qm
