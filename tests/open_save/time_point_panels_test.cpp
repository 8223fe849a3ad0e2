// The time-point panels of the analysis range and of the result save dialog are children laid
// out inside their dialogs: each lies within its dialog's rectangle and is painted with it.
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/results/lyr_dlg_result_file.h"
#include "open_save_fixture.h"

namespace {

class TimePointPanels : public OpenSaveTest {
 protected:
  static bool Inside(const ui::Rect& inner, const ui::Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.Width() > 0 && inner.Height() > 0;
  }
  void ExpectInside(ui::Dialog& dlg, ui::Window* start, ui::Window* end, const char* picture) {
    ASSERT_NE(start, nullptr);
    ASSERT_NE(end, nullptr);
    const ui::Rect outer = dlg.GetWindowRect();
    for (ui::Window* panel : {start, end}) {
      EXPECT_EQ(panel->GetParent() != nullptr, true);
      EXPECT_TRUE(panel->IsWindowVisible());
      const ui::Rect r = panel->GetWindowRect();
      EXPECT_TRUE(Inside(r, outer)) << picture << ": panel " << r.left << "," << r.top << "-" << r.right << ","
                                    << r.bottom << " dialog " << outer.left << "," << outer.top << "-"
                                    << outer.right << "," << outer.bottom;
    }
    // The two panels do not overlap.
    const ui::Rect a = start->GetWindowRect(), b = end->GetWindowRect();
    EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top);
    testhooks::RenderWindowToPng(dlg, folder_->Path() + "/" + picture);
  }
};

TEST_F(TimePointPanels, AnalysisRangeAndResultSaveHoldTheirPanels) {
  ASSERT_TRUE(Start());
  EpochSeconds = 30;
  PageSeconds = 30;
  ASSERT_NE(app_->OpenDocumentFile(WriteNight("night.fyd")), nullptr);

  LyrDlgAnalysisRange range(&Doc(), &Frame());
  ASSERT_TRUE(range.CreateModeless(&Frame()));
  range.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  ExpectInside(range, range.StartPanel(), range.EndPanel(), "analysis_range.png");
  range.DestroyWindow();

  LyrResultRangePanel save(&Doc(), &Frame());
  ASSERT_TRUE(save.CreateModeless(&Frame()));
  save.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  ExpectInside(save, save.StartPanel(), save.EndPanel(), "result_save.png");
  save.DestroyWindow();
}

}  // namespace
