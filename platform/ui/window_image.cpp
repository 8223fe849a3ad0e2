#include "platform/ui/window_image.h"

#include <QImage>
#include <QWidget>

#include "platform/draw/dc_qt.h"
#include "platform/ui/qt_internal.h"
#include "platform/ui/window.h"

namespace ui {

draw::Image RenderWindowImage(const Window& window) {
  QWidget* widget = WidgetOf(&window);
  if (widget == nullptr || widget->size().isEmpty()) return {};
  QImage image(widget->size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  // Children that are shown paint themselves over their parent, native controls and bars
  // included.
  widget->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return draw::ImageFromQt(image, 32);
}

draw::Image RenderWindowBackground(const Window& window, const Rect& part) {
  QWidget* widget = WidgetOf(&window);
  if (widget == nullptr) return {};
  const QRect source = QRect(part.left, part.top, part.Width(), part.Height()).intersected(widget->rect());
  if (source.isEmpty()) return {};
  QImage image(source.size(), QImage::Format_RGB32);
  image.fill(widget->palette().color(widget->backgroundRole()));
  widget->render(&image, QPoint(), QRegion(source), QWidget::DrawWindowBackground);
  return draw::ImageFromQt(image, 32);
}

}  // namespace ui
