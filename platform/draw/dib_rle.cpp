#include "platform/draw/dib_rle.h"

#include <cstddef>

namespace draw {
namespace {

int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

int PixelAt(const std::uint8_t* row, int x, int bits) {
  if (bits == 8) return row[x];
  std::uint8_t b = row[x / 2];
  return (x % 2 == 0) ? (b >> 4) : (b & 0x0F);
}

void SetPixelAt(std::uint8_t* row, int x, int bits, int value) {
  if (bits == 8) {
    row[x] = static_cast<std::uint8_t>(value);
    return;
  }
  std::uint8_t& b = row[x / 2];
  b = (x % 2 == 0) ? static_cast<std::uint8_t>((b & 0x0F) | (value << 4))
                   : static_cast<std::uint8_t>((b & 0xF0) | (value & 0x0F));
}

// Length of the run of equal pixels starting at x (at most 255).
int RunLength(const std::uint8_t* row, int x, int width, int bits) {
  int v = PixelAt(row, x, bits);
  int n = 1;
  while (x + n < width && n < 255 && PixelAt(row, x + n, bits) == v) ++n;
  return n;
}

void EmitLiteral(std::vector<std::uint8_t>& out, const std::uint8_t* row, int x, int n, int bits) {
  out.push_back(0);
  out.push_back(static_cast<std::uint8_t>(n));
  std::size_t start = out.size();
  if (bits == 8) {
    for (int i = 0; i < n; ++i) out.push_back(row[x + i]);
  } else {
    for (int i = 0; i < n; i += 2) {
      int hi = PixelAt(row, x + i, bits);
      int lo = i + 1 < n ? PixelAt(row, x + i + 1, bits) : 0;
      out.push_back(static_cast<std::uint8_t>((hi << 4) | lo));
    }
  }
  if ((out.size() - start) % 2 != 0) out.push_back(0);
}

void EmitRun(std::vector<std::uint8_t>& out, int n, int value, int bits) {
  out.push_back(static_cast<std::uint8_t>(n));
  out.push_back(static_cast<std::uint8_t>(bits == 8 ? value : (value << 4) | value));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeDibRle(int width, int height, int bits,
                                                      std::span<const std::uint8_t> rows) {
  if ((bits != 4 && bits != 8) || width < 1 || height < 1) return std::nullopt;
  const int stride = Stride(width, bits);
  if (rows.size() < static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)) return std::nullopt;
  std::vector<std::uint8_t> out;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * stride;
    int x = 0;
    while (x < width) {
      int run = RunLength(row, x, width, bits);
      if (run >= 2) {
        EmitRun(out, run, PixelAt(row, x, bits), bits);
        x += run;
        continue;
      }
      // Gather single pixels until a run of two starts.
      int lit = 1;
      while (x + lit < width && lit < 255 && RunLength(row, x + lit, width, bits) < 2) ++lit;
      if (lit >= 3) {
        EmitLiteral(out, row, x, lit, bits);
      } else {
        for (int i = 0; i < lit; ++i) EmitRun(out, 1, PixelAt(row, x + i, bits), bits);
      }
      x += lit;
    }
    out.push_back(0);
    out.push_back(y + 1 == height ? 1 : 0);
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> DecodeDibRle(int width, int height, int bits,
                                                      std::span<const std::uint8_t> data) {
  if ((bits != 4 && bits != 8) || width < 1 || height < 1) return std::nullopt;
  const int stride = Stride(width, bits);
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
  std::size_t i = 0;
  int x = 0, y = 0;
  auto need = [&](std::size_t n) { return i + n <= data.size(); };
  while (true) {
    if (!need(2)) return std::nullopt;
    int a = data[i], b = data[i + 1];
    i += 2;
    if (a > 0) {  // a run of a pixels
      if (y >= height || x + a > width) return std::nullopt;
      std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * stride;
      for (int k = 0; k < a; ++k) {
        int v = bits == 8 ? b : ((k % 2 == 0) ? (b >> 4) : (b & 0x0F));
        SetPixelAt(row, x + k, bits, v);
      }
      x += a;
    } else if (b == 0) {  // end of line
      x = 0;
      ++y;
    } else if (b == 1) {  // end of image
      return rows;
    } else if (b == 2) {  // delta
      if (!need(2)) return std::nullopt;
      x += data[i];
      y += data[i + 1];
      i += 2;
      if (x > width || y > height) return std::nullopt;
    } else {  // b literal pixels
      std::size_t bytes = bits == 8 ? static_cast<std::size_t>(b) : static_cast<std::size_t>(b + 1) / 2;
      if (!need(bytes) || y >= height || x + b > width) return std::nullopt;
      std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * stride;
      for (int k = 0; k < b; ++k) {
        int v = bits == 8 ? data[i + k] : ((k % 2 == 0) ? (data[i + k / 2] >> 4) : (data[i + k / 2] & 0x0F));
        SetPixelAt(row, x + k, bits, v);
      }
      x += b;
      i += bytes + (bytes % 2);
    }
  }
}

}  // namespace draw
