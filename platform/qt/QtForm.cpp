// SPDX-License-Identifier: GPL-3.0-or-later
// The game window on Qt: a fixed-size top-level QWidget; position and outer size come from its
// frame geometry.
#include <QCloseEvent>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include "Colors.h"
#include "Native.h"
#include "platform/OnError.h"
#include "platform/Twips.h"

namespace platform {
namespace {

class FormWidget final : public QWidget {
 public:
  explicit FormWidget(Form& form)
      : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
        form_(form) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (form_.RaiseUnload()) {
      event->accept();
    } else {
      event->ignore();
    }
  }

 private:
  Form& form_;
};

}  // namespace

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  Gui();
  QWidget& widget = *(impl_->widget = std::make_unique<FormWidget>(*this));
  widget.setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  widget.setFixedSize(clientWidthPixels, clientHeightPixels);
  widget.setAutoFillBackground(true);
}

Form::~Form() = default;

float Form::Left() const {
  return PixelsToTwips(impl_->widget->frameGeometry().x());
}

void Form::Left(float twips) {
  impl_->widget->move(PlacePixel(twips / kTwipsPerPixel), impl_->widget->frameGeometry().y());
}

float Form::Top() const {
  return PixelsToTwips(impl_->widget->frameGeometry().y());
}

void Form::Top(float twips) {
  impl_->widget->move(impl_->widget->frameGeometry().x(), PlacePixel(twips / kTwipsPerPixel));
}

float Form::Width() const {
  return PixelsToTwips(impl_->widget->frameGeometry().width());
}

float Form::Height() const {
  return PixelsToTwips(impl_->widget->frameGeometry().height());
}

void Form::Caption(std::string_view text) {
  impl_->widget->setWindowTitle(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Form::BackColor(std::uint32_t color) {
  QPalette palette = impl_->widget->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  impl_->widget->setPalette(palette);
}

void Form::Icon(std::u16string_view resourceName) {
  const QPixmap image(
      QStringLiteral(":/ICON/") +
      QString::fromUtf16(resourceName.data(), static_cast<qsizetype>(resourceName.size())));
  if (image.isNull()) {
    Fail();
  }
  impl_->widget->setWindowIcon(QIcon(image));
}

void Form::Display() {
  impl_->widget->show();
}

}  // namespace platform
