// Clipboard copy of a captured 24-bit surface, read back from the clipboard.
#include <gtest/gtest.h>

#include "common/draw/fyn_bitmap.h"
#include "platform/draw/clipboard_image.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/ui/app.h"

namespace {

TEST(ClipboardCopy, A24BitSurfaceComesBackFromTheClipboardPixelForPixel) {
  ui::EnsureToolkit();
  draw::Image surface(100, 10, 24);
  draw::Dc dc(surface);
  dc.FillSolidRect(draw::Rect{0, 0, 100, 10}, draw::Rgb(255, 255, 255));
  dc.FillSolidRect(draw::Rect{0, 0, 50, 5}, draw::Rgb(200, 30, 40));
  dc.FillSolidRect(draw::Rect{50, 5, 100, 10}, draw::Rgb(10, 120, 250));
  FynClipboardCpoy copy(&dc, draw::Rect{0, 0, 100, 10}, nullptr);
  ASSERT_EQ(copy.InitTransaction(), 1);
  ASSERT_EQ(copy.WriteClipboard(), 1);

  const draw::Image back = draw::GetClipboardImage();
  ASSERT_FALSE(back.IsNull());
  EXPECT_EQ(back.Width(), 100);
  EXPECT_EQ(back.Height(), 10);
  struct Probe { int x, y; draw::ColorRef colour; };
  for (const Probe& p : {Probe{0, 0, draw::Rgb(200, 30, 40)}, Probe{49, 4, draw::Rgb(200, 30, 40)},
                         Probe{50, 4, draw::Rgb(255, 255, 255)}, Probe{99, 9, draw::Rgb(10, 120, 250)},
                         Probe{10, 9, draw::Rgb(255, 255, 255)}})
    EXPECT_EQ(back.GetPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
