// Trend items: the popup menu offers what the recording supplies, every command names its
// item, and choosing one for a graph stores it with one undo entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_popup_menu.h"

namespace {

// The menu's top level as texts, "-" for separators.
std::vector<std::string> TopLevel(const ui::Menu& menu) {
  std::vector<std::string> out;
  for (int i = 0; i < menu.GetItemCount(); ++i) {
    const ui::MenuItem& item = menu.ItemAt(i);
    out.push_back(item.kind == ui::MenuItem::Kind::Separator ? "-" : item.text);
  }
  return out;
}

const ui::Menu* SubMenu(const ui::Menu& menu, const std::string& text) {
  for (int i = 0; i < menu.GetItemCount(); ++i)
    if (menu.ItemAt(i).text == text) return menu.ItemAt(i).popup.get();
  return nullptr;
}

TEST(TrendItems, NoChannelsOfferScaleNoneFreeAndCancel) {
  CQLM2_AnalyzerDoc doc;
  const auto menu = BuildTrendItemMenu(&doc);
  EXPECT_EQ(TopLevel(*menu), (std::vector<std::string>{"Scale", "-", "None", "-", "Free", "-", "Cancel"}));
  const ui::Menu* free = SubMenu(*menu, "Free");
  ASSERT_NE(free, nullptr);
  EXPECT_EQ(free->GetItemCount(), 7);
  EXPECT_FALSE(free->IsItemEnabled(33002)) << "greyed without a recording";
}

TEST(TrendItems, LeftLegOnlyAndOneWaveChannel) {
  CQLM2_AnalyzerDoc doc;
  doc.Params.sleepDstrb.legLeft.channel = 3;
  doc.Params.waveForm.bands[WaveFormRecognitionParam::kTheta].channel = 0;
  const auto menu = BuildTrendItemMenu(&doc);
  EXPECT_EQ(TopLevel(*menu),
            (std::vector<std::string>{"Scale", "-", "None", "Theta", "-", "PLMs", "-", "Free", "-", "Cancel"}));
  const ui::Menu* plm = SubMenu(*menu, "PLMs");
  ASSERT_NE(plm, nullptr);
  ASSERT_EQ(plm->GetItemCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(plm->ItemAt(i).id, 32950u + static_cast<unsigned>(i));
  EXPECT_EQ(plm->ItemAt(0).text, "Left LM counts");
  EXPECT_EQ(SubMenu(*menu, "Theta")->ItemAt(0).id, 32899u);
}

TEST(TrendItems, CommandsNameTheirItems) {
  struct Case {
    std::uint32_t id;
    int category, sub, third, choice;
  };
  const Case cases[] = {
      {32957, 0, 0, 0, 0}, {32893, 1, 0, 0, 0}, {32904, 2, 5, 0, 0}, {32905, 3, 0, 0, 0}, {32856, 7, 0, 0, 0},
      {32862, 8, 0, 0, 0}, {32867, 9, 2, 0, 0}, {32871, 10, 3, 0, 0}, {32934, 11, 2, 0, 0}, {7, 12, 0, 0, 0},
      {33014, 13, 4, 0, 0}, {32881, 14, 5, 0, 0}, {32935, 15, 0, 0, 0}, {32946, 16, 5, 0, 0}, {32883, 17, 1, 0, 0},
      {32886, 18, 2, 0, 0}, {33039, 19, 2, 0, 0}, {32949, 20, 0, 2, 0}, {32950, 20, 1, 0, 0}, {32955, 20, 2, 2, 0},
      {33029, 23, 0, 0, 0}, {33030, 24, 0, 0, 0}, {32892, 21, 5, 0, 1}, {33162, 21, 9, 0, 1}, {33160, 21, 10, 0, 1},
      {33161, 21, 11, 0, 1}, {33156, 22, 6, 0, 2},
  };
  for (const Case& c : cases) {
    const auto item = TrendItemOfCommand(c.id);
    ASSERT_TRUE(item) << c.id;
    EXPECT_EQ(item->category, c.category) << c.id;
    EXPECT_EQ(item->sub, c.sub) << c.id;
    EXPECT_EQ(item->third, c.third) << c.id;
    EXPECT_EQ(item->channelChoice, c.choice) << c.id;
  }
  EXPECT_FALSE(TrendItemOfCommand(kCmdTrendItemCancel));
  EXPECT_FALSE(TrendItemOfCommand(kCmdTrendScale));
}

TEST(TrendItems, FftChannelWithoutDialogWhenOnlyOne) {
  CQLM2_AnalyzerDoc doc;
  doc.RecordInfo.channelCount = 6;
  EXPECT_EQ(ChooseTrendItemChannel(&doc, 1, nullptr), -1) << "no FFT channel";
  doc.Params.fftBand.channelSwitch[4] = 1;
  EXPECT_EQ(ChooseTrendItemChannel(&doc, 1, nullptr), 4);
}

TEST(TrendItems, AvailabilityFollowsTheChannels) {
  CQLM2_AnalyzerDoc doc;
  const TrendItemTable saved = TrendItem;
  TrendItem.category[0] = 11;
  EXPECT_EQ(IsTrendItemAvailable(&doc, 0), 0);
  doc.Params.sleepDstrb.airFlow.channel = 1;
  EXPECT_EQ(IsTrendItemAvailable(&doc, 0), 1) << "only the air flow is asked for here";
  TrendItem.category[0] = 22;
  EXPECT_EQ(IsTrendItemAvailable(nullptr, 0), 1);
  TrendItem = saved;
}

}  // namespace
