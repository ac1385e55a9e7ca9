#include "ui/qt/dialog_support.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include "skin/gfx_load_skin.h"

namespace qm {

namespace {

void place_centred(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect desk = screen->geometry();
  const QSize size = window.frameGeometry().size();
  const WindowPosition at =
      centre_on_screen(size.width(), size.height(), {desk.width(), desk.height()});
  window.move(desk.left() + at.left, desk.top() + at.top);
}

constexpr const char* kCentreWhenFramed = "qm_centre_when_framed";

// Before its first showing a window has no frame yet, and its frame size is its client size: it is
// centred again, once, when the window manager's frame first shows in its geometry.
class CentreWhenFramed final : public QObject {
 public:
  explicit CentreWhenFramed(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
    window.setProperty(kCentreWhenFramed, true);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) &&
        window_.isVisible() && window_.frameGeometry().size() != window_.size()) {
      place_centred(window_);
      window_.setProperty(kCentreWhenFramed, false);
      window_.removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& window_;
};

// Qt's own title bar on Wayland offers to maximise any window, and once a compositor has
// maximised a window it must take the size given, or the compositor ends the program. A window of
// fixed size lets its size go while asked to maximise, asks to be restored as soon as it has been
// shown maximised, and takes its size again when it is.
class FixedSize final : public QObject {
 public:
  FixedSize(QWidget& window, QSize size) : QObject(&window), window_(window), size_(size) {
    window.setFixedSize(size);
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show && !watching_ && window_.windowHandle()) {
      // The title bar asks the window itself, before the compositor answers.
      watching_ = true;
      connect(window_.windowHandle(), &QWindow::windowStateChanged, this,
              [this](Qt::WindowState state) {
                if (state == Qt::WindowMaximized || state == Qt::WindowFullScreen)
                  window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
              });
    } else if (event->type() == QEvent::WindowStateChange && event->spontaneous()) {
      // The compositor's answer.
      restore_ = window_.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    } else if (event->type() == QEvent::Resize && window_.size() == size_ &&
               window_.maximumSize() != size_) {
      // Restored: the compositor has given the size back.
      window_.setFixedSize(size_);
    } else if (event->type() == QEvent::Paint && restore_) {
      // A compositor hears the wish to be restored only once the maximised size has been shown.
      restore_ = false;
      QMetaObject::invokeMethod(&window_, &QWidget::showNormal, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget& window_;
  const QSize size_;
  bool watching_ = false;
  bool restore_ = false;
};

// Runs a window's text layout once, as the window is first shown: the show event comes before
// the window is mapped and painted. (Polishing is no such moment: Qt polishes every new window at
// the first turn of the event loop.)
class LayOutWhenShown final : public QObject {
 public:
  LayOutWhenShown(QWidget& window, std::function<void()> lay_out)
      : QObject(&window), window_(window), lay_out_(std::move(lay_out)) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      window_.removeEventFilter(this);
      lay_out_();
      deleteLater();
    }
    return false;
  }

 private:
  QWidget& window_;
  std::function<void()> lay_out_;
};

}  // namespace

void lay_out_text_when_shown(QWidget& window, std::function<void()> lay_out) {
  if (window.isVisible())
    lay_out();
  else
    new LayOutWhenShown(window, std::move(lay_out));
}

void centre_window_on_screen(QWidget& window) {
  place_centred(window);
  if (!window.isVisible() && window.frameGeometry().size() == window.size() &&
      !window.property(kCentreWhenFramed).toBool())
    new CentreWhenFramed(window);
}

void keep_fixed_size(QWidget& window, QSize size) {
  new FixedSize(window, size);
}

}  // namespace qm
