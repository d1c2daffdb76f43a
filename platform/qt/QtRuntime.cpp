// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime on Qt: a QApplication made with the first window, and its event loop.
#include <QApplication>
#include <QList>
#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "QtNative.h"

namespace platform {
namespace {

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
    // Qt's notes on the runtime folder it picks for itself: the game keeps nothing there, and
    // a start without one (as root, or in a bare session) is no fault a player should see.
    if (message.text.startsWith(QStringLiteral("QStandardPaths: "))) {
      continue;
    }
    const QByteArray category = message.category.toUtf8();
    const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
    qt_message_output(message.type, context, message.text);
  }
  held.clear();
}

}  // namespace

std::unique_ptr<Runtime::Impl, Runtime::Closer> Runtime::Open(int& argc, char** argv) {
  std::unique_ptr<Impl, Closer> impl(new Impl);
  impl->argv = {argc > 0 ? argv[0] : nullptr, nullptr};
  // A shell starts background programs with interrupts ignored; the game ends on one anyway.
  std::signal(SIGINT, SIG_DFL);
  return impl;
}

void Runtime::Closer::operator()(Impl* impl) const {
  delete impl;
}

QApplication& Gui() {
  Runtime::Impl& runtime = Backend::Of(Runtime::Current());
  if (!runtime.gui) {
    static char fallbackName[] = "wirbelbox";
    if (runtime.argv[0] == nullptr) {
      runtime.argv[0] = fallbackName;
    }
    previousHandler = qInstallMessageHandler(HoldStartMessages);
    runtime.gui = std::make_unique<QApplication>(runtime.argc, runtime.argv.data());
    PassOnStartMessages();
    QApplication::setApplicationVersion(QStringLiteral(WIRBELBOX_VERSION));
    // Lets desktops match the window to its desktop entry (and icon), on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral(WIRBELBOX_APP_ID));
  }
  return *runtime.gui;
}

int Runtime::Loop() {
  return QApplication::exec();
}

// Paints without handling input: nothing else of the game runs meanwhile.
void PaintWindows() {
  if (QApplication::instance() == nullptr) {
    return;
  }
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) {
      window->repaint();
    }
  }
}

}  // namespace platform
