#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include "ui/manual_form.h"

namespace qm {
namespace {

using D = TManualForm::DrawingId;

QColor page_colour(int n) {
  return QColor(10 * n, 255 - 10 * n, 100);
}

class ManualFormTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  QString manual_dir() const { return dir.filePath("Manual"); }
  void write_config(const QString& extra = {}) {
    QFile file(dir.filePath("Config.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[Manual]\nManualDir=" + manual_dir() + "\n" + extra).toUtf8());
  }
  // Odd pages are palette bitmaps, even ones 24-bit, as a skin may mix them.
  void write_page(const QString& name, int n) {
    QDir().mkpath(manual_dir());
    QImage page(340, 535, QImage::Format_RGB32);
    page.fill(page_colour(n));
    if (n % 2 == 1) page = page.convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(page.save(manual_dir() + "/" + name, "BMP"));
  }
  void write_all_pages() {
    for (int n = 1; n <= 14; ++n) write_page(QString::number(n) + ".bmp", n);
  }
  TManualForm& form() {
    if (!form_) {
      form_ = std::make_unique<TManualForm>(dir.path().toStdString(),
                                            [this](const QString& m) { errors << m; });
    }
    return *form_;
  }
  bool visible(D id) { return form().drawing(id).visible; }
  QPoint centre(D id) { return form().drawing(id).rect.center(); }
  void key(QEvent::Type type, Qt::Key k, bool repeat = false) {
    QKeyEvent event(type, k, Qt::NoModifier, QString(), repeat);
    QCoreApplication::sendEvent(&form(), &event);
  }
  void tap(Qt::Key k) {
    key(QEvent::KeyPress, k);
    key(QEvent::KeyRelease, k);
  }
  QColor shown_colour() { return form().grab().toImage().pixelColor(150, 200); }

  QTemporaryDir dir;
  QStringList errors;
  std::unique_ptr<TManualForm> form_;
};

TEST_F(ManualFormTest, ButtonsKeepTheirDistanceToTheEdges) {
  write_config("ManualWidth=500\nManualHeight=700\n");
  EXPECT_EQ(form().size(), QSize(500, 700));
  EXPECT_EQ(form().drawing(D::btn_right_up).rect, QRect(480, 682, 16, 14));
  EXPECT_EQ(form().drawing(D::btn_right_down).rect, QRect(480, 682, 16, 14));
  EXPECT_EQ(form().drawing(D::btn_left_up).rect, QRect(4, 682, 16, 14));
  EXPECT_EQ(form().drawing(D::btn_close_up).rect, QRect(480, 4, 16, 14));
}

TEST_F(ManualFormTest, WithoutConfigEveryKeyTakesItsDefault) {
  EXPECT_EQ(form().size(), QSize(340, 535));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ManualFormTest, GarbledSizesStayUsable) {
  write_config("ManualWidth=-5\nManualHeight=99999999\n");
  EXPECT_GE(form().width(), 1);
  EXPECT_LE(form().height(), 4096);
}

TEST_F(ManualFormTest, OnlyUnpaddedNamesArePages) {
  write_config();
  write_page("01.bmp", 1);
  write_page("2.bmp", 2);
  const QImage& marker = form().page(1);
  EXPECT_EQ(marker.size(), QSize(10, 10));
  EXPECT_EQ(marker.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(marker.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(form().page(2).pixelColor(100, 100), page_colour(2));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ManualFormTest, UndecodablePageStopsLoadingWithItsMessage) {
  write_config();
  write_all_pages();
  QFile broken(manual_dir() + "/3.bmp");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
  broken.write("this is no bitmap");
  broken.close();
  ASSERT_EQ(form().page(2).pixelColor(0, 0), page_colour(2));
  // The message comes when the broken page is needed, once.
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_TRUE(form().page(3).isNull());
  EXPECT_EQ(errors.size(), 1);
  EXPECT_TRUE(form().page(14).isNull());
  EXPECT_EQ(errors.size(), 1);
}

// A program whose manual is never opened reads none of its pages; opening it reads the page shown,
// and each page is read when turned to, so a page changed meanwhile shows as it is then.
TEST_F(ManualFormTest, PagesAreReadWhenFirstShown) {
  write_config();
  write_all_pages();
  EXPECT_EQ(form().pages_read(), 0);
  form().show_manual();
  EXPECT_EQ(form().pages_read(), 1);
  EXPECT_EQ(shown_colour(), page_colour(1));
  write_page("2.bmp", 9);
  tap(Qt::Key_Right);
  EXPECT_EQ(form().pages_read(), 2);
  EXPECT_EQ(shown_colour(), page_colour(9));
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(ManualFormTest, ReopensAtThePageWhereItWasClosed) {
  write_config();
  write_all_pages();
  form().show_manual();
  EXPECT_EQ(shown_colour(), page_colour(1));
  // Held as their files store them: a byte a pixel for a palette page, three for a 24-bit one.
  EXPECT_EQ(form().page(1).format(), QImage::Format_Indexed8);
  EXPECT_EQ(form().page(2).format(), QImage::Format_RGB888);
  tap(Qt::Key_Right);
  EXPECT_EQ(shown_colour(), page_colour(2));
  for (int i = 0; i < 3; ++i) tap(Qt::Key_Right);
  EXPECT_EQ(form().manual_page(), 5);
  tap(Qt::Key_Escape);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(visible(D::btn_close_up));
  form().show_manual();
  EXPECT_EQ(form().manual_page(), 5);
  EXPECT_EQ(shown_colour(), page_colour(5));
}

TEST_F(ManualFormTest, NoTurningBeforeTheFirstOrPastTheLastPage) {
  write_config();
  write_all_pages();
  form().show_manual();
  EXPECT_FALSE(visible(D::btn_left_up));
  EXPECT_FALSE(visible(D::btn_left_down));
  EXPECT_TRUE(visible(D::btn_right_up));
  tap(Qt::Key_Left);
  EXPECT_EQ(form().manual_page(), 1);
  for (int i = 0; i < 20; ++i) tap(Qt::Key_Right);
  EXPECT_EQ(form().manual_page(), 14);
  EXPECT_FALSE(visible(D::btn_right_up));
  EXPECT_FALSE(visible(D::btn_right_down));
  EXPECT_TRUE(visible(D::btn_left_up));
  EXPECT_EQ(shown_colour(), page_colour(14));
}

TEST_F(ManualFormTest, LeftKeyShowsThePressedButtonUntilReleased) {
  write_config();
  write_all_pages();
  form().show_manual();
  tap(Qt::Key_Right);
  key(QEvent::KeyPress, Qt::Key_Left);
  EXPECT_FALSE(visible(D::btn_left_up));
  EXPECT_TRUE(visible(D::btn_left_down));
  EXPECT_EQ(form().manual_page(), 2);
  // Held: the repeats press again and again, and only the real release turns the page.
  key(QEvent::KeyRelease, Qt::Key_Left, true);
  key(QEvent::KeyPress, Qt::Key_Left, true);
  EXPECT_EQ(form().manual_page(), 2);
  key(QEvent::KeyRelease, Qt::Key_Left);
  EXPECT_EQ(form().manual_page(), 1);
  EXPECT_FALSE(visible(D::btn_left_up));
  EXPECT_FALSE(visible(D::btn_left_down));
}

TEST_F(ManualFormTest, ReleaseBelongsToThePressedButton) {
  write_config();
  write_all_pages();
  form().show_manual();
  const QPoint start = form().pos();
  QTest::mousePress(&form(), Qt::LeftButton, {}, centre(D::btn_right_up));
  EXPECT_FALSE(visible(D::btn_right_up));
  QTest::mouseMove(&form(), QPoint(100, 100));
  QTest::mouseRelease(&form(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(form().manual_page(), 2);
  EXPECT_TRUE(visible(D::btn_right_up));
  EXPECT_EQ(form().pos(), start);  // a button press never drags

  QTest::mouseClick(&form(), Qt::RightButton, {}, centre(D::btn_right_up));
  EXPECT_EQ(form().manual_page(), 2);
  QTest::mouseClick(&form(), Qt::LeftButton, {}, centre(D::btn_left_up));
  EXPECT_EQ(form().manual_page(), 1);
  QTest::mouseClick(&form(), Qt::LeftButton, {}, centre(D::btn_close_up));
  EXPECT_FALSE(form().isVisible());
}

TEST_F(ManualFormTest, MouseAndKeyTogetherStayWithinThePages) {
  write_config();
  write_all_pages();
  form().show_manual();
  for (int i = 0; i < 12; ++i) tap(Qt::Key_Right);
  ASSERT_EQ(form().manual_page(), 13);
  QTest::mousePress(&form(), Qt::LeftButton, {}, centre(D::btn_right_up));
  tap(Qt::Key_Right);
  QTest::mouseRelease(&form(), Qt::LeftButton, {}, centre(D::btn_right_up));
  EXPECT_EQ(form().manual_page(), 14);
  EXPECT_EQ(shown_colour(), page_colour(14));
}

TEST_F(ManualFormTest, DraggingThePageMovesTheWindow) {
  write_config();
  write_all_pages();
  form().show_manual();
  form().move(200, 150);
  const QPoint start = form().pos();
  QTest::mousePress(&form(), Qt::LeftButton, {}, QPoint(100, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(130, 90), form().mapToGlobal(QPointF(130, 90)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form(), &move);
  EXPECT_EQ(form().pos(), start + QPoint(30, -10));
  QTest::mouseRelease(&form(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(form().manual_page(), 1);
}

TEST(ManualButtonDrawings, RaisedAndPressedDiffer) {
  for (ButtonGlyph glyph : {ButtonGlyph::Next, ButtonGlyph::Previous, ButtonGlyph::Close}) {
    const QImage up = manual_button_drawing(glyph, false);
    const QImage down = manual_button_drawing(glyph, true);
    EXPECT_EQ(up.size(), QSize(16, 14));
    EXPECT_NE(up, down);
    EXPECT_EQ(up.pixelColor(7, 6), QColor(Qt::white)) << static_cast<int>(glyph);
  }
  EXPECT_NE(manual_button_drawing(ButtonGlyph::Next, false),
            manual_button_drawing(ButtonGlyph::Previous, false));
}

}  // namespace
}  // namespace qm
