#pragma once

#include <QObject>
#include <memory>
#include <unordered_map>

#include "engine/timer.h"

class QTimer;

namespace qm {

// Drives the engine's timers from the window's event loop. Each engine timer gets a precise
// QTimer, so the 100 ms game tick keeps its period instead of the 5 % slack of a coarse timer.
class QtTimerHost final : public QObject, public TimerHost {
 public:
  explicit QtTimerHost(QObject* parent = nullptr);
  ~QtTimerHost() override;

  void start(Timer& timer) override;
  void stop(Timer& timer) override;

  // True while the engine timer counts on a running QTimer.
  bool running(const Timer& timer) const;

 private:
  QTimer* qtimer_for(Timer& timer);

  std::unordered_map<const Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace qm
