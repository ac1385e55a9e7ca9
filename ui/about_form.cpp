#include "ui/about_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include "skin/ini_file.h"
#include "ui/qt/dialog_support.h"
#include "ui/qt/scaled_picture.h"

namespace qm {

namespace {

const QColor kDarkBlue(0x08, 0x29, 0x52);

// A label that runs an action when a left click completes on it.
class LinkLabel final : public QLabel {
 public:
  LinkLabel(const QString& text, QWidget* parent, std::function<void()> on_click)
      : QLabel(text, parent), on_click_(std::move(on_click)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    event->setAccepted(event->button() == Qt::LeftButton);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      on_click_();
  }

 private:
  std::function<void()> on_click_;
};

QFont arial(bool bold = false, bool underline = false) {
  QFont font("Arial");
  font.setPixelSize(12);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

void set_look(QLabel& label, const QColor& colour, const QFont& font) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
  label.setFont(font);
}

struct Detail {
  const char* caption;
  const char* value;
};

constexpr Detail kDetails[] = {
    {"Name:", "Quib Man Simulator"},       {"Birthplace:", "a Linux desktop"},
    {"Birth date:", "4th December, 2017"}, {"Occupation:", "LCD handheld simulator"},
    {"Hobby:", "switching segments"},
};

}  // namespace

TAboutForm::TAboutForm(const std::filesystem::path& program_dir, OpenDocument open_document)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      open_document_(std::move(open_document)) {
  setWindowTitle("About the author...");
  keep_fixed_size(*this, {397, 176});
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kDarkBlue);
  setPalette(palette);
  setAutoFillBackground(true);

  auto* picture = new PictureLabel(this);
  im_picture_ = picture;
  picture->setGeometry(8, 8, 116, 160);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const std::filesystem::path portrait = program_dir / "Graphics" / "About" / "picture.png";
  if (file_exists(portrait)) picture->set_picture(ShownPicture(portrait, PictureLook::OwnAlpha));

  // Details are only placed: Qt sizes a label never resized to its text as it first shows, so no
  // text is measured, and no font loaded, before the box opens.
  int top = 8;
  for (const Detail& detail : kDetails) {
    auto* caption = new QLabel(detail.caption, this);
    set_look(*caption, Qt::white, arial());
    caption->move(132, top);
    auto* value = new QLabel(detail.value, this);
    set_look(*value, Qt::white, arial());
    value->move(212, top);
    top += 24;
  }
  auto* la_website_1 = new QLabel("Website:", this);
  set_look(*la_website_1, Qt::white, arial());
  la_website_1->move(132, 128);
  la_website_2_ = new LinkLabel("Readme.txt", this, [this] { la_website_2Click(); });
  set_look(*la_website_2_, Qt::yellow, arial(true, true));
  la_website_2_->setGeometry(212, 128, 168, 15);
  la_website_2_->setCursor(Qt::PointingHandCursor);

  centre_window_on_screen(*this);
}

void TAboutForm::show_about() {
  show();
  raise();
  activateWindow();
}

void TAboutForm::la_website_2Click() {
  open_document_("Readme.txt");
  close();
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    close();
  else
    QWidget::keyPressEvent(event);
}

}  // namespace qm
