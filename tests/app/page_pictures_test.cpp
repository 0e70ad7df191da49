// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The information and data pages painted at a scale: at 1 the pictures of
// assets/ (up to their JPEG compression), larger the same page at that size
// and sharp; a picture control shown enlarged shows that painting.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "app/toolkit/bitmap_image.h"
#include "app/toolkit/image_view.h"
#include "assets/pictures.h"
#include "pictures/pages.h"

namespace varek::testing {
namespace {

QImage Gray(const QImage& image) { return image.convertToFormat(QImage::Format_Grayscale8); }

// Mean absolute difference of two grayscale images of one size, in levels.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    const uchar* p = a.constScanLine(y);
    const uchar* q = b.constScanLine(y);
    for (int x = 0; x < a.width(); ++x) sum += std::abs(p[x] - q[x]);
  }
  return sum / (static_cast<double>(a.width()) * a.height());
}

// The share of the inked pixels that are neither near white nor near black:
// the blurred edges.
double GreyShare(const QImage& image) {
  long inked = 0, grey = 0;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* p = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      inked += p[x] < 224;
      grey += p[x] >= 64 && p[x] < 224;
    }
  }
  return static_cast<double>(grey) / static_cast<double>(inked);
}

struct Page {
  const char* name;
  PictureId asset;
  QImage (*paint)(double);
  QSize size;
};
const Page kPages[] = {
    {"information", PictureId::Information, &pictures::PaintInformationPage, {1004, 654}},
    {"data", PictureId::Data, &pictures::PaintDataPage, {531, 176}},
};

TEST(PagePictures, PaintedAtAnyScaleTheyAreTheAssetsPagesSharp) {
  ASSERT_TRUE(pictures::LoadPageFonts("page_pictures_test"));
  for (const Page& page : kPages) {
    SCOPED_TRACE(page.name);
    const QImage one = Gray(page.paint(1));
    ASSERT_EQ(one.size(), page.size);
    EXPECT_LT(MeanDifference(one, Gray(ToQImage(*LoadPicture(page.asset)))), 1.5);
    for (const double scale : {1.5, 2.0, 2.47}) {
      SCOPED_TRACE(scale);
      const QImage large = Gray(page.paint(scale));
      const QSize size(static_cast<int>(std::ceil(page.size.width() * scale - 1e-6)),
                       static_cast<int>(std::ceil(page.size.height() * scale - 1e-6)));
      ASSERT_EQ(large.size(), size);
      // Reduced to the page's size it is the page: every line in its place,
      // the glyphs within a fraction of a pixel (the information page moved
      // by one pixel differs by 17 levels, its reduced paintings by 5.5 to 6.3).
      const QImage reduced =
          large.scaled(page.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      EXPECT_LT(MeanDifference(reduced, one), 8.0);
      // Fewer blurred edges than the page enlarged.
      const QImage enlarged = one.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      EXPECT_LT(GreyShare(large), 0.8 * GreyShare(enlarged));
    }
  }
}

TEST(PagePictures, AnEnlargedPictureControlShowsThePagePaintedAtItsScale) {
  ASSERT_TRUE(pictures::LoadPageFonts("page_pictures_test"));
  // The data page's control: the picture's lowest rows are clipped.
  TImage control(nullptr, QRect(0, 0, 531, 165));
  control.SetPicture(*LoadPicture(PictureId::Data));
  control.PaintAtScale = &pictures::PaintDataPage;
  QImage shown(1062, 330, QImage::Format_RGB32);
  shown.fill(Qt::red);
  {
    QPainter painter(&shown);
    painter.scale(2, 2);
    control.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  }
  const QImage painted =
      pictures::PaintDataPage(2).convertToFormat(QImage::Format_RGB32).copy(0, 0, 1062, 330);
  EXPECT_EQ(shown, painted);
}

}  // namespace
}  // namespace varek::testing
