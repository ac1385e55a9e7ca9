#include "ui/manual_form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <string>

#include "skin/file_bytes.h"
#include "skin/ini_file.h"
#include "skin/picture_variants.h"
#include "ui/qt/dialog_support.h"

namespace qm {

namespace {

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 14;
constexpr int kMargin = 4;
// Config.ini may ask for anything; the window stays within what a screen can show.
constexpr int kLargestSide = 4096;

}  // namespace

QImage manual_button_drawing(ButtonGlyph glyph, bool pressed) {
  const QColor face = pressed ? QColor(0x1c, 0x44, 0xa8) : QColor(0x28, 0x5c, 0xd0);
  const QColor light(0x9c, 0xbc, 0xff);
  const QColor dark(0x0c, 0x20, 0x58);
  QImage image(kButtonWidth, kButtonHeight, QImage::Format_RGB32);
  image.fill(face);
  QPainter p(&image);
  const int r = kButtonWidth - 1;
  const int b = kButtonHeight - 1;
  // Raised: lit from the top left; pressed: the same edges in shadow.
  p.setPen(pressed ? dark : light);
  p.drawLine(0, 0, r, 0);
  p.drawLine(0, 0, 0, b);
  p.setPen(pressed ? light : dark);
  p.drawLine(1, b, r, b);
  p.drawLine(r, 1, r, b);

  const int shift = pressed ? 1 : 0;
  p.translate(shift, shift);
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  switch (glyph) {
    case ButtonGlyph::Next:
      p.drawPolyline(QPolygon({QPoint(6, 3), QPoint(9, 6), QPoint(6, 9)}));
      break;
    case ButtonGlyph::Previous:
      p.drawPolyline(QPolygon({QPoint(9, 3), QPoint(6, 6), QPoint(9, 9)}));
      break;
    case ButtonGlyph::Close:
      p.drawLine(5, 3, 10, 9);
      p.drawLine(10, 3, 5, 9);
      break;
  }
  return image;
}

TManualForm::TManualForm(const std::filesystem::path& program_dir, ShowError show_error)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      show_error_(std::move(show_error)) {
  setWindowTitle("Manual");
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);

  drawings_[btn_right_up].image = manual_button_drawing(ButtonGlyph::Next, false);
  drawings_[btn_right_down].image = manual_button_drawing(ButtonGlyph::Next, true);
  drawings_[btn_left_up].image = manual_button_drawing(ButtonGlyph::Previous, false);
  drawings_[btn_left_down].image = manual_button_drawing(ButtonGlyph::Previous, true);
  drawings_[btn_close_up].image = manual_button_drawing(ButtonGlyph::Close, false);
  drawings_[btn_close_down].image = manual_button_drawing(ButtonGlyph::Close, true);
  drawings_[btn_left_up].visible = false;
  drawings_[btn_left_down].visible = false;

  Gfx_Load_Manual(program_dir);

  // The buttons keep their distances to the edges whatever size the window was given.
  const int w = width();
  const int h = height();
  const QSize button(kButtonWidth, kButtonHeight);
  const QPoint next(w - kMargin - kButtonWidth, h - kMargin - kButtonHeight);
  const QPoint previous(kMargin, h - kMargin - kButtonHeight);
  const QPoint close(w - kMargin - kButtonWidth, kMargin);
  drawings_[btn_right_up].rect = drawings_[btn_right_down].rect = QRect(next, button);
  drawings_[btn_left_up].rect = drawings_[btn_left_down].rect = QRect(previous, button);
  drawings_[btn_close_up].rect = drawings_[btn_close_down].rect = QRect(close, button);

  centre_window_on_screen(*this);
}

void TManualForm::Gfx_Load_Manual(const std::filesystem::path& program_dir) {
  const IniFile ini = load_config_ini(program_dir).ini.value_or(IniFile::parse(""));
  folder_ = with_trailing_backslash(ini.read_string("Manual", "ManualDir", "Graphics\\Manual\\"));
  const int height = std::clamp(ini.read_integer("Manual", "ManualHeight", 535), 1, kLargestSide);
  const int width = std::clamp(ini.read_integer("Manual", "ManualWidth", 340), 1, kLargestSide);
  setFixedSize(width, height);
}

void TManualForm::read_pages_up_to(int n) {
  while (pages_read_ < std::min(n, kPageCount) && !reading_stopped_) {
    const int page = ++pages_read_;
    const auto file = named_file(folder_ + std::to_string(page) + ".bmp");
    if (!file) {
      page_pictures_[page] = missing_picture_marker();
      pages_[page] = to_qimage(page_pictures_[page], PictureLook::Opaque);
      continue;
    }
    PictureResult loaded = load_scalable_picture(*file);
    if (!loaded.ok()) {
      reading_stopped_ = true;
      show_error_(QString::fromStdString(naming_file(loaded.error, *file)));
      return;
    }
    // Pages are drawn opaque, whatever alpha a bitmap may carry; a page without alpha is drawn
    // from the decoded bytes as its file holds them: a palette bitmap at a byte a pixel.
    page_pictures_[page] = std::move(loaded.picture);
    pages_[page] = to_qimage(page_pictures_[page], PictureLook::Opaque);
  }
}

const QImage& TManualForm::page(int n) {
  read_pages_up_to(n);
  return pages_[std::clamp(n, 0, kPageCount)];
}

void TManualForm::show_manual(const QWidget* owner) {
  Vid_Show_Page();
  // Wayland keeps no window above all others: the manual stays at least above the handheld.
  if (owner && owner->windowHandle()) {
    winId();
    windowHandle()->setTransientParent(owner->windowHandle());
  }
  show();
  raise();
  activateWindow();
}

void TManualForm::set_visible(DrawingId id, bool visible) {
  if (drawings_[id].visible == visible) return;
  drawings_[id].visible = visible;
  update(drawings_[id].rect);
}

void TManualForm::Vid_Show_Page() {
  im_page_top_ = page(manual_page_);
  page_shown_ = ShownPicture(page_pictures_[manual_page_], PictureLook::Opaque);
  update();
  if (manual_page_ == 1) {
    set_visible(btn_left_up, false);
    set_visible(btn_left_down, false);
  } else if (manual_page_ == kPageCount) {
    set_visible(btn_right_up, false);
    set_visible(btn_right_down, false);
  } else {
    for (DrawingId id : {btn_right_up, btn_right_down, btn_left_up, btn_left_down})
      set_visible(id, true);
  }
}

void TManualForm::Inp_left_down() {
  set_visible(btn_left_up, false);
}

// The page stays within 1..14 even when a mouse press and a key turn the page at the same time.
void TManualForm::Inp_left_up() {
  if (manual_page_ > 1) --manual_page_;
  Vid_Show_Page();
}

void TManualForm::Inp_right_down() {
  set_visible(btn_right_up, false);
}

void TManualForm::Inp_right_up() {
  if (manual_page_ < kPageCount) ++manual_page_;
  Vid_Show_Page();
}

void TManualForm::Inp_esc_down() {
  set_visible(btn_close_up, false);
}

void TManualForm::Inp_esc_up() {
  set_visible(btn_close_up, true);
  hide();
}

void TManualForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, page_shown_.at(devicePixelRatio()));
  // Each pressed drawing lies below its raised one.
  for (DrawingId id :
       {btn_right_down, btn_right_up, btn_left_down, btn_left_up, btn_close_down, btn_close_up}) {
    const Drawing& d = drawings_[id];
    if (d.visible) p.drawImage(d.rect.topLeft(), d.image);
  }
}

void TManualForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  const auto hit = [&](DrawingId id) {
    return drawings_[id].visible && drawings_[id].rect.contains(at);
  };
  if (hit(btn_left_up)) {
    pressed_ = Pressed::Left;
    Inp_left_down();
  } else if (hit(btn_right_up)) {
    pressed_ = Pressed::Right;
    Inp_right_down();
  } else if (hit(btn_close_up)) {
    pressed_ = Pressed::Close;
    Inp_esc_down();
  } else if (!hit(btn_left_down) && !hit(btn_right_down) && !hit(btn_close_down)) {
    if (drag_.begin(at)) pressed_ = Pressed::Page;
  }
}

void TManualForm::mouseMoveEvent(QMouseEvent* event) {
  if (pressed_ != Pressed::Page || !(event->buttons() & Qt::LeftButton)) return;
  drag_.follow(event->position().toPoint());
}

// The release belongs to the button that took the press, wherever the pointer is now.
void TManualForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const Pressed pressed = pressed_;
  pressed_ = Pressed::None;
  switch (pressed) {
    case Pressed::Left:
      Inp_left_up();
      break;
    case Pressed::Right:
      Inp_right_up();
      break;
    case Pressed::Close:
      Inp_esc_up();
      break;
    case Pressed::Page:
      drag_.end();
      break;
    case Pressed::None:
      break;
  }
}

void TManualForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      Inp_esc_down();
      break;
    case Qt::Key_Left:
      if (manual_page_ > 1) Inp_left_down();
      break;
    case Qt::Key_Right:
      if (manual_page_ < kPageCount) Inp_right_down();
      break;
    default:
      break;
  }
}

// A held key repeats only its press; the page turns once, at the real release.
void TManualForm::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  switch (event->key()) {
    case Qt::Key_Escape:
      Inp_esc_up();
      break;
    case Qt::Key_Left:
      if (manual_page_ > 1) Inp_left_up();
      break;
    case Qt::Key_Right:
      if (manual_page_ < kPageCount) Inp_right_up();
      break;
    default:
      break;
  }
}

}  // namespace qm
