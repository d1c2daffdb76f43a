// SPDX-License-Identifier: GPL-3.0-or-later
// What the Qt back end adds to the platform's contract (conformance/), on Qt's offscreen platform
// with a 1024 x 768 screen: placement on the primary screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "game/frmGame.h"
#include "platform/qt/QtNative.h"

namespace {

TEST(Placement, TheWindowIsPlacedOnThePrimaryScreenWhereverThatStarts) {
  frmGame form;
  form.Show();
  const QPoint corner = QGuiApplication::primaryScreen()->geometry().topLeft();
  EXPECT_EQ(platform::Backend::Of(form).widget->pos() - corner, QPoint(300, 110));
  EXPECT_EQ(form.Left(), 4500);
}

}  // namespace
