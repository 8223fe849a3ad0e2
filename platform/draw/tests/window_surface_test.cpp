// Window back buffers: drawing outside the paint event, resizing, presenting.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <memory>

#include "platform/draw/dc_qt.h"
#include "platform/draw/window_surface_qt.h"

using namespace draw;

TEST(WindowSurface, DrawsOutsidePaintKeepsContentOnResizeAndPresents) {
  EnsureQtApp();
  auto widget = std::make_unique<QWidget>();
  widget->resize(40, 30);
  WindowSurface surface(widget.get());
  surface.SetBackground(Rgb(0, 0, 255));
  {
    auto dc = surface.GetDc();
    EXPECT_EQ(dc->Kind(), DcKind::Window);
    dc->FillSolidRect(Rect{0, 0, 40, 30}, Rgb(255, 255, 255));
    dc->FillSolidRect(Rect{2, 2, 6, 6}, Rgb(255, 0, 0));
  }
  {
    // A cursor line drawn with XOR is read back and removed by drawing it again.
    auto dc = surface.GetDc();
    dc->SetROP2(R2_XORPEN);
    dc->SelectPen(Pen{PS_SOLID, 1, Rgb(255, 255, 0)});
    dc->MoveTo(20, 0);
    dc->LineTo(20, 30);
    EXPECT_EQ(dc->GetPixel(20, 10), Rgb(0, 0, 255));
    dc->MoveTo(20, 0);
    dc->LineTo(20, 30);
    EXPECT_EQ(dc->GetPixel(20, 10), Rgb(255, 255, 255));
  }
  widget->resize(60, 30);
  {
    auto dc = surface.GetDc();
    EXPECT_EQ(dc->GetPixel(3, 3), Rgb(255, 0, 0)) << "content kept";
    EXPECT_EQ(dc->GetPixel(50, 3), Rgb(0, 0, 255)) << "new area in the background colour";
  }
  QImage shown(60, 30, QImage::Format_RGB32);
  shown.fill(Qt::black);
  {
    QPainter painter(&shown);
    surface.Present(painter, QRect(0, 0, 30, 30));
  }
  EXPECT_EQ(FromQRgb(shown.pixel(3, 3)), Rgb(255, 0, 0));
  EXPECT_EQ(FromQRgb(shown.pixel(50, 3)), Rgb(0, 0, 0)) << "only the dirty area is copied";

  // After the widget is gone new contexts draw nothing; one kept is released safely.
  auto kept = surface.GetDc();
  widget.reset();
  EXPECT_FALSE(surface.GetDc()->LineTo(5, 5));
}
