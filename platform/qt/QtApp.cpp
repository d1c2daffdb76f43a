// SPDX-License-Identifier: GPL-3.0-or-later
// The application on Linux: an flock instance lock, the arguments as given, resources compiled
// in by Qt's resource system, the primary screen.
#include "platform/App.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "InstanceLock.h"
#include "QtNative.h"
#include "platform/Environment.h"
#include "platform/OnError.h"
#include "platform/Twips.h"

namespace platform::App {

bool PrevInstance() {
  static InstanceLock lock(InstanceLock::DefaultPath());
  return !lock.Acquire();
}

void End() {
  std::fflush(nullptr);
  std::_Exit(0);
}

String Command() {
  const Runtime& runtime = Runtime::Current();
  std::string text;
  for (int i = 1; i < runtime.ArgumentCount(); ++i) {
    if (i > 1) {
      text += ' ';
    }
    text += runtime.Arguments()[i];
  }
  return FromAnsi(text);
}

std::vector<std::uint8_t> LoadResData(const String& name, const String& type) {
  const QString qname = QString::fromStdU16String(name).toUpper();
  const QString qtype = QString::fromStdU16String(type).toUpper();
  if (qname.isEmpty() || qtype.isEmpty() || qname.contains(u'/') || qtype.contains(u'/')) {
    Fail();
  }
  QFile resource(QStringLiteral(":/%1/%2").arg(qtype, qname));
  if (!resource.open(QIODevice::ReadOnly)) {
    Fail();
  }
  const QByteArray bytes = resource.readAll();
  return {bytes.cbegin(), bytes.cend()};
}

}  // namespace platform::App

namespace platform::Screen {
namespace {

QRect PrimaryGeometry() {
  Gui();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    Fail();
  }
  return screen->geometry();
}

}  // namespace

float Width() {
  return PixelsToTwips(PrimaryGeometry().width());
}

float Height() {
  return PixelsToTwips(PrimaryGeometry().height());
}

}  // namespace platform::Screen
