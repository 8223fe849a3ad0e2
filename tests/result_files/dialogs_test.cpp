#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/results/lyr_dlg_result_file.h"
#include "app/results/result_strings.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "raf_fixture.h"

namespace {

class ResultDialogs : public RafTest {
 protected:
  void SetUp() override {
    RafTest::SetUp();
    ui::EnsureToolkit();
    testhooks::Reset();
    ClockTimeDisplay = 0;
    doc.RecordInfo.channelCount = 1;
    doc.ChInfo[0].rate = 100;
    doc.ChInfo[0].dataCount = 100u * 600u;
    doc.RecordSeconds = 600;
  }
  void TearDown() override { testhooks::Reset(); }
  CQLM2_AnalyzerDoc doc;
};

// The save dialog: the range comes back ascending whichever way the panels were set, and a
// memo keeps 60 characters, no more.
TEST_F(ResultDialogs, SaveWithRangeOrdersTheEpochsAndBoundsTheMemos) {
  for (auto [start, end] : {std::pair{40, 12}, std::pair{12, 40}}) {
    LyrDlgResultFileOpenSaveWithRange dlg("RAF", "night1", 0, S(kIdsResultFileFilter));
    dlg.m_pDoc = &doc;
    dlg.m_Memo = {"a", "b", "", "", ""};
    int shownStart = -1, shownEnd = -1;
    dlg.onPanelReady = [&](LyrDlgResultFileOpenSaveWithRange& d) {
      shownStart = d.Panel()->StartPanel()->GetEpoch();
      shownEnd = d.Panel()->EndPanel()->GetEpoch();
      d.Panel()->StartPanel()->SetEpoch(start);
      d.Panel()->EndPanel()->SetEpoch(end);
      d.Panel()->SetDlgItemText(IDC_RF_MEMO1 + 2, std::string(61, 'x'));
    };
    testhooks::AnswerFileDialog(ui::IDOK, {"/tmp/out.raf"});
    ASSERT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(shownStart, 0);
    EXPECT_EQ(shownEnd, 59);
    EXPECT_EQ(dlg.GetPathName(), "/tmp/out.raf");
    EXPECT_EQ(dlg.m_StartEpoch, 12);
    EXPECT_EQ(dlg.m_EndEpoch, 40);
    EXPECT_EQ(dlg.m_Memo, (std::array<std::string, 5>{"a", "b", std::string(60, 'x'), "", ""}));
  }
  LyrDlgResultFileOpenSaveWithRange cancelled("RAF", "night1", 0, S(kIdsResultFileFilter));
  cancelled.m_pDoc = &doc;
  testhooks::AnswerFileDialog(ui::IDCANCEL);
  EXPECT_EQ(cancelled.DoModal(), ui::IDCANCEL);
}

// The open dialog previews the memos of a result file; other files show nothing, a refused
// version says so.
TEST_F(ResultDialogs, OpenPreviewShowsTheMemos) {
  const std::string dir = TempFolder("prev");
  TinyDoc a(1, 40, 10);
  a.Score();
  ScriptedUi u;
  ResultWriteRequest req{"r", dir + "/m.raf", 0, 3, a.memos};
  ASSERT_EQ(WriteResultFile(a.doc, req, u), 1);
  std::array<std::string, 5> memos;
  EXPECT_TRUE(ReadRafMemos(req.path, u, &memos));
  EXPECT_EQ(memos, a.memos);

  PutFile(dir + "/other.raf", {'X', 'Y'});
  EXPECT_FALSE(ReadRafMemos(dir + "/other.raf", u, &memos));
  EXPECT_EQ(memos, (std::array<std::string, 5>{}));
  EXPECT_TRUE(u.shown.empty());
  auto old = FileBytes(req.path);
  old[256] = 4;
  PutFile(dir + "/old.raf", old);
  EXPECT_FALSE(ReadRafMemos(dir + "/old.raf", u, &memos));
  EXPECT_EQ(u.shown, std::vector<std::string>{S(kIdsVersionDifferent)});

  LyrDlgResultFileOpenSave dlg(true, "RAF", "", 0, S(kIdsResultFileFilter));
  testhooks::AnswerFileDialog(ui::IDOK, {req.path});
  ASSERT_EQ(dlg.DoModal(), ui::IDOK);
  EXPECT_EQ(dlg.GetPathName(), req.path);
}

}  // namespace
