#include "platform/draw/clipboard_image.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "platform/draw/dc_qt.h"

namespace draw {

bool SetClipboardImage(const Image& image) {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr || image.IsNull()) return false;
  QGuiApplication::clipboard()->setImage(QtImage(image));
  return true;
}

Image GetClipboardImage() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return {};
  QImage img = QGuiApplication::clipboard()->image();
  if (img.isNull()) return {};
  return ImageFromQt(img, 24);
}

}  // namespace draw
