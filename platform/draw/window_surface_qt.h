#pragma once
// Back buffer of a window, for the platform layer's window code: everything drawn on the
// window, in its paint handler or at any other time (XOR cursors, rubber bands), goes into
// an image of the client area's size, which the paint event then copies to the screen.
// Drawing outside the paint event works as on a window's own device context, pixels can
// be read back, and blits and captures from the window read the image.
#include <QPointer>
#include <QRect>
#include <memory>

#include "platform/draw/dc.h"
#include "platform/draw/image.h"

class QPainter;
class QWidget;

namespace draw {

class WindowSurface {
 public:
  // The widget is watched, not owned; after it is gone the surface draws nothing.
  explicit WindowSurface(QWidget* widget);

  // A window context over the back buffer, sized to the widget's client area first (what
  // was drawn stays at the top left; new area is filled with background). Releasing the
  // context asks the widget to repaint. Several contexts in turn are fine; at one time,
  // the latest one draws.
  std::unique_ptr<Dc> GetDc();
  // Copies the back buffer into the widget (from its paint event).
  void Present(QPainter& painter, const QRect& dirty) const;
  // The background of newly uncovered area (0x00BBGGRR).
  void SetBackground(ColorRef color) { background_ = color; }
  Image& image() { return image_; }

 private:
  void Fit();

  QPointer<QWidget> widget_;
  Image image_;
  ColorRef background_ = 0xFFFFFF;
};

}  // namespace draw
