#include "display/main_window.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTime>
#include <QToolTip>
#include <QWindow>

#include "input/qt_keys.h"

namespace qm {

namespace {

QColor colour_of(std::uint32_t windows_colour) {
  return QColor(windows_colour & 0xFF, (windows_colour >> 8) & 0xFF, (windows_colour >> 16) & 0xFF);
}

QRect qrect(const Rect& r) {
  return QRect(r.left, r.top, r.width, r.height);
}

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

// Where a client may not move its own window, the compositor does the dragging.
bool compositor_moves_windows() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

WindowEnvironment default_window_environment() {
  WindowEnvironment env;
  env.program_dir = QCoreApplication::applicationDirPath().toStdString();
  env.screen_size = [] {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ScreenSize{screen->geometry().width(), screen->geometry().height()}
                  : ScreenSize{};
  };
  env.show_error = [](const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle), text,
                    QMessageBox::Ok);
    // Without a window manager only an explicit activation gives the box the keyboard.
    box.show();
    box.activateWindow();
    box.exec();
  };
  return env;
}

int TForm1::StoreForwarder::read_integer(const std::string& name, int default_value) {
  return store_ ? store_->read_integer(name, default_value) : default_value;
}

void TForm1::StoreForwarder::write_integer(const std::string& name, int value) {
  if (store_) store_->write_integer(name, value);
}

void TForm1::StoreForwarder::write_integers(std::span<const Value> values) {
  if (store_) store_->write_integers(values);
}

TForm1::TForm1(WindowEnvironment env)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      env_(std::move(env)),
      translucent_key_(compositor_moves_windows()) {
  scene_.set_listener(this);
  game_ = std::make_unique<Game>(scene_, timer_host_, Ports{sound_, settings_, *this, *this});
  pm_0_menu_ = new QMenu(this);

  setWindowTitle(QString::fromLatin1(kApplicationTitle));
  move_out_of_sight();
  game_->lcd().fill_tables();
  store_ = std::make_unique<SettingsStore>();
  fullscreen_mode_ = store_->read_bool("FullscreenMode", true);
  // The game-menu button's click area is fixed in the window's top-left corner.
  scene_.set_rect(box::btn_game_menu_top, Rect{0, 0, 36, 32});
  run_layout();
  key_names_ = build_key_names();
  load_key_bindings(settings_, key_bindings_);
  build_button_hints(scene_, key_names_, key_bindings_, kModeToGame);
  // Drawing is double-buffered by the composed picture; the passage table, the high scores, the
  // held flags and the generator's seed are the engine's part of the creation.
  game_->form_create(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));

  setAttribute(Qt::WA_OpaquePaintEvent, !translucent_key_);
  setAttribute(Qt::WA_TranslucentBackground, translucent_key_);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  qApp->installEventFilter(this);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  scene_.set_listener(nullptr);
}

void TForm1::run_layout() {
  SkinLayoutResult result =
      Gfx_Load_Skin(scene_, env_.program_dir, fullscreen_mode_, env_.screen_size());
  pictures_.prune(scene_);
  const WindowProps& props = scene_.window();
  resize(std::max(props.client_width, 1), std::max(props.client_height, 1));
  if (result.status == SkinLayoutResult::Status::Done) return;
  if (env_.show_error) env_.show_error(QString::fromStdString(result.message));
  if (result.status == SkinLayoutResult::Status::ConfigMissing) request_quit();
}

void TForm1::move_out_of_sight() {
  ScreenSize screen = env_.screen_size();
  move(-screen.width, -screen.height);
}

void TForm1::rebuild_button_hints() {
  build_button_hints(scene_, key_names_, key_bindings_,
                     game_->state().gam_mode == mode_time ? kModeToGame : kModeToTime);
}

void TForm1::rebuild_mode_hint(int gam_mode) {
  build_mode_hint(scene_, key_names_, key_bindings_, gam_mode);
}

TimeOfDay TForm1::local_time() {
  QTime now = QTime::currentTime();
  return {now.hour(), now.minute(), now.second()};
}

void TForm1::toggle_display_mode() {
  fullscreen_mode_ = !fullscreen_mode_;
  settings_.write_integer("FullscreenMode", fullscreen_mode_ ? 1 : 0);
  move_out_of_sight();
  run_layout();
  centre_on_screen();
}

void TForm1::centre_on_screen() {
  ScreenSize screen = env_.screen_size();
  QPoint origin;
  if (QScreen* primary = QGuiApplication::primaryScreen()) origin = primary->geometry().topLeft();
  const WindowProps& props = scene_.window();
  WindowPosition at = qm::centre_on_screen(props.client_width, props.client_height, screen);
  QRect geometry(origin + QPoint(at.left, at.top),
                 QSize(std::max(props.client_width, 1), std::max(props.client_height, 1)));
  // Without a window manager only the geometry makes a window cover the screen.
  setWindowState(fullscreen_mode_ ? Qt::WindowFullScreen : Qt::WindowNoState);
  setGeometry(geometry);
  show();
  raise();
  activateWindow();
}

void TForm1::switch_on() {
  game_->state().gam_mode = mode_time;
  game_->Gam_Set_Mode();
}

void TForm1::FormActivate() {
  if (!splash_pending) return;
  splash_pending = false;
  if (show_splash) show_splash();
}

void TForm1::request_quit() {
  quit_requested_ = true;
  QCoreApplication::quit();
}

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

// ---- keyboard ----

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
      dispatch_.release_held_keys();
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
    default:
      break;
  }
  return QWidget::event(event);
}

// ---- mouse ----

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

void TForm1::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_box_) return;
  // The release belongs to the box that took the press, wherever the pointer is now.
  BoxId pressed = pressed_box_;
  pressed_box_ = 0;
  dragging_ = false;
  if (int binding = binding_of(pressed)) release(binding);
  if (pressed == box::btn_game_menu_top && box_at(event->position().toPoint()) == pressed)
    emit gameMenuClicked();
  update_cursor(box_at(event->position().toPoint()));
}

void TForm1::closeEvent(QCloseEvent* event) {
  sound_.Snd_Shutdown();
  store_.reset();
  event->accept();
  // Closing the main window ends the program even while other windows are open.
  request_quit();
}

// ---- painting ----

QRect TForm1::client_rect() const {
  const WindowProps& p = scene_.window();
  return QRect(0, 0, std::max(p.client_width, 0), std::max(p.client_height, 0));
}

void TForm1::box_changed(BoxId, const Rect& old_rect, const Rect& new_rect) {
  const QRect area = (qrect(old_rect) | qrect(new_rect)) & client_rect();
  if (area.isEmpty()) return;
  dirty_ += area;
  schedule_flush();
  update(area);
}

void TForm1::window_changed() {
  dirty_ = client_rect();
  schedule_flush();
  update();
}

void TForm1::schedule_flush() {
  // Composing (and reshaping the window) runs once the current handler is done, before the
  // repaint that shows it.
  if (flush_pending_) return;
  flush_pending_ = true;
  QMetaObject::invokeMethod(
      this, [this] { flush(); }, Qt::QueuedConnection);
}

const QImage& TForm1::composed() {
  flush();
  return buffer_;
}

void TForm1::flush() {
  flush_pending_ = false;
  const QRect client = client_rect();
  if (buffer_.size() != client.size()) {
    buffer_ = QImage(client.size(), QImage::Format_ARGB32_Premultiplied);
    dirty_ = client;
    cut_ = QRegion();
    mask_dirty_ = true;
  }
  const QRegion dirty = dirty_ & client;
  dirty_ = QRegion();
  for (const QRect& r : dirty) compose(r);
  if (scene_.window().color_key) {
    for (const QRect& r : dirty) update_cut_out(r);
  } else if (!cut_.isEmpty()) {
    cut_ = QRegion();
    mask_dirty_ = true;
  }
  if (mask_dirty_) apply_mask();
}

void TForm1::compose(const QRect& rect) {
  const WindowProps& props = scene_.window();
  QPainter p(&buffer_);
  p.setClipRect(rect);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(rect, colour_of(props.color));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (BoxId id : Scene::stacking_order()) {
    const Box& b = scene_.box(id);
    if (!b.visible || !b.picture || b.rect.width <= 0 || b.rect.height <= 0) continue;
    const QRect area = qrect(b.rect);
    if (!area.intersects(rect)) continue;
    switch (b.fit) {
      case Fit::TopLeft: {
        const QImage& image = pictures_.image(b);
        p.drawImage(area.topLeft(), image,
                    QRect(0, 0, std::min(image.width(), area.width()),
                          std::min(image.height(), area.height())));
        break;
      }
      case Fit::Center: {
        const QImage& image = pictures_.image(b);
        const QPoint at = area.topLeft() + QPoint((area.width() - image.width()) / 2,
                                                  (area.height() - image.height()) / 2);
        p.save();
        p.setClipRect(area & rect);
        p.drawImage(at, image);
        p.restore();
        break;
      }
      case Fit::Stretch:
        // Scaled while drawn, within the clip only: no second, screen-sized copy of the picture.
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(area, pictures_.image(b));
        p.restore();
        break;
    }
  }
  p.end();
  if (translucent_key_ && props.color_key) {
    // Key pixels become fully transparent; the compositor shows what lies below.
    const QRgb key = colour_of(props.key_color).rgb();
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(buffer_.scanLine(y));
      for (int x = rect.left(); x <= rect.right(); ++x)
        if (line[x] == key) line[x] = 0;
    }
  }
}

void TForm1::update_cut_out(const QRect& rect) {
  const QRgb key = translucent_key_ ? 0 : colour_of(scene_.window().key_color).rgb();
  bool has_key = false;
  for (int y = rect.top(); y <= rect.bottom() && !has_key; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(buffer_.constScanLine(y));
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (line[x] == key) {
        has_key = true;
        break;
      }
  }
  // The common case, a segment changing inside the body, leaves the shape alone.
  if (!has_key && !cut_.intersects(rect)) return;
  // As a bitmap, MaskOutColor's mask has its set bits, the pixels QRegion takes, on the key colour.
  const QImage mask = buffer_.copy(rect).createMaskFromColor(key, Qt::MaskOutColor);
  cut_ = cut_.subtracted(rect).united(QRegion(QBitmap::fromImage(mask)).translated(rect.topLeft()));
  mask_dirty_ = true;
}

QRegion TForm1::shown_region() const {
  return QRegion(client_rect()).subtracted(cut_);
}

void TForm1::apply_mask() {
  mask_dirty_ = false;
  if (!scene_.window().color_key) {
    clearMask();
    return;
  }
  QRegion shown = shown_region();
  // An empty mask would mean no mask at all; a pixel outside the window shows nothing instead.
  setMask(shown.isEmpty() ? QRegion(-1, -1, 1, 1) : shown);
}

void TForm1::paintEvent(QPaintEvent* event) {
  flush();
  QPainter p(this);
  if (translucent_key_) p.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& r : event->region()) p.drawImage(r.topLeft(), buffer_, r);
}

}  // namespace qm
