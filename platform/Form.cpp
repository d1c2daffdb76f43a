// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "Colors.h"
#include "OnError.h"
#include "Runtime.h"
#include "Twips.h"

namespace platform {

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

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels) {
  Runtime::Current().Gui();
  widget_ = std::make_unique<FormWidget>(*this);
  widget_->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  widget_->setFixedSize(clientWidthPixels, clientHeightPixels);
  widget_->setAutoFillBackground(true);
}

Form::~Form() = default;

float Form::Left() const {
  return PixelsToTwips(widget_->frameGeometry().x());
}

void Form::Left(float twips) {
  widget_->move(PlacePixel(twips / kTwipsPerPixel), widget_->frameGeometry().y());
}

float Form::Top() const {
  return PixelsToTwips(widget_->frameGeometry().y());
}

void Form::Top(float twips) {
  widget_->move(widget_->frameGeometry().x(), PlacePixel(twips / kTwipsPerPixel));
}

float Form::Width() const {
  return PixelsToTwips(widget_->frameGeometry().width());
}

float Form::Height() const {
  return PixelsToTwips(widget_->frameGeometry().height());
}

void Form::Caption(std::string_view text) {
  widget_->setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Form::BackColor(std::uint32_t color) {
  QPalette palette = widget_->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  widget_->setPalette(palette);
}

void Form::Icon(std::u16string_view resourceName) {
  const QString path =
      QStringLiteral(":/ICON/") +
      QString::fromUtf16(resourceName.data(), static_cast<qsizetype>(resourceName.size()));
  const QPixmap image(path);
  if (image.isNull()) {
    Fail();
  }
  widget_->setWindowIcon(QIcon(image));
}

void Form::Show() {
  if (!loaded_) {
    loaded_ = true;
    if (load_) {
      load_();
    }
  }
  widget_->show();
}

void Form::Refresh() {
  widget_->repaint();
}

void Form::OnLoad(std::function<void()> handler) {
  load_ = std::move(handler);
}

void Form::OnUnload(std::function<void(std::int16_t&)> handler) {
  unload_ = std::move(handler);
}

QWidget* Form::Widget() const {
  return widget_.get();
}

bool Form::RaiseUnload() {
  std::int16_t cancel = 0;
  if (unload_) {
    unload_(cancel);
  }
  return cancel == 0;
}

}  // namespace platform
