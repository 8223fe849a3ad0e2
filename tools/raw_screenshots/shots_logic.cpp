// Pictures of the Logic window on the generated night (a condition row shown) and of its FFT
// settings opened read-only from the Modify Logic command, in English and Japanese.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/settings/lyr_raw_dlg_discussin.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "shots.h"

namespace {

bool ShootLanguage(ShotContext& c, res::Language language, const std::string& suffix) {
  res::SetLanguage(language);
  bool ok = true;
  LyrRawDlgDiscussin logic(&c.doc, 1);
  if (!logic.CreateModeless(&c.frame)) return false;
  ui::Control list = logic.Item(IDC_LOGIC_LIST);
  if (list.GetCount() > 1) {
    list.SetCurSel(1);
    ui::NotifyHeader h{IDC_LOGIC_LIST, ui::NM_CLICK};
    logic.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  testhooks::ProcessMessages();
  const std::string logicPath = c.out + "/logic_dialog" + suffix + ".png";
  ok = testhooks::RenderWindowToPng(logic, logicPath) && ok;
  std::printf("%s\n", logicPath.c_str());

  LyrRawDlgSettingFFT fft(&logic);
  fft.m_pDoc = &c.doc;
  fft.m_CheckOnly = logic.m_CheckOnly;
  if (fft.CreateModeless(&logic)) {
    testhooks::ProcessMessages();
    const std::string fftPath = c.out + "/logic_fft_check" + suffix + ".png";
    ok = testhooks::RenderWindowToPng(fft, fftPath) && ok;
    std::printf("%s\n", fftPath.c_str());
    fft.DestroyWindow();
  } else {
    ok = false;
  }
  logic.DestroyWindow();
  return ok;
}

bool ShootLogic(ShotContext& c) {
  bool ok = ShootLanguage(c, res::Language::Japanese, "_ja");
  ok = ShootLanguage(c, res::Language::English, "") && ok;
  return ok;
}

ShotRegistrar reg("logic", ShootLogic);

}  // namespace
