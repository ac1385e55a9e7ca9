#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <vector>

#include "lcd/image.h"

namespace qm {

class MenuHost;
class PopupMenu;

// The in-window game menu of the fullscreen layout: the three-bar button at the window's top-left
// corner, which expands into a translucent panel with one text row per pop-up menu entry.
class GameMenu : public QObject {
  Q_OBJECT

 public:
  // Gives the two game-menu boxes their place and the background its picture.
  GameMenu(MenuHost& host, PopupMenu& popup);
  ~GameMenu() override;

  bool game_menu_open() const { return game_menu_open_; }
  // The flag alone, rows left as they are (the display-mode toggle's step).
  void set_game_menu_open(bool open) { game_menu_open_ = open; }

  void btn_game_menu_topClick();
  // Builds or removes the rows according to game_menu_open.
  void Vid_Display_Game_Menu();
  // Close game menu.
  void close();

  // The rows of entries 1..15 (index 0..14) while the menu is open; empty while it is closed.
  const std::vector<QPointer<QLabel>>& rows() const { return rows_; }

  // The mouse reactions of an enabled row (entry 1..15).
  void la_menu_itemMouseEnter(QLabel& row);
  void la_menu_itemMouseLeave(QLabel& row);
  // A left-button release; `completes_click` when it lies on the row that took the press.
  void la_menu_itemMouseUp(int entry, bool completes_click);

 private:
  void remove_rows();

  MenuHost& host_;
  PopupMenu& popup_;
  bool game_menu_open_ = false;
  std::vector<QPointer<QLabel>> rows_;
};

// The background of btn_game_menu_background: 256 x 512, a black title strip 32 rows high with
// the three-bar symbol and "Game menu" in white, then black at 80 % opacity; drawn at `scale`
// pixels per logical pixel. Not `whole`: only the 36 x 32 a closed menu shows, the symbol, which
// needs no font: the box takes the whole picture when the menu first opens.
Picture game_menu_background(int scale = 1, bool whole = true);

}  // namespace qm
