#pragma once
// FynDib: a device-independent bitmap. It holds the 40-byte bitmap header followed by its
// colour table, and the pixel rows, in memory it owns, in memory the caller hands over, or
// in a memory-mapped bitmap file; it reads and writes bitmap files, builds a palette from
// the colour table, draws itself stretched into a device context and converts 4- and 8-bit
// images between plain rows and run-length encoding.
//
// Failures are shown through fyn::ShowMessage and returned as 0.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"

namespace draw {
class Dc;
}
namespace sys {
class BinaryFile;
class MappedFile;
}

class FynDib {
 public:
  // Header ownership: 0 not owned, 1 allocated by the object, 2 a block the caller handed
  // over together with its handle.
  enum Ownership { kNotOwned = 0, kOwned = 1, kOwnedHandle = 2 };

  FynDib();
  // A header with a zeroed colour table for the bit count (width and height from size,
  // colours used = the entry count); no pixel rows.
  FynDib(draw::Size size, int bitCount);
  virtual ~FynDib();
  FynDib(const FynDib&) = delete;
  FynDib& operator=(const FynDib&) = delete;

  // Width and height; (0, 0) when empty.
  draw::Size GetDimensions() const;
  int GetSizeImage() const { return imageSize_; }
  // 40 + 4 x colour-table entries.
  int GetSizeHeader() const { return 40 + 4 * static_cast<int>(entries_); }
  int ColorTableEntries() const { return static_cast<int>(entries_); }
  int BitCount() const;
  int Compression() const;
  const std::uint8_t* Header() const { return header_; }
  const std::uint8_t* ImageBits() const { return image_; }

  // Takes a packed bitmap (header, table, rows) without copying. An owned block (owned not
  // 0) must come from std::malloc; it is freed by Empty. 1 / 0.
  int AttachMemory(void* block, int owned, void* handle);
  // Maps an existing bitmap file read-write and attaches its contents after the 14-byte
  // file header (not owned). 1 / 0 ("Empty bitmap file", "Invalid bitmap file").
  int AttachMapFile(const char* path, int share);
  // Writes the bitmap into a newly created file (replacing one) through a mapping of
  // 54 + 4 x entries + image size bytes, storing the real file size, and uses the mapped
  // copy from then on. 1 / 0 when the file cannot be made.
  int CopyToMapFile(const char* path);
  void DetachMapFile();

  // Selects and realises the palette in the device context; the entries realised.
  unsigned UsePalette(draw::Dc* dc, int background);
  // Stretches the whole image into the rectangle at origin with size. 1 / 0.
  int Draw(draw::Dc* dc, draw::Point origin, draw::Size size);
  // Allocates the pixel rows of the header as a section when there are none yet; returns
  // the rows (null when there are rows already or nothing to allocate).
  std::uint8_t* CreateSection(draw::Dc* dc);
  // Builds the logical palette from the colour table. 1 / 0 (no table).
  int MakePalette();
  // A halftone palette for an image without colour table. 1 / 0.
  int SetSystemPalette(draw::Dc* dc);
  // A device bitmap with the image's pixels (null image when there are none).
  draw::Image CreateBitmap(draw::Dc* dc) const;
  // Run-length encodes (compress not 0) or decodes a 4- or 8-bit image. 1 / 0.
  int Compress(draw::Dc* dc, int compress);

  int Read(sys::BinaryFile* file);
  int ReadSection(sys::BinaryFile* file, draw::Dc* dc);
  int Write(sys::BinaryFile* file) const;
  // Reads when loading, writes when storing (the archive of the framework is a file here).
  void Serialize(sys::BinaryFile* file, bool storing);

  const std::vector<draw::ColorRef>& Palette() const { return palette_; }
  void Empty();

 private:
  void ComputeMetrics();
  int ReadInto(sys::BinaryFile* file, bool intoSection, const char* failText);

  std::uint8_t* image_ = nullptr;
  std::uint8_t* header_ = nullptr;
  std::uint8_t* colorTable_ = nullptr;
  void* memHandle_ = nullptr;
  int headerOwnership_ = kNotOwned;
  int imageOwned_ = 0;
  bool section_ = false;
  std::vector<draw::ColorRef> palette_;
  std::uint32_t entries_ = 0;
  int imageSize_ = 0;
  std::unique_ptr<sys::MappedFile> map_;
};
