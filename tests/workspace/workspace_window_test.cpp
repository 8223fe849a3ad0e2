// The workspace window in the program's frame: its frame with its own menu, the tab strip
// with its button strips, the 13 panes by id, the tab lines and font, docking and floating
// fractions, the menu rules and the keys that reach the wave page.
#include <string>
#include <vector>

#include "app/frame/pane_layout.h"
#include "app/workspace/lyr_workspace_area_view.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "app/workspace/workspace_placeholder_panes.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "tests/navigation/nav_fixture.h"

namespace {

class WorkspaceWindow : public NavTest {
 protected:
  LyrWorkspaceAreaTabCtrl& Tabs() { return Frame().WorkspaceTabs; }
  LyrWorkspaceFrame& WsFrame() { return *Frame().WorkspaceView()->Frame(); }
  bool Shown(int id) {
    ui::Window* w = Tabs().PaneWindow(id);
    if (w == nullptr || !w->IsWindowVisible()) return false;
    // A pane inside a button strip is seen only with its strip.
    if (id == 2 || id == 3) return Tabs().FFTStrip->IsWindowVisible();
    if (id >= 7 && id <= 10) return Tabs().SearchStrip->IsWindowVisible();
    return true;
  }
  std::vector<int> ShownPanes() {
    std::vector<int> ids;
    for (int id = 0; id < 12; ++id)
      if (Shown(id)) ids.push_back(id);
    return ids;
  }
};

TEST_F(WorkspaceWindow, FrameWithItsMenuHoldsTheStripAndItsPanes) {
  LyrWorkspaceDummyView* ws = Frame().WorkspaceView();
  ASSERT_NE(ws->Frame(), nullptr);
  ASSERT_TRUE(WsFrame().IsWindow());
  EXPECT_EQ(WsFrame().GetParent(), ws);
  ASSERT_NE(WsFrame().AreaView(), nullptr);
  EXPECT_EQ(Tabs().GetParent(), WsFrame().AreaView());
  ui::Menu* menu = WsFrame().GetMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->GetItemCount(), 2);
  EXPECT_EQ(menu->ItemAt(0).text, "&Analysis");
  EXPECT_EQ(menu->ItemAt(1).text, "&Video");
  std::vector<std::string> texts;
  for (int t = 0; t < Tabs().GetItemCount(); ++t) texts.push_back(Tabs().GetItemText(t));
  EXPECT_EQ(texts, (std::vector<std::string>{"DataInfo", "Zoom", "Logic", "FFT", "VigilanceState", "StageGraph",
                                             "Search", "Mark", "Video"}));
  EXPECT_EQ(Tabs().FFTStrip->GetItemText(1), "Epoch");
  EXPECT_EQ(Tabs().SearchStrip->GetItemText(3), "Artifact");
  EXPECT_TRUE(Tabs().FFTStrip->IsButtonStyle());
  EXPECT_TRUE(Tabs().SearchStrip->IsButtonStyle());
  for (int id = 0; id < 13; ++id) EXPECT_NE(Tabs().PaneWindow(id), nullptr) << id;
  // The frame follows its pane; the panes fill the area below the tabs.
  ws->MoveWindow(draw::RectFromSize(0, 0, 600, 400));
  EXPECT_EQ(WsFrame().GetClientRect().Width(), 600);
  EXPECT_EQ(Tabs().GetClientRect().Width(), 600);
  const ui::Rect display = Tabs().GetDisplayRect();
  EXPECT_GT(display.top, 0);
  EXPECT_EQ(Tabs().PaneWindow(0)->GetClientRect().Width(), display.Width());
}

TEST_F(WorkspaceWindow, PaneIdsSelectTabsShowPanesAndSetThePreviewMode) {
  struct Case {
    int id, tab, sub, previewMode, videoShown;
  };
  // sub: the FFT or Search button selected, -1 when the tab has none.
  const Case cases[] = {{0, 0, -1, 0, 0}, {1, 1, -1, 4, 0}, {2, 3, 0, 2, 0},  {3, 3, 1, 0, 0},  {4, 2, -1, 0, 0},
                        {5, 4, -1, 0, 0}, {6, 5, -1, 0, 0}, {7, 6, 0, 0, 0},   {8, 6, 3, 0, 0},  {9, 6, 1, 0, 0},
                        {10, 6, 2, 0, 0}, {11, 7, -1, 0, 0}, {12, 8, -1, 0, 1}, {13, 0, -1, 7, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    RawPreviewMode = 7;
    Tabs().SelectPane(c.id);
    EXPECT_EQ(Tabs().GetCurSel(), c.tab);
    EXPECT_EQ(Tabs().CurrentPane, c.id);
    if (c.tab == 3) {
      EXPECT_EQ(Tabs().FFTStrip->GetCurSel(), c.sub);
    }
    if (c.tab == 6) {
      EXPECT_EQ(Tabs().SearchStrip->GetCurSel(), c.sub);
    }
    // Selecting alone shows nothing new.
    EXPECT_EQ(RawPreviewMode, 7);
    Tabs().ShowSelectedPane(c.id);
    EXPECT_EQ(RawPreviewMode, c.previewMode);
    EXPECT_EQ(Tabs().VideoWindowShown, c.videoShown);
    const std::vector<int> expected = c.id < 12 ? std::vector<int>{c.id} : std::vector<int>{};
    EXPECT_EQ(ShownPanes(), expected);
    // The video pane is never hidden: it lies under the others.
    EXPECT_TRUE(Tabs().PaneWindow(12)->IsWindowVisible());
    if (c.id < 13) {
      EXPECT_EQ(Tabs().GetCurrentPane(), c.id);
    }
  }
  // With the video window floating every pane keeps it shown.
  Tabs().VideoWindowFloating = 1;
  Tabs().ShowSelectedPane(4);
  EXPECT_EQ(Tabs().VideoWindowShown, 1);
  Tabs().VideoWindowFloating = 0;
}

TEST_F(WorkspaceWindow, ClickedTabsShowTheirPanes) {
  // The Search tab clicked while its strip shows "Artifact" makes the artifact pane current.
  Tabs().SearchStrip->SetCurSel(3);
  ASSERT_TRUE(Tabs().ClickTab(6));
  EXPECT_EQ(Tabs().CurrentPane, 8);
  EXPECT_EQ(ShownPanes(), std::vector<int>{8});
  // A button of the strip chosen: its pane.
  ASSERT_TRUE(Tabs().SearchStrip->ClickTab(1));
  EXPECT_EQ(Tabs().CurrentPane, 9);
  EXPECT_EQ(ShownPanes(), std::vector<int>{9});
  // Zoom, then the mark pane: the preview mode goes back to 0 and the mark list refills.
  ASSERT_TRUE(Tabs().ClickTab(1));
  EXPECT_EQ(RawPreviewMode, 4);
  ASSERT_NE(Frame().WorkspaceView()->MarkView(), nullptr);
  const int updates = Frame().WorkspaceView()->MarkView()->Updates;
  ASSERT_TRUE(Tabs().ClickTab(7));
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_EQ(Frame().WorkspaceView()->MarkView()->Updates, updates + 1);
  ASSERT_TRUE(Tabs().FFTStrip->ClickTab(0));
  Tabs().ClickTab(3);
  EXPECT_EQ(Tabs().CurrentPane, 2);
  EXPECT_EQ(RawPreviewMode, 2);
}

TEST_F(WorkspaceWindow, LogicPaneIsActiveOnlyWithResultsAndNoScreening) {
  Tabs().SelectPane(4);
  ResultModifiedState = 0;
  EXPECT_FALSE(Tabs().IsLogicPaneActive());
  ResultModifiedState = 1;
  EXPECT_TRUE(Tabs().IsLogicPaneActive());
  ScreeningRunning = 1;
  EXPECT_FALSE(Tabs().IsLogicPaneActive());
  ScreeningRunning = 0;
  Tabs().SelectPane(0);
  EXPECT_FALSE(Tabs().IsLogicPaneActive());
}

TEST(WorkspaceFractions, FloatingAndDockingKeepTheLowerRowsSplit) {
  struct Case {
    const char* what;
    std::uint16_t trend;
    bool dock;
    FloatGeometry after;
  };
  // Before: saved column 0.3, saved row 0.6, row 0.5, column 0.4.
  const Case cases[] = {
      {"float, trend docked: the trend takes the row", kDockShown, false, {0.4, 0.6, 0.5, 1.0}},
      {"float, trend floating: the raw window takes all", kDockFloating, false, {0.3, 0.5, 1.0, 1.0}},
      {"float, trend hidden: nothing changes", kDockHidden, false, {0.3, 0.6, 0.5, 0.4}},
      {"dock, trend docked: the saved column", kDockShown, true, {0.3, 0.6, 0.5, 0.3}},
      {"dock, trend floating: the saved row", kDockFloating, true, {0.3, 0.6, 0.6, 0.0}},
      {"dock, trend hidden: the row stays", kDockHidden, true, {0.3, 0.6, 0.5, 0.0}},
  };
  for (const Case& c : cases) {
    FloatGeometry g{0.3, 0.6, 0.5, 0.4};
    if (c.dock) DockFractions(c.trend, g);
    else FloatFractions(c.trend, g);
    EXPECT_DOUBLE_EQ(g.savedColumn, c.after.savedColumn) << c.what;
    EXPECT_DOUBLE_EQ(g.savedRow, c.after.savedRow) << c.what;
    EXPECT_DOUBLE_EQ(g.row, c.after.row) << c.what;
    EXPECT_DOUBLE_EQ(g.column, c.after.column) << c.what;
  }
}

TEST_F(WorkspaceWindow, MenuRulesEnableAndCheckTheCommands) {
  struct Case {
    const char* what;
    std::uint32_t id;
    std::function<void()> set;
    bool enabled;
    int check;
  };
  LyrWorkspaceZoomView* zoom = Tabs().ZoomPane;
  ASSERT_NE(zoom, nullptr);
  const Case cases[] = {
      {"Float while docked", 32773, [] { WorkspaceWindowDockState = kDockShown; }, true, 0},
      {"Docking while docked", 32774, [] { WorkspaceWindowDockState = kDockShown; }, false, 1},
      {"Float while floating", 32773, [] { WorkspaceWindowDockState = kDockFloating; }, false, 1},
      {"Docking while floating", 32774, [] { WorkspaceWindowDockState = kDockFloating; }, true, 0},
      {"gain x1/3 at 0.3", 32970, [zoom] { zoom->Gain = 0.3; }, true, 1},
      {"gain x1/3 at one third", 32970, [zoom] { zoom->Gain = 1.0 / 3.0; }, true, 0},
      {"gain x10", 32964, [zoom] { zoom->Gain = 10.0; }, true, 1},
      {"area 2 sec.", 32962, [zoom] { zoom->AreaMode = 2; }, true, 1},
      {"area while screening", 32962, [] { ScreeningRunning = 1; }, false, 1},
      {"latency without a channel shown", 32974, [] {}, false, 0},
      {"peak detect in its mode", 32975, [zoom] { zoom->Mode = 5; }, false, 1},
      {"bind up csv", 33164, [] {}, true, -1},
      {"bind up csv while screening", 33164, [] { ScreeningRunning = 1; }, false, -1},
      {"bind up csv without a recording", 33164, [] { DocumentLoaded = 0; }, false, -1},
  };
  for (const Case& c : cases) {
    WorkspaceWindowDockState = kDockShown;
    ScreeningRunning = 0;
    DocumentLoaded = 1;
    zoom->Mode = 0;
    c.set();
    const ui::CmdUI state = ui::QueryCommandState(WsFrame(), c.id);
    EXPECT_EQ(state.IsEnabled(), c.enabled) << c.what;
    if (c.check >= 0) {
      EXPECT_EQ(state.Checked(), c.check) << c.what;
    }
  }
  ScreeningRunning = 0;
  WorkspaceWindowDockState = kDockShown;
}

TEST_F(WorkspaceWindow, ZoomCommandsBringTheZoomPaneForward) {
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32970));
  EXPECT_EQ(Tabs().CurrentPane, 1);
  EXPECT_DOUBLE_EQ(Tabs().ZoomPane->Gain, 0.3);
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32963));
  EXPECT_EQ(Tabs().ZoomPane->AreaMode, 3);
}

TEST_F(WorkspaceWindow, ArrowAndPageKeysStepTheWavesExceptWhileScreening) {
  ui::Window* pane = Tabs().PaneWindow(0);
  struct Case {
    std::uint32_t vk;
    int screening;
    int epochAfter;
  };
  // From epoch 4 (page 0 of 8 epochs): Right steps one epoch, Page Down a page.
  for (const Case& c : {Case{ui::VK_RIGHT, 0, 5}, Case{ui::VK_LEFT, 0, 3}, Case{ui::VK_NEXT, 0, 8},
                        Case{ui::VK_PRIOR, 1, 4}, Case{ui::VK_RIGHT, 1, 4}}) {
    GoTo(4);
    ScreeningRunning = static_cast<std::uint16_t>(c.screening);
    testhooks::PressKey(*pane, c.vk);
    EXPECT_EQ(Epoch(), c.epochAfter) << "key " << c.vk << " screening " << c.screening;
  }
  ScreeningRunning = 0;
}

class WorkspaceScreens : public AppTest {
 protected:
  void TearDown() override {
    testhooks::SetVirtualScreen(0, 0, 0, 0);
    AppTest::TearDown();
  }
};

TEST_F(WorkspaceScreens, TabsWrapFrom1280PixelsAndTakeTheLanguagesFont) {
  testhooks::SetVirtualScreen(1024, 768, 340, 270);
  ASSERT_TRUE(Start());
  LyrWorkspaceAreaTabCtrl& tabs = Frame().WorkspaceTabs;
  EXPECT_FALSE(tabs.IsMultiLine());
  // One line where the tabs fit; a narrower strip still wraps them so that none is out of reach.
  Frame().WorkspaceView()->MoveWindow(draw::RectFromSize(0, 0, 1000, 400));
  EXPECT_EQ(tabs.GetRowCount(), 1);
  EXPECT_EQ(tabs.GetFontHeight(), 10);
  Stop();

  testhooks::SetVirtualScreen(1280, 1024, 340, 270);
  setenv("LANG", "ja_JP.UTF-8", 1);
  sys::ResetThreadLocaleForTesting();
  ASSERT_TRUE(Start());
  LyrWorkspaceAreaTabCtrl& wide = Frame().WorkspaceTabs;
  EXPECT_TRUE(wide.IsMultiLine());
  Frame().WorkspaceView()->MoveWindow(draw::RectFromSize(0, 0, 300, 400));
  EXPECT_GT(wide.GetRowCount(), 1);
  EXPECT_EQ(wide.GetFontHeight(), 12);
  EXPECT_EQ(wide.SearchStrip->GetFontHeight(), 12);
  // The Japanese menu: the same items with their access keys in brackets.
  ui::Menu* menu = Frame().WorkspaceView()->Frame()->GetMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->ItemAt(0).text, "Analysis(&A)");
  ASSERT_NE(menu->GetSubMenu(0), nullptr);
  EXPECT_EQ(menu->GetSubMenu(0)->ItemAt(0).text, "FFT Channels(&C)");
}

}  // namespace

namespace {

class WorkspaceMenu : public WorkspaceWindow {
 protected:
  LyrWorkspaceEmptyPane& Pane(int id) { return *dynamic_cast<LyrWorkspaceEmptyPane*>(Tabs().PaneWindow(id)); }
};

TEST_F(WorkspaceMenu, UsualEnableFollowsRecordingScreeningAndMultiScreening) {
  for (std::uint32_t id : {32828u, 32824u, 32826u, 32825u, 32846u, 32832u, 32956u, 32959u, 33066u, 32849u, 32850u,
                           33163u, 33044u}) {
    SCOPED_TRACE(id);
    DocumentLoaded = 1;
    EXPECT_TRUE(ui::QueryCommandState(WsFrame(), id).IsEnabled());
    ScreeningRunning = 1;
    EXPECT_FALSE(ui::QueryCommandState(WsFrame(), id).IsEnabled());
    ScreeningRunning = 0;
    DocumentLoaded = 0;
    EXPECT_FALSE(ui::QueryCommandState(WsFrame(), id).IsEnabled());
  }
  DocumentLoaded = 1;
  // Marks need marks in the recording.
  EXPECT_FALSE(ui::QueryCommandState(WsFrame(), 33152).IsEnabled());
  Doc().Marks.SetMarksPresent(1);
  EXPECT_TRUE(ui::QueryCommandState(WsFrame(), 33152).IsEnabled());
  Doc().Marks.SetMarksPresent(0);
}

TEST_F(WorkspaceMenu, TextOutputsWithoutTheirTableRunTheSetupFirst) {
  testhooks::Reset();
  // No episodes: the set-up runs; cancelled, the list stays empty and no output dialog shows.
  testhooks::ScriptDialog(185, [](ui::Dialog& d) { d.EndDialog(ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32850));
  EXPECT_EQ(testhooks::ShownDialogs(), std::vector<int>{185});
  EXPECT_EQ(Tabs().CurrentPane, 5);

  // Stage graph print with an empty table prints only after the set-up's OK.
  testhooks::Reset();
  testhooks::ScriptDialog(187, [](ui::Dialog& d) { d.EndDialog(ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 33066));
  EXPECT_EQ(testhooks::ShownDialogs(), std::vector<int>{187});
  EXPECT_EQ(testhooks::UnansweredCount(), 0) << "no print dialog after a cancelled set-up";
  EXPECT_EQ(Tabs().CurrentPane, 6);
  testhooks::Reset();
}

TEST_F(WorkspaceMenu, PageSpectrumChannelsSwitchTheDividedPageMode) {
  LyrWorkspaceEmptyPane& epoch = Pane(3);
  Doc().Params.fftPageChannels.channels = {0, -1, -1};
  DividedFftMode = 0;
  // "Select Channels" in its page mode: OK keeps channel 0, then C&lear and OK leave none.
  testhooks::ScriptDialog(171, [](ui::Dialog& d) { testhooks::ClickControl(d, ui::IDOK); });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32824));
  EXPECT_EQ(DividedFftMode, 1);
  testhooks::ScriptDialog(171, [](ui::Dialog& d) {
    testhooks::ClickControl(d, 1681);
    testhooks::ClickControl(d, ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32824));
  EXPECT_EQ(Doc().Params.fftPageChannels.channels, (std::array<std::int32_t, 3>{-1, -1, -1}));
  EXPECT_EQ(DividedFftMode, 0);
  // The page-spectrum pane's popup sends the command to the main frame, which passes it on.
  epoch.DialogsRun.clear();
  Frame().SendMessage(ui::WM_COMMAND, 32825, 0);
  EXPECT_EQ(epoch.DialogsRun, std::vector<std::uint32_t>{32825});
}

}  // namespace

namespace {

TEST_F(WorkspaceWindow, FloatsWithItsMenuAndDocksBack) {
  TrendWindowDockState = kDockShown;
  PaneColumnRatio = 0.4;
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32773));
  EXPECT_FALSE(WsFrame().IsDocked());
  EXPECT_EQ(WsFrame().GetParent(), nullptr);
  EXPECT_EQ(WorkspaceWindowDockState, kDockFloating);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, 1.0) << "the trend window takes the lower row";
  EXPECT_DOUBLE_EQ(SavedPaneColumnRatio, 0.4);
  ASSERT_NE(WsFrame().GetMenu(), nullptr);
  EXPECT_FALSE(WsFrame().IsCloseEnabled());
  WsFrame().SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(WsFrame().IsWindowVisible()) << "its caption cannot close it";
  // Keys still reach the wave page from the floating window.
  GoTo(4);
  testhooks::PressKey(*Tabs().PaneWindow(0), ui::VK_RIGHT);
  EXPECT_EQ(Epoch(), 5);
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 32774));
  EXPECT_TRUE(WsFrame().IsDocked());
  EXPECT_EQ(WsFrame().GetParent(), Frame().WorkspaceView());
  EXPECT_EQ(WorkspaceWindowDockState, kDockShown);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, 0.4);
}

}  // namespace
