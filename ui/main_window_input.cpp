#include "ui/main_window.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QToolTip>
#include <QWindow>
#include <optional>

#include "input/qt_keys.h"
#include "ui/qt/popup_place.h"
#include "ui/qt/window_platform.h"

namespace qm {

namespace {

bool is_drag_area(BoxId id) {
  return id == box::im_background || id == box::im_background_screen_top ||
         id == box::btn_set_top || id == box::btn_halt_top;
}

// The device button a click area works.
std::optional<Button> button_of_box(BoxId id) {
  switch (id) {
    case box::btn_ama_top:
      return Button::Ama;
    case box::btn_pro_top:
      return Button::Pro;
    case box::btn_time_top:
      return Button::Time;
    case box::btn_mode_top:
      return Button::Mode;
    case box::btn_up_top:
      return Button::Up;
    case box::btn_left_top:
      return Button::Left;
    case box::btn_right_top:
      return Button::Right;
    case box::btn_down_top:
      return Button::Down;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Esc stops watching a replay instead of ending the program: taken before its shortcut.
  if (event->type() == QEvent::ShortcutOverride && session_.watching() &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    session_.stop_watching();
    event->accept();
    return true;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  QWidget* window = widget->window();
  if (event->type() == QEvent::MouseButtonPress && window != this) keyboard_held_by_ = nullptr;
  // Key preview: every key event for this window reaches the dispatch first, whatever element
  // has the focus. A key event travels up the parent chain; it is taken at its first receiver.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  const bool taken =
      window != this && keyboard_claimed() && window->windowHandle() == keyboard_held_by_.data();
  if ((window != this && !taken) || !isEnabled()) return false;
  QWidget* focus = QApplication::focusWidget();
  QWidget* receiver = focus && focus->window() == window ? focus : window;
  if (widget != receiver) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::KeyPress) {
    // The menu's shortcuts (F12, Esc...) answer only in the active window: a taken key works them.
    if (taken && trigger_shortcut(QKeySequence(key->keyCombination()))) return true;
    FormKeyDown(windows_key_code(*key));
  } else if (!key->isAutoRepeat()) {
    // The keyboard's repeat comes as release and press pairs: only the real release counts.
    FormKeyUp(windows_key_code(*key));
  }
  // A key taken from another window is this window's alone.
  return taken;
}

bool MainWindow::trigger_shortcut(const QKeySequence& keys) {
  for (QShortcut* shortcut : findChildren<QShortcut*>())
    if (shortcut->isEnabled() && shortcut->key() == keys) {
      emit shortcut->activated();
      return true;
    }
  return false;
}

void MainWindow::claim_keyboard() {
  if (isActiveWindow()) return;
  // Where the window system grants the request (X11, a Wayland compositor with xdg-activation),
  // the activation that follows ends the claim.
  activateWindow();
  QWindow* holder = QGuiApplication::focusWindow();
  keyboard_held_by_ = holder != windowHandle() ? holder : nullptr;
}

bool MainWindow::keyboard_claimed() const {
  return keyboard_held_by_ && QGuiApplication::focusWindow() == keyboard_held_by_.data();
}

bool MainWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      keyboard_held_by_ = nullptr;
      break;
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
      if (id && !scene().box(id).hint.empty())
        QToolTip::showText(help->globalPos(), QString::fromStdString(scene().box(id).hint), this,
                           qrect(scene().box(id).rect));
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

BoxId MainWindow::box_at(QPoint pos) const {
  const auto& order = Scene::stacking_order();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const Box& b = scene().box(*it);
    if (b.visible && b.rect.width > 0 && b.rect.height > 0 && qrect(b.rect).contains(pos))
      return *it;
  }
  return 0;
}

void MainWindow::update_cursor(BoxId id) {
  switch (id ? scene().box(id).cursor : Cursor::Arrow) {
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

void MainWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  claim_keyboard();
  if (event->button() == Qt::RightButton) {
    // The menu takes the mouse and the left release never comes: a held button is let go now.
    release_pressed_box();
    popup_on_screen(*pm_0_menu_, *this, client_rect(), pos);
    return;
  }
  if (event->button() != Qt::LeftButton || pressed_box_) return;
  pressed_box_ = box_at(pos);
  if (auto button = button_of_box(pressed_box_)) {
    session_.press(*button);
  } else if (is_drag_area(pressed_box_) && !fullscreen_mode_ && !drag_.begin(pos)) {
    // The window system moves the window and keeps the pointer: this press sees no release.
    pressed_box_ = 0;
  }
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if ((event->buttons() & Qt::LeftButton) && !fullscreen_mode_ && drag_.follow(pos)) return;
  if (!pressed_box_) update_cursor(box_at(pos));
}

BoxId MainWindow::release_pressed_box() {
  const BoxId pressed = pressed_box_;
  pressed_box_ = 0;
  drag_.end();
  if (auto button = button_of_box(pressed)) session_.release(*button);
  return pressed;
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_box_) return;
  // The release belongs to the box that took the press, wherever the pointer is now.
  const BoxId pressed = release_pressed_box();
  if (pressed == box::btn_game_menu_top && box_at(event->position().toPoint()) == pressed)
    emit gameMenuClicked();
  update_cursor(box_at(event->position().toPoint()));
}

}  // namespace qm
