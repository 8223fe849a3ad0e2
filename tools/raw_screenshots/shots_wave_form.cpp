// Pictures of the wave-form recognition set-up on the sample night: the settings window (full
// and animal-only), the confirmation window of a Delta pick and the list of a recognised Delta
// wave, in English and Japanese.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_raw_dlg_confirmation_wfr.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_mouse.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "app/settings/lyr_raw_dlg_wfr_result.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "shots.h"

namespace {

constexpr std::uint32_t kCmdWaveForm = 32800;

bool Png(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

std::string Name(const ShotContext& c, const char* base, bool japanese) {
  return c.out + "/" + base + (japanese ? "_ja" : "") + ".png";
}

bool SettingsWindow(ShotContext& c, bool animal, bool japanese) {
  const std::int32_t savedMode = AnimalOnlyMode;
  AnimalOnlyMode = animal ? 1 : 0;
  ui::ExecuteCommand(c.frame, kCmdWaveForm);
  LyrRawDlgWaveFormRecognition* dlg = c.frame.WaveFormRecognitionDlg;
  bool ok = dlg != nullptr && Png(*dlg, Name(c, animal ? "wfr_dialog_animal" : "wfr_dialog", japanese));
  if (dlg != nullptr) dlg->ClickButton(2);
  testhooks::ProcessMessages();
  AnimalOnlyMode = savedMode;
  return ok;
}

// The first page of the night whose middle row shows a Delta wave; null when none does.
const RecognizedWaveRecord* FindDeltaWave(ShotContext& c, LyrRawAreaView& view) {
  const int pages = c.doc.GetDivNum(PageSeconds);
  for (int page = 0; page < pages; ++page) {
    c.frame.SetPageByEpoch(page, page * std::max(PageSeconds / std::max(EpochSeconds, 1), 1));
    testhooks::RenderWindow(view);
    if (const RecognizedWaveTable* t = view.RecognizedWaves())
      for (const RecognizedWaveRecord& r : t->Records())
        if (r.type == kWaveTypeDelta) return &r;
  }
  return nullptr;
}

bool WaveFormShots(ShotContext& c) {
  WaveFormRecognitionParam saved = c.doc.Params.waveForm;
  // Delta on the first EEG channel, as a scorer sets it for the night.
  c.doc.Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  c.doc.Params.waveForm.bands[WaveFormRecognitionParam::kDelta].amplitudeMin = 20.0;
  c.doc.Params.waveForm.bands[WaveFormRecognitionParam::kBand1].channel = 1;
  LyrRawAreaView& view = *c.frame.RawView()->Row(2)->AreaView();
  const RecognizedWaveRecord* found = FindDeltaWave(c, view);
  if (found == nullptr) {
    std::fprintf(stderr, "no Delta wave on the night\n");
    c.doc.Params.waveForm = saved;
    return false;
  }
  const RecognizedWaveRecord wave = *found;
  c.frame.RefreshAllViews(-1);
  bool ok = true;
  for (const bool japanese : {false, true}) {
    res::SetLanguage(japanese ? res::Language::Japanese : res::Language::English);
    ok = SettingsWindow(c, false, japanese) && ok;
    ok = SettingsWindow(c, true, japanese) && ok;

    // The confirmation of a pick over the Delta wave (shown without its modal loop).
    const LyrChInfo& ch = c.doc.ChInfo[0];
    const std::int64_t first = wave.startSample - static_cast<std::int64_t>(c.doc.CurrentPage) * PageSeconds * ch.rate;
    const std::int64_t last = first + static_cast<std::int64_t>(wave.durationMs * ch.rate / 1000.0);
    LyrRawDlgConfirmationWFR confirm(&c.doc, kWaveTypeDelta, 2, 0, first, last);
    if (confirm.CreateModeless(&c.frame)) {
      ok = Png(confirm, Name(c, "wfr_confirm", japanese)) && ok;
      confirm.OnCancel();
      confirm.DestroyWindow();
    } else {
      ok = false;
    }

    // The list of the wave, beside its frame.
    const ui::Point tl = view.ClientToScreen(ui::Point{wave.left, wave.top});
    const ui::Point br = view.ClientToScreen(ui::Point{wave.right, wave.bottom});
    if (ShowWFRResultForWave(&c.doc, 2, &wave, 0, draw::Rect{tl.x, tl.y, br.x, br.y}) && WFRResultDlg(2) != nullptr) {
      ok = Png(*WFRResultDlg(2), Name(c, "wfr_list", japanese)) && ok;
    } else {
      ok = false;
    }
    CloseWFRResultDlg(2);
    testhooks::ProcessMessages();
  }
  res::SetLanguage(res::Language::English);
  c.doc.Params.waveForm = saved;
  return ok;
}

ShotRegistrar reg("wave_form", WaveFormShots);

}  // namespace
