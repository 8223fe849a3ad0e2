// The workspace tab strip in the frame's layout: its nine tabs over the workspace window,
// tabs chosen by the user and by SelectPane.
#include "app/frame/frame_globals.h"
#include "app_shell/app_fixture.h"

namespace {

class WorkspaceTabStrip : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
  }
  LyrWorkspaceAreaTabCtrl& Tabs() { return Frame().WorkspaceTabs; }
};

TEST_F(WorkspaceTabStrip, StripCoversTheWorkspaceWindowWithItsNineTabs) {
  ASSERT_TRUE(Tabs().IsWindow());
  EXPECT_EQ(Tabs().GetParent(), Frame().WorkspaceView());
  std::vector<std::string> texts;
  for (int t = 0; t < Tabs().GetItemCount(); ++t) texts.push_back(Tabs().GetItemText(t));
  EXPECT_EQ(texts, (std::vector<std::string>{"DataInfo", "Zoom", "Logic", "FFT", "VigilanceState", "StageGraph",
                                             "Search", "Mark", "Video"}));
  EXPECT_EQ(Tabs().GetCurSel(), 0);
  Frame().WorkspaceView()->MoveWindow(draw::RectFromSize(0, 0, 400, 300));
  EXPECT_EQ(Tabs().GetClientRect().Width(), 400);
  EXPECT_EQ(Tabs().GetClientRect().Height(), 300);
  EXPECT_GT(Tabs().GetDisplayRect().top, 0);
}

TEST_F(WorkspaceTabStrip, ChosenTabShowsItsPane) {
  struct Case {
    int tab;
    int pane;
    int previewMode;
  } cases[] = {{1, 1, 4}, {2, 4, 0}, {3, 3, 0}, {6, 7, 0}, {7, 11, 0}, {8, 12, 0}, {0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    ASSERT_TRUE(Tabs().ClickTab(c.tab));
    EXPECT_EQ(Tabs().CurrentPane, c.pane);
    EXPECT_EQ(RawPreviewMode, c.previewMode);
    EXPECT_EQ(Tabs().VideoWindowShown, c.pane == 12 ? 1 : 0);
  }
  // The mark list refills when its pane comes forward.
  const int refills = Frame().WorkspaceView()->MarkView.Refills;
  Tabs().ClickTab(7);
  EXPECT_EQ(Frame().WorkspaceView()->MarkView.Refills, refills + 1);
}

TEST_F(WorkspaceTabStrip, SelectPaneSetsTheTabWithoutShowing) {
  RawPreviewMode = 0;
  Tabs().SelectPane(2);
  EXPECT_EQ(Tabs().GetCurSel(), 3);
  EXPECT_EQ(Tabs().CurrentPane, 2);
  EXPECT_EQ(RawPreviewMode, 0);
  // The FFT tab chosen again keeps the simple spectrum pane that SelectPane chose.
  Tabs().ClickTab(3);
  EXPECT_EQ(Tabs().CurrentPane, 2);
  EXPECT_EQ(RawPreviewMode, 2);
  Tabs().SelectPane(13);
  EXPECT_EQ(Tabs().GetCurSel(), 0);
  EXPECT_EQ(Tabs().CurrentPane, 13);
}

}  // namespace
