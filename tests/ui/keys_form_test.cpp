#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "tests/support/fake_ports.h"
#include "ui/keys_form.h"
#include "ui/qt/popup_place.h"

namespace qm {
namespace {

class KeysFormTest : public testing::Test {
 protected:
  KeysFormTest() {
    for (int n = 1; n <= 8; ++n) {
      bindings[n].key_number = kDefaultKeyNumber[n];
      AssignWord(n, bindings[n]);
    }
  }

  TKeysForm& form() {
    if (!form_) {
      form_ =
          std::make_unique<TKeysForm>(main_window, store, bindings, [this] { ++hint_rebuilds; });
    }
    return *form_;
  }
  std::vector<std::string> texts() {
    std::vector<std::string> shown;
    for (int n = 1; n <= 8; ++n) shown.push_back(form().cb(n).currentText().toStdString());
    return shown;
  }
  std::vector<int> red_labels() {
    std::vector<int> red;
    for (int n = 1; n <= 8; ++n) {
      const QColor colour = form().la(n).palette().color(QPalette::WindowText);
      if (colour == QColor(Qt::red))
        red.push_back(n);
      else
        EXPECT_EQ(colour, QColor(Qt::white)) << n;
    }
    return red;
  }
  void choose(int n, const QString& text) { form().cb(n).setCurrentText(text); }

  QWidget main_window;
  FakeSettings store;
  TKeysForm::Bindings bindings{};
  int hint_rebuilds = 0;
  std::unique_ptr<TKeysForm> form_;
};

TEST_F(KeysFormTest, FirstOpeningShowsTheDefaultKeys) {
  main_window.show();
  form().open_dialog();
  EXPECT_EQ(texts(), (std::vector<std::string>{"1", "2", "3", "5", "<UP ARROW>", "<LEFT ARROW>",
                                               "<RIGHT ARROW>", "<DOWN ARROW>"}));
  EXPECT_TRUE(red_labels().empty());
  EXPECT_TRUE(form().btn_accept().isEnabled());
  EXPECT_TRUE(form().isVisible());
  EXPECT_FALSE(main_window.isEnabled());
  EXPECT_EQ(form().cb(1).count(), 44);
  EXPECT_EQ(form().cb(1).itemText(43), "<SPACEBAR>");
  EXPECT_EQ(form().size(), QSize(448, 195));
  // Texts are measured as the dialog first shows: no caption or key name is cut off.
  for (int n = 1; n <= 8; ++n) {
    EXPECT_GE(form().la(n).width(), form().la(n).sizeHint().width()) << n;
    EXPECT_LE(form().cb(n).sizeHint().width(), form().cb(n).width()) << n;
  }
}

// Back from another window (the manual, the about box), the first list has the focus again, as
// on opening, wherever the user had left it.
TEST_F(KeysFormTest, EveryActivationGivesTheFirstListTheFocus) {
  main_window.show();
  form().open_dialog();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
  EXPECT_EQ(QApplication::focusWidget(), &form().cb(1));
  form().cb(3).setFocus();
  QWidget manual;
  manual.show();
  manual.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&manual));
  form().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
  EXPECT_EQ(QApplication::focusWidget(), &form().cb(1));
}

TEST_F(KeysFormTest, DuplicatesTurnRedAndBlockAccepting) {
  choose(2, "1");
  EXPECT_EQ(red_labels(), (std::vector<int>{1, 2}));
  EXPECT_FALSE(form().btn_accept().isEnabled());
  choose(7, "1");
  EXPECT_EQ(red_labels(), (std::vector<int>{1, 2, 7}));
  choose(2, "Q");
  choose(7, "<RIGHT ARROW>");
  EXPECT_TRUE(red_labels().empty());
  EXPECT_TRUE(form().btn_accept().isEnabled());
}

TEST_F(KeysFormTest, StoredNumbersOutsideTheKeysSelectNothingAndCountAsEqual) {
  bindings[3].key_number = 0;
  bindings[6].key_number = 45;
  EXPECT_EQ(texts()[2], "");
  EXPECT_EQ(red_labels(), (std::vector<int>{3, 6}));
  EXPECT_FALSE(form().btn_accept().isEnabled());
}

TEST_F(KeysFormTest, AcceptStoresAssignsAndAsksForTheHints) {
  main_window.show();
  form().open_dialog();
  choose(4, "M");
  form().btn_accept().click();
  EXPECT_EQ(store.writes, (std::vector<std::string>{"Key1=2", "Key2=3", "Key3=4", "Key4=23",
                                                    "Key5=37", "Key6=39", "Key7=40", "Key8=38"}));
  EXPECT_EQ(bindings[4].key_number, 23);
  EXPECT_EQ(bindings[4].key_code, 0x4D);
  EXPECT_EQ(bindings[1].key_code, 0x31);
  EXPECT_EQ(hint_rebuilds, 1);
  EXPECT_TRUE(main_window.isEnabled());
  EXPECT_FALSE(form().isVisible());
}

TEST_F(KeysFormTest, EscapeWritesNothingAndTheChoicesStayForTheNextOpening) {
  main_window.show();
  form().open_dialog();
  choose(4, "M");
  // Esc in an open list closes only the list, whether the key reaches the list (X11) or, the list
  // having closed already, goes on to its box (Wayland).
  form().cb(4).showPopup();
  QTest::keyClick(form().cb(4).view(), Qt::Key_Escape);
  EXPECT_FALSE(form().cb(4).view()->isVisible());
  EXPECT_TRUE(form().isVisible());
  QKeyEvent list_esc(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(form().cb(4).view()->window(), &list_esc);
  QTest::keyClick(&form().cb(4), Qt::Key_Escape);
  EXPECT_TRUE(form().isVisible());

  QTest::keyClick(&form().cb(4), Qt::Key_Escape);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(main_window.isEnabled());
  EXPECT_TRUE(store.writes.empty());
  EXPECT_EQ(hint_rebuilds, 0);
  EXPECT_EQ(bindings[4].key_number, 6);
  EXPECT_EQ(bindings[4].key_code, 0x35);
  form().open_dialog();
  EXPECT_EQ(texts()[3], "M");
}

TEST_F(KeysFormTest, EnterAcceptsFromAnyListOnlyWhileAcceptIsEnabled) {
  main_window.show();
  form().open_dialog();
  choose(5, "1");
  QTest::keyClick(&form().cb(5), Qt::Key_Return);
  EXPECT_TRUE(form().isVisible());
  EXPECT_FALSE(main_window.isEnabled());
  EXPECT_TRUE(store.writes.empty());

  choose(5, "W");
  QTest::keyClick(&form().cb(2), Qt::Key_Enter);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(main_window.isEnabled());
  EXPECT_EQ(store.values["Key5"], 33);
}

// Where the window system leaves a list where it was asked for (Wayland), each list is kept within
// the dialog, which is on the screen: the lower ones open upwards, and a list taller than the room
// on either side of its box is cut to the larger room and scrolls, its box still showing.
TEST_F(KeysFormTest, ListsOpenWithinTheDialog) {
  const QSize list(120, 340);  // 16 rows
  struct Case {
    int n;
    QRect expected;
  } cases[] = {
      {1, {8, 50, 120, 145}},   // below, cut to the room there
      {2, {8, 82, 120, 113}},   // below
      {3, {8, 0, 120, 93}},     // above, the larger room
      {4, {8, 0, 120, 125}},    // the lowest: above
      {8, {320, 0, 120, 125}},  // the right-hand column the same
  };
  for (const Case& c : cases)
    EXPECT_EQ(list_within(form().rect(), form().cb(c.n).geometry(), list), c.expected) << c.n;
  // A short list fits below its box as it is.
  EXPECT_EQ(list_within(form().rect(), form().cb(1).geometry(), QSize(150, 100)),
            QRect(8, 50, 150, 100));
  // One too wide for the room at the box's right ends at the box's right edge.
  EXPECT_EQ(list_within(form().rect(), form().cb(8).geometry(), QSize(200, 100)),
            QRect(240, 25, 200, 100));
}

TEST_F(KeysFormTest, ClosedByTheWindowManagerTheMainWindowComesBack) {
  main_window.show();
  form().open_dialog();
  form().close();
  EXPECT_TRUE(main_window.isEnabled());
  EXPECT_TRUE(store.writes.empty());
}

}  // namespace
}  // namespace qm
