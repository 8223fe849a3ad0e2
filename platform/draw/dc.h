#pragma once
// Dc: the device context every piece of drawing goes through: window painting, memory
// bitmaps, bitmap files, clipboard copies, printing and print preview. It keeps the
// selected pen, brush and font, the text colours, background mode, text alignment,
// raster operation, current position, viewport origin and clip region, and draws with
// the pixel rules the program's drawing code was written for: a line leaves out its last
// pixel, a rectangle covers left..right-1 and top..bottom-1, XOR drawing done twice
// restores what was there.
//
// Coordinates are logical units; with the viewport origin at (0, 0) they are device
// pixels. Clip regions are given in device pixels.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/draw/geometry.h"
#include "platform/draw/image.h"

namespace draw {

// Text metrics of the selected font, in logical units.
struct TextMetric {
  int height = 0;  // ascent + descent
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int weight = FW_NORMAL;
};

// One rectangle of a batch of solid fills.
struct SolidFill {
  Rect rect;
  ColorRef colour = 0;
};

// What a device context draws on.
enum class DcKind { Memory, Window, Printer, Preview };

// Size and resolution of the screen as window and compatible memory contexts report them.
struct ScreenMetrics {
  int widthPx = 0;
  int heightPx = 0;
  int widthMm = 0;
  int heightMm = 0;
  int dpiX = 96;
  int dpiY = 96;
};
ScreenMetrics GetScreenMetrics();
// Fixes the reported screen (tests); null goes back to the real screen.
void OverrideScreenMetrics(const ScreenMetrics* metrics);
bool IsScreenMetricsOverridden();

class Dc {
 public:
  // A memory device context drawing into the image. A null image gives a context that
  // draws nothing; so does an image destroyed or assigned over while selected. An image
  // draws through one context at a time: selecting it into another takes it from the first.
  explicit Dc(Image& target);
  // A memory device context with no bitmap selected; its device capabilities are those
  // of like (the screen when null).
  static std::unique_ptr<Dc> CreateCompatibleDC(const Dc* like);
  ~Dc();
  Dc(const Dc&) = delete;
  Dc& operator=(const Dc&) = delete;

  DcKind Kind() const;
  bool IsPrinting() const;  // printer and print preview contexts
  // The image selected into a memory context (null for others).
  Image* GetSelectedBitmap() const;
  // Selects another image into a memory context; returns the one selected before.
  Image* SelectBitmap(Image* image);

  // ---- Drawing objects: each Select returns the object that was selected before ----
  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  Font SelectFont(const Font& font);
  Pen SelectObject(const Pen& pen) { return SelectPen(pen); }
  Brush SelectObject(const Brush& brush) { return SelectBrush(brush); }
  Font SelectObject(const Font& font) { return SelectFont(font); }
  Pen SelectStockPen(int id) { return SelectPen(GetStockPen(id)); }
  Brush SelectStockBrush(int id) { return SelectBrush(GetStockBrush(id)); }
  const Pen& GetCurrentPen() const;
  const Brush& GetCurrentBrush() const;
  const Font& GetCurrentFont() const;
  // Palettes are accepted for code that realises them; every surface is true colour.
  std::vector<ColorRef> SelectPalette(std::span<const ColorRef> palette);
  int RealizePalette() const;

  ColorRef SetTextColor(ColorRef c);
  ColorRef GetTextColor() const;
  ColorRef SetBkColor(ColorRef c);
  ColorRef GetBkColor() const;
  int SetBkMode(int mode);  // TRANSPARENT or OPAQUE; returns the previous mode
  int GetBkMode() const;
  unsigned SetTextAlign(unsigned align);  // TA_* flags; returns the previous flags
  unsigned GetTextAlign() const;
  int SetROP2(int rop);  // R2_*; returns the previous one
  int GetROP2() const;
  int SetStretchBltMode(int mode);
  int GetStretchBltMode() const;

  // Saves the whole state (objects, colours, modes, position, origin, clip); returns a
  // positive level. RestoreDC(-1) goes back to the last save, RestoreDC(n) to level n.
  int SaveDC();
  bool RestoreDC(int saved);

  // ---- Coordinates ----
  Point SetViewportOrg(Point origin);
  Point SetViewportOrg(int x, int y) { return SetViewportOrg(Point{x, y}); }
  Point OffsetViewportOrg(int dx, int dy);
  Point GetViewportOrg() const;
  void LPtoDP(Point* points, int count) const;
  void DPtoLP(Point* points, int count) const;

  // ---- Lines and shapes (current pen outlines, current brush fills, current ROP2) ----
  Point MoveTo(int x, int y);
  Point MoveTo(Point p) { return MoveTo(p.x, p.y); }
  bool LineTo(int x, int y);
  bool LineTo(Point p) { return LineTo(p.x, p.y); }
  Point GetCurrentPosition() const;
  // One connected line through all points (one call for any number of points).
  bool Polyline(const Point* points, int count);
  bool Polyline(std::span<const Point> points) { return Polyline(points.data(), static_cast<int>(points.size())); }
  bool Polygon(const Point* points, int count);
  bool Polygon(std::span<const Point> points) { return Polygon(points.data(), static_cast<int>(points.size())); }
  bool Rectangle(int left, int top, int right, int bottom);
  bool Rectangle(const Rect& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }
  bool Ellipse(int left, int top, int right, int bottom);
  bool Ellipse(const Rect& r) { return Ellipse(r.left, r.top, r.right, r.bottom); }
  // Fills left..right-1 x top..bottom-1 with the brush (no pen, plain copy).
  void FillRect(const Rect& r, const Brush& brush);
  void FillSolidRect(const Rect& r, ColorRef color);
  void FillSolidRect(int x, int y, int width, int height, ColorRef color) {
    FillSolidRect(RectFromSize(x, y, width, height), color);
  }
  // The fills one after another, each as FillSolidRect draws it (one call for a whole
  // picture's worth of small fills).
  void FillSolidRects(std::span<const SolidFill> fills);
  // A line from each even-indexed point to the one after it, in order, each as MoveTo and
  // LineTo draw it; the current position ends at the last point (an odd last point is
  // left out).
  void LineSegments(std::span<const Point> ends);
  // A one-pixel frame just inside the rectangle.
  void FrameRect(const Rect& r, const Brush& brush);
  // Inverts the colours of the pixels of the rectangle.
  void InvertRect(const Rect& r);
  // The dotted frame of a keyboard focus, drawn by inverting: drawing it again removes it.
  void DrawFocusRect(const Rect& r);
  // Left and top edges in one colour, right and bottom in the other.
  void Draw3dRect(const Rect& r, ColorRef topLeft, ColorRef bottomRight);
  // A 3-D edge (EDGE_* style, BF_* sides) in the system's button colours.
  bool DrawEdge(const Rect& r, unsigned edge, unsigned flags);
  ColorRef SetPixel(int x, int y, ColorRef color);
  ColorRef GetPixel(int x, int y) const;

  // ---- Text (UTF-8) in the selected font, text colour, background mode and alignment ----
  bool TextOut(int x, int y, std::string_view text);
  // Draws text formatted into the rectangle (DT_* flags); returns the text height.
  // With DT_CALCRECT nothing is drawn and the rectangle's right and bottom are set to fit.
  int DrawText(std::string_view text, Rect* rect, unsigned format);
  // Width and height of a line of text; (0, font height) for an empty text.
  Size GetTextExtent(std::string_view text) const;
  TextMetric GetTextMetrics() const;

  // ---- Clipping ----
  // Replaces the clip region by a copy of the region; null removes clipping.
  int SelectClipRgn(const Region* region);
  int SelectClipRgn(const Region& region) { return SelectClipRgn(&region); }
  // Intersects the clip region with a rectangle in logical units.
  int IntersectClipRect(const Rect& r);
  int ExcludeClipRect(const Rect& r);
  // True when a clip region is set; GetClipRgn copies it.
  bool HasClipRegion() const;
  bool GetClipRgn(Region* out) const;
  // Bounds of the drawable area in logical units; returns the region type.
  int GetClipBox(Rect* out) const;
  bool PtVisible(int x, int y) const;

  // ---- Blits (the source is another device context; its surface is read) ----
  bool BitBlt(int x, int y, int width, int height, const Dc* src, int srcX, int srcY, std::uint32_t rop);
  bool StretchBlt(int x, int y, int width, int height, const Dc* src, int srcX, int srcY, int srcWidth,
                  int srcHeight, std::uint32_t rop);
  // Blits of the current brush or of the destination alone (PATCOPY, PATINVERT, DSTINVERT,
  // BLACKNESS, WHITENESS).
  bool PatBlt(int x, int y, int width, int height, std::uint32_t rop);
  // Draws an image stretched from its source rectangle into the destination rectangle.
  bool DrawImage(const Rect& dst, const Image& image, const Rect& src, std::uint32_t rop = SRCCOPY);
  // Draws packed bitmap rows (see Image::FromDibBits; compression BI_RLE8 or BI_RLE4 reads
  // Image::FromRleBits) stretched into the destination. The source rectangle is in image
  // pixels, top row 0. Returns the number of rows drawn, 0 on failure.
  int StretchDIBits(const Rect& dst, const Rect& src, int dibWidth, int dibHeight, int bitsPerPixel,
                    std::span<const std::uint8_t> colorTable, std::span<const std::uint8_t> bits,
                    std::uint32_t rop = SRCCOPY, int compression = BI_RGB);
  // A copy of a rectangle of the surface (logical units), for capture and clipboard.
  Image CaptureImage(const Rect& r) const;
  // The same into `out`, whose pixels are reused when it already has the size (a page kept
  // after every paint then costs a copy, not a fresh allocation).
  void CaptureImageInto(const Rect& r, Image& out) const;

  // ---- Device ----
  int GetDeviceCaps(int index) const;

  // ---- Documents (printer contexts; no-ops returning 1 elsewhere) ----
  int StartDoc(std::string_view documentName);
  int StartPage();
  int EndPage();
  int EndDoc();
  int AbortDoc();

  struct Impl;
  Impl* impl() const { return impl_.get(); }
  explicit Dc(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace draw
