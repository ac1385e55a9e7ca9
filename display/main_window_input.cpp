#include "display/main_window.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <QWindow>

#include "display/window_platform.h"
#include "input/qt_keys.h"
#include "skin/dialog_support.h"

namespace qm {

namespace {

bool is_drag_area(BoxId id) {
  return id == box::im_background || id == box::im_background_screen_top ||
         id == box::btn_set_top || id == box::btn_halt_top;
}

// The binding a click area works, 0 for every other box.
int binding_of(BoxId id) {
  switch (id) {
    case box::btn_ama_top:
      return kAma;
    case box::btn_pro_top:
      return kPro;
    case box::btn_time_top:
      return kTime;
    case box::btn_mode_top:
      return kMode;
    case box::btn_up_top:
      return kUp;
    case box::btn_left_top:
      return kLeft;
    case box::btn_right_top:
      return kRight;
    case box::btn_down_top:
      return kDown;
    default:
      return 0;
  }
}

}  // namespace

void TForm1::press(int binding) {
  Game& g = *game_;
  switch (binding) {
    case kAma:
      g.Inp_ama_down();
      break;
    case kPro:
      g.Inp_pro_down();
      break;
    case kTime:
      g.Inp_time_down();
      break;
    case kMode:
      g.Inp_mode_down();
      break;
    case kUp:
      g.Inp_up_down();
      break;
    case kLeft:
      g.Inp_left_down();
      break;
    case kRight:
      g.Inp_right_down();
      break;
    case kDown:
      g.Inp_down_down();
      break;
    default:
      break;
  }
}

void TForm1::release(int binding) {
  Game& g = *game_;
  switch (binding) {
    case kAma:
      g.Inp_ama_up();
      break;
    case kPro:
      g.Inp_pro_up();
      break;
    case kTime:
      g.Inp_time_up();
      break;
    case kUp:
      g.Inp_up_up();
      break;
    case kLeft:
      g.Inp_left_up();
      break;
    case kRight:
      g.Inp_right_up();
      break;
    case kDown:
      g.Inp_down_up();
      break;
    default:
      break;  // MODE acts on press only
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // Key preview: every key event for this window reaches the dispatch first, whatever element
  // has the focus. A key event travels up the parent chain; it is taken at its first receiver.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this || !isEnabled()) return false;
  QWidget* focus = QApplication::focusWidget();
  QWidget* receiver = focus && focus->window() == this ? focus : this;
  if (widget != receiver) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::KeyPress) {
    FormKeyDown(windows_key_code(*key));
  } else if (!key->isAutoRepeat()) {
    // The keyboard's repeat comes as release and press pairs: only the real release counts.
    FormKeyUp(windows_key_code(*key));
  }
  return false;
}

bool TForm1::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowDeactivate:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::Hide:
      // A key let go while another window has the keyboard never reaches us: let the buttons go.
      release_held_buttons();
      break;
    case QEvent::WindowStateChange:
      // A Wayland compositor takes a new state on the next picture: one is sent even when the
      // size stays, as a still game shows none, or leaving full screen would not be heard.
      if (event->spontaneous()) update();
      break;
    case QEvent::ToolTip: {
      auto* help = static_cast<QHelpEvent*>(event);
      BoxId id = box_at(help->pos());
      if (id && !scene_.box(id).hint.empty())
        QToolTip::showText(help->globalPos(), QString::fromStdString(scene_.box(id).hint), this,
                           qrect(scene_.box(id).rect));
      else
        QToolTip::hideText();
      return true;
    }
    case QEvent::ScreenChangeInternal:
      // Another screen may have another device pixel ratio: the pictures follow at once.
      window_changed();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

BoxId TForm1::box_at(QPoint pos) const {
  const auto& order = Scene::stacking_order();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const Box& b = scene_.box(*it);
    if (b.visible && b.rect.width > 0 && b.rect.height > 0 && qrect(b.rect).contains(pos))
      return *it;
  }
  return 0;
}

void TForm1::update_cursor(BoxId id) {
  switch (id ? scene_.box(id).cursor : Cursor::Arrow) {
    case Cursor::Hand:
      setCursor(Qt::PointingHandCursor);
      break;
    case Cursor::Help:
      setCursor(Qt::WhatsThisCursor);
      break;
    case Cursor::Arrow:
      unsetCursor();
      break;
  }
}

void TForm1::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    // The menu takes the mouse and the left release never comes: a held button is let go now.
    release_pressed_box();
    pm_0_menu_->popup(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton || pressed_box_) return;
  pressed_box_ = box_at(pos);
  if (int binding = binding_of(pressed_box_)) {
    press(binding);
  } else if (is_drag_area(pressed_box_) && !fullscreen_mode_) {
    if (compositor_moves_windows() && windowHandle()) {
      windowHandle()->startSystemMove();
    } else {
      dragging_ = true;
      const Rect& r = scene_.box(pressed_box_).rect;
      drag_ = pos - QPoint(r.left, r.top);
    }
  }
}

void TForm1::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (dragging_ && (event->buttons() & Qt::LeftButton) && !fullscreen_mode_) {
    const Rect& r = scene_.box(pressed_box_).rect;
    const QPoint in_box = pos - QPoint(r.left, r.top);
    move(x(), y() + in_box.y() - drag_.y());
    move(x() + in_box.x() - drag_.x(), y());
    return;
  }
  if (!pressed_box_) update_cursor(box_at(pos));
}

BoxId TForm1::release_pressed_box() {
  const BoxId pressed = pressed_box_;
  pressed_box_ = 0;
  dragging_ = false;
  if (int binding = binding_of(pressed)) release(binding);
  return pressed;
}

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_box_) return;
  // The release belongs to the box that took the press, wherever the pointer is now.
  const BoxId pressed = release_pressed_box();
  if (pressed == box::btn_game_menu_top && box_at(event->position().toPoint()) == pressed)
    emit gameMenuClicked();
  update_cursor(box_at(event->position().toPoint()));
}

}  // namespace qm
