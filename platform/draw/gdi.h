#pragma once
// Drawing objects and codes of the drawing layer: colours, pens, brushes, font records,
// clip regions, and the numeric codes (raster operations, text alignment, text format
// flags, device capabilities, stock objects) that the program's code passes around and
// stores. The numbers are the ones the program's stored files and callers use.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/draw/geometry.h"

namespace draw {

// A colour as 0x00BBGGRR.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }
// Returned by GetPixel outside the surface and by failed colour queries.
constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;
// A colour naming an entry of the palette selected into the device context.
constexpr ColorRef PaletteIndex(int index) { return 0x01000000u | static_cast<ColorRef>(index & 0xFFFF); }
// Bitmap compression codes.
enum DibCompression : int { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// ---- Pens ----
enum PenStyle : int {
  PS_SOLID = 0,
  PS_DASH = 1,
  PS_DOT = 2,
  PS_DASHDOT = 3,
  PS_DASHDOTDOT = 4,
  PS_NULL = 5,
  PS_INSIDEFRAME = 6,
};

// A pen: style, width in logical units (0 and 1 both draw one pixel) and colour.
struct Pen {
  int style = PS_SOLID;
  int width = 1;
  ColorRef color = 0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// ---- Brushes ----
enum BrushStyle : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2 };
enum HatchStyle : int {
  HS_HORIZONTAL = 0,  // -----
  HS_VERTICAL = 1,    // |||||
  HS_FDIAGONAL = 2,   // \\\\\ .
  HS_BDIAGONAL = 3,   // /////
  HS_CROSS = 4,       // +++++
  HS_DIAGCROSS = 5,   // xxxxx
};

// A brush: solid colour, hatch pattern in a colour (the gaps show the background colour
// when the background mode is opaque), or null (nothing is filled).
struct Brush {
  int style = BS_SOLID;
  ColorRef color = 0xFFFFFF;
  int hatch = HS_HORIZONTAL;
  static Brush Solid(ColorRef c) { return {BS_SOLID, c, HS_HORIZONTAL}; }
  static Brush Hatched(int hatchStyle, ColorRef c) { return {BS_HATCHED, c, hatchStyle}; }
  static Brush Null() { return {BS_NULL, 0, HS_HORIZONTAL}; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

// ---- Fonts ----
enum FontWeight : int { FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
                        FW_SEMIBOLD = 600, FW_BOLD = 700, FW_HEAVY = 900 };
enum CharSet : int { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SHIFTJIS_CHARSET = 128 };
constexpr int kLogFontFaceSize = 32;

// A font description as the program stores it in its settings. Heights are in logical
// units: negative gives the character height, positive the cell height (character plus
// internal leading), 0 a default height. Escapement and orientation are in tenths of a
// degree, counter-clockwise. The face name is UTF-8 in memory, zero-terminated.
struct LogFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = FW_NORMAL;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = DEFAULT_CHARSET;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::array<char, kLogFontFaceSize> faceName{};

  std::string FaceName() const;
  // Copies the name, cut at a character boundary so that it fits with its terminating zero.
  void SetFaceName(std::string_view name);
  friend bool operator==(const LogFont&, const LogFont&) = default;
};

// A font object made from a LogFont. Cheap to copy; the realised font is cached inside
// and shared between copies.
class Font {
 public:
  Font();
  explicit Font(const LogFont& lf);
  bool CreateFontIndirect(const LogFont& lf);
  // Same as the record creation with the given height (logical units), weight and face.
  bool CreatePointFont(int tenthsOfPoint, std::string_view face, int logPixelsY = 96);
  const LogFont& GetLogFont() const { return lf_; }
  bool operator==(const Font& o) const { return lf_ == o.lf_; }

  struct Cache;
  const std::shared_ptr<Cache>& cache() const { return cache_; }

 private:
  LogFont lf_;
  std::shared_ptr<Cache> cache_;
};

// Which system font description to return.
enum class SystemFont { DefaultGui, Menu, Message, Fixed };
// The description of a system font (the desktop's font with its height in pixels).
LogFont GetSystemLogFont(SystemFont which);

// ---- Stock objects ----
enum StockObject : int {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH = 1,
  GRAY_BRUSH = 2,
  DKGRAY_BRUSH = 3,
  BLACK_BRUSH = 4,
  NULL_BRUSH = 5,
  HOLLOW_BRUSH = 5,
  WHITE_PEN = 6,
  BLACK_PEN = 7,
  NULL_PEN = 8,
  OEM_FIXED_FONT = 10,
  ANSI_FIXED_FONT = 11,
  ANSI_VAR_FONT = 12,
  SYSTEM_FONT = 13,
  DEFAULT_GUI_FONT = 17,
};
Pen GetStockPen(int id);      // BLACK_PEN for an unknown id
Brush GetStockBrush(int id);  // WHITE_BRUSH for an unknown id
Font GetStockFont(int id);    // DEFAULT_GUI_FONT for an unknown id

// ---- Clip regions ----
enum RegionType : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum RegionCombine : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// A set of pixels in device units: rectangles, ellipses and polygons and their combinations.
class Region {
 public:
  Region();  // empty
  static Region FromRect(const Rect& r);
  // The ellipse inscribed in the rectangle.
  static Region FromEllipse(const Rect& r);
  static Region FromPolygon(std::span<const Point> points);
  // Sets this region to a combined with b; returns the resulting RegionType.
  int Combine(const Region& a, const Region& b, int mode);
  bool Contains(Point p) const;
  Rect Bounds() const;
  bool IsEmpty() const;
  int Type() const;
  void Offset(int dx, int dy);
  bool operator==(const Region& o) const;

  struct Data;
  const std::shared_ptr<const Data>& data() const { return data_; }
  explicit Region(std::shared_ptr<const Data> d) : data_(std::move(d)) {}

 private:
  std::shared_ptr<const Data> data_;
};

// ---- Device-context codes ----
enum BkMode : int { TRANSPARENT = 1, OPAQUE = 2 };

enum Rop2 : int {
  R2_BLACK = 1,
  R2_NOTMERGEPEN = 2,
  R2_MASKNOTPEN = 3,
  R2_NOTCOPYPEN = 4,
  R2_MASKPENNOT = 5,
  R2_NOT = 6,
  R2_XORPEN = 7,
  R2_NOTMASKPEN = 8,
  R2_MASKPEN = 9,
  R2_NOTXORPEN = 10,
  R2_NOP = 11,
  R2_MERGENOTPEN = 12,
  R2_COPYPEN = 13,
  R2_MERGEPENNOT = 14,
  R2_MERGEPEN = 15,
  R2_WHITE = 16,
};

// Raster operations of the blits.
enum Rop3 : std::uint32_t {
  SRCCOPY = 0x00CC0020,
  SRCPAINT = 0x00EE0086,
  SRCAND = 0x008800C6,
  SRCINVERT = 0x00660046,
  NOTSRCCOPY = 0x00330008,
  DSTINVERT = 0x00550009,
  BLACKNESS = 0x00000042,
  WHITENESS = 0x00FF0062,
  PATCOPY = 0x00F00021,
  PATINVERT = 0x005A0049,
};

enum StretchMode : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

enum TextAlign : unsigned {
  TA_NOUPDATECP = 0,
  TA_UPDATECP = 1,
  TA_LEFT = 0,
  TA_RIGHT = 2,
  TA_CENTER = 6,
  TA_TOP = 0,
  TA_BOTTOM = 8,
  TA_BASELINE = 24,
};

enum DrawTextFormat : unsigned {
  DT_TOP = 0x0,
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_EXPANDTABS = 0x40,
  DT_NOCLIP = 0x100,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
  DT_END_ELLIPSIS = 0x8000,
};

enum DeviceCap : int {
  TECHNOLOGY = 2,
  HORZSIZE = 4,   // width in mm
  VERTSIZE = 6,   // height in mm
  HORZRES = 8,    // width in pixels
  VERTRES = 10,   // height in pixels
  BITSPIXEL = 12,
  PLANES = 14,
  NUMCOLORS = 24,
  RASTERCAPS = 38,
  LOGPIXELSX = 88,
  LOGPIXELSY = 90,
  SIZEPALETTE = 104,
  PHYSICALWIDTH = 110,
  PHYSICALHEIGHT = 111,
  PHYSICALOFFSETX = 112,
  PHYSICALOFFSETY = 113,
};
enum Technology : int { DT_RASDISPLAY = 1, DT_RASPRINTER = 2 };

// Edges of DrawEdge.
enum EdgeStyle : unsigned {
  BDR_RAISEDOUTER = 0x1,
  BDR_SUNKENOUTER = 0x2,
  BDR_RAISEDINNER = 0x4,
  BDR_SUNKENINNER = 0x8,
  EDGE_RAISED = 0x5,
  EDGE_SUNKEN = 0xA,
  EDGE_ETCHED = 0x6,
  EDGE_BUMP = 0x9,
};
enum EdgeFlags : unsigned { BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF };

// System colours the drawing code asks for by index.
enum SysColor : int {
  COLOR_WINDOW = 5,
  COLOR_WINDOWTEXT = 8,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
};
ColorRef GetSysColor(int index);

}  // namespace draw
