#include <gtest/gtest.h>

#include <QAction>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include "lcd/scene.h"
#include "tests/support/fake_ports.h"
#include "ui/game_menu.h"
#include "ui/menu_host.h"
#include "ui/popup_menu.h"
#include "ui/qt/popup_place.h"

namespace qm {
namespace {

// Stands in for the main window: a right press anywhere opens the pop-up menu, as the real one
// does.
class FakeWindow final : public QWidget {
 public:
  QMenu* menu = nullptr;
  int left_presses = 0;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton && menu) menu->popup(event->globalPosition().toPoint());
    if (event->button() == Qt::LeftButton) ++left_presses;
  }
};

class FakeHost final : public MenuHost {
 public:
  QWidget& main_window() override { return window; }
  Scene& scene() override { return scene_; }
  SettingsPort& settings() override { return store; }
  bool fullscreen_mode() const override { return fullscreen; }
  bool splash_screen_checked() const override { return splash_checked; }
  void show_about() override { log.push_back("about"); }
  void show_manual() override { log.push_back("manual"); }
  void show_key_settings() override { log.push_back("keys"); }
  void show_lcd_look() override { log.push_back("lcd look"); }
  void set_hiscore(int level, int value) override {
    log.push_back("hiscore" + std::to_string(level) + ":=" + std::to_string(value));
  }
  void toggle_display_mode() override {
    fullscreen = !fullscreen;
    store.write_integer("FullscreenMode", fullscreen ? 1 : 0);
    log.push_back("toggle");
  }
  void open_document(const QString& name) override { log.push_back("open " + name.toStdString()); }
  void beep() override { log.push_back("beep"); }
  void quit() override { log.push_back("quit"); }
  void watch_replay() override { log.push_back("watch"); }
  void save_screenshot() override { log.push_back("screenshot"); }

  FakeWindow window;
  Scene scene_;
  FakeSettings store;
  bool fullscreen = true;
  bool splash_checked = true;
  std::vector<std::string> log;
};

class MenusTest : public testing::Test {
 protected:
  void SetUp() override {
    host.window.resize(800, 600);
    host.window.menu = &menu;
    host.window.show();
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
  }
  void TearDown() override { menu.hide(); }

  GameMenu& game_menu() { return popup.game_menu(); }
  QLabel& row(int entry) { return *game_menu().rows().at(entry - 1); }
  void open_game_menu() {
    game_menu().btn_game_menu_topClick();
    ASSERT_EQ(game_menu().rows().size(), 16u);
    // The whole panel, title and all, not only the part a closed menu shows.
    ASSERT_EQ(host.scene_.box(box::btn_game_menu_background).picture->width, 256);
  }
  static void flush_deletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  int visible_rows() const {
    int n = 0;
    for (QLabel* label : host.window.findChildren<QLabel*>()) n += label->isVisible() ? 1 : 0;
    return n;
  }
  Rect background() const { return host.scene_.box(box::btn_game_menu_background).rect; }

  FakeHost host;
  QMenu menu;
  PopupMenu popup{host, menu};
};

TEST_F(MenusTest, PopupEntriesInOrderWithTheirMarks) {
  const char* captions[] = {"About...",
                            "View 'Readme.txt'",
                            "View 'Whatsnew.txt'",
                            "View manual",
                            nullptr,
                            "Edit configuration file",
                            "Key settings",
                            "Reset Hiscores",
                            nullptr,
                            "Display in fullscreen mode",
                            "Display splash screen at startup",
                            "LCD look...",
                            "Watch replay...",
                            "Save screenshot",
                            nullptr,
                            "Exit"};
  ASSERT_EQ(menu.actions().size(), 16);
  for (int i = 1; i <= 16; ++i) {
    EXPECT_EQ(menu.actions()[i - 1], &popup.entry(i));
    EXPECT_EQ(popup.entry(i).isSeparator(), captions[i - 1] == nullptr) << i;
    if (captions[i - 1]) {
      EXPECT_EQ(popup.caption(i), captions[i - 1]);
    }
  }
  EXPECT_EQ(popup.entry(1).text(), "About...\tF1");
  EXPECT_EQ(popup.entry(14).text(), "Save screenshot\tF9");
  EXPECT_EQ(popup.entry(16).text(), "Exit\tEsc");
  EXPECT_EQ(menu.defaultAction(), &popup.entry(1));
  EXPECT_TRUE(popup.pm_10_fullscreen().isChecked());
}

TEST_F(MenusTest, OpeningReadsTheSplashChoiceWithTheCheckBoxAsDefault) {
  host.splash_checked = false;
  popup.pm_0_menuPopup();
  EXPECT_FALSE(popup.pm_11_splashscreen().isChecked());
  host.store.values["SplashScreen"] = 1;
  popup.pm_0_menuPopup();
  EXPECT_TRUE(popup.pm_11_splashscreen().isChecked());

  // Choosing the entry inverts the mark and stores the new one.
  popup.pm_11_splashscreen().trigger();
  EXPECT_FALSE(popup.pm_11_splashscreen().isChecked());
  EXPECT_EQ(host.store.values["SplashScreen"], 0);
}

TEST_F(MenusTest, ResetHiscoresWritesBothInOrderAndBeepsEvenWhenZero) {
  host.store.values = {{"HiScore1", 0}, {"HiScore2", 0}};
  popup.entry(8).trigger();
  EXPECT_EQ(host.store.writes, (std::vector<std::string>{"HiScore1=0", "HiScore2=0"}));
  EXPECT_EQ(host.log, (std::vector<std::string>{"hiscore1:=0", "hiscore2:=0", "beep"}));
}

TEST_F(MenusTest, EntriesRunTheirActions) {
  for (int i : {1, 2, 3, 4, 6, 7, 12, 13, 14, 16}) popup.entry(i).trigger();
  EXPECT_EQ(host.log, (std::vector<std::string>{"about", "open Readme.txt", "open Whatsnew.txt",
                                                "manual", "open Config.ini", "keys", "lcd look",
                                                "watch", "screenshot", "quit"}));
}

TEST_F(MenusTest, ShortcutsAreUnmodifiedKeysOfTheMainWindow) {
  QTest::keyClick(&host.window, Qt::Key_F2);
  QTest::keyClick(&host.window, Qt::Key_F3);
  QTest::keyClick(&host.window, Qt::Key_F4);
  QTest::keyClick(&host.window, Qt::Key_F9);
  QTest::keyClick(&host.window, Qt::Key_F1, Qt::ShiftModifier);
  QTest::keyClick(&host.window, Qt::Key_F1, Qt::ControlModifier);
  QTest::keyClick(&host.window, Qt::Key_Escape);
  EXPECT_EQ(host.log, (std::vector<std::string>{"open Readme.txt", "open Whatsnew.txt", "manual",
                                                "screenshot", "quit"}));
  EXPECT_FALSE(menu.isVisible());
}

TEST_F(MenusTest, ShortcutRunsTheOpeningActionFirst) {
  host.store.values["SplashScreen"] = 0;
  popup.pm_11_splashscreen().setChecked(true);
  open_game_menu();
  QTest::keyClick(&host.window, Qt::Key_F1);
  EXPECT_EQ(host.log, (std::vector<std::string>{"about"}));
  EXPECT_FALSE(game_menu().game_menu_open());
  EXPECT_EQ(visible_rows(), 0);
  EXPECT_EQ(background(), (Rect{0, 0, 36, 32}));
  EXPECT_FALSE(popup.pm_11_splashscreen().isChecked());
  EXPECT_FALSE(menu.isVisible());
}

TEST_F(MenusTest, F12WhileTheGameMenuIsOpenLeavesNoRow) {
  open_game_menu();
  QTest::keyClick(&host.window, Qt::Key_F12);
  flush_deletions();
  EXPECT_FALSE(host.fullscreen);
  EXPECT_FALSE(popup.pm_10_fullscreen().isChecked());
  EXPECT_FALSE(game_menu().game_menu_open());
  EXPECT_TRUE(host.window.findChildren<QLabel*>().isEmpty());
  EXPECT_EQ(host.log, (std::vector<std::string>{"toggle"}));
}

TEST_F(MenusTest, GameMenuRowsFollowThePopupEntries) {
  popup.pm_11_splashscreen().setChecked(false);
  open_game_menu();
  EXPECT_EQ(background(), (Rect{0, 0, 256, 544}));
  for (int i = 1; i <= 16; ++i) EXPECT_EQ(row(i).geometry(), QRect(0, 32 * i, 256, 32)) << i;
  EXPECT_EQ(row(1).text(), "   About...");
  EXPECT_EQ(row(5).text(), "");
  EXPECT_EQ(row(10).text(), "   Display in fullscreen mode [V]");
  EXPECT_EQ(row(11).text(), "   Display splash screen at startup");
  EXPECT_EQ(row(12).text(), "   LCD look...");
  EXPECT_EQ(row(14).text(), "   Save screenshot");
  EXPECT_EQ(row(16).text(), "   Exit");
  EXPECT_EQ(row(1).cursor().shape(), Qt::PointingHandCursor);

  // The marks are taken afresh at each opening.
  game_menu().btn_game_menu_topClick();
  EXPECT_EQ(background(), (Rect{0, 0, 36, 32}));
  popup.pm_11_splashscreen().setChecked(true);
  open_game_menu();
  EXPECT_EQ(row(11).text(), "   Display splash screen at startup [V]");
}

TEST_F(MenusTest, RowHighlightFollowsThePointer) {
  open_game_menu();
  QLabel& about = row(1);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 37), QPointF(5, 37));
  QCoreApplication::sendEvent(&about, &enter);
  EXPECT_TRUE(about.autoFillBackground());
  EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::black));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&about, &leave);
  EXPECT_FALSE(about.autoFillBackground());
}

TEST_F(MenusTest, ClickOnARowRunsItsActionThenRemovesTheRowsAfterTheEvent) {
  open_game_menu();
  QPointer<QLabel> about = &row(1);
  QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(20, 16));
  EXPECT_EQ(host.log, (std::vector<std::string>{"about"}));
  EXPECT_FALSE(game_menu().game_menu_open());
  EXPECT_EQ(background(), (Rect{0, 0, 36, 32}));
  ASSERT_FALSE(about.isNull());  // still alive: deleted only once its event is over
  EXPECT_FALSE(about->isVisible());
  flush_deletions();
  EXPECT_TRUE(about.isNull());
}

TEST_F(MenusTest, FullscreenRowSwitchesToWindowedAndLeavesNoRow) {
  open_game_menu();
  QTest::mouseClick(&row(10), Qt::LeftButton, {}, QPoint(20, 16));
  flush_deletions();
  EXPECT_FALSE(host.fullscreen);
  EXPECT_EQ(host.store.values["FullscreenMode"], 0);
  EXPECT_FALSE(popup.pm_10_fullscreen().isChecked());
  EXPECT_FALSE(game_menu().game_menu_open());
  EXPECT_TRUE(host.window.findChildren<QLabel*>().isEmpty());
}

TEST_F(MenusTest, OnlyACompletedLeftClickRunsTheAction) {
  open_game_menu();
  // A right-button release does nothing at all.
  QTest::mouseRelease(&row(8), Qt::RightButton, {}, QPoint(20, 16));
  EXPECT_TRUE(game_menu().game_menu_open());
  // Pressed on the row but released off it: no action, yet the menu closes.
  QTest::mousePress(&row(8), Qt::LeftButton, {}, QPoint(20, 16));
  QTest::mouseRelease(&row(8), Qt::LeftButton, {}, QPoint(300, 16));
  EXPECT_TRUE(host.log.empty());
  EXPECT_FALSE(game_menu().game_menu_open());
}

TEST_F(MenusTest, SeparatorClickDoesNothingAndTheMenuStays) {
  open_game_menu();
  QTest::mouseClick(&host.window, Qt::LeftButton, {}, row(5).geometry().center());
  EXPECT_EQ(host.window.left_presses, 1);  // passed through to the window below
  EXPECT_TRUE(game_menu().game_menu_open());
  EXPECT_EQ(visible_rows(), 16);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(MenusTest, RightClickOnARowOpensThePopupWhichCollapsesTheGameMenu) {
  open_game_menu();
  QTest::mouseClick(&host.window, Qt::RightButton, {}, row(1).geometry().center());
  EXPECT_TRUE(menu.isVisible());
  EXPECT_FALSE(game_menu().game_menu_open());
  EXPECT_EQ(visible_rows(), 0);
  EXPECT_TRUE(host.log.empty());
}

TEST_F(MenusTest, OpeningInWindowedLayoutLeavesTheFlagAlone) {
  open_game_menu();
  host.fullscreen = false;
  popup.pm_0_menuPopup();
  EXPECT_TRUE(game_menu().game_menu_open());
}

// The same drawing at 1, 2 and 3 pixels per logical pixel, the finer ones made from the plain one.
TEST(GameMenuBackground, TitleStripOverATranslucentPanelAtEveryScale) {
  const Picture plain = game_menu_background();
  ASSERT_TRUE(plain->draw_at);
  for (int s : {1, 2, 3}) {
    SCOPED_TRACE(s);
    const Picture picture = s == 1 ? plain : plain->draw_at(s);
    ASSERT_EQ(picture->width, 256 * s);
    // Every one of the 16 rows lies on the panel.
    ASSERT_EQ(picture->height, 544 * s);
    auto rgba = [&](int x, int y) {
      const std::uint8_t* p = picture->pixel(x * s, y * s);
      return std::array<int, 4>{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(rgba(2, 2), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_EQ(rgba(15, 11), (std::array<int, 4>{255, 255, 255, 255}));  // a bar of the symbol
    EXPECT_EQ(rgba(15, 13), (std::array<int, 4>{0, 0, 0, 255}));        // between two bars
    EXPECT_EQ(rgba(100, 40), (std::array<int, 4>{0, 0, 0, 204}));
    EXPECT_EQ(rgba(255, 511), (std::array<int, 4>{0, 0, 0, 204}));
    // The title lies between the symbol and x 130.
    int ink_left = 256 * s, ink_right = -1;
    for (int y = 0; y < 32 * s; ++y)
      for (int x = 30 * s; x < 256 * s; ++x)
        if (picture->pixel(x, y)[0] > 128) {
          ink_left = std::min(ink_left, x);
          ink_right = std::max(ink_right, x);
        }
    EXPECT_GE(ink_left, 34 * s);
    EXPECT_LE(ink_left, 40 * s);
    EXPECT_GE(ink_right, 110 * s);
    EXPECT_LE(ink_right, 130 * s);
    // What a closed menu shows is drawn alone, without the title: the same pixels.
    const Picture closed = game_menu_background(1, false);
    const Picture part = s == 1 ? closed : closed->draw_at(s);
    ASSERT_EQ(part->width, 36 * s);
    ASSERT_EQ(part->height, 32 * s);
    for (int y = 0; y < part->height; ++y)
      for (int x = 0; x < part->width; ++x)
        ASSERT_EQ(part->color(x, y), picture->color(x, y)) << x << "," << y;
  }
}

// The pop-up menu kept within the handheld's window where the window system leaves it there: a
// menu asked for near the bottom or right edge opens upwards or leftwards, one that fits neither
// way slides back inside, so its last entry (Exit) stays reachable.
TEST(PopupPlacement, FlipsThenSlidesWithinTheArea) {
  const QRect window(0, 0, 479, 777);
  const QSize menu(220, 420);
  struct Case {
    QPoint at;
    QPoint expected;
  } cases[] = {
      {{100, 100}, {100, 100}},  // fits below and to the right
      {{100, 700}, {100, 280}},  // near the bottom: upwards
      {{400, 100}, {180, 100}},  // near the right edge: leftwards
      {{400, 700}, {180, 280}},  // the bottom-right corner: both
      {{100, 400}, {100, 357}},  // fits neither way: slid up to the bottom edge
  };
  for (const Case& c : cases)
    EXPECT_EQ(place_within(window, c.at, menu), c.expected) << c.at.x() << "," << c.at.y();
  // A menu taller than the area starts at its top.
  EXPECT_EQ(place_within(QRect(10, 20, 300, 200), QPoint(50, 100), menu), QPoint(50, 20));
}

}  // namespace
}  // namespace qm
