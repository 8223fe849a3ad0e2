#pragma once
// Image: a bitmap in memory with 1, 4, 8, 24 or 32 bits per pixel. Images of up to 8 bits
// carry a palette and hold one palette index per pixel; 24- and 32-bit images hold colours.
// It is the surface of memory device contexts (see Dc), the result of screen and print
// preview rendering, and converts to and from the packed row layout of bitmap files
// (rows padded to 4 bytes, bottom row first unless asked top-down).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/draw/geometry.h"

namespace draw {

class Dc;

class Image {
 public:
  Image();  // null image
  // A zero-filled image (black, or palette index 0). Palettes start as black and white
  // for 1 bit, the 16 standard colours for 4 bits and a grey ramp for 8 bits.
  // Widths or heights below 1 and other bit counts give a null image.
  Image(int width, int height, int bitsPerPixel);
  Image(const Image&);
  Image& operator=(const Image&);
  Image(Image&&) noexcept;
  Image& operator=(Image&&) noexcept;
  ~Image();

  // A 32-bit image of the size for drawing in the way the device context draws
  // (the resolution of the device is taken over).
  static Image CreateCompatible(const Dc& dc, int width, int height);

  bool IsNull() const;
  int Width() const;
  int Height() const;
  Size GetSize() const { return {Width(), Height()}; }
  int BitsPerPixel() const;
  // Resolution in pixels per inch (96 by default).
  int DpiX() const;
  int DpiY() const;
  void SetDpi(int dpiX, int dpiY);

  // Palette entries as colours; empty for 24 and 32 bits. At most 2^bits entries are kept.
  std::vector<ColorRef> Palette() const;
  void SetPalette(std::span<const ColorRef> colors);

  // Colour at a pixel; CLR_INVALID outside the image.
  ColorRef GetPixel(int x, int y) const;
  // Sets a pixel; images with a palette take the nearest palette entry. Outside: ignored.
  void SetPixel(int x, int y, ColorRef color);
  // Palette index at a pixel of an image with a palette (-1 outside or without palette).
  int GetPixelIndex(int x, int y) const;
  void SetPixelIndex(int x, int y, int index);
  void Fill(ColorRef color);

  // Direct row access in the memory layout: 4 bytes a pixel (blue, green, red, unused)
  // for 24 and 32 bits, one palette index a byte otherwise; row 0 is the top row.
  std::uint8_t* ScanLine(int y);
  const std::uint8_t* ScanLine(int y) const;
  int BytesPerLine() const;

  // Packed bitmap-file row layout for this image's bit count.
  int DibStride() const { return DibStride(Width(), BitsPerPixel()); }
  static int DibStride(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }
  std::vector<std::uint8_t> ToDibBits(bool topDown = false) const;
  // The colour table as 4-byte entries (blue, green, red, 0).
  std::vector<std::uint8_t> DibColorTable() const;
  // Builds an image from packed rows. height < 0 means the rows are top row first.
  // colorTable holds 4-byte entries (blue, green, red, unused); fewer entries than the bit
  // count allows are allowed (missing ones are black). 16-bit rows are read as 5-5-5.
  // Returns a null image when the bit count is not 1, 4, 8, 16, 24 or 32, or when bits
  // holds fewer bytes than the rows need.
  static Image FromDibBits(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> colorTable,
                           std::span<const std::uint8_t> bits);

  // Run-length encoded rows of bitmap files: RLE8 for 8-bit and RLE4 for 4-bit images
  // (bottom row first, end-of-line and end-of-bitmap codes). Empty for other bit counts.
  std::vector<std::uint8_t> ToRleBits() const;
  // Decodes RLE8 (bitsPerPixel 8) or RLE4 (4) rows; pixels a delta skips stay index 0.
  // Returns a null image for other bit counts or for data that runs past its rows or
  // ends without an end-of-bitmap code before its bytes run out.
  static Image FromRleBits(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> colorTable,
                           std::span<const std::uint8_t> bits);

  // The image with another bit count (palettes: nearest entry of the given or the default palette).
  Image ConvertTo(int bitsPerPixel, std::span<const ColorRef> palette = {}) const;
  // A copy of a part (clipped to the image).
  Image Copy(const Rect& r) const;

  // Files through the toolkit's codecs (for tests and previews). Return false on failure.
  bool SavePng(const std::string& path) const;
  bool SaveBmp(const std::string& path) const;
  static Image Load(const std::string& path);

  struct Impl;
  Impl* impl() const { return impl_.get(); }

 private:
  std::unique_ptr<Impl> impl_;
};

using Bitmap = Image;

}  // namespace draw
