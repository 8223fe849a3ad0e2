// Analysis range, wait time and progress window driven by control id.
#include <string>

#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_dlg_output_progress.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/shared_dialog_rules.h"
#include "dialog_fixture.h"
#include "platform/ui/message_box.h"

namespace {

using AnalysisRange = DialogTest;

struct RangeRun {
  int endCode = 0;
};

// Opens the dialog as the frame does: saved values, then the whole recording.
std::unique_ptr<LyrDlgAnalysisRange> Open(CQLM2_AnalyzerDoc& doc, RangeRun& run) {
  auto d = std::make_unique<LyrDlgAnalysisRange>(&doc);
  for (std::size_t i = 0; i < 32; ++i) d->m_SavedStart[i] = doc.ChInfo[i].startOffset;
  d->m_SavedLength = doc.RecordSeconds;
  d->SetCloseCallback([&run](int code) { run.endCode = code; });
  EXPECT_TRUE(d->CreateModeless());
  return d;
}

TEST_F(AnalysisRange, OkSetsStartAndWholeEpochLength) {
  struct Case {
    const char* name;
    int epochSeconds, a, b;
    bool accepted;
    int length;
  };
  const Case cases[] = {
      {"exactly 120 s", 30, 600, 720, true, 120},
      {"119 s refused", 30, 600, 719, false, 0},
      {"125 s of 10-s epochs", 10, 100, 225, true, 120},
      {"end before start", 30, 900, 600, true, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    EpochSeconds = c.epochSeconds;
    RangeRun run;
    auto d = Open(doc, run);
    d->StartPanel()->SetSeconds(c.a);
    d->EndPanel()->SetSeconds(c.b);
    d->ClickButton(ui::IDOK);
    if (!c.accepted) {
      EXPECT_EQ(run.endCode, 0);
      ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
      EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "Data less than 120sec is invalid.");
      EXPECT_EQ(doc.RecordSeconds, 108000);
      continue;
    }
    EXPECT_EQ(run.endCode, 1);
    EXPECT_EQ(doc.RecordSeconds, c.length);
    const int start = std::min(c.a, c.b);
    EXPECT_EQ(doc.ChInfo[0].startOffset, 100 * start);
    EXPECT_EQ(doc.ChInfo[1].startOffset, 200 * start);
  }
}

TEST_F(AnalysisRange, CancelRestoresAndTheQuestionGuardsResults) {
  doc.ChInfo[0].startOffset = 1000;
  doc.ChInfo[1].startOffset = 2000;
  doc.RecordSeconds = 5000;
  {
    RangeRun run;
    auto d = Open(doc, run);
    EXPECT_EQ(d->StartPanel()->GetSeconds(), 10);
    EXPECT_EQ(d->EndPanel()->GetSeconds(), 108000);
    d->ClickButton(IDC_AR_RESET);
    EXPECT_EQ(doc.ChInfo[1].startOffset, 0);
    EXPECT_EQ(d->StartPanel()->GetSeconds(), 0);
    d->ClickButton(ui::IDCANCEL);
    EXPECT_EQ(run.endCode, 2);
    EXPECT_EQ(doc.ChInfo[0].startOffset, 1000);
    EXPECT_EQ(doc.ChInfo[1].startOffset, 2000);
    EXPECT_EQ(doc.RecordSeconds, 5000);
  }
  // Unsaved results: answering Cancel to the question cancels the whole dialog.
  ResultModifiedState = 2;
  {
    RangeRun run;
    auto d = Open(doc, run);
    testhooks::AnswerMessageBox(ui::IDCANCEL);
    d->ClickButton(ui::IDOK);
    EXPECT_EQ(run.endCode, 2);
    EXPECT_EQ(doc.ChInfo[0].startOffset, 1000);
    EXPECT_EQ(ResultModifiedState, 2);
  }
  // OK re-creates the tables and clears the result state.
  {
    RangeRun run;
    auto d = Open(doc, run);
    testhooks::AnswerMessageBox(ui::IDOK);
    d->ClickButton(ui::IDOK);
    EXPECT_EQ(run.endCode, 1);
    EXPECT_EQ(ResultModifiedState, 0);
    EXPECT_EQ(doc.ScreeningMarker, -1);
    EXPECT_EQ(testhooks::ShownMessageBoxes().back().text,
              "The screening condition was changed. The analysis result will be initialized. Continue?");
  }
}

TEST_F(AnalysisRange, CursorPicksIntoTheChosenPanel) {
  RangeRun run;
  auto d = Open(doc, run);
  d->ClickButton(IDC_AR_END_CURSOR);
  EXPECT_EQ(RawPreviewMode, 3);
  EXPECT_EQ(d->m_Shown, 0u);
  EXPECT_FALSE(d->IsWindowVisible());
  d->SetPickedSeconds(4000);
  EXPECT_EQ(d->EndPanel()->GetSeconds(), 4000);
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_EQ(d->m_Shown, 1u);
  EXPECT_TRUE(d->IsWindowVisible());
}

TEST_F(AnalysisRange, WaitTime) {
  struct Case {
    int before;
    int radio;
    const char* free;
    int after;
  };
  const Case cases[] = {{0, IDC_WAIT_5SEC, "", 5}, {1, IDC_WAIT_FREE, "-3", 0}, {7, IDC_WAIT_FREE, "1", 1}};
  for (const Case& c : cases) {
    WaitingTime = c.before;
    testhooks::ScriptDialog(IDD_WAIT_TIME, [&](ui::Dialog& d) {
      EXPECT_EQ(d.GetCheckedRadioButton(IDC_WAIT_5SEC, IDC_WAIT_FREE), WaitTimeRadioOf(c.before));
      EXPECT_EQ(d.GetDlgItemText(IDC_WAIT_EDIT), std::to_string(c.before));
      d.ClickButton(c.radio);
      if (c.radio == IDC_WAIT_FREE) d.SetDlgItemText(IDC_WAIT_EDIT, c.free);
      d.ClickButton(ui::IDOK);
    });
    LyrDlgWaitTime dlg;
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(WaitingTime, c.after);
  }
  // The next opening checks the radio of the stored value.
  testhooks::ScriptDialog(IDD_WAIT_TIME, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(IDC_WAIT_1SEC), 1);
    d.ClickButton(ui::IDCANCEL);
  });
  LyrDlgWaitTime again;
  EXPECT_EQ(again.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(WaitingTime, 1);
}

using Progress = DialogTest;

TEST_F(Progress, OwnerDisabledCancelLatchAndLongRanges) {
  ui::Dialog owner(IDD_WAIT_TIME);
  ASSERT_TRUE(owner.CreateModeless());
  {
    LyrDlgOutputProgress p;
    ASSERT_EQ(p.Create(&owner), 1);
    EXPECT_FALSE(owner.IsWindowEnabled());
    EXPECT_EQ(p.GetWindowText(), "Output");
    // Cancel twice before one check: one request, then none.
    p.ClickButton(ui::IDCANCEL);
    p.SendMessage(ui::WM_CLOSE);
    EXPECT_TRUE(p.IsWindowVisible()) << "the window never closes itself";
    EXPECT_EQ(p.CheckCancel(), 1);
    EXPECT_EQ(p.CheckCancel(), 0);
    p.ClickButton(ui::IDOK);
    EXPECT_EQ(p.CheckCancel(), 0);
    // A range past 16 bits still runs to the bar's end.
    p.SetRange(0, 200000);
    p.SetPos(200000);
    EXPECT_EQ(p.Item(IDC_PROGRESS_BAR).GetPos(), p.Item(IDC_PROGRESS_BAR).GetRangeHigh());
    p.SetPos(100000);
    EXPECT_EQ(p.Item(IDC_PROGRESS_BAR).GetPos(), 32767);
    p.SetText1("Writing");
    p.SetText2("01/02Files :a.fyd");
    EXPECT_EQ(p.GetDlgItemText(IDC_PROGRESS_TEXT2), "01/02Files :a.fyd");
    p.DestroyWindow();
    EXPECT_TRUE(owner.IsWindowEnabled());
    p.DestroyWindow();
  }
  // An owner that was already disabled stays disabled.
  owner.EnableWindow(false);
  {
    LyrDlgOutputProgress p;
    ASSERT_EQ(p.Create(&owner), 1);
    EXPECT_FALSE(p.OwnerDisabled());
  }
  EXPECT_FALSE(owner.IsWindowEnabled());
}

}  // namespace
