// In Japanese every text of the main window has its glyphs (no empty boxes), and the
// toolkit's own dialogs and buttons speak Japanese too; English gets the toolkit's own texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app_shell/app_fixture.h"
#include "app/frame/lyr_frame_bar.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"

namespace {

using JapaneseText = AppTest;

std::string Codes(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) out += " U+" + std::to_string(static_cast<unsigned>(c));
  return out;
}

TEST_F(JapaneseText, MenuBarAndBarsDrawEveryGlyph) {
  setenv("LANG", "ja_JP.UTF-8", 1);
  sys::ResetThreadLocaleForTesting();
  ASSERT_TRUE(Start());
  ASSERT_EQ(res::CurrentLanguage(), res::Language::Japanese);
  EXPECT_EQ(Frame().GetMenu()->ItemAt(0).text.substr(0, 6), "ファ") << "the Japanese menu";
  EXPECT_EQ(testhooks::MissingGlyphs(Frame()), U"") << Codes(testhooks::MissingGlyphs(Frame()));
  EXPECT_EQ(testhooks::MissingGlyphs(*Frame().EpochBar), U"");

  // The toolkit's standard buttons and file dialog read Japanese.
  EXPECT_NE(ui::TranslateToolkitText("QPlatformTheme", "&Yes"), "&Yes");
  EXPECT_NE(ui::TranslateToolkitText("QFileDialog", "Look in:"), "Look in:");
}

TEST_F(JapaneseText, EnglishKeepsTheToolkitsOwnTexts) {
  res::SetLanguage(res::Language::Japanese);
  ASSERT_TRUE(Start());
  ASSERT_EQ(res::CurrentLanguage(), res::Language::English);
  EXPECT_EQ(ui::TranslateToolkitText("QPlatformTheme", "&Yes"), "&Yes");
  EXPECT_EQ(testhooks::MissingGlyphs(Frame()), U"");
}

}  // namespace
