#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "ui/game_menu.h"

class QAction;
class QMenu;

namespace qm {

class MenuHost;

// pm_0_menu, the main window's pop-up menu: its sixteen entries, their shortcuts and actions.
// The shortcuts are plain keys on the main window; each runs the menu's opening action first,
// exactly as if the menu were opening, then the entry's action, without showing the menu.
class PopupMenu : public QObject {
  Q_OBJECT

 public:
  static constexpr int kEntryCount = 16;

  // Fills the main window's menu, which must be empty, and owns the game menu.
  PopupMenu(MenuHost& host, QMenu& menu);

  QMenu& pm_0_menu() { return menu_; }
  GameMenu& game_menu() { return game_menu_; }

  // Entry i = 1..16 in menu order, separators included.
  QAction& entry(int i) const { return *entries_[i]; }
  QString caption(int i) const;

  QAction& pm_10_fullscreen() const { return entry(10); }
  QAction& pm_11_splashscreen() const { return entry(11); }

  // Runs each time the menu is about to open, and before every shortcut's action.
  void pm_0_menuPopup();

  void pm_1_aboutClick();
  void pm_2_readmeClick();
  void pm_3_whatsnewClick();
  void pm_4_manualClick();
  void pm_6_configClick();
  void pm_7_keysClick();
  void pm_8_hiscoreClick();
  void pm_10_fullscreenClick();
  void pm_11_splashscreenClick();
  void lcd_lookClick();
  void watch_replayClick();
  void save_screenshotClick();
  void pm_14_exitClick();

 private:
  MenuHost& host_;
  QMenu& menu_;
  std::array<QAction*, kEntryCount + 1> entries_{};  // 1..16
  GameMenu game_menu_;
};

}  // namespace qm
