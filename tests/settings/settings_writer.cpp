// Counts "HiScore1" up from its stored value, one write at a time: as often as the argument says,
// or until it is killed. Bounded, so that a writer whose test died does not run on.
#include <cstdlib>

#include "settings/settings_store.h"

int main(int argc, char** argv) {
  const int writes = argc > 1 ? std::atoi(argv[1]) : 20000;
  qm::SettingsStore store;
  const int first = store.read_integer("HiScore1", 0) + 1;
  for (int value = first; value < first + writes; ++value) store.write_integer("HiScore1", value);
}
