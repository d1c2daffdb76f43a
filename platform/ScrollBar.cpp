// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScrollBar.h"

#include <QScrollBar>
#include <QString>

#include "Form.h"
#include "OnError.h"

namespace platform {

HScrollBar::HScrollBar(Form& parent, std::string_view name)
    : bar_(std::make_unique<QScrollBar>(Qt::Horizontal, parent.Widget())) {
  bar_->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  bar_->setFocusPolicy(Qt::StrongFocus);
  bar_->show();
}

HScrollBar::~HScrollBar() = default;

void HScrollBar::Move(int left, int top, int width, int height) {
  bar_->setGeometry(left, top, width, height);
}

void HScrollBar::Range(std::int16_t min, std::int16_t max) {
  bar_->setRange(min, max);
}

void HScrollBar::Steps(std::int16_t smallChange, std::int16_t largeChange) {
  bar_->setSingleStep(smallChange);
  bar_->setPageStep(largeChange);
}

std::int16_t HScrollBar::Value() const {
  return static_cast<std::int16_t>(bar_->value());
}

void HScrollBar::Value(std::int16_t value) {
  if (value < bar_->minimum() || value > bar_->maximum()) {
    Fail();
  }
  bar_->setValue(value);
}

void HScrollBar::BringToFront() {
  bar_->raise();
}

QWidget* HScrollBar::Widget() const {
  return bar_.get();
}

}  // namespace platform
