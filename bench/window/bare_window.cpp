// The floor the program's start-up and memory are measured against: the least a Qt program of its
// kind does here. One frameless window of the primary screen's size, one picture decoded by the
// program's own decoder and drawn stretched over it, as the fullscreen backdrop is.
//   bare_window PICTURE
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cstdio>

#include "skin/picture_file.h"
#include "ui/qt/picture_qimage.h"

namespace {

class BareWindow final : public QWidget {
 public:
  explicit BareWindow(QImage image)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), image_(std::move(image)) {
    setWindowTitle(QStringLiteral("Bare window"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), image_);
  }

 private:
  QImage image_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: bare_window PICTURE\n");
    return 2;
  }
  // Held and drawn as the program holds and draws its backdrop.
  const qm::PictureResult decoded = qm::load_picture_file(argv[1], qm::Holding::AsStored);
  if (!decoded.ok()) {
    std::fprintf(stderr, "bare_window: %s\n", decoded.error.c_str());
    return 1;
  }
  BareWindow window(qm::to_qimage(decoded.picture, qm::PictureLook::Opaque));
  window.setGeometry(QGuiApplication::primaryScreen()->geometry());
  window.show();
  return app.exec();
}
