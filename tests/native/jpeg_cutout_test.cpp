// JPEG cut-outs for the file list against libjpeg's whole decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "launcher/jpeg_cutout.h"
#include "native/jpeg_encode.h"

using namespace velkor;
using jpegtest::Encode;
using jpegtest::Pattern;

namespace {

// Every pixel of the cut-out equals the whole decode's at the same place.
void ExpectSameAsWholeDecode(const std::vector<std::uint8_t>& file, int width, int height,
                             int want_w, int want_h) {
  SCOPED_TRACE(std::to_string(want_w) + " x " + std::to_string(want_h));
  const auto cut = DecodeJpegCutout(file, want_w, want_h);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->picture.width, width);
  EXPECT_EQ(cut->picture.height, height);
  ASSERT_EQ(cut->width, std::min(want_w, width));
  ASSERT_EQ(cut->height, std::min(want_h, height));
  EXPECT_EQ(cut->stride % 4, 0u);
  ASSERT_GE(cut->stride, static_cast<std::size_t>(cut->width) * 3);
  ASSERT_EQ(cut->bgr.size(), cut->stride * cut->height);
  const auto whole = jpegtest::DecodeRows(file, cut->height);
  int wrong = 0;
  for (int y = 0; y < cut->height; ++y)
    for (int x = 0; x < cut->width; ++x)
      if (!std::equal(cut->Pixel(x, y), cut->Pixel(x, y) + 3, &whole[(y * width + x) * 3]) &&
          wrong++ < 5)
        ADD_FAILURE() << "pixel " << x << ", " << y;
  EXPECT_EQ(wrong, 0);
}

struct Picture {
  int width, height, components;
  jpegtest::Options options;
};

}  // namespace

TEST(JpegCutout, EqualsTheWholeDecodeOfTheSameCorner) {
  const Picture pictures[] = {
      {37, 23, 3, {2, 2}},        {100, 60, 3, {1, 1}},  {64, 48, 3, {2, 2}},
      {250, 90, 3, {2, 1}},       {61, 45, 1, {}},       {120, 70, 3, {2, 2, true}},
      {90, 33, 3, {1, 1, true}},  {17, 200, 3, {2, 2}},
  };
  for (const Picture& p : pictures) {
    SCOPED_TRACE(std::to_string(p.width) + " x " + std::to_string(p.height) + ", components " +
                 std::to_string(p.components) + ", sampling " +
                 std::to_string(p.options.h_sampling) + std::to_string(p.options.v_sampling) +
                 (p.options.progressive ? ", progressive" : ""));
    const auto file = Encode(Pattern(p.width, p.height, p.components), p.width, p.height,
                             p.components, p.options);
    const std::pair<int, int> cutouts[] = {{1, 1}, {8, 8}, {16, 16}, {15, 9}, {17, 17}, {33, 20}};
    for (const auto& [w, h] : cutouts) ExpectSameAsWholeDecode(file, p.width, p.height, w, h);
    ExpectSameAsWholeDecode(file, p.width, p.height, p.width - 1, p.height - 1);
    ExpectSameAsWholeDecode(file, p.width, p.height, p.width, p.height);
  }
}

TEST(JpegCutout, LargerThanThePictureGivesTheWholePicture) {
  const auto file = Encode(Pattern(45, 30, 3), 45, 30, 3);
  ExpectSameAsWholeDecode(file, 45, 30, 300, 64);
  ExpectSameAsWholeDecode(file, 45, 30, INT_MAX, INT_MAX);
  const auto size = ReadJpegSize(file);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 45);
  EXPECT_EQ(size->height, 30);
  const auto empty = DecodeJpegCutout(file, 0, 64);  // a column too narrow for any picture
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->picture.width, 45);
  EXPECT_EQ(empty->width, 0);
  EXPECT_TRUE(empty->bgr.empty());
}

TEST(JpegCutout, CmykComesOutAsRgb) {
  // As Adobe's writers store it, which libjpeg marks: 255 is no ink.
  std::vector<std::uint8_t> cmyk;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const std::uint8_t c = x < 16 ? 255 : 0;  // white, then full cyan
      cmyk.insert(cmyk.end(), {c, 255, 255, 255});
    }
  const auto cut = DecodeJpegCutout(Encode(cmyk, 32, 16, 4, {.quality = 100}), 32, 16);
  ASSERT_TRUE(cut);
  const auto near = [](const std::uint8_t* bgr, int b, int g, int r) {
    return std::abs(bgr[0] - b) < 8 && std::abs(bgr[1] - g) < 8 && std::abs(bgr[2] - r) < 8;
  };
  EXPECT_TRUE(near(cut->Pixel(2, 8), 255, 255, 255));
  EXPECT_TRUE(near(cut->Pixel(29, 8), 255, 255, 0));
}

TEST(JpegCutout, DamagedOrTruncatedFilesFailQuietly) {
  const auto good = Encode(Pattern(256, 256, 3), 256, 256, 3, {1, 1});
  testing::internal::CaptureStderr();

  EXPECT_FALSE(DecodeJpegCutout({}, 10, 10));
  const std::vector<std::uint8_t> bitmap = {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
  EXPECT_FALSE(DecodeJpegCutout(bitmap, 10, 10));
  EXPECT_FALSE(ReadJpegSize(bitmap));

  auto no_height = good;  // the frame header says the picture has no rows
  const std::uint8_t sof0[] = {0xFF, 0xC0};
  const auto sof = std::search(no_height.begin(), no_height.end(), std::begin(sof0), std::end(sof0));
  ASSERT_NE(sof, no_height.end());
  sof[5] = sof[6] = 0;
  EXPECT_FALSE(DecodeJpegCutout(no_height, 10, 10));

  const std::vector<std::uint8_t> half(good.begin(), good.begin() + good.size() / 2);
  EXPECT_FALSE(DecodeJpegCutout(half, 256, 256));
  EXPECT_FALSE(DecodeJpegCutout(half, 20, 200));
  // What is missing lies below the rows shown, and they are all that is read.
  EXPECT_TRUE(DecodeJpegCutout(half, 256, 16));
  EXPECT_TRUE(ReadJpegSize(std::span(good).first(1000)));

  auto scrambled = good;  // entropy-coded data that libjpeg decodes past with warnings
  for (std::size_t i = good.size() / 3; i < good.size() / 3 + 64; ++i) scrambled[i] = 0xFF;
  DecodeJpegCutout(scrambled, 256, 256);

  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
