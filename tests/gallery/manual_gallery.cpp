#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include "tests/gallery/gallery_runs.h"
#include "ui/manual_form.h"

namespace qm::testing {
namespace {

// The page as a promise names it: "none", "marker" (the red square with its black outline) or
// its size.
std::string page_kind(const QImage& page) {
  if (page.isNull()) return "none";
  bool marker = page.width() == 10 && page.height() == 10;
  for (int y = 0; marker && y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool outline = x == 0 || y == 0 || x == 9 || y == 9;
      if (page.pixelColor(x, y) != (outline ? QColor(Qt::black) : QColor(Qt::red))) marker = false;
    }
  }
  if (marker) return "marker";
  return std::to_string(page.width()) + "x" + std::to_string(page.height());
}

}  // namespace

// Promises are kept in their order: "page N" reads the pages up to N where they have not been
// read, so an "error" promise after it holds what reading them said.
void run_manual_case(const GalleryCase& c) {
  const InFolder here(c.folder);
  QStringList errors;
  TManualForm form(c.folder, [&errors](const QString& message) { errors << message; });
  // Pages are read when first needed, and a broken one speaks only then.
  EXPECT_EQ(form.pages_read(), 0);
  EXPECT_TRUE(errors.isEmpty());

  for (const auto& [word, values] : c.expect) {
    SCOPED_TRACE(word + " " + values);
    if (word == "size") {
      EXPECT_EQ(integers(values), (std::vector<long long>{form.width(), form.height()}));
    } else if (word == "error") {
      EXPECT_EQ(errors, QStringList{QString::fromStdString(values)});
    } else if (word == "no_error") {
      EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    } else if (word == "page") {
      const std::size_t space = values.find(' ');
      EXPECT_EQ(page_kind(form.page(std::stoi(values.substr(0, space)))), values.substr(space + 1));
    } else {
      ADD_FAILURE() << "unknown promise";
    }
  }
}

}  // namespace qm::testing
