// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in JPEG files of the three pictures.
#include "assets/pictures.h"

namespace varek {
namespace embedded {
// Defined in the sources generated from the .jpg files (embed_file.cmake).
extern const unsigned char information_jpeg[];
extern const std::size_t information_jpeg_size;
extern const unsigned char data_jpeg[];
extern const std::size_t data_jpeg_size;
extern const unsigned char signal_axes_jpeg[];
extern const std::size_t signal_axes_jpeg_size;
}  // namespace embedded

std::span<const unsigned char> PictureJpeg(PictureId id) {
  switch (id) {
    case PictureId::Information:
      return {embedded::information_jpeg, embedded::information_jpeg_size};
    case PictureId::Data: return {embedded::data_jpeg, embedded::data_jpeg_size};
    case PictureId::SignalAxes:
      return {embedded::signal_axes_jpeg, embedded::signal_axes_jpeg_size};
  }
  return {};
}

std::optional<Bitmap> LoadPicture(PictureId id, std::string* error) {
  return DecodeJpeg(PictureJpeg(id), error);
}

}  // namespace varek
