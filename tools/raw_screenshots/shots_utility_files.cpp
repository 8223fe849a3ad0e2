// Pictures of the hypnogram utility's Stage Compare dialog over three nights of the generated
// recording's stages, with a comparison shown.
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_stage_compare.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "shots.h"

namespace {

UtilityResultFileRec Night(ShotContext& c, const std::string& path, int shift) {
  UtilityResultFileRec f;
  f.path = path;
  f.stageType = c.doc.Params.stageType;
  f.storedStageType = f.stageType;
  f.epochTime = EpochSeconds;
  const auto& s = c.doc.RecordInfo.startDateTime;
  f.startDateTime = {s[0], s[1], s[2], s[3], s[4], s[5]};
  const int n = c.doc.EpochTables.EpochCount();
  for (int e = 0; e < n; ++e) {
    LyrEpochRec rec{};
    rec.stage[0] = c.doc.EpochTables.GetStage(0, std::min(e + shift, n - 1), 0);
    f.epochs.push_back(rec);
  }
  f.epochCount = n;
  return f;
}

bool StageCompare(ShotContext& c) {
  UtilityResultFiles files;
  files.Add(Night(c, "/data/night1_scorer_a.raf", 0));
  files.Add(Night(c, "/data/night1_scorer_b.raf", 1));
  files.Add(Night(c, "/data/night2.raf", 3));
  LyrDlgStageCompare dlg(&files, &c.frame);
  if (!dlg.CreateModeless(&c.frame)) return false;
  for (auto [list, row] : {std::pair{IDC_SCMP_FILE1, 0}, std::pair{IDC_SCMP_FILE2, 1}}) {
    dlg.Item(list).SetCurSel(row);
    ui::NotifyHeader h{list, ui::NM_CLICK};
    dlg.SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  }
  dlg.OnOK();
  dlg.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(dlg, c.out + "/utility_stage_compare.png");
  dlg.DestroyWindow();
  return ok;
}

ShotRegistrar reg("utility_stage_compare", StageCompare);

}  // namespace
