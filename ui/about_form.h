#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>

#include "ui/qt/scaled_picture.h"

class QKeyEvent;
class QLabel;

namespace qm {

// TAboutForm, "About the author...": the project's picture, five details about the program and a
// link to its Readme.txt. Created hidden once and shown again as needed; never disables the main
// window.
class TAboutForm : public QWidget {
  Q_OBJECT

 public:
  using OpenDocument = std::function<void(const QString& file_name)>;

  // The picture is Graphics/About/picture.png in the program's folder; a missing or broken file
  // leaves its place empty.
  TAboutForm(const std::filesystem::path& program_dir, OpenDocument open_document);

  // Shows the box, or brings it forward when it is shown already.
  void show_about();
  // Opens Readme.txt and closes the box.
  void la_website_2Click();

  PictureLabel& im_picture() const { return *im_picture_; }
  QLabel& la_website_2() const { return *la_website_2_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  OpenDocument open_document_;
  PictureLabel* im_picture_ = nullptr;
  QLabel* la_website_2_ = nullptr;
};

}  // namespace qm
