// The auto-play list dialog and its two sub-dialogs, driven by control id: button states, the
// stretch checks, Cancel putting the list back, the text file and the shortcuts.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/system/file_io.h"
#include "platform/system/program_folder.h"
#include "tests/video_dialogs/video_dialogs_fixture.h"

namespace {

using videodlg::VideoDialogsTest;
using List = LyrWorkspaceDlgVideoAutoPlay;
using EntryDlg = LyrWorkspaceDlgVideoAutoPlayRange;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class AutoPlayDialog : public VideoDialogsTest {
 protected:
  List& Open() {
    owner_.OpenAutoPlay();
    EXPECT_NE(owner_.AutoPlay(), nullptr);
    return *owner_.AutoPlay();
  }
  void Select(List& list, int row) {
    list.Item(List::kList).SetSelected(row, true);
    list.UpdateEntryButtons();
  }
  std::vector<bool> States(const List& list) const {
    std::vector<bool> s;
    for (int id : {List::kAdd, List::kDelete, List::kEditRange, List::kEditPath, List::kPreview, List::kTextOutput,
                   List::kShortcut})
      s.push_back(list.Item(id).IsEnabled());
    return s;
  }
};

TEST_F(AutoPlayDialog, ButtonStatesFollowTheListAndTheSelection) {
  // Add, Delete, Edit range, Edit path, Preview, Text output, Shortcut.
  EXPECT_EQ(States(Open()), (std::vector<bool>{true, false, false, false, false, false, false}));

  video_.AutoPlayEntries.assign(21, Entry(10, 20));
  EXPECT_EQ(States(Open()), (std::vector<bool>{false, false, false, false, false, true, true}));

  video_.AutoPlayEntries = {Entry(10, 20), Entry(10, 20, "/elsewhere/other.fyd"), Entry(10, 20), Entry(10, 200)};
  video_.AutoPlayEntries[2].resultPath = "/data/older.raf";
  video_.AutoPlayEntries[3].resultPath.clear();
  struct Case {
    const char* what;
    int row;
    std::vector<bool> states;
  };
  const Case cases[] = {
      {"the open recording's entry", 0, {true, true, true, true, true, true, true}},
      {"another recording's entry", 1, {true, true, false, false, false, true, true}},
      {"another result file of this recording", 2, {true, true, false, false, true, true, true}},
      {"no result file, past the recording's end", 3, {true, true, true, true, false, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    List& list = Open();
    Select(list, c.row);
    EXPECT_EQ(States(list), c.states);
  }
  List& list = Open();
  Select(list, 0);
  Select(list, 1);  // two rows: only Delete of the four
  EXPECT_EQ(States(list), (std::vector<bool>{true, true, false, false, false, true, true}));
}

TEST_F(AutoPlayDialog, AddStoresTheStretchSwappedWhenGivenBackwards) {
  List& list = Open();
  ASSERT_TRUE(list.ClickButton(List::kAdd));
  EXPECT_FALSE(list.IsWindowVisible());
  EntryDlg* entry = owner_.AutoPlayRange();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetWindowText(), "Auto play information (Add)");
  // The whole recording is offered: day 1 from 00:00:00 to 00:01:40.
  EXPECT_EQ(SecondOfDay(*entry, VideoStartEndControls::kEndTime), 100);
  EXPECT_EQ(entry->Item(VideoStartEndControls::kStartTime).GetRangeLow(), 0);
  EXPECT_EQ(entry->Item(VideoStartEndControls::kStartTime).GetRangeHigh(), 100);
  SetTime(*entry, true, 0, 50);
  SetTime(*entry, false, 0, 20);
  entry->SetDlgItemText(EntryDlg::kComment, "arousal");
  ASSERT_TRUE(entry->ClickButton(9142));
  ASSERT_TRUE(entry->ClickButton(ui::IDOK));
  ui::PumpPendingMessages();
  ASSERT_EQ(video_.AutoPlayEntries.size(), 1u);
  const AutoPlayEntry& e = video_.AutoPlayEntries[0];
  EXPECT_EQ(e.startTime, 20.0);
  EXPECT_EQ(e.endTime, 50.0);
  EXPECT_EQ(e.comment, "arousal");
  EXPECT_EQ((std::array<int, 3>{e.splitKind, e.splitColumn, e.splitRow}), (std::array<int, 3>{2, 1, 2}));
  EXPECT_EQ(e.rawPath, RawPath());
  EXPECT_EQ(e.resultPath, "/data/night.raf");
  EXPECT_EQ(e.recordingStart[0], 2026);
  EXPECT_EQ(e.recordingStart[3], 31);
  EXPECT_EQ(owner_.AutoPlayRange(), nullptr);
  EXPECT_TRUE(list.IsWindowVisible());
  EXPECT_EQ(list.Item(List::kList).GetCount(), 1);
  EXPECT_EQ(list.Item(List::kList).GetItemText(0, 6), "lower,middle");
  EXPECT_EQ(list.Item(List::kList).GetItemText(0, 3), "01.00:00:20");
  EXPECT_TRUE(list.Item(List::kTextOutput).IsEnabled());
  EXPECT_TRUE(list.Item(List::kList).IsSelected(0));
}

TEST_F(AutoPlayDialog, RefusedStretchesKeepTheDialogOpen) {
  struct Case {
    const char* what;
    int start, end;
    const char* message;
  };
  const Case cases[] = {
      {"equal times", 30, 30, "The start and end time are same time."},
      {"ends in files 5 s apart", 10, 80, "The specified range has not contiguous movie files."},
      {"a gap between the files", 62, 80, "There is no movie file at start time or end time."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testhooks::Reset();
    List& list = Open();
    ASSERT_TRUE(list.ClickButton(List::kAdd));
    EntryDlg* entry = owner_.AutoPlayRange();
    ASSERT_NE(entry, nullptr);
    SetTime(*entry, true, 0, c.start);
    SetTime(*entry, false, 0, c.end);
    ASSERT_TRUE(entry->ClickButton(ui::IDOK));
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.message});
    EXPECT_EQ(owner_.AutoPlayRange(), entry);
    EXPECT_TRUE(video_.AutoPlayEntries.empty());
  }
}

TEST_F(AutoPlayDialog, CancelPutsBackTheListAndItsFile) {
  video_.AutoPlayEntries = {Entry(10, 20), Entry(30, 40)};
  const std::vector<AutoPlayEntry> before = video_.AutoPlayEntries;
  List& list = Open();
  ASSERT_TRUE(list.ClickButton(List::kAdd));
  SetTime(*owner_.AutoPlayRange(), true, 0, 50);
  SetTime(*owner_.AutoPlayRange(), false, 0, 55);
  ASSERT_TRUE(owner_.AutoPlayRange()->ClickButton(ui::IDOK));
  ASSERT_EQ(video_.AutoPlayEntries.size(), 3u);
  // The new row comes back selected: only the first one goes.
  list.Item(List::kList).SetSelected(2, false);
  Select(list, 0);
  ASSERT_TRUE(list.ClickButton(List::kDelete));
  ASSERT_EQ(video_.AutoPlayEntries.size(), 2u);
  EXPECT_EQ(video_.AutoPlayEntries[0].startTime, 30.0);
  ASSERT_TRUE(list.ClickButton(ui::IDCANCEL));
  ui::PumpPendingMessages();
  EXPECT_EQ(EncodeAutoPlayList(video_.AutoPlayEntries), EncodeAutoPlayList(before));
  EXPECT_EQ(ReadAll(CVPInfoExchange::AutoPlayFilePath()), EncodeAutoPlayList(before));
  EXPECT_EQ(owner_.AutoPlay(), nullptr);
  EXPECT_GT(repaints_, 0);
}

TEST_F(AutoPlayDialog, EditPathChangesTheSelectedEntry) {
  video_.AutoPlayEntries = {Entry(10, 20)};
  List& list = Open();
  Select(list, 0);
  ASSERT_TRUE(list.ClickButton(List::kEditPath));
  LyrWorkspaceDlgVideoEditPath* edit = owner_.EditPath();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetDlgItemText(LyrWorkspaceDlgVideoEditPath::kRawPath), RawPath());
  // The chosen raw file is taken with the raw data extension.
  testhooks::AnswerFileDialog(ui::IDOK, {"/data/moved/night.FYD"});
  ASSERT_TRUE(edit->ClickButton(LyrWorkspaceDlgVideoEditPath::kRawBrowse));
  testhooks::AnswerFileDialog(ui::IDOK, {"/data/moved/night.raf"});
  ASSERT_TRUE(edit->ClickButton(LyrWorkspaceDlgVideoEditPath::kResultBrowse));
  ASSERT_TRUE(edit->ClickButton(ui::IDOK));
  EXPECT_EQ(video_.AutoPlayEntries[0].rawPath, "/data/moved/night.fyd");
  EXPECT_EQ(video_.AutoPlayEntries[0].resultPath, "/data/moved/night.raf");
  EXPECT_EQ(list.Item(List::kList).GetItemText(0, 1), "/data/moved/night.fyd");
}

TEST_F(AutoPlayDialog, TextFileOfTwoEntriesInBothLanguages) {
  video_.AutoPlayEntries = {Entry(10, 20), Entry(86400 + 30, 86400 + 95)};
  video_.AutoPlayEntries[1].splitKind = 2;
  video_.AutoPlayEntries[1].splitRow = 2;
  video_.AutoPlayEntries[1].comment = "second";
  const std::string program = sys::ProgramFilePath();
  const std::string raw = RawPath();
  const std::string en =
      "Auto play information\r\n"
      "[No.1]\r\n\"" + program + "\" /AutoPlay /1\r\n"
      "Raw data file path\t" + raw + "\r\n"
      "Result file path\t/data/night.raf\r\n"
      "Start time\t01.00:00:10\r\n"
      "End time\t01.00:00:20\r\n"
      "Comment\tc\r\n"
      "Display area\tAll\r\n"
      "[No.2]\r\n\"" + program + "\" /AutoPlay /2\r\n"
      "Raw data file path\t" + raw + "\r\n"
      "Result file path\t/data/night.raf\r\n"
      "Start time\t02.00:00:30\r\n"
      "End time\t02.00:01:35\r\n"
      "Comment\tsecond\r\n"
      "Display area\tlower,left\r\n";
  const std::string path = folder_.Path() + "/list.txt";
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  List& list = Open();
  ASSERT_TRUE(list.ClickButton(List::kTextOutput));
  EXPECT_EQ(ReadAll(path), en);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Output is complete."});

  res::SetLanguage(res::Language::Japanese);
  ClockTimeDisplay = 1;
  const std::string ja = List(owner_).OutputText();
  EXPECT_NE(ja.find("生データファイルのパス\t" + raw + "\r\n"), std::string::npos);
  EXPECT_NE(ja.find("表示領域\t下,左\r\n"), std::string::npos);
  EXPECT_NE(ja.find("開始時刻\t26/01/31  22:00:10\r\n"), std::string::npos);
  EXPECT_NE(ja.find("終了時刻\t26/02/01  22:01:35\r\n"), std::string::npos);
  std::size_t lines = 0;
  for (std::size_t p = ja.find("\r\n"); p != std::string::npos; p = ja.find("\r\n", p + 2)) ++lines;
  EXPECT_EQ(lines, 17u);
}

TEST_F(AutoPlayDialog, OutputsThatFailAreReportedAsFailures) {
  video_.AutoPlayEntries = {Entry(10, 20), Entry(30, 40)};
  List& list = Open();
  // A file that cannot be made says so instead of completing silently.
  std::ofstream(folder_.Path() + "/plain") << "a file, not a folder";
  testhooks::AnswerFileDialog(ui::IDOK, {folder_.Path() + "/plain/list.txt"});
  ASSERT_TRUE(list.ClickButton(List::kTextOutput));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"There was an error saving this file."});

  const char* saved = std::getenv("XDG_DESKTOP_DIR");
  const std::string keep = saved != nullptr ? saved : "";
  const std::string desktop = folder_.Path() + "/Desktop";
  std::filesystem::create_directories(desktop);
  setenv("XDG_DESKTOP_DIR", desktop.c_str(), 1);
  testhooks::Reset();
  ASSERT_TRUE(list.ClickButton(List::kShortcut));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Output is complete."});
  EXPECT_TRUE(std::filesystem::exists(desktop + "/Vellisom for AnimalAutoPlay No.2.desktop"));
  EXPECT_NE(ReadAll(desktop + "/Vellisom for AnimalAutoPlay No.2.desktop").find("/AutoPlay /2"), std::string::npos);

  // Shortcuts that cannot be made get the save error, not the completion.
  std::filesystem::remove(desktop + "/Vellisom for AnimalAutoPlay No.1.desktop");
  std::filesystem::create_directories(desktop + "/Vellisom for AnimalAutoPlay No.1.desktop/in the way");
  testhooks::Reset();
  ASSERT_TRUE(list.ClickButton(List::kShortcut));
  EXPECT_EQ(Boxes(), std::vector<std::string>{"There was an error saving this file."});
  if (saved != nullptr) {
    setenv("XDG_DESKTOP_DIR", keep.c_str(), 1);
  } else {
    unsetenv("XDG_DESKTOP_DIR");
  }
}

TEST_F(AutoPlayDialog, CursorPickFillsTheEntryWithoutMarkingTheSetEdited) {
  List& list = Open();
  ASSERT_TRUE(list.ClickButton(List::kAdd));
  EntryDlg* entry = owner_.AutoPlayRange();
  ASSERT_TRUE(entry->ClickButton(EntryDlg::kEndCursor));
  EXPECT_EQ(RawPreviewMode, 3);
  EXPECT_EQ(owner_.PickTarget(), kVideoPickEnd);
  EXPECT_FALSE(entry->IsWindowVisible());
  EXPECT_EQ(VideoAttached, 0);
  owner_.DeliverPick(42.9);
  EXPECT_EQ(SecondOfDay(*entry, VideoStartEndControls::kEndTime), 42);
  EXPECT_TRUE(entry->IsWindowVisible());
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_FALSE(owner_.Picking());
  EXPECT_EQ(VideoAttached, 0);
}

}  // namespace
