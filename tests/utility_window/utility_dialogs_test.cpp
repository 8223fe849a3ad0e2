// The small dialogs of the result-file comparison window, driven by control id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/results/lyr_dlg_utility.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

namespace {

class UtilityDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::EnsureToolkit();
    res::SetLanguage(res::Language::English);
    testhooks::Reset();
  }
  void TearDown() override { testhooks::Reset(); }
  static std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
    return texts;
  }
};

TEST_F(UtilityDialogs, DisplayTimeFallsBackTo24AndCapsAt240Hours) {
  struct Case {
    std::string entry;
    int minutes;
  };
  const Case cases[] = {{"", 24 * 60}, {"0", 24 * 60}, {"-3", 24 * 60}, {"36", 36 * 60}, {"500", 240 * 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    LyrDlgUtilityDisplayTime dlg(30);
    testhooks::ScriptDialog(IDD_UTILITY_DISPLAY_TIME, [&](ui::Dialog& d) {
      EXPECT_EQ(d.GetDlgItemText(LyrDlgUtilityDisplayTime::kHours), "") << "30 minutes are no whole hour";
      d.SetDlgItemText(LyrDlgUtilityDisplayTime::kHours, c.entry);
      d.ClickButton(ui::IDOK);
    });
    ASSERT_EQ(dlg.DoModal(), ui::IDOK);
    EXPECT_EQ(dlg.m_Minutes, c.minutes);
  }
  LyrDlgUtilityDisplayTime opened(180);
  testhooks::ScriptDialog(IDD_UTILITY_DISPLAY_TIME, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(LyrDlgUtilityDisplayTime::kHours), "3");
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(opened.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(opened.m_Minutes, 180);
}

TEST_F(UtilityDialogs, WindowSettingFreeHoursAndRefusals) {
  using D = LyrDlgUtilityWindowSetting;
  // Opening at a fixed entry: its row, the edit disabled; choosing rows writes their numbers.
  LyrDlgUtilityWindowSetting fixed(3, 120);
  testhooks::ScriptDialog(IDD_UTILITY_WINDOW_SETTING, [](ui::Dialog& d) {
    EXPECT_EQ(d.Item(D::kLines).GetCurSel(), 2);
    EXPECT_EQ(d.Item(D::kTime).GetCount(), 11);
    EXPECT_EQ(d.Item(D::kTime).GetString(d.Item(D::kTime).GetCurSel()), "2hours");
    EXPECT_FALSE(d.Item(D::kHours).IsEnabled());
    d.Item(D::kTime).SetCurSel(0);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(D::kTime), ui::CBN_SELCHANGE), 0);
    EXPECT_EQ(d.GetDlgItemText(D::kHours), "10");
    EXPECT_EQ(d.GetDlgItemText(D::kUnit), "Min.");
    d.Item(D::kTime).SetCurSel(10);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(D::kTime), ui::CBN_SELCHANGE), 0);
    EXPECT_EQ(d.GetDlgItemText(D::kHours), "0");
    EXPECT_EQ(d.GetDlgItemText(D::kUnit), "Hours");
    EXPECT_TRUE(d.Item(D::kHours).IsEnabled());
    d.SetDlgItemText(D::kHours, "36");
    d.Item(D::kLines).SetCurSel(11);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(fixed.DoModal(), ui::IDOK);
  EXPECT_EQ(fixed.m_Minutes, 2160);
  EXPECT_EQ(fixed.m_Lines, 12);

  // "Free" without a positive number is refused and the edit gets the focus; 500 hours are 240.
  LyrDlgUtilityWindowSetting free(1, 300);
  testhooks::ScriptDialog(IDD_UTILITY_WINDOW_SETTING, [](ui::Dialog& d) {
    EXPECT_EQ(d.Item(D::kTime).GetCurSel(), 10) << "5 hours match no entry";
    EXPECT_EQ(d.GetDlgItemText(D::kHours), "5");
    for (const char* entry : {"", "0", "-2"}) {
      d.SetDlgItemText(D::kHours, entry);
      d.ClickButton(ui::IDOK);
      EXPECT_FALSE(d.IsEnded()) << entry;
    }
    d.SetDlgItemText(D::kHours, "500");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(free.DoModal(), ui::IDOK);
  EXPECT_EQ(free.m_Minutes, 240 * 60);
  EXPECT_EQ(Boxes(), std::vector<std::string>(3, "Enter a display time of 1 hour or more."));
  EXPECT_EQ(testhooks::Beeps().size(), 3u);
}

TEST_F(UtilityDialogs, SetupModesAndGroups) {
  using D = LyrDlgUtilitySetup;
  LyrDlgUtilitySetup each(0, 1, 1);
  testhooks::ScriptDialog(IDD_UTILITY_SETUP, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(D::kTypes[0]), "Wake,REM,S1,S2,S3,S4,MT");
    EXPECT_EQ(d.GetDlgItemText(D::kTypes[3]), "Wake,REM,NonREM,MT");
    EXPECT_EQ(d.IsDlgButtonChecked(D::kEachFile), 1);
    EXPECT_FALSE(d.Item(D::kTypes[1]).IsEnabled());
    EXPECT_FALSE(d.Item(D::kFree[0]).IsEnabled());
    d.ClickButton(D::kArbitrary);
    EXPECT_TRUE(d.Item(D::kTypes[1]).IsEnabled());
    EXPECT_EQ(d.IsDlgButtonChecked(D::kTypes[1]), 1) << "the remembered type";
    d.ClickButton(D::kTypes[2]);
    d.ClickButton(D::kFree[2]);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(each.DoModal(), ui::IDOK);
  EXPECT_EQ(each.m_Mode, 1);
  EXPECT_EQ(each.m_StageType, 2);
  EXPECT_EQ(each.m_FreeCount, 2);

  LyrDlgUtilitySetup back(1, 3, 2);
  testhooks::ScriptDialog(IDD_UTILITY_SETUP, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(D::kTypes[3]), 1);
    d.ClickButton(D::kEachFile);
    EXPECT_FALSE(d.Item(D::kTypes[3]).IsEnabled());
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(back.DoModal(), ui::IDOK);
  EXPECT_EQ(back.m_Mode, 0);
  EXPECT_EQ(back.m_StageType, 0);
  EXPECT_EQ(back.m_FreeCount, 0);
}

TEST_F(UtilityDialogs, CloseAndSelectFileByRow) {
  const std::vector<std::string> paths{"/data/a/night1.raf", "/data/b/night2.raf", "/data/c/night3.raf"};
  LyrDlgUtilityClose close(paths);
  EXPECT_EQ(close.m_CloseFlags[0], 0xFFFF);
  testhooks::ScriptDialog(IDD_UTILITY_CLOSE, [](ui::Dialog& d) {
    ui::Control list = d.Item(LyrDlgUtilityClose::kList);
    EXPECT_EQ(list.GetColumnTitle(2), "Path");
    EXPECT_EQ(list.GetItemText(1, 0), "2");
    EXPECT_EQ(list.GetItemText(1, 1), "night2.raf");
    EXPECT_EQ(list.GetItemText(1, 2), "/data/b/");
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(close.DoModal(), ui::IDOK);
  EXPECT_EQ((std::vector<int>{close.m_CloseFlags[0], close.m_CloseFlags[1], close.m_CloseFlags[2]}),
            (std::vector<int>{1, 0, 1}));

  LyrDlgUtilitySelectFile select(paths);
  testhooks::ScriptDialog(IDD_UTILITY_SELECT_FILE, [](ui::Dialog& d) {
    ui::Control list = d.Item(LyrDlgUtilitySelectFile::kFiles);
    EXPECT_EQ(list.GetString(2), "night3");
    d.ClickButton(ui::IDOK);
    EXPECT_FALSE(d.IsEnded()) << "OK without a selection does nothing";
    list.SetCurSel(2);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(select.DoModal(), ui::IDOK);
  EXPECT_EQ(select.m_Index, 2);
}

TEST_F(UtilityDialogs, FileInformationRowsLeaveOutWhatIsNotGiven) {
  UtilityFileSummary bare;
  bare.path = "/data/night1.raf";
  bare.record.gender = -1;  // 0xFFFF
  bare.record.freeComments[0] = {"Height", "172"};
  bare.record.freeComments[3] = {"", "late"};
  bare.memos = {"m1", "", "m3", "", ""};
  using Rows = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(LyrDlgUtilityFileInformation::Rows(bare),
            (Rows{{"File name", "night1.raf"}, {"Height", "172"}, {"", ""}, {"", ""}, {"", "late"},
                  {"m1", ""}, {"", ""}, {"m3", ""}, {"", ""}, {"", ""}}));

  UtilityFileSummary full = bare;
  full.record.subjectName = "Subject A";
  full.record.gender = 1;
  full.record.ageYears = 41;
  full.record.ageMonths = 0;
  full.record.memo = "memo";
  const Rows rows = LyrDlgUtilityFileInformation::Rows(full);
  ASSERT_GE(rows.size(), 5u);
  EXPECT_EQ(rows[1], (std::pair<std::string, std::string>{"Subject", "Subject A"}));
  EXPECT_EQ(rows[2], (std::pair<std::string, std::string>{"Gender", "Female"}));
  EXPECT_EQ(rows[3], (std::pair<std::string, std::string>{"Age", "41Year 0Month"}));
  EXPECT_EQ(rows[4], (std::pair<std::string, std::string>{"Memo", "memo"}));

  LyrDlgUtilityFileInformation dlg({bare, full});
  testhooks::ScriptDialog(IDD_UTILITY_FILE_INFORMATION, [](ui::Dialog& d) {
    ui::Control files = d.Item(LyrDlgUtilityFileInformation::kFiles);
    ui::Control info = d.Item(LyrDlgUtilityFileInformation::kInfo);
    EXPECT_EQ(files.GetString(1), "night1");
    EXPECT_EQ(info.GetCount(), 0);
    files.SetCurSel(1);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(LyrDlgUtilityFileInformation::kFiles), ui::LBN_SELCHANGE), 0);
    EXPECT_EQ(info.GetItemText(2, 1), "Female");
    d.ClickButton(ui::IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
}

}  // namespace
