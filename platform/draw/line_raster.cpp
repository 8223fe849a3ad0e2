// Bresenham segments with the end pixel left out, specialised per pixel operation.
#include "platform/draw/line_raster.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

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

// A wave polyline: its x moves by at most one column from point to point, always the same
// way. Each pixel column then gets one unbroken span: its vertical segments chain through
// its points, the step in from the previous column ends next to its first point and the
// step out starts at its last point. With a step out, the column's segments set every
// pixel from its lowest to its highest point, and the step adds pixels 0 .. n/2 of its
// own; the step in adds the rest of its pixels, its end left out (as Segment does).
// Walks the columns while the points move that way and returns the index of the point
// from which the remaining segments still have to be drawn (count - 1 when none remain).
int ColumnWalk(const LineTarget& t, const Point* pts, int count, int ox, int oy) {
  constexpr int kNone = std::numeric_limits<int>::max();
  int inLo = kNone;  // the previous column's step into this one
  int inHi = -kNone;
  int dir = 0;
  int i = 0;
  for (;;) {
    const int x = pts[i].x;
    int lo = pts[i].y;
    int hi = lo;
    int j = i;
    while (j + 1 < count && pts[j + 1].x == x) {
      ++j;
      lo = std::min(lo, pts[j].y);
      hi = std::max(hi, pts[j].y);
    }
    const int dx = j + 1 < count ? pts[j + 1].x - x : 0;
    if (dx != 0 && (dx == dir || (dir == 0 && (dx == 1 || dx == -1)))) {
      dir = dx;
      const int y0 = pts[j].y;
      const int y1 = pts[j + 1].y;
      const int dy = y1 - y0;
      const int sy = (dy > 0) - (dy < 0);
      const int mid = y0 + sy * (std::abs(dy) / 2);
      lo = std::min({lo, mid, inLo});
      hi = std::max({hi, mid, inHi});
      Column(t, x + ox, lo + oy, hi + oy);
      inLo = kNone;
      inHi = -kNone;
      if (std::abs(dy) >= 3) {
        inLo = std::min(mid + sy, y1 - sy);
        inHi = std::max(mid + sy, y1 - sy);
      }
      i = j + 1;
      continue;
    }
    // No step on in the walk's direction: the column gets the step in and its own vertical
    // segments, whose last point is left out when only the last segment reaches it.
    lo = inLo;
    hi = inHi;
    const int end = pts[j].y;
    int m = j - 1;
    while (m >= i && pts[m].y == end) --m;
    if (m >= i) {
      int chainLo = pts[i].y;
      int chainHi = chainLo;
      for (int k = i + 1; k <= m; ++k) {
        chainLo = std::min(chainLo, pts[k].y);
        chainHi = std::max(chainHi, pts[k].y);
      }
      if (end < chainLo) chainLo = end + 1;
      if (end > chainHi) chainHi = end - 1;
      lo = std::min(lo, chainLo);
      hi = std::max(hi, chainHi);
    }
    if (lo <= hi) Column(t, x + ox, lo + oy, hi + oy);
    return j;
  }
}

template <LineOp Op>
void Polyline(const LineTarget& t, const Point* pts, int count, int ox, int oy) {
  if constexpr (Op == LineOp::Copy) {
    if (count >= 3) {
      const int done = ColumnWalk(t, pts, count, ox, oy);
      pts += done;
      count -= done;
    }
  }
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
