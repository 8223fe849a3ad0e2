// Window back buffers: window contexts over an image the size of the client area.
#include "platform/draw/window_surface_qt.h"

#include <QPainter>
#include <QWidget>

#include "platform/draw/dc_qt.h"

namespace draw {

WindowSurface::WindowSurface(QWidget* widget) : widget_(widget) {}

void WindowSurface::Fit() {
  if (widget_.isNull()) return;
  const int w = std::max(1, widget_->width());
  const int h = std::max(1, widget_->height());
  if (!image_.IsNull() && image_.Width() == w && image_.Height() == h) return;
  Image next(w, h, 32);
  next.Fill(background_);
  if (!image_.IsNull()) {
    Dc copy(next);
    copy.DrawImage({0, 0, image_.Width(), image_.Height()}, image_, {0, 0, image_.Width(), image_.Height()});
  }
  image_ = std::move(next);
}

std::unique_ptr<Dc> WindowSurface::GetDc() {
  Fit();
  if (widget_.isNull()) return Dc::CreateCompatibleDC(nullptr);  // draws nothing
  auto dc = std::make_unique<Dc>(image_);
  DeviceInfo info = ScreenDeviceInfo();
  info.kind = DcKind::Window;
  SetDeviceInfo(*dc, info);
  QPointer<QWidget> widget = widget_;
  SetReleaseHandler(*dc, [widget] {
    if (!widget.isNull()) widget->update();
  });
  return dc;
}

void WindowSurface::Present(QPainter& painter, const QRect& dirty) const {
  if (image_.IsNull()) return;
  const QRect area = dirty.intersected(QRect(0, 0, image_.Width(), image_.Height()));
  if (area.isEmpty()) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(area.topLeft(), QtImage(image_), area);
}

}  // namespace draw
