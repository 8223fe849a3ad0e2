// Image: bitmaps in memory over QImage (RGB32 for colour, Indexed8 for palette images),
// with conversion to and from the packed rows of bitmap files.
#include "platform/draw/image.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/draw/dc.h"
#include "platform/draw/dc_qt.h"

namespace draw {


namespace {

bool ValidBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

QList<QRgb> DefaultPalette(int bits) {
  QList<QRgb> table;
  if (bits == 1) {
    table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  } else if (bits == 4) {
    static const QRgb kVga[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    for (QRgb c : kVga) table.append(c);
  } else if (bits == 8) {
    for (int i = 0; i < 256; ++i) table.append(qRgb(i, i, i));
  }
  return table;
}

int NearestIndex(const QList<QRgb>& table, QRgb c) {
  int best = 0;
  long bestDist = -1;
  for (int i = 0; i < table.size(); ++i) {
    const long dr = qRed(table[i]) - qRed(c);
    const long dg = qGreen(table[i]) - qGreen(c);
    const long db = qBlue(table[i]) - qBlue(c);
    const long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) {
      best = i;
      bestDist = d;
      if (d == 0) break;
    }
  }
  return best;
}

constexpr int kDefaultDotsPerMeter = 3780;  // 96 dpi

}  // namespace

Image::Image() : impl_(std::make_unique<Impl>()) {}

Image::Image(int width, int height, int bitsPerPixel) : Image() {
  if (width < 1 || height < 1 || !ValidBits(bitsPerPixel)) return;
  impl_->bits = bitsPerPixel;
  if (bitsPerPixel <= 8) {
    impl_->image = QImage(width, height, QImage::Format_Indexed8);
    impl_->image.setColorTable(DefaultPalette(bitsPerPixel));
    impl_->image.fill(0);
  } else {
    impl_->image = QImage(width, height, QImage::Format_RGB32);
    impl_->image.fill(qRgb(0, 0, 0));
  }
  if (impl_->image.isNull()) {
    impl_->bits = 0;
    return;
  }
  impl_->image.setDotsPerMeterX(kDefaultDotsPerMeter);
  impl_->image.setDotsPerMeterY(kDefaultDotsPerMeter);
}

// Copies are deep: a copy never sees drawing done later on the original.
Image::Image(const Image& o) : impl_(std::make_unique<Impl>()) {
  impl_->image = o.impl_->image.copy();
  impl_->bits = o.impl_->bits;
}
Image& Image::operator=(const Image& o) {
  if (this != &o) {
    ReleaseImageFromDc(impl_.get());
    impl_->image = o.impl_->image.copy();
    impl_->bits = o.impl_->bits;
  }
  return *this;
}
Image::Image(Image&& o) noexcept : impl_(std::make_unique<Impl>()) { std::swap(impl_, o.impl_); }
Image& Image::operator=(Image&& o) noexcept {
  std::swap(impl_, o.impl_);
  return *this;
}
// A context still drawing into this image stops drawing (it would draw into freed memory).
Image::~Image() { ReleaseImageFromDc(impl_.get()); }

Image Image::CreateCompatible(const Dc& dc, int width, int height) {
  Image img(width, height, 32);
  if (!img.IsNull()) img.SetDpi(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
  return img;
}

bool Image::IsNull() const { return impl_->image.isNull(); }
int Image::Width() const { return impl_->image.width(); }
int Image::Height() const { return impl_->image.height(); }
int Image::BitsPerPixel() const { return IsNull() ? 0 : impl_->bits; }

int Image::DpiX() const {
  return IsNull() ? 96 : static_cast<int>(std::lround(impl_->image.dotsPerMeterX() * 0.0254));
}
int Image::DpiY() const {
  return IsNull() ? 96 : static_cast<int>(std::lround(impl_->image.dotsPerMeterY() * 0.0254));
}
void Image::SetDpi(int dpiX, int dpiY) {
  if (IsNull() || dpiX <= 0 || dpiY <= 0) return;
  impl_->image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
  impl_->image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
}

std::vector<ColorRef> Image::Palette() const {
  std::vector<ColorRef> out;
  if (impl_->bits > 8) return out;
  for (QRgb c : impl_->image.colorTable()) out.push_back(FromQRgb(c));
  return out;
}

void Image::SetPalette(std::span<const ColorRef> colors) {
  if (IsNull() || impl_->bits > 8) return;
  const std::size_t cap = std::size_t{1} << impl_->bits;
  QList<QRgb> table;
  for (std::size_t i = 0; i < colors.size() && i < cap; ++i) table.append(ToQRgb(colors[i]));
  if (table.isEmpty()) table.append(qRgb(0, 0, 0));
  // Pixels must keep naming an entry: indexes beyond the new table map to its last entry.
  const int last = static_cast<int>(table.size()) - 1;
  QImage& img = impl_->image;
  for (int y = 0; y < img.height(); ++y) {
    uchar* row = img.scanLine(y);
    for (int x = 0; x < img.width(); ++x) row[x] = static_cast<uchar>(std::min<int>(row[x], last));
  }
  img.setColorTable(table);
}

ColorRef Image::GetPixel(int x, int y) const {
  if (IsNull() || !impl_->image.valid(x, y)) return CLR_INVALID;
  return FromQRgb(impl_->image.pixel(x, y));
}

void Image::SetPixel(int x, int y, ColorRef color) {
  if (IsNull() || !impl_->image.valid(x, y)) return;
  if (impl_->bits <= 8) {
    impl_->image.setPixel(x, y, static_cast<uint>(NearestIndex(impl_->image.colorTable(), ToQRgb(color))));
  } else {
    impl_->image.setPixel(x, y, ToQRgb(color));
  }
}

int Image::GetPixelIndex(int x, int y) const {
  if (IsNull() || impl_->bits > 8 || !impl_->image.valid(x, y)) return -1;
  return impl_->image.pixelIndex(x, y);
}

void Image::SetPixelIndex(int x, int y, int index) {
  if (IsNull() || impl_->bits > 8 || !impl_->image.valid(x, y)) return;
  if (index < 0 || index >= impl_->image.colorCount()) return;
  impl_->image.setPixel(x, y, static_cast<uint>(index));
}

void Image::Fill(ColorRef color) {
  if (IsNull()) return;
  if (impl_->bits <= 8) {
    impl_->image.fill(static_cast<uint>(NearestIndex(impl_->image.colorTable(), ToQRgb(color))));
  } else {
    impl_->image.fill(ToQRgb(color));
  }
}

std::uint8_t* Image::ScanLine(int y) {
  if (IsNull() || y < 0 || y >= Height()) return nullptr;
  return impl_->image.scanLine(y);
}
const std::uint8_t* Image::ScanLine(int y) const {
  if (IsNull() || y < 0 || y >= Height()) return nullptr;
  return impl_->image.constScanLine(y);
}
int Image::BytesPerLine() const { return IsNull() ? 0 : static_cast<int>(impl_->image.bytesPerLine()); }

std::vector<std::uint8_t> Image::ToDibBits(bool topDown) const {
  std::vector<std::uint8_t> out;
  if (IsNull()) return out;
  const int w = Width();
  const int h = Height();
  const int bits = impl_->bits;
  const int stride = DibStride();
  out.assign(static_cast<std::size_t>(stride) * h, 0);
  for (int y = 0; y < h; ++y) {
    const uchar* src = impl_->image.constScanLine(y);
    std::uint8_t* dst = out.data() + static_cast<std::size_t>(stride) * (topDown ? y : h - 1 - y);
    switch (bits) {
      case 1:
        for (int x = 0; x < w; ++x)
          if (src[x] & 1) dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        break;
      case 4:
        for (int x = 0; x < w; ++x) dst[x >> 1] |= static_cast<std::uint8_t>((src[x] & 0x0F) << ((x & 1) ? 0 : 4));
        break;
      case 8: std::memcpy(dst, src, static_cast<std::size_t>(w)); break;
      case 24:
        for (int x = 0; x < w; ++x) {
          dst[3 * x] = src[4 * x];
          dst[3 * x + 1] = src[4 * x + 1];
          dst[3 * x + 2] = src[4 * x + 2];
        }
        break;
      default:
        for (int x = 0; x < w; ++x) {
          std::memcpy(dst + 4 * x, src + 4 * x, 3);
          dst[4 * x + 3] = 0;
        }
        break;
    }
  }
  return out;
}

std::vector<std::uint8_t> Image::DibColorTable() const {
  std::vector<std::uint8_t> out;
  for (ColorRef c : Palette()) {
    out.push_back(static_cast<std::uint8_t>(GetBValue(c)));
    out.push_back(static_cast<std::uint8_t>(GetGValue(c)));
    out.push_back(static_cast<std::uint8_t>(GetRValue(c)));
    out.push_back(0);
  }
  return out;
}

Image Image::FromDibBits(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> colorTable,
                         std::span<const std::uint8_t> bits) {
  const bool topDown = height < 0;
  const long long absHeight = topDown ? -static_cast<long long>(height) : height;
  if (width < 1 || absHeight < 1 || absHeight > (1 << 24) || width > (1 << 24)) return Image();
  if (!(ValidBits(bitsPerPixel) || bitsPerPixel == 16)) return Image();
  const long long stride = ((static_cast<long long>(width) * bitsPerPixel + 31) / 32) * 4;
  if (static_cast<long long>(bits.size()) < stride * absHeight) return Image();

  const int h = static_cast<int>(absHeight);
  const int storedBits = bitsPerPixel == 16 ? 24 : bitsPerPixel;
  Image img(width, h, storedBits);
  if (img.IsNull()) return img;
  if (bitsPerPixel <= 8) {
    const std::size_t cap = std::size_t{1} << bitsPerPixel;
    QList<QRgb> table;
    for (std::size_t i = 0; i < cap && 4 * i + 2 < colorTable.size(); ++i)
      table.append(qRgb(colorTable[4 * i + 2], colorTable[4 * i + 1], colorTable[4 * i]));
    // Indexes past a short colour table show black.
    while (static_cast<std::size_t>(table.size()) < cap) table.append(qRgb(0, 0, 0));
    img.impl_->image.setColorTable(table);
  }
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = bits.data() + stride * (topDown ? y : h - 1 - y);
    uchar* dst = img.impl_->image.scanLine(y);
    switch (bitsPerPixel) {
      case 1:
        for (int x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
        break;
      case 4:
        for (int x = 0; x < width; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
        break;
      case 8: std::memcpy(dst, src, static_cast<std::size_t>(width)); break;
      case 16:
        for (int x = 0; x < width; ++x) {
          const unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
          const int r = ((v >> 10) & 31) * 255 / 31;
          const int g = ((v >> 5) & 31) * 255 / 31;
          const int b = (v & 31) * 255 / 31;
          reinterpret_cast<QRgb*>(dst)[x] = qRgb(r, g, b);
        }
        break;
      case 24:
        for (int x = 0; x < width; ++x)
          reinterpret_cast<QRgb*>(dst)[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      default:
        for (int x = 0; x < width; ++x)
          reinterpret_cast<QRgb*>(dst)[x] = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
        break;
    }
  }
  return img;
}

namespace {

// One row of palette indexes as RLE8 or RLE4 codes (without the end-of-line code).
void EncodeRleRow(const uchar* row, int width, int bits, std::vector<std::uint8_t>& out) {
  const int maxRun = 255;
  int x = 0;
  auto runAt = [&](int i) {
    int n = 1;
    while (i + n < width && n < maxRun && row[i + n] == row[i]) ++n;
    return n;
  };
  while (x < width) {
    const int run = runAt(x);
    if (run >= 3 || width - x < 3) {
      const int n = std::min(run, width - x);
      out.push_back(static_cast<std::uint8_t>(n));
      out.push_back(bits == 8 ? row[x] : static_cast<std::uint8_t>((row[x] << 4) | row[x]));
      x += n;
      continue;
    }
    // Absolute mode: pixels up to the next run of three or more.
    int end = x;
    while (end < width && end - x < maxRun && (runAt(end) < 3)) ++end;
    const int n = end - x;
    if (n < 3) {
      for (int i = x; i < end; ++i) {
        out.push_back(1);
        out.push_back(bits == 8 ? row[i] : static_cast<std::uint8_t>(row[i] << 4));
      }
      x = end;
      continue;
    }
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(n));
    std::size_t bytes = 0;
    if (bits == 8) {
      for (int i = x; i < end; ++i) out.push_back(row[i]);
      bytes = static_cast<std::size_t>(n);
    } else {
      for (int i = x; i < end; i += 2) {
        const uchar hi = row[i];
        const uchar lo = i + 1 < end ? row[i + 1] : 0;
        out.push_back(static_cast<std::uint8_t>((hi << 4) | lo));
      }
      bytes = static_cast<std::size_t>((n + 1) / 2);
    }
    if (bytes % 2) out.push_back(0);  // absolute runs end on a 16-bit boundary
    x = end;
  }
}

}  // namespace

std::vector<std::uint8_t> Image::ToRleBits() const {
  std::vector<std::uint8_t> out;
  const int bits = BitsPerPixel();
  if (bits != 8 && bits != 4) return out;
  for (int y = Height() - 1; y >= 0; --y) {
    EncodeRleRow(impl_->image.constScanLine(y), Width(), bits, out);
    if (y > 0) {
      out.push_back(0);
      out.push_back(0);
    }
  }
  out.push_back(0);
  out.push_back(1);
  return out;
}

Image Image::FromRleBits(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> colorTable,
                         std::span<const std::uint8_t> bits) {
  if ((bitsPerPixel != 8 && bitsPerPixel != 4) || width < 1 || height < 1) return Image();
  if (width > (1 << 24) || height > (1 << 24)) return Image();
  // Start from all-zero rows and the colour table, then paint the decoded pixels.
  const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(DibStride(width, bitsPerPixel)) * height, 0);
  Image img = FromDibBits(width, height, bitsPerPixel, colorTable, zeros);
  if (img.IsNull()) return img;
  QImage& q = img.impl_->image;
  const int maxIndex = (1 << bitsPerPixel) - 1;
  int x = 0;
  int row = 0;  // counted from the bottom
  std::size_t i = 0;
  auto put = [&](int value) {
    if (x < width && row < height) q.scanLine(height - 1 - row)[x] = static_cast<uchar>(value & maxIndex);
    ++x;
  };
  while (i + 1 < bits.size()) {
    const int count = bits[i];
    const int code = bits[i + 1];
    i += 2;
    if (count > 0) {
      if (x + count > width || row >= height) return Image();
      for (int k = 0; k < count; ++k) {
        put(bitsPerPixel == 8 ? code : ((k % 2 == 0) ? code >> 4 : code & 0x0F));
      }
      continue;
    }
    if (code == 0) {  // end of line
      x = 0;
      ++row;
    } else if (code == 1) {  // end of bitmap
      return img;
    } else if (code == 2) {  // delta
      if (i + 1 >= bits.size()) return Image();
      x += bits[i];
      row += bits[i + 1];
      i += 2;
      if (x > width || row > height) return Image();
    } else {  // absolute run of `code` pixels
      const std::size_t bytes = bitsPerPixel == 8 ? static_cast<std::size_t>(code)
                                                  : static_cast<std::size_t>((code + 1) / 2);
      if (i + bytes > bits.size() || x + code > width || row >= height) return Image();
      for (int k = 0; k < code; ++k) {
        const std::uint8_t b = bits[i + (bitsPerPixel == 8 ? k : k / 2)];
        put(bitsPerPixel == 8 ? b : ((k % 2 == 0) ? b >> 4 : b & 0x0F));
      }
      i += bytes + (bytes % 2);
    }
  }
  return Image();  // no end-of-bitmap code
}

Image Image::ConvertTo(int bitsPerPixel, std::span<const ColorRef> palette) const {
  if (IsNull() || !ValidBits(bitsPerPixel)) return Image();
  Image out(Width(), Height(), bitsPerPixel);
  out.impl_->image.setDotsPerMeterX(impl_->image.dotsPerMeterX());
  out.impl_->image.setDotsPerMeterY(impl_->image.dotsPerMeterY());
  if (bitsPerPixel > 8) {
    out.impl_->image = impl_->image.convertToFormat(QImage::Format_RGB32);
    return out;
  }
  if (!palette.empty()) out.SetPalette(palette);
  const QList<QRgb> table = out.impl_->image.colorTable();
  const QImage src = impl_->image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < Height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    uchar* d = out.impl_->image.scanLine(y);
    QRgb lastColor = 0;
    int lastIndex = -1;
    for (int x = 0; x < Width(); ++x) {
      if (lastIndex < 0 || s[x] != lastColor) {
        lastColor = s[x];
        lastIndex = NearestIndex(table, s[x]);
      }
      d[x] = static_cast<uchar>(lastIndex);
    }
  }
  return out;
}

Image Image::Copy(const Rect& r) const {
  if (IsNull()) return Image();
  const Rect c = Rect::Intersect(r.Normalized(), Rect{0, 0, Width(), Height()});
  if (c.IsEmpty()) return Image();
  Image out;
  out.impl_->bits = impl_->bits;
  out.impl_->image = impl_->image.copy(c.left, c.top, c.Width(), c.Height());
  return out;
}

bool Image::SavePng(const std::string& path) const {
  if (IsNull()) return false;
  return impl_->image.save(QString::fromStdString(path), "PNG");
}

bool Image::SaveBmp(const std::string& path) const {
  if (IsNull()) return false;
  return impl_->image.save(QString::fromStdString(path), "BMP");
}

Image Image::Load(const std::string& path) {
  QImage q;
  if (!q.load(QString::fromStdString(path))) return Image();
  return ImageFromQt(q);
}

QImage& QtImage(Image& image) { return image.impl()->image; }
const QImage& QtImage(const Image& image) { return image.impl()->image; }

Image ImageFromQt(const QImage& q, int bitsPerPixel) {
  Image out;
  if (q.isNull()) return out;
  const bool indexed = q.format() == QImage::Format_Indexed8 || q.format() == QImage::Format_Mono ||
                       q.format() == QImage::Format_MonoLSB;
  Image::Impl* impl = out.impl();
  if (indexed) {
    impl->image = q.convertToFormat(QImage::Format_Indexed8);
    const int colours = static_cast<int>(impl->image.colorCount());
    impl->bits = bitsPerPixel > 0 && bitsPerPixel <= 8 ? bitsPerPixel : (colours <= 2 ? 1 : colours <= 16 ? 4 : 8);
  } else {
    impl->image = q.convertToFormat(QImage::Format_RGB32);
    impl->bits = bitsPerPixel == 24 ? 24 : 32;
  }
  return out;
}

}  // namespace draw
