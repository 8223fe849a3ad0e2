// Pictures of the multi-screening window on the open recording and of its progress window
// with its longest step text, in English and Japanese.
#include <string>

#include "app/frame/lyr_dlg_output_progress.h"
#include "app/frame/main_frame.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool ShootLanguage(ShotContext& c, const std::string& suffix) {
  bool ok = true;
  // The progress window with the longest step text (the run itself would replace the open,
  // scored night).
  LyrDlgOutputProgress progress(62358);
  // Shown alone: the frame is not disabled for the picture.
  if (!progress.CreateModeless(nullptr)) return false;
  progress.SetRange(0, 100);
  progress.SetPos(40);
  std::string text = res::LoadString(62364);
  for (const char* n : {"2", "16"}) {
    const auto at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, n);
  }
  progress.SetText1(text);
  progress.SetText2("01/10Files :" + std::string("day-of-two-animals"));
  ok = testhooks::RenderWindowToPng(progress, c.out + "/multiscreening_progress" + suffix + ".png") && ok;
  progress.DestroyWindow();
  c.frame.OpenMultiScreeningDlg();
  LyrDlgMultiScreening* dlg = c.frame.MultiScreeningDlg;
  if (dlg == nullptr) return false;
  ok = testhooks::RenderWindowToPng(*dlg, c.out + "/multiscreening" + suffix + ".png") && ok;
  dlg->EndDialog(ui::IDCANCEL);
  testhooks::ProcessMessages();

  return ok;
}

bool Shoot(ShotContext& c) {
  bool ok = ShootLanguage(c, "");
  res::SetLanguage(res::Language::Japanese);
  ok = ShootLanguage(c, "_ja") && ok;
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("multiscreening", Shoot);

}  // namespace
