// Bresenham segments with the end pixel left out, specialised per pixel operation.
#include "platform/draw/line_raster.h"

#include <algorithm>
#include <cstdlib>

namespace draw {

namespace {

template <LineOp Op>
inline void Plot(std::uint32_t* p, std::uint32_t value) {
  if constexpr (Op == LineOp::Copy) {
    *p = value;
  } else {
    *p ^= value;
  }
}

template <LineOp Op, bool Checked>
void Segment(const LineTarget& t, int x0, int y0, int x1, int y1) {
  const int adx = std::abs(x1 - x0);
  const int ady = std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1;
  const int sy = y0 < y1 ? 1 : -1;
  const int n = std::max(adx, ady);
  const long long stride = t.stridePixels;
  if (ady == 0 && !Checked) {  // horizontal run
    std::uint32_t* p = t.pixels + y0 * stride + x0;
    for (int i = 0; i < n; ++i, p += sx) Plot<Op>(p, t.value);
    return;
  }
  if (adx == 0 && !Checked) {  // vertical run
    std::uint32_t* p = t.pixels + y0 * stride + x0;
    const long long step = sy * stride;
    for (int i = 0; i < n; ++i, p += step) Plot<Op>(p, t.value);
    return;
  }
  int err = adx - ady;
  int x = x0;
  int y = y0;
  for (int i = 0; i < n; ++i) {
    if (!Checked || (x >= t.clip.left && x < t.clip.right && y >= t.clip.top && y < t.clip.bottom)) {
      Plot<Op>(t.pixels + y * stride + x, t.value);
    }
    const int e2 = 2 * err;
    if (e2 > -ady) {
      err -= ady;
      x += sx;
    }
    if (e2 < adx) {
      err += adx;
      y += sy;
    }
  }
}

template <LineOp Op>
void Polyline(const LineTarget& t, const Point* pts, int count, int ox, int oy) {
  const Rect& c = t.clip;
  for (int i = 0; i + 1 < count; ++i) {
    const int x0 = pts[i].x + ox, y0 = pts[i].y + oy;
    const int x1 = pts[i + 1].x + ox, y1 = pts[i + 1].y + oy;
    const int minX = std::min(x0, x1), maxX = std::max(x0, x1);
    const int minY = std::min(y0, y1), maxY = std::max(y0, y1);
    if (maxX < c.left || minX >= c.right || maxY < c.top || minY >= c.bottom) continue;
    if (minX >= c.left && maxX < c.right && minY >= c.top && maxY < c.bottom) {
      Segment<Op, false>(t, x0, y0, x1, y1);
    } else {
      Segment<Op, true>(t, x0, y0, x1, y1);
    }
  }
}

}  // namespace

void RasterPolyline(const LineTarget& target, const Point* points, int count, int offsetX, int offsetY) {
  if (target.clip.IsEmpty()) return;
  switch (target.op) {
    case LineOp::Copy: Polyline<LineOp::Copy>(target, points, count, offsetX, offsetY); break;
    case LineOp::Xor:
    case LineOp::Not: Polyline<LineOp::Xor>(target, points, count, offsetX, offsetY); break;
  }
}

}  // namespace draw
