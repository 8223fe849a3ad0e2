// A night scored by keys, saved with the result-file save command, closed and reopened, then
// its result file opened with the result-file open command and by a dropped ".RAF": the stages
// come back each time. Every step goes through the frame's real command and key routing.
#include "app/document/byte_image.h"
#include "open_save_fixture.h"
#include "platform/system/file_system.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kFileClose = 57600;
constexpr std::uint32_t kResultOpen = 33009;
constexpr std::uint32_t kResultSave = 33010;

class ScoreSaveReopen : public OpenSaveTest {
 protected:
  std::vector<int> Stages() {
    std::vector<int> s;
    for (int e = 0; e < Doc().EpochTables.EpochCount(); ++e) s.push_back(Doc().EpochTables.GetStage(0, e, 0));
    return s;
  }
  void Close() {
    testhooks::Reset();
    ASSERT_TRUE(ui::ExecuteCommand(Frame(), kFileClose));
    EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << "saved results close without a question";
    EXPECT_EQ(DocumentLoaded, 0);
  }
};

TEST_F(ScoreSaveReopen, StagesComeBackThroughBothResultRoads) {
  ASSERT_TRUE(Start());
  EpochSeconds = 30;
  PageSeconds = 30;
  // A folder named in Japanese, the program in English: the stored path finds it again.
  ASSERT_EQ(res::CurrentLanguage(), res::Language::English);
  std::filesystem::create_directory(folder_->Path() + "/夜間記録");
  const std::string night = WriteNight("夜間記録/night.fyd");
  ASSERT_NE(app_->OpenDocumentFile(night), nullptr);
  Doc().Params.stageType.stageType = 0;
  ASSERT_EQ(Doc().EpochTables.EpochCount(), 6);
  // Keypad digits score the current epoch and move on: W, R, 1, 2, 3, 4.
  for (std::uint32_t key : {0u, 5u, 1u, 2u, 3u, 4u}) testhooks::SendToolkitKey(Frame(), ui::VK_NUMPAD0 + key);
  const std::vector<int> scored = Stages();
  EXPECT_EQ(scored, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(ResultModifiedState, 2);

  const std::string raf = folder_->Path() + "/夜間記録/night.RAF";
  EXPECT_TRUE(ui::QueryCommandState(Frame(), kResultSave).IsEnabled());
  testhooks::AnswerFileDialog(ui::IDOK, {raf});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kResultSave));
  ASSERT_TRUE(std::filesystem::exists(raf));
  EXPECT_NE(ResultModifiedState, 2);
  Close();
  EXPECT_FALSE(ui::QueryCommandState(Frame(), kResultSave).IsEnabled());

  // Reopened, the recording has no stages until its result file is opened.
  ASSERT_NE(app_->OpenDocumentFile(night), nullptr);
  EXPECT_EQ(Stages(), std::vector<int>(6, 0));
  testhooks::AnswerFileDialog(ui::IDOK, {raf});
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kResultOpen));
  EXPECT_EQ(Stages(), scored);
  Close();

  // Dropped on the window with no recording open: the recording named inside opens first.
  testhooks::Reset();
  testhooks::DropFiles(Frame(), {raf});
  testhooks::ProcessMessages();
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  ASSERT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Doc().RecordInfo.path, night);
  EXPECT_EQ(Stages(), scored);
}

// Paths written in the language's code page by earlier versions are still read.
TEST(StoredPaths, Utf8OrTheCodePageOfEarlierFiles) {
  std::array<std::uint8_t, 40> field{};
  bytes::PutPath(field, 0, 40, "/data/夜間/a.fyd");
  EXPECT_EQ(bytes::GetPath(field, 0, 40), "/data/夜間/a.fyd");
  field.fill(0);
  const std::string latin = "/data/caf\xe9/a.fyd";  // code page 1252
  std::copy(latin.begin(), latin.end(), field.begin());
  EXPECT_EQ(bytes::GetPath(field, 0, 40), "/data/café/a.fyd");
}

}  // namespace

namespace {

// An own raw file is read-only while it is the recording; File > Exit and a close of the main
// window by the window manager both give the user's permissions back.
TEST_F(ScoreSaveReopen, ExitGivesTheRawFileItsPermissionsBack) {
  for (const char* road : {"File > Exit", "window manager"}) {
    SCOPED_TRACE(road);
    ASSERT_TRUE(Start());
    const std::string night = WriteNight(std::string(road) == "File > Exit" ? "exit.fyd" : "wm.fyd");
    ASSERT_NE(app_->OpenDocumentFile(night), nullptr);
    EXPECT_TRUE(sys::IsReadOnly(night));
    if (std::string(road) == "File > Exit") {
      ASSERT_TRUE(ui::ExecuteCommand(Frame(), 57665));
    } else {
      Frame().SendMessage(ui::WM_CLOSE);
    }
    testhooks::ProcessMessages();
    EXPECT_FALSE(sys::IsReadOnly(night));
    Stop();
  }
}

}  // namespace
