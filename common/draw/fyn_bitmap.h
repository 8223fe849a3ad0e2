#pragma once
// Capture of a rectangle of a device context into a packed device-independent bitmap
// (FynBitmapBase), written as a bitmap file (FynSaveBitmapFile) or put on the clipboard
// (FynClipboardCpoy).
//
// The packed image is the 40-byte bitmap header, a colour table of 256 entries of 4 bytes
// for 1, 4 and 8 bits (none for 24), then the pixel rows, bottom row first, each padded to
// 4 bytes. Objects own their image and cannot be copied.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/draw/geometry.h"

namespace draw {
class Dc;
}

class FynBitmapBase {
 public:
  // Keeps the device context (not owned), the rectangle (normalised) and the palette (null:
  // the default palette).
  FynBitmapBase(draw::Dc* dc, draw::Rect rect, const std::vector<draw::ColorRef>* palette);
  virtual ~FynBitmapBase();
  FynBitmapBase(const FynBitmapBase&) = delete;
  FynBitmapBase& operator=(const FynBitmapBase&) = delete;

  void SetCopyRect(draw::Rect rect);
  void SetPalette(const std::vector<draw::ColorRef>* palette);
  const draw::Rect& CopyRect() const { return rect_; }

  // Captures the rectangle into the packed image. 1 done, 0 not (no device context, an
  // empty rectangle, or no memory for the image).
  int InitTransaction();

  // The packed image (empty before a capture).
  std::span<const std::uint8_t> PackedImage() const { return packed_; }
  std::uint32_t PackedSize() const { return static_cast<std::uint32_t>(packed_.size()); }

 protected:
  draw::Dc* dc_ = nullptr;
  draw::Rect rect_{};
  std::vector<draw::ColorRef> palette_;
  bool hasPalette_ = false;
  std::vector<std::uint8_t> packed_;
};

class FynSaveBitmapFile : public FynBitmapBase {
 public:
  FynSaveBitmapFile(draw::Dc* dc, draw::Rect rect, const std::vector<draw::ColorRef>* palette, const char* path);
  void SetWriteFileName(const char* path);
  // Writes the captured image as a bitmap file. 1 written, 0 not (nothing captured, the
  // file cannot be created, or a write failed: then no partial file is left).
  int WriteBitmap();

 private:
  std::string path_;
};

class FynClipboardCpoy : public FynBitmapBase {
 public:
  FynClipboardCpoy(draw::Dc* dc, draw::Rect rect, const std::vector<draw::ColorRef>* palette);
  // Puts the whole surface of the device context on the clipboard as a bitmap (the copy
  // rectangle and any captured image are not used). 1 done, 0 not.
  int WriteClipboard();
};
