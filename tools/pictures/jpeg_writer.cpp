// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_writer.h"

#include <cmath>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <numbers>

#include <jpeglib.h>

#include <QFile>

namespace pictures {
namespace {

constexpr int kBlock = DCTSIZE;  // 8 x 8 samples per DCT block
// How far beyond black and white the bilevel pattern is encoded: far more
// than the rounding error of the integer inverse DCT (a few levels).
constexpr double kOvershoot = 16;
constexpr int kMaxAc = 1023;  // largest AC coefficient of baseline 8-bit JPEG

// Sets up a grayscale compressor writing into memory; a developer tool, so
// libjpeg errors end the program with libjpeg's message.
struct Compressor {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;

  Compressor(const QImage& image, int quality) {
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
  }
  ~Compressor() {
    jpeg_destroy_compress(&info);
    std::free(buffer);
  }

  bool Save(const QString& path) {
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    file.write(reinterpret_cast<const char*>(buffer), static_cast<qint64>(size)) ==
                        static_cast<qint64>(size);
    if (!ok) std::fprintf(stderr, "make-pictures: cannot write %s\n", qPrintable(path));
    return ok;
  }
};

// The forward DCT of JPEG for one block of level-shifted samples.
void ForwardDct(const double (&samples)[kBlock][kBlock], double (&out)[kBlock][kBlock]) {
  const double pi = std::numbers::pi;
  for (int v = 0; v < kBlock; ++v) {
    for (int u = 0; u < kBlock; ++u) {
      double sum = 0;
      for (int y = 0; y < kBlock; ++y)
        for (int x = 0; x < kBlock; ++x)
          sum += samples[y][x] * std::cos((2 * x + 1) * u * pi / 16) *
                 std::cos((2 * y + 1) * v * pi / 16);
      const double cu = u == 0 ? std::numbers::sqrt2 / 2 : 1;
      const double cv = v == 0 ? std::numbers::sqrt2 / 2 : 1;
      out[v][u] = 0.25 * cu * cv * sum;
    }
  }
}

}  // namespace

bool WriteGrayJpeg(const QImage& image, const QString& path, int quality) {
  Q_ASSERT(image.format() == QImage::Format_Grayscale8);
  Compressor c(image, quality);
  jpeg_start_compress(&c.info, TRUE);
  while (c.info.next_scanline < c.info.image_height) {
    JSAMPROW row =
        const_cast<JSAMPLE*>(image.constScanLine(static_cast<int>(c.info.next_scanline)));
    jpeg_write_scanlines(&c.info, &row, 1);
  }
  jpeg_finish_compress(&c.info);
  return c.Save(path);
}

bool WriteBilevelJpeg(const QImage& image, const QString& path) {
  Q_ASSERT(image.format() == QImage::Format_Grayscale8);
  Compressor c(image, 100);  // every quantisation step 1
  const int blocks_x = (image.width() + kBlock - 1) / kBlock;
  const int blocks_y = (image.height() + kBlock - 1) / kBlock;
  jvirt_barray_ptr coefficients[1] = {(*c.info.mem->request_virt_barray)(
      reinterpret_cast<j_common_ptr>(&c.info), JPOOL_IMAGE, TRUE, static_cast<JDIMENSION>(blocks_x),
      static_cast<JDIMENSION>(blocks_y), 1)};
  jpeg_write_coefficients(&c.info, coefficients);

  for (int by = 0; by < blocks_y; ++by) {
    JBLOCKARRAY row =
        (*c.info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&c.info), coefficients[0],
                                          static_cast<JDIMENSION>(by), 1, TRUE);
    for (int bx = 0; bx < blocks_x; ++bx) {
      double samples[kBlock][kBlock];
      for (int y = 0; y < kBlock; ++y) {
        for (int x = 0; x < kBlock; ++x) {
          // Outside the picture the edge pixel is repeated.
          const int px = std::min(bx * kBlock + x, image.width() - 1);
          const int py = std::min(by * kBlock + y, image.height() - 1);
          const int level = image.constScanLine(py)[px];
          Q_ASSERT(level == 0 || level == 255);
          samples[y][x] = level == 0 ? -128 - kOvershoot : 127 + kOvershoot;
        }
      }
      double dct[kBlock][kBlock];
      ForwardDct(samples, dct);
      for (int k = 0; k < DCTSIZE2; ++k) {
        const long value = std::lround(dct[k / kBlock][k % kBlock]);
        if (k > 0 && std::labs(value) > kMaxAc) {
          std::fprintf(stderr, "make-pictures: coefficient %ld out of range\n", value);
          return false;
        }
        row[0][bx][k] = static_cast<JCOEF>(value);  // natural (row-major) order
      }
    }
  }
  jpeg_finish_compress(&c.info);
  return c.Save(path);
}

}  // namespace pictures
