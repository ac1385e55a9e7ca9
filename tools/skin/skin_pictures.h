#pragma once

#include <QImage>
#include <QString>
#include <map>

namespace qm::skin {

// Every picture of the skin folder by its file name, as Config.ini names them.
std::map<QString, QImage> draw_skin_pictures();

}  // namespace qm::skin
