// The Text output dialog of the raw data text output: what it shows on opening, the settings
// it changes at once, and what "&Output" asks for before it hands back path, channels and range.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "../shared_dialogs/dialog_fixture.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/raw/lyr_raw_dlg_text_output.h"
#include "platform/res/ui_resource.h"
#include "platform/ui/app.h"

namespace {

using D = LyrRawDlgTextOutput;

class TextOutputDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    // 200 Hz first, then 100 Hz, then 200 Hz again.
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[0].name = "C3";
    doc.ChInfo[0].rate = 200;
    doc.ChInfo[1].name = "EMG";
    doc.ChInfo[1].rate = 100;
    doc.ChInfo[2].name = "O2";
    doc.ChInfo[2].rate = 200;
    doc.ChInfo[2].dataCount = 200u * 108000u;
    OutputDelimiterIsTab = 1;
    OutputMaxLines = 5000;
    LastFolderPath.clear();
  }
  void TearDown() override {
    OutputDelimiterIsTab = 1;
    OutputMaxLines = 0xFFFF;
    DialogTest::TearDown();
  }

  static std::vector<std::string> Rows(ui::Dialog& d) {
    std::vector<std::string> rows;
    ui::Control list = d.Item(D::kChannelList);
    for (int r = 0; r < list.GetCount(); ++r)
      rows.push_back(list.GetItemText(r, 0) + "|" + list.GetItemText(r, 1) + "|" + list.GetItemText(r, 2));
    return rows;
  }

  int Run(std::function<void(D&)> script, D* out = nullptr) {
    testhooks::ScriptDialog(D::kTemplateId, [script](ui::Dialog& d) { script(static_cast<D&>(d)); });
    D dlg(&doc);
    const int r = dlg.DoModal();
    if (out != nullptr) {
      out->m_Path = dlg.m_Path;
      out->m_Flags = dlg.m_Flags;
      out->m_StartEpoch = dlg.m_StartEpoch;
      out->m_EndEpoch = dlg.m_EndEpoch;
    }
    return r;
  }
};

TEST_F(TextOutputDialog, OpensWithTheFirstChannelsRateFlaggedAndTheWholeRange) {
  struct Case { std::uint16_t tab; std::int32_t maxLines; int radio; int check; std::string edit; };
  const Case cases[] = {{1, 5000, D::kTab, 1, "5000"}, {0, -5000, D::kComma, 0, "5000"}, {2, 0, D::kComma, 0, "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxLines);
    OutputDelimiterIsTab = c.tab;
    OutputMaxLines = c.maxLines;
    EXPECT_EQ(Run([&](D& d) {
                EXPECT_EQ(d.GetDlgItemText(D::kPathText), "");
                EXPECT_EQ(Rows(d), (std::vector<std::string>{"  1|C3|200", "  3|O2|200"}));
                EXPECT_EQ(d.GetCheckedRadioButton(D::kComma, D::kTab), c.radio);
                EXPECT_EQ(d.IsDlgButtonChecked(D::kMaxLineCheck), c.check);
                EXPECT_EQ(d.GetDlgItemText(D::kMaxLineEdit), c.edit);
                EXPECT_EQ(d.Item(D::kMaxLineEdit).IsEnabled(), c.check == 1);
                ASSERT_NE(d.StartPanel(), nullptr);
                EXPECT_EQ(d.StartPanel()->GetEpoch(), 0);
                EXPECT_EQ(d.EndPanel()->GetEpoch(), 108000 / 30 - 1);
                EXPECT_EQ(d.StartPanel()->m_HighEpoch, 108000 / 30 - 1);
                EXPECT_EQ(d.StartPanel()->GetDlgItemText(IDC_TP_CAPTION), "Start(<=)");
                EXPECT_EQ(d.EndPanel()->GetDlgItemText(IDC_TP_CAPTION), "(<=)End");
                d.ClickButton(ui::IDCANCEL);
              }),
              ui::IDCANCEL);
  }
}

TEST_F(TextOutputDialog, DelimiterAndLimitSwitchAreStoredAtOnceAndKeptOnClose) {
  Run([](D& d) {
    d.ClickButton(D::kComma);
    EXPECT_EQ(OutputDelimiterIsTab, 0);
    d.ClickButton(D::kMaxLineCheck);
    EXPECT_EQ(OutputMaxLines, -5000);
    EXPECT_FALSE(d.Item(D::kMaxLineEdit).IsEnabled());
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(OutputDelimiterIsTab, 0);
  EXPECT_EQ(OutputMaxLines, -5000);
  Run([](D& d) {
    EXPECT_EQ(d.GetDlgItemText(D::kMaxLineEdit), "5000");
    EXPECT_EQ(d.IsDlgButtonChecked(D::kMaxLineCheck), 0);
    d.ClickButton(D::kMaxLineCheck);
    EXPECT_EQ(OutputMaxLines, 5000);
    EXPECT_TRUE(d.Item(D::kMaxLineEdit).IsEnabled());
    d.ClickButton(D::kTab);
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(OutputDelimiterIsTab, 1);
}

TEST_F(TextOutputDialog, OutputAsksForAPathThenChannelsBeforeClosing) {
  LastFolderPath = "/data/out";
  D result(nullptr);
  const int r = Run(
      [this](D& d) {
        // No path: the message, then the path dialog (cancelled); the dialog stays open.
        testhooks::AnswerMessageBox(ui::IDOK);
        testhooks::AnswerFileDialog(ui::IDCANCEL);
        d.ClickButton(ui::IDOK);
        ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
        EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "The file is not selected.");
        EXPECT_EQ(testhooks::UnansweredCount(), 0);
        EXPECT_TRUE(d.IsWindow());
        // The path button takes and shows the chosen file.
        testhooks::AnswerFileDialog(ui::IDOK, {"/data/out/night.txt"});
        d.ClickButton(D::kPath);
        EXPECT_EQ(d.GetDlgItemText(D::kPathText), "/data/out/night.txt");
        // No channel: the message, then Select Channels, whose choice is taken over.
        d.m_Flags.fill(0);
        testhooks::ScriptDialog(IDD_SELECT_CHANNELS, [](ui::Dialog& s) {
          auto& sel = static_cast<LyrDlgSelectChannels&>(s);
          sel.m_Flags.fill(0);
          sel.m_Flags[1] = 1;
          s.ClickButton(ui::IDOK);
        });
        testhooks::AnswerMessageBox(ui::IDOK);
        d.ClickButton(ui::IDOK);
        ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
        EXPECT_EQ(testhooks::ShownMessageBoxes()[1].text, "The channel is not selected.");
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"  2|EMG|100"}));
        d.StartPanel()->SetEpoch(10);
        d.EndPanel()->SetEpoch(20);
        d.ClickButton(ui::IDOK);
      },
      &result);
  EXPECT_EQ(r, ui::IDOK);
  EXPECT_EQ(result.m_Path, "/data/out/night.txt");
  EXPECT_EQ(result.m_Flags[0], 0);
  EXPECT_EQ(result.m_Flags[1], 1);
  EXPECT_EQ(result.m_Flags[2], 0);
  EXPECT_EQ(result.m_StartEpoch, 10);
  EXPECT_EQ(result.m_EndEpoch, 20);
  EXPECT_EQ(testhooks::Beeps().size(), 2u);
}

TEST_F(TextOutputDialog, TypedLineLimitIsCheckedAndStoredOnOutput) {
  struct Case { std::string typed; bool closes; std::int32_t stored; };
  const Case cases[] = {{"12000", true, 12000}, {" 7 ", true, 7},     {"0", false, 5000},
                        {"-3", false, 5000},    {"1e3", false, 5000}, {"", false, 5000},
                        {"2147483648", false, 5000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    testhooks::Reset();
    OutputMaxLines = 5000;
    const int r = Run([&](D& d) {
      testhooks::AnswerFileDialog(ui::IDOK, {"/tmp/x.txt"});
      d.ClickButton(D::kPath);
      d.SetDlgItemText(D::kMaxLineEdit, c.typed);
      d.ClickButton(ui::IDOK);
      if (!c.closes) {
        ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
        d.ClickButton(ui::IDCANCEL);
      }
    });
    EXPECT_EQ(r, c.closes ? ui::IDOK : ui::IDCANCEL);
    EXPECT_EQ(OutputMaxLines, c.stored);
  }
  // With the limit off the edit is not read.
  OutputMaxLines = -5000;
  testhooks::Reset();
  EXPECT_EQ(Run([](D& d) {
              testhooks::AnswerFileDialog(ui::IDOK, {"/tmp/x.txt"});
              d.ClickButton(D::kPath);
              d.SetDlgItemText(D::kMaxLineEdit, "abc");
              d.ClickButton(ui::IDOK);
            }),
            ui::IDOK);
  EXPECT_EQ(OutputMaxLines, -5000);
}

TEST(TextOutputTemplate, BothLanguagesCarryTheSameControlsAndTexts) {
  std::string error;
  const auto en = res::LoadDialogResource(D::kTemplateId, 1033, &error);
  ASSERT_TRUE(en) << error;
  const auto ja = res::LoadDialogResource(D::kTemplateId, 1041, &error);
  ASSERT_TRUE(ja) << error;
  EXPECT_EQ(TemplateControlIds(en->nodes), TemplateControlIds(ja->nodes));
  EXPECT_TRUE(TemplateControlIds(ja->nodes).contains(D::kStartFrame));
  for (std::uint32_t s : {63471u, 63472u}) {
    EXPECT_TRUE(res::HasString(s, res::Language::English)) << s;
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  }
}

}  // namespace
