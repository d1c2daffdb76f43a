// SPDX-License-Identifier: GPL-3.0-or-later
// The game window on Qt: a fixed-size top-level QWidget. Its position is its frame's, counted
// from the primary screen's corner as on Windows; its outer size is the frame's too. Before the
// window is first shown, X11 window managers are asked for the frame they will put around it
// (_NET_REQUEST_FRAME_EXTENTS), so the load handler places it by its outer size. Without a
// window manager the outer size is the client size; on Wayland the compositor places windows.
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "QtNative.h"
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
    if (Backend::Unload(form_)) {
      event->accept();
    } else {
      event->ignore();
    }
  }

 private:
  Form& form_;
};

// The frame the window manager will put around `widget`, asked for before it is mapped; none
// when no window manager on X11 answers within a moment.
QMargins AskFrameExtents(QWidget& widget) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (QGuiApplication::platformName() != QStringLiteral("xcb") || connection == nullptr) {
    return {};
  }
  const auto atom = [connection](const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return value;
  };
  // Reads a property of 32-bit values; empty when it is not there.
  const auto property = [connection](xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<std::uint32_t> values;
    if (reply != nullptr && reply->format == 32) {
      const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
      values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
  };
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const xcb_atom_t request = atom("_NET_REQUEST_FRAME_EXTENTS");
  const xcb_atom_t extents = atom("_NET_FRAME_EXTENTS");
  const auto supported = property(root, atom("_NET_SUPPORTED"), XCB_ATOM_ATOM);
  if (request == xcb_atom_t{XCB_ATOM_NONE} ||
      std::find(supported.begin(), supported.end(), request) == supported.end()) {
    return {};
  }
  const auto window = static_cast<xcb_window_t>(widget.winId());
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = request;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
  for (int attempt = 0; attempt < 50; ++attempt) {
    const auto frame = property(window, extents, XCB_ATOM_CARDINAL);
    if (frame.size() == 4) {  // left, right, top, bottom
      return {static_cast<int>(frame[0]), static_cast<int>(frame[2]), static_cast<int>(frame[1]),
              static_cast<int>(frame[3])};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
  }
  return {};
}

QPoint PrimaryCorner() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary != nullptr ? primary->geometry().topLeft() : QPoint();
}

// The frame the window has, or (before it is first shown) will have.
QMargins Frame(Form::Impl& impl) {
  if (impl.widget->isVisible()) {
    const QRect outer = impl.widget->frameGeometry();
    const QRect client = impl.widget->geometry();
    return {client.left() - outer.left(), client.top() - outer.top(),
            outer.right() - client.right(), outer.bottom() - client.bottom()};
  }
  if (!impl.frame) {
    impl.frame = AskFrameExtents(*impl.widget);
  }
  return *impl.frame;
}

// The outer frame in pixels, counted from the primary screen's corner.
QRect Outer(Form::Impl& impl) {
  return impl.widget->geometry().marginsAdded(Frame(impl)).translated(-PrimaryCorner());
}

// Moves the frame's corner to `corner`, counted from the primary screen's corner; the window
// system is given the client area's place, which it knows before the frame is drawn.
void MoveFrame(Form::Impl& impl, QPoint corner) {
  const QMargins frame = Frame(impl);
  impl.widget->setGeometry(
      QRect(corner + PrimaryCorner() + QPoint(frame.left(), frame.top()), impl.widget->size()));
}

}  // namespace

Form::Form(std::string_view name, int clientWidthPixels, int clientHeightPixels)
    : impl_(std::make_unique<Impl>()) {
  Gui();
  Backend::WindowMade();
  QWidget& widget = *(impl_->widget = std::make_unique<FormWidget>(*this));
  widget.setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  widget.setFixedSize(clientWidthPixels, clientHeightPixels);
  widget.setAutoFillBackground(true);
}

Form::~Form() = default;

float Form::Left() const {
  return PixelsToTwips(Outer(*impl_).x());
}

void Form::Left(float twips) {
  MoveFrame(*impl_, {PlacePixel(twips / kTwipsPerPixel), Outer(*impl_).y()});
}

float Form::Top() const {
  return PixelsToTwips(Outer(*impl_).y());
}

void Form::Top(float twips) {
  MoveFrame(*impl_, {Outer(*impl_).x(), PlacePixel(twips / kTwipsPerPixel)});
}

float Form::Width() const {
  return PixelsToTwips(Outer(*impl_).width());
}

float Form::Height() const {
  return PixelsToTwips(Outer(*impl_).height());
}

void Form::Caption(std::string_view text) {
  impl_->widget->setWindowTitle(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Form::Paint(Rgb color) {
  QPalette palette = impl_->widget->palette();
  palette.setColor(QPalette::Window, QColor(color.red, color.green, color.blue));
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
