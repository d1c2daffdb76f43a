// SPDX-License-Identifier: GPL-3.0-or-later
// The reference the game is measured against: a bare Qt window of the game's size with the
// same five coloured boxes, idle, or (--drive) moving four of them 64 times a second.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <array>
#include <chrono>
#include <cstring>

namespace {

QWidget* Box(QWidget* parent, QRect geometry, QColor colour) {
  auto* box = new QWidget(parent);
  box->setGeometry(geometry);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, colour);
  box->setPalette(palette);
  box->setAutoFillBackground(true);
  return box;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(425, 432);
  window.move(300, 110);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, Qt::black);
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  Box(&window, {32, 32, 361, 361}, Qt::white);
  const std::array<QWidget*, 4> enemies{Box(&window, {46, 38, 61, 61}, QColor(0, 0, 128)),
                                        Box(&window, {257, 34, 57, 49}, QColor(0, 0, 128)),
                                        Box(&window, {42, 298, 30, 61}, QColor(0, 0, 128)),
                                        Box(&window, {281, 311, 101, 21}, QColor(0, 0, 128))};
  Box(&window, {187, 181, 41, 41}, QColor(128, 0, 0));
  window.show();

  // Moves the four boxes one pixel per tick on a 64 Hz grid, bouncing inside the window.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  const auto start = std::chrono::steady_clock::now();
  long long tick = 0;
  std::array<QPoint, 4> step{QPoint(1, 1), QPoint(-1, 1), QPoint(1, -1), QPoint(-1, -1)};
  QObject::connect(&timer, &QTimer::timeout, [&] {
    for (std::size_t i = 0; i < enemies.size(); ++i) {
      QWidget* enemy = enemies[i];
      const QPoint next = enemy->pos() + step[i];
      if (next.x() < 0 || next.x() > 393) {
        step[i].rx() = -step[i].x();
      }
      if (next.y() < 0 || next.y() > 411) {
        step[i].ry() = -step[i].y();
      }
      enemy->move(next);
    }
    ++tick;
    const auto due = start + std::chrono::microseconds(15625 * (tick + 1));
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
    timer.start(std::max(wait, std::chrono::milliseconds(0)));
  });
  if (argc > 1 && std::strcmp(argv[1], "--drive") == 0) {
    timer.start(16);
  }
  return QApplication::exec();
}
