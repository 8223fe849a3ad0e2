// The mark pane, the mark outputs and the mark-type dialog in the program's workspace, over a
// recording of 30-s epochs with hand-made marks (0.1-s points).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_dlg_marks.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/mark_runs.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/draw/image.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "tests/navigation/nav_fixture.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  std::string out;
  for (char c : ss.str())
    if (c != '\r') out += c;
  return out;
}

class Marks : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    savedTab_ = OutputDelimiterIsTab;
    savedClip_ = OutputToClipboard;
    savedSumUp_ = MarkSumUpTimeDivision;
    OutputDelimiterIsTab = 0;
    OutputToClipboard = 0;
    folder_ = sys::CreateTempFolder("i30mk");
    testhooks::Reset();
  }
  void TearDown() override {
    OutputDelimiterIsTab = savedTab_;
    OutputToClipboard = savedClip_;
    MarkSumUpTimeDivision = savedSumUp_;
    ResultModifiedState = 0;
    std::filesystem::remove_all(folder_);
    testhooks::Reset();
    NavTest::TearDown();
  }
  // `epochs` epochs of 30 s, every epoch stage 1, mark types 1 and 2 on with a trigger channel.
  void Night(int epochs) {
    Load(30, 240, epochs);
    for (int e = 0; e < epochs; ++e) Doc().EpochTables.SetStage(e, 1);
    ASSERT_EQ(Doc().AllocateMark(), 1);
    MarkTypeParam& types = Doc().Params.markType;
    for (int t = 0; t < 10; ++t) {
      auto& item = types.items[static_cast<std::size_t>(t)];
      item.triggerDetect = t < 4 ? 1 : 0;
      item.show = 1;
      item.triggerChannel = t < 4 ? 0 : -1;
      item.invalidTimeS = 0.0f;
      item.name = "Mark" + std::to_string(t + 1);
      item.colour = 0x0000FF;
    }
    types.triggerCount = 4;
    Doc().Marks.SetMarksPresent(1);
  }
  void Flag(int type, int from, int to) {
    for (int p = from; p < to; ++p) Doc().Marks.Flags(type)[p] = 1;
  }
  LyrWorkspaceMarkView& View() { return *Frame().WorkspaceView()->MarkView(); }
  LyrWorkspaceFrame& WsFrame() { return *Frame().WorkspaceView()->Frame(); }
  std::string Header() {
    std::string h;
    Doc().PutTextHeader([&](const std::string& line) { h += line; }, nullptr);
    return h + "\n";
  }
  std::string L(int epoch) {
    std::string s;
    Doc().GetEpochTimeString(static_cast<unsigned>(epoch), s);
    return s;
  }
  std::uint16_t savedTab_ = 0, savedClip_ = 0;
  std::uint32_t savedSumUp_ = 0;
  std::string folder_;
};

TEST_F(Marks, ListRowsFilterAndDelete) {
  Night(40);
  Flag(1, 100, 120);
  Flag(0, 100, 105);
  Flag(0, 50, 60);
  View().UpdateMarkTypeFlags();
  View().FillMarkTypeList();
  View().MarkForRefill();
  View().UpdateMarkList();
  ui::Control list = View().List();
  ASSERT_EQ(list.GetCount(), 3);
  // By first point, then by type.
  EXPECT_EQ(list.GetItemText(0, 3), "Mark1");
  EXPECT_EQ(list.GetItemText(1, 3), "Mark1");
  EXPECT_EQ(list.GetItemText(2, 3), "Mark2");
  EXPECT_EQ(list.GetItemText(2, 4), "2.00");
  // The type list's filter hides rows only.
  ui::Control types = View().Item(LyrWorkspaceMarkView::kTypeListId);
  ASSERT_EQ(types.GetCount(), 4);
  types.SetSelected(0, false);
  View().OnControlNotify(LyrWorkspaceMarkView::kTypeListId, ui::NM_CLICK);
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(Doc().Marks.Flags(0)[50], 1);
  // Deleting the listed row: its points go, saved results become unsaved.
  ResultModifiedState = 1;
  list.SetSelected(0, true);
  ASSERT_TRUE(testhooks::ClickControl(View(), LyrWorkspaceMarkView::kDeleteId));
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(Doc().Marks.Flags(1)[110], 0);
  EXPECT_EQ(Doc().Marks.Flags(0)[100], 1) << "the hidden type keeps its marks";
  EXPECT_EQ(ResultModifiedState, 2);
}

TEST_F(Marks, TheMarkWindowFloatsBesideItsPaneAndDocksAgain) {
  Night(40);
  LyrWorkspaceMarkFrame* mark = Frame().WorkspaceTabs.MarkPane->MarkFrame();
  ASSERT_NE(mark, nullptr);
  ASSERT_TRUE(mark->IsDocked());
  ASSERT_TRUE(testhooks::ClickControl(View(), LyrWorkspaceMarkView::kFloatId));
  EXPECT_FALSE(mark->IsDocked());
  EXPECT_EQ(Frame().WorkspaceTabs.MarkWindowDocked, 0);
  EXPECT_EQ(mark->GetParent(), nullptr);
  ASSERT_TRUE(testhooks::ClickControl(View(), LyrWorkspaceMarkView::kFloatId));
  EXPECT_TRUE(mark->IsDocked());
  EXPECT_EQ(Frame().WorkspaceTabs.MarkWindowDocked, 1);
  // Without a recording the button springs back.
  DocumentLoaded = 0;
  ASSERT_TRUE(testhooks::ClickControl(View(), LyrWorkspaceMarkView::kFloatId));
  EXPECT_TRUE(mark->IsDocked());
  EXPECT_EQ(View().Item(LyrWorkspaceMarkView::kFloatId).GetCheck(), 0);
  DocumentLoaded = 1;
}

TEST_F(Marks, ListOutputStartsAtTheRangeAndSaysWhenEmpty) {
  Night(40);
  Flag(0, 250, 451);  // 25.0 - 45.0 s: running at the start of epoch 1 (point 300)
  const std::string path = folder_ + "/list.txt";
  WorkspaceTextOut out;
  ASSERT_TRUE(out.Open(0, path));
  ASSERT_TRUE(WriteMarkList(Doc(), out, 1, 2, {0, 1}));
  ASSERT_TRUE(out.Finish());
  std::string at;
  Doc().GetMSecTimeString(ClockTimeDisplay, 300 * 100, &at);
  const std::string text = Slurp(path);
  const std::string head = Header() + "Start time," + L(1) + "\nEnd time," + L(2) + "\n\n" +
                           "Time,Epoch No,Stage,Mark,Duration(sec)\n";
  ASSERT_EQ(text.substr(0, head.size()), head);
  const std::string line = text.substr(head.size());
  EXPECT_EQ(line.substr(0, at.size() + 3), at + ",1,");
  EXPECT_EQ(line.substr(line.size() - 12), ",Mark1,15.1\n") << "151 points from the range start";

  ASSERT_TRUE(out.Open(0, path));
  ASSERT_TRUE(WriteMarkList(Doc(), out, 5, 6, {0}));
  ASSERT_TRUE(out.Finish());
  const std::string empty = Slurp(path);
  EXPECT_EQ(empty.substr(empty.size() - 23), "\nMark list has no data.") << "no line end after it";
}

TEST_F(Marks, SumUpWindowsFromTheRangeStart) {
  Night(90);  // 45 minutes
  Flag(0, 60, 80);        // 2 s in the first 30 minutes
  Flag(0, 20000, 20010);  // 1 s in the last 15
  const std::string path = folder_ + "/sum.txt";
  WorkspaceTextOut out;
  ASSERT_TRUE(out.Open(0, path));
  ASSERT_TRUE(WriteMarkSumUp(Doc(), out, 0, 89, 30, {0, 1}));
  ASSERT_TRUE(out.Finish());
  const std::string expected =
      Header() + "Start time," + L(0) + "\nEnd time," + L(89) + ",Time Division,30.0\n\n" +
      "Mark1\n"
      "Time division,1,2\n"
      "Total number,1,1\n"
      "Total time(min.),0.03,0.02\n"
      "Max. duration(sec.),2.00,1.00\n"
      "Min. duration(sec.),2.00,1.00\n"
      "Mean duration(sec.),2.00,1.00\n"
      // 1 mark in 30 minutes: 2 an hour; 1 in the last 15 minutes: 4 an hour.
      "Index #/h,2,4\n"
      "\n"
      "Mark2\n"
      "Time division,1,2\n"
      "Total number,0,0\n"
      "Total time(min.),0.00,0.00\n"
      "Max. duration(sec.),none,none\n"
      "Min. duration(sec.),none,none\n"
      "Mean duration(sec.),none,none\n"
      "Index #/h,none,none\n"
      "\n";
  EXPECT_EQ(Slurp(path), expected);
}

TEST_F(Marks, SumUpDialogChecksTheDivisionBeforeTouchingTheFile) {
  Night(90);
  Flag(0, 60, 80);
  const std::string path = folder_ + "/kept.txt";
  { std::ofstream(path) << "older"; }
  std::string label;
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::ScriptDialog(296, [&](ui::Dialog& d) {
    label = d.GetDlgItemText(LyrWorkspaceDlgMarkSumUp::kRangeLabel);
    d.ClickButton(LyrWorkspaceDlgMarkOutput::kPath);
    d.SetDlgItemText(LyrWorkspaceDlgMarkSumUp::kDivision, "0");
    d.ClickButton(LyrWorkspaceDlgMarkOutput::kOutput);
    d.EndDialog(ui::IDCANCEL);
  });
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 33155));
  EXPECT_EQ(label, "(min.1-max45)");
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "There is a contradiction in Time division. ");
  EXPECT_EQ(Slurp(path), "older");
}

TEST_F(Marks, TypeDialogCancelRestoresAndAnEmptyInvalidTimeStopsAtItsMark) {
  Night(40);
  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 33152));
  LyrWorkspaceDlgMarkType* dlg = WsFrame().MarkTypeDlg();
  ASSERT_NE(dlg, nullptr);
  testhooks::AnswerColorDialog(ui::IDOK, 0x123456);
  ASSERT_TRUE(dlg->ClickButton(LyrWorkspaceDlgMarkType::kColor));
  EXPECT_EQ(Doc().Params.markType.items[0].colour, 0x123456u) << "a colour goes in at once";
  dlg->ClickButton(ui::IDCANCEL);
  EXPECT_EQ(Doc().Params.markType.items[0].colour, 0x0000FFu);
  testhooks::ProcessMessages();

  ASSERT_TRUE(ui::ExecuteCommand(WsFrame(), 33152));
  dlg = WsFrame().MarkTypeDlg();
  ASSERT_NE(dlg, nullptr);
  for (int t = 0; t < 3; ++t) dlg->SetDlgItemText(LyrWorkspaceDlgMarkType::kInvalid + t, "0.250");
  dlg->SetDlgItemText(LyrWorkspaceDlgMarkType::kInvalid + 3, "");
  dlg->ClickButton(LyrWorkspaceDlgMarkType::kPreview);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Mark auto detect: Mark4 Invalid time value is not specified.");
  for (int t = 0; t < 3; ++t) EXPECT_EQ(Doc().Params.markType.items[static_cast<std::size_t>(t)].invalidTimeS, 0.25f);
  // OK with every value given marks saved results unsaved.
  dlg->SetDlgItemText(LyrWorkspaceDlgMarkType::kInvalid + 3, "1");
  ResultModifiedState = 1;
  dlg->ClickButton(ui::IDOK);
  EXPECT_EQ(Doc().Params.markType.items[3].invalidTimeS, 1.0f);
  EXPECT_EQ(ResultModifiedState, 2);
  testhooks::ProcessMessages();
  EXPECT_EQ(WsFrame().MarkTypeDlg(), nullptr);
}

}  // namespace

namespace {

TEST_F(Marks, TheDockedMarkWindowFillsItsPane) {
  Night(40);
  LyrWorkspaceAreaTabCtrl& tabs = Frame().WorkspaceTabs;
  Frame().WorkspaceView()->MoveWindow(draw::RectFromSize(0, 0, 800, 400));
  tabs.SelectPane(11);
  tabs.ShowSelectedPane(11);
  testhooks::ProcessMessages();
  const ui::Rect pane = tabs.MarkPane->GetClientRect();
  ASSERT_GT(pane.Width(), 0);
  LyrWorkspaceMarkFrame* mark = tabs.MarkPane->MarkFrame();
  EXPECT_TRUE(mark->IsWindowVisible());
  EXPECT_EQ(mark->GetClientRect().Width(), pane.Width());
  EXPECT_EQ(View().GetClientRect().Width(), pane.Width());
  EXPECT_TRUE(View().IsWindowVisible());
  // The frame's picture shows the pane's buttons (in the button face colour).
  const draw::Image shot = testhooks::RenderWindow(*Frame().WorkspaceView());
  const ui::Rect where = testhooks::RectInWindow(View(), *Frame().WorkspaceView());
  int face = 0;
  for (int x = where.left + where.Width() * 7 / 10 + 2; x < where.right; ++x)
    if (shot.GetPixel(x, where.bottom - 5) != 0xFFFFFF) ++face;
  EXPECT_GT(face, 0) << "the mark view is drawn into the workspace's picture";
}

}  // namespace
