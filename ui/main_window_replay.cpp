// The main window's share of replays and screenshots: keeping each finished game, watching one,
// and saving the device's picture.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QToolTip>
#include <cstdio>

#include "ui/main_window.h"

namespace qm {

void MainWindow::keep(const Replay& replay) {
  const std::string stamp =
      QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss-zzz").toStdString();
  const std::string error = replays_.keep(replay, stamp);
  if (error.empty() || replay_failure_said_) return;
  // Said once per run: a full disk would otherwise interrupt every game that follows.
  replay_failure_said_ = true;
  const QString text = "The game could not be kept as a replay: " + QString::fromStdString(error);
  std::fprintf(stderr, "quibman: %s\n", qPrintable(text));
  if (isVisible()) say(text);
}

void MainWindow::say(const QString& text) {
  // A hint over the device: it passes by itself and takes nothing from the game.
  QToolTip::showText(mapToGlobal(rect().center()), text, this, rect(), 6000);
}

bool MainWindow::watch_replay(const QString& file) {
  const ReplayRead read = read_replay_file(file.toStdString());
  if (!read.replay) {
    if (env_.show_error)
      env_.show_error("'" + file + "' is refused: " + QString::fromStdString(read.error) + ".");
    return false;
  }
  session_.watch(*read.replay);
  play_replay();
  return true;
}

// The next event is due: it and every event due at the same moment are played, and the window
// waits for the one after.
void MainWindow::play_replay() {
  if (!session_.watching()) return;
  std::int64_t wait = 0;
  while (wait == 0) {
    if (session_.watch_step() == DeviceSession::Step::Refused) {
      const QString why = QString::fromStdString(session_.watch_error());
      session_.stop_watching();
      if (env_.show_error) env_.show_error("The replay stopped: " + why + ".");
      return;
    }
    wait = session_.watch_wait();
  }
  if (wait > 0) {
    watch_timer_.start(static_cast<int>(std::min<std::int64_t>(wait, 1 << 30)));
  } else if (game().state().gam_mode == mode_time) {
    // A game left with MODE ends in time mode: the device is given back at once. Any other end
    // stays on the screen until a button or Esc.
    session_.stop_watching();
  }
}

QString MainWindow::save_screenshot() {
  const QString pictures = qEnvironmentVariableIsEmpty("XDG_PICTURES_DIR")
                               ? QDir::homePath() + "/Pictures"
                               : qEnvironmentVariable("XDG_PICTURES_DIR");
  const QDir folder(pictures + "/Quib Man");
  const QString base =
      folder.filePath("Quib Man " + QDateTime::currentDateTime().toString("yyyy-MM-dd HH.mm.ss"));
  QString name = base + ".png";
  for (int n = 2; QFileInfo::exists(name); ++n) name = base + QString(" (%1).png").arg(n);
  QSaveFile out(name);
  const bool saved = QDir().mkpath(folder.path()) && out.open(QIODevice::WriteOnly) &&
                     composed().save(&out, "PNG") && out.commit();
  say(saved ? "Screenshot saved to " + name : "The screenshot could not be saved to " + name);
  return saved ? name : QString();
}

}  // namespace qm
