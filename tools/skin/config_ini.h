#pragma once

#include <QString>

namespace qm::skin {

// The text of Config.ini for the default skin: every section, with CR LF line ends.
QString config_ini_text();

}  // namespace qm::skin
