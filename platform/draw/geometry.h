#pragma once
// Plain geometry records of the drawing layer: integer points, sizes and rectangles in
// device or logical units. A rectangle holds its left/top edges inclusive and its
// right/bottom edges exclusive, as every fill and blit of the layer reads it.
#include <algorithm>

namespace draw {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  Size GetSize() const { return {Width(), Height()}; }
  Point TopLeft() const { return {left, top}; }
  Point BottomRight() const { return {right, bottom}; }
  Point CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
  // True when the rectangle covers no pixel (also for an unnormalised one).
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool PtInRect(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  // Swaps the edges so that left <= right and top <= bottom.
  void Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  Rect Normalized() const {
    Rect r = *this;
    r.Normalize();
    return r;
  }
  void Offset(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  void Inflate(int dx, int dy) {
    left -= dx;
    right += dx;
    top -= dy;
    bottom += dy;
  }
  // The common part of two rectangles; an empty (0,0,0,0) rectangle when they do not meet.
  static Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return r.IsEmpty() ? Rect{} : r;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect RectFromSize(int x, int y, int width, int height) {
  return {x, y, x + width, y + height};
}

}  // namespace draw
