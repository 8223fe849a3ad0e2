// Pictures of the sleep-disturbance setup: both pages in the screening context (where every
// control can be edited) and the level confirmation of a marked air-flow stretch, in English
// and Japanese.
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_cnfrm.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "tools/raw_screenshots/shots.h"

namespace {

int ChannelNamed(const CQLM2_AnalyzerDoc& doc, const std::string& name) {
  for (int c = 0; c < doc.RecordInfo.channelCount && c < static_cast<int>(doc.ChInfo.size()); ++c)
    if (doc.ChInfo[static_cast<std::size_t>(c)].name == name) return c;
  return -1;
}

bool ShootLanguage(ShotContext& c, const std::string& suffix) {
  CQLM2_AnalyzerDoc& doc = c.doc;
  SleepDstrbParam& s = doc.Params.sleepDstrb;
  const SleepDstrbParam saved = s;
  s.airFlow.channel = ChannelNamed(doc, "Airflow");
  s.chest.channel = ChannelNamed(doc, "Thorax");
  s.abdomen.channel = ChannelNamed(doc, "Abdomen");
  s.spo2Channel = ChannelNamed(doc, "SpO2");
  s.positionChannel = ChannelNamed(doc, "Position");
  s.legLeft.channel = ChannelNamed(doc, "Leg EMG");
  s.ecgChannel = ChannelNamed(doc, "ECG");
  s.arousal.channel = ChannelNamed(doc, "C3-A2");

  bool ok = true;
  c.frame.OpenDlgDisturbFormRecognition(1);
  LyrRawDlgSleepDisturbanceParent* dlg = c.frame.SleepDisturbanceParentDlg;
  if (dlg == nullptr) return false;
  ok = testhooks::RenderWindowToPng(*dlg, c.out + "/sd_setup_resp" + suffix + ".png") && ok;
  dlg->Item(IDC_SD_TAB).SetCurSel(1);
  ui::NotifyHeader h{IDC_SD_TAB, ui::TCN_SELCHANGE};
  dlg->SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  ok = testhooks::RenderWindowToPng(*dlg, c.out + "/sd_setup_move" + suffix + ".png") && ok;
  c.frame.CloseSleepDisturbanceParentDlg(2);
  testhooks::ProcessMessages();

  // The confirmation of ten seconds of air flow on the current page.
  PreviewKind = 11;
  LyrRawDlgSleepDisturbanceCnfrm confirm;
  confirm.m_pDoc = &doc;
  confirm.m_PageBufferKind = 2;
  confirm.m_MarkedChannel = s.airFlow.channel;
  confirm.m_StartSample = 0;
  confirm.m_EndSample = s.airFlow.channel >= 0 ? static_cast<int>(doc.ChInfo[static_cast<std::size_t>(s.airFlow.channel)].rate) * 10 : 0;
  if (confirm.CreateModeless(nullptr)) {
    ok = testhooks::RenderWindowToPng(confirm, c.out + "/sd_confirm" + suffix + ".png") && ok;
    confirm.DestroyWindow();
  } else {
    ok = false;
  }
  PreviewKind = 0;
  s = saved;
  return ok;
}

bool Shoot(ShotContext& c) {
  bool ok = ShootLanguage(c, "");
  res::SetLanguage(res::Language::Japanese);
  ok = ShootLanguage(c, "_ja") && ok;
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("sleep_disturbance", Shoot);

}  // namespace
