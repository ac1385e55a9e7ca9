#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace qm {

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
  env.show_notice = [](const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle), text,
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
  };
  env.gamepad = !qEnvironmentVariableIsSet("QM_NO_GAMEPAD");
  env.replays = ReplayFolder::default_folder();
  return env;
}

int MainWindow::StoreForwarder::read_integer(const std::string& name, int default_value) {
  return store_ ? store_->read_integer(name, default_value) : default_value;
}

void MainWindow::StoreForwarder::write_integer(const std::string& name, int value) {
  if (store_) store_->write_integer(name, value);
}

void MainWindow::StoreForwarder::write_integers(std::span<const Value> values) {
  if (store_) store_->write_integers(values);
}

int MainWindow::StoreForwarder::write_higher(const std::string& name, int value, Range valid) {
  return store_ ? store_->write_higher(name, value, valid) : value;
}

MainWindow::MainWindow(WindowEnvironment env, std::unique_ptr<PicturesAhead> ahead)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      env_(std::move(env)),
      ahead_(std::move(ahead)) {
  scene().set_listener(this);
  clock_.start();
  connect(&fade_frames_, &QTimer::timeout, this, &MainWindow::fade_frame);
  pm_0_menu_ = new QMenu(this);

  setWindowTitle(QString::fromLatin1(kApplicationTitle));
  move_out_of_sight();
  store_ = std::make_unique<SettingsStore>();
  // Shown once the command that failed has run to its end, so that a window it shows or raises
  // does not cover the message.
  store_->set_reporter([this](const std::string& message) {
    if (!env_.show_notice) return;
    QTimer::singleShot(0, this,
                       [this, text = QString::fromStdString(message)] { env_.show_notice(text); });
  });
  fullscreen_mode_ = store_->read_valid("FullscreenMode", 1, {0, 1}) != 0;
  // The game-menu button's click area is fixed in the window's top-left corner.
  scene().set_rect(box::btn_game_menu_top, Rect{0, 0, 36, 32});
  run_layout(true);
  key_names_ = build_key_names();
  load_key_bindings(settings_, key_bindings_);
  build_button_hints(scene(), key_names_, key_bindings_, kModeToGame);
  // Drawing is double-buffered by the composed picture; the rest of the creation is the device's.
  session_.create(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));

  watch_timer_.setSingleShot(true);
  watch_timer_.setTimerType(Qt::PreciseTimer);
  connect(&watch_timer_, &QTimer::timeout, this, &MainWindow::play_replay);

  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  qApp->installEventFilter(this);
  gamepad_pending_ = env_.gamepad;
}

void MainWindow::start_gamepad() {
  if (quit_requested_) return;
  gamepad_ = std::make_unique<GamepadSource>(session_, [this] {
    return (isActiveWindow() || keyboard_claimed()) && isEnabled() &&
           !QApplication::activePopupWidget();
  });
}

MainWindow::~MainWindow() {
  session_.end_game();
  qApp->removeEventFilter(this);
  scene().set_listener(nullptr);
}

void MainWindow::run_layout(bool starting) {
  SkinLayoutResult result =
      Gfx_Load_Skin(scene(), env_.program_dir, fullscreen_mode_, env_.screen_size(), ahead_.get());
  ahead_.reset();
  pictures_.prune(scene());
  plain_let_go_for_ = 0;
  skin_lcd_ = result.lcd;
  set_lcd_look(read_lcd_look([this](const std::string& key,
                                    int fallback) { return settings_.read_integer(key, fallback); },
                             skin_lcd_));
  const WindowProps& props = scene().window();
  // The key colour's pixels are cut out twice: by the window's shape, which an X11 desktop without
  // a compositor honours, and as transparent pixels, which compositors (Wayland's, XWayland's, a
  // compositing window manager's) show through even where they ignore the shape. Only that window
  // needs an alpha channel: a full-screen one is opaque, so that the window system makes no
  // screen-sized translucent surface and no paint clears one first. The kind of surface is chosen
  // when the native window is made: one made already is made anew when next shown.
  if (testAttribute(Qt::WA_TranslucentBackground) != props.color_key) {
    setAttribute(Qt::WA_TranslucentBackground, props.color_key);
    surface_outdated_ = windowHandle() != nullptr;
  }
  resize(std::max(props.client_width, 1), std::max(props.client_height, 1));
  if (result.status == SkinLayoutResult::Status::Done) return;
  if (env_.show_error) env_.show_error(QString::fromStdString(result.message));
  if (starting || result.status != SkinLayoutResult::Status::Stopped) request_quit();
}

void MainWindow::move_out_of_sight() {
  ScreenSize screen = env_.screen_size();
  move(-screen.width, -screen.height);
}

void MainWindow::rebuild_button_hints() {
  build_button_hints(scene(), key_names_, key_bindings_,
                     game().state().gam_mode == mode_time ? kModeToGame : kModeToTime);
}

void MainWindow::rebuild_mode_hint(int gam_mode) {
  build_mode_hint(scene(), key_names_, key_bindings_, gam_mode);
}

void MainWindow::release_held_buttons() {
  dispatch_.release_held_keys();
  if (gamepad_) gamepad_->release_held();
}

void MainWindow::switch_on() {
  session_.switch_on();
}

void MainWindow::FormActivate() {
  if (!splash_pending) return;
  splash_pending = false;
  if (show_splash) show_splash();
}

void MainWindow::request_quit() {
  quit_requested_ = true;
  QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  gamepad_.reset();
  sound_.Snd_Shutdown();
  store_.reset();
  event->accept();
  // Closing the main window ends the program even while other windows are open.
  request_quit();
}

}  // namespace qm
