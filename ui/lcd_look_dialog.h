#pragma once

#include <QDialog>
#include <functional>

#include "lcd/lcd_look.h"

class QSlider;

namespace qm {

// "LCD look...": three sliders for the unlit segments, their shadow and the crystal's response
// time, each move shown on the device at once. OK keeps the values; Esc or Cancel puts back the
// ones the dialog opened with.
class LcdLookDialog final : public QDialog {
 public:
  // `show` draws the device with a look; `keep` stores the one chosen.
  LcdLookDialog(QWidget* parent, const LcdLook& start, std::function<void(const LcdLook&)> show,
                std::function<void()> keep);

  LcdLook chosen() const;
  QSlider& unlit() { return *sliders_[0]; }
  QSlider& shadow() { return *sliders_[1]; }
  QSlider& response() { return *sliders_[2]; }

  void accept() override;
  void reject() override;

 private:
  LcdLook start_;
  std::function<void(const LcdLook&)> show_;
  std::function<void()> keep_;
  QSlider* sliders_[3] = {};
};

}  // namespace qm
