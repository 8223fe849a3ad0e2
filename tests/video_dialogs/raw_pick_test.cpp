// A Cursor button of a video dialog and the click on the raw page that answers it, in the
// started program.
#include <gtest/gtest.h>

#include <cmath>

#include "app/video/lyr_dlg_video_edit_file.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/workspace/workspace_dummy_view.h"
#include "tests/manual_scoring/scoring_fixture.h"

namespace {

using RangeDlg = LyrWorkspaceDlgVideoRange;

TEST_F(ScoringTest, VideoRangeTakesItsTimesFromTheWaves) {
  GoTo(12);
  LyrWorkspaceDummyView* ws = Frame().WorkspaceView();
  ASSERT_NE(ws, nullptr);
  LyrVideoDialogs& d = ws->VideoDialogs;
  VideoFileRecord file;
  file.endTime = 900.0;
  file.name = "night/a.mpg";
  file.ranges = {{0.0, 900.0}};
  d.Video->SetRecords({file});
  d.Video->AnalysisStartSeconds = 0.0;
  d.Video->AnalysisEndSeconds = 900.0;
  const std::uint16_t clock = ClockTimeDisplay;
  ClockTimeDisplay = 0;
  d.OpenEditFile(RangeEditMode::Save);
  ASSERT_NE(d.EditFile(), nullptr);
  ASSERT_TRUE(d.EditFile()->ClickButton(CVPDlgEditFile::kAdd));
  RangeDlg* range = d.Range();
  ASSERT_NE(range, nullptr);
  const auto secondOf = [range](int id) {
    const ui::DateTime t = range->Item(id).GetDateTime();
    return t.hour * 3600 + t.minute * 60 + t.second;
  };

  ASSERT_TRUE(range->ClickButton(RangeDlg::kStartCursor));
  ASSERT_EQ(RawPreviewMode, 3);
  EXPECT_FALSE(range->IsWindowVisible());
  Row(2).SendMessage(ui::WM_MOUSEMOVE, 0, Pos(CellX(1), Y()));
  Press(2, CellX(1), Y());
  Release(2, CellX(1), Y());
  EXPECT_EQ(secondOf(VideoStartEndControls::kStartTime), 360 + 45);  // page 4 starts at 360 s
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_TRUE(range->IsWindowVisible());
  EXPECT_EQ(Doc().CurrentEpoch, 12);  // a pick is no click
  EXPECT_EQ(VideoAttached, 0);

  // The right button gives the pick up.
  ASSERT_TRUE(range->ClickButton(RangeDlg::kEndCursor));
  Row(2).SendMessage(ui::WM_RBUTTONUP, 0, Pos(CellX(2), Y()));
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_TRUE(range->IsWindowVisible());
  EXPECT_EQ(secondOf(VideoStartEndControls::kEndTime), 900);

  // A start goes to the synchronisation dialog as well.
  LyrWorkspaceDlgVideoSync sync(&Doc());
  ASSERT_TRUE(sync.CreateModeless(nullptr));
  Frame().VideoSyncDlg = &sync;
  ASSERT_TRUE(range->ClickButton(RangeDlg::kStartCursor));
  Press(2, CellX(2), Y());
  Release(2, CellX(2), Y());
  EXPECT_EQ(static_cast<int>(std::lround(sync.ChosenMoment())), 360 + 75);
  EXPECT_EQ(secondOf(VideoStartEndControls::kStartTime), 360 + 75);
  Frame().VideoSyncDlg = nullptr;
  sync.DestroyWindow();
  d.CloseAll();
  ClockTimeDisplay = clock;
}

}  // namespace
