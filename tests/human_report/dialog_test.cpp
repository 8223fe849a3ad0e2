// The "Human report" dialog and its "Time" dialog, driven by control id: the sections it
// offers, the tests before a report, the output path and the time markers.
#include "app/frame/lyr_dlg_time_point.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/messages.h"
#include "tests/human_report/report_fixture.h"

namespace {

class ReportDialog : public reportfix::ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    Stages(std::vector<int>(40, 4));
    doc_.RecordInfo.channelCount = 8;
  }
  void TearDown() override {
    if (dlg_ != nullptr && dlg_->IsWindow()) dlg_->DestroyWindow();
    dlg_.reset();
    ui::PumpPendingMessages();
    ReportTest::TearDown();
  }
  LyrDlgReport& Open() {
    dlg_ = std::make_unique<LyrDlgReport>(&doc_);
    EXPECT_TRUE(dlg_->CreateModeless(nullptr));
    return *dlg_;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& b : testhooks::ShownMessageBoxes()) t.push_back(b.text);
    return t;
  }
  std::unique_ptr<LyrDlgReport> dlg_;
};

TEST_F(ReportDialog, OffersTheSectionsItsChannelsAllow) {
  struct Case {
    const char* what;
    int flow, chest, abdomen, ecg, spo2, position, arousal, cpap, snore, legLeft, legRight;
    std::array<int, 10> offered;
  };
  const Case cases[] = {
      {"no channels", -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
      {"air flow and chest", 0, 1, -1, -1, -1, -1, -1, -1, -1, -1, -1, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
      {"air flow and abdomen", 0, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0}},
      {"air flow alone", 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
      {"position needs respiration", -1, 1, -1, -1, -1, 4, -1, -1, -1, -1, -1, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
      {"position with respiration", 0, 1, -1, -1, -1, 4, -1, -1, -1, -1, -1, {1, 1, 1, 1, 0, 0, 1, 0, 0, 0}},
      {"one leg", -1, -1, -1, -1, -1, -1, -1, -1, -1, 6, -1, {1, 1, 1, 0, 0, 0, 0, 0, 0, 1}},
      {"snore", -1, -1, -1, -1, -1, -1, -1, -1, 5, -1, -1, {1, 1, 1, 0, 0, 0, 0, 0, 0, 1}},
      {"every channel", 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {"past the channel count", 8, 9, 9, 8, 8, 8, 8, 8, 8, 8, 8, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SleepDstrbParam& p = doc_.Params.sleepDstrb;
    p.airFlow.channel = c.flow;
    p.chest.channel = c.chest;
    p.abdomen.channel = c.abdomen;
    p.ecgChannel = c.ecg;
    p.spo2Channel = c.spo2;
    p.positionChannel = c.position;
    p.arousal.channel = c.arousal;
    p.cpapChannel = c.cpap;
    p.snore.channel = c.snore;
    p.legLeft.channel = c.legLeft;
    p.legRight.channel = c.legRight;
    LyrDlgReport& d = Open();
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(d.m_Offered[static_cast<std::size_t>(i)], c.offered[static_cast<std::size_t>(i)]) << i;
      EXPECT_EQ(d.Item(LyrDlgReport::kFirstSection + i).IsEnabled(), c.offered[static_cast<std::size_t>(i)] != 0) << i;
      EXPECT_EQ(d.IsDlgButtonChecked(LyrDlgReport::kFirstSection + i), 1) << "a section keeps its tick";
    }
    d.DestroyWindow();
  }
}

TEST_F(ReportDialog, AnUnofferedSectionKeepsItsTickAndIsSkipped) {
  LyrDlgReport& d = Open();
  OutputToClipboard = 1;
  ASSERT_TRUE(d.ClickButton(LyrDlgReport::kClipboard));
  SetMarkers(0, 1, 38, 39);
  ASSERT_TRUE(d.ClickButton(ui::IDOK));
  EXPECT_EQ(Texts(), std::vector<std::string>{"Text output is complete."});
  EXPECT_EQ(HumanReportSettings.words[LyrDlgReport::kRespiration], 1);
  const std::string text = ui::GetClipboardText();
  EXPECT_NE(text.find("Sleep stage data\n"), std::string::npos) << "clipboard text keeps bare line feeds";
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.find("Respiration"), std::string::npos);
}

TEST_F(ReportDialog, RefusesMissingOptionsWithTheFocusOnThem) {
  const struct {
    int id;
    const char* text;
  } cases[] = {{LyrDlgReport::kRemCycle, "0"},     {LyrDlgReport::kRemCycle, ""},
               {LyrDlgReport::kWakeDuration, "0"}, {LyrDlgReport::kSpO2Level, "-1"},
               {LyrDlgReport::kSpO2Level, "0"},    {LyrDlgReport::kSpO2Level, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " '" + c.text + "'");
    testhooks::Reset();
    LyrDlgReport& d = Open();
    d.SetDlgItemText(c.id, c.text);
    EXPECT_EQ(d.CheckOutputSettings(), 0);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Not specified."});
    // The offscreen platform gives the focus only to an active window.
    if (ui::Window::GetFocus() == &d) {
      EXPECT_EQ(ui::Window::GetFocusControlId(), c.id);
    }
    d.DestroyWindow();
  }
}

TEST_F(ReportDialog, FileModeAsksForAPathAndBeforeReplacingAFile) {
  OutputToClipboard = 0;
  LyrDlgReport& d = Open();
  EXPECT_TRUE(d.Item(LyrDlgReport::kPath).IsEnabled());
  // No path: the message, then the path dialog (cancelled here): nothing written.
  EXPECT_EQ(d.CheckOutputSettings(), 0);
  EXPECT_EQ(Texts(), std::vector<std::string>{"The file is not selected."});

  // A file chosen through "&Path..." that exists: the file dialog asked already.
  const std::string existing = Path("old.txt");
  { std::ofstream(existing) << "old\n"; }
  testhooks::Reset();
  testhooks::AnswerFileDialog(ui::IDOK, {existing});
  ASSERT_TRUE(d.ClickButton(LyrDlgReport::kPath));
  EXPECT_EQ(d.GetDlgItemText(LyrDlgReport::kPathText), existing);
  EXPECT_EQ(d.CheckOutputSettings(), 1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());

  // The next time it is asked, with Cancel as the default; Cancel keeps the file.
  EXPECT_EQ(d.CheckOutputSettings(), 0);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  const auto& box = testhooks::ShownMessageBoxes()[0];
  EXPECT_EQ(box.text, existing + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(box.type & 0xF, ui::MB_OKCANCEL);
  EXPECT_EQ(box.type & ui::MB_DEFBUTTON2, ui::MB_DEFBUTTON2);
  testhooks::AnswerMessageBox(ui::IDOK);
  EXPECT_EQ(d.CheckOutputSettings(), 1);

  // The clipboard needs no path and asks nothing.
  ASSERT_TRUE(d.ClickButton(LyrDlgReport::kClipboard));
  EXPECT_FALSE(d.Item(LyrDlgReport::kPath).IsEnabled());
  testhooks::Reset();
  EXPECT_EQ(d.CheckOutputSettings(), 1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(OutputToClipboard, 1);
}

TEST_F(ReportDialog, TimeDialogPicksAMarkerEvenOutOfOrder) {
  LyrDlgReport& d = Open();
  EXPECT_EQ(BedOutEpoch, 39);
  ASSERT_TRUE(d.ClickButton(LyrDlgReport::kBedOut));
  LyrDlgTimePoint* picker = d.TimePanel();
  ASSERT_NE(picker, nullptr);
  EXPECT_FALSE(d.IsWindowVisible());
  EXPECT_EQ(picker->GetDlgItemText(IDC_TP_CAPTION), "Start(<=)");
  EXPECT_EQ(picker->m_LowEpoch, 0);
  EXPECT_EQ(picker->m_HighEpoch, 39);
  EXPECT_EQ(picker->GetEpoch(), 39);
  // Only one Time dialog at a time.
  d.OnBBi();
  EXPECT_EQ(d.TimePanel(), picker);

  picker->SetEpoch(0);  // before bed in's sleep onset: stored, refused only at "&Output"
  ASSERT_TRUE(d.TimeDialog()->ClickButton(ui::IDOK));
  EXPECT_EQ(BedOutEpoch, 0);
  EXPECT_EQ(d.TimePanel(), nullptr);
  EXPECT_TRUE(d.IsWindowVisible());
  EXPECT_EQ(d.GetDlgItemText(LyrDlgReport::kBedOutText), "01.00:00:00");
  ui::PumpPendingMessages();

  OutputToClipboard = 1;
  ASSERT_TRUE(d.ClickButton(ui::IDOK));
  EXPECT_EQ(Texts(), std::vector<std::string>{"There is a contradiction in Time. "});
}

}  // namespace
