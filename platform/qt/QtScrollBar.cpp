// SPDX-License-Identifier: GPL-3.0-or-later
// The speed bar on Qt: a QScrollBar showing the bar's range, steps and value. Its arrows, trough,
// thumb and keys come back as the bar's actions, and the bar's own value is put back in place.
#include <QString>

#include "QtNative.h"

namespace platform {
namespace {

HScrollBar::Scroll Action(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return HScrollBar::Scroll::LineLeft;
    case QAbstractSlider::SliderSingleStepAdd:
      return HScrollBar::Scroll::LineRight;
    case QAbstractSlider::SliderPageStepSub:
      return HScrollBar::Scroll::PageLeft;
    case QAbstractSlider::SliderPageStepAdd:
      return HScrollBar::Scroll::PageRight;
    default:  // the thumb dragged, or the keys to either end
      return HScrollBar::Scroll::ToPosition;
  }
}

}  // namespace

HScrollBar::HScrollBar(Form& parent, std::string_view name)
    : impl_(std::make_unique<Impl>(
          Impl{std::make_unique<QScrollBar>(Qt::Horizontal, Backend::Of(parent).widget.get())})) {
  QScrollBar& bar = *impl_->bar;
  bar.setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  bar.setFocusPolicy(Qt::StrongFocus);
  QObject::connect(&bar, &QAbstractSlider::actionTriggered, [this, &bar](int action) {
    Backend::Scrolled(*this, Action(action), bar.sliderPosition());
  });
  Show();
  bar.show();
}

HScrollBar::~HScrollBar() = default;

void HScrollBar::Move(int left, int top, int width, int height) {
  impl_->bar->setGeometry(left, top, width, height);
}

void HScrollBar::Show() {
  QScrollBar& bar = *impl_->bar;
  bar.setRange(min_, max_);
  bar.setSingleStep(smallChange_);
  bar.setPageStep(largeChange_);
  bar.setValue(value_);
  bar.setSliderPosition(value_);
}

void HScrollBar::BringToFront() {
  impl_->bar->raise();
}

}  // namespace platform
