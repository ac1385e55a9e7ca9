#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "ui/about_form.h"

namespace qm {
namespace {

class AboutFormTest : public testing::Test {
 protected:
  TAboutForm& form() {
    if (!form_) {
      form_ = std::make_unique<TAboutForm>(dir.path().toStdString(),
                                           [this](const QString& name) { opened << name; });
    }
    return *form_;
  }

  QTemporaryDir dir;
  QStringList opened;
  std::unique_ptr<TAboutForm> form_;
};

TEST_F(AboutFormTest, EscapeClosesOtherKeysDoNot) {
  form().show_about();
  // Texts are measured as the box first shows: each detail takes its text's size.
  for (const QLabel* label : form().findChildren<QLabel*>()) {
    if (!label->text().isEmpty() && label != &form().la_website_2()) {
      EXPECT_EQ(label->size(), label->sizeHint()) << label->text().toStdString();
    }
  }
  QTest::keyClick(&form(), Qt::Key_Return);
  QTest::keyClick(&form(), Qt::Key_A);
  EXPECT_TRUE(form().isVisible());
  QTest::keyClick(&form(), Qt::Key_Escape);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(opened.isEmpty());
}

// The test platform's primary screen lies right of a smaller one: the box, frame and all, is
// centred on the primary screen, not on the desktop's origin.
TEST_F(AboutFormTest, CentredOnThePrimaryScreenWhereverItLies) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  ASSERT_EQ(screen, QRect(1024, 0, 1280, 1024));
  form().show_about();
  const QRect frame = form().frameGeometry();
  ASSERT_NE(frame.size(), form().size());
  EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1) << frame.x();
  EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1) << frame.y();
}

TEST_F(AboutFormTest, TheLinkOpensTheReadmeAndCloses) {
  form().show_about();
  EXPECT_EQ(form().la_website_2().cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(&form().la_website_2(), Qt::LeftButton, {}, QPoint(10, 7));
  EXPECT_EQ(opened, QStringList{"Readme.txt"});
  EXPECT_FALSE(form().isVisible());
}

TEST_F(AboutFormTest, PictureFromTheProgramFolderOrAnEmptyPlace) {
  EXPECT_TRUE(form().im_picture().picture().isNull());
  form_.reset();
  ASSERT_TRUE(QDir(dir.path()).mkpath("Graphics/About"));
  QImage picture(116, 160, QImage::Format_ARGB32);
  picture.fill(QColor(200, 30, 40));
  ASSERT_TRUE(picture.save(dir.filePath("Graphics/About/picture.png"), "PNG"));
  const QImage shown = form().im_picture().picture();
  EXPECT_EQ(shown.size(), QSize(116, 160));
  EXPECT_EQ(shown.pixelColor(50, 50), QColor(200, 30, 40));
  EXPECT_EQ(form().size(), QSize(397, 176));
}

}  // namespace
}  // namespace qm
