// The video window in the running program over a stand-in player: transport and its button
// states, the mark menu and marking, the location bar's seek rules, the clock line, the video
// menu's states, floating and docking, the start-time reset and its cancel, the sync dialog's
// offset, the split dialog, the wave page's mark and the time pick on the raw page.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/video/lyr_workspace_dlg_video_split.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/video/lyr_workspace_video_location_view.h"
#include "app/video/video_time_pick.h"
#include "app/video/video_wave_sync.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"
#include "tests/app_shell/app_fixture.h"
#include "tests/video_player/fake_player.h"

namespace {

using Bar = LyrWorkspaceDlgVideoBar;

class VideoWindowApp : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    EpochSeconds = 30;
    PageSeconds = 240;
    CQLM2_AnalyzerDoc& doc = Doc();
    doc.RecordSeconds = 1200;
    doc.RecordInfo.channelCount = 1;
    doc.ChInfo[0].rate = 100;
    doc.ChInfo[0].startOffset = 0;
    doc.PageRows = 1;
    doc.CurrentEpoch = 0;
    doc.CurrentPage = 0;
    ASSERT_EQ(doc.EpochTables.SetNew(40, 0, 1, 0, 1), 1);
    DocumentLoaded = 1;
    fake_player::S() = {};
    ws_ = Frame().WorkspaceView();
    ASSERT_NE(ws_, nullptr);
    // Two files: [100, 400) and [402, 700); the second starts 2 s after the first ends.
    const std::filesystem::path folder = folder_->Path();
    for (const char* name : {"a.mpg", "b.mpg"}) std::ofstream((folder / name).string()) << "x";
    a_ = (folder / "a.mpg").string();
    b_ = (folder / "b.mpg").string();
    ws_->Video.BindEntryPoints(fake_player::Table());
    ws_->Video.SetRecords({{100.0, 400.0, a_, {{0.0, 300.0}}}, {402.0, 700.0, b_, {{0.0, 298.0}}}});
    Frame().VideoFilePath = (folder / "set.hdr").string();
    Frame().WorkspaceTabs.SelectPane(12);
    Frame().WorkspaceTabs.ShowSelectedPane(12);
    Frame().WorkspaceTabs.CurrentPane = 12;
    ASSERT_TRUE(Video().CreateIn(Frame().WorkspaceTabs.PaneWindow(12)));
    ASSERT_EQ(ws_->Video.OpenVideo(0), 1);
  }
  void TearDown() override {
    if (ws_ != nullptr && Video().Playing) Video().SetPlaying();
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    RawPreviewMode = 0;
    ClockTimeDisplay = 0;
    AppTest::TearDown();
  }
  LyrWorkspaceVideoFrame& Video() { return ws_->VideoPane; }
  CVPInfoExchange& Player() { return ws_->Video; }
  static ui::CmdUI Update(ui::CommandTarget& target, std::uint32_t id) {
    ui::CmdUI c(id);
    target.OnCmdMsg(id, ui::CmdMode::Update, &c);
    return c;
  }
  static void Run(ui::CommandTarget& target, std::uint32_t id) { target.OnCmdMsg(id, ui::CmdMode::Execute, nullptr); }
  void MarkTypes() {
    ASSERT_EQ(Doc().AllocateMark(), 1);
    Doc().Marks.SetMarksPresent(1);
    for (int t = 0; t < 10; ++t) {
      auto& item = Doc().Params.markType.items[static_cast<std::size_t>(t)];
      item.triggerDetect = t == 2 || t == 5 ? 1 : 0;
      item.show = 1;
      item.name = t == 2 ? "Apnea" : "Move";
    }
  }

  LyrWorkspaceDummyView* ws_ = nullptr;
  std::string a_, b_;
  int savedEpoch_ = 0;
  int savedPage_ = 0;
};

TEST_F(VideoWindowApp, RunStopArmsTheClockAndGuardsTheButtons) {
  LyrWorkspaceVideoFrame& v = Video();
  EXPECT_EQ(v.GetWindowText(), "WorkspaceVideoFrame");
  EXPECT_EQ(v.Bar().GetWindowText(), "VideoToolBar");
  EXPECT_FALSE(v.Bar().Item(static_cast<int>(Bar::kMark)).IsEnabled()) << "M starts disabled";
  Player().ShowVideoAtTime(150.0);
  EXPECT_TRUE(Update(v, Bar::kRunStop).IsEnabled());
  EXPECT_TRUE(Update(v, Bar::kSkipForward).IsEnabled());
  EXPECT_TRUE(Update(v, Bar::kSkipBack).IsEnabled()) << "back to the start of its range";
  EXPECT_FALSE(Update(v, Bar::kMark).IsEnabled());

  Run(v, Bar::kRunStop);
  EXPECT_TRUE(v.Playing);
  EXPECT_TRUE(v.IsTimerArmed(kVideoPlayTimer));
  EXPECT_EQ(v.Bar().Item(static_cast<int>(Bar::kRunStop)).GetText(), "[]");
  EXPECT_TRUE(v.Bar().Item(static_cast<int>(Bar::kMark)).IsEnabled());
  EXPECT_FALSE(Update(v, Bar::kSkipForward).IsEnabled()) << "no skipping while playing";
  EXPECT_FALSE(Update(v, Bar::kSkipBack).IsEnabled());
  EXPECT_FALSE(v.CanSeek()) << "the location bar does not seek while playing";
  if (LyrWorkspaceMarkView* marks = ws_->MarkView()) {
    EXPECT_FALSE(marks->Item(LyrWorkspaceMarkView::kDeleteId).IsEnabled()) << "no deleting marks while playing";
  }

  Run(v, Bar::kRunStop);
  EXPECT_FALSE(v.Playing);
  EXPECT_FALSE(v.IsTimerArmed(kVideoPlayTimer));
  EXPECT_EQ(v.Bar().Item(static_cast<int>(Bar::kRunStop)).GetText(), ">>");
  EXPECT_FALSE(v.Bar().Item(static_cast<int>(Bar::kMark)).IsEnabled());

  // Between the files: no play range holds the time; a frame step reaches one within 2 s.
  Player().CurrentTime = 401.0;
  EXPECT_FALSE(Update(v, Bar::kRunStop).IsEnabled());
  EXPECT_TRUE(Update(v, Bar::kFrameForward).IsEnabled());
  EXPECT_TRUE(Update(v, Bar::kFrameBack).IsEnabled());
  Player().SetRecords({{100.0, 400.0, a_, {{0.0, 300.0}}}, {410.0, 700.0, b_, {{0.0, 290.0}}}});
  Player().CurrentTime = 405.0;
  EXPECT_FALSE(Update(v, Bar::kFrameForward).IsEnabled()) << "the next range is 5 s away";
  EXPECT_FALSE(Update(v, Bar::kFrameBack).IsEnabled());

  // Skip forward goes to the next range's start; automatic paging stops seeking.
  Player().SetRecords({{100.0, 400.0, a_, {{0.0, 300.0}}}, {402.0, 700.0, b_, {{0.0, 298.0}}}});
  Player().ShowVideoAtTime(150.0);
  Run(v, Bar::kSkipForward);
  EXPECT_NEAR(Player().CurrentTime, 402.0, 0.05);
  Frame().AutoPagingMode = 2;
  EXPECT_FALSE(v.CanSeek());
  Frame().AutoPagingMode = 0;
  EXPECT_TRUE(v.CanSeek());
}

TEST_F(VideoWindowApp, MarkMenuMarksTheSpanAndResumesPlayback) {
  MarkTypes();
  LyrWorkspaceVideoFrame& v = Video();
  ResultModifiedState = 1;
  Player().ShowVideoAtTime(110.0);
  v.SetPlaying();
  Player().CurrentTime = 110.0;
  v.ShowMarkMenu();
  EXPECT_EQ(v.MenuState, 0) << "the first press takes the start";
  EXPECT_TRUE(v.Playing);
  Player().CurrentTime = 112.0;
  testhooks::AnswerPopupMenu(kCmdVideoPreMark + 2);  // the second shown type: 5
  v.ShowMarkMenu();
  EXPECT_TRUE(v.Playing) << "stopped for the menu, started again after the choice";
  EXPECT_EQ(fake_player::S().stops, 1);
  EXPECT_EQ(v.MenuState, -1);
  const std::uint8_t* flags = Doc().Marks.Flags(5);
  EXPECT_EQ(flags[1099], 0);
  EXPECT_EQ(flags[1100], 1);
  EXPECT_EQ(flags[1119], 1);
  EXPECT_EQ(flags[1120], 0);
  EXPECT_EQ(Doc().Marks.Count(5), 1) << "the span joins the mark list, not only the flags";
  EXPECT_EQ(ResultModifiedState, 2);

  // Dismissed: playback stays stopped and the menu is idle.
  v.ShowMarkMenu();
  testhooks::AnswerPopupMenu(0);
  v.ShowMarkMenu();
  EXPECT_FALSE(v.Playing);
  EXPECT_EQ(v.MenuState, -1);
}

TEST_F(VideoWindowApp, PreMarkCarriesTheNearestEarlierMarkOnly) {
  MarkTypes();
  LyrWorkspaceVideoFrame& v = Video();
  // No mark within 5 s before 200.0 s: nothing.
  Doc().Marks.SetPoints(2, 1930, 1940, 1);
  v.SetMarkRange(200.0, 203.0, 0);
  EXPECT_EQ(Doc().Marks.Flags(2)[1990], 0);
  EXPECT_EQ(Doc().Marks.Flags(5)[2000], 0);
  // A mark 3 s before carries on to the end.
  Doc().Marks.SetPoints(5, 1965, 1970, 1);
  v.SetMarkRange(200.0, 203.0, 0);
  EXPECT_EQ(Doc().Marks.Flags(5)[1985], 1);
  EXPECT_EQ(Doc().Marks.Flags(5)[2029], 1);
  EXPECT_EQ(Doc().Marks.Flags(5)[2030], 0);
  EXPECT_EQ(Doc().Marks.Flags(2)[2000], 0);
  // Ends swap; past the recording nothing is written.
  v.SetMarkRange(205.0, 204.0, 1);
  EXPECT_EQ(Doc().Marks.Flags(2)[2045], 1);
  v.SetMarkRange(5000.0, 5001.0, 1);
}

TEST_F(VideoWindowApp, ClockLineRedrawsOnlyOnChangeOrForce) {
  LyrWorkspaceVideoTimeView* t = Video().TimeBar();
  ASSERT_NE(t, nullptr);
  ClockTimeDisplay = 0;
  Player().CurrentTime = 130.4;
  t->ShowTime(0);
  const int draws = t->Draws;
  EXPECT_EQ(t->LastText, "01.00:02:10");
  Player().CurrentTime = 130.9;
  t->ShowTime(0);
  EXPECT_EQ(t->Draws, draws) << "same text";
  t->ShowTime(1);
  EXPECT_EQ(t->Draws, draws + 1) << "forced";
  Player().CurrentTime = 131.0;
  t->ShowTime(0);
  EXPECT_EQ(t->Draws, draws + 2);
}

TEST_F(VideoWindowApp, LocationBarSeeksAndDrawsNothingWhenEmpty) {
  LyrWorkspaceVideoLocationView* bar = Video().LocationBar();
  ASSERT_NE(bar, nullptr);
  const ui::Rect r = bar->GetClientRect();
  ASSERT_GT(r.Width(), 0);
  Frame().VideoFollowsWave = 1;
  bar->OnLButtonUp(0, {r.Width() / 4, r.Height() / 2});
  EXPECT_NEAR(Player().CurrentTime, 1200.0 / r.Width() * (r.Width() / 4), 0.1);
  EXPECT_NEAR(ws_->VideoSyncTime, Player().CurrentTime, 0.1) << "the waves follow while synchronised";
  Video().SetPlaying();
  const double before = Player().CurrentTime;
  bar->OnLButtonUp(0, {r.Width() / 2, r.Height() / 2});
  EXPECT_DOUBLE_EQ(Player().CurrentTime, before) << "no seek while playing";
  Video().SetPlaying();
  // A zero-length window: no division, nothing drawn.
  Player().AnalysisEndSeconds = Player().AnalysisStartSeconds;
  const int updates = bar->BandUpdates;
  bar->UpdateBar();
  draw::Image img(20, 20, 32);
  draw::Dc dc(img);
  bar->DrawBar(dc);
  EXPECT_EQ(bar->BandUpdates, updates);
  // A zero-length highlighted segment is still a pixel wide.
  Player().AnalysisEndSeconds = 1200.0;
  bar->SetSegments({{600.0, 600.0}}, 0);
  draw::Image band(r.Width(), r.Height(), 32);
  draw::Dc bandDc(band);
  bar->DrawBand(bandDc);
  int x = 0;
  ASSERT_TRUE(LyrWorkspaceVideoLocationView::XOf(600.0, 0.0, 1200.0, r.Width(), x));
  EXPECT_EQ(band.GetPixel(x, r.Height() - 2), draw::Rgb(100, 250, 100));
}

TEST_F(VideoWindowApp, VideoMenuStatesFloatAndDock) {
  LyrWorkspaceFrame* wf = ws_->Frame();
  ASSERT_NE(wf, nullptr);
  struct Case {
    std::uint32_t id;
    bool enabled;
  };
  Player().RangeFileWritten = 0;
  for (const Case& c : {Case{33106, true}, Case{33107, true}, Case{33108, true}, Case{33109, true},
                        Case{33110, true}, Case{33111, true}, Case{33112, true}, Case{33113, true},
                        Case{33114, false}})
    EXPECT_EQ(Update(*wf, c.id).IsEnabled(), c.enabled) << c.id;
  EXPECT_EQ(Update(*wf, 33109).Checked(), 1);
  Player().RangeFileWritten = 1;
  EXPECT_FALSE(Update(*wf, 33111).IsEnabled());
  EXPECT_TRUE(Update(*wf, 33114).IsEnabled());
  ScreeningRunning = 1;
  for (std::uint32_t id = 33106; id <= 33114; ++id) EXPECT_FALSE(Update(*wf, id).IsEnabled()) << id;
  ScreeningRunning = 0;

  // The time pane goes and comes back; the surface takes its room.
  const int surfaceHeight = Video().Base()->Surface()->GetClientRect().Height();
  Run(*wf, 33109);
  EXPECT_EQ(Video().Bars.time, 0);
  EXPECT_GT(Video().Base()->Surface()->GetClientRect().Height(), surfaceHeight);
  Run(*wf, 33109);
  EXPECT_EQ(Video().Bars.time, 1);

  Run(*wf, 33104);
  EXPECT_EQ(Video().Docked, 0);
  EXPECT_EQ(Video().VideoShowingFlag, 1);
  EXPECT_FALSE(Video().IsDocked());
  // Original size: the floating window's surface takes the picture's own size (320 x 240).
  Run(*wf, 33106);
  testhooks::ProcessMessages();
  const ui::Rect surface = Video().Base()->Surface()->GetClientRect();
  // (no narrower than the transport bar)
  EXPECT_EQ(surface.Width(), std::max(320, Video().Bar().GetClientRect().Width()));
  EXPECT_EQ(surface.Height(), 240);
  Frame().WorkspaceTabs.CurrentPane = 3;
  Run(*wf, 33105);
  EXPECT_EQ(Video().Docked, 1);
  EXPECT_TRUE(Video().IsDocked());
  EXPECT_EQ(Video().VideoShowingFlag, 0) << "docked behind another pane";

  Player().UnloadVideoDll();
  for (std::uint32_t id = 33106; id <= 33114; ++id) EXPECT_FALSE(Update(*wf, id).IsEnabled()) << "unbound " << id;
}

TEST_F(VideoWindowApp, ResetStartTimeAndCancelRestoresTheTable) {
  LyrWorkspaceFrame* wf = ws_->Frame();
  const std::string name = Frame().VideoFilePath;
  // "No" leaves everything.
  testhooks::AnswerMessageBox(ui::IDNO);
  wf->OnVideoResetStartTime();
  EXPECT_DOUBLE_EQ(Player().Records()[0].startTime, 100.0);
  // "Yes": the library is bound anew (here it cannot be: it stays unbound) and the set starts
  // at 0.0 with its lengths.
  testhooks::AnswerMessageBox(ui::IDYES);
  testhooks::AnswerMessageBox(ui::IDOK);
  wf->OnVideoResetStartTime();
  ASSERT_EQ(Player().Records().size(), 2u);
  EXPECT_DOUBLE_EQ(Player().Records()[0].startTime, 0.0);
  EXPECT_DOUBLE_EQ(Player().Records()[0].endTime, 300.0);
  EXPECT_DOUBLE_EQ(Player().Records()[1].startTime, 302.0);
  EXPECT_EQ(Player().Records()[1].ranges, (std::vector<std::pair<double, double>>{{0.0, 298.0}}));
  EXPECT_EQ(Frame().VideoSyncDlg, nullptr) << "no dialog when the set could not be opened";
  EXPECT_EQ(Frame().VideoFollowsWave, 0);

  // The table may have grown meanwhile: the saved one replaces it whole.
  Player().EditRecords().push_back({900.0, 950.0, "c.mpg", {}});
  Frame().VideoFilePath = "other";
  Frame().EndVideoSyncDlg(2);
  ASSERT_EQ(Player().Records().size(), 2u);
  EXPECT_DOUBLE_EQ(Player().Records()[0].startTime, 100.0);
  EXPECT_DOUBLE_EQ(Player().Records()[1].startTime, 402.0);
  EXPECT_EQ(Frame().VideoFilePath, name);
  EXPECT_EQ(Frame().VideoFollowsWave, 1);
  EXPECT_FALSE(ws_->SavedVideo.has_value());
}

TEST_F(VideoWindowApp, SyncDialogStoresMomentMinusPlayerPosition) {
  ClockTimeDisplay = 0;
  Player().ShowVideoAtTime(150.0);
  auto* dlg = new LyrWorkspaceDlgVideoSync(&Doc(), &Frame());
  ASSERT_TRUE(dlg->CreateModeless(&Frame()));
  std::int64_t frame = 0;
  double position = 0.0;
  Player().GetPlayerPosition(frame, position);
  dlg->ShowTime(160.25);
  EXPECT_EQ(dlg->Item(IDC_VS_MILLISECONDS).GetText(), "250");
  dlg->OnOK();
  EXPECT_NEAR(dlg->m_Offset, 160.25 - position, 1e-6);
  dlg->ShowTime(-20.0);
  dlg->OnOK();
  EXPECT_NEAR(dlg->m_Offset, -position, 1e-6) << "a moment before the start counts from 0";

  // Cursor: the dialog hides, the raw page's next click is a time for it, and it shows again.
  dlg->ClickButton(IDC_VS_CURSOR);
  EXPECT_EQ(RawPreviewMode, 3);
  EXPECT_FALSE(dlg->IsWindowVisible());
  EXPECT_EQ(VideoAttached, 0) << "a pick is no edit of the play ranges";
  DeliverVideoTimePick(75.5);
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_TRUE(dlg->IsWindowVisible());
  EXPECT_NEAR(dlg->ChosenMoment(), 75.5, 1e-6);
  dlg->DestroyWindow();
  delete dlg;
  EXPECT_FALSE(VideoTimePickPending());
}

TEST_F(VideoWindowApp, SplitDialogRoundTrip) {
  Doc().VideoSplit = {2, 1, 2};
  testhooks::ScriptDialog(LyrWorkspaceDlgVideoSplit::kTemplateId, [](ui::Dialog& d) {
    EXPECT_EQ(d.Item(9142).GetCheck(), 1);
    EXPECT_EQ(d.Item(1089).GetCheck(), 0);
    d.ClickButton(ui::IDOK);
  });
  ws_->Frame()->OnVideoSplitScreen();
  EXPECT_EQ(Doc().VideoSplit, (std::array<std::uint16_t, 3>{2, 1, 2}));
  testhooks::ScriptDialog(LyrWorkspaceDlgVideoSplit::kTemplateId, [](ui::Dialog& d) {
    d.Item(9186).SetCheck(1);
    EXPECT_EQ(d.Item(9142).GetCheck(), 0) << "one choice among the fourteen";
    d.ClickButton(ui::IDOK);
  });
  ws_->Frame()->OnVideoSplitScreen();
  EXPECT_EQ(Doc().VideoSplit, (std::array<std::uint16_t, 3>{1, 1, 0}));
  EXPECT_EQ(fake_player::S().x, -Video().Base()->Surface()->GetClientRect().Width()) << "the picture placed anew";
}

TEST_F(VideoWindowApp, WaveMarkIsErasableRedOnlyWhileOnThePage) {
  DisplayColors[0] = draw::Rgb(255, 250, 250);
  draw::Image img(800, 300, 32);
  draw::Dc dc(img);
  dc.FillSolidRect(draw::Rect{0, 0, 800, 300}, DisplayColors[0]);
  ws_->VideoSyncTime = 60.0;
  Frame().VideoFollowsWave = 1;
  ws_->DrawVideoCursor(7, &dc);
  ASSERT_NE(ws_->VideoMarkX, 0xFFFF);
  const int x = ws_->VideoMarkX;
  EXPECT_EQ(img.GetPixel(x, 150), draw::Rgb(255, 0, 0));
  ws_->DrawVideoCursor(7, &dc);
  EXPECT_EQ(img.GetPixel(x, 150), DisplayColors[0]) << "a second draw takes it away";
  // Synchronised, the mark moves left by the channel's start offset; not, it does not.
  Doc().ChInfo[0].startOffset = 1000;  // 10 s
  ws_->DrawVideoCursor(13, &dc);
  const int shifted = ws_->VideoMarkX;
  Frame().VideoFollowsWave = 0;
  ws_->DrawVideoCursor(13, &dc);
  EXPECT_LT(shifted, ws_->VideoMarkX);
}

TEST_F(VideoWindowApp, WavePageFollowsTheVideo) {
  Frame().VideoFollowsWave = 1;
  struct Case {
    double seconds;
    int epoch, page;
  };
  // Same page and epoch: only the mark; another epoch on the page; another page; below 0.
  for (const Case& c : {Case{10.0, 0, 0}, Case{95.0, 3, 0}, Case{400.0, 13, 1}, Case{-5.0, 0, 0}}) {
    ws_->SyncWaveToVideo(c.seconds);
    EXPECT_EQ(Doc().CurrentEpoch, c.epoch) << c.seconds;
    EXPECT_EQ(Doc().CurrentPage, c.page) << c.seconds;
    EXPECT_DOUBLE_EQ(ws_->VideoSyncTime, std::max(c.seconds, 0.0));
  }
  EXPECT_EQ(ws_->VideoMarkX, 1) << "at 0 the mark is drawn at 1";
  const int draws = ws_->VideoCursorDraws;
  ws_->SyncWaveToVideo(0.0);
  EXPECT_EQ(ws_->VideoCursorDraws, draws) << "the same time twice does nothing";
}

}  // namespace

namespace {

// A video dialog stand-in that takes picked times.
struct PickTaker : VideoTimePickClient {
  explicit PickTaker(ui::Window* w) : window(w) {}
  void SetStartFromCursor(double s) override { start = s; }
  void SetEndFromCursor(double s) override { end = s; }
  ui::Window* PickWindow() override { return window; }
  ui::Window* window;
  double start = -1.0, end = -1.0;
};

TEST_F(VideoWindowApp, RawPageClickIsTheVideoTimeOfItsColumn) {
  LyrRawDummyView* raw = Frame().RawView();
  ASSERT_NE(raw, nullptr);
  LyrRawAreaView* view = raw->Row(2) != nullptr ? raw->Row(2)->AreaView() : nullptr;
  ASSERT_NE(view, nullptr);
  for (auto& b : Doc().RecordInfo.pageBuffers) b.assign(16, 0.0f);
  Doc().ChInfo[0].startOffset = 50;  // 0.5 s on the video clock
  ASSERT_TRUE(Doc().ChInfo[0].GetReadX(100));
  for (int i = 0; i < 100; ++i) Doc().ChInfo[0].readX[static_cast<std::size_t>(i)] = i * 10;  // 0.1 s a column
  PickTaker taker(nullptr);
  BeginVideoTimePick(kVideoPickEnd, &taker);
  ASSERT_EQ(RawPreviewMode, 3);
  Video().VideoShowingFlag = 1;
  view->OnLButtonUp(0, {40, 5});
  EXPECT_NEAR(taker.end, 4.0 + 0.5, 1e-9) << "the page's start, the column's samples, the start offset";
  EXPECT_DOUBLE_EQ(taker.start, -1.0);
  EXPECT_NEAR(Video().ShownTime, 4.5, 1e-9) << "the shown video moves there";
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_FALSE(VideoTimePickPending());
}

}  // namespace
