// SPDX-License-Identifier: GPL-3.0-or-later
// The speed bar on Qt: a QScrollBar, whose arrows and trough step by the steps given.
#include <QString>

#include "Native.h"
#include "platform/OnError.h"

namespace platform {

HScrollBar::HScrollBar(Form& parent, std::string_view name)
    : impl_(std::make_unique<Impl>(
          Impl{std::make_unique<QScrollBar>(Qt::Horizontal, parent.Native().widget.get())})) {
  impl_->bar->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  impl_->bar->setFocusPolicy(Qt::StrongFocus);
  impl_->bar->show();
}

HScrollBar::~HScrollBar() = default;

void HScrollBar::Move(int left, int top, int width, int height) {
  impl_->bar->setGeometry(left, top, width, height);
}

void HScrollBar::Range(std::int16_t min, std::int16_t max) {
  impl_->bar->setRange(min, max);
}

void HScrollBar::Steps(std::int16_t smallChange, std::int16_t largeChange) {
  impl_->bar->setSingleStep(smallChange);
  impl_->bar->setPageStep(largeChange);
}

std::int16_t HScrollBar::Value() const {
  return static_cast<std::int16_t>(impl_->bar->value());
}

void HScrollBar::Value(std::int16_t value) {
  if (value < impl_->bar->minimum() || value > impl_->bar->maximum()) {
    Fail();
  }
  impl_->bar->setValue(value);
}

void HScrollBar::BringToFront() {
  impl_->bar->raise();
}

}  // namespace platform
