#include "platform/draw/font_families.h"

#include <QFontDatabase>
#include <QStringList>

namespace draw {

std::vector<FontFamily> ScreenFontFamilies() {
  std::vector<FontFamily> out;
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  for (const QString& family : QFontDatabase::families())
    out.push_back({family.toStdString(), japanese.contains(family)});
  return out;
}

}  // namespace draw
