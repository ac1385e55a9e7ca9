#include <gtest/gtest.h>

#include <QApplication>
#include <functional>

#include "tests/gallery/gallery_runs.h"

namespace {

using qm::testing::GalleryCase;

class GalleryTest : public ::testing::Test {
 public:
  explicit GalleryTest(std::function<void()> body) : body_(std::move(body)) {}
  void TestBody() override { body_(); }

 private:
  std::function<void()> body_;
};

void add_test(const char* suite, const std::string& name, std::function<void()> body) {
  ::testing::RegisterTest(suite, name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                          [body]() -> ::testing::Test* { return new GalleryTest(body); });
}

// One test per case, named after its folder, so that a failing case names itself. A path
// without cases fails: the gallery was not generated.
void add_cases(const char* suite, const char* path, void (*run)(const GalleryCase&)) {
  const std::vector<GalleryCase> cases = qm::testing::gallery_cases(QM_GALLERY_DIR, path);
  if (cases.empty()) {
    add_test(suite, "CasesWereGenerated",
             [path] { FAIL() << "no cases in " << QM_GALLERY_DIR << "/" << path; });
  }
  for (const GalleryCase& c : cases) add_test(suite, c.name, [run, c] { run(c); });
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  add_cases("LayoutGallery", "layout", qm::testing::run_layout_case);
  add_cases("ManualGallery", "manual", qm::testing::run_manual_case);
  add_cases("SoundGallery", "sound", qm::testing::run_sound_case);
  add_cases("SettingsGallery", "settings", qm::testing::run_settings_case);
  return RUN_ALL_TESTS();
}
