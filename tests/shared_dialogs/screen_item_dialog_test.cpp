// Screen Item: the item list and what each item lets the user change, the working copies
// that only OK writes back, the stage slider's live preview, All reset and the font list.
#include <string>

#include "app/frame/display_fonts.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_raw_dlg_screen_item.h"
#include "dialog_fixture.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

namespace {

using S = LyrRawDlgScreenItem;

class ScreenItemDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    savedColours_ = DisplayColors;
    savedFonts_ = DisplayFonts;
    savedWidth_ = MarkLineWidth;
    savedStage_ = StagePosition;
    InitScreenItemFonts();
    DisplayColors[6] = 0x00665A4B;
    DisplayColors[7] = 0x000FC814;
    DisplayColors[8] = 0x00C81C69;
    MarkLineWidth = 12;
  }
  void TearDown() override {
    DisplayColors = savedColours_;
    DisplayFonts = savedFonts_;
    MarkLineWidth = savedWidth_;
    StagePosition = savedStage_;
    DialogTest::TearDown();
  }
  int Run(std::function<void(S&)> script) {
    testhooks::ScriptDialog(IDD_SCREEN_ITEM, [&](ui::Dialog& d) { script(static_cast<S&>(d)); });
    S dlg;
    return dlg.DoModal();
  }
  static void SelectRow(S& d, int row) {
    d.Item(S::kItemList).SetCurSel(row);
    d.OnItemSelected();
  }

 private:
  std::array<std::uint32_t, 9> savedColours_{};
  std::array<draw::LogFont, kDisplayFontCount> savedFonts_{};
  std::uint32_t savedWidth_ = 0;
  std::int16_t savedStage_ = 0;
};

TEST_F(ScreenItemDialogTest, OpeningFillsTheListsAndEachItemEnablesWhatItUses) {
  StagePosition = -20;
  Run([](S& d) {
    ui::Control items = d.Item(S::kItemList);
    ASSERT_EQ(items.GetCount(), 15);
    EXPECT_EQ(items.GetString(0), "Back ground color");
    EXPECT_EQ(items.GetString(10), "Show value");
    EXPECT_EQ(items.GetString(14), "Logic lower line color on Trend graph");
    ui::Control sizes = d.Item(S::kSizeCombo);
    ASSERT_EQ(sizes.GetCount(), 16);
    EXPECT_EQ(sizes.GetString(0), "8");
    EXPECT_EQ(sizes.GetString(15), "72");
    EXPECT_FALSE(sizes.IsEnabled());
    EXPECT_FALSE(d.Item(S::kFontCombo).IsEnabled());
    EXPECT_EQ(d.Item(S::kStageSlider).GetPos(), 30);

    struct Case {
      int row;
      bool colour;
      bool font;
    };
    for (const Case& c : {Case{S::kBackground, true, false}, Case{S::kLogicUpper, true, false},
                          Case{S::kGrid, true, true}, Case{S::kMarkName, true, true},
                          Case{S::kChannelNumber, false, true}, Case{S::kShowValue, false, true}}) {
      SCOPED_TRACE(c.row);
      SelectRow(d, c.row);
      EXPECT_FALSE(testhooks::RenderWindow(d).IsNull());  // the sample draws
      EXPECT_EQ(d.Item(S::kColorButton).IsEnabled(), c.colour);
      for (int id : {S::kFontCombo, S::kSizeCombo, S::kBoldCheck, S::kItalicCheck, S::kUnderlineCheck})
        EXPECT_EQ(d.Item(id).IsEnabled(), c.font) << id;
    }
    // The channel name font: bold at 20.
    SelectRow(d, S::kChannelName);
    EXPECT_EQ(d.IsDlgButtonChecked(S::kBoldCheck), 1);
    EXPECT_EQ(sizes.GetString(sizes.GetCurSel()), "20");
    // The stage in artifact font: underlined at 48.
    SelectRow(d, S::kStageInArtifact);
    EXPECT_EQ(d.IsDlgButtonChecked(S::kUnderlineCheck), 1);
    EXPECT_EQ(d.IsDlgButtonChecked(S::kBoldCheck), 0);
    EXPECT_EQ(sizes.GetString(sizes.GetCurSel()), "48");
    // The mark line width offers the five width names.
    SelectRow(d, S::kMarkLineWidth);
    ASSERT_EQ(sizes.GetCount(), 5);
    EXPECT_EQ(sizes.GetString(2), "Normal");
    EXPECT_EQ(sizes.GetCurSel(), 1);  // 12: Fine
    EXPECT_TRUE(sizes.IsEnabled());
    EXPECT_FALSE(d.Item(S::kFontCombo).IsEnabled());
    EXPECT_FALSE(d.Item(S::kColorButton).IsEnabled());
    EXPECT_FALSE(testhooks::RenderWindow(d).IsNull());
    // Back to a font item: the sizes again.
    SelectRow(d, S::kScale);
    EXPECT_EQ(sizes.GetCount(), 16);
    d.ClickButton(ui::IDCANCEL);
  });
}

TEST_F(ScreenItemDialogTest, EditsReachTheGlobalsOnlyOnOk) {
  const auto before = DisplayFonts;
  auto edit = [](S& d) {
    SelectRow(d, S::kChannelName);
    d.Item(S::kSizeCombo).SetCurSel(d.Item(S::kSizeCombo).FindStringExact("36"));
    d.CheckDlgButton(S::kBoldCheck, 0);
    d.CheckDlgButton(S::kItalicCheck, 1);
    d.OnFontControlsChanged();
    SelectRow(d, S::kEvent);
    testhooks::AnswerColorDialog(ui::IDOK, 0x00123456);
    d.ClickButton(S::kColorButton);
    SelectRow(d, S::kMarkLineWidth);
    d.Item(S::kSizeCombo).SetCurSel(3);
    d.OnFontControlsChanged();
  };
  EXPECT_EQ(Run([&](S& d) {
              edit(d);
              d.ClickButton(ui::IDCANCEL);
            }),
            ui::IDCANCEL);
  EXPECT_EQ(DisplayFonts, before);
  EXPECT_EQ(DisplayColors[3], 0x00B200FFu);
  EXPECT_EQ(MarkLineWidth, 12u);

  EXPECT_EQ(Run([&](S& d) {
              edit(d);
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_EQ(DisplayFonts[7].height, 36);
  EXPECT_EQ(DisplayFonts[7].weight, 400);
  EXPECT_EQ(DisplayFonts[7].italic, 1);
  EXPECT_EQ(DisplayFonts[7].FaceName(), before[7].FaceName().substr(0, 31));
  EXPECT_EQ(DisplayColors[3], 0x00123456u);
  EXPECT_EQ(MarkLineWidth, 36u);
  for (int slot : {0, 1, 2, 3, 4, 5, 6, 8, 9}) EXPECT_EQ(DisplayFonts[static_cast<std::size_t>(slot)], before[static_cast<std::size_t>(slot)]);
}

TEST_F(ScreenItemDialogTest, SizeOutsideTheListLeavesTheFontUntilASizeIsChosen) {
  const draw::LogFont stage = DisplayFonts[4];  // 80: not one of the sizes
  Run([&](S& d) {
    SelectRow(d, S::kStage);
    EXPECT_EQ(d.Item(S::kSizeCombo).GetCurSel(), -1);
    ui::Control fonts = d.Item(S::kFontCombo);
    fonts.SetCurSel(fonts.AddString("A face name longer than thirty-one characters"));
    d.OnFontControlsChanged();
    EXPECT_EQ(d.Fonts[4], stage);
    d.Item(S::kSizeCombo).SetCurSel(0);
    d.OnFontControlsChanged();
    EXPECT_EQ(d.Fonts[4].height, 8);
    EXPECT_EQ(d.Fonts[4].FaceName(), "A face name longer than thirty-");
    d.ClickButton(ui::IDOK);
  });
}

TEST_F(ScreenItemDialogTest, StageSliderPreviewsAndCancelPutsItBack) {
  StagePosition = 10;
  Run([](S& d) {
    d.Item(S::kStageSlider).SetPos(5);
    d.OnStageSlider();
    EXPECT_EQ(StagePosition, -45);
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(StagePosition, 10);
  Run([](S& d) {
    d.Item(S::kStageSlider).SetPos(100);
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(StagePosition, 50);
}

TEST_F(ScreenItemDialogTest, AllResetStaysAfterCancelAndKeepsMarkSettings) {
  DisplayColors[0] = 0x00010203;
  DisplayColors[6] = 0x00ABCDEF;
  DisplayFonts[0].height = 99;
  MarkLineWidth = 48;
  StagePosition = 25;
  Run([](S& d) {
    d.ClickButton(S::kAllResetButton);
    EXPECT_EQ(d.Item(S::kStageSlider).GetPos(), 50);
    EXPECT_EQ(d.Colours[0], 0x00FAFAFFu);
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(DisplayColors[0], 0x00FAFAFFu);
  EXPECT_EQ(DisplayFonts[0].height, 12);
  EXPECT_EQ(StagePosition, 25);  // Cancel always puts the stage position back
  EXPECT_EQ(DisplayColors[6], 0x00ABCDEFu);
  EXPECT_EQ(MarkLineWidth, 48u);
}

TEST(ScreenItemFonts, JapaneseSystemsOfferOnlyHorizontalJapaneseFamilies) {
  const std::vector<draw::FontFamily> all = {{"Arial", false}, {"Gothic", true}, {"@Gothic", true}, {"Mincho", true}};
  EXPECT_EQ(S::OfferedFamilies(all, true), (std::vector<std::string>{"Gothic", "Mincho"}));
  EXPECT_EQ(S::OfferedFamilies(all, false), (std::vector<std::string>{"Arial", "Gothic", "@Gothic", "Mincho"}));
  EXPECT_EQ(S::WidthIndexOf(7), 1);
  EXPECT_EQ(S::WidthIndexOf(48), 4);
}

TEST(ScreenItemStrings, EveryTextIsInBothLanguages) {
  for (std::uint32_t id = 2144; id <= 2154; ++id) {
    EXPECT_TRUE(res::HasString(id, res::Language::English)) << id;
    EXPECT_TRUE(res::HasString(id, res::Language::Japanese)) << id;
  }
  for (std::uint32_t id : {2322u, 2471u, 2472u, 2473u, 2474u, 2475u, 2476u, 2477u, 2538u, 2539u, 9850u, 9851u, 9852u,
                           9853u, 9854u, 9855u, 9856u, 9857u, 9858u, 9859u, 9860u, 9861u}) {
    EXPECT_TRUE(res::HasString(id, res::Language::English)) << id;
    EXPECT_TRUE(res::HasString(id, res::Language::Japanese)) << id;
  }
}

}  // namespace
