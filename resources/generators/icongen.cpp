// SPDX-License-Identifier: GPL-3.0-or-later
// Makes every icon file from the one design image: PNGs for the desktop's icon theme, enlarged
// pixel for pixel so the pixel art stays crisp, and a multi-size .ico for Windows.
//
// Usage: icongen DESIGN.xpm OUTPUT_FOLDER
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdint>
#include <iostream>
#include <vector>

namespace {

// Sizes for the icon theme and the web app; all whole multiples of the 32-pixel design.
constexpr int kPngSizes[] = {32, 64, 128, 192, 256, 512};
// Sizes inside the Windows icon.
constexpr int kIcoSizes[] = {16, 32, 48, 64, 256};

QImage Scaled(const QImage& design, int size) {
  return design.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
      .convertToFormat(QImage::Format_ARGB32);
}

QByteArray Png(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

void Put16(QByteArray& out, std::uint16_t value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>(value >> 8));
}

void Put32(QByteArray& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// An .ico whose images are stored as PNG, as Windows has read them since Vista.
QByteArray Ico(const QImage& design) {
  std::vector<QByteArray> images;
  for (const int size : kIcoSizes) {
    images.push_back(Png(Scaled(design, size)));
  }
  QByteArray out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, static_cast<std::uint16_t>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = kIcoSizes[i];
    out.append(static_cast<char>(size >= 256 ? 0 : size));  // 0 means 256
    out.append(static_cast<char>(size >= 256 ? 0 : size));
    out.append('\0');  // no palette
    out.append('\0');  // reserved
    Put16(out, 1);     // colour planes
    Put16(out, 32);    // bits per pixel
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const QByteArray& image : images) {
    out.append(image);
  }
  return out;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: icongen DESIGN.xpm OUTPUT_FOLDER\n";
    return 2;
  }
  const QImage design(QString::fromLocal8Bit(argv[1]));
  if (design.isNull() || design.size() != QSize(32, 32)) {
    std::cerr << "icongen: " << argv[1] << " is not a 32 x 32 image\n";
    return 1;
  }
  const QDir out(QString::fromLocal8Bit(argv[2]));
  bool ok = true;
  for (const int size : kPngSizes) {
    ok = ok &&
         Write(out.filePath(QStringLiteral("icon-%1.png").arg(size)), Png(Scaled(design, size)));
  }
  ok = ok && Write(out.filePath(QStringLiteral("wirbelbox.ico")), Ico(design));
  return ok ? 0 : 1;
}
