// Images: packed bitmap-file rows in every bit count, palettes, files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/draw/image.h"

using namespace draw;

TEST(Image, DibRowsRoundTripInEveryBitCount) {
  struct Case {
    int bits;
    int width;
    int stride;  // ((width x bits + 31) / 32) x 4
  };
  const Case cases[] = {{1, 10, 4}, {4, 10, 8}, {8, 10, 12}, {24, 10, 32}, {32, 10, 40}, {24, 101, 304}};
  for (const Case& c : cases) {
    Image img(c.width, 3, c.bits);
    ASSERT_FALSE(img.IsNull());
    EXPECT_EQ(img.DibStride(), c.stride) << c.bits << " bits";
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < c.width; ++x) {
        if (c.bits <= 8) {
          img.SetPixelIndex(x, y, (x + 3 * y) % (1 << std::min(c.bits, 4)));
        } else {
          img.SetPixel(x, y, Rgb(x * 2, y * 70, 255 - x));
        }
      }
    const std::vector<std::uint8_t> rows = img.ToDibBits();
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(c.stride * 3));
    const std::vector<std::uint8_t> table = img.DibColorTable();
    const Image back = Image::FromDibBits(c.width, 3, c.bits, table, rows);
    ASSERT_FALSE(back.IsNull());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < c.width; ++x) ASSERT_EQ(back.GetPixel(x, y), img.GetPixel(x, y)) << c.bits << " bits";
    // Top-down rows are the same rows in reverse order.
    const Image topDown = Image::FromDibBits(c.width, -3, c.bits, table, img.ToDibBits(true));
    EXPECT_EQ(topDown.GetPixel(0, 0), img.GetPixel(0, 0));
    EXPECT_EQ(topDown.GetPixel(c.width - 1, 2), img.GetPixel(c.width - 1, 2));
  }
}

TEST(Image, BottomUpLayoutAndChannelOrder) {
  Image img(2, 2, 24);
  img.SetPixel(0, 1, Rgb(1, 2, 3));  // bottom-left pixel
  const std::vector<std::uint8_t> rows = img.ToDibBits();
  ASSERT_EQ(rows.size(), 16u);  // 2 rows of 6 bytes padded to 8
  EXPECT_EQ(rows[0], 3) << "blue first";
  EXPECT_EQ(rows[1], 2);
  EXPECT_EQ(rows[2], 1);
  EXPECT_EQ(rows[8], 0) << "top row second";
}

TEST(Image, BadDibInputGivesNullImage) {
  const std::vector<std::uint8_t> rows(12, 0);
  EXPECT_TRUE(Image::FromDibBits(10, 3, 24, {}, rows).IsNull()) << "too few bytes";
  EXPECT_TRUE(Image::FromDibBits(2, 2, 7, {}, rows).IsNull()) << "bit count";
  EXPECT_TRUE(Image::FromDibBits(0, 2, 8, {}, rows).IsNull());
  EXPECT_TRUE(Image(0, 5, 32).IsNull());
  // A short colour table: missing entries are black.
  const std::vector<std::uint8_t> table = {0, 0, 255, 0};  // entry 0 red
  const std::vector<std::uint8_t> pixels = {0, 1, 0, 0};
  const Image img = Image::FromDibBits(2, 1, 8, table, pixels);
  ASSERT_FALSE(img.IsNull());
  EXPECT_EQ(img.GetPixel(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(img.GetPixel(1, 0), Rgb(0, 0, 0));
}

TEST(Image, PaletteNearestColourAndConversion) {
  Image img(4, 1, 4);
  const std::vector<ColorRef> palette = {Rgb(0, 0, 0), Rgb(200, 0, 0), Rgb(0, 0, 200)};
  img.SetPalette(palette);
  EXPECT_EQ(img.Palette().size(), 3u);
  img.SetPixel(0, 0, Rgb(180, 20, 20));
  EXPECT_EQ(img.GetPixelIndex(0, 0), 1);
  EXPECT_EQ(img.GetPixel(0, 0), Rgb(200, 0, 0));
  const Image colour = img.ConvertTo(24);
  EXPECT_EQ(colour.BitsPerPixel(), 24);
  EXPECT_EQ(colour.GetPixel(0, 0), Rgb(200, 0, 0));
  EXPECT_EQ(img.GetPixel(9, 0), CLR_INVALID);
}

TEST(Image, SavesAndLoadsPngAndBmp) {
  Image img(5, 4, 32);
  img.Fill(Rgb(10, 20, 30));
  img.SetPixel(4, 3, Rgb(250, 0, 5));
  for (const char* name : {"qlm_draw_image_test.png", "qlm_draw_image_test.bmp"}) {
    const auto path = std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_" + name);
    const bool saved = path.extension() == ".png" ? img.SavePng(path.string()) : img.SaveBmp(path.string());
    ASSERT_TRUE(saved) << name;
    const Image back = Image::Load(path.string());
    ASSERT_FALSE(back.IsNull()) << name;
    EXPECT_EQ(back.GetPixel(4, 3), Rgb(250, 0, 5)) << name;
    EXPECT_EQ(back.GetPixel(0, 0), Rgb(10, 20, 30)) << name;
    std::filesystem::remove(path);
  }
  EXPECT_FALSE(img.SavePng("/nonexistent-folder/a.png"));
  EXPECT_TRUE(Image::Load("/nonexistent-folder/a.png").IsNull());
}

TEST(Image, RunLengthRowsRoundTripAndRejectOverruns) {
  for (int bits : {8, 4}) {
    Image img(37, 5, bits);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 37; ++x) {
        // Long runs, single pixels and alternating stretches in every row.
        const int v = x < 12 ? y : (x < 20 ? (x * 7 + y) % 16 : (x < 30 ? 9 : x % 2));
        img.SetPixelIndex(x, y, v);
      }
    const std::vector<std::uint8_t> rle = img.ToRleBits();
    ASSERT_GE(rle.size(), 2u);
    EXPECT_EQ(rle[rle.size() - 2], 0);
    EXPECT_EQ(rle.back(), 1) << "ends with the end-of-bitmap code";
    EXPECT_LT(rle.size(), static_cast<std::size_t>(img.DibStride() * 5)) << bits << " bits compress";
    const Image back = Image::FromRleBits(37, 5, bits, img.DibColorTable(), rle);
    ASSERT_FALSE(back.IsNull()) << bits;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 37; ++x) ASSERT_EQ(back.GetPixelIndex(x, y), img.GetPixelIndex(x, y)) << bits;
  }
  // A run past the row's end, a truncated absolute run, and no end code are refused.
  const std::vector<std::uint8_t> overrun = {5, 1, 0, 1};
  EXPECT_TRUE(Image::FromRleBits(4, 1, 8, {}, overrun).IsNull());
  const std::vector<std::uint8_t> truncated = {0, 4, 1, 2};
  EXPECT_TRUE(Image::FromRleBits(4, 1, 8, {}, truncated).IsNull());
  const std::vector<std::uint8_t> unterminated = {4, 1};
  EXPECT_TRUE(Image::FromRleBits(4, 1, 8, {}, unterminated).IsNull());
  EXPECT_TRUE(Image(4, 4, 24).ToRleBits().empty());
}
