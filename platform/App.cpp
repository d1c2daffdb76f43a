// SPDX-License-Identifier: GPL-3.0-or-later
#include "App.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Environment.h"
#include "InstanceLock.h"
#include "OnError.h"
#include "Runtime.h"
#include "Twips.h"

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

String Path() {
  return NativeEnvironment().AppFolder();
}

String EXEName() {
  return NativeEnvironment().AppBaseName();
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

void Kill(const String& path) {
  if (path.empty() || std::remove(ToAnsi(path).c_str()) != 0) {
    Fail();
  }
}

}  // namespace platform::App

namespace platform::Screen {
namespace {

QRect PrimaryGeometry() {
  Runtime::Current().Gui();
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
