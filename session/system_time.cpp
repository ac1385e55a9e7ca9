#include "session/system_time.h"

#include <ctime>

namespace qm {

TimeOfDay SystemTime::local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (!localtime_r(&now, &parts)) return {};
  return {parts.tm_hour, parts.tm_min, parts.tm_sec};
}

}  // namespace qm
