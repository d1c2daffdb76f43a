// SPDX-License-Identifier: GPL-3.0-or-later
// The conformance probe on Qt (offscreen): QTest's mouse through the window system's own path,
// the window rendered to an image, the scroll bar's own actions. And what the Qt back end adds to
// the contract: the window placed on the primary screen wherever that starts (offscreen.json puts
// it at 1024, 0).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>

#include "Probe.h"
#include "game/frmGame.h"
#include "platform/qt/QtNative.h"

namespace {

TEST(Placement, TheWindowIsPlacedOnThePrimaryScreenWhereverThatStarts) {
  frmGame form;
  form.Show();
  const QPoint corner = QGuiApplication::primaryScreen()->geometry().topLeft();
  ASSERT_NE(corner, QPoint(0, 0));
  EXPECT_EQ(platform::Backend::Of(form).widget->pos() - corner, QPoint(300, 110));
  EXPECT_EQ(form.Left(), 4500);
}

}  // namespace

namespace probe {

const bool kExactClock = false;

void Events(std::chrono::milliseconds time) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < time.count()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents,
                                static_cast<int>(time.count() - clock.elapsed()));
  }
}

void Pointer(platform::Form& form, int x, int y, int held, int changed) {
  QWindow* window = platform::Backend::Of(form).widget->windowHandle();
  const auto button = static_cast<Qt::MouseButton>(changed == 4 ? 4 : changed);
  if (changed == 0) {
    QTest::mouseMove(window, {x, y});
  } else if ((held & changed) != 0) {
    QTest::mousePress(window, button, {}, {x, y});
  } else {
    QTest::mouseRelease(window, button, {}, {x, y});
  }
}

platform::Rgb ColorAt(platform::Form& form, int x, int y) {
  const QColor c =
      platform::Backend::Of(form).widget->grab(QRect(x, y, 1, 1)).toImage().pixelColor(0, 0);
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

void Click(platform::HScrollBar& bar, Part part, int thumbTo) {
  QScrollBar& native = *platform::Backend::Of(bar).bar;
  constexpr QAbstractSlider::SliderAction kActions[] = {
      QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepAdd,
      QAbstractSlider::SliderPageStepSub, QAbstractSlider::SliderPageStepAdd};
  if (part == Part::Thumb) {
    native.setSliderPosition(thumbTo);  // what dragging the thumb does
  } else {
    native.triggerAction(kActions[static_cast<int>(part)]);
  }
}

Shown ShownBy(platform::HScrollBar& bar) {
  const QScrollBar& native = *platform::Backend::Of(bar).bar;
  return {native.minimum(), native.maximum(), native.sliderPosition()};
}

}  // namespace probe
