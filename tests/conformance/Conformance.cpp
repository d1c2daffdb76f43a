// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's contract, checked through the interface headers alone; the home's probe (Probe.h)
// is the user's hand, the clock and the eye.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "Probe.h"
#include "platform/Form.h"
#include "platform/OnError.h"
#include "platform/PictureBox.h"
#include "platform/ScrollBar.h"
#include "platform/Timer.h"

namespace {

using namespace std::chrono_literals;
using platform::Rgb;
constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

// A shown 200 x 150 window, blue, with box a (red, 10,10 60 x 40) and box b (green, at 40.4,30.5
// 50 x 50, created later, so on top); their mouse events are written down as they come.
struct Scene {
  platform::Form form{"frmTest", 200, 150};
  platform::PictureBox a{form, "a"};
  platform::PictureBox b{form, "b"};
  std::vector<std::string> events;

  // The pointer moves to x, y (with the buttons held before), then does what the step says;
  // the events of that step alone are kept.
  void Pointer(int x, int y, int held, int changed = 0) {
    if (changed != 0) {
      probe::Pointer(form, x, y, held ^ changed);
    }
    events.clear();
    probe::Pointer(form, x, y, held, changed);
  }

  Scene() {
    form.BackColor(0xFF0000);
    for (platform::PictureBox* box : {&a, &b}) {
      const bool first = box == &a;
      box->Move(first ? 10 : 40.4F, first ? 10 : 30.5F);
      box->Width(first ? 60 : 50);
      box->Height(first ? 40 : 50);
      box->BackColor(first ? 0x0000FF : 0x00FF00);
      const auto record = [this, first](const char* kind) {
        return [this, first, kind](std::int16_t button, std::int16_t, float x, float y) {
          events.push_back(std::string(first ? "a " : "b ") + kind + " " + std::to_string(button) +
                           " " + std::to_string(static_cast<int>(x)) + "," +
                           std::to_string(static_cast<int>(y)));
        };
      };
      box->OnMouseDown(record("down"));
      box->OnMouseMove(record("move"));
      box->OnMouseUp(record("up"));
    }
    form.Show();
    probe::Events(100ms);
  }
};

TEST(Boxes, SitOnTheNearestPixelKeepTheirValuesAndStackInCreationAndFrontOrder) {
  Scene scene;
  EXPECT_EQ(scene.b.Left(), 40.4F);
  EXPECT_EQ(scene.b.Top(), 30.5F);
  scene.form.Left(4493);  // the window too sits on whole pixels: 299.53 pixels
  EXPECT_EQ(scene.form.Left(), 4500);
  const struct {
    int x = 0, y = 0;
    Rgb shown;
  } points[] = {{15, 15, kRed},   {39, 31, kRed},  {40, 30, kRed},   {40, 31, kGreen},
                {89, 80, kGreen}, {90, 80, kBlue}, {150, 120, kBlue}};
  for (const auto& p : points) {
    EXPECT_EQ(probe::ColorAt(scene.form, p.x, p.y), p.shown) << p.x << "," << p.y;
  }
  scene.a.BringToFront();
  probe::Events(50ms);
  EXPECT_EQ(probe::ColorAt(scene.form, 45, 35), kRed);
  scene.Pointer(45, 35, 1, 1);
  EXPECT_EQ(scene.events, std::vector<std::string>{"a down 1 525,375"});
  scene.Pointer(45, 35, 0, 1);  // (the next test starts with every button up)
}

TEST(Mouse, APressCapturesTheBoxUntilEveryButtonIsUpAndButtonsComeAsMasks) {
  Scene scene;
  const struct {
    int x = 0, y = 0, held = 0, changed = 0;
    const char* event = "";  // what the boxes receive, in twips of the receiving box
  } steps[] = {
      {45, 35, 1, 1, "b down 1 75,60"},       {150, 120, 1, 0, "b move 1 1650,1335"},
      {5, 5, 1, 0, "b move 1 -525,-390"},     {150, 120, 3, 2, "b down 2 1650,1335"},
      {160, 120, 3, 0, "b move 3 1800,1335"}, {160, 120, 1, 2, "b up 2 1800,1335"},
      {160, 125, 1, 0, "b move 1 1800,1410"}, {160, 125, 0, 1, "b up 1 1800,1410"},
      {15, 15, 0, 0, "a move 0 75,75"},
  };
  for (const auto& s : steps) {
    scene.Pointer(s.x, s.y, s.held, s.changed);
    EXPECT_EQ(scene.events, std::vector<std::string>{s.event}) << s.event;
  }
}

TEST(Colors, ShowAsDecodedAndInvalidValuesFailKeepingTheColourBefore) {
  Scene scene;
  const struct {
    std::uint32_t value = 0;
    bool valid = false;
    Rgb shown;
  } colors[] = {{0xC0FFEE, true, {0xEE, 0xFF, 0xC0}},
                {0x80000005, true, {255, 255, 255}},
                {0x8000000F, true, {240, 240, 240}},
                {0x80000020, false, {240, 240, 240}},
                {0x01000000, false, {240, 240, 240}}};
  for (const auto& c : colors) {
    const std::uint32_t before = scene.a.BackColor();
    if (c.valid) {
      scene.a.BackColor(c.value);
    } else {
      EXPECT_THROW(scene.a.BackColor(c.value), platform::Failure) << std::hex << c.value;
    }
    probe::Events(30ms);
    EXPECT_EQ(scene.a.BackColor(), c.valid ? c.value : before) << std::hex << c.value;
    EXPECT_EQ(probe::ColorAt(scene.form, 15, 15), c.shown) << std::hex << c.value;
  }
}

TEST(ScrollBar, ArrowsAndTroughStepWithinTheRangeAndBadValuesFail) {
  Scene scene;
  platform::HScrollBar bar(scene.form, "bar");
  bar.Move(10, 120, 180, 15);
  bar.Range(0, 10);
  bar.Steps(1, 4);
  bar.Value(5);
  const struct {
    probe::Part part = probe::Part::Thumb;
    int thumbTo = 0;
    std::int16_t value = 0;
  } clicks[] = {{probe::Part::RightArrow, 0, 6},  {probe::Part::LeftArrow, 0, 5},
                {probe::Part::TroughRight, 0, 9}, {probe::Part::TroughRight, 0, 10},
                {probe::Part::RightArrow, 0, 10}, {probe::Part::TroughLeft, 0, 6},
                {probe::Part::Thumb, 2, 2},       {probe::Part::Thumb, 10, 10},
                {probe::Part::Thumb, 0, 0},       {probe::Part::Thumb, 1, 1},
                {probe::Part::LeftArrow, 0, 0},   {probe::Part::LeftArrow, 0, 0}};
  EXPECT_EQ(probe::ShownBy(bar), probe::Shown(0, 10, 5));
  for (const auto& c : clicks) {
    probe::Click(bar, c.part, c.thumbTo);
    // The value, and the home's own bar showing the whole range with its thumb at the value.
    EXPECT_EQ(bar.Value(), c.value) << static_cast<int>(c.part);
    EXPECT_EQ(probe::ShownBy(bar), probe::Shown(0, 10, c.value)) << static_cast<int>(c.part);
  }
  EXPECT_THROW(bar.Value(11), platform::Failure);
  EXPECT_THROW(bar.Range(5, 1), platform::Failure);
  EXPECT_EQ(bar.Value(), 0);
  bar.Value(8);
  bar.Range(0, 3);
  EXPECT_EQ(bar.Value(), 3);
  EXPECT_EQ(probe::ShownBy(bar), probe::Shown(0, 3, 3));
}

TEST(Timer, TicksOnlyWhileEnabledEvery64thOfASecond) {
  platform::Timer timer;
  int ticks = 0;
  std::vector<std::chrono::steady_clock::time_point> when;
  timer.OnTimer([&] {
    ++ticks;
    when.push_back(std::chrono::steady_clock::now());
  });
  timer.Interval(1);
  probe::Events(100ms);
  EXPECT_EQ(ticks, 0);
  EXPECT_FALSE(timer.Pending());
  timer.Enabled(true);
  EXPECT_EQ(timer.Period(), std::chrono::microseconds(15625));
  probe::Events(probe::kExactClock ? 300ms : 1000ms);
  EXPECT_GT(ticks, 0);
  if (probe::kExactClock) {
    EXPECT_GE(ticks, 300 * 64 / 1000 - 1) << "behind the 1/64 s schedule";
  } else {
    ASSERT_GT(when.size(), 2U) << "hardly a tick in a second";
    // On a real clock a tick may come late, and the next one then early to keep the schedule:
    // the usual gap between ticks is the period, to the millisecond the system's timers keep.
    std::vector<double> gaps;
    for (std::size_t i = 1; i < when.size(); ++i) {
      gaps.push_back(std::chrono::duration<double, std::milli>(when[i] - when[i - 1]).count());
    }
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
    std::nth_element(gaps.begin(), middle, gaps.end());
    EXPECT_NEAR(*middle, 15.625, 1.0) << ticks << " ticks in a second";
  }
  timer.Enabled(false);
  EXPECT_FALSE(timer.Pending());
  const int stopped = ticks;
  probe::Events(100ms);
  EXPECT_EQ(ticks, stopped);
}

}  // namespace
