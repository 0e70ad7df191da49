// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged JPEG data is refused with a reason instead of ending the program.
#include <gtest/gtest.h>

#include <vector>

#include "assets/pictures.h"

namespace varek {
namespace {

std::vector<unsigned char> Bytes(std::span<const unsigned char> data) {
  return {data.begin(), data.end()};
}

TEST(JpegDecoder, RefusesDamagedData) {
  const std::vector<unsigned char> good = Bytes(PictureJpeg(PictureId::Data));
  ASSERT_GT(good.size(), 1000u);

  std::vector<unsigned char> truncated(good.begin(),
                                       good.begin() + static_cast<long>(good.size() / 2));
  std::vector<unsigned char> header_only(good.begin(), good.begin() + 20);
  std::vector<unsigned char> no_end(good.begin(), good.end() - 2);  // without the end marker
  std::vector<unsigned char> garbage(4096);
  for (std::size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<unsigned char>(i * 37 + 11);
  std::vector<unsigned char> corrupted = good;  // scan data overwritten in the middle
  for (std::size_t i = good.size() / 2; i < good.size() / 2 + 64; ++i) corrupted[i] = 0xFF;
  const std::vector<unsigned char> empty;

  struct Case {
    const char* name;
    const std::vector<unsigned char>& data;
  };
  for (const Case& c : {Case{"empty", empty}, Case{"garbage", garbage},
                        Case{"header only", header_only}, Case{"truncated", truncated},
                        Case{"no end marker", no_end}, Case{"corrupted", corrupted}}) {
    std::string error;
    const std::optional<Bitmap> picture = DecodeJpeg(c.data, &error);
    EXPECT_FALSE(picture.has_value()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.name << ": " << error;
    EXPECT_FALSE(DecodeJpeg(c.data).has_value()) << c.name << " without an error string";
  }
}

TEST(JpegDecoder, DecodesAgainAfterAFailure) {
  const std::vector<unsigned char> good = Bytes(PictureJpeg(PictureId::SignalAxes));
  std::vector<unsigned char> truncated(good.begin(),
                                       good.begin() + static_cast<long>(good.size() / 2));
  std::string error;
  EXPECT_FALSE(DecodeJpeg(truncated, &error).has_value());
  const std::optional<Bitmap> picture = DecodeJpeg(good, &error);
  ASSERT_TRUE(picture.has_value()) << error;
  EXPECT_EQ(picture->width, 241);
}

}  // namespace
}  // namespace varek
