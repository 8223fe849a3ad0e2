// The zoom pane's peak search and the "Peak Information" dialog it owns.
#include "app/frame/lyr_dlg_peak_information.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "app_shell/app_fixture.h"

namespace {

class PeakInformation : public AppTest {
 protected:
  // Two channels of 10 and 20 Hz on a 10-s page: channel 0 rises 0..100, channel 1 is a
  // square wave whose equal maxima start at sample 5.
  void Load() {
    ASSERT_TRUE(Start());
    CQLM2_AnalyzerDoc& d = Doc();
    d.RecordInfo.channelCount = 2;
    d.ChInfo[0].rate = 10;
    d.ChInfo[0].name = "EEG";
    d.ChInfo[1].rate = 20;
    d.ChInfo[1].name = "EMG";
    PageSeconds = 10;
    EpochSeconds = 10;
    ClockTimeDisplay = 0;
    d.CurrentPage = 1;
    std::vector<float>& page = d.RecordInfo.pageBuffers[2];
    page.assign(101 + 201, 0.0f);
    for (int i = 0; i <= 100; ++i) page[static_cast<std::size_t>(i)] = static_cast<float>(i);
    for (int i = 0; i <= 200; ++i) page[101 + static_cast<std::size_t>(i)] = (i / 5) % 2 != 0 ? 2.5f : -1.5f;
    DocumentLoaded = 1;
    zoom_.m_pDoc = &d;
  }
  LyrWorkspaceZoomView zoom_;
};

TEST_F(PeakInformation, SearchFindsEachShownChannelsExtremes) {
  Load();
  zoom_.Spans[0] = {1, 20, 60};
  zoom_.Spans[1] = {1, 0, 200};
  EXPECT_EQ(zoom_.GetShownChannelCount(), 2);
  EXPECT_EQ(zoom_.GetShownTimeRange(), (std::pair<double, double>{0.0, 10.0}));
  zoom_.SearchPeaks(30, 10);  // columns in either order
  const ZoomPeakRecord& a = zoom_.Peaks[0];
  EXPECT_EQ(a.maxIndex, 30);
  EXPECT_EQ(a.maxValue, 50.0f);
  EXPECT_EQ(a.maxTimeMs, 5000);
  EXPECT_EQ(a.minIndex, 10);
  EXPECT_EQ(a.minTimeMs, 3000);
  const ZoomPeakRecord& b = zoom_.Peaks[1];
  EXPECT_EQ(b.maxIndex, 15) << "of equal maxima the earliest stays";
  EXPECT_EQ(b.minIndex, 10);
  EXPECT_EQ(zoom_.Peaks[2].maxIndex, -1);
  // A stretch beyond the page's samples stops at the page's end.
  zoom_.Spans[0] = {1, 90, 130};
  zoom_.SearchPeaks(0, 40);
  EXPECT_EQ(zoom_.Peaks[0].maxIndex, 10);
  EXPECT_EQ(zoom_.Peaks[0].maxValue, 100.0f);
}

TEST_F(PeakInformation, DialogListsThePeaksAndClosesThroughThePane) {
  Load();
  zoom_.Spans[1] = {1, 0, 200};
  zoom_.SearchPeaks(0, 20);
  zoom_.Mode = 5;
  zoom_.ShowList(&Frame());
  LyrDlgPeakInformation* dlg = zoom_.PeakDlg();
  ASSERT_NE(dlg, nullptr);
  ui::Control list = dlg->Item(IDC_PI_LIST);
  ASSERT_EQ(list.GetColumnCount(), 8);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetItemText(0, 0), "  2");
  EXPECT_EQ(list.GetItemText(0, 1), "EMG");
  EXPECT_EQ(list.GetItemText(0, 2), "01.00:00:10.250");  // page 1 starts at 10 s
  EXPECT_EQ(list.GetItemText(0, 3), "2.500");
  EXPECT_EQ(list.GetItemText(0, 5), "-1.500");
  EXPECT_EQ(list.GetItemText(0, 6), "0.250");
  EXPECT_EQ(list.GetItemText(0, 7), "4.000");
  EXPECT_EQ(zoom_.ShowPeaks, 1);
  ASSERT_TRUE(dlg->ClickButton(IDC_PI_SHOW_PEAK));
  EXPECT_EQ(zoom_.ShowPeaks, 0);
  // A second request while it is open opens nothing more.
  zoom_.ShowList(&Frame());
  EXPECT_EQ(zoom_.PeakDlg(), dlg);
  ASSERT_TRUE(dlg->ClickButton(ui::IDCANCEL));
  EXPECT_EQ(zoom_.PeakDlg(), nullptr);
  EXPECT_EQ(zoom_.Mode, 0);
  testhooks::ProcessMessages();
}

TEST_F(PeakInformation, NoListWithoutShownChannelsOrOutsidePeakMode) {
  Load();
  zoom_.Mode = 5;
  zoom_.ShowList(&Frame());
  EXPECT_EQ(zoom_.PeakDlg(), nullptr);
  zoom_.Spans[0] = {1, 0, 10};
  zoom_.Mode = 3;
  zoom_.ShowList(&Frame());
  EXPECT_EQ(zoom_.PeakDlg(), nullptr);
}

TEST(WorkspaceTabs, PanesMapToTabsAndSetTheDragMode) {
  LyrWorkspaceAreaTabCtrl tabs;
  struct Case {
    int pane, tab, dragMode;
  };
  const Case cases[] = {{0, 0, 0}, {1, 1, 4}, {2, 3, 2}, {3, 3, 0}, {4, 2, 0}, {9, 6, 0}, {11, 7, 0}, {12, 8, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pane);
    RawPreviewMode = 7;
    tabs.SelectPane(c.pane);
    tabs.ShowSelectedPane(c.pane);
    EXPECT_EQ(tabs.SelectedTab, c.tab);
    EXPECT_EQ(tabs.CurrentPane, c.pane);
    EXPECT_EQ(RawPreviewMode, c.dragMode);
    EXPECT_EQ(tabs.VideoWindowShown, c.pane == 12 ? 1 : 0);
  }
  RawPreviewMode = 3;
  tabs.SelectPane(13);
  tabs.ShowSelectedPane(13);
  EXPECT_EQ(tabs.SelectedTab, 0);
  EXPECT_EQ(tabs.CurrentPane, 13);
  EXPECT_EQ(RawPreviewMode, 3) << "an unknown pane leaves the drag mode";
  RawPreviewMode = 0;
}

}  // namespace
