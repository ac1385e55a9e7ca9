#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "engine/ports.h"
#include "input/key_table.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qm {

// TKeysForm, "Key settings": one list of the 44 selectable keys per bound button. It refuses to
// accept while two buttons share a key, and marks them red. Created hidden once, after the
// bindings are loaded; while open, the main window is disabled.
class TKeysForm : public QWidget {
  Q_OBJECT

 public:
  using Bindings = std::array<KeyBinding, 9>;  // index 1..8 in binding order

  // The dialog is a window of its own, not a child of the main window, so that disabling the
  // main window leaves the dialog usable. `rebuild_hints` rebuilds the ten button hints.
  TKeysForm(QWidget& main_window, SettingsPort& settings, Bindings& bindings,
            std::function<void()> rebuild_hints);

  // The menu entry "Key settings": centres the dialog, shows it and disables the main window.
  // The lists keep whatever the user left in them last time.
  void open_dialog();

  // Marks every pair of lists that show the same text red; true when there is such a pair.
  bool CheckKeys();
  void cbChange();
  void btn_acceptClick();
  // Esc: nothing is written, the bindings stay as they were.
  void cancel();

  QComboBox& cb(int n) const { return *cb_[n]; }
  QLabel& la(int n) const { return *la_[n]; }
  QPushButton& btn_accept() const { return *btn_accept_; }

 protected:
  // FormActivate: every activation of the dialog, not only its opening, gives the first list
  // the keyboard focus.
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Enter and Esc, whichever element has the focus; true when the key was taken.
  bool FormKeyDown(int key);

  QWidget& main_window_;
  SettingsPort& settings_;
  Bindings& bindings_;
  std::function<void()> rebuild_hints_;
  std::array<QLabel*, 9> la_{};
  std::array<QComboBox*, 9> cb_{};
  QPushButton* btn_accept_ = nullptr;
  // The Esc being delivered closed an open list.
  bool esc_closed_list_ = false;
};

}  // namespace qm
