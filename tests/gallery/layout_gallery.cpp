#include <gtest/gtest.h>

#include <cstdio>  // jpeglib.h needs FILE declared before it
#include <map>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

#include "skin/gfx_load_skin.h"
#include "tests/gallery/gallery_runs.h"
#include "tests/gallery/picture_kind.h"

namespace qm::testing {
namespace {

constexpr ScreenSize kScreen = {1024, 768};

// libjpeg's message numbers differ between its versions, so cases name them.
std::string with_jpeg_numbers(std::string text) {
  static const std::map<std::string, int> kNumbers = {
      {"JERR_BAD_HUFF_TABLE", JERR_BAD_HUFF_TABLE},
      {"JERR_BAD_PROGRESSION", JERR_BAD_PROGRESSION},
      {"JERR_IMAGE_TOO_BIG", JERR_IMAGE_TOO_BIG},
      {"JERR_INPUT_EMPTY", JERR_INPUT_EMPTY},
  };
  for (const auto& [name, number] : kNumbers) {
    const std::string placeholder = "{" + name + "}";
    if (const auto at = text.find(placeholder); at != std::string::npos)
      text.replace(at, placeholder.size(), std::to_string(number));
  }
  return text;
}

std::string status_name(SkinLayoutResult::Status status) {
  switch (status) {
    case SkinLayoutResult::Status::Done:
      return "done";
    case SkinLayoutResult::Status::ConfigMissing:
      return "config_missing";
    case SkinLayoutResult::Status::ConfigUnreadable:
      return "config_unreadable";
    case SkinLayoutResult::Status::Stopped:
      return "stopped";
    case SkinLayoutResult::Status::Unshowable:
      return "unshowable";
    case SkinLayoutResult::Status::NothingToSee:
      return "nothing_to_see";
  }
  return "?";
}

std::string fit_name(Fit fit) {
  switch (fit) {
    case Fit::TopLeft:
      return "topleft";
    case Fit::Center:
      return "center";
    case Fit::Stretch:
      return "stretch";
  }
  return "?";
}

// "ID rest" split into the box id and the rest; an id that names no box fails the test and
// gives 0, the id of no box.
std::pair<BoxId, std::string> box_and_rest(const std::string& values) {
  const std::size_t space = values.find(' ');
  BoxId id = std::stoi(values.substr(0, space));
  if (id < 1 || id >= box::kCount) {
    ADD_FAILURE() << "no box has the id " << id;
    id = 0;
  }
  return {id, values.substr(space + 1)};
}

std::string rect_text(const Rect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.width) +
         " " + std::to_string(r.height);
}

}  // namespace

void run_layout_case(const GalleryCase& c) {
  const InFolder here(c.folder);
  Scene scene;
  const bool fullscreen = c.first("mode") == "fullscreen";
  const SkinLayoutResult result = Gfx_Load_Skin(scene, c.folder, fullscreen, kScreen);
  const WindowProps& window = scene.window();

  for (const auto& [word, values] : c.expect) {
    SCOPED_TRACE(word + " " + values);
    if (word == "mode") continue;
    if (word == "status") {
      EXPECT_EQ(status_name(result.status), values) << result.message;
    } else if (word == "message") {
      EXPECT_EQ(result.message, with_jpeg_numbers(values));
    } else if (word == "client") {
      EXPECT_EQ(integers(values),
                (std::vector<long long>{window.client_width, window.client_height}));
    } else if (word == "offset") {
      EXPECT_EQ(integers(values), (std::vector<long long>{window.offset_x, window.offset_y}));
    } else if (word == "color") {
      EXPECT_EQ(integers(values), (std::vector<long long>{window.color}));
    } else if (word == "colour_key") {
      EXPECT_EQ(integers(values), (std::vector<long long>{window.color_key}));
    } else if (word == "rect") {
      const auto [id, rect] = box_and_rest(values);
      EXPECT_EQ(rect_text(scene.box(id).rect), rect);
    } else if (word == "picture") {
      const auto [id, kind] = box_and_rest(values);
      EXPECT_EQ(picture_kind(scene.box(id).picture), kind);
    } else if (word == "fit") {
      const auto [id, fit] = box_and_rest(values);
      EXPECT_EQ(fit_name(scene.box(id).fit), fit);
    } else if (word == "centre") {
      const WindowPosition at =
          centre_on_screen(window.client_width, window.client_height, kScreen);
      EXPECT_EQ(integers(values), (std::vector<long long>{at.left, at.top}));
    } else {
      ADD_FAILURE() << "unknown promise";
    }
  }
}

}  // namespace qm::testing
