// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Strings.h"

#include <QByteArray>
#include <QChar>
#include <QString>

namespace platform {
namespace {

QString ToQString(const String& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

String FromQString(const QString& text) {
  return text.toStdU16String();
}

}  // namespace

char16_t UCase(char16_t c) {
  return QChar(c).toUpper().unicode();
}

char16_t LCase(char16_t c) {
  return QChar(c).toLower().unicode();
}

std::string ToAnsi(const String& text) {
  return ToQString(text).toLocal8Bit().toStdString();
}

String FromAnsi(std::string_view bytes) {
  return FromQString(
      QString::fromLocal8Bit(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))));
}

std::string ToUtf8(const String& text) {
  return ToQString(text).toStdString();
}

}  // namespace platform
