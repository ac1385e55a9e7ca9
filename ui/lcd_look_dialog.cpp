#include "ui/lcd_look_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

namespace qm {

LcdLookDialog::LcdLookDialog(QWidget* parent, const LcdLook& start,
                             std::function<void(const LcdLook&)> show, std::function<void()> keep)
    : QDialog(parent), start_(start), show_(std::move(show)), keep_(std::move(keep)) {
  setWindowTitle("LCD look");
  auto* form = new QFormLayout(this);
  const struct {
    const char* caption;
    int maximum;
    int value;
    const char* unit;
  } rows[] = {{"Unlit segments", 100, start.unlit, " %"},
              {"Shadow", 100, start.shadow, " %"},
              {"Response time", kMaxResponseMs, start.response_ms, " ms"}};
  for (int i = 0; i < 3; ++i) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, rows[i].maximum);
    slider->setValue(rows[i].value);
    slider->setMinimumWidth(200);
    auto* value = new QLabel(this);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance("250 ms"));
    const QString unit = rows[i].unit;
    auto label = [value, unit](int v) { value->setText(QString::number(v) + unit); };
    label(rows[i].value);
    connect(slider, &QSlider::valueChanged, this, [this, label](int v) {
      label(v);
      show_(chosen());
    });
    auto* row = new QHBoxLayout;
    row->addWidget(slider);
    row->addWidget(value);
    form->addRow(rows[i].caption, row);
    sliders_[i] = slider;
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

LcdLook LcdLookDialog::chosen() const {
  return {sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value()};
}

void LcdLookDialog::accept() {
  show_(chosen());
  keep_();
  QDialog::accept();
}

void LcdLookDialog::reject() {
  show_(start_);
  QDialog::reject();
}

}  // namespace qm
