// SPDX-License-Identifier: GPL-3.0-or-later
#include "Runtime.h"

#include <QApplication>

#include <QList>
#include <QString>

#include <cassert>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

Runtime* current = nullptr;

// While the GUI application starts, Qt's messages are held back: if no window system can be
// reached Qt ends with a fatal message and an abort, and the player should see one clear line
// and a plain exit instead. Messages of a start that succeeds are passed on afterwards.
QtMessageHandler previousHandler = nullptr;
struct HeldMessage {
  QtMsgType type;
  QString category;
  QString text;
};
QList<HeldMessage> held;

void HoldStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    held.append({type, QString::fromUtf8(context.category), text});
    return;
  }
  QString reason = QStringLiteral("no window system could be reached");
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    reason = QStringLiteral("there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
  }
  for (const HeldMessage& message : held) {
    if (reason.startsWith(QStringLiteral("no window")) &&
        message.category.startsWith(QStringLiteral("qt.qpa"))) {
      reason = message.text.trimmed();
      break;
    }
  }
  std::fprintf(stderr, "wirbelbox: cannot open the game window: %s\n", qPrintable(reason));
  std::fflush(stderr);
  std::_Exit(EXIT_FAILURE);
}

void PassOnStartMessages() {
  qInstallMessageHandler(previousHandler);
  for (const HeldMessage& message : std::as_const(held)) {
    const QByteArray category = message.category.toUtf8();
    const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
    qt_message_output(message.type, context, message.text);
  }
  held.clear();
}

}  // namespace

Runtime::Runtime(int& argc, char** argv)
    : argc_(argc), argv_(argv), guiArgv_{argc > 0 ? argv[0] : nullptr, nullptr} {
  assert(current == nullptr);
  current = this;
  // A shell starts background programs with interrupts ignored; the game ends on one anyway.
  std::signal(SIGINT, SIG_DFL);
}

Runtime::~Runtime() {
  while (!cleanups_.empty()) {
    auto cleanup = std::move(cleanups_.back());
    cleanups_.pop_back();
    cleanup();
  }
  gui_.reset();
  current = nullptr;
}

Runtime& Runtime::Current() {
  assert(current != nullptr);
  return *current;
}

QApplication& Runtime::Gui() {
  if (!gui_) {
    static char fallbackName[] = "wirbelbox";
    if (guiArgv_[0] == nullptr) {
      guiArgv_[0] = fallbackName;
    }
    previousHandler = qInstallMessageHandler(HoldStartMessages);
    gui_ = std::make_unique<QApplication>(guiArgc_, guiArgv_.data());
    PassOnStartMessages();
    QApplication::setApplicationVersion(QStringLiteral(WIRBELBOX_VERSION));
    // Lets desktops match the window to its desktop entry (and icon), on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral(WIRBELBOX_APP_ID));
  }
  return *gui_;
}

int Runtime::Run() {
  return gui_ ? QApplication::exec() : 0;
}

void Runtime::AtShutdown(std::function<void()> cleanup) {
  cleanups_.push_back(std::move(cleanup));
}

}  // namespace platform
