// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding JPEG data with libjpeg into a Bitmap of 0x00RRGGBB pixels.
#include <bit>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstring>

#include <jpeglib.h>

#include "assets/pictures.h"

namespace varek {
namespace {

static_assert(std::endian::native == std::endian::little,
              "JCS_EXT_BGRX gives 0x??RRGGBB only on a little-endian machine");
static_assert(sizeof(Pixel) == 4, "one decoded BGRX sample group per pixel");

// A picture larger than this is refused rather than allocated: damaged data
// can declare up to 65500 x 65500 pixels.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

// libjpeg's default error handler prints and calls exit(); this one keeps the
// message and jumps back to the decoding routine instead.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings (level -1) mean damaged data, e.g. a file cut short, which libjpeg
// would otherwise fill with grey: they are treated as errors. Trace messages
// (level >= 0) are ignored.
void FailOnWarning(j_common_ptr info, int level) {
  if (level < 0) JumpOnError(info);
}

// A longjmp lands in this frame, so nothing here has a destructor; the bitmap
// lives in the caller. Returns false with errors->message filled on failure.
bool DecodeInto(jpeg_decompress_struct* info, ErrorManager* errors, const unsigned char* data,
                unsigned long size, Bitmap* out) {
  if (setjmp(errors->jump) != 0) return false;

  jpeg_create_decompress(info);
  jpeg_mem_src(info, data, size);
  jpeg_read_header(info, TRUE);
  const long long pixels = static_cast<long long>(info->image_width) * info->image_height;
  if (pixels > kMaxPixels) {
    std::snprintf(errors->message, sizeof errors->message, "JPEG picture too large: %u x %u",
                  info->image_width, info->image_height);
    return false;
  }
  // libjpeg-turbo converts both grayscale and colour data to BGRX.
  info->out_color_space = JCS_EXT_BGRX;
  info->dct_method = JDCT_ISLOW;
  jpeg_start_decompress(info);

  out->width = static_cast<int>(info->output_width);
  out->height = static_cast<int>(info->output_height);
  out->pixels.assign(static_cast<std::size_t>(pixels), 0);
  while (info->output_scanline < info->output_height) {
    Pixel* row =
        out->pixels.data() + static_cast<std::size_t>(info->output_scanline) * info->output_width;
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPLE*>(row)};
    jpeg_read_scanlines(info, rows, 1);
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

std::optional<Bitmap> DecodeJpeg(std::span<const unsigned char> jpeg, std::string* error) {
  auto fail = [error](const char* reason) -> std::optional<Bitmap> {
    if (error != nullptr) *error = reason;
    return std::nullopt;
  };
  if (jpeg.empty()) return fail("JPEG data is empty");

  ErrorManager errors;
  std::memset(&errors, 0, sizeof errors);
  jpeg_decompress_struct info;
  std::memset(&info, 0, sizeof info);
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  errors.base.emit_message = FailOnWarning;

  Bitmap bitmap;
  const bool ok =
      DecodeInto(&info, &errors, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &bitmap);
  jpeg_destroy_decompress(&info);
  if (!ok) return fail(errors.message);

  // The X byte of BGRX is undefined; pixels keep it zero.
  for (Pixel& p : bitmap.pixels) p &= 0x00FFFFFFu;
  return bitmap;
}

}  // namespace varek
