#include "common/draw/fyn_bitmap.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "platform/draw/clipboard_image.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/system/file_io.h"

namespace {

constexpr int kHeaderSize = 40;
constexpr int kTableEntries = 256;

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Bit count of the packed image for a surface of planes x bits per pixel.
int PackedBitCount(int planesTimesBits) {
  if (planesTimesBits <= 1) return 1;
  if (planesTimesBits <= 4) return 4;
  if (planesTimesBits <= 8) return 8;
  return 24;
}

}  // namespace

FynBitmapBase::FynBitmapBase(draw::Dc* dc, draw::Rect rect, const std::vector<draw::ColorRef>* palette)
    : dc_(dc), rect_(rect.Normalized()) {
  SetPalette(palette);
}

FynBitmapBase::~FynBitmapBase() = default;

void FynBitmapBase::SetCopyRect(draw::Rect rect) { rect_ = rect.Normalized(); }

void FynBitmapBase::SetPalette(const std::vector<draw::ColorRef>* palette) {
  hasPalette_ = palette != nullptr;
  palette_ = palette ? *palette : std::vector<draw::ColorRef>{};
}

int FynBitmapBase::InitTransaction() {
  if (dc_ == nullptr || rect_.Width() <= 0 || rect_.Height() <= 0) return 0;
  const int width = rect_.Width();
  const int height = rect_.Height();
  const int bits = PackedBitCount(dc_->GetDeviceCaps(draw::PLANES) * dc_->GetDeviceCaps(draw::BITSPIXEL));
  const bool hasTable = bits <= 8;

  draw::Image captured = dc_->CaptureImage(rect_);
  if (captured.IsNull()) return 0;
  draw::Image converted = captured.ConvertTo(bits, hasPalette_ ? std::span<const draw::ColorRef>(palette_)
                                                                : std::span<const draw::ColorRef>{});
  if (converted.IsNull()) return 0;
  std::vector<std::uint8_t> rows = converted.ToDibBits(false);
  const std::uint32_t imageSize = static_cast<std::uint32_t>(height) *
                                  static_cast<std::uint32_t>(((width * bits + 31) / 32) * 4);
  rows.resize(imageSize, 0);

  const std::size_t tableBytes = hasTable ? 4 * kTableEntries : 0;
  try {
    packed_.assign(kHeaderSize + tableBytes + imageSize, 0);
  } catch (const std::bad_alloc&) {
    packed_.clear();
    return 0;
  }
  std::uint8_t* h = packed_.data();
  Put32(h + 0, kHeaderSize);
  Put32(h + 4, static_cast<std::uint32_t>(width));
  Put32(h + 8, static_cast<std::uint32_t>(height));
  Put16(h + 12, 1);
  Put16(h + 14, static_cast<std::uint16_t>(bits));
  Put32(h + 16, 0);  // uncompressed
  Put32(h + 20, imageSize);
  // Colours used: the table's 256 entries; 0 for 24 bits, which have no table, so that
  // readers do not look for one.
  Put32(h + 32, hasTable ? kTableEntries : 0);
  if (hasTable) {
    std::vector<std::uint8_t> table = converted.DibColorTable();
    std::copy_n(table.begin(), std::min(table.size(), tableBytes), h + kHeaderSize);
  }
  std::copy(rows.begin(), rows.end(), h + kHeaderSize + tableBytes);
  return 1;
}

FynSaveBitmapFile::FynSaveBitmapFile(draw::Dc* dc, draw::Rect rect, const std::vector<draw::ColorRef>* palette,
                                     const char* path)
    : FynBitmapBase(dc, rect, palette), path_(path ? path : "") {}

void FynSaveBitmapFile::SetWriteFileName(const char* path) { path_ = path ? path : ""; }

int FynSaveBitmapFile::WriteBitmap() {
  if (packed_.empty() || path_.empty()) return 0;
  const std::uint32_t bits = static_cast<std::uint32_t>(packed_[14] | (packed_[15] << 8));
  const std::uint32_t offBits = 14 + kHeaderSize + (bits <= 8 ? 4 * kTableEntries : 0);
  std::vector<std::uint8_t> file(14 + packed_.size());
  Put16(file.data(), 0x4D42);
  Put32(file.data() + 2, static_cast<std::uint32_t>(packed_.size() + 14));
  Put32(file.data() + 10, offBits);
  std::copy(packed_.begin(), packed_.end(), file.begin() + 14);
  // Written beside and renamed into place: a failure leaves no half-written bitmap.
  return sys::WriteFileAtomic(path_, std::string_view(reinterpret_cast<const char*>(file.data()), file.size())) ? 1 : 0;
}

FynClipboardCpoy::FynClipboardCpoy(draw::Dc* dc, draw::Rect rect, const std::vector<draw::ColorRef>* palette)
    : FynBitmapBase(dc, rect, palette) {}

int FynClipboardCpoy::WriteClipboard() {
  if (dc_ == nullptr) return 0;
  draw::Rect client;
  dc_->GetClipBox(&client);
  if (client.Width() <= 0 || client.Height() <= 0) return 0;
  draw::Image image = dc_->CaptureImage(client);
  if (image.IsNull()) return 0;
  return draw::SetClipboardImage(image) ? 1 : 0;
}
