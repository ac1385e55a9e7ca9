#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "ui/qt/picture_cache.h"
#include "ui/qt/window_drag.h"

namespace qm {

// TManualForm: the handheld's 14-page leaflet in a small borderless window above the others.
// Pages turn with the arrow buttons in the bottom corners or the Left and Right keys; the cross
// button or Esc hides the window; dragging the page moves it. It reopens at the page where it was
// closed.
class TManualForm : public QWidget {
  Q_OBJECT

 public:
  using ShowError = std::function<void(const QString& message)>;

  // Each button is a raised drawing lying exactly on top of its pressed drawing; hiding the
  // raised one shows the button pressed.
  enum DrawingId {
    btn_right_up,
    btn_right_down,
    btn_left_up,
    btn_left_down,
    btn_close_up,
    btn_close_down,
    kDrawingCount
  };
  struct Drawing {
    QRect rect;
    bool visible = true;
    QImage image;
  };

  static constexpr int kPageCount = 14;

  // Reads the window's size and the pages' folder from the Manual section of Config.ini in the
  // program's folder (every key takes its default when there is no such file). Pages are read when
  // first needed; `show_error` shows a decoder's message then.
  TManualForm(const std::filesystem::path& program_dir, ShowError show_error);

  // The menu entry "View manual": shows the current page and the window, without waiting, above
  // `owner` when given.
  void show_manual(const QWidget* owner = nullptr);

  void Vid_Show_Page();
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();
  void Inp_esc_down();
  void Inp_esc_up();

  int manual_page() const { return manual_page_; }
  // Page n = 1..14, read now with the pages before it if they have not been yet; a null image
  // when reading stopped before it.
  const QImage& page(int n);
  // How many pages have been read (or given up on) so far.
  int pages_read() const { return pages_read_; }
  // What the page box shows now.
  const QImage& im_page_top() const { return im_page_top_; }
  const Drawing& drawing(DrawingId id) const { return drawings_[id]; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  enum class Pressed { None, Left, Right, Close, Page };

  // Reads the window size and where the pages lie.
  void Gfx_Load_Manual(const std::filesystem::path& program_dir);
  // Reads the pages up to n in order; a page that cannot be decoded shows its message and leaves
  // the pages after it empty.
  void read_pages_up_to(int n);
  void set_visible(DrawingId id, bool visible);

  ShowError show_error_;
  std::array<QImage, kPageCount + 1> pages_;  // im_page_01 .. im_page_14
  std::array<Picture, kPageCount + 1> page_pictures_;
  std::string folder_;
  int pages_read_ = 0;
  bool reading_stopped_ = false;
  QImage im_page_top_;
  // The shown page at the window's device pixel ratio.
  ShownPicture page_shown_;
  std::array<Drawing, kDrawingCount> drawings_;
  int manual_page_ = 1;
  Pressed pressed_ = Pressed::None;
  WindowDrag drag_{*this};
};

// The six button drawings: a blue square with a white chevron (next, previous) or cross (close),
// raised or pressed; 16 x 14 pixels.
enum class ButtonGlyph { Next, Previous, Close };
QImage manual_button_drawing(ButtonGlyph glyph, bool pressed);

}  // namespace qm
