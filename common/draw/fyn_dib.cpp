#include "common/draw/fyn_dib.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <new>
#include <span>

#include "common/fyn_message.h"
#include "platform/draw/dc.h"
#include "platform/system/binary_file.h"
#include "platform/system/mapped_file.h"

namespace {

constexpr int kHeaderSize = 40;
constexpr int kFileHeaderSize = 14;
constexpr std::uint16_t kBmType = 0x4D42;

std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Byte offsets of the 40-byte bitmap header.
enum : int {
  kOffSize = 0, kOffWidth = 4, kOffHeight = 8, kOffPlanes = 12, kOffBitCount = 14,
  kOffCompression = 16, kOffSizeImage = 20, kOffXPels = 24, kOffYPels = 28, kOffClrUsed = 32,
  kOffClrImportant = 36
};

std::uint32_t DefaultEntries(int bitCount) {
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

std::int64_t PlainImageSize(int bitCount, int width, int height) {
  if (bitCount <= 0 || width <= 0) return 0;
  std::int64_t h = height < 0 ? -static_cast<std::int64_t>(height) : height;
  return ((static_cast<std::int64_t>(bitCount) * width - 1) / 32 + 1) * 4 * h;
}

std::uint8_t* Allocate(std::size_t bytes) {
  return static_cast<std::uint8_t*>(std::calloc(bytes ? bytes : 1, 1));
}

void FileHeader(std::uint8_t* out, std::uint32_t fileSize, std::uint32_t offBits) {
  Put16(out, kBmType);
  Put32(out + 2, fileSize);
  Put16(out + 6, 0);
  Put16(out + 8, 0);
  Put32(out + 10, offBits);
}

bool IsRle(int compression) { return compression == draw::BI_RLE4 || compression == draw::BI_RLE8; }

// Plain packed rows of run-length encoded ones; nothing when the data is damaged.
std::optional<std::vector<std::uint8_t>> DecodeRows(int width, int height, int bits,
                                                    std::span<const std::uint8_t> table,
                                                    std::span<const std::uint8_t> data) {
  draw::Image img = draw::Image::FromRleBits(width, height, bits, table, data);
  if (img.IsNull()) return std::nullopt;
  return img.ToDibBits(false);
}

}  // namespace

FynDib::FynDib() = default;

FynDib::FynDib(draw::Size size, int bitCount) {
  std::uint32_t entries = DefaultEntries(bitCount);
  header_ = Allocate(kHeaderSize + 4 * entries);
  if (header_ == nullptr) return;
  headerOwnership_ = kOwned;
  Put32(header_ + kOffSize, kHeaderSize);
  Put32(header_ + kOffWidth, static_cast<std::uint32_t>(size.cx));
  Put32(header_ + kOffHeight, static_cast<std::uint32_t>(size.cy));
  Put16(header_ + kOffPlanes, 1);
  Put16(header_ + kOffBitCount, static_cast<std::uint16_t>(bitCount));
  Put32(header_ + kOffClrUsed, entries);
  Put32(header_ + kOffClrImportant, entries);
  ComputeMetrics();
}

FynDib::~FynDib() { Empty(); }

int FynDib::BitCount() const { return header_ ? Get16(header_ + kOffBitCount) : 0; }
int FynDib::Compression() const { return header_ ? static_cast<int>(Get32(header_ + kOffCompression)) : 0; }

draw::Size FynDib::GetDimensions() const {
  if (header_ == nullptr) return {0, 0};
  return {static_cast<int>(Get32(header_ + kOffWidth)), static_cast<int>(Get32(header_ + kOffHeight))};
}

void FynDib::ComputeMetrics() {
  colorTable_ = header_ + kHeaderSize;
  std::uint32_t used = Get32(header_ + kOffClrUsed);
  entries_ = used != 0 ? used : DefaultEntries(BitCount());
  std::uint32_t stored = Get32(header_ + kOffSizeImage);
  draw::Size dim = GetDimensions();
  imageSize_ = stored != 0 ? static_cast<int>(stored) : static_cast<int>(PlainImageSize(BitCount(), dim.cx, dim.cy));
}

void FynDib::Empty() {
  DetachMapFile();
  if (headerOwnership_ != kNotOwned) std::free(header_);
  if (imageOwned_ != 0 || section_) std::free(image_);
  image_ = nullptr;
  header_ = nullptr;
  colorTable_ = nullptr;
  memHandle_ = nullptr;
  headerOwnership_ = kNotOwned;
  imageOwned_ = 0;
  section_ = false;
  palette_.clear();
  entries_ = 0;
  imageSize_ = 0;
}

int FynDib::AttachMemory(void* block, int owned, void* handle) {
  Empty();
  auto* p = static_cast<std::uint8_t*>(block);
  if (p == nullptr || Get32(p + kOffSize) != kHeaderSize) {
    fyn::ShowMessage("AttachMemory error");
    return 0;
  }
  header_ = p;
  memHandle_ = handle;
  headerOwnership_ = owned == 0 ? kNotOwned : (handle != nullptr ? kOwnedHandle : kOwned);
  ComputeMetrics();
  image_ = header_ + GetSizeHeader();
  MakePalette();
  return 1;
}

int FynDib::AttachMapFile(const char* path, int /*share*/) {
  Empty();
  auto map = std::make_unique<sys::MappedFile>();
  if (path == nullptr || !map->Open(path)) {
    fyn::ShowMessage("Empty bitmap file");
    return 0;
  }
  const std::uint8_t* v = map->Data();
  if (map->Size() < kFileHeaderSize || Get16(v) != kBmType) {
    fyn::ShowMessage("Invalid bitmap file");
    return 0;
  }
  // The header, its colour table and the rows must lie inside the mapped file.
  std::uint8_t* hdr = map->Data() + kFileHeaderSize;
  std::size_t rest = map->Size() - kFileHeaderSize;
  if (rest < kHeaderSize || Get32(hdr + kOffSize) != kHeaderSize) {
    fyn::ShowMessage("Invalid bitmap file");
    return 0;
  }
  header_ = hdr;
  ComputeMetrics();
  if (static_cast<std::size_t>(GetSizeHeader()) + static_cast<std::size_t>(imageSize_) > rest || imageSize_ < 0) {
    header_ = nullptr;
    Empty();
    fyn::ShowMessage("Invalid bitmap file");
    return 0;
  }
  image_ = header_ + GetSizeHeader();
  map_ = std::move(map);
  MakePalette();
  return 1;
}

int FynDib::CopyToMapFile(const char* path) {
  if (header_ == nullptr || path == nullptr) return 0;
  const std::size_t headerBytes = static_cast<std::size_t>(GetSizeHeader());
  const std::size_t total = kFileHeaderSize + headerBytes + static_cast<std::size_t>(imageSize_);
  auto map = std::make_unique<sys::MappedFile>();
  if (!map->Create(path, total)) return 0;
  std::uint8_t* v = map->Data();
  FileHeader(v, static_cast<std::uint32_t>(total), static_cast<std::uint32_t>(kFileHeaderSize + headerBytes));
  std::memcpy(v + kFileHeaderSize, header_, headerBytes);
  if (image_ != nullptr) std::memcpy(v + kFileHeaderSize + headerBytes, image_, static_cast<std::size_t>(imageSize_));
  Empty();
  header_ = v + kFileHeaderSize;
  ComputeMetrics();
  image_ = header_ + GetSizeHeader();
  map_ = std::move(map);
  MakePalette();
  return 1;
}

void FynDib::DetachMapFile() {
  if (!map_) return;
  // What pointed into the view goes with it.
  if (headerOwnership_ == kNotOwned && header_ >= map_->Data() && header_ < map_->Data() + map_->Size()) {
    header_ = nullptr;
    colorTable_ = nullptr;
    image_ = nullptr;
  }
  map_->Close();
  map_.reset();
}

unsigned FynDib::UsePalette(draw::Dc* dc, int /*background*/) {
  if (palette_.empty() || dc == nullptr) return 0;
  dc->SelectPalette(palette_);
  return static_cast<unsigned>(dc->RealizePalette());
}

int FynDib::Draw(draw::Dc* dc, draw::Point origin, draw::Size size) {
  if (header_ == nullptr || dc == nullptr || image_ == nullptr) return 0;
  if (!palette_.empty()) UsePalette(dc, 1);
  dc->SetStretchBltMode(draw::COLORONCOLOR);
  draw::Size dim = GetDimensions();
  std::span<const std::uint8_t> table(colorTable_, 4 * entries_);
  std::span<const std::uint8_t> rows(image_, static_cast<std::size_t>(imageSize_));
  draw::Rect dst{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
  draw::Rect src{0, 0, dim.cx, dim.cy};
  dc->StretchDIBits(dst, src, dim.cx, dim.cy, BitCount(), table, rows, draw::SRCCOPY, Compression());
  return 1;
}

std::uint8_t* FynDib::CreateSection(draw::Dc* /*dc*/) {
  if (header_ == nullptr || image_ != nullptr || imageSize_ <= 0) return nullptr;
  image_ = Allocate(static_cast<std::size_t>(imageSize_));
  if (image_ == nullptr) return nullptr;
  section_ = true;
  return image_;
}

int FynDib::MakePalette() {
  if (entries_ == 0 || colorTable_ == nullptr) return 0;
  palette_.clear();
  palette_.reserve(entries_);
  for (std::uint32_t i = 0; i < entries_; ++i) {
    const std::uint8_t* e = colorTable_ + 4 * i;
    palette_.push_back(draw::Rgb(e[2], e[1], e[0]));
  }
  return 1;
}

int FynDib::SetSystemPalette(draw::Dc* /*dc*/) {
  if (entries_ != 0) return 0;
  // A halftone palette: the 6 x 6 x 6 colour cube and a grey ramp.
  palette_.clear();
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) palette_.push_back(draw::Rgb(r * 51, g * 51, b * 51));
  for (int i = 0; i < 40; ++i) palette_.push_back(draw::Rgb(i * 255 / 39, i * 255 / 39, i * 255 / 39));
  return 1;
}

draw::Image FynDib::CreateBitmap(draw::Dc* /*dc*/) const {
  if (header_ == nullptr || image_ == nullptr) return {};
  draw::Size dim = GetDimensions();
  std::span<const std::uint8_t> rows(image_, static_cast<std::size_t>(imageSize_));
  std::span<const std::uint8_t> table(colorTable_, 4 * entries_);
  if (IsRle(Compression())) return draw::Image::FromRleBits(dim.cx, dim.cy, BitCount(), table, rows);
  if (Compression() != draw::BI_RGB) return {};
  return draw::Image::FromDibBits(dim.cx, dim.cy, BitCount(), table, rows);
}

int FynDib::Compress(draw::Dc* /*dc*/, int compress) {
  const int bits = BitCount();
  if (header_ == nullptr || image_ == nullptr || (bits != 4 && bits != 8) || section_) return 0;
  draw::Size dim = GetDimensions();
  std::span<const std::uint8_t> rows(image_, static_cast<std::size_t>(imageSize_));
  // The current rows in plain form.
  std::span<const std::uint8_t> table(colorTable_, 4 * entries_);
  std::vector<std::uint8_t> plain;
  if (IsRle(Compression())) {
    auto decoded = DecodeRows(dim.cx, dim.cy, bits, table, rows);
    if (!decoded) {
      fyn::ShowMessage("Unable to compress this DIB");
      return 0;
    }
    plain = std::move(*decoded);
  } else {
    plain.assign(rows.begin(), rows.end());
  }
  std::vector<std::uint8_t> newRows;
  std::uint32_t compression = draw::BI_RGB;
  if (compress != 0) {
    draw::Image img = draw::Image::FromDibBits(dim.cx, dim.cy, bits, table, plain);
    if (img.IsNull()) {
      fyn::ShowMessage("Unable to compress this DIB");
      return 0;
    }
    newRows = img.ToRleBits();
    if (newRows.empty()) {
      fyn::ShowMessage("Driver can't do compression");
      return 0;
    }
    compression = bits == 4 ? draw::BI_RLE4 : draw::BI_RLE8;
  } else {
    newRows = std::move(plain);
  }
  const std::size_t headerBytes = static_cast<std::size_t>(GetSizeHeader());
  std::uint8_t* newHeader = Allocate(headerBytes);
  std::uint8_t* newImage = Allocate(newRows.size());
  if (newHeader == nullptr || newImage == nullptr) {
    std::free(newHeader);
    std::free(newImage);
    return 0;
  }
  std::memcpy(newHeader, header_, headerBytes);
  std::memcpy(newImage, newRows.data(), newRows.size());
  Put32(newHeader + kOffCompression, compression);
  Put32(newHeader + kOffSizeImage, static_cast<std::uint32_t>(
                                       compression == draw::BI_RGB ? PlainImageSize(bits, dim.cx, dim.cy)
                                                                   : static_cast<std::int64_t>(newRows.size())));
  Empty();
  header_ = newHeader;
  headerOwnership_ = kOwned;
  image_ = newImage;
  imageOwned_ = 1;
  ComputeMetrics();
  MakePalette();
  return 1;
}

int FynDib::ReadInto(sys::BinaryFile* file, bool intoSection, const char* failText) {
  Empty();
  auto fail = [&]() {
    fyn::ShowMessage(failText);
    return 0;
  };
  if (file == nullptr) return fail();
  std::uint8_t fh[kFileHeaderSize];
  if (file->Read(fh, sizeof fh) < sizeof fh || Get16(fh) != kBmType) return fail();
  const std::uint32_t offBits = Get32(fh + 10);
  const std::uint64_t fileLength = file->Length();
  // The header block must hold at least the header and lie inside the file.
  if (offBits < kFileHeaderSize + kHeaderSize || offBits > fileLength) return fail();
  const std::size_t headerBlock = offBits - kFileHeaderSize;
  header_ = Allocate(headerBlock);
  if (header_ == nullptr) return fail();
  headerOwnership_ = kOwned;
  if (!file->ReadExact(header_, headerBlock)) return fail();
  if (Get32(header_ + kOffSize) != kHeaderSize) return fail();
  ComputeMetrics();
  // The colour table must fit in the header block, and the rows in the rest of the file.
  if (static_cast<std::size_t>(GetSizeHeader()) > headerBlock || entries_ > 256 * 256) return fail();
  if (imageSize_ < 0 || static_cast<std::uint64_t>(imageSize_) > fileLength - offBits) return fail();
  if (intoSection && Compression() != draw::BI_RGB) return fail();
  MakePalette();
  image_ = Allocate(static_cast<std::size_t>(imageSize_));
  if (image_ == nullptr) return fail();
  if (intoSection) section_ = true; else imageOwned_ = 1;
  if (!file->ReadExact(image_, static_cast<std::size_t>(imageSize_))) return fail();
  return 1;
}

int FynDib::Read(sys::BinaryFile* file) { return ReadInto(file, false, "Read error"); }

int FynDib::ReadSection(sys::BinaryFile* file, draw::Dc* dc) {
  int ok = ReadInto(file, true, "ReadSection error");
  if (ok && dc != nullptr) UsePalette(dc, 0);
  return ok;
}

int FynDib::Write(sys::BinaryFile* file) const {
  if (file == nullptr || header_ == nullptr) {
    fyn::ShowMessage("write error");
    return 0;
  }
  std::uint8_t fh[kFileHeaderSize];
  FileHeader(fh, 0, static_cast<std::uint32_t>(kFileHeaderSize + GetSizeHeader()));
  bool ok = file->Write(fh, sizeof fh) && file->Write(header_, static_cast<std::size_t>(GetSizeHeader()));
  if (ok && image_ != nullptr) ok = file->Write(image_, static_cast<std::size_t>(imageSize_));
  if (!ok) {
    fyn::ShowMessage("write error");
    return 0;
  }
  return 1;
}

void FynDib::Serialize(sys::BinaryFile* file, bool storing) {
  if (file != nullptr) file->Flush();
  if (storing) Write(file); else Read(file);
}
