#include "ui/splash_form.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

#include "input/qt_keys.h"
#include "settings/settings_store.h"
#include "ui/qt/dialog_support.h"
#include "ui/qt/scaled_picture.h"

namespace qm {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 420;

std::filesystem::path splash_file(const std::filesystem::path& program_dir, const char* name) {
  return program_dir / "Graphics" / "Splash" / name;
}

// A picture decoded by the skin decoders when first shown, or none when the file is missing or
// broken: a skipped splash screen reads none.
ShownPicture splash_picture(const std::filesystem::path& file) {
  return ShownPicture(file, PictureLook::OwnAlpha);
}

PictureLabel* picture_label(QWidget* parent, const std::filesystem::path& file, QRect place,
                            Qt::Alignment align) {
  auto* label = new PictureLabel(parent);
  label->setGeometry(place);
  label->setAlignment(align);
  label->set_picture(splash_picture(file));
  return label;
}

QFont arial(int pixels, bool bold = false) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* label(QWidget* parent, const QString& text, QRect place, const QFont& font, QColor colour,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* l = new QLabel(text, parent);
  l->setFont(font);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, colour);
  l->setPalette(pal);
  l->setAlignment(align);
  // A label given no size takes its text's as it first shows (Qt sizes a label never resized),
  // so nothing measures text, or loads a font, for a splash screen that is skipped.
  if (place.width() > 0)
    l->setGeometry(place);
  else
    l->move(place.topLeft());
  return l;
}

// The play button: its picture, clickable with the hand cursor.
class PictureButton final : public QAbstractButton {
 public:
  PictureButton(QWidget* parent, const std::filesystem::path& file)
      : QAbstractButton(parent), picture_(splash_picture(file)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, picture_.at(devicePixelRatio()));
  }

 private:
  ShownPicture picture_;
};

// A text that opens an address when clicked.
class LinkLabel final : public QLabel {
 public:
  LinkLabel(const QString& text, QWidget* parent, QUrl target)
      : QLabel(text, parent), target_(std::move(target)) {
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      QDesktopServices::openUrl(target_);  // a link that cannot be opened is ignored
  }

 private:
  QUrl target_;
};

// The play action for the sound driver at that place in the choice (none: -1), the splash screen
// shown again at the next start or not; false when the sound did not start and the program ends.
bool play(SplashHost& host, int driver, bool show_again) {
  SettingsStore& store = host.store();
  // The choice lists DirectSound, MultiMedia and no sound: each stored as its place, the first
  // two started as output types 2 and 1.
  if (driver >= 0 && driver <= 2) store.write_integer("SoundMode", driver);
  const bool sound_enabled = driver == 0 || driver == 1;
  host.set_sound_enabled(sound_enabled);
  if (sound_enabled && !host.Snd_Start(driver == 0 ? 2 : 1)) {
    host.show_error(QString::fromLatin1(kSoundFailedMessage));
    store.write_integer("SoundMode", -1);
    store.write_bool("SplashScreen", true);
    host.terminate();
    return false;
  }
  store.write_bool("SplashScreen", show_again);
  host.set_splash_screen_check(show_again);
  host.start_device();
  return true;
}

}  // namespace

bool start_without_splash(SplashHost& host) {
  const int sound_mode = host.store().read_integer("SoundMode", -1);
  if (sound_mode < 0 || sound_mode > 2 || host.store().read_bool("SplashScreen", true))
    return false;
  host.clear_splash_pending();
  play(host, sound_mode, false);
  return true;
}

TSplashForm::TSplashForm(SplashHost& host, const std::filesystem::path& program_dir)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      host_(host) {
  setWindowTitle(QStringLiteral("About this game..."));
  keep_fixed_size(*this, {kWidth, kHeight});
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setAutoFillBackground(true);
  setFont(arial(11));

  picture_label(this, splash_file(program_dir, "background.png"), QRect(0, 0, kWidth, kHeight),
                Qt::AlignLeft | Qt::AlignTop);
  picture_label(this, splash_file(program_dir, "box.jpg"), QRect(0, 56, kWidth, 160),
                Qt::AlignCenter);

  const QString title = QStringLiteral("Quib Man (unknown mfg, Hand & Play) Simulator");
  label(this, title, QRect(0, 12, kWidth, 15), arial(12, true), Qt::white, Qt::AlignCenter);
  label(this, QStringLiteral("Version 5.00 * Final *"), QRect(0, 28, kWidth, 15), arial(12, true),
        Qt::white, Qt::AlignCenter);
  label(this, QStringLiteral("Released by the Quib Man Simulator developers on 4th December, 2017"),
        QRect(0, 236, kWidth, 15), arial(12), Qt::black, Qt::AlignCenter);

  label(this, QStringLiteral("website:"), QRect(118, 259, 0, 0), font(), Qt::black);
  QFont link_font = font();
  link_font.setBold(true);
  link_font.setUnderline(true);
  la_website_2 = new LinkLabel(QStringLiteral("Readme.txt"), this,
                               QUrl::fromLocalFile(QDir::current().absoluteFilePath("Readme.txt")));
  la_website_2->setFont(link_font);
  QPalette link_pal = la_website_2->palette();
  link_pal.setColor(QPalette::WindowText, QColor(0x18, 0x52, 0x94));
  la_website_2->setPalette(link_pal);
  la_website_2->move(174, 259);

  label(this, QStringLiteral("Select sound driver:"), QRect(98, 308, 116, 15), font(), Qt::black);
  cb_sound = new QComboBox(this);
  cb_sound->addItems({QStringLiteral("Microsoft DirectSound"), QStringLiteral("Windows MultiMedia"),
                      QStringLiteral("(no sound)")});
  cb_sound->setGeometry(217, 308, 144, 21);
  cb_sound->setCurrentIndex(-1);

  btn_play = new PictureButton(this, splash_file(program_dir, "play.png"));
  btn_play->setGeometry(116, 340, 107, 30);
  btn_play_disabled = picture_label(this, splash_file(program_dir, "play_disabled.png"),
                                    QRect(116, 340, 107, 30), Qt::AlignLeft | Qt::AlignVCenter);
  btn_play_disabled->setToolTip(QStringLiteral("please select sound driver first"));

  chb_splashscreen = new QCheckBox(QStringLiteral("Display this splash screen at startup"), this);
  chb_splashscreen->setGeometry(12, 391, 444, 17);
  QPalette check_pal = chb_splashscreen->palette();
  check_pal.setColor(QPalette::Window, QColor(0x08, 0x29, 0x52));
  check_pal.setColor(QPalette::WindowText, Qt::white);
  chb_splashscreen->setPalette(check_pal);
  chb_splashscreen->setBackgroundRole(QPalette::Window);
  chb_splashscreen->setAutoFillBackground(true);
  chb_splashscreen->setChecked(true);

  // Key preview: the form sees every key before the element with the focus.
  for (QWidget* child : {static_cast<QWidget*>(cb_sound), static_cast<QWidget*>(chb_splashscreen)})
    child->installEventFilter(this);
  connect(cb_sound, &QComboBox::currentIndexChanged, this, [this] { update_play_button(); });
  connect(btn_play, &QAbstractButton::clicked, this, [this] { btn_playClick(); });

  FormCreate();
}

void TSplashForm::FormCreate() {
  int sound_mode = host_.store().read_integer("SoundMode", -1);
  cb_sound->setCurrentIndex(sound_mode >= 0 && sound_mode <= 2 ? sound_mode : -1);
  chb_splashscreen->setChecked(host_.store().read_bool("SplashScreen", true));
  if (start_without_splash(host_)) {
    move(-width(), -height());
    return;
  }
  centre_window_on_screen(*this);
  update_play_button();
}

void TSplashForm::present() {
  show();
  raise();
  // Without a window manager nothing is activated unless asked for.
  activateWindow();
}

bool TSplashForm::play_enabled() const {
  return !cb_sound->currentText().isEmpty();
}

void TSplashForm::update_play_button() {
  const bool enabled = play_enabled();
  btn_play->setEnabled(enabled);
  btn_play->setVisible(enabled);
  btn_play_disabled->setVisible(!enabled);
}

void TSplashForm::btn_playClick() {
  if (play(host_, cb_sound->currentIndex(), chb_splashscreen->isChecked())) hide();
}

bool TSplashForm::FormKeyDown(const QKeyEvent& event) {
  const std::uint16_t code = windows_key_code(event);
  if (code == kVkReturn || code == 0x31) {
    if (play_enabled()) btn_playClick();
    return true;
  }
  if (code == kVkEscape) {
    host_.terminate();
    return true;
  }
  return false;
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && FormKeyDown(*static_cast<QKeyEvent*>(event)))
    return true;
  return QWidget::eventFilter(watched, event);
}

void TSplashForm::keyPressEvent(QKeyEvent* event) {
  if (!FormKeyDown(*event)) QWidget::keyPressEvent(event);
}

// Closed by the window manager (its close button, Alt+F4, the task bar): the program ends as on
// Esc, with nothing written, rather than running on without a window.
void TSplashForm::closeEvent(QCloseEvent* event) {
  event->accept();
  host_.terminate();
}

bool TSplashForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) cb_sound->setFocus();
  return QWidget::event(event);
}

}  // namespace qm
