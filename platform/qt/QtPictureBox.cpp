// SPDX-License-Identifier: GPL-3.0-or-later
// Picture boxes on Qt: child QWidgets filled with their palette's window colour; Qt's implicit
// grab keeps the mouse with the pressed box.
#include <QMouseEvent>
#include <QPalette>
#include <QString>

#include <algorithm>

#include "QtNative.h"
#include "platform/Twips.h"

namespace platform {
namespace {

std::int16_t ButtonBits(Qt::MouseButtons buttons) {
  std::int16_t bits = 0;
  if (buttons & Qt::LeftButton) {
    bits |= 1;
  }
  if (buttons & Qt::RightButton) {
    bits |= 2;
  }
  if (buttons & Qt::MiddleButton) {
    bits |= 4;
  }
  return bits;
}

std::int16_t ShiftBits(Qt::KeyboardModifiers modifiers) {
  std::int16_t bits = 0;
  if (modifiers & Qt::ShiftModifier) {
    bits |= 1;
  }
  if (modifiers & Qt::ControlModifier) {
    bits |= 2;
  }
  if (modifiers & Qt::AltModifier) {
    bits |= 4;
  }
  return bits;
}

class BoxWidget final : public QWidget {
 public:
  BoxWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // moves without a button held are events of the box too
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    Deliver(PictureBox::Mouse::Down, ButtonBits(event->button()), event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    Deliver(PictureBox::Mouse::Move, ButtonBits(event->buttons()), event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    Deliver(PictureBox::Mouse::Up, ButtonBits(event->button()), event);
  }

 private:
  void Deliver(PictureBox::Mouse kind, std::int16_t button, QMouseEvent* event) {
    const QPointF at = event->position();
    if (!Backend::Mouse(box_, kind, button, ShiftBits(event->modifiers()),
                        static_cast<float>(at.x()), static_cast<float>(at.y()))) {
      event->ignore();
    }
  }

  PictureBox& box_;
};

}  // namespace

PictureBox::PictureBox(Form& parent, std::string_view name) : impl_(std::make_unique<Impl>()) {
  impl_->widget = std::make_unique<BoxWidget>(*this, Backend::Of(parent).widget.get());
  impl_->widget->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  impl_->widget->show();
}

PictureBox::~PictureBox() = default;

void PictureBox::Paint(Rgb color) {
  QPalette palette = impl_->widget->palette();
  palette.setColor(QPalette::Window, QColor(color.red, color.green, color.blue));
  impl_->widget->setPalette(palette);
}

void PictureBox::BringToFront() {
  impl_->widget->raise();
}

void PictureBox::Place() {
  impl_->widget->setGeometry(PlacePixel(left_), PlacePixel(top_), std::max(0, PlacePixel(width_)),
                             std::max(0, PlacePixel(height_)));
}

}  // namespace platform
