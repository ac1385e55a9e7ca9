#include "ui/popup_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

#include "ui/menu_host.h"

namespace qm {

namespace {

struct EntrySpec {
  const char* caption;  // nullptr for a separator
  Qt::Key shortcut;     // Qt::Key_unknown for none
  const char* shortcut_text;
  bool checkable;
  void (PopupMenu::*click)();
};

constexpr Qt::Key kNone = Qt::Key_unknown;

const std::array<EntrySpec, PopupMenu::kEntryCount + 1> kEntries = {{
    {},
    {"About...", Qt::Key_F1, "F1", false, &PopupMenu::pm_1_aboutClick},
    {"View 'Readme.txt'", Qt::Key_F2, "F2", false, &PopupMenu::pm_2_readmeClick},
    {"View 'Whatsnew.txt'", Qt::Key_F3, "F3", false, &PopupMenu::pm_3_whatsnewClick},
    {"View manual", Qt::Key_F4, "F4", false, &PopupMenu::pm_4_manualClick},
    {nullptr, kNone, nullptr, false, nullptr},
    {"Edit configuration file", kNone, nullptr, false, &PopupMenu::pm_6_configClick},
    {"Key settings", kNone, nullptr, false, &PopupMenu::pm_7_keysClick},
    {"Reset Hiscores", kNone, nullptr, false, &PopupMenu::pm_8_hiscoreClick},
    {nullptr, kNone, nullptr, false, nullptr},
    {"Display in fullscreen mode", Qt::Key_F12, "F12", true, &PopupMenu::pm_10_fullscreenClick},
    {"Display splash screen at startup", kNone, nullptr, true, &PopupMenu::pm_11_splashscreenClick},
    {"LCD look...", kNone, nullptr, false, &PopupMenu::lcd_lookClick},
    {"Watch replay...", kNone, nullptr, false, &PopupMenu::watch_replayClick},
    {"Save screenshot", Qt::Key_F9, "F9", false, &PopupMenu::save_screenshotClick},
    {nullptr, kNone, nullptr, false, nullptr},
    {"Exit", Qt::Key_Escape, "Esc", false, &PopupMenu::pm_14_exitClick},
}};

}  // namespace

PopupMenu::PopupMenu(MenuHost& host, QMenu& menu)
    : host_(host), menu_(menu), game_menu_(host, *this) {
  for (int i = 1; i <= kEntryCount; ++i) {
    const EntrySpec& spec = kEntries[i];
    if (!spec.caption) {
      entries_[i] = menu_.addSeparator();
      continue;
    }
    // The shortcut is only shown in the menu (after the tab); the keys themselves are shortcuts
    // of the main window, so that they work while the menu is closed.
    QString text = QString::fromUtf8(spec.caption);
    if (spec.shortcut_text) text += '\t' + QString::fromUtf8(spec.shortcut_text);
    QAction* action = menu_.addAction(text);
    action->setCheckable(spec.checkable);
    connect(action, &QAction::triggered, this, spec.click);
    entries_[i] = action;
    if (spec.shortcut != kNone) {
      auto* key = new QShortcut(QKeySequence(spec.shortcut), &host_.main_window());
      connect(key, &QShortcut::activated, this, [this, action] {
        pm_0_menuPopup();
        action->trigger();
      });
    }
  }
  menu_.setDefaultAction(entries_[1]);
  pm_10_fullscreen().setChecked(host_.fullscreen_mode());
  connect(&menu_, &QMenu::aboutToShow, this, &PopupMenu::pm_0_menuPopup);
}

QString PopupMenu::caption(int i) const {
  return kEntries[i].caption ? QString::fromUtf8(kEntries[i].caption) : QString();
}

void PopupMenu::pm_0_menuPopup() {
  const int fallback = host_.splash_screen_checked() ? 1 : 0;
  pm_11_splashscreen().setChecked(host_.settings().read_integer("SplashScreen", fallback) != 0);
  if (host_.fullscreen_mode() && game_menu_.game_menu_open()) game_menu_.close();
}

void PopupMenu::pm_1_aboutClick() {
  host_.show_about();
}
void PopupMenu::pm_2_readmeClick() {
  host_.open_document("Readme.txt");
}
void PopupMenu::pm_3_whatsnewClick() {
  host_.open_document("Whatsnew.txt");
}
void PopupMenu::pm_4_manualClick() {
  host_.show_manual();
}
void PopupMenu::pm_6_configClick() {
  host_.edit_configuration();
}
void PopupMenu::pm_7_keysClick() {
  host_.show_key_settings();
}

void PopupMenu::pm_8_hiscoreClick() {
  host_.set_hiscore(1, 0);
  host_.settings().write_integer("HiScore1", 0);
  host_.set_hiscore(2, 0);
  host_.settings().write_integer("HiScore2", 0);
  host_.beep();
}

// The game menu's rows, when this came from one of them, are removed by that row's release.
void PopupMenu::pm_10_fullscreenClick() {
  game_menu_.set_game_menu_open(false);
  host_.toggle_display_mode();
  pm_10_fullscreen().setChecked(host_.fullscreen_mode());
}

// The action has inverted its own check mark already (a checkable entry does that when chosen).
void PopupMenu::pm_11_splashscreenClick() {
  host_.settings().write_integer("SplashScreen", pm_11_splashscreen().isChecked() ? 1 : 0);
}

void PopupMenu::lcd_lookClick() {
  host_.show_lcd_look();
}

void PopupMenu::watch_replayClick() {
  host_.watch_replay();
}

void PopupMenu::save_screenshotClick() {
  host_.save_screenshot();
}

void PopupMenu::pm_14_exitClick() {
  host_.quit();
}

}  // namespace qm
