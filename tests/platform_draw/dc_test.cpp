// Pixel invariants of the device context drawing into memory images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "platform/draw/dc.h"

using namespace draw;

namespace {

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kRed = Rgb(255, 0, 0);

Image WhiteImage(int w, int h) {
  Image img(w, h, 32);
  img.Fill(kWhite);
  return img;
}

// A background where neighbouring pixels differ, so that a misplaced XOR shows.
Image PatternImage(int w, int h) {
  Image img(w, h, 32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.SetPixel(x, y, Rgb((x * 37) & 255, (y * 53) & 255, ((x + y) * 11) & 255));
  return img;
}

bool SameImage(const Image& a, const Image& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

int CountPixels(const Image& img, ColorRef c, const Rect& r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += img.GetPixel(x, y) == c;
  return n;
}

// Pixels that differ from the colour (text ink, smoothed edges included).
int CountOther(const Image& img, ColorRef c, const Rect& r) {
  return r.Width() * r.Height() - CountPixels(img, c, r);
}

}  // namespace

TEST(DcLines, LineCoversStartButNotEndPixel) {
  Image img = WhiteImage(40, 40);
  {
    Dc dc(img);
    dc.MoveTo(5, 10);
    dc.LineTo(25, 10);
    dc.MoveTo(30, 5);
    dc.LineTo(30, 35);
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{30, 35}));
  }
  for (int x = 5; x < 25; ++x) EXPECT_EQ(img.GetPixel(x, 10), kBlack) << "x=" << x;
  EXPECT_EQ(img.GetPixel(25, 10), kWhite) << "end pixel of a line is not drawn";
  EXPECT_EQ(img.GetPixel(4, 10), kWhite);
  for (int y = 5; y < 35; ++y) EXPECT_EQ(img.GetPixel(30, y), kBlack) << "y=" << y;
  EXPECT_EQ(img.GetPixel(30, 35), kWhite);
  EXPECT_EQ(CountPixels(img, kBlack, {0, 0, 40, 40}), 20 + 30) << "no stray pixels";
}

// A clip of two rectangles covering the whole image: drawing takes the toolkit's path.
void UseGeneralPath(Dc& dc, int w, int h) {
  Region all = Region::FromRect({0, 0, w / 2, h});
  all.Combine(all, Region::FromRect({w / 2, 0, w, h}), RGN_OR);
  all.Combine(all, Region::FromRect({0, 0, w, h - 1}), RGN_OR);
  dc.SelectClipRgn(&all);
}

// Lines go through a direct path on plain surfaces and through the toolkit otherwise
// (here forced by a clip made of two rectangles); both keep the same pixel rules.
TEST(DcLines, BothLinePathsCoverStartLeaveEndAndDrawOnePixelPerStep) {
  const Rect lines[] = {{3, 3, 40, 3},  {40, 4, 3, 4},   {5, 2, 5, 30},   {6, 30, 6, 2},  {2, 2, 30, 30},
                        {30, 2, 2, 30}, {2, 10, 45, 17}, {10, 2, 17, 33}, {44, 33, 1, 5}, {20, 20, 21, 31}};
  for (bool general : {false, true}) {
    for (const Rect& l : lines) {
      Image img = WhiteImage(48, 36);
      {
        Dc dc(img);
        if (general) UseGeneralPath(dc, 48, 36);
        dc.MoveTo(l.left, l.top);
        dc.LineTo(l.right, l.bottom);
      }
      const int steps = std::max(std::abs(l.right - l.left), std::abs(l.bottom - l.top));
      EXPECT_EQ(CountPixels(img, kBlack, {0, 0, 48, 36}), steps) << (general ? "general " : "direct ") << l.left
                                                                  << "," << l.top << "-" << l.right << "," << l.bottom;
      EXPECT_EQ(img.GetPixel(l.left, l.top), kBlack);
      EXPECT_EQ(img.GetPixel(l.right, l.bottom), kWhite);
    }
  }
}

TEST(DcLines, ClipRectangleCutsLinesAndFarCoordinatesAreSafe) {
  Image img = WhiteImage(40, 40);
  {
    Dc dc(img);
    dc.IntersectClipRect({10, 10, 30, 30});
    const Point zigzag[] = {{0, 0}, {39, 39}, {0, 39}, {39, 0}, {-100000000, 20}, {100000000, 21}};
    dc.Polyline(zigzag);
  }
  EXPECT_EQ(CountPixels(img, kBlack, {0, 0, 40, 10}) + CountPixels(img, kBlack, {0, 30, 40, 40}) +
                CountPixels(img, kBlack, {0, 10, 10, 30}) + CountPixels(img, kBlack, {30, 10, 40, 30}),
            0);
  EXPECT_EQ(img.GetPixel(15, 15), kBlack);
  EXPECT_GE(CountPixels(img, kBlack, {10, 20, 30, 22}), 20) << "the far line crosses the clip";
}

TEST(DcLines, PolylineDrawsEachPixelOnceSoXorTwiceRestores) {
  const Image original = PatternImage(64, 48);
  std::vector<Point> pts;
  for (int i = 0; i < 60; ++i) pts.push_back({2 + i, 24 + ((i * 7) % 19) - 9});
  for (bool general : {false, true}) {
    Image img = original;
    auto draw = [&] {
      Dc dc(img);
      if (general) UseGeneralPath(dc, 64, 48);
      dc.SelectPen(Pen{PS_SOLID, 1, Rgb(255, 255, 255)});
      dc.SetROP2(R2_XORPEN);
      dc.Polyline(pts);
      dc.Rectangle(5, 5, 30, 20);
    };
    draw();
    EXPECT_FALSE(SameImage(img, original));
    // A shared vertex and a rectangle corner are drawn once: they show the XOR colour.
    EXPECT_EQ(img.GetPixel(pts[1].x, pts[1].y), original.GetPixel(pts[1].x, pts[1].y) ^ 0xFFFFFF) << general;
    EXPECT_EQ(img.GetPixel(5, 5), original.GetPixel(5, 5) ^ 0xFFFFFF) << general;
    EXPECT_EQ(img.GetPixel(29, 19), original.GetPixel(29, 19) ^ 0xFFFFFF) << general;
    draw();
    EXPECT_TRUE(SameImage(img, original)) << "XOR drawing twice restores the image; general path " << general;
  }
}

// Many points per pixel column (a dense wave) set exactly the pixels their segments set one
// by one, on the fast path and through a clip, including runs of equal points.
TEST(DcLines, DenseColumnsMatchSegmentBySegment) {
  std::uint32_t seed = 7;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 40; ++round) {
    std::vector<Point> pts;
    int x = static_cast<int>(next() % 4);
    for (int i = 0; i < 300; ++i) {
      if (next() % 6 == 0) x += 1 + static_cast<int>(next() % 2);
      const int y = next() % 5 == 0 && !pts.empty() ? pts.back().y : static_cast<int>(next() % 40) - 5;
      pts.push_back({x, y});
    }
    const bool clipped = round % 2 == 1;
    Image merged = WhiteImage(140, 40), single = WhiteImage(140, 40);
    {
      Dc dc(merged);
      if (clipped) dc.IntersectClipRect({3, 4, 120, 30});
      dc.Polyline(pts);
    }
    {
      Dc dc(single);
      if (clipped) dc.IntersectClipRect({3, 4, 120, 30});
      for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        dc.MoveTo(pts[i].x, pts[i].y);
        dc.LineTo(pts[i + 1].x, pts[i + 1].y);
      }
    }
    EXPECT_TRUE(SameImage(merged, single)) << "round " << round;
  }
  // Three equal points draw nothing; a column walk leaves out only an end reached last.
  Image img = WhiteImage(10, 10);
  {
    Dc dc(img);
    const Point same[] = {{2, 2}, {2, 2}, {2, 2}};
    dc.Polyline(same);
    const Point walk[] = {{5, 3}, {5, 6}, {5, 4}, {5, 8}};
    dc.Polyline(walk);
  }
  EXPECT_EQ(img.GetPixel(2, 2), kWhite);
  EXPECT_EQ(CountPixels(img, kBlack, {5, 3, 6, 8}), 5);
  EXPECT_EQ(img.GetPixel(5, 8), kWhite);
}

// A wave walking the columns one at a time, either way, sets exactly the pixels of its
// segments drawn one by one: with long steps, runs of equal points, points beyond the
// image, a clip, a moved origin, and a step that breaks the walk part-way.
TEST(DcLines, ColumnWalksMatchSegmentBySegment) {
  std::uint32_t seed = 11;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 96; ++round) {
    const int dir = round % 2 == 0 ? 1 : -1;
    const bool clipped = round % 4 >= 2;
    const bool moved = round % 8 >= 4;
    const int breakAt = round % 3 == 0 ? static_cast<int>(next() % 200) : -1;
    std::vector<Point> pts;
    int x = dir > 0 ? static_cast<int>(next() % 6) - 3 : 140 + static_cast<int>(next() % 6);
    const int spread = round % 5 == 0 ? 90 : 20;
    for (int i = 0; i < 200; ++i) {
      if (i == breakAt) x += next() % 2 == 0 ? -dir : 2 * dir;
      if (next() % (1 + round % 7) == 0) x += dir;
      const int y = next() % 4 == 0 && !pts.empty() ? pts.back().y
                                                      : static_cast<int>(next() % spread) - spread / 2 + 20;
      pts.push_back({x, y});
    }
    Image walked = WhiteImage(140, 40), single = WhiteImage(140, 40);
    const auto prepare = [&](Dc& dc) {
      if (clipped) dc.IntersectClipRect({5, 3, 118, 33});
      if (moved) dc.SetViewportOrg({-4, 3});
    };
    {
      Dc dc(walked);
      prepare(dc);
      dc.Polyline(pts);
    }
    {
      Dc dc(single);
      prepare(dc);
      for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        dc.MoveTo(pts[i].x, pts[i].y);
        dc.LineTo(pts[i + 1].x, pts[i + 1].y);
      }
    }
    EXPECT_TRUE(SameImage(walked, single)) << "round " << round;
  }
}

// A step of one column (the usual wave segment) sets the pixels the general stepping sets:
// the general loop runs when the segment's box touches the clip's edge at its left-out end.
TEST(DcLines, OneColumnStepsMatchTheGeneralStepping) {
  for (int n = 1; n <= 13; ++n) {
    for (const int sx : {-1, 1}) {
      for (const int sy : {-1, 1}) {
        const Point from{10, sy > 0 ? 2 : 30};
        const Point to{from.x + sx, from.y + sy * n};
        Image direct = WhiteImage(24, 34), stepped = WhiteImage(24, 34);
        {
          Dc dc(direct);
          dc.MoveTo(from.x, from.y);
          dc.LineTo(to.x, to.y);
        }
        {
          Dc dc(stepped);
          dc.IntersectClipRect(sy > 0 ? Rect{0, 0, 24, to.y} : Rect{0, to.y + 1, 24, 34});
          dc.MoveTo(from.x, from.y);
          dc.LineTo(to.x, to.y);
        }
        EXPECT_TRUE(SameImage(direct, stepped)) << "n " << n << " sx " << sx << " sy " << sy;
        EXPECT_EQ(CountPixels(direct, kBlack, {0, 0, 24, 34}), n);
      }
    }
  }
}

TEST(DcLines, DottedPenGapsFollowBackgroundMode) {
  for (int mode : {OPAQUE, TRANSPARENT}) {
    Image img = WhiteImage(30, 5);
    {
      Dc dc(img);
      dc.SetBkMode(mode);
      dc.SetBkColor(Rgb(0, 255, 0));
      dc.SelectPen(Pen{PS_DOT, 1, kBlack});
      dc.MoveTo(0, 2);
      dc.LineTo(30, 2);
    }
    const ColorRef gap = mode == OPAQUE ? Rgb(0, 255, 0) : kWhite;
    for (int x = 0; x < 12; ++x) EXPECT_EQ(img.GetPixel(x, 2), (x / 3) % 2 == 0 ? kBlack : gap) << "x=" << x;
  }
}

TEST(DcLines, RasterOperationsTable) {
  struct Case {
    int rop;
    ColorRef pen;
    ColorRef background;
    ColorRef expected;
  };
  const Case cases[] = {
      {R2_COPYPEN, Rgb(10, 20, 30), kWhite, Rgb(10, 20, 30)},
      {R2_XORPEN, Rgb(255, 0, 0), Rgb(0, 128, 255), Rgb(255, 128, 255)},
      {R2_NOTXORPEN, Rgb(255, 0, 0), Rgb(0, 128, 255), Rgb(255, 128, 255) ^ 0xFFFFFF},
      {R2_NOT, Rgb(1, 2, 3), Rgb(0, 128, 255), Rgb(255, 127, 0)},
      {R2_BLACK, Rgb(1, 2, 3), kWhite, kBlack},
      {R2_NOP, Rgb(1, 2, 3), Rgb(9, 9, 9), Rgb(9, 9, 9)},
  };
  for (const Case& c : cases) {
    Image img(8, 8, 32);
    img.Fill(c.background);
    {
      Dc dc(img);
      dc.SelectPen(Pen{PS_SOLID, 1, c.pen});
      dc.SetROP2(c.rop);
      dc.MoveTo(0, 4);
      dc.LineTo(8, 4);
    }
    EXPECT_EQ(img.GetPixel(3, 4), c.expected) << "rop " << c.rop;
    EXPECT_EQ(img.GetPixel(3, 3), c.background) << "rop " << c.rop;
  }
}

TEST(DcShapes, RectangleOutlineAndFillStayInsideRightBottom) {
  Image img = WhiteImage(30, 30);
  {
    Dc dc(img);
    dc.SelectBrush(Brush::Solid(kRed));
    dc.Rectangle(5, 6, 15, 16);
  }
  EXPECT_EQ(img.GetPixel(5, 6), kBlack);
  EXPECT_EQ(img.GetPixel(14, 15), kBlack);
  EXPECT_EQ(img.GetPixel(15, 10), kWhite) << "right edge is exclusive";
  EXPECT_EQ(img.GetPixel(10, 16), kWhite) << "bottom edge is exclusive";
  EXPECT_EQ(CountPixels(img, kRed, {6, 7, 14, 15}), 8 * 8);
  EXPECT_EQ(CountPixels(img, kBlack, {0, 0, 30, 30}), 2 * 10 + 2 * 8);
}

TEST(DcShapes, EllipseAndPolygonStayInsideTheirBoundsAndFill) {
  Image img = WhiteImage(60, 40);
  {
    Dc dc(img);
    dc.SelectBrush(Brush::Solid(kRed));
    dc.Ellipse(4, 6, 24, 30);
    const Point triangle[] = {{30, 35}, {45, 5}, {58, 35}};
    dc.Polygon(triangle);
  }
  EXPECT_EQ(img.GetPixel(14, 18), kRed) << "ellipse filled";
  EXPECT_EQ(img.GetPixel(45, 25), kRed) << "polygon filled";
  EXPECT_EQ(img.GetPixel(4, 6), kWhite) << "ellipse corner";
  const Rect ellipseBox{4, 6, 24, 30};
  EXPECT_EQ(CountOther(img, kWhite, {0, 0, 60, 40}) - CountOther(img, kWhite, ellipseBox) -
                CountOther(img, kWhite, {30, 5, 59, 36}),
            0)
      << "nothing drawn outside the shapes' bounds";
  EXPECT_GT(CountPixels(img, kBlack, {4, 6, 5, 30}), 0) << "outline reaches the left edge";
  EXPECT_GT(CountPixels(img, kBlack, {23, 6, 24, 30}), 0) << "and right - 1";
}

TEST(DcShapes, OnePixelThinRectangleIsItsOutline) {
  Image img = WhiteImage(10, 10);
  {
    Dc dc(img);
    dc.Rectangle(2, 1, 3, 8);  // one column
    dc.Rectangle(4, 4, 9, 5);  // one row
  }
  EXPECT_EQ(CountPixels(img, kBlack, {2, 1, 3, 8}), 7);
  EXPECT_EQ(CountPixels(img, kBlack, {4, 4, 9, 5}), 5);
  EXPECT_EQ(CountPixels(img, kBlack, {0, 0, 10, 10}), 12);
}

TEST(DcShapes, FillRectAndNullBrush) {
  Image img = WhiteImage(20, 20);
  {
    Dc dc(img);
    dc.FillSolidRect(Rect{2, 3, 7, 9}, kRed);
    dc.SelectBrush(Brush::Null());
    dc.SelectPen(Pen{PS_SOLID, 1, Rgb(0, 0, 255)});
    dc.Rectangle(10, 10, 18, 18);
  }
  EXPECT_EQ(CountPixels(img, kRed, {0, 0, 20, 20}), 5 * 6);
  EXPECT_EQ(img.GetPixel(2, 3), kRed);
  EXPECT_EQ(img.GetPixel(7, 8), kWhite);
  EXPECT_EQ(img.GetPixel(13, 13), kWhite) << "null brush leaves the inside";
  EXPECT_EQ(img.GetPixel(10, 13), Rgb(0, 0, 255));
}

TEST(DcShapes, HatchBrushGapsFollowBackgroundMode) {
  for (int mode : {OPAQUE, TRANSPARENT}) {
    Image img = WhiteImage(16, 16);
    {
      Dc dc(img);
      dc.SetBkMode(mode);
      dc.SetBkColor(Rgb(0, 255, 0));
      dc.FillRect(Rect{0, 0, 16, 16}, Brush::Hatched(HS_CROSS, kRed));
    }
    const int red = CountPixels(img, kRed, {0, 0, 16, 16});
    const int green = CountPixels(img, Rgb(0, 255, 0), {0, 0, 16, 16});
    const int white = CountPixels(img, kWhite, {0, 0, 16, 16});
    EXPECT_GT(red, 0);
    EXPECT_LT(red, 256);
    if (mode == OPAQUE) {
      EXPECT_EQ(red + green, 256) << "opaque: gaps take the background colour";
    } else {
      EXPECT_EQ(red + white, 256) << "transparent: gaps keep what was there";
    }
  }
}

TEST(DcClip, EllipticClipLeavesCornersUntouched) {
  Image img = WhiteImage(40, 30);
  {
    Dc dc(img);
    const Region ellipse = Region::FromEllipse({0, 0, 40, 30});
    dc.SelectClipRgn(&ellipse);
    EXPECT_TRUE(dc.HasClipRegion());
    dc.FillSolidRect(Rect{0, 0, 40, 30}, kRed);
    dc.SelectClipRgn(nullptr);
    EXPECT_FALSE(dc.HasClipRegion());
    dc.SetPixel(39, 29, kBlack);
  }
  EXPECT_EQ(img.GetPixel(20, 15), kRed);
  for (Point p : {Point{0, 0}, Point{39, 0}, Point{0, 29}, Point{1, 1}})
    EXPECT_EQ(img.GetPixel(p.x, p.y), kWhite) << p.x << "," << p.y;
  EXPECT_EQ(img.GetPixel(39, 29), kBlack) << "clip removed";
}

TEST(DcClip, IntersectSaveAndRestore) {
  Image img = WhiteImage(20, 20);
  {
    Dc dc(img);
    const int level = dc.SaveDC();
    dc.SelectPen(Pen{PS_SOLID, 1, kRed});
    dc.IntersectClipRect({5, 5, 10, 10});
    Rect box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, (Rect{5, 5, 10, 10}));
    dc.FillSolidRect(Rect{0, 0, 20, 20}, Rgb(0, 0, 255));
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_FALSE(dc.HasClipRegion());
    EXPECT_EQ(dc.GetCurrentPen().color, kBlack);
    EXPECT_FALSE(dc.RestoreDC(-1)) << "nothing left to restore";
  }
  EXPECT_EQ(CountPixels(img, Rgb(0, 0, 255), {0, 0, 20, 20}), 25);
}

TEST(DcCoordinates, ViewportOriginMovesDrawingNotClip) {
  Image img = WhiteImage(20, 20);
  {
    Dc dc(img);
    const Region clip = Region::FromRect({0, 0, 12, 20});
    dc.SelectClipRgn(&clip);
    dc.SetViewportOrg(5, 5);
    dc.FillSolidRect(Rect{0, 0, 10, 2}, kRed);  // device x 5..14, clipped at 12
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);
  }
  EXPECT_EQ(img.GetPixel(5, 5), kRed);
  EXPECT_EQ(img.GetPixel(11, 6), kRed);
  EXPECT_EQ(img.GetPixel(12, 5), kWhite);
  EXPECT_EQ(img.GetPixel(4, 5), kWhite);
}

TEST(DcText, ExtentAlignmentAndBackground) {
  Image img = WhiteImage(200, 60);
  Dc dc(img);
  LogFont lf;
  lf.height = -16;
  dc.SelectFont(Font(lf));
  const Size ext = dc.GetTextExtent("Fp1 50uV");
  EXPECT_GT(ext.cx, 20);
  EXPECT_GE(ext.cy, 14);
  EXPECT_EQ(dc.GetTextExtent("").cx, 0);
  const TextMetric tm = dc.GetTextMetrics();
  EXPECT_EQ(tm.height, tm.ascent + tm.descent);
  EXPECT_GT(dc.GetTextExtent("MMMM").cx, dc.GetTextExtent("MM").cx);

  // Opaque: the whole text cell takes the background colour.
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(Rgb(0, 255, 0));
  dc.SetTextColor(kRed);
  dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
  dc.TextOut(190, 50, "Fp1 50uV");
  EXPECT_EQ(dc.GetPixel(190 - ext.cx, 50 - ext.cy), Rgb(0, 255, 0));
  EXPECT_EQ(dc.GetPixel(190, 49), kWhite) << "right alignment ends before x";
  EXPECT_GT(CountOther(img, Rgb(0, 255, 0), {190 - ext.cx, 50 - ext.cy, 190, 50}), 20);
  EXPECT_EQ(CountOther(img, kWhite, {0, 0, 190 - ext.cx, 60}), 0);

  // Transparent: only glyph pixels change.
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.TextOut(5, 5, "Wake");
  EXPECT_EQ(CountPixels(img, Rgb(0, 255, 0), {0, 0, 100, 30}), 0);
  const Rect wake{5, 5, 5 + dc.GetTextExtent("Wake").cx, 5 + ext.cy};
  EXPECT_GT(CountPixels(img, kWhite, wake), 0) << "the background shows between the glyphs";
  EXPECT_GT(CountOther(img, kWhite, wake), 20) << "ink was drawn";
}

TEST(DcText, FontHeightsFollowTheRecord) {
  Image img = WhiteImage(10, 10);
  Dc dc(img);
  struct Case {
    int height;
    int cellLow;
    int cellHigh;
  };
  // Negative: character height (the cell is at least that); positive: the cell height.
  const Case cases[] = {{-12, 12, 18}, {-40, 40, 56}, {20, 19, 21}, {48, 47, 49}};
  for (const Case& c : cases) {
    LogFont lf;
    lf.height = c.height;
    dc.SelectFont(Font(lf));
    const TextMetric tm = dc.GetTextMetrics();
    EXPECT_GE(tm.height, c.cellLow) << "height " << c.height;
    EXPECT_LE(tm.height, c.cellHigh) << "height " << c.height;
  }
  LogFont bold;
  bold.height = -20;
  bold.weight = FW_BOLD;
  bold.SetFaceName("DejaVu Sans");
  dc.SelectFont(Font(bold));
  EXPECT_EQ(dc.GetTextMetrics().weight, FW_BOLD);
  EXPECT_GT(dc.GetTextExtent("睡眠段階").cx, 0) << "Japanese text is measured";
}

TEST(DcShapes, FocusRectangleInvertsAndDrawnTwiceDisappears) {
  const Image original = PatternImage(20, 20);
  Image img = original;
  Dc dc(img);
  dc.DrawFocusRect({2, 3, 12, 9});
  EXPECT_EQ(img.GetPixel(2, 3), original.GetPixel(2, 3) ^ 0xFFFFFF);
  EXPECT_EQ(img.GetPixel(3, 3), original.GetPixel(3, 3)) << "dotted";
  EXPECT_EQ(img.GetPixel(6, 6), original.GetPixel(6, 6)) << "inside untouched";
  dc.DrawFocusRect({2, 3, 12, 9});
  EXPECT_TRUE(SameImage(img, original));
}

TEST(DcText, DrawTextCentresAndMeasures) {
  Image img = WhiteImage(120, 40);
  Dc dc(img);
  dc.SetBkMode(TRANSPARENT);
  Rect calc{0, 0, 0, 0};
  const int h = dc.DrawText("Stage 2", &calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_GT(calc.right, 0);
  EXPECT_EQ(calc.bottom, h);
  // Word breaks inside a narrow rectangle give several lines; the width stays.
  Rect narrow{0, 0, 60, 0};
  const int wrapped = dc.DrawText("Sleep stage scoring of the whole night", &narrow, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_GE(wrapped, 3 * h);
  EXPECT_LE(narrow.right, 60);
  // A prefix character is hidden unless asked to keep it.
  Rect prefixed{0, 0, 0, 0};
  Rect plain{0, 0, 0, 0};
  dc.DrawText("&Open", &prefixed, DT_SINGLELINE | DT_CALCRECT);
  dc.DrawText("&Open", &plain, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_LT(prefixed.right, plain.right);
  Rect box{0, 0, 120, 40};
  dc.DrawText("Stage 2", &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  const int w = calc.right;
  // The text lies in the middle: nothing left of its centred start or right of its end.
  EXPECT_EQ(CountOther(img, kWhite, {0, 0, (120 - w) / 2 - 1, 40}), 0);
  EXPECT_EQ(CountOther(img, kWhite, {(120 + w) / 2 + 2, 0, 120, 40}), 0);
  EXPECT_GT(CountOther(img, kWhite, {0, 0, 120, 40}), 20);
}

TEST(DcText, EscapementRotatesText) {
  Image img = WhiteImage(60, 120);
  Dc dc(img);
  LogFont lf;
  lf.height = -14;
  lf.escapement = 2700;  // running downwards
  dc.SelectFont(Font(lf));
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(30, 10, "MMMMMM");
  Rect ink{1000, 1000, -1, -1};
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 60; ++x)
      if (img.GetPixel(x, y) != kWhite) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left)) << "vertical text is taller than wide";
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.right, 30) << "the ascent lies to the left of the start when running downwards";
}

TEST(DcBlit, BitBltAndStretchBltFromMemoryContext) {
  Image source = PatternImage(10, 10);
  Image target = WhiteImage(40, 40);
  Dc src(source);
  Dc dst(target);
  EXPECT_TRUE(dst.BitBlt(1, 2, 10, 10, &src, 0, 0, SRCCOPY));
  EXPECT_EQ(target.GetPixel(1, 2), source.GetPixel(0, 0));
  EXPECT_EQ(target.GetPixel(10, 11), source.GetPixel(9, 9));
  EXPECT_EQ(target.GetPixel(11, 2), kWhite);
  EXPECT_TRUE(dst.StretchBlt(20, 20, 20, 20, &src, 0, 0, 10, 10, SRCCOPY));
  EXPECT_EQ(target.GetPixel(20, 20), source.GetPixel(0, 0));
  EXPECT_EQ(target.GetPixel(39, 39), source.GetPixel(9, 9));
  EXPECT_EQ(target.GetPixel(27, 23), source.GetPixel(3, 1));
  // SRCINVERT twice restores.
  const Image before = target;
  dst.BitBlt(0, 0, 10, 10, &src, 0, 0, SRCINVERT);
  EXPECT_NE(target.GetPixel(5, 5), before.GetPixel(5, 5));
  dst.BitBlt(0, 0, 10, 10, &src, 0, 0, SRCINVERT);
  EXPECT_TRUE(SameImage(target, before));
}

TEST(DcBlit, MemoryContextSelectsBitmapsAndPaletteImagesKeepTheirPalette) {
  auto mem = Dc::CreateCompatibleDC(nullptr);
  EXPECT_EQ(mem->GetSelectedBitmap(), nullptr);
  EXPECT_FALSE(mem->LineTo(3, 3)) << "nothing selected: nothing drawn";
  Image indexed(8, 8, 8);
  const std::vector<ColorRef> palette = {kBlack, kRed, Rgb(0, 0, 255), kRed};
  indexed.SetPalette(palette);
  indexed.SetPixelIndex(7, 7, 3);  // a colour the palette holds twice
  EXPECT_EQ(mem->SelectBitmap(&indexed), nullptr);
  mem->FillSolidRect(Rect{0, 0, 4, 8}, Rgb(250, 10, 10));
  mem->SelectPalette(palette);
  mem->SetPixel(5, 5, PaletteIndex(2));  // a colour named by its palette entry
  EXPECT_EQ(mem->SelectBitmap(nullptr), &indexed);
  EXPECT_EQ(indexed.BitsPerPixel(), 8);
  EXPECT_EQ(indexed.GetPixelIndex(1, 1), 1) << "nearest palette entry";
  EXPECT_EQ(indexed.GetPixelIndex(6, 1), 0);
  EXPECT_EQ(indexed.GetPixelIndex(7, 7), 3) << "pixels not drawn keep their index";
  EXPECT_EQ(indexed.GetPixelIndex(5, 5), 2);
}

TEST(DcBlit, ImageLifetimeWhileSelected) {
  auto img = std::make_unique<Image>(WhiteImage(8, 8));
  Dc dc(*img);
  Image moved = std::move(*img);  // the pixels move with their context
  dc.SetPixel(1, 1, kRed);
  EXPECT_EQ(moved.GetPixel(1, 1), kRed);
  {
    Image gone = std::move(moved);
    Dc other(gone);  // takes the image from the first context
    EXPECT_EQ(dc.GetSelectedBitmap(), nullptr);
    other.SetPixel(2, 2, kRed);
    EXPECT_EQ(gone.GetPixel(2, 2), kRed);
  }
  EXPECT_FALSE(dc.LineTo(5, 5)) << "the first context lost its image";
  // An image destroyed while selected: the context draws nothing and touches no freed memory.
  std::unique_ptr<Dc> late;
  {
    Image temp = WhiteImage(4, 4);
    late = std::make_unique<Dc>(temp);
  }
  EXPECT_FALSE(late->LineTo(3, 3));
  EXPECT_EQ(late->GetPixel(1, 1), CLR_INVALID);
}

TEST(DcBlit, StretchDIBitsReadsBottomUpRows) {
  // 2 x 2 at 24 bits: rows of 6 bytes padded to 8, bottom row first (blue, green, red).
  const std::vector<std::uint8_t> rows = {0, 0, 255, 0, 255, 0, 0, 0,    // bottom: red, green
                                          255, 0, 0, 0, 0, 0, 0, 0};   // top: blue, black
  Image img = WhiteImage(8, 8);
  Dc dc(img);
  EXPECT_EQ(dc.StretchDIBits({0, 0, 4, 4}, {0, 0, 2, 2}, 2, 2, 24, {}, rows), 2);
  EXPECT_EQ(img.GetPixel(0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(img.GetPixel(3, 1), kBlack);
  EXPECT_EQ(img.GetPixel(1, 3), kRed);
  EXPECT_EQ(img.GetPixel(3, 3), Rgb(0, 255, 0));
  EXPECT_EQ(img.GetPixel(4, 4), kWhite);
  EXPECT_EQ(dc.StretchDIBits({0, 0, 4, 4}, {0, 0, 2, 2}, 2, 2, 24, {}, std::span(rows).first(10)), 0)
      << "rows shorter than the header says";
}

TEST(DcDevice, CapsOfScreenOverride) {
  const ScreenMetrics fixed{1280, 1024, 376, 301, 96, 96};
  OverrideScreenMetrics(&fixed);
  Image img(4, 4, 32);
  Dc dc(img);
  EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 1280);
  EXPECT_EQ(dc.GetDeviceCaps(VERTSIZE), 301);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
  EXPECT_FALSE(dc.IsPrinting());
  OverrideScreenMetrics(nullptr);
}

// A capture into a kept image gives what a fresh capture gives, whatever the kept image held
// (another size, or null), and a part of the surface as well as the whole.
TEST(DcCapture, IntoAKeptImageEqualsAFreshCapture) {
  Image surface = PatternImage(40, 30);
  Dc dc(surface);
  dc.FillSolidRect(Rect{5, 5, 20, 12}, kRed);
  Image kept(40, 30, 32);
  Image wrongSize(7, 7, 32);
  Image none;
  for (const Rect& r : {Rect{0, 0, 40, 30}, Rect{3, 4, 25, 20}}) {
    const Image fresh = dc.CaptureImage(r);
    for (Image* into : {&kept, &wrongSize, &none}) {
      dc.CaptureImageInto(r, *into);
      EXPECT_TRUE(SameImage(*into, fresh)) << r.left;
      EXPECT_EQ(into->BitsPerPixel(), 32);
    }
  }
  // The kept copy does not follow later drawing.
  dc.CaptureImageInto(Rect{0, 0, 40, 30}, kept);
  dc.FillSolidRect(Rect{0, 0, 40, 30}, kBlack);
  EXPECT_EQ(kept.GetPixel(10, 8), kRed);
}
