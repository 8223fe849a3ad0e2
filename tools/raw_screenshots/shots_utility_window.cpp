// The result-file comparison window with three result files of the scored night (two at 30-s
// epochs, one at 10-s epochs) and its small dialogs, in English and Japanese.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/lyr_dlg_utility.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/results/lyr_utility_stage_views.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"
#include "shots.h"

namespace {

bool Png(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

bool DialogShot(ui::Window& parent, ui::Dialog& dlg, const std::string& path, void (*prepare)(ui::Dialog&) = nullptr) {
  if (!dlg.CreateModeless(&parent)) return false;
  if (prepare != nullptr) prepare(dlg);
  const bool ok = Png(dlg, path);
  dlg.DestroyWindow();
  return ok;
}

// The night's stages as a result file; `repeat` copies of each epoch at epochSeconds,
// starting `skip` epochs into the night.
std::string WriteNight(ShotContext& c, const std::string& path, int epochSeconds, int repeat, int skip) {
  UtilityResultFileRec f;
  f.epochTime = epochSeconds;
  const int count = c.doc.EpochTables.EpochCount();
  for (int e = skip; e < count; ++e)
    for (int r = 0; r < repeat; ++r) {
      LyrEpochRec rec{};
      rec.stage[0] = static_cast<std::uint8_t>(c.doc.EpochTables.GetStage(0, e, 0));
      f.epochs.push_back(rec);
    }
  f.epochCount = static_cast<std::int32_t>(f.epochs.size());
  f.stageType = c.doc.Params.stageType;
  f.storedStageType = f.stageType;
  f.recordInfo.subjectName = "Subject A";
  f.recordInfo.gender = 0;
  f.recordInfo.ageYears = 42;
  f.recordInfo.memo = "Sleep lab night";
  f.recordInfo.freeComments[0] = {"Height", "172 cm"};
  f.startDateTime = {2026, 3, 14, 22, 30, 0};
  std::ofstream out(path, std::ios::binary);
  out << BuildUtilityResultFileBytes(f, {"First scoring", "Checked", "", "", ""});
  return path;
}

bool ShootLanguage(ShotContext& c, const std::string& folder, res::Language language, const std::string& suffix) {
  res::SetLanguage(language);
  const std::uint16_t savedLines = HypnogramSettingWord;
  HypnogramSettingWord = 2;
  auto frame = std::make_unique<LyrUtilityHypnogramFrame>(&c.frame);
  frame->SetTrendTimeScale(180);
  bool ok = frame->LoadFrame(IDR_UTILITY_HYPNOGRAM);
  if (ok) {
    frame->SetWindowText(res::LoadString(61213));
    frame->MoveWindow(ui::Rect{0, 0, 1280, 720});
    frame->ShowWindow(1);
    ok = frame->OpenResultFile(WriteNight(c, folder + "/scorer_a.raf", 30, 1, 0)) &&
         frame->OpenResultFile(WriteNight(c, folder + "/scorer_b.raf", 30, 1, 20)) &&
         frame->OpenResultFile(WriteNight(c, folder + "/ten_seconds.raf", 10, 3, 0));
    frame->SetCursorEpoch(0, -1, 120);
    ok = ok && Png(*frame, c.out + "/utility_window" + suffix + ".png");
  }
  std::vector<std::string> paths;
  std::vector<UtilityFileSummary> summaries;
  for (int slot = 0; slot < frame->Files.Count(); ++slot) {
    const UtilityResultFileRec* f = frame->Files.File(slot);
    paths.push_back(f->path);
    UtilityFileSummary s;
    s.path = f->path;
    s.record.subjectName = f->recordInfo.subjectName;
    s.record.gender = f->recordInfo.gender;
    s.record.ageYears = f->recordInfo.ageYears;
    s.record.ageMonths = f->recordInfo.ageMonths;
    s.record.memo = f->recordInfo.memo;
    s.record.freeComments = f->recordInfo.freeComments;
    s.memos = f->memos;
    summaries.push_back(s);
  }
  LyrDlgUtilityClose close(paths);
  ok = DialogShot(*frame, close, c.out + "/utility_close" + suffix + ".png") && ok;
  LyrDlgUtilityFileInformation info(summaries);
  ok = DialogShot(*frame, info, c.out + "/utility_file_information" + suffix + ".png", [](ui::Dialog& d) {
    d.Item(LyrDlgUtilityFileInformation::kFiles).SetCurSel(0);
    static_cast<LyrDlgUtilityFileInformation&>(d).ShowFile(0);
  }) && ok;
  LyrDlgUtilityDisplayTime time(frame->m_TimeScaleMinutes);
  ok = DialogShot(*frame, time, c.out + "/utility_display_time" + suffix + ".png") && ok;
  LyrDlgUtilitySelectFile select(paths);
  ok = DialogShot(*frame, select, c.out + "/utility_select_file" + suffix + ".png") && ok;
  LyrDlgUtilitySetup setup(1, 2, 1);
  ok = DialogShot(*frame, setup, c.out + "/utility_setup" + suffix + ".png") && ok;
  LyrDlgUtilityWindowSetting setting(HypnogramSettingWord, frame->m_TimeScaleMinutes);
  ok = DialogShot(*frame, setting, c.out + "/utility_window_setting" + suffix + ".png") && ok;
  if (frame->IsWindow()) frame->DestroyWindow();
  frame.reset();
  HypnogramSettingWord = savedLines;
  return ok;
}

bool ShootUtilityWindow(ShotContext& c) {
  const std::string folder = sys::CreateTempFolder("qlm_utility_shots");
  bool ok = ShootLanguage(c, folder, res::Language::English, "");
  ok = ShootLanguage(c, folder, res::Language::Japanese, "_ja") && ok;
  res::SetLanguage(res::Language::English);
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return ok;
}

const ShotRegistrar kUtilityWindow("utility_window", ShootUtilityWindow);

}  // namespace
