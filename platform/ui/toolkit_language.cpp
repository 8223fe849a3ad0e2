// The toolkit's own side of the user interface language: in Japanese, a font that has the
// Japanese glyphs and the toolkit's translations of its standard dialogs and buttons.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/res/resource_store.h"
#include "platform/ui/app.h"

namespace ui {
namespace {

QTranslator* g_translator = nullptr;
QStringList g_defaultFamilies;
bool g_savedDefault = false;

// The Japanese font: the proportional IPA Gothic, else any font of the system that writes
// Japanese; empty when there is none.
QString JapaneseFamily() {
  const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
  for (const char* preferred : {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Noto Sans JP"})
    if (families.contains(QLatin1String(preferred))) return QLatin1String(preferred);
  return families.isEmpty() ? QString() : families.front();
}

}  // namespace

void ApplyToolkitLanguage(res::Language language) {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr) return;
  QFont font = QApplication::font();
  if (!g_savedDefault) {
    g_defaultFamilies = font.families().isEmpty() ? QStringList{font.family()} : font.families();
    g_savedDefault = true;
  }
  if (language == res::Language::Japanese) {
    if (g_translator == nullptr) {
      auto* t = new QTranslator(app);
      if (t->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(t);
        g_translator = t;
      } else {
        delete t;
      }
    }
    QStringList families = g_defaultFamilies;
    if (const QString ja = JapaneseFamily(); !ja.isEmpty()) families.prepend(ja);
    font.setFamilies(families);
  } else {
    if (g_translator != nullptr) {
      QApplication::removeTranslator(g_translator);
      delete g_translator;
      g_translator = nullptr;
    }
    font.setFamilies(g_defaultFamilies);
  }
  if (font != QApplication::font()) QApplication::setFont(font);
}

std::string TranslateToolkitText(const char* context, const char* text) {
  return QCoreApplication::translate(context, text).toStdString();
}

}  // namespace ui
