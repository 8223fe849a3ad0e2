// The time-point panels driven by control id.
#include <string>

#include "app/frame/lyr_dlg_time_point.h"
#include "dialog_fixture.h"

namespace {

using TimePointPanel = DialogTest;

void Notify(ui::Dialog& d, int id, int code) {
  ui::NotifyHeader h{id, code};
  d.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
}

std::string TimeText(const ui::Dialog& d) {
  const ui::DateTime t = d.Item(IDC_TP_TIME).GetDateTime();
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

TEST_F(TimePointPanel, EpochPanelMovesEveryControlTogether) {
  LyrDlgTimePoint p;
  ASSERT_TRUE(p.CreatePanel(nullptr));
  p.m_pDoc = &doc;
  p.SetCaption("Start(<=)");
  p.SetTimeMode(1);
  p.SetRange(0, doc.GetDivNum(EpochSeconds) - 1);
  p.SetEpoch(240);

  ui::Control day = p.Item(IDC_TP_DAY);
  ASSERT_EQ(day.GetCount(), 3);
  EXPECT_EQ(day.GetString(0), "30");
  EXPECT_EQ(day.GetString(2), " 1");
  EXPECT_EQ(day.GetCurSel(), 1);
  EXPECT_EQ(p.GetDlgItemText(IDC_TP_EPOCH), "240");
  EXPECT_EQ(TimeText(p), "00:00:00");
  EXPECT_EQ(p.Item(IDC_TP_SLIDER).GetPos(), 666);
  EXPECT_EQ(p.GetDlgItemText(IDC_TP_CAPTION), "Start(<=)");

  // Slider to the middle.
  p.Item(IDC_TP_SLIDER).SetPos(5001);
  Notify(p, IDC_TP_SLIDER, ui::TB_ENDTRACK);
  EXPECT_EQ(p.GetEpoch(), 1800);
  EXPECT_EQ(p.GetDlgItemText(IDC_TP_EPOCH), "1800");
  EXPECT_EQ(TimeText(p), "13:00:00");

  // Typing beyond the highest epoch keeps the text while typing; losing the focus shows the
  // highest epoch.
  p.SetDlgItemText(IDC_TP_EPOCH, "99999");
  EXPECT_EQ(p.GetEpoch(), 3599);
  EXPECT_EQ(p.GetDlgItemText(IDC_TP_EPOCH), "99999");
  p.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_TP_EPOCH, ui::EN_KILLFOCUS), 0);
  EXPECT_EQ(p.GetDlgItemText(IDC_TP_EPOCH), "3599");
  EXPECT_EQ(day.GetCurSel(), 2);

  // The first day yields the lowest epoch; its time limit ends at 23:59:50.
  day.SetCurSel(0);
  p.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_TP_DAY, ui::CBN_SELCHANGE), 0);
  EXPECT_EQ(p.GetEpoch(), 0);
  EXPECT_EQ(p.TimeLimits().from, 22 * 3600);
  EXPECT_EQ(p.TimeLimits().to, 86390);

  // Time picker: 23:30:10 on the first day -> the epoch after 23:30:00.
  p.Item(IDC_TP_TIME).SetDateTime({2000, 11, 1, 23, 30, 10});
  Notify(p, IDC_TP_TIME, ui::DTN_DATETIMECHANGE);
  EXPECT_EQ(p.GetEpoch(), 181);
  EXPECT_EQ(TimeText(p), "23:30:30");

  p.EnableControls(false);
  EXPECT_FALSE(p.Item(IDC_TP_EPOCH).IsEnabled());
  EXPECT_FALSE(p.Item(IDC_TP_DAY).IsEnabled());
}

TEST_F(TimePointPanel, ElapsedModeAndStartOffset) {
  doc.ChInfo[0].startOffset = 100 * 3600;  // analysis starts an hour in
  LyrDlgTimePoint p;
  ASSERT_TRUE(p.CreatePanel(nullptr));
  p.m_pDoc = &doc;
  p.SetTimeMode(1);
  EXPECT_EQ(p.m_Base, (std::array<std::int16_t, 6>{2021, 1, 30, 23, 0, 0}));
  p.SetTimeMode(0);
  EXPECT_EQ(p.m_Base, (std::array<std::int16_t, 6>{2000, 11, 1, 1, 0, 0}));
  p.SetRange(0, 99);  // 50 minutes
  p.SetEpoch(3);
  ASSERT_EQ(p.Item(IDC_TP_DAY).GetCount(), 1);
  EXPECT_EQ(p.Item(IDC_TP_DAY).GetString(0), " 1");
  EXPECT_EQ(TimeText(p), "00:01:30");
}

TEST_F(TimePointPanel, SecondsPanel) {
  LyrDlgTimePointCompact p;
  ASSERT_TRUE(p.CreatePanel(nullptr));
  p.m_pDoc = &doc;
  p.SetTimeMode(1);
  p.SetSeconds(7200);
  EXPECT_FALSE(p.HasControl(IDC_TP_EPOCH));
  EXPECT_EQ(p.Item(IDC_TP_DAY).GetCurSel(), 1);
  EXPECT_EQ(TimeText(p), "00:00:00");
  ui::Control day = p.Item(IDC_TP_DAY);
  day.SetCurSel(2);
  p.SendMessage(ui::WM_COMMAND, ui::MakeLong(IDC_TP_DAY, ui::CBN_SELCHANGE), 0);
  EXPECT_EQ(p.GetSeconds(), 26 * 3600);
  p.Item(IDC_TP_TIME).SetDateTime({2000, 11, 1, 3, 0, 1});
  Notify(p, IDC_TP_TIME, ui::DTN_DATETIMECHANGE);
  EXPECT_EQ(p.GetSeconds(), 29 * 3600 + 1);
}

}  // namespace
