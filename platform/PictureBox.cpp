// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureBox.h"

#include <QMouseEvent>
#include <QPalette>
#include <QString>
#include <QWidget>

#include "Colors.h"
#include "Form.h"
#include "Twips.h"

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

}  // namespace

class BoxWidget final : public QWidget {
 public:
  BoxWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    Deliver(box_.down_, ButtonBits(event->button()), event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    Deliver(box_.move_, ButtonBits(event->buttons()), event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    Deliver(box_.up_, ButtonBits(event->button()), event);
  }

 private:
  static void Deliver(const PictureBox::MouseHandler& handler, std::int16_t button,
                      QMouseEvent* event) {
    if (!handler) {
      event->ignore();
      return;
    }
    const QPointF at = event->position();
    handler(button, ShiftBits(event->modifiers()), static_cast<float>(at.x()) * kTwipsPerPixel,
            static_cast<float>(at.y()) * kTwipsPerPixel);
  }

  PictureBox& box_;
};

PictureBox::PictureBox(Form& parent, std::string_view name)
    : widget_(std::make_unique<BoxWidget>(*this, parent.Widget())) {
  widget_->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  widget_->show();
}

PictureBox::~PictureBox() = default;

void PictureBox::Left(float pixels) {
  left_ = pixels;
  Place();
}

void PictureBox::Top(float pixels) {
  top_ = pixels;
  Place();
}

void PictureBox::Width(float pixels) {
  width_ = pixels;
  Place();
}

void PictureBox::Height(float pixels) {
  height_ = pixels;
  Place();
}

void PictureBox::Move(float left, float top) {
  left_ = left;
  top_ = top;
  Place();
}

void PictureBox::BackColor(std::uint32_t color) {
  QPalette palette = widget_->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  widget_->setPalette(palette);
  color_ = color;
}

void PictureBox::BringToFront() {
  widget_->raise();
}

void PictureBox::OnMouseDown(MouseHandler handler) {
  down_ = std::move(handler);
}

void PictureBox::OnMouseMove(MouseHandler handler) {
  move_ = std::move(handler);
  // Moves without a button held are events of the box too.
  widget_->setMouseTracking(static_cast<bool>(move_));
}

void PictureBox::OnMouseUp(MouseHandler handler) {
  up_ = std::move(handler);
}

QWidget* PictureBox::Widget() const {
  return widget_.get();
}

void PictureBox::Place() {
  const int left = PlacePixel(left_);
  const int top = PlacePixel(top_);
  const int width = std::max(0, PlacePixel(width_));
  const int height = std::max(0, PlacePixel(height_));
  widget_->setGeometry(left, top, width, height);
}

}  // namespace platform
