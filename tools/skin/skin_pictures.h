#pragma once

#include <QImage>
#include <QString>
#include <map>

namespace qm::skin {

// Every picture of the skin folder by its file name, as Config.ini names them, drawn at `scale`
// pixels per logical pixel.
std::map<QString, QImage> draw_skin_pictures(int scale = 1);

// A picture drawn finer with the outline of its plain version: fully transparent exactly where
// the plain one is, so that the windowed cut-out is the same at every scale. A pixel the finer
// drawing left empty inside the outline takes the plain picture's colour there.
QImage with_outline_of(const QImage& finer, const QImage& plain);

}  // namespace qm::skin
