// "Edit video files" and "Range setting", driven by control id: the ranges listed, the size
// line, the confirmation before the set is cut, the picks on the waves and the menu commands.
#include <filesystem>
#include <fstream>

#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/ui/command.h"
#include "tests/video_dialogs/video_dialogs_fixture.h"

namespace {

using videodlg::VideoDialogsTest;
using EditDlg = CVPDlgEditFile;
using RangeDlg = LyrWorkspaceDlgVideoRange;

class EditFileDialog : public VideoDialogsTest {
 protected:
  EditDlg& Open(RangeEditMode mode) {
    owner_.OpenEditFile(mode);
    EXPECT_NE(owner_.EditFile(), nullptr);
    return *owner_.EditFile();
  }
  // Adds a range through "Range setting" (times in seconds of day 1).
  RangeDlg* AddThroughDialog(EditDlg& edit, int start, int end) {
    EXPECT_TRUE(edit.ClickButton(EditDlg::kAdd));
    RangeDlg* range = owner_.Range();
    EXPECT_NE(range, nullptr);
    if (range == nullptr) return nullptr;
    SetTime(*range, true, 0, start);
    SetTime(*range, false, 0, end);
    EXPECT_TRUE(range->ClickButton(ui::IDOK));
    return owner_.Range();
  }
};

TEST_F(EditFileDialog, OpensInItsModeWithTheSizeOfTheSet) {
  std::filesystem::create_directories(folder_.Path() + "/night");
  std::ofstream(folder_.Path() + "/night/a.mpg") << std::string(2048, 'a');
  std::ofstream(folder_.Path() + "/night/b.mpg") << std::string(1024, 'b');
  EditDlg& del = Open(RangeEditMode::Delete);
  EXPECT_EQ(del.GetWindowText(), "Edit video files (Delete range)");
  EXPECT_EQ(del.GetDlgItemText(EditDlg::kRangeGroup), "Delete range");
  EXPECT_FALSE(del.Item(EditDlg::kRemove).IsEnabled());
  EXPECT_EQ(del.GetDlgItemText(EditDlg::kSize), "The present size:3.000KB    After edit process:3.000KB");
  // Cutting all of the second file leaves the first one's bytes.
  AddThroughDialog(del, 65, 100);
  EXPECT_EQ(del.GetDlgItemText(EditDlg::kSize), "The present size:3.000KB    After edit process:2.000KB");
  EXPECT_EQ(Open(RangeEditMode::Save).GetWindowText(), "Edit video files (Save range)");
}

TEST_F(EditFileDialog, AddedRangesAreListedAndCheckedInOrder) {
  EditDlg& edit = Open(RangeEditMode::Delete);
  EXPECT_EQ(AddThroughDialog(edit, 10, 20), nullptr);
  EXPECT_TRUE(edit.IsWindowVisible());
  EXPECT_TRUE(edit.Item(EditDlg::kRemove).IsEnabled());
  ASSERT_EQ(edit.Item(EditDlg::kList).GetCount(), 1);
  EXPECT_EQ(edit.Item(EditDlg::kList).GetItemText(0, 1), "01.00:00:10");
  // Backwards times are swapped; the second range then overlaps the first.
  RangeDlg* range = AddThroughDialog(edit, 25, 15);
  ASSERT_NE(range, nullptr);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"The specified area conflicts with registerd area."});
  // Deleting everything else too is refused before the overlap is looked at; the range dialog
  // stays for another try.
  testhooks::Reset();
  SetTime(*range, true, 0, 0);
  SetTime(*range, false, 0, 100);
  ASSERT_TRUE(range->ClickButton(ui::IDOK));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"The specified range is a gamut of this movie data."});
  ASSERT_TRUE(range->ClickButton(ui::IDCANCEL));
  EXPECT_TRUE(edit.IsWindowVisible());
  EXPECT_EQ(edit.Ranges(), (std::vector<VideoRange>{{10, 20}}));
}

TEST_F(EditFileDialog, CancelAtTheConfirmationKeepsTheTable) {
  EditDlg& edit = Open(RangeEditMode::Delete);
  AddThroughDialog(edit, 10, 20);
  const std::vector<VideoFileRecord> before = video_.Records();
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_TRUE(edit.ClickButton(ui::IDOK));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  const auto& box = testhooks::ShownMessageBoxes()[0];
  EXPECT_EQ(box.text, "Click OK to edit the play range of the movie files.");
  EXPECT_EQ(box.type, ui::MB_OKCANCEL | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2);
  EXPECT_EQ(owner_.EditFile(), &edit);
  EXPECT_EQ(video_.Records().front().ranges, before.front().ranges);
  EXPECT_EQ(VideoAttached, 0);

  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(edit.ClickButton(ui::IDOK));
  ui::PumpPendingMessages();
  EXPECT_EQ(owner_.EditFile(), nullptr);
  EXPECT_EQ(video_.Records().front().ranges, (std::vector<VideoRange>{{0, 10}, {20, 60}}));
  EXPECT_EQ(VideoAttached, 1);
}

TEST_F(EditFileDialog, RemoveChecksTheRestAgain) {
  EditDlg& edit = Open(RangeEditMode::Delete);
  AddThroughDialog(edit, 10, 20);
  AddThroughDialog(edit, 30, 40);
  ASSERT_EQ(edit.Ranges().size(), 2u);
  edit.Item(EditDlg::kList).SetSelected(0, true);
  ASSERT_TRUE(edit.ClickButton(EditDlg::kRemove));
  EXPECT_EQ(edit.Ranges(), (std::vector<VideoRange>{{30, 40}}));
  EXPECT_EQ(edit.Item(EditDlg::kList).GetCount(), 1);
  edit.Item(EditDlg::kList).SetSelected(0, true);
  ASSERT_TRUE(edit.ClickButton(EditDlg::kRemove));
  EXPECT_TRUE(edit.Ranges().empty());
  EXPECT_FALSE(edit.Item(EditDlg::kRemove).IsEnabled());
  // With nothing listed OK closes without asking.
  ASSERT_TRUE(edit.ClickButton(ui::IDOK));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(owner_.EditFile(), nullptr);
}

TEST_F(EditFileDialog, CursorPickFillsStartOrEnd) {
  EditDlg& edit = Open(RangeEditMode::Save);
  ASSERT_TRUE(edit.ClickButton(EditDlg::kAdd));
  RangeDlg* range = owner_.Range();
  ASSERT_NE(range, nullptr);
  double shownAt = -1.0;
  owner_.ShowVideoAt = [&shownAt](double t) { shownAt = t; };
  ASSERT_TRUE(range->ClickButton(RangeDlg::kStartCursor));
  EXPECT_FALSE(range->IsWindowVisible());
  EXPECT_EQ(RawPreviewMode, 3);
  EXPECT_EQ(VideoAttached, 0);
  owner_.DeliverPick(33.6);
  EXPECT_EQ(shownAt, 33.6);
  EXPECT_TRUE(range->IsWindowVisible());
  EXPECT_EQ(SecondOfDay(*range, VideoStartEndControls::kStartTime), 33);
  EXPECT_EQ(SecondOfDay(*range, VideoStartEndControls::kEndTime), 100);
  ASSERT_TRUE(range->ClickButton(RangeDlg::kEndCursor));
  EXPECT_EQ(owner_.PickTarget(), kVideoPickEnd);
  owner_.DeliverPick(500.0);  // past the recording: its end
  EXPECT_EQ(SecondOfDay(*range, VideoStartEndControls::kEndTime), 100);
  // A right click gives the pick up: the dialog comes back unchanged.
  ASSERT_TRUE(range->ClickButton(RangeDlg::kStartCursor));
  owner_.CancelPick();
  EXPECT_TRUE(range->IsWindowVisible());
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_EQ(SecondOfDay(*range, VideoStartEndControls::kStartTime), 33);
  EXPECT_EQ(VideoAttached, 0);
}

TEST(VideoDialogCommands, WorkspaceMenuOpensTheDialogs) {
  testhooks::Reset();
  testhooks::TempProgramFolder folder;
  CQLM2_AnalyzerDoc doc;
  LyrWorkspaceDummyView view;
  view.VideoDialogs.Doc = &doc;
  view.VideoDialogs.Video = &view.Video;
  view.Video.AnalysisEndSeconds = 100.0;
  view.Video.SetRecords({videodlg::File(0, 100, {{0, 100}}, "night/a.mpg")});
  LyrWorkspaceFrame frame;
  frame.HostPane = &view;
  const std::int32_t loaded = DocumentLoaded;
  DocumentLoaded = 1;

  ui::CmdUI update(33113);
  ASSERT_TRUE(frame.OnCmdMsg(33113, ui::CmdMode::Update, &update));
  EXPECT_FALSE(update.IsEnabled());  // no video bound
  view.Video.BindEntryPoints(VideoPlayerEntryPoints{});
  ASSERT_TRUE(frame.OnCmdMsg(33113, ui::CmdMode::Update, &update));
  EXPECT_TRUE(update.IsEnabled());
  view.Video.RangeFileWritten = 1;
  ui::CmdUI save(33111);
  ASSERT_TRUE(frame.OnCmdMsg(33111, ui::CmdMode::Update, &save));
  EXPECT_FALSE(save.IsEnabled());

  ASSERT_TRUE(frame.OnCmdMsg(33113, ui::CmdMode::Execute, nullptr));
  EXPECT_NE(view.VideoDialogs.AutoPlay(), nullptr);
  ASSERT_TRUE(frame.OnCmdMsg(33112, ui::CmdMode::Execute, nullptr));
  ASSERT_NE(view.VideoDialogs.EditFile(), nullptr);
  EXPECT_EQ(view.VideoDialogs.EditFile()->Mode(), RangeEditMode::Delete);
  ASSERT_TRUE(frame.OnCmdMsg(33111, ui::CmdMode::Execute, nullptr));
  EXPECT_EQ(view.VideoDialogs.EditFile()->Mode(), RangeEditMode::Save);
  view.VideoDialogs.CloseAll();
  ui::PumpPendingMessages();
  DocumentLoaded = loaded;
}

}  // namespace
