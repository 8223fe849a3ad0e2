#pragma once
// Direct one-pixel line drawing into 32-bit pixel memory: the fast path of thin solid
// lines and polylines on memory surfaces. Each segment covers its start pixel and leaves
// out its end pixel (so polyline vertices are drawn once and XOR drawing is reversible).
#include <cstdint>

#include "platform/draw/geometry.h"

namespace draw {

// How a line pixel combines with the pixel under it.
enum class LineOp { Copy, Xor, Not };

struct LineTarget {
  std::uint32_t* pixels = nullptr;  // 0xAARRGGBB words, row after row
  int stridePixels = 0;             // words from one row to the next
  Rect clip;                        // device pixels that may change
  std::uint32_t value = 0;          // Copy: the pixel written; Xor: the bits flipped
  LineOp op = LineOp::Copy;
};

// Coordinates beyond this magnitude go to the general path (keeps the error terms in range).
constexpr int kFastLineLimit = 1 << 20;

// Draws the segments between consecutive points (device pixels, count >= 2).
void RasterPolyline(const LineTarget& target, const Point* points, int count, int offsetX, int offsetY);

}  // namespace draw
