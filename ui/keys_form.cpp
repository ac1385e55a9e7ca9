#include "ui/keys_form.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <algorithm>

#include "input/key_dispatch.h"
#include "ui/qt/dialog_support.h"
#include "ui/qt/popup_place.h"

namespace qm {

namespace {

const QColor kDarkBlue(0x08, 0x29, 0x52);

QFont pixel_font(const char* family, bool bold, bool underline = false) {
  QFont f(family);
  f.setPixelSize(11);
  f.setBold(bold);
  f.setUnderline(underline);
  return f;
}

constexpr int kListWidth = 120;

// "MS Sans Serif" falls back to a wider face here: the lists take the largest size up to 11 px at
// which "<RIGHT ARROW>" is not cut off.
void fit_list_font(QComboBox& list) {
  QFont f("MS Sans Serif");
  for (int size = 11; size > 7; --size) {
    f.setPixelSize(size);
    list.setFont(f);
    if (list.sizeHint().width() <= kListWidth) return;
  }
}

void set_text_colour(QLabel& label, const QColor& colour) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
}

struct Row {
  const char* caption;
  QPoint list;
  QRect label;  // a width of 0 sizes the label to its text
};

// Bindings 1..4 at the left with their labels right of the lists, 5..8 at the right with their
// labels, right-aligned, left of the lists.
const std::array<Row, 9> kRows = {{
    {},
    {"Ama", {8, 29}, {136, 33, 0, 0}},
    {"Pro", {8, 61}, {136, 65, 0, 0}},
    {"Time", {8, 93}, {136, 97, 0, 0}},
    {"Mode", {8, 125}, {136, 129, 0, 0}},
    {"Up", {320, 29}, {216, 33, 96, 13}},
    {"Left", {320, 61}, {216, 65, 96, 13}},
    {"Right", {320, 93}, {216, 97, 96, 13}},
    {"Down", {320, 125}, {216, 129, 96, 13}},
}};

}  // namespace

TKeysForm::TKeysForm(QWidget& main_window, SettingsPort& settings, Bindings& bindings,
                     std::function<void()> rebuild_hints)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      main_window_(main_window),
      settings_(settings),
      bindings_(bindings),
      rebuild_hints_(std::move(rebuild_hints)) {
  setWindowTitle("Key settings");
  keep_fixed_size(*this, {448, 195});
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDarkBlue);
  setPalette(palette);
  setAutoFillBackground(true);

  auto* la_main = new QLabel("Main operations", this);
  auto* la_controls = new QLabel("Game controls", this);
  la_main->setGeometry(8, 8, 104, 13);
  la_controls->setGeometry(336, 8, 104, 13);
  la_controls->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (QLabel* heading : {la_main, la_controls}) {
    heading->setFont(pixel_font("MS Sans Serif", true, true));
    set_text_colour(*heading, Qt::white);
  }

  QStringList items;
  for (int key = 1; key <= kKeyCount; ++key) items << QString::fromStdString(key_item_text(key));
  for (int n = 1; n <= 8; ++n) {
    const Row& row = kRows[n];
    la_[n] = new QLabel(row.caption, this);
    la_[n]->setFont(pixel_font("Arial", true));
    if (row.label.width() > 0) {
      la_[n]->setGeometry(row.label);
      la_[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
      la_[n]->move(row.label.topLeft());
    }
    cb_[n] = new QComboBox(this);
    cb_[n]->addItems(items);
    cb_[n]->setGeometry(row.list.x(), row.list.y(), kListWidth, 21);
    cb_[n]->setMaxVisibleItems(16);
    const int key = bindings_[n].key_number;
    cb_[n]->setCurrentIndex(key >= 1 && key <= kKeyCount ? key - 1 : -1);
    connect(cb_[n], &QComboBox::currentIndexChanged, this, &TKeysForm::cbChange);
    cb_[n]->installEventFilter(this);
    cb_[n]->view()->window()->installEventFilter(this);
  }

  btn_accept_ = new QPushButton("- ACCEPT -", this);
  btn_accept_->setFont(pixel_font("MS Sans Serif", true));
  btn_accept_->setGeometry(183, 162, 82, 25);
  btn_accept_->setCursor(Qt::PointingHandCursor);
  btn_accept_->setAutoDefault(false);
  btn_accept_->installEventFilter(this);
  connect(btn_accept_, &QPushButton::clicked, this, &TKeysForm::btn_acceptClick);

  // A label given no size takes its text's as it first shows (Qt sizes a label never resized);
  // the lists' fonts are fitted then too.
  lay_out_text_when_shown(*this, [this] {
    for (int n = 1; n <= 8; ++n) fit_list_font(*cb_[n]);
  });
  for (int n = 1; n < 8; ++n) setTabOrder(cb_[n], cb_[n + 1]);
  setTabOrder(cb_[8], btn_accept_);
  cbChange();
}

void TKeysForm::open_dialog() {
  centre_window_on_screen(*this);
  // Kept above the main window, which may cover the whole screen.
  winId();
  if (QWindow* owner = main_window_.windowHandle()) windowHandle()->setTransientParent(owner);
  show();
  raise();
  activateWindow();
  main_window_.setEnabled(false);
}

void TKeysForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) cb_[1]->setFocus();
  QWidget::changeEvent(event);
}

bool TKeysForm::CheckKeys() {
  for (int n = 1; n <= 8; ++n) set_text_colour(*la_[n], Qt::white);
  bool duplicate = false;
  for (int i = 1; i <= 8; ++i)
    for (int j = 1; j <= 8; ++j) {
      if (i == j || cb_[i]->currentText() != cb_[j]->currentText()) continue;
      set_text_colour(*la_[i], Qt::red);
      set_text_colour(*la_[j], Qt::red);
      duplicate = true;
    }
  return duplicate;
}

void TKeysForm::cbChange() {
  btn_accept_->setEnabled(!CheckKeys());
}

void TKeysForm::btn_acceptClick() {
  for (int n = 1; n <= 8; ++n) bindings_[n].key_number = cb_[n]->currentIndex() + 1;
  store_key_bindings(settings_, bindings_);
  rebuild_hints_();
  main_window_.setEnabled(true);
  hide();
}

void TKeysForm::cancel() {
  main_window_.setEnabled(true);
  hide();
}

bool TKeysForm::FormKeyDown(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (btn_accept_->isEnabled()) btn_acceptClick();
      return true;
    case Qt::Key_Escape:
      cancel();
      return true;
    default:
      return false;
  }
}

bool TKeysForm::eventFilter(QObject* watched, QEvent* event) {
  // A list's pop-up is placed as it shows: where the window system leaves it there, within the
  // dialog, which is on the screen.
  if (event->type() == QEvent::Show) {
    for (int n = 1; n <= 8; ++n)
      if (cb_[n]->view()->window() == watched)
        keep_list_within(*cb_[n]->view()->window(), *this, rect(), cb_[n]->geometry());
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
    return QWidget::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool list = std::any_of(cb_.begin() + 1, cb_.end(), [watched](QComboBox* cb) {
    return cb->view()->window() == watched;
  });
  if (list) {
    // Esc in an open list closes only the list. On Wayland the list has closed already when the
    // key is delivered, and the key press goes on to the list's box, where it is taken.
    if (key == Qt::Key_Escape && event->type() == QEvent::ShortcutOverride) {
      esc_closed_list_ = true;
      QMetaObject::invokeMethod(
          this, [this] { esc_closed_list_ = false; }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::KeyPress && key == Qt::Key_Escape && esc_closed_list_) {
    esc_closed_list_ = false;
    return true;
  }
  if (event->type() == QEvent::KeyPress && FormKeyDown(key)) return true;
  return QWidget::eventFilter(watched, event);
}

void TKeysForm::keyPressEvent(QKeyEvent* event) {
  if (!FormKeyDown(event->key())) QWidget::keyPressEvent(event);
}

// A window manager may close the dialog although it has no close button: that is a cancel too,
// or the main window would stay disabled.
void TKeysForm::closeEvent(QCloseEvent* event) {
  main_window_.setEnabled(true);
  event->accept();
}

}  // namespace qm
