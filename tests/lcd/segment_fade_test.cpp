#include "lcd/segment_fade.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace qm {
namespace {

// The darkness a box shows at a moment: the darkest of its pictures, 1 where it is steadily lit
// and 0 where it is steadily clear.
double darkness(const SegmentFade& fade, BoxId id, bool lit) {
  const auto* layers = fade.layers(id);
  if (!layers) return lit ? 1 : 0;
  double most = 0;
  for (const auto& layer : *layers) most = std::max(most, layer.level);
  return most;
}

struct Switch {
  double at_ms;
  bool glyph_b;  // which of two glyphs the box shows; both are lit
  bool lit;
};

// A lit segment switched off and on again within the response time, or a digit place that takes
// another glyph and its first one back, only pales for a moment: it never reaches clear, and the
// fades end once the response time has passed.
TEST(SegmentFade, ASegmentTurnedOffAndOnWithinTheResponseTimeNeverClears) {
  const struct {
    const char* what;
    std::vector<Switch> switches;
  } cases[] = {
      {"off and on", {{0, false, false}, {60, false, true}}},
      {"off and on, quick", {{0, false, false}, {5, false, true}}},
      {"off and on twice",
       {{0, false, false}, {40, false, true}, {70, false, false}, {90, false, true}}},
      {"another glyph and back", {{0, true, true}, {50, false, true}}},
  };
  auto a = std::make_shared<Image>();
  auto b = std::make_shared<Image>();
  for (const auto& c : cases) {
    SegmentFade fade;
    fade.set_response(100);
    const BoxId id = box::im_panel_digit(3);
    fade.change(id, a, -1000);  // lit long ago
    double lowest = 1;
    size_t next = 0;
    bool lit = true;
    for (double t = 0; t <= 400; t += 1) {
      while (next < c.switches.size() && c.switches[next].at_ms <= t) {
        const Switch& s = c.switches[next++];
        lit = s.lit;
        fade.change(id, s.lit ? (s.glyph_b ? b : a) : nullptr, t);
      }
      fade.advance(t, [](BoxId) {});
      lowest = std::min(lowest, darkness(fade, id, lit));
    }
    EXPECT_GT(lowest, 0.3) << c.what;
    EXPECT_FALSE(fade.fading()) << c.what;
  }
}

TEST(SegmentFade, WithoutResponseTimeNothingFadesAndAFadeUnderWayEnds) {
  auto a = std::make_shared<Image>();
  SegmentFade fade;
  fade.change(box::im_cherry, a, 0);
  fade.change(box::im_cherry, nullptr, 1);
  EXPECT_FALSE(fade.fading());
  fade.set_response(250);
  fade.change(box::im_cherry, a, 2);
  ASSERT_TRUE(fade.fading());
  EXPECT_EQ(fade.layers(box::im_cherry)->back().level, 0);
  fade.set_response(0);
  EXPECT_FALSE(fade.fading());
}

}  // namespace
}  // namespace qm
