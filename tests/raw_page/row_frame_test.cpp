// The raw window in the started program: how a row frame shares its height between the page
// and the divided-page spectrum pane (the stored share, a drag of the split bar), where the
// rows stand, and the stage-history strip above the page.
#include <cmath>

#include "app/frame/program_settings.h"
#include "app/frame/stage_history_field.h"
#include "app/raw/raw_page_geometry.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "tests/app_shell/app_fixture.h"

namespace {

class RawWindow : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    saved_ = {DividedFftMode, RawRowSplitRatio, LineUpWithTrend, ShowStageHistory, ShowStageName, EpochSeconds,
              PageSeconds};
    savedColours_ = DisplayColors;
    Frame().ShowWindow(ui::SW_SHOWNORMAL);
    Frame().MoveWindow(ui::Rect{0, 0, 1000, 800});
    Frame().LayoutPanes();
  }
  void TearDown() override {
    DividedFftMode = static_cast<std::int32_t>(std::get<0>(saved_));
    RawRowSplitRatio = std::get<1>(saved_);
    LineUpWithTrend = std::get<2>(saved_);
    ShowStageHistory = std::get<3>(saved_);
    ShowStageName = std::get<4>(saved_);
    EpochSeconds = std::get<5>(saved_);
    PageSeconds = std::get<6>(saved_);
    DisplayColors = savedColours_;
    AppTest::TearDown();
  }
  LyrRawDummyView& Raw() { return *Frame().RawView(); }
  // Top and height of a row frame within the raw window.
  std::pair<int, int> RowPlace(int r) {
    const ui::Rect w = Raw().Row(r)->GetWindowRect();
    return {w.top - Raw().GetWindowRect().top, w.Height()};
  }
  int AreaHeight(int r) { return Raw().Row(r)->AreaView()->GetClientRect().Height(); }

  std::tuple<std::int32_t, double, std::uint32_t, std::uint32_t, std::uint32_t, std::int32_t, std::int32_t> saved_;
  std::array<std::uint32_t, 9> savedColours_{};
};

TEST(RowSplit, PageViewHeightAndShareOfADrag) {
  EXPECT_EQ(rawpage::PageViewHeight(401, 0.3), 280);  // trunc(0.7 x 401 = 280.7)
  EXPECT_EQ(rawpage::PageViewHeight(401, 0.0), 401);
  EXPECT_EQ(rawpage::PageViewHeight(401, -0.5), 401) << "a share below 0 gives the page everything";
  EXPECT_EQ(rawpage::PageViewHeight(401, 1.5), 0) << "a share above 1 gives the pane everything";
  EXPECT_EQ(rawpage::PageViewHeight(401, std::nan("")), 401);
  EXPECT_EQ(rawpage::PageViewHeight(-5, 0.3), 0);
  EXPECT_DOUBLE_EQ(rawpage::SpectrumShareOf(99, 399), 0.25);
  EXPECT_DOUBLE_EQ(rawpage::SpectrumShareOf(0, 0), 1.0);
}

TEST_F(RawWindow, SpectrumPaneTakesTheStoredShareOnlyInTheDividedMode) {
  Doc().PageRows = 1;
  Raw().LayoutRawFrames();
  LyrRawFrame* row = Raw().Row(2);
  const int H = row->GetClientRect().Height();
  ASSERT_GT(H, 100);
  RawRowSplitRatio = 0.25;

  DividedFftMode = 0;
  row->SetRowHeights();
  EXPECT_EQ(AreaHeight(2), H) << "without the mode the page fills the row whatever the share";

  DividedFftMode = 1;
  row->SetRowHeights();
  EXPECT_EQ(AreaHeight(2), static_cast<int>(0.75 * H));

  // No page-spectrum channel: a drag leaves the share and the bar snaps back.
  Doc().Params.fftPageChannels.channels = {-1, -1, -1};
  row->Splitter()->DragBar(true, 0, H / 2);
  EXPECT_EQ(RawRowSplitRatio, 0.25);
  EXPECT_EQ(AreaHeight(2), static_cast<int>(0.75 * H));

  // With a channel the pane's new height becomes the stored share.
  Doc().Params.fftPageChannels.channels = {-1, 0, -1};
  row->Splitter()->DragBar(true, 0, H / 2);
  const int pane = H - H / 2 - row->Splitter()->GetBarWidth();
  EXPECT_DOUBLE_EQ(RawRowSplitRatio, (pane + 1.0) / (H + 1.0));
  EXPECT_EQ(AreaHeight(2), rawpage::PageViewHeight(H, RawRowSplitRatio));

  // The frame's mode command: leaving the mode hides the pane, coming back restores the share.
  Frame().OnDividedFft();
  ASSERT_EQ(DividedFftMode, 0);
  EXPECT_EQ(AreaHeight(2), H);
  Doc().RecordInfo.channelCount = 1;
  Frame().OnDividedFft();
  ASSERT_EQ(DividedFftMode, 1);
  EXPECT_EQ(AreaHeight(2), rawpage::PageViewHeight(H, RawRowSplitRatio));
}

TEST_F(RawWindow, RowsStackByTheRowCountAndLineUpWithTheTrendWindow) {
  const int H = Raw().GetClientRect().Height();
  const int W = Raw().GetClientRect().Width();
  Doc().PageRows = 3;
  LineUpWithTrend = 0;
  Raw().LayoutRawFrames();
  const double h = H / 3.0;
  EXPECT_EQ(RowPlace(1), std::make_pair(0, static_cast<int>(h)));
  EXPECT_EQ(RowPlace(2), std::make_pair(static_cast<int>(h), static_cast<int>(h)));
  EXPECT_EQ(RowPlace(3), std::make_pair(static_cast<int>(2 * h), static_cast<int>(h)));
  EXPECT_FALSE(Raw().Row(0)->IsWindowVisible());
  EXPECT_FALSE(Raw().Row(4)->IsWindowVisible());

  Doc().PageRows = 1;
  LineUpWithTrend = 1;
  Raw().LayoutRawFrames();
  EXPECT_EQ(RowPlace(2), std::make_pair(0, H));
  const ui::Rect w = Raw().Row(2)->GetWindowRect();
  EXPECT_EQ(w.left - Raw().GetWindowRect().left, 40);
  EXPECT_EQ(w.Width(), W - 40);
  EXPECT_FALSE(Raw().Row(1)->IsWindowVisible());
}

TEST_F(RawWindow, StageHistoryStripShowsTheTwoEarlierStagesAboveThePage) {
  EpochSeconds = 30;
  PageSeconds = 90;
  Doc().RecordSeconds = 900;
  Doc().PageRows = 1;
  Doc().CurrentPage = 1;
  Doc().CurrentEpoch = 3;
  ASSERT_EQ(Doc().EpochTables.SetNew(30, 0, 1, 0, 1), 1);
  Doc().RecordInfo.channelCount = 1;
  Doc().ChInfo[0].rate = 10;
  Doc().ChInfo[0].show = 0;
  Doc().RecordInfo.pageBuffers[2].assign(10 * 90 + 1, 0.0f);  // the page exists, no wave shown
  Raw().LayoutRawFrames();
  LyrRawAreaView& view = *Raw().Row(2)->AreaView();
  StageHistoryField field;
  ASSERT_TRUE(GetStageHistoryField(&Frame(), &field));
  ASSERT_GT(field.height, 0);

  ShowStageHistory = 0;
  EXPECT_EQ(view.GetPageRect(nullptr).top, 0);
  ShowStageHistory = 1;
  EXPECT_EQ(view.GetPageRect(nullptr).top, field.height) << "the strip sits above the page";

  // Epoch 4 (the page's second cell) was scored three times: W, then 1, then 2.
  for (std::uint8_t code : {1, 3, 4}) Doc().EpochTables.SetStage(4, code);
  // Epoch 5 holds only a discarded 20 in its history: nothing is written for it.
  for (std::uint8_t code : {20, 3}) Doc().EpochTables.SetStage(5, code);
  ShowStageName = 0;
  DisplayColors.fill(draw::Rgb(255, 255, 255));
  DisplayColors[4] = draw::Rgb(255, 0, 0);  // stage colour
  const int w = view.GetClientRect().Width();
  const int h = view.GetClientRect().Height();
  const auto reddish = [&](int x0, int x1) {
    draw::Image image(w, h, 32);
    draw::Dc dc(image);
    view.DrawPage(dc);
    int count = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = x0; x < x1; ++x) {
        const draw::ColorRef c = dc.GetPixel(x, y);
        if (draw::GetRValue(c) > 150 && draw::GetGValue(c) < 120 && draw::GetBValue(c) < 120) {
          EXPECT_LT(y, field.height + 2) << "history text stays in the strip";
          ++count;
        }
      }
    }
    return count;
  };
  const int cell = rawpage::CellWidth(view.GetPageRect(nullptr).right, 3);
  EXPECT_GT(reddish(cell, 2 * cell), 0) << "the history of epoch 4";
  EXPECT_EQ(reddish(0, cell), 0) << "epoch 3 was never scored";
  EXPECT_EQ(reddish(2 * cell, w), 0) << "epoch 5's history holds only 20 and 0";
  ShowStageHistory = 0;
  EXPECT_EQ(reddish(0, w), 0);
  // Without the row's page there is nothing but background, grid and epoch labels.
  ShowStageHistory = 1;
  Doc().RecordInfo.pageBuffers[2].clear();
  EXPECT_EQ(reddish(0, w), 0);
}

}  // namespace
