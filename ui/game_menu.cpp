#include "ui/game_menu.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstring>

#include "lcd/scene.h"
#include "ui/menu_host.h"
#include "ui/popup_menu.h"

namespace qm {

namespace {

constexpr int kRowHeight = 32;
constexpr int kPanelWidth = 256;
constexpr Rect kCollapsed{0, 0, 36, 32};
constexpr Rect kExpanded{0, 0, kPanelWidth, kRowHeight*(PopupMenu::kEntryCount + 1)};

// One row of the open game menu. Separator rows let every mouse event through to the window
// below; entry rows take only the left button, so that a right click still reaches the main
// window and opens the pop-up menu.
class MenuRow final : public QLabel {
 public:
  MenuRow(GameMenu& menu, int entry, QWidget* parent)
      : QLabel(parent), menu_(menu), entry_(entry) {}

 protected:
  void enterEvent(QEnterEvent*) override { menu_.la_menu_itemMouseEnter(*this); }
  void leaveEvent(QEvent*) override { menu_.la_menu_itemMouseLeave(*this); }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton)
      event->accept();
    else
      event->ignore();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) {
      event->ignore();
      return;
    }
    menu_.la_menu_itemMouseUp(entry_, rect().contains(event->position().toPoint()));
  }
  void contextMenuEvent(QContextMenuEvent* event) override { event->ignore(); }

 private:
  GameMenu& menu_;
  int entry_;
};

void set_background(QLabel& row, bool opaque) {
  row.setAutoFillBackground(opaque);
  row.update();
}

}  // namespace

GameMenu::GameMenu(MenuHost& host, PopupMenu& popup) : host_(host), popup_(popup) {
  Scene& scene = host_.scene();
  scene.set_picture(box::btn_game_menu_background, game_menu_background(1, false));
  scene.set_rect(box::btn_game_menu_background, kCollapsed);
  scene.set_rect(box::btn_game_menu_top, kCollapsed);
}

GameMenu::~GameMenu() {
  remove_rows();
}

void GameMenu::btn_game_menu_topClick() {
  game_menu_open_ = !game_menu_open_;
  Vid_Display_Game_Menu();
}

void GameMenu::Vid_Display_Game_Menu() {
  Scene& scene = host_.scene();
  if (!game_menu_open_) {
    remove_rows();
    scene.set_rect(box::btn_game_menu_background, kCollapsed);
    return;
  }
  remove_rows();
  if (scene.box(box::btn_game_menu_background).picture->width < kPanelWidth)
    scene.set_picture(box::btn_game_menu_background, game_menu_background());
  QFont font("Arial");
  font.setPixelSize(14);  // a character cell 16 pixels high
  QPalette palette;
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::Window, Qt::black);
  for (int i = 1; i <= PopupMenu::kEntryCount; ++i) {
    const QAction& action = popup_.entry(i);
    auto* row = new MenuRow(*this, i, &host_.main_window());
    row->setGeometry(0, kRowHeight * i, kPanelWidth, kRowHeight);
    row->setFixedSize(kPanelWidth, kRowHeight);
    row->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (action.isSeparator()) {
      row->setAttribute(Qt::WA_TransparentForMouseEvents);
    } else {
      QString text = "   " + popup_.caption(i);
      if (action.isChecked()) text += " [V]";
      row->setText(text);
      row->setFont(font);
      row->setPalette(palette);
      row->setCursor(Qt::PointingHandCursor);
      row->setEnabled(action.isEnabled());
    }
    row->show();
    row->raise();
    rows_.push_back(row);
  }
  scene.set_rect(box::btn_game_menu_background, kExpanded);
}

void GameMenu::close() {
  game_menu_open_ = false;
  Vid_Display_Game_Menu();
}

void GameMenu::la_menu_itemMouseEnter(QLabel& row) {
  set_background(row, true);
}
void GameMenu::la_menu_itemMouseLeave(QLabel& row) {
  set_background(row, false);
}

void GameMenu::la_menu_itemMouseUp(int entry, bool completes_click) {
  if (completes_click) popup_.entry(entry).trigger();
  close();
}

// Rows may be removed from inside one of their own mouse events, so they only disappear now and
// are deleted once that event has been handled completely.
void GameMenu::remove_rows() {
  for (const QPointer<QLabel>& row : rows_) {
    if (!row) continue;
    row->hide();
    row->deleteLater();
  }
  rows_.clear();
}

Picture game_menu_background(int scale, bool whole) {
  // 512 rows high, or as high as the open menu when its entries need more.
  const QSize size = whole ? QSize(kPanelWidth, std::max(512, kExpanded.height))
                           : QSize(kCollapsed.width, kCollapsed.height);
  QImage canvas(size * scale, QImage::Format_RGBA8888);
  canvas.setDevicePixelRatio(scale);
  canvas.fill(QColor(0, 0, 0, 204));
  {
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(0, 0, kPanelWidth, kRowHeight, Qt::black);
    for (int bar = 0; bar < 3; ++bar) p.fillRect(8, 10 + 4 * bar, 20, 3, Qt::white);
    if (whole) {
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      QFont font("Arial");
      font.setPixelSize(15);
      font.setBold(true);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRect(36, 0, 100, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter, "Game menu");
    }
  }
  auto image = std::make_shared<Image>();
  image->width = canvas.width();
  image->height = canvas.height();
  image->format = PictureFormat::Png;
  image->pixels.resize(static_cast<size_t>(image->width) * image->height * 4);
  for (int y = 0; y < image->height; ++y)
    std::memcpy(image->pixel(0, y), canvas.constScanLine(y), static_cast<size_t>(image->width) * 4);
  if (scale == 1)
    image->draw_at = [whole](int finer) { return game_menu_background(finer, whole); };
  return image;
}

}  // namespace qm
