// Picks that other windows ask of the raw page, and the right-button menu.
#include <gtest/gtest.h>

#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "scoring_fixture.h"

namespace {

class PreviewTest : public ScoringTest {
 protected:
  void TearDown() override {
    RawPreview = RawPreviewHooks{};
    PreviewKind = 0;
    ScoringTest::TearDown();
  }
};

TEST_F(PreviewTest, TimePickGoesIntoTheAnalysisRangeDialog) {
  GoTo(12);
  auto dlg = std::make_unique<LyrDlgAnalysisRange>(&Doc(), &Frame());
  ASSERT_TRUE(dlg->CreateModeless(&Frame()));
  Frame().AnalysisRangeDlg = dlg.get();
  ASSERT_TRUE(testhooks::ClickControl(*dlg, IDC_AR_END_CURSOR));
  ASSERT_EQ(RawPreviewMode, 3);
  Row(2).SendMessage(ui::WM_MOUSEMOVE, 0, Pos(CellX(1), Y()));
  Press(2, CellX(1), Y());
  Release(2, CellX(1), Y());
  EXPECT_EQ(dlg->EndPanel()->GetSeconds(), 360 + 45);  // page 4 starts at 360 s
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_EQ(dlg->m_Shown, 1u);
  EXPECT_EQ(Doc().CurrentEpoch, 12);  // a pick is no click

  // The right button ends a pick without a time.
  ASSERT_TRUE(testhooks::ClickControl(*dlg, IDC_AR_START_CURSOR));
  const std::int32_t start = dlg->StartPanel()->GetSeconds();
  Row(2).SendMessage(ui::WM_RBUTTONUP, 0, Pos(CellX(2), Y()));
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_EQ(dlg->StartPanel()->GetSeconds(), start);
  EXPECT_EQ(dlg->m_Shown, 1u);
  Frame().AnalysisRangeDlg = nullptr;
}

TEST_F(PreviewTest, ConfirmationRangeGoesToTheAskingDialog) {
  RawPreviewPick got;
  int asked = 0;
  int shown = 0;
  RawPreview.sleepDisturbanceConfirmation = [&](const RawPreviewPick& p) {
    got = p;
    ++asked;
    return ui::IDOK;
  };
  RawPreview.showRequester = [&] { ++shown; };
  struct Case {
    int kind;
    int x1, x2;
    int asked;
  };
  const Case cases[] = {
      {11, CellX(2), CellX(0), 1},  // dragged backwards: the range comes ordered
      {17, CellX(0), CellX(0), 0},  // an empty range opens nothing
      {30, CellX(0), CellX(1), 0},  // a wave-form kind goes to the other dialog (none here)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind);
    asked = 0;
    RawPreviewMode = 1;
    PreviewKind = static_cast<std::int16_t>(c.kind);
    Press(2, c.x1, 10);
    Row(2).SendMessage(ui::WM_MOUSEMOVE, ui::MK_LBUTTON, Pos(c.x2, 30));
    Release(2, c.x2, 30);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(RawPreviewMode, c.asked == 1 ? 0 : 1);
  }
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(got.channel, 0);
  EXPECT_NEAR(static_cast<double>(got.first), (360 + 15) * 100, 100);  // channel 0 runs at 100 Hz
  EXPECT_NEAR(static_cast<double>(got.last), (360 + 75) * 100, 100);
}

TEST_F(PreviewTest, SpectrumPickStartsAtTheSpanBox) {
  std::int64_t sample = -1;
  int channel = -1;
  RawPreview.simpleSpectrum = [&](int, int ch, std::int64_t s) {
    channel = ch;
    sample = s;
  };
  Doc().Params.fftPage.simpleFftPoints = 1000;  // 10 s at 100 Hz: a ninth of the page
  Doc().Params.fftPage.simpleAveraging = 1;
  Doc().ChInfo[0].dataCount = 900 * 100;
  RawPreviewMode = 2;
  const int x = width_ - 10;  // near the right edge: the box is moved left
  Row(2).SendMessage(ui::WM_MOUSEMOVE, 0, Pos(x, Y()));
  const draw::Rect box = Row(2).SpectrumSpanBox();
  EXPECT_EQ(box.right, width_);
  EXPECT_NEAR(box.right - box.left, width_ / 9, 1);
  Press(2, x, Y());
  Release(2, x, Y());
  EXPECT_EQ(channel, 0);
  EXPECT_NEAR(static_cast<double>(sample), 8000, 10);  // in the page, 80 s of 90 in
  EXPECT_EQ(Doc().SimpleSpectrum.valueCount, 501);
}

TEST_F(PreviewTest, RightButtonMenuCommandsReachTheFrame) {
  Doc().Params.fftPageChannels.channels[0] = 0;
  DividedFftMode = 0;
  testhooks::AnswerPopupMenu(33171);  // "Show PageFFT"
  Row(2).SendMessage(ui::WM_RBUTTONUP, 0, Pos(CellX(0), Y()));
  EXPECT_EQ(DividedFftMode, 1);
  testhooks::AnswerPopupMenu(33171);
  Row(2).SendMessage(ui::WM_RBUTTONUP, 0, Pos(CellX(0), Y()));
  EXPECT_EQ(DividedFftMode, 0);
}

}  // namespace
