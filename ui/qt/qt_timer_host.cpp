#include "ui/qt/qt_timer_host.h"

#include <QTimer>
#include <algorithm>

namespace qm {

QtTimerHost::QtTimerHost(QObject* parent) : QObject(parent) {}

QtTimerHost::~QtTimerHost() = default;

QTimer* QtTimerHost::qtimer_for(Timer& timer) {
  auto& slot = timers_[&timer];
  if (!slot) {
    slot = std::make_unique<QTimer>();
    slot->setTimerType(Qt::PreciseTimer);
    Timer* engine_timer = &timer;
    QObject::connect(slot.get(), &QTimer::timeout, this, [engine_timer] { engine_timer->fire(); });
  }
  return slot.get();
}

void QtTimerHost::start(Timer& timer) {
  // QTimer::start restarts the count from now, which is what a new period asks for. 1 ms is the
  // device's "as soon as possible"; a zero-period QTimer would do the same but spin when left on.
  qtimer_for(timer)->start(std::max(timer.interval(), 1));
}

void QtTimerHost::stop(Timer& timer) {
  auto it = timers_.find(&timer);
  if (it != timers_.end()) it->second->stop();
}

bool QtTimerHost::running(const Timer& timer) const {
  auto it = timers_.find(&timer);
  return it != timers_.end() && it->second->isActive();
}

}  // namespace qm
