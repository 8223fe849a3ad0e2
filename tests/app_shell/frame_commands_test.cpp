// The main frame's menus and window commands: icon, user programs, the video file entry and
// its command, the result-compare window, and the video library let go when a recording closes.
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/video/cvp_info_exchange.h"
#include "app_shell/app_fixture.h"
#include "platform/ui/command.h"
#include "platform/ui/menu.h"

namespace {

constexpr std::uint32_t kUserProgramIds[] = {33123, 32992, 32993, 32994, 32995, 32996, 32997, 32998, 32999, 33000};

class FrameCommands : public AppTest {
 protected:
  void TearDown() override {
    UserProgramTable = UserProgramList{};
    AppTest::TearDown();
  }
  void InstallPlayer() {
    const char* bin = std::getenv("QLM_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    std::filesystem::copy_file(std::string(bin) + "/" + kVideoPlayerLibraryName,
                               folder_->Path() + "/" + kVideoPlayerLibraryName);
  }
  ui::Menu& Tool() { return *Frame().GetMenu()->GetSubMenu(3); }
};

TEST_F(FrameCommands, WindowHasItsIcon) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Frame().HasIcon());
}

TEST_F(FrameCommands, UserProgramEntriesFollowTheTable) {
  ASSERT_TRUE(Start());
  auto present = [&] {
    std::string s;
    for (std::uint32_t id : kUserProgramIds) s += Tool().FindPosition(id) >= 0 ? '1' : '0';
    return s;
  };
  EXPECT_EQ(present(), "0000000000");
  UserProgramTable.count = 3;
  UserProgramTable.entries[0].name = "Viewer";
  UserProgramTable.entries[1].name = "Export";
  UserProgramTable.entries[2].name = "Notes";
  Frame().BuildUserProgramMenu();
  EXPECT_EQ(present(), "1110000000");
  EXPECT_EQ(Tool().GetItemText(32992), "Export");
  // The entries follow "User Program Add..." in table order, also after rebuilding.
  Frame().BuildUserProgramMenu();
  const int add = Tool().FindPosition(33001);
  EXPECT_EQ(Tool().FindPosition(33123), add + 1);
  EXPECT_EQ(Tool().FindPosition(32993), add + 3);
  UserProgramTable.count = 0;
  Frame().BuildUserProgramMenu();
  EXPECT_EQ(present(), "0000000000");
}

TEST_F(FrameCommands, UserProgramStartsItsCommandLine) {
  ASSERT_TRUE(Start());
  const std::string marker = folder_->Path() + "/started by user program";
  UserProgramTable.count = 1;
  UserProgramTable.entries[0].name = "Touch";
  UserProgramTable.entries[0].commandLine = "/usr/bin/touch \"" + marker + "\"";
  Frame().BuildUserProgramMenu();
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33123));
  for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i) usleep(10000);
  EXPECT_TRUE(std::filesystem::exists(marker));
  // An entry beyond the table's count starts nothing.
  Frame().RunUserProgram(5);
}

TEST_F(FrameCommands, VideoFileEntryOnlyWithThePlayerBesideTheProgram) {
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Frame().GetMenu()->Contains(ID_VIDEO_FILE_OPEN));
  Stop();
  InstallPlayer();
  ASSERT_TRUE(Start());
  ui::Menu& file = *Frame().GetMenu()->GetSubMenu(0);
  const int save = file.FindPosition(33010);
  ASSERT_GE(save, 0);
  EXPECT_EQ(file.FindPosition(ID_VIDEO_FILE_OPEN), save + 1);
  EXPECT_EQ(file.ItemAt(save + 2).kind, ui::MenuItem::Kind::Separator);
  const int items = file.GetItemCount();
  Frame().AddVideoMenuItem();
  EXPECT_EQ(file.GetItemCount(), items) << "added once";
}

TEST_F(FrameCommands, VideoOfAnotherNameAnsweredNoChangesNothing) {
  InstallPlayer();
  ASSERT_TRUE(Start());
  Doc().RecordInfo.path = folder_->Path() + "/night.fyd";
  DocumentLoaded = 1;
  testhooks::AnswerFileDialog(ui::IDOK, {folder_->Path() + "/other.mpg"});
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_VIDEO_FILE_OPEN));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(Frame().VideoLibraryBound, 0);
  EXPECT_EQ(Frame().VideoFilePath, "");
  EXPECT_EQ(Frame().WaveFollowFlag, 1);

  // Same name: the player cannot measure the file, so it is refused and nothing stays open.
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {folder_->Path() + "/night.mpg"});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_VIDEO_FILE_OPEN));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Cannot open this file."});
  EXPECT_EQ(Frame().VideoSyncDlg, nullptr);
  EXPECT_EQ(Frame().WaveFollowFlag, 1);
}

TEST_F(FrameCommands, ResultCompareOpensOneUtilityWindow) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_RESULT_FILE_COMPARE));
  LyrUtilityHypnogramFrame* utility = Frame().ResultCompareFrame;
  ASSERT_NE(utility, nullptr);
  EXPECT_EQ(utility->GetWindowText(), "Hypnogram Utility");
  EXPECT_EQ(utility->m_TimeScaleMinutes, TrendTimeMinutes);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_RESULT_FILE_COMPARE));
  EXPECT_EQ(Frame().ResultCompareFrame, utility);
  utility->SendMessage(ui::WM_CLOSE);
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().ResultCompareFrame, nullptr);
}

TEST_F(FrameCommands, ClosingARecordingLetsTheVideoGoUnlessAutoPlayRuns) {
  InstallPlayer();
  ASSERT_TRUE(Start());
  CVPInfoExchange* video = Frame().VideoController();
  ASSERT_NE(video, nullptr);
  for (int autoPlayEntry : {-1, 0}) {
    SCOPED_TRACE(autoPlayEntry);
    ASSERT_EQ(video->LoadVideoDll(), 1);
    video->ActiveAutoPlayEntry = static_cast<std::int16_t>(autoPlayEntry);
    DocumentLoaded = 1;
    ASSERT_TRUE(Doc().OnNewDocument());
    EXPECT_EQ(Frame().VideoLibraryBound, autoPlayEntry == -1 ? 0 : 1);
  }
}

}  // namespace
