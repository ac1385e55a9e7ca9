#pragma once

#include <QString>

namespace qm::skin {

// The two text files beside the program.
QString readme_text();
QString whatsnew_text();

}  // namespace qm::skin
