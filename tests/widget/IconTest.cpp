// SPDX-License-Identifier: GPL-3.0-or-later
// Every icon file is the design image, enlarged pixel for pixel.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>

namespace {

const QString kBuilt = QStringLiteral(WIRBELBOX_RESOURCES_BUILD_DIR);
const QString kDesign = QStringLiteral(WIRBELBOX_RESOURCES_SOURCE_DIR "/wirbelbox.xpm");

// True when every pixel of `icon` has the colour of the design pixel it was enlarged from.
bool EnlargedFromDesign(const QImage& icon, const QImage& design) {
  const int factor = icon.width() / design.width();
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) {
      if (icon.pixel(x, y) != design.pixel(x / factor, y / factor)) {
        return false;
      }
    }
  }
  return true;
}

TEST(Icons, ThemeIconsAreTheDesignEnlargedPixelForPixel) {
  const QImage design(kDesign);
  ASSERT_EQ(design.size(), QSize(32, 32));
  for (const int size : {32, 64, 128, 256}) {
    const QImage icon(kBuilt + QStringLiteral("/icon-%1.png").arg(size));
    ASSERT_EQ(icon.size(), QSize(size, size)) << size;
    EXPECT_TRUE(EnlargedFromDesign(icon, design)) << size;
  }
}

TEST(Icons, TheWindowsIconHoldsEverySizeOfTheDesign) {
  QFile file(kBuilt + QStringLiteral("/wirbelbox.ico"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray ico = file.readAll();
  const auto u16 = [&](int at) {
    return static_cast<uchar>(ico[at]) | static_cast<uchar>(ico[at + 1]) << 8;
  };
  const auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
  ASSERT_EQ(u16(2), 1);  // an icon, not a cursor
  const int count = u16(4);
  QList<int> sizes;
  const QImage design(kDesign);
  for (int i = 0; i < count; ++i) {
    const int entry = 6 + 16 * i;
    const QImage image = QImage::fromData(ico.mid(u32(entry + 12), u32(entry + 8)), "PNG");
    ASSERT_FALSE(image.isNull()) << i;
    const int declared = static_cast<uchar>(ico[entry]) == 0 ? 256 : static_cast<uchar>(ico[entry]);
    EXPECT_EQ(image.size(), QSize(declared, declared));
    sizes.append(image.width());
    if (image.width() >= 32 && image.width() % 32 == 0) {
      EXPECT_TRUE(EnlargedFromDesign(image.convertToFormat(QImage::Format_ARGB32), design))
          << image.width();
    }
  }
  EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 64, 256}));
}

}  // namespace
