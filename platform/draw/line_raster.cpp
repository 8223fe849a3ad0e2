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
  const std::uint32_t value = t.value;
  if (ady == 0 && !Checked) {  // horizontal run
    std::uint32_t* p = t.pixels + y0 * stride + x0;
    for (int i = 0; i < n; ++i, p += sx) Plot<Op>(p, value);
    return;
  }
  if (adx == 0 && !Checked) {  // vertical run
    std::uint32_t* p = t.pixels + y0 * stride + x0;
    const long long step = sy * stride;
    for (int i = 0; i < n; ++i, p += step) Plot<Op>(p, value);
    return;
  }
  if (adx == 1 && !Checked) {
    // A steep step to the next column, as waves mostly are: the first half of the pixels
    // (0 .. n/2) stays in the start column, the rest lies in the next one, exactly as the
    // general loop below would set them.
    std::uint32_t* p = t.pixels + y0 * stride + x0;
    const long long step = sy * stride;
    const int split = n / 2 + 1;
    int i = 0;
    for (; i < split; ++i, p += step) Plot<Op>(p, value);
    p += sx;
    for (; i < n; ++i, p += step) Plot<Op>(p, value);
    return;
  }
  int err = adx - ady;
  int x = x0;
  int y = y0;
  for (int i = 0; i < n; ++i) {
    if (!Checked || (x >= t.clip.left && x < t.clip.right && y >= t.clip.top && y < t.clip.bottom)) {
      Plot<Op>(t.pixels + y * stride + x, value);
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

// Pixels x, lo..hi (inclusive) within the clip.
void Column(const LineTarget& t, int x, int lo, int hi) {
  const Rect& c = t.clip;
  if (x < c.left || x >= c.right) return;
  lo = std::max(lo, c.top);
  hi = std::min(hi, c.bottom - 1);
  if (lo > hi) return;
  // Stride and colour in locals: the pixel stores could alias the target's fields.
  const long long stride = t.stridePixels;
  const std::uint32_t value = t.value;
  std::uint32_t* p = t.pixels + static_cast<long long>(lo) * stride + x;
  for (int y = lo; y <= hi; ++y, p += stride) *p = value;
}

// Points first..last (last > first) share one x. Their segments together set the column span
// from the lowest to the highest point, except the final point when only the last segment
// reaches it (segments leave out their end pixel; zero-length segments set nothing).
void ColumnChain(const LineTarget& t, const Point* pts, int first, int last, int ox, int oy) {
  const int end = pts[last].y;
  int m = last - 1;
  while (m >= first && pts[m].y == end) --m;
  if (m < first) return;  // every point the same: nothing is drawn
  int lo = pts[first].y, hi = lo;
  for (int k = first + 1; k <= m; ++k) {
    lo = std::min(lo, pts[k].y);
    hi = std::max(hi, pts[k].y);
  }
  if (end < lo) lo = end + 1;
  if (end > hi) hi = end - 1;
  Column(t, pts[first].x + ox, lo + oy, hi + oy);
}

template <LineOp Op>
void Polyline(const LineTarget& t, const Point* pts, int count, int ox, int oy) {
  const Rect& c = t.clip;
  for (int i = 0; i + 1 < count; ++i) {
    if constexpr (Op == LineOp::Copy) {
      // Dense waves put many points into one pixel column: the chain of vertical segments
      // sets the same pixels as one span. (XOR keeps every segment: overlaps flip twice.)
      if (pts[i + 1].x == pts[i].x && i + 2 < count && pts[i + 2].x == pts[i].x) {
        int j = i + 2;
        while (j + 1 < count && pts[j + 1].x == pts[i].x) ++j;
        ColumnChain(t, pts, i, j, ox, oy);
        i = j - 1;
        continue;
      }
    }
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
