#pragma once

#include "engine/ports.h"

namespace qm {

// The time of day by the system's clock and time zone.
class SystemTime final : public LocalTimePort {
 public:
  TimeOfDay local_time() override;
};

}  // namespace qm
