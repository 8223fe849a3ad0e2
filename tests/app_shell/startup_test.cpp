#include <filesystem>
#include <fstream>

#include "app/frame/program_settings.h"
#include "app/frame/resume_file.h"
#include "app_fixture.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "platform/ui/splitter.h"

using Startup = AppTest;

TEST_F(Startup, ShowsTheMainWindowWithTitleMenuAndPanes) {
  ASSERT_TRUE(Start());
  CMainFrame& frame = Frame();
  EXPECT_EQ(frame.GetWindowText(), "Vellisom");
  ASSERT_NE(frame.GetMenu(), nullptr);
  ASSERT_EQ(frame.GetMenu()->GetItemCount(), 5);
  EXPECT_EQ(frame.GetMenu()->ItemAt(0).text, "&File");
  ASSERT_NE(frame.RawView(), nullptr);
  ASSERT_NE(frame.TrendView(), nullptr);
  ASSERT_NE(frame.WorkspaceView(), nullptr);
  EXPECT_EQ(frame.GetActiveView(), reinterpret_cast<ui::View*>(frame.RawView()));
  EXPECT_EQ(frame.GetDocument(), app_->Document());
  EXPECT_EQ(DocumentLoaded, 0);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(Startup, LayoutPanesSizesTheRawRowAndTrendColumnFromTheRatios) {
  ASSERT_TRUE(Start());
  CMainFrame& frame = Frame();
  frame.ShowWindow(ui::SW_SHOWNORMAL);
  frame.MoveWindow(ui::Rect{0, 0, 1200, 900});
  PaneRowRatio = 0.5;
  PaneColumnRatio = 0.6;
  frame.LayoutPanes();
  const ui::Rect outer = frame.OuterSplitter()->GetClientRect();
  const ui::Rect inner = frame.InnerSplitter()->GetClientRect();
  ASSERT_GT(outer.Height(), 100);
  EXPECT_EQ(frame.OuterSplitter()->GetRowIdeal(0), static_cast<int>(outer.Height() * 0.5));
  EXPECT_EQ(frame.InnerSplitter()->GetColumnIdeal(0), static_cast<int>(outer.Width() * 0.6));
  EXPECT_EQ(frame.RawView()->GetClientRect().Height(), static_cast<int>(outer.Height() * 0.5));
  EXPECT_GT(inner.Width(), 0);

  PaneRowRatio = 0.25;
  frame.LayoutPanes();
  EXPECT_EQ(frame.RawView()->GetClientRect().Height(), static_cast<int>(outer.Height() * 0.25));
}

TEST_F(Startup, DockStatesComeFromTheStoredRatios) {
  struct Case {
    double row, column;
    std::uint16_t trend, workspace;
  };
  const Case cases[] = {{0.5, 0.005, 2, 1}, {0.5, 0.995, 1, 2}, {0.995, 0.6, 2, 2}, {0.5, 0.6, 1, 1}};
  for (const Case& c : cases) {
    // The ratios reach the frame through the settings file, as on a real start.
    SetDefaultSettings();
    PaneRowRatio = c.row;
    PaneColumnRatio = c.column;
    AnalysisParamBlocks blocks;
    std::vector<LyrChInfo> channels(32);
    ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks, channels), 1);
    PaneRowRatio = PaneColumnRatio = 0.3;
    ASSERT_TRUE(Start());
    EXPECT_EQ(TrendWindowDockState, c.trend) << "row " << c.row << " column " << c.column;
    EXPECT_EQ(WorkspaceWindowDockState, c.workspace) << "row " << c.row << " column " << c.column;
    Stop();
  }
}

TEST_F(Startup, LanguageFileAndLocaleChooseTheMenus) {
  setenv("LANG", "ja_JP.UTF-8", 1);
  sys::ResetThreadLocaleForTesting();
  ASSERT_TRUE(Start());
  EXPECT_EQ(app_->EnglishMode, 0);
  EXPECT_EQ(Frame().GetMenu()->ItemAt(0).text, "ファイル(&F)");
  Stop();

  folder_->WriteFile("Language.md", "english \n");
  sys::ResetThreadLocaleForTesting();
  ASSERT_TRUE(Start());
  EXPECT_EQ(app_->EnglishMode, 0) << "a trailing blank is not the word english";
  Stop();

  folder_->WriteFile("Language.md", "ENGLISH\n");
  sys::ResetThreadLocaleForTesting();
  ASSERT_TRUE(Start());
  EXPECT_EQ(app_->EnglishMode, 1);
  EXPECT_EQ(sys::GetThreadLocale(), 1033u);
  EXPECT_EQ(Frame().GetMenu()->ItemAt(0).text, "&File");
}

TEST_F(Startup, AnimalOnlyModeWritesTheAnimalSettingOnTheFirstStartOnly) {
  folder_->WriteFile("QX_Setting.ini", "[AnimalHuman]\nAnimalOnly=2\n[DSIReader]\nDSIOnly=abc\n");
  ASSERT_FALSE(std::filesystem::exists(ResumeFile::Path()));
  ASSERT_TRUE(Start());
  EXPECT_EQ(AnimalOnlyMode, 1);
  EXPECT_EQ(DsiOnlyMode, 0);
  EXPECT_EQ(EpochSeconds, 10);
  EXPECT_EQ(PageSeconds, 40);
  EXPECT_TRUE(std::filesystem::exists(ResumeFile::Path())) << "the first start creates the settings file";
  Stop();

  EpochSeconds = 30;
  ASSERT_TRUE(Start());
  EXPECT_EQ(EpochSeconds, 10) << "the second start reads the file it wrote";
  EXPECT_EQ(app_->ReadSetting(nullptr, nullptr), 1);
}

TEST_F(Startup, RecentFileListOfTenSurvivesARestart) {
  ASSERT_TRUE(Start());
  for (int i = 1; i <= 12; ++i) app_->AddToRecentFileList("/data/night" + std::to_string(i) + ".fyd");
  Stop();
  ASSERT_TRUE(Start());
  ASSERT_EQ(app_->RecentFiles().size(), 10u);
  EXPECT_EQ(app_->RecentFiles().front(), "/data/night12.fyd");
  EXPECT_EQ(app_->RecentFiles().back(), "/data/night3.fyd");
}

TEST_F(Startup, AutoPlaySwitchSelectsAnEntryAndNeverOpensAnEmptyPath) {
  ASSERT_TRUE(Start({"/AutoPlay", "/3"}));
  EXPECT_EQ(Frame().AutoPlayStart, 1);
  EXPECT_EQ(Frame().AutoPlayEntry, 2);
  // No video player library beside the program: it cannot be bound, so there is no list.
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Failure in initialization processing.\nPlease install DirectxX.",
                                                  "There is no Auto play information. Cannot run VideoPlayer."}));
  EXPECT_EQ(Doc().GetPathName(), "") << "no recording is opened from an empty auto-play path";
  Stop();

  testhooks::Reset();
  ASSERT_TRUE(Start({"/AutoPlay"}));
  EXPECT_EQ(Frame().AutoPlayStart, 0);
  EXPECT_EQ(Frame().AutoPlayEntry, -1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(Startup, ClosingTheMainWindowKeepsTheSettingsAndEndsSilentOpen) {
  ASSERT_TRUE(Start());
  ASSERT_FALSE(std::filesystem::exists(ResumeFile::Path()));
  Frame().SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(std::filesystem::exists(ResumeFile::Path()));
  std::ifstream ini(folder_->Path() + "/RXQD_IMP_DSI.ini");
  const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("UseAuto=0"), std::string::npos) << text;
}

TEST_F(Startup, CtrlHeldGivesDefaultsAndReadsNoSettingsPart) {
  SetDefaultSettings();
  EpochSeconds = 20;
  PageSeconds = 40;
  AnalysisParamBlocks blocks;
  blocks.logicOption.lastStageMode = 0;
  std::vector<LyrChInfo> channels(32);
  ASSERT_EQ(ResumeFile::Write(ResumeFile::Path(), blocks, channels), 1);

  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  ASSERT_TRUE(Start());
  EXPECT_EQ(EpochSeconds, 4) << "defaults while Ctrl is held";
  EpochSeconds = 30;
  EXPECT_EQ(Frame().ReadResumeFile(0), 0);
  EXPECT_EQ(Frame().ReadResumeFile(1), 0);
  EXPECT_EQ(EpochSeconds, 30) << "nothing is read while Ctrl is held";

  sys::SetKeyStateForTesting(sys::VirtualKey::Control, false);
  EXPECT_EQ(Frame().ReadResumeFile(0), 1);
  EXPECT_EQ(EpochSeconds, 20);
}
