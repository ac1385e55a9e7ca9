#include "lcd/segment_fade.h"

#include <algorithm>
#include <utility>

namespace qm {

void SegmentFade::set_response(int ms) {
  response_ms_ = std::max(ms, 0);
  if (response_ms_ == 0) fades_.clear();
}

void SegmentFade::change(BoxId id, const Picture& lit, double now_ms) {
  if (id <= 0 || id >= box::kCount) return;
  const Picture before = std::exchange(lit_[id], lit);
  if (response_ms_ == 0 || before == lit) return;
  auto [it, fresh] = fades_.try_emplace(id);
  Fade& fade = it->second;
  if (fresh) {
    fade.at = now_ms;
    if (before) fade.layers.push_back({before, 1, false});
  } else {
    step(fade, now_ms);
  }
  bool found = false;
  for (Layer& layer : fade.layers) {
    layer.darkening = lit && layer.picture == lit;
    found = found || layer.darkening;
  }
  if (lit && !found) fade.layers.push_back({lit, 0, true});
  std::stable_partition(fade.layers.begin(), fade.layers.end(),
                        [](const Layer& layer) { return !layer.darkening; });
}

bool SegmentFade::step(Fade& fade, double now_ms) const {
  const double moved = std::max(now_ms - fade.at, 0.0) / response_ms_;
  fade.at = std::max(now_ms, fade.at);
  for (Layer& layer : fade.layers)
    layer.level = std::clamp(layer.level + (layer.darkening ? moved : -moved), 0.0, 1.0);
  std::erase_if(fade.layers,
                [](const Layer& layer) { return !layer.darkening && layer.level <= 0; });
  return std::any_of(fade.layers.begin(), fade.layers.end(),
                     [](const Layer& layer) { return !layer.darkening || layer.level < 1; });
}

void SegmentFade::advance(double now_ms, const std::function<void(BoxId)>& moved) {
  for (auto it = fades_.begin(); it != fades_.end();) {
    const bool going_on = step(it->second, now_ms);
    moved(it->first);
    it = going_on ? std::next(it) : fades_.erase(it);
  }
}

const std::vector<SegmentFade::Layer>* SegmentFade::layers(BoxId id) const {
  const auto it = fades_.find(id);
  return it == fades_.end() ? nullptr : &it->second.layers;
}

}  // namespace qm
