#pragma once

#include <functional>
#include <map>
#include <vector>

#include "lcd/image.h"
#include "lcd/scene.h"

namespace qm {

// The crystal's slowness: a segment turns dark or clear over the response time, starting from
// wherever it stands, so that one switched off and on again within that time only pales and
// never clears. A digit place that takes another glyph lets the old one clear while the new one
// darkens. Only the drawing lags; the scene itself changes at once.
class SegmentFade {
 public:
  struct Layer {
    Picture picture;
    double level = 0;  // 0 clear, 1 dark
    bool darkening = false;
  };

  // 0 turns segments at once and ends every fade under way.
  void set_response(int ms);
  int response() const { return response_ms_; }

  // The box now shows `lit` darkly (null while it shows nothing) since `now_ms`.
  void change(BoxId id, const Picture& lit, double now_ms);
  // Moves every fade on to `now_ms`, calling `moved` for each box whose look changed; a fade
  // that is over is forgotten.
  void advance(double now_ms, const std::function<void(BoxId)>& moved);
  bool fading() const { return !fades_.empty(); }
  // A fading box's pictures with their levels, the darkening one last; null when not fading.
  const std::vector<Layer>* layers(BoxId id) const;

 private:
  struct Fade {
    std::vector<Layer> layers;
    double at = 0;
  };
  // False once the fade is over.
  bool step(Fade& fade, double now_ms) const;

  int response_ms_ = 0;
  std::vector<Picture> lit_ = std::vector<Picture>(box::kCount);
  std::map<BoxId, Fade> fades_;
};

}  // namespace qm
