// Solid fills and single pixels on memory images: whatever the viewport origin and clip,
// the pixels changed are exactly the rectangle's, inside the clip and the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/draw/dc.h"

using namespace draw;

namespace {

constexpr int kW = 40, kH = 30;
constexpr ColorRef kWhite = Rgb(255, 255, 255);

// The expected picture: a pixel per device position, filled where a rectangle (device
// units) meets the allowed area.
struct Model {
  std::vector<ColorRef> px = std::vector<ColorRef>(kW * kH, kWhite);
  void Fill(Rect r, const std::vector<Rect>& allowed, ColorRef c) {
    r.Normalize();
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, kH); ++y)
      for (int x = std::max(r.left, 0); x < std::min(r.right, kW); ++x)
        if (std::any_of(allowed.begin(), allowed.end(), [&](const Rect& a) { return a.PtInRect(Point{x, y}); }))
          px[static_cast<std::size_t>(y * kW + x)] = c;
  }
};

struct Case {
  const char* name;
  Point origin;
  std::vector<Rect> clip;  // device units; empty: no clip
};

TEST(SolidFill, ChangesExactlyTheClippedRectangleAtTheOrigin) {
  const std::vector<Case> cases = {
      {"plain", {0, 0}, {}},
      {"origin", {3, -2}, {}},
      {"clip", {0, 0}, {{5, 4, 30, 20}}},
      {"origin and clip", {-4, 6}, {{2, 3, 25, 28}}},
      // Two rectangles: the toolkit's path, which must give the same picture.
      {"two-part clip", {2, 1}, {{0, 0, 12, 30}, {20, 0, 40, 30}}},
  };
  struct Fill {
    Rect r;
    ColorRef c;
  };
  const std::vector<Fill> fills = {
      {{1, 1, 10, 8}, Rgb(255, 0, 0)},       // inside
      {{-5, -5, 6, 4}, Rgb(0, 128, 0)},      // over the top-left corner
      {{30, 20, 60, 50}, Rgb(0, 0, 255)},    // over the bottom-right corner
      {{18, 12, 8, 6}, Rgb(10, 20, 30)},     // given right to left, bottom to top
      {{7, 7, 7, 15}, Rgb(1, 2, 3)},         // empty
      {{100, 100, 120, 120}, Rgb(9, 9, 9)},  // outside the image
      {{12, 0, 13, 30}, Rgb(200, 100, 0)},   // one pixel wide
  };
  for (const Case& k : cases) {
    Image img(kW, kH, 32);
    img.Fill(kWhite);
    Dc dc(img);
    dc.SetViewportOrg(k.origin);
    std::vector<Rect> allowed = k.clip;
    if (!k.clip.empty()) {
      // The clip region is given in device units.
      Region region = Region::FromRect(k.clip[0]);
      for (std::size_t i = 1; i < k.clip.size(); ++i) {
        Region both;
        both.Combine(region, Region::FromRect(k.clip[i]), RGN_OR);
        region = both;
      }
      dc.SelectClipRgn(region);
    } else {
      allowed.push_back(Rect{0, 0, kW, kH});
    }
    Model model;
    for (const Fill& f : fills) {
      dc.FillSolidRect(f.r, f.c);
      Rect device = f.r;
      device.Offset(k.origin.x, k.origin.y);
      model.Fill(device, allowed, f.c);
    }
    dc.SetPixel(20, 15, Rgb(77, 66, 55));
    model.Fill(Rect{20 + k.origin.x, 15 + k.origin.y, 21 + k.origin.x, 16 + k.origin.y}, allowed, Rgb(77, 66, 55));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(img.GetPixel(x, y), model.px[static_cast<std::size_t>(y * kW + x)])
            << k.name << " at " << x << "," << y;
  }
}

}  // namespace
